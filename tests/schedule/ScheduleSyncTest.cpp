#include "schedule/ScheduleSync.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

ScheduleEntry Schedule(int index, int year, int next, int minute = 0) {
  ScheduleEntry e;
  e.SetIndex(static_cast<std::uint8_t>(index));
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(1);
  e.SetDay(1);
  e.SetMinute(static_cast<std::uint8_t>(minute));
  e.SetNext(next);
  return e;
}

DdayEntry Dday(int index, int year, int next, int day = 1) {
  DdayEntry e;
  e.SetIndex(static_cast<std::uint8_t>(index));
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(1);
  e.SetDay(static_cast<std::uint8_t>(day));
  e.SetNext(next);
  return e;
}

class ScheduleSyncTest : public ::testing::Test {
 protected:
  ScheduleSyncTest() {
    fake.handsetPort = "COM2";
    fake.lockFlag = false;
    settings.portName = "COM2";
    state.RememberedLockCode = fake.lockCode;  // no prompt
    // The handset's chains: positions not listed read as all-zero records.
    fake.On("XrsNvReadSchedule_rx310", [this](test::FakeCall& call) {
      const auto it = handsetSchedules.find(call.buffer[0]);
      if (it != handsetSchedules.end()) {
        std::copy(it->second.Bytes().begin(), it->second.Bytes().end(), call.buffer.begin());
      }
      return static_cast<int>(call.buffer.size());
    });
    fake.On("XrsNvReadDday_rx310", [this](test::FakeCall& call) {
      const auto it = handsetDdays.find(call.buffer[0]);
      if (it != handsetDdays.end()) {
        std::copy(it->second.Bytes().begin(), it->second.Bytes().end(), call.buffer.begin());
      }
      return static_cast<int>(call.buffer.size());
    });
  }

  LinkContext Context() { return {fake, fake.sleep, state}; }

  // The log from the first record call on.
  std::vector<std::string> RecordLog() const {
    const auto it = std::find_if(fake.log.begin(), fake.log.end(), [](const std::string& s) {
      return s.starts_with("XrsNvReadSchedule") || s.starts_with("XrsNvReadDday");
    });
    return {it, fake.log.end()};
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::RecordingTransferHost host{&fake.log};
  ConnectSettings settings;
  std::map<int, ScheduleEntry> handsetSchedules;
  std::map<int, DdayEntry> handsetDdays;
};

TEST_F(ScheduleSyncTest, ReadFollowsBothChainsAndCountsProgressAgainstNinetySeven) {
  handsetSchedules[0] = Schedule(0, 2003, 5);
  handsetSchedules[5] = Schedule(5, 2004, 2);
  handsetSchedules[2] = Schedule(2, 2005, 0);
  handsetDdays[0] = Dday(0, 2006, 1);
  handsetDdays[1] = Dday(1, 2007, 0);
  ScheduleStore store;
  ASSERT_EQ(RunScheduleSync(0, Context(), host, settings, store), 1);
  EXPECT_THAT(host.titles, ElementsAre("스케줄러 데이터 내려받기중.."));
  EXPECT_THAT(RecordLog(), ElementsAre("XrsNvReadSchedule_rx310(0)", "XrsNvReadSchedule_rx310(5)",
                                       "XrsNvReadSchedule_rx310(2)", "XrsNvReadDday_rx310(0)",
                                       "XrsNvReadDday_rx310(1)", "Sleep(500)", "DiagClosePort()",
                                       "DiagClosePort()"));
  // k = 1, 2 after the schedules that link on, 3 after the first D-day.
  EXPECT_THAT(host.progress, ElementsAre(1, 2, 3, 100));
  EXPECT_EQ(host.diagPortName, "COM2");
  EXPECT_THAT(host.messages, IsEmpty());
  ASSERT_EQ(store.ScheduleCount(), 3);
  ASSERT_EQ(store.DdayCount(), 2);
  // Taken as read, with the handset's own index and next values.
  EXPECT_EQ(store.Schedule(1).Index(), 5);
  EXPECT_EQ(store.Schedule(1).Next(), 2);
  EXPECT_EQ(store.Dday(1).Year(), 2007);
}

struct FirstRecordCase {
  const char* name;
  int index;
  int year;
  int next;
  int taken;
};

TEST_F(ScheduleSyncTest, FirstRecordDecidesAboutAnEmptyList) {
  const FirstRecordCase cases[] = {
      {"empty list", 0, 1996, 0, 0},           {"zero record", 0, 0, 0, 0},
      {"year 1997 at index 0", 0, 1997, 0, 1}, {"old year with index 1", 1, 1990, 0, 1},
      {"negative next", 0, 2003, -1, 0},
  };
  for (const FirstRecordCase& c : cases) {
    SCOPED_TRACE(c.name);
    handsetSchedules.clear();
    handsetSchedules[0] = Schedule(c.index, c.year, c.next);
    fake.diagMode = false;
    ScheduleStore store;
    ASSERT_TRUE(ReadSchedules(Context(), host, settings, store));
    EXPECT_EQ(store.ScheduleCount(), c.taken);
    EXPECT_EQ(store.DdayCount(), 0);
  }
}

TEST_F(ScheduleSyncTest, RecordWithNegativeNextEndsTheChainAndIsNotTaken) {
  handsetSchedules[0] = Schedule(0, 2003, 1);
  handsetSchedules[1] = Schedule(1, 2004, -5);
  handsetSchedules[2] = Schedule(2, 2005, 0);
  ScheduleStore store;
  ASSERT_TRUE(ReadSchedules(Context(), host, settings, store));
  EXPECT_EQ(store.ScheduleCount(), 1);
  EXPECT_EQ(fake.CountOf("XrsNvReadSchedule_rx310"), 2);
}

TEST_F(ScheduleSyncTest, ChainLongerThanSeventyIsReadToItsEndButOnlySeventyAreKept) {
  for (int i = 0; i < 80; ++i) {
    handsetSchedules[i] = Schedule(i, 2003, i == 79 ? 0 : i + 1, i % 60);
  }
  ScheduleStore store;
  ASSERT_TRUE(ReadSchedules(Context(), host, settings, store));
  EXPECT_EQ(fake.CountOf("XrsNvReadSchedule_rx310"), 80);
  EXPECT_EQ(store.ScheduleCount(), 70);
  EXPECT_EQ(store.Schedule(69).Index(), 69);
  // 79 steps, then the D-day chain is empty; the bar never passes 100.
  EXPECT_EQ(host.progress[78], 81);  // 79 * 100 / 97
  EXPECT_TRUE(std::all_of(host.progress.begin(), host.progress.end(),
                          [](int p) { return p >= 0 && p <= 100; }));
}

TEST_F(ScheduleSyncTest, ProgressIsClampedWhenTheChainsOutgrowTheCapacities) {
  for (int i = 0; i < 120; ++i) {
    handsetSchedules[i] = Schedule(i, 2003, i == 119 ? 0 : i + 1);
  }
  ScheduleStore store;
  ASSERT_TRUE(ReadSchedules(Context(), host, settings, store));
  EXPECT_EQ(host.progress[95], 98);   // step 96
  EXPECT_EQ(host.progress[96], 100);  // step 97
  EXPECT_EQ(host.progress[118], 100);
}

struct CircleCase {
  const char* name;
  std::map<int, int> links;  // position -> next
  bool dday;
  int reads;
  const char* message;
};

TEST_F(ScheduleSyncTest, ChainThatLeadsBackToAReadPositionStopsTheRead) {
  const CircleCase cases[] = {
      {"schedule to itself",
       {{0, 3}, {3, 3}},
       false,
       2,
       "단말기의 스케줄러 데이터 연결이 잘못되어 읽기를 중단했습니다."},
      {"schedule back to the start",
       {{0, 1}, {1, 2}, {2, 0x100}},
       false,
       3,
       "단말기의 스케줄러 데이터 연결이 잘못되어 읽기를 중단했습니다."},
      {"dday circle",
       {{0, 7}, {7, 9}, {9, 7}},
       true,
       3,
       "단말기의 DDAY 데이터 연결이 잘못되어 읽기를 중단했습니다."},
  };
  for (const CircleCase& c : cases) {
    SCOPED_TRACE(c.name);
    handsetSchedules.clear();
    handsetDdays.clear();
    for (const auto& [position, next] : c.links) {
      if (c.dday) {
        handsetDdays[position] = Dday(position, 2003, next);
      } else {
        handsetSchedules[position] = Schedule(position, 2003, next);
      }
    }
    fake.log.clear();
    fake.diagMode = false;
    host.messages.clear();
    ScheduleStore store;
    store.AppendSchedule(Schedule(0, 1999, 0));
    const ScheduleStore before = store;
    EXPECT_FALSE(ReadSchedules(Context(), host, settings, store));
    EXPECT_THAT(host.messages, ElementsAre(c.message));
    const std::string operation = c.dday ? "XrsNvReadDday_rx310" : "XrsNvReadSchedule_rx310";
    EXPECT_EQ(std::count_if(fake.log.begin(), fake.log.end(),
                            [&](const std::string& s) { return s.starts_with(operation); }),
              c.reads);
    EXPECT_EQ(fake.log.end()[-2], "ShowMessage(" + std::string(c.message) + ")");
    EXPECT_EQ(fake.log.end()[-3], "DiagClosePort()");
    EXPECT_TRUE(store == before);
  }
}

TEST_F(ScheduleSyncTest, RecordReadIsRetriedOnceAfterHalfASecond) {
  handsetSchedules[0] = Schedule(0, 2003, 1);
  handsetSchedules[1] = Schedule(1, 2004, 0);
  fake.FailCall("XrsNvReadSchedule_rx310", 2);
  ScheduleStore store;
  ASSERT_TRUE(ReadSchedules(Context(), host, settings, store));
  EXPECT_THAT(RecordLog(),
              ElementsAre("XrsNvReadSchedule_rx310(0)", "XrsNvReadSchedule_rx310(1)", "Sleep(500)",
                          "XrsNvReadSchedule_rx310(1)", "XrsNvReadDday_rx310(0)", "Sleep(500)",
                          "DiagClosePort()", "DiagClosePort()"));
  EXPECT_EQ(store.ScheduleCount(), 2);
}

struct ReadFailureCase {
  const char* name;
  const char* operation;
  int nth;
  const char* message;
};

TEST_F(ScheduleSyncTest, SecondFailureClosesTheLinkShowsItsMessageAndKeepsTheStore) {
  const ReadFailureCase cases[] = {
      {"schedule", "XrsNvReadSchedule_rx310", 2,
       "스케줄러 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
      {"dday", "XrsNvReadDday_rx310", 1,
       "DDAY 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."},
  };
  for (const ReadFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeHandsetLibrary local;
    local.handsetPort = "COM2";
    local.lockFlag = false;
    local.On("XrsNvReadSchedule_rx310", [](test::FakeCall& call) {
      call.buffer[0] = call.buffer[0] == 0 ? 0 : 1;
      WriteU16(call.buffer, 1, 2003);
      WriteU32(call.buffer, 91, call.buffer[0] == 0 ? 1 : 0);
      return 95;
    });
    local.FailCall(c.operation, c.nth, 2);
    test::RecordingTransferHost localHost{&local.log};
    ScheduleStore store;
    store.AppendDday(Dday(0, 2010, 0));
    const ScheduleStore before = store;
    EXPECT_EQ(RunScheduleSync(0, {local, local.sleep, state}, localHost, settings, store), 2);
    EXPECT_THAT(localHost.messages, ElementsAre(c.message));
    // The link is closed before the message; the closed link object closes once more as it goes.
    const std::vector<std::string> tail(local.log.end() - 6, local.log.end());
    const std::string call = std::string(c.operation) + (c.nth == 2 ? "(1)" : "(0)");
    EXPECT_THAT(tail,
                ElementsAre(call, "Sleep(500)", call, "DiagClosePort()",
                            "ShowMessage(" + std::string(c.message) + ")", "DiagClosePort()"));
    EXPECT_TRUE(store == before);
  }
}

class ScheduleWriteTest : public ScheduleSyncTest {
 protected:
  ScheduleStore StoreWith(int schedules, int ddays) {
    ScheduleStore store;
    for (int i = 0; i < schedules; ++i) {
      store.AppendSchedule(Schedule(0, 2003, 0, i));
    }
    for (int i = 0; i < ddays; ++i) {
      store.AppendDday(Dday(0, 2003, 0, i + 1));
    }
    store.SortAndRelink();
    return store;
  }
};

TEST_F(ScheduleWriteTest, WritesEveryRecordInOrderGoesOfflineFirstAndResetsAfter) {
  ScheduleStore store = StoreWith(2, 1);
  ASSERT_EQ(RunScheduleSync(1, Context(), host, settings, store), 1);
  EXPECT_THAT(host.titles, ElementsAre("스케줄러 데이터 저장중.."));
  const auto offline = std::find(fake.log.begin(), fake.log.end(), "DiagSetOfflineMode()");
  ASSERT_NE(offline, fake.log.end());
  EXPECT_THAT(std::vector<std::string>(offline, fake.log.end()),
              ElementsAre("DiagSetOfflineMode()", "XrsNvWriteSchedule_rx310(0)",
                          "XrsNvWriteSchedule_rx310(1)", "XrsNvWriteDday_rx310(0)", "Sleep(500)",
                          "DiagPhoneReset()", "ShowMessage(단말기가 리셋됩니다.)",
                          "DiagClosePort()", "DiagClosePort()"));
  EXPECT_THAT(host.progress, ElementsAre(33, 66, 100, 100));
  EXPECT_THAT(host.messages, ElementsAre("단말기가 리셋됩니다."));
}

TEST_F(ScheduleWriteTest, RecordsGoOutByteForByte) {
  ScheduleStore store = StoreWith(1, 1);
  std::vector<std::vector<std::uint8_t>> sent;
  fake.On("XrsNvWriteSchedule_rx310", [&](test::FakeCall& call) {
    sent.emplace_back(call.data.begin(), call.data.end());
    return 95;
  });
  fake.On("XrsNvWriteDday_rx310", [&](test::FakeCall& call) {
    sent.emplace_back(call.data.begin(), call.data.end());
    return 92;
  });
  ASSERT_TRUE(WriteSchedules(Context(), host, settings, store));
  ASSERT_EQ(sent.size(), 2U);
  EXPECT_THAT(sent[0], ElementsAreArray(store.Schedule(0).Bytes()));
  EXPECT_THAT(sent[1], ElementsAreArray(store.Dday(0).Bytes()));
  EXPECT_EQ(sent[0].size(), 95U);
  EXPECT_EQ(sent[1].size(), 92U);
}

struct WriteShapeCase {
  int schedules;
  int ddays;
  int scheduleWrites;
  int ddayWrites;
  std::vector<int> progress;
};

TEST_F(ScheduleWriteTest, EmptyPartsSendNothing) {
  const WriteShapeCase cases[] = {
      {0, 0, 0, 0, {100}},
      {0, 2, 0, 2, {50, 100, 100}},
      {3, 0, 3, 0, {33, 66, 100, 100}},
  };
  for (const WriteShapeCase& c : cases) {
    SCOPED_TRACE(c.schedules * 10 + c.ddays);
    test::FakeHandsetLibrary local;
    local.handsetPort = "COM2";
    local.lockFlag = false;
    test::RecordingTransferHost localHost;
    ScheduleStore store = StoreWith(c.schedules, c.ddays);
    ASSERT_TRUE(WriteSchedules({local, local.sleep, state}, localHost, settings, store));
    EXPECT_EQ(local.CountOf("XrsNvWriteSchedule_rx310"), c.scheduleWrites);
    EXPECT_EQ(local.CountOf("XrsNvWriteDday_rx310"), c.ddayWrites);
    EXPECT_EQ(local.CountOf("DiagPhoneReset"), 1);
    EXPECT_EQ(localHost.progress, c.progress);
  }
}

TEST_F(ScheduleWriteTest, SecondFailureOfTheTenthRecordLeavesNineWritten) {
  ScheduleStore store = StoreWith(12, 2);
  fake.FailCall("XrsNvWriteSchedule_rx310", 10, 2);
  EXPECT_EQ(RunScheduleSync(1, Context(), host, settings, store), 2);
  const std::string message =
      "스케줄러 데이터를 전송하는 도중 오류가 발생했습니다. 다시 시도해주십시요.";
  EXPECT_THAT(host.messages, ElementsAre(message));
  const std::vector<std::string> tail(fake.log.end() - 6, fake.log.end());
  EXPECT_THAT(
      tail, ElementsAre("XrsNvWriteSchedule_rx310(9)", "Sleep(500)", "XrsNvWriteSchedule_rx310(9)",
                        "DiagClosePort()", "ShowMessage(" + message + ")", "DiagClosePort()"));
  EXPECT_EQ(fake.CountOf("XrsNvWriteSchedule_rx310"), 11);
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
  EXPECT_EQ(host.progress.size(), 9U);
}

TEST_F(ScheduleWriteTest, DdayFailureShowsTheDdayMessageAfterOneRetry) {
  ScheduleStore store = StoreWith(1, 1);
  fake.FailCall("XrsNvWriteDday_rx310", 1);
  ASSERT_TRUE(WriteSchedules(Context(), host, settings, store));
  EXPECT_EQ(fake.CountOf("XrsNvWriteDday_rx310"), 2);

  test::FakeHandsetLibrary local;
  local.handsetPort = "COM2";
  local.lockFlag = false;
  local.FailCall("XrsNvWriteDday_rx310", 1, 2);
  test::RecordingTransferHost localHost;
  EXPECT_FALSE(WriteSchedules({local, local.sleep, state}, localHost, settings, store));
  EXPECT_THAT(localHost.messages,
              ElementsAre("DDAY 데이터를 전송하는 도중 오류가 발생했습니다. 다시 시도해주십시요."));
}

TEST_F(ScheduleWriteTest, FailedOfflineStepSendsNoRecord) {
  ScheduleStore store = StoreWith(1, 1);
  fake.FailCall("DiagSetOfflineMode", 1, 5);
  EXPECT_EQ(RunScheduleSync(1, Context(), host, settings, store), 2);
  EXPECT_EQ(fake.CountOf("XrsNvWriteSchedule_rx310"), 0);
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
}

TEST_F(ScheduleSyncTest, UnknownModeIsAWrongCommand) {
  ScheduleStore store;
  EXPECT_EQ(RunScheduleSync(2, Context(), host, settings, store), 2);
  EXPECT_THAT(host.messages, ElementsAre("잘못된 명령입니다."));
  EXPECT_THAT(host.titles, IsEmpty());
  EXPECT_THAT(fake.log, ElementsAre("ShowMessage(잘못된 명령입니다.)"));
}

TEST(SchedulerReactionTest, DoneReadWithoutDataStillEnablesWritingAndSaving) {
  ScheduleStore store;
  const SchedulerReaction r = ReactToScheduleRead(1, store);
  EXPECT_EQ(r.message, "데이터가 없습니다.");
  EXPECT_EQ(r.enableWriteAndSave, true);
  EXPECT_TRUE(r.enableAdding);
}

TEST(SchedulerReactionTest, DoneReadSortsRelinksAndReportsTheCounts) {
  ScheduleStore store;
  store.AppendSchedule(Schedule(4, 2005, 9));
  store.AppendSchedule(Schedule(2, 2003, 4));
  store.AppendDday(Dday(3, 2004, 0));
  const SchedulerReaction r = ReactToScheduleRead(1, store);
  EXPECT_EQ(r.message, "2개의 스케줄러와 1개의 DDAY 데이터를 받았습니다.");
  EXPECT_EQ(r.enableWriteAndSave, true);
  EXPECT_TRUE(r.enableAdding);
  EXPECT_EQ(store.Schedule(0).Year(), 2003);
  EXPECT_EQ(store.Schedule(0).Index(), 0);
  EXPECT_EQ(store.Schedule(0).Next(), 1);
  EXPECT_EQ(store.Schedule(1).Next(), 0);
  EXPECT_EQ(store.Dday(0).Index(), 0);
}

TEST(SchedulerReactionTest, FailedReadChangesNeitherTheStoreNorTheButtons) {
  ScheduleStore store;
  store.AppendSchedule(Schedule(0, 2003, 0));
  const ScheduleStore before = store;
  const SchedulerReaction r = ReactToScheduleRead(2, store);
  EXPECT_FALSE(r.message.has_value());
  EXPECT_FALSE(r.enableWriteAndSave.has_value());
  EXPECT_FALSE(r.enableAdding);
  EXPECT_TRUE(store == before);
}

}  // namespace
}  // namespace linkora
