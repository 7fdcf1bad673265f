// The whole round trip a user makes in the phonebook window, through our
// serial library, against the emulated handset on a pseudo-terminal: read the
// phonebook, change an entry, write it back, and find the change in what the
// handset stores.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>

#include "link/SessionState.h"
#include "phonebook/PhonebookWindow.h"
#include "tarvio/SerialHandsetLibrary.h"
#include "tests/phonebook/WindowTestSupport.h"
#include "tests/support/RecordingSleep.h"
#include "tests/support/RunningEmulator.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

TEST(PhonebookWindowOverSerialTest, ReadEditWriteReachesTheHandset) {
  RunningEmulator emulator;  // the locked sample handset on COM11
  ASSERT_TRUE(emulator.IsRunning()) << emulator.Error();
  SerialHandsetLibrary library(emulator.LibraryOptions());
  std::vector<std::string> log;
  RecordingSleep sleep(&log);
  SessionState state;
  ScriptedPromptService prompts;
  PhonebookWindow window(ConnectSettings{"COM11", 115200, "472913"},
                         LinkContext{library, sleep, state}, prompts);

  prompts.SetNextPhoneNumber("01612345678");
  prompts.SetNextLockCode("1234");
  window.ReadFromHandset();
  ASSERT_TRUE(prompts.Messages().empty()) << prompts.Messages()[0];
  EXPECT_EQ(window.DiagPortName(), "COM11");
  EXPECT_TRUE(window.Book().Flags().IsUsed(2));

  window.ActivateRow(1);  // slot 2
  auto* name = window.findChild<QLineEdit*>("name");
  ASSERT_NE(name, nullptr);
  name->selectAll();
  name->del();
  TypeText(name, QStringLiteral("이순신"));
  window.ApplyEntry();

  prompts.SetNextAnswer(true);  // overwrite the handset's phonebook
  prompts.SetNextAnswer(true);  // the handset restarts afterwards
  window.WriteToHandset();
  // The read before the write is kept as a safety copy, and its folder named.
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0], "단말기가 리셋됩니다.");
  EXPECT_THAT(prompts.Messages()[1], testing::StartsWith("핸드폰의 이전 내용은 안전 사본 "));

  const auto stored = emulator.ReadStateBytes("entries", "2");
  ASSERT_EQ(stored.size(), 222u);
  const auto expected = Cp949("이순신");
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stored.begin() + 10));
  EXPECT_EQ(stored[10 + expected.size()], 0);
}

}  // namespace
}  // namespace linkora::test
