#include "messages/MessageSync.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/ByteRecord.h"
#include "link/SessionState.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Collects what the read hands over.
class CollectingSink final : public MessageSink {
 public:
  void AddReceived(const ReceivedMessage& message) override { received.push_back(message.text); }
  void AddSent(const SentMessage& message) override {
    sent.push_back(message.text + "/" + message.recipientNumber);
  }
  std::vector<std::string> received;
  std::vector<std::string> sent;
};

struct SlotEntry {
  int state;
  int order;
};

class MessageSyncTest : public ::testing::Test {
 protected:
  MessageSyncTest() {
    fake.handsetPort = "COM4";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    settings.portName = "COM4";
    // Received list: 24 entries of 4 bytes from offset 20 (state, order 16-bit, spare).
    fake.On("XrsNvReadSmsList_rx310", [this](test::FakeCall& call) {
      for (const auto& [slot, entry] : slots) {
        call.buffer[20 + 4 * slot] = static_cast<std::uint8_t>(entry.state);
        WriteU16(call.buffer, 20 + 4 * slot + 1, static_cast<std::uint16_t>(entry.order));
      }
      return 532;
    });
    // Sent list: count at 40, slot bytes from 41.
    fake.On("XrsNvReadSmsMoList_rx310", [this](test::FakeCall& call) {
      call.buffer[40] = sentCount.value_or(static_cast<int>(sentSlots.size()));
      std::copy(sentSlots.begin(), sentSlots.end(), call.buffer.begin() + 41);
      return 295;
    });
    // A received record: teleservice 0x1002, mask 0x800, user data "rx<slot>".
    fake.On("XrsNvReadSmsRx_rx310", [this](test::FakeCall& call) {
      const int slot = ReadU16(call.buffer, 0);
      const std::string text = "rx" + std::to_string(slot);
      WriteU16(call.buffer, 3, static_cast<std::uint16_t>(text.size()));
      WriteU32(call.buffer, 6, 0x800);
      WriteU16(call.buffer, 20, 0x1002);
      std::copy(text.begin(), text.end(), call.buffer.begin() + 28);
      const auto it = receivedResults.find(slot);
      return it == receivedResults.end() ? 532 : it->second;
    });
    // A sent record: recipient "to<request>", text "tx<request>".
    fake.On("XrsNvReadSmsTx_rx310", [this](test::FakeCall& call) {
      const int request = call.buffer[0];
      const std::string to = "to" + std::to_string(request);
      const std::string text = "tx" + std::to_string(request);
      call.buffer[6] = static_cast<std::uint8_t>(to.size());
      std::copy(to.begin(), to.end(), call.buffer.begin() + 7);
      call.buffer[39] = static_cast<std::uint8_t>(text.size());
      std::copy(text.begin(), text.end(), call.buffer.begin() + 40);
      const auto it = sentResults.find(request);
      return it == sentResults.end() ? 1 : it->second;
    });
  }

  int Run() { return RunMessageSync({fake, fake.sleep, state}, host, settings, sink); }

  // The log from the received-list read on.
  std::vector<std::string> ReadLog() const {
    const auto it = std::find_if(fake.log.begin(), fake.log.end(), [](const std::string& s) {
      return s.starts_with("XrsNvReadSmsList_rx310");
    });
    return {it, fake.log.end()};
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::RecordingTransferHost host{&fake.log};
  ConnectSettings settings;
  CollectingSink sink;
  std::map<int, SlotEntry> slots;
  std::vector<std::uint8_t> sentSlots;
  std::optional<std::uint8_t> sentCount;
  std::map<int, int> receivedResults;  // slot -> result of its read
  std::map<int, int> sentResults;      // request byte -> result of its read
};

TEST_F(MessageSyncTest, EmptyHandsetReadsNoRecordAndSaysSo) {
  EXPECT_EQ(Run(), 1);
  EXPECT_THAT(ReadLog(),
              ElementsAre("XrsNvReadSmsList_rx310(532)", "XrsNvReadSmsMoList_rx310(295)",
                          "DiagClosePort()", "ShowMessage(메시지가 없습니다.)", "DiagClosePort()"));
  EXPECT_THAT(host.progress, ElementsAre(100));
  EXPECT_THAT(host.titles, ElementsAre("문자메시지 내려받기중.."));
  EXPECT_THAT(host.messages, ElementsAre("메시지가 없습니다."));
}

TEST_F(MessageSyncTest,
       ReadsReceivedByStateThenDescendingOrderThenDescendingSlotThenSentBackwards) {
  slots[3] = {2, 5};
  slots[10] = {1, 0};
  slots[7] = {1, 4};
  slots[20] = {1, 4};  // same state and order as slot 7: the higher slot first
  slots[8] = {3, 23};
  slots[5] = {4, 1};   // state 4: never listed
  slots[6] = {1, 24};  // order 24: never listed
  slots[9] = {0, 2};   // empty
  sentSlots = {5, 133};
  EXPECT_EQ(Run(), 1);
  EXPECT_THAT(ReadLog(), ElementsAre("XrsNvReadSmsList_rx310(532)", "XrsNvReadSmsMoList_rx310(295)",
                                     "XrsNvReadSmsRx_rx310(20)", "XrsNvReadSmsRx_rx310(7)",
                                     "XrsNvReadSmsRx_rx310(10)", "XrsNvReadSmsRx_rx310(3)",
                                     "XrsNvReadSmsRx_rx310(8)",
                                     // (133 + 128) mod 256 = 5, then 5 + 128 = 133
                                     "XrsNvReadSmsTx_rx310(5)", "XrsNvReadSmsTx_rx310(133)",
                                     "DiagClosePort()", "DiagClosePort()"));
  EXPECT_THAT(sink.received, ElementsAre("rx20", "rx7", "rx10", "rx3", "rx8"));
  EXPECT_THAT(sink.sent, ElementsAre("tx5/to5", "tx133/to133"));
  EXPECT_THAT(
      host.titles,
      ElementsAre("문자메시지 내려받기중..", "받은 메시지 데이터 수신중.. [020]",
                  "받은 메시지 데이터 수신중.. [007]", "받은 메시지 데이터 수신중.. [010]",
                  "받은 메시지 데이터 수신중.. [003]", "받은 메시지 데이터 수신중.. [008]",
                  "보낸 메시지 데이터 수신중.. [001]", "보낸 메시지 데이터 수신중.. [000]"));
  // total = 24 + 2
  EXPECT_THAT(host.progress, ElementsAre(3, 7, 11, 15, 19, 23, 26, 100));
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.pumps, 7 + 7 + 1);
}

TEST_F(MessageSyncTest, SkippedReceivedSlotNeitherMovesTheBarNorCountsAsNoMessages) {
  slots[2] = {1, 0};
  receivedResults[2] = 2;
  EXPECT_EQ(Run(), 1);
  EXPECT_THAT(sink.received, IsEmpty());
  EXPECT_THAT(host.progress, ElementsAre(100));
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(MessageSyncTest, ResultTwoOnTheRetryAlsoSkips) {
  slots[2] = {1, 0};
  slots[4] = {1, 1};
  fake.FailCall("XrsNvReadSmsRx_rx310", 1);
  receivedResults[4] = 2;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(fake.CountOf("XrsNvReadSmsRx_rx310"), 3);
  EXPECT_THAT(sink.received, ElementsAre("rx2"));
  EXPECT_THAT(host.progress, ElementsAre(4, 100));
}

TEST_F(MessageSyncTest, OnlySentMessagesMoveTheBarInStepsOfTheTotal) {
  sentSlots = {1, 2, 3, 4, 5, 6};
  sentResults[131] = 3;  // neither decoded nor handed over, but counted
  EXPECT_EQ(Run(), 1);
  EXPECT_THAT(host.progress, ElementsAre(3, 6, 10, 13, 16, 20, 100));  // total 30
  EXPECT_THAT(sink.sent, ElementsAre("tx134/to134", "tx133/to133", "tx132/to132", "tx130/to130",
                                     "tx129/to129"));
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(MessageSyncTest, SentCountAboveTheFortyListedSlotsReadsForty) {
  sentSlots = std::vector<std::uint8_t>(40, 1);
  sentCount = 200;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(fake.CountOf("XrsNvReadSmsTx_rx310"), 40);
  EXPECT_EQ(host.titles[1], "보낸 메시지 데이터 수신중.. [039]");
  EXPECT_EQ(host.progress[39], 62);  // 40 * 100 / 64
}

TEST_F(MessageSyncTest, ListReadsAreRetriedOnceAtOnce) {
  fake.FailCall("XrsNvReadSmsList_rx310", 1);
  fake.FailCall("XrsNvReadSmsMoList_rx310", 1);
  EXPECT_EQ(Run(), 1);
  EXPECT_THAT(ReadLog(),
              ElementsAre("XrsNvReadSmsList_rx310(532)", "XrsNvReadSmsList_rx310(532)",
                          "XrsNvReadSmsMoList_rx310(295)", "XrsNvReadSmsMoList_rx310(295)",
                          "DiagClosePort()", "ShowMessage(메시지가 없습니다.)", "DiagClosePort()"));
  EXPECT_THAT(fake.sleep.waits, ::testing::Not(::testing::Contains(::testing::Lt(2000))));
}

struct ListFailureCase {
  const char* operation;
  const char* message;
};

TEST_F(MessageSyncTest, ListThatFailsTwiceEndsTheRead) {
  const ListFailureCase cases[] = {
      {"XrsNvReadSmsList_rx310",
       "받은문자메시지 목록 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
      {"XrsNvReadSmsMoList_rx310",
       "보낸문자메시지 목록 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
  };
  for (const ListFailureCase& c : cases) {
    SCOPED_TRACE(c.operation);
    test::FakeHandsetLibrary local;
    local.handsetPort = "COM4";
    local.lockFlag = false;
    local.FailCall(c.operation, 1, 2);
    test::RecordingTransferHost localHost{&local.log};
    CollectingSink localSink;
    EXPECT_EQ(RunMessageSync({local, local.sleep, state}, localHost, settings, localSink), 2);
    EXPECT_THAT(localHost.messages, ElementsAre(c.message));
    EXPECT_EQ(local.log.end()[-3], "DiagClosePort()");
    EXPECT_EQ(local.CountOf(c.operation), 2);
    EXPECT_EQ(local.CountOf("XrsNvReadSmsRx_rx310"), 0);
  }
}

TEST_F(MessageSyncTest, ReceivedRecordFailureFetchesTheItemErrorAndNamesTheSlot) {
  slots[1] = {1, 1};
  slots[7] = {1, 0};
  fake.FailCall("XrsNvReadSmsRx_rx310", 2, 2, 106);
  EXPECT_EQ(Run(), 2);
  const std::string message =
      "받은메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (007)";
  const std::vector<std::string> tail(fake.log.end() - 7, fake.log.end());
  EXPECT_THAT(tail, ElementsAre("XrsNvReadSmsRx_rx310(7)", "XrsNvReadSmsRx_rx310(7)",
                                "DiagClosePort()", "XrsGetError()", "XrsGetNvError()",
                                "ShowMessage(" + message + ")", "DiagClosePort()"));
  // What was handed over before the failure stays handed over.
  EXPECT_THAT(sink.received, ElementsAre("rx1"));
  EXPECT_EQ(fake.CountOf("XrsNvReadSmsTx_rx310"), 0);
}

TEST_F(MessageSyncTest, SentRecordFailureNamesTheStoredSlotByte) {
  sentSlots = {133};
  fake.FailCall("XrsNvReadSmsTx_rx310", 1, 2, 5);
  EXPECT_EQ(Run(), 2);
  const std::string message =
      "보낸메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (133)";
  const std::vector<std::string> tail(fake.log.end() - 6, fake.log.end());
  // Another error than 106: the item error is not fetched.
  EXPECT_THAT(tail,
              ElementsAre("XrsNvReadSmsTx_rx310(5)", "XrsNvReadSmsTx_rx310(5)", "DiagClosePort()",
                          "XrsGetError()", "ShowMessage(" + message + ")", "DiagClosePort()"));
}

TEST_F(MessageSyncTest, FailedConnectReadsNothing) {
  fake.handsetPort = "";
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(fake.CountOf("XrsNvReadSmsList_rx310"), 0);
  EXPECT_THAT(host.messages, ::testing::SizeIs(1));
}

}  // namespace
}  // namespace linkora
