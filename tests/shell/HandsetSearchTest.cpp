#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/SessionState.h"
#include "shell/HandsetSearchDialog.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

// Notes, at every wait of a probe, which port is open and what the bar shows.
class ProgressAtWait final : public Sleep {
 public:
  explicit ProgressAtWait(FakeHandsetLibrary& library) : library_(library) {}
  void Wait(int milliseconds) override {
    waits.push_back(milliseconds);
    if (dialog != nullptr) {
      seen.emplace_back(library_.OpenPort(), dialog->ProgressValue());
    }
  }
  const SyncProgressDialog* dialog = nullptr;
  std::vector<std::pair<std::string, int>> seen;
  std::vector<int> waits;

 private:
  FakeHandsetLibrary& library_;
};

std::vector<std::string> AllPorts() {
  std::vector<std::string> opens;
  for (int n = 1; n <= 16; ++n) {
    opens.push_back("DiagOpenPort(COM" + std::to_string(n) + ", 115200)");
  }
  return opens;
}

TEST(HandsetSearchTest, FoundOnCom16AfterProbingEveryPortBeforeIt) {
  FakeHandsetLibrary library;
  library.handsetPort = "COM16";
  ProgressAtWait sleep(library);
  SessionState state;
  ScriptedPromptService prompts;
  HandsetSearchDialog search(LinkContext{library, sleep, state}, prompts);
  sleep.dialog = &search;

  EXPECT_EQ(search.exec(), 1);
  EXPECT_EQ(search.FoundPort(), 16);
  EXPECT_EQ(library.CallsOf("DiagOpenPort"), AllPorts());
  ASSERT_EQ(sleep.seen.size(), 16U);
  // Bar positions while each port is probed: n * 100 / 16.
  const int expected[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(sleep.seen[n - 1].first, "COM" + std::to_string(n));
    EXPECT_EQ(sleep.seen[n - 1].second, expected[n - 1]) << n;
  }
  EXPECT_EQ(search.PercentText(), QStringLiteral("100%"));
  EXPECT_EQ(library.OpenPort(), "");  // no port stays open
  EXPECT_EQ(library.log.back(), "DiagClosePort()");
  EXPECT_TRUE(prompts.prompts.empty());
}

TEST(HandsetSearchTest, StopsAtTheFirstPortThatAnswers) {
  FakeHandsetLibrary library;
  library.handsetPort = "COM3";
  SessionState state;
  ScriptedPromptService prompts;
  HandsetSearchDialog search(LinkContext{library, library.sleep, state}, prompts);
  EXPECT_EQ(search.exec(), 1);
  EXPECT_EQ(search.FoundPort(), 3);
  EXPECT_EQ(library.CountOf("DiagOpenPort"), 3);
  EXPECT_EQ(search.ProgressValue(), 18);
}

TEST(HandsetSearchTest, NoHandsetEndsWithTwoAfterSixteenProbes) {
  FakeHandsetLibrary library;
  library.handsetPort.clear();
  SessionState state;
  ScriptedPromptService prompts;
  HandsetSearchDialog search(LinkContext{library, library.sleep, state}, prompts);
  EXPECT_EQ(search.exec(), 2);
  EXPECT_EQ(search.FoundPort(), 0);
  EXPECT_EQ(library.CallsOf("DiagOpenPort"), AllPorts());
  EXPECT_TRUE(prompts.prompts.empty());  // the caller tells the user
}

TEST(HandsetSearchTest, KeepsItsTitle) {
  FakeHandsetLibrary library;
  SessionState state;
  ScriptedPromptService prompts;
  HandsetSearchDialog search(LinkContext{library, library.sleep, state}, prompts);
  EXPECT_EQ(search.windowTitle(), QStringLiteral("연결된 노르반 단말기 찾는중..."));
}

}  // namespace
}  // namespace linkora::test
