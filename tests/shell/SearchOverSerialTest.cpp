// The desktop program's handset search, run from the main window's port
// menu through our serial library, against the emulator on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <filesystem>
#include <memory>

#include "common/Sleep.h"
#include "link/SessionState.h"
#include "shell/MainWindow.h"
#include "shell/Profile.h"
#include "shell/SyncApp.h"
#include "tarvio/SerialHandsetLibrary.h"
#include "tests/support/RunningEmulator.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

namespace fs = std::filesystem;

TEST(SearchOverSerialTest, MainWindowFindsTheEmulatorOnItsPort) {
  RunningEmulator::Options options;
  options.com = "COM13";
  RunningEmulator emulator(options);
  ASSERT_TRUE(emulator.IsRunning()) << emulator.Error();
  SerialHandsetLibrary library(emulator.LibraryOptions());
  ThreadSleep sleep;
  SessionState state = SyncApp::InitialState();
  ScriptedPromptService prompts;
  const fs::path folder = fs::temp_directory_path() / "linkora-search-over-serial";
  fs::remove_all(folder);
  fs::create_directories(folder);
  Profile profile(folder / "linkora.ini");

  MainWindow window(LinkContext{library, sleep, state}, prompts, profile);
  window.PortMenu()->actions()[17]->trigger();

  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{"COM13 포트에서 노르반 단말기를 찾았습니다."});
  EXPECT_EQ(window.CurrentPortName(), "COM13");
  EXPECT_EQ(profile.ReadInt("Norvane Linkora", "Port", 0), 13);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace linkora::test
