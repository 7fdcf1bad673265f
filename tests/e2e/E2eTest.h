#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/Cp949.h"
#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "link/SessionState.h"
#include "tarvio/SerialHandsetLibrary.h"
#include "tests/support/RecordingSleep.h"
#include "tests/support/RecordingTransferHost.h"
#include "tests/support/RunningEmulator.h"

// What every end-to-end test needs: the emulated handset on a pseudo-terminal,
// our serial library reaching it, a recording wait and a recording host.
namespace linkora::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cp949(std::string_view utf8) {
  auto bytes = cp949::FromUtf8(utf8);
  return bytes ? *bytes : Bytes{};
}

// The bytes of a text field: the text and its terminating zero.
inline Bytes WithZero(Bytes bytes) {
  bytes.push_back(0);
  return bytes;
}

inline Bytes AsBytes(std::span<const std::uint8_t> span) {
  return {span.begin(), span.end()};
}

class E2eTest : public ::testing::Test {
 protected:
  // The sample handset answers 01612345678 and lock code 1234; the session
  // remembers both, so no transfer stops to ask.
  E2eTest() {
    session.RememberedPhoneNumber = "01612345678";
    session.RememberedLockCode = "1234";
  }

  void Start(RunningEmulator::Options options = {}) {
    resetSilenceMs_ = options.resetSilenceMs;
    emulator = std::make_unique<RunningEmulator>(std::move(options));
    ASSERT_TRUE(emulator->IsRunning()) << emulator->Error();
    library = std::make_unique<SerialHandsetLibrary>(emulator->LibraryOptions());
  }

  LinkContext Context() { return {*library, sleep, session}; }

  // The recorded waits return at once, so after a handset reset the test
  // itself waits out the handset's silent restart before the next connect.
  // The emulator starts the silence before it answers the reset, so this wait,
  // begun after the answer, always reaches past its end.
  void WaitOutResetSilence() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(resetSilenceMs_ + 50));
  }

  // The messages the transfers showed, for failure output.
  std::string Shown() const {
    std::string all;
    for (const std::string& m : host.messages) {
      all += m + "\n";
    }
    return all;
  }

  std::unique_ptr<RunningEmulator> emulator;
  std::unique_ptr<SerialHandsetLibrary> library;
  RecordingSleep sleep;
  SessionState session;
  RecordingTransferHost host;
  ConnectSettings settings{"COM11", 115200, "472913"};

 private:
  int resetSilenceMs_ = 300;
};

// A fresh folder for one test's files, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "linkora-e2e-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path = pattern;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) {
      std::filesystem::remove_all(path, ec);
    }
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path path;
};

}  // namespace linkora::test
