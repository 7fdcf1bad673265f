// A read that meets one wrong answer from the handset tries again after its
// wait and still gives everything the handset holds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "messages/MessageBook.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookTransfer.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleSync.h"
#include "tests/e2e/E2eTest.h"

namespace linkora {
namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A whole read; gives what was read as bytes, empty when it failed.
using Read = std::function<Bytes(LinkContext, TransferHost&, const ConnectSettings&)>;

Bytes ReadPhonebookBytes(LinkContext context, TransferHost& host, const ConnectSettings& settings) {
  Phonebook phonebook;
  if (ReadPhonebook(context, host, settings, phonebook) != kPhonebookTransferDone) {
    return {};
  }
  return EncodePhonebookFile(phonebook);
}

Bytes ReadScheduleBytes(LinkContext context, TransferHost& host, const ConnectSettings& settings) {
  ScheduleStore store;
  if (RunScheduleSync(static_cast<int>(ScheduleSyncMode::Read), context, host, settings, store) !=
      kSyncDone) {
    return {};
  }
  return EncodeScheduleFile(store);
}

// The messages as the list lines of both lists, in reading order.
Bytes ReadMessageBytes(LinkContext context, TransferHost& host, const ConnectSettings& settings) {
  MessageBook book;
  if (RunMessageSync(context, host, settings, book) != 1) {
    return {};
  }
  Bytes lines;
  for (const auto* list : {&book.ReceivedLines(), &book.SentLines()}) {
    for (const std::string& line : *list) {
      lines.insert(lines.end(), line.begin(), line.end());
      lines.push_back('\n');
    }
  }
  return lines;
}

struct Case {
  const char* name;
  const char* fault;
  Read read;
  int retryWaitMs;  // 0: tried again at once
};

class RetryE2eTest : public test::E2eTest {
 protected:
  // Runs the read on a fresh handset with the given emulator options; gives
  // the waits it recorded.
  std::vector<int> RunRead(const Read& read, std::vector<std::string> args, Bytes& result) {
    test::RunningEmulator::Options options;
    options.args = std::move(args);
    Start(options);
    sleep.waits.clear();
    host.messages.clear();
    if (HasFatalFailure()) {
      return {};
    }
    result = read(Context(), host, settings);
    return sleep.waits;
  }
};

TEST_F(RetryE2eTest, OneWrongAnswerIsRetriedAfterItsWait) {
  const Case cases[] = {
      {"entry read refused", "fail:read-address:3", ReadPhonebookBytes, 200},
      {"dial group answer with a wrong CRC", "corrupt:read-dialgroup:5", ReadPhonebookBytes, 200},
      {"schedule read unanswered", "drop:read-schedule:2", ReadScheduleBytes, 500},
      {"D-day read refused", "fail:read-dday:1", ReadScheduleBytes, 500},
      {"received message refused", "fail:read-smsrx:2", ReadMessageBytes, 0},
      {"sent message answer with a wrong CRC", "corrupt:read-smstx:1", ReadMessageBytes, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes clean;
    const std::vector<int> cleanWaits = RunRead(c.read, {}, clean);
    ASSERT_FALSE(clean.empty()) << Shown();
    Bytes retried;
    std::vector<int> waits = RunRead(c.read, {"--fault", c.fault}, retried);
    EXPECT_THAT(host.messages, IsEmpty());
    EXPECT_EQ(retried, clean);
    // The same waits as without the fault, and the retry's wait among them.
    if (c.retryWaitMs > 0) {
      ASSERT_EQ(waits.size(), cleanWaits.size() + 1) << ::testing::PrintToString(waits);
      const auto at = std::mismatch(cleanWaits.begin(), cleanWaits.end(), waits.begin()).second;
      EXPECT_EQ(*at, c.retryWaitMs) << ::testing::PrintToString(waits);
      waits.erase(at);
    }
    EXPECT_EQ(waits, cleanWaits);
  }
}

TEST_F(RetryE2eTest, TwoWrongAnswersInARowFailTheReadWithItsMessage) {
  struct Failure {
    const char* fault;
    Read read;
    const char* message;
  };
  const Failure cases[] = {
      {"fail:read-address:3:2", ReadPhonebookBytes,
       "003번지의 전화번호 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요."},
      {"corrupt:read-dialgroup:5:2", ReadPhonebookBytes,
       "5번째 전화번호 그룹 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요."},
      {"drop:read-schedule:2:2", ReadScheduleBytes,
       "스케줄러 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
      {"fail:read-dday:1:2", ReadScheduleBytes,
       "DDAY 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
      // The second received message read is slot 1's; the first sent one is slot 12's.
      {"fail:read-smsrx:2:2", ReadMessageBytes,
       "받은메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (001)"},
      {"corrupt:read-smstx:1:2", ReadMessageBytes,
       "보낸메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (012)"},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.fault);
    Bytes result;
    RunRead(c.read, {"--fault", c.fault}, result);
    EXPECT_TRUE(result.empty());
    EXPECT_THAT(host.messages, ElementsAre(c.message));
  }
}

}  // namespace
}  // namespace linkora
