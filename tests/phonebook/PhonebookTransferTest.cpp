#include "phonebook/PhonebookTransfer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "phonebook/Phonebook.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

class PhonebookTransferTest : public ::testing::Test {
 protected:
  PhonebookTransferTest() {
    fake.handsetPort = "COM2";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    settings.portName = "COM2";
    for (int g = 0; g < 20; ++g) {
      handsetGroups[static_cast<std::size_t>(g)].fill(0);
      handsetGroups[static_cast<std::size_t>(g)][0] = static_cast<std::uint8_t>(g);
      handsetGroups[static_cast<std::size_t>(g)][1] = static_cast<std::uint8_t>('a' + g);
    }
    // The emulated handset's phonebook answers the reads.
    fake.On("XrsNvReadAddressList_rx310", [this](test::FakeCall& call) {
      std::copy_n(handsetFlags.begin() + 100 * call.part, 100, call.buffer.begin());
      return 100;
    });
    fake.On("XrsNvReadAddress_rx310", [this](test::FakeCall& call) {
      const int slot = call.buffer[0] | (call.buffer[1] << 8);
      const auto& record = handsetEntries[slot];
      std::copy(record.begin(), record.end(), call.buffer.begin());
      return 222;
    });
    fake.On("XrsNvReadDialGroup_rx310", [this](test::FakeCall& call) {
      const auto& record = handsetGroups[call.buffer[0]];
      std::copy(record.begin(), record.end(), call.buffer.begin());
      return 27;
    });
    // Writes are kept in the order they come.
    for (const char* op :
         {"XrsNvWriteAddress_rx310", "XrsNvWriteAddressList_rx310", "XrsNvWriteDialGroup_rx310"}) {
      fake.On(op, [this](test::FakeCall& call) {
        written[std::string(call.operation)].emplace_back(call.data.begin(), call.data.end());
        return static_cast<int>(call.data.size());
      });
    }
  }

  // A handset entry for `slot` with a name and a mobile number.
  void PutHandsetEntry(int slot, std::uint8_t flags, const std::string& name) {
    handsetFlags[static_cast<std::size_t>(slot)] = flags;
    std::array<std::uint8_t, 222> record{};
    record[0] = static_cast<std::uint8_t>(slot & 0xFF);
    record[1] = static_cast<std::uint8_t>(slot >> 8);
    std::copy(name.begin(), name.end(), record.begin() + 10);
    record[80] = 3;
    std::copy_n("0161234", 7, record.begin() + 81);  // longer than its length byte
    handsetEntries[slot] = record;
  }

  // A window phonebook with `count` used slots from slot 10 on.
  Phonebook BookWithEntries(int count) {
    Phonebook made;
    for (int i = 0; i < count; ++i) {
      const int slot = 10 + 7 * i;
      made.Flags().SetFlags(slot, 0x01);
      const std::string name = "n" + std::to_string(slot);
      made.Entry(slot).SetName(std::span<const std::uint8_t>(
          reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
    }
    for (int g = 0; g < 20; ++g) {
      made.Groups()[static_cast<std::size_t>(g)].SetNumber(static_cast<std::uint8_t>(g));
    }
    return made;
  }

  int Read() { return ReadPhonebook({fake, fake.sleep, state}, host, settings, book); }
  int Write() { return WritePhonebook({fake, fake.sleep, state}, host, settings, book); }

  // Log entries after the first one equal to `from`.
  std::vector<std::string> LogAfter(const std::string& from) const {
    const auto it = std::find(fake.log.begin(), fake.log.end(), from);
    if (it == fake.log.end()) {
      ADD_FAILURE() << from << " is not in the log";
      return {};
    }
    return {it + 1, fake.log.end()};
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::RecordingTransferHost host{&fake.log};
  ConnectSettings settings;
  Phonebook book;
  std::array<std::uint8_t, 500> handsetFlags{};
  std::map<int, std::array<std::uint8_t, 222>> handsetEntries;
  std::array<std::array<std::uint8_t, 27>, 20> handsetGroups{};
  std::map<std::string, std::vector<std::vector<std::uint8_t>>> written;
};

// ---- Read ----

TEST_F(PhonebookTransferTest, ReadOfThreeEntriesCountsTwentyThreeSteps) {
  handsetFlags[0] = 0x5A;  // slot 0's byte is taken over, never read as an entry
  PutHandsetEntry(5, 0x01, "Ann");
  PutHandsetEntry(250, 0x03, "Bob");
  PutHandsetEntry(499, 0x81, "Cho");
  EXPECT_EQ(Read(), 1);
  EXPECT_THAT(host.progress, ElementsAre(4, 8, 13, 17, 21, 26, 30, 34, 39, 43, 47, 52, 56, 60, 65,
                                         69, 73, 78, 82, 86, 91, 95, 100));
  EXPECT_THAT(fake.CallsOf("XrsNvReadAddressList_rx310"),
              ElementsAre("XrsNvReadAddressList_rx310(0)", "XrsNvReadAddressList_rx310(1)",
                          "XrsNvReadAddressList_rx310(2)", "XrsNvReadAddressList_rx310(3)",
                          "XrsNvReadAddressList_rx310(4)"));
  EXPECT_THAT(fake.CallsOf("XrsNvReadAddress_rx310"),
              ElementsAre("XrsNvReadAddress_rx310(5)", "XrsNvReadAddress_rx310(250)",
                          "XrsNvReadAddress_rx310(499)"));
  EXPECT_EQ(fake.CountOf("XrsNvReadDialGroup_rx310"), 20);
  EXPECT_EQ(fake.log.back(), "DiagClosePort()");
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(book.Flags().Flags(0), 0x5A);
  EXPECT_EQ(book.Flags().Flags(250), 0x03);
  EXPECT_EQ(book.Flags().UsedCount(), 3);
  const auto name = book.Entry(250).Name();
  EXPECT_EQ(std::string(name.begin(), name.end()), "Bob");
  // The number is cut at its length byte.
  const auto mobile = book.Entry(250).Number(NumberKind::Mobile);
  EXPECT_EQ(std::string(mobile.begin(), mobile.end()), "016");
  EXPECT_EQ(book.Groups()[19].Bytes()[1], 'a' + 19);
}

TEST_F(PhonebookTransferTest, ReadShowsEveryStepInItsTitle) {
  PutHandsetEntry(7, 0x01, "Ann");
  ASSERT_EQ(Read(), 1);
  std::vector<std::string> expected = {
      "전화번호 목록 수신중.. [20%]",  "전화번호 목록 수신중.. [40%]",
      "전화번호 목록 수신중.. [60%]",  "전화번호 목록 수신중.. [80%]",
      "전화번호 목록 수신중.. [100%]", "전화번호 목록 수신중.. [100%]",
      "전화번호 데이터 수신중.. [007]"};
  for (int percent = 5; percent <= 100; percent += 5) {
    expected.push_back("전화번호 그룹 데이터 수신중.. [" + std::to_string(percent) + "%]");
  }
  expected.push_back("전화번호 그룹 데이터 수신중.. [100%]");
  EXPECT_THAT(host.titles, ElementsAreArray(expected));
  // One pump after each title and after each step.
  EXPECT_EQ(host.pumps, 28 + 21);
}

TEST_F(PhonebookTransferTest, EntryReadIsRetriedAfter200Ms) {
  PutHandsetEntry(5, 0x01, "Ann");
  PutHandsetEntry(9, 0x01, "Bob");
  fake.FailCall("XrsNvReadAddress_rx310", 2);
  EXPECT_EQ(Read(), 1);
  const auto after = LogAfter("XrsNvReadAddress_rx310(5)");
  ASSERT_GE(after.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(after.begin(), after.begin() + 4),
              ElementsAre("XrsNvReadAddress_rx310(9)", "Sleep(200)", "XrsNvReadAddress_rx310(9)",
                          "XrsNvReadDialGroup_rx310(0)"));
  const auto name = book.Entry(9).Name();
  EXPECT_EQ(std::string(name.begin(), name.end()), "Bob");
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(PhonebookTransferTest, FailedEntryReadChangesNothing) {
  book = BookWithEntries(2);
  const Phonebook before = book;
  PutHandsetEntry(5, 0x01, "Ann");
  PutHandsetEntry(7, 0x01, "Bob");
  fake.FailCall("XrsNvReadAddress_rx310", 2, 2);
  EXPECT_EQ(Read(), 2);
  EXPECT_THAT(host.messages, ElementsAre("007번지의 전화번호 데이터 수신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(book, before);
  EXPECT_EQ(fake.CountOf("XrsNvReadDialGroup_rx310"), 0);
  EXPECT_THAT(LogAfter("Sleep(200)"),
              ElementsAre("XrsNvReadAddress_rx310(7)", "DiagClosePort()",
                          "ShowMessage(007번지의 전화번호 데이터 수신중 오류가 발생했습니다. "
                          "다시 시도해주십시요.)",
                          "DiagClosePort()"));
}

TEST_F(PhonebookTransferTest, FailureAtGroup7ShowsNumber8AndChangesNothing) {
  book = BookWithEntries(3);
  const Phonebook before = book;
  PutHandsetEntry(5, 0x01, "Ann");
  fake.FailCall("XrsNvReadDialGroup_rx310", 8, 2);
  EXPECT_EQ(Read(), 2);
  EXPECT_THAT(host.messages, ElementsAre("8번째 전화번호 그룹 데이터 수신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(book, before);
  EXPECT_THAT(fake.CallsOf("XrsNvReadDialGroup_rx310").back(), "XrsNvReadDialGroup_rx310(7)");
  EXPECT_THAT(LogAfter("XrsNvReadDialGroup_rx310(6)"),
              ElementsAre("XrsNvReadDialGroup_rx310(7)", "Sleep(200)",
                          "XrsNvReadDialGroup_rx310(7)", "DiagClosePort()",
                          "ShowMessage(8번째 전화번호 그룹 데이터 수신중 오류가 발생했습니다. "
                          "다시 시도해주십시요.)",
                          "DiagClosePort()"));
}

TEST_F(PhonebookTransferTest, FlagPartReadIsRetriedAtOnce) {
  fake.FailCall("XrsNvReadAddressList_rx310", 3);
  EXPECT_EQ(Read(), 1);
  EXPECT_THAT(fake.CallsOf("XrsNvReadAddressList_rx310"),
              ElementsAre("XrsNvReadAddressList_rx310(0)", "XrsNvReadAddressList_rx310(1)",
                          "XrsNvReadAddressList_rx310(2)", "XrsNvReadAddressList_rx310(2)",
                          "XrsNvReadAddressList_rx310(3)", "XrsNvReadAddressList_rx310(4)"));
  EXPECT_THAT(fake.sleep.waits, Not(Contains(200)));
}

TEST_F(PhonebookTransferTest, FlagPartFailingTwiceEndsTheRead) {
  book = BookWithEntries(1);
  const Phonebook before = book;
  fake.FailCall("XrsNvReadAddressList_rx310", 4, 2);
  EXPECT_EQ(Read(), 2);
  EXPECT_THAT(host.messages, ElementsAre("4 번째 전화번호 목록 수신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(fake.CountOf("XrsNvReadAddress_rx310"), 0);
  EXPECT_EQ(book, before);
}

TEST_F(PhonebookTransferTest, EmptyHandsetPhonebookIsTakenOver) {
  book = BookWithEntries(2);
  EXPECT_EQ(Read(), 1);
  EXPECT_THAT(host.messages, ElementsAre("전화번호 데이타가 없습니다."));
  EXPECT_THAT(host.progress, ElementsAre(5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75,
                                         80, 85, 90, 95, 100));
  EXPECT_EQ(book.Flags().UsedCount(), 0);
  EXPECT_TRUE(book.Entry(10).Name().empty());
  EXPECT_EQ(book.Entry(10).Slot(), 10);
  EXPECT_EQ(book.Groups()[3].Bytes()[1], 'a' + 3);
}

TEST_F(PhonebookTransferTest, GroupNameFillingTwentyBytesIsCutTo19) {
  auto& group = handsetGroups[4];
  std::fill(group.begin() + 1, group.begin() + 21, 'G');
  group[21] = 0x99;  // reserved bytes come over unchanged
  ASSERT_EQ(Read(), 1);
  const auto& bytes = book.Groups()[4].Bytes();
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 20), std::string(19, 'G'));
  EXPECT_EQ(bytes[20], 0);
  EXPECT_EQ(bytes[21], 0x99);
}

TEST_F(PhonebookTransferTest, FailedConnectEndsWith2AndReadsNothing) {
  fake.handsetPort.clear();
  EXPECT_EQ(Read(), 2);
  EXPECT_EQ(fake.CountOf("XrsNvReadAddressList_rx310"), 0);
  EXPECT_TRUE(host.titles.empty());
}

// ---- Write ----

TEST_F(PhonebookTransferTest, WriteOfTenEntriesCountsThirtyFiveSteps) {
  book = BookWithEntries(10);
  book.Flags().SetFlags(0, 0xC3);
  EXPECT_EQ(Write(), 1);
  ASSERT_EQ(host.progress.size(), 35u);
  EXPECT_EQ(host.progress[9], 28);    // after the entries
  EXPECT_EQ(host.progress[14], 42);   // after the flag block
  EXPECT_EQ(host.progress[34], 100);  // after the last group
  EXPECT_THAT(host.messages, ElementsAre("단말기가 리셋됩니다."));
  const auto after = LogAfter("DiagSetOfflineMode()");
  ASSERT_EQ(after.size(), 10u + 5u + 20u + 4u);
  EXPECT_EQ(after[0], "XrsNvWriteAddress_rx310(10)");
  EXPECT_EQ(after[9], "XrsNvWriteAddress_rx310(73)");
  EXPECT_EQ(after[10], "XrsNvWriteAddressList_rx310(0)");
  EXPECT_EQ(after[14], "XrsNvWriteAddressList_rx310(4)");
  EXPECT_EQ(after[15], "XrsNvWriteDialGroup_rx310(0)");
  EXPECT_EQ(after[34], "XrsNvWriteDialGroup_rx310(19)");
  EXPECT_THAT(std::vector<std::string>(after.begin() + 35, after.end()),
              ElementsAre("DiagPhoneReset()", "DiagClosePort()",
                          "ShowMessage(단말기가 리셋됩니다.)", "DiagClosePort()"));
  // The flag block goes out as held, slot 0's byte included.
  ASSERT_EQ(written["XrsNvWriteAddressList_rx310"].size(), 5u);
  EXPECT_EQ(written["XrsNvWriteAddressList_rx310"][0][0], 0xC3);
  EXPECT_EQ(written["XrsNvWriteAddressList_rx310"][0][10], 0x01);
}

TEST_F(PhonebookTransferTest, WriteShowsEveryStepInItsTitle) {
  book = BookWithEntries(1);
  ASSERT_EQ(Write(), 1);
  std::vector<std::string> expected = {"전화번호 데이터 전송중.. [010]", "목록 저장중.."};
  for (int percent = 20; percent <= 100; percent += 20) {
    expected.push_back("전화번호 목록 전송중.. [" + std::to_string(percent) + "%]");
  }
  expected.push_back("전화번호 목록 전송중.. [100%]");
  for (int percent = 5; percent <= 100; percent += 5) {
    expected.push_back("전화번호 그룹 데이터 전송중.. [" + std::to_string(percent) + "%]");
  }
  EXPECT_THAT(host.titles, ElementsAreArray(expected));
}

TEST_F(PhonebookTransferTest, RecordIsSentWithTheSlotNumberOfItsPlace) {
  book = BookWithEntries(1);
  book.Entry(10).SetSlot(0);  // made again after a delete
  book.Entry(10).Bytes()[5] = 0x42;
  ASSERT_EQ(Write(), 1);
  ASSERT_EQ(written["XrsNvWriteAddress_rx310"].size(), 1u);
  const auto& sent = written["XrsNvWriteAddress_rx310"][0];
  EXPECT_EQ(sent[0], 10);
  EXPECT_EQ(sent[1], 0);
  EXPECT_EQ(sent[5], 0x42);
  EXPECT_EQ(book.Entry(10).Slot(), 0);  // the window's record is not touched
}

TEST_F(PhonebookTransferTest, EntryWrittenAtTheSecondTryIsShownInTheTitle) {
  book = BookWithEntries(2);
  fake.FailCall("XrsNvWriteAddress_rx310", 1);
  EXPECT_EQ(Write(), 1);
  EXPECT_THAT(LogAfter("DiagSetOfflineMode()"), Contains("Sleep(200)"));
  EXPECT_EQ(fake.CountOf("XrsNvWriteAddress_rx310"), 3);
  ASSERT_GE(host.titles.size(), 3u);
  EXPECT_EQ(host.titles[0], "전화번호 데이터 전송중.. [010]");
  EXPECT_EQ(host.titles[1], "DEBUG: Passed in 2nd pass");
  EXPECT_EQ(host.titles[2], "전화번호 데이터 전송중.. [017]");
}

TEST_F(PhonebookTransferTest, EntryWriteFailingTwiceEndsBeforeTheFlagBlock) {
  book = BookWithEntries(3);
  fake.FailCall("XrsNvWriteAddress_rx310", 2, 2);
  EXPECT_EQ(Write(), 2);
  EXPECT_THAT(host.messages, ElementsAre("017번지의 전화번호 데이터 송신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(fake.CountOf("XrsNvWriteAddressList_rx310"), 0);
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
}

TEST_F(PhonebookTransferTest, FlagPartWriteIsNeverRetried) {
  book = BookWithEntries(2);
  fake.FailCall("XrsNvWriteAddressList_rx310", 2);
  EXPECT_EQ(Write(), 2);
  EXPECT_EQ(fake.CountOf("XrsNvWriteAddressList_rx310"), 2);
  EXPECT_THAT(host.messages, ElementsAre("2 번째 전화번호 목록 송신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(fake.CountOf("XrsNvWriteDialGroup_rx310"), 0);
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
}

TEST_F(PhonebookTransferTest, GroupWriteIsRetriedAfter500Ms) {
  book = BookWithEntries(1);
  fake.FailCall("XrsNvWriteDialGroup_rx310", 4);
  EXPECT_EQ(Write(), 1);
  const auto after = LogAfter("XrsNvWriteDialGroup_rx310(2)");
  ASSERT_GE(after.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(after.begin(), after.begin() + 4),
              ElementsAre("XrsNvWriteDialGroup_rx310(3)", "Sleep(500)",
                          "XrsNvWriteDialGroup_rx310(3)", "XrsNvWriteDialGroup_rx310(4)"));
}

TEST_F(PhonebookTransferTest, GroupWriteFailingTwiceShowsItsNumber) {
  book = BookWithEntries(1);
  fake.FailCall("XrsNvWriteDialGroup_rx310", 20, 2);
  EXPECT_EQ(Write(), 2);
  EXPECT_THAT(host.messages, ElementsAre("20번째 전화번호 그룹 데이터 송신중 오류가 발생했습니다. "
                                         "다시 시도해주십시요."));
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
}

TEST_F(PhonebookTransferTest, EmptyPhonebookWritesNothingAndSucceeds) {
  book.Flags().SetFlags(0, 0x01);  // slot 0 does not count
  EXPECT_EQ(Write(), 1);
  EXPECT_THAT(host.messages, ElementsAre("저장할 데이타가 없습니다."));
  EXPECT_EQ(fake.CountOf("DiagSetOfflineMode"), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
  EXPECT_THAT(host.progress, IsEmpty());
}

TEST_F(PhonebookTransferTest, FailedOfflineStepWritesNothing) {
  book = BookWithEntries(1);
  fake.FailCall("DiagSetOfflineMode", 1, 2);
  EXPECT_EQ(Write(), 2);
  EXPECT_THAT(host.messages,
              ElementsAre("단말기와 통신에 오류가 발생했습니다. 다시 시도해주십시요."));
  EXPECT_TRUE(written.empty());
}

TEST_F(PhonebookTransferTest, UnknownModeIsRefused) {
  EXPECT_EQ(RunPhonebookSync(2, {fake, fake.sleep, state}, host, settings, book), 2);
  EXPECT_THAT(host.messages, ElementsAre("잘못된 명령입니다."));
  EXPECT_TRUE(fake.log.size() == 1 && fake.log[0].rfind("ShowMessage", 0) == 0);
  EXPECT_EQ(PhonebookSyncStartTitle(0), "전화번호 내려받기중..");
  EXPECT_EQ(PhonebookSyncStartTitle(1), "전화번호 저장중..");
}

struct QuestionCase {
  std::vector<bool> answers;
  bool confirmed;
  std::size_t asked;
};

class PhonebookWriteQuestionTest : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(PhonebookWriteQuestionTest, BothQuestionsMustBeAnsweredYes) {
  std::vector<std::string> asked;
  std::vector<bool> answers = GetParam().answers;
  const bool confirmed = ConfirmPhonebookWrite([&](std::string_view question) {
    asked.emplace_back(question);
    const bool yes = answers.front();
    answers.erase(answers.begin());
    return yes;
  });
  EXPECT_EQ(confirmed, GetParam().confirmed);
  ASSERT_EQ(asked.size(), GetParam().asked);
  EXPECT_EQ(asked[0], "현재 화면의 데이타로 단말기에 덮어쓰게 됩니다. 계속하시겠습니까?");
  if (asked.size() > 1) {
    EXPECT_EQ(asked[1], "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?");
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, PhonebookWriteQuestionTest,
                         ::testing::Values(QuestionCase{{false}, false, 1},
                                           QuestionCase{{true, false}, false, 2},
                                           QuestionCase{{true, true}, true, 2}));

}  // namespace
}  // namespace linkora
