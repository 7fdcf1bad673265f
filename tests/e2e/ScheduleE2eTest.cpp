// The schedule and D-day read and write, and the schedule file between them,
// run by the core over the serial library against the emulated handset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "common/Cp949.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleSync.h"
#include "tests/e2e/E2eTest.h"

namespace linkora {
namespace {

using test::AsBytes;
using test::Bytes;
using test::Cp949;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kRead = static_cast<int>(ScheduleSyncMode::Read);
constexpr int kWrite = static_cast<int>(ScheduleSyncMode::Write);

class ScheduleE2eTest : public test::E2eTest {};

TEST_F(ScheduleE2eTest, ReadGivesTheSampleSchedulesAndDdays) {
  Start();
  ScheduleStore store;
  ASSERT_EQ(RunScheduleSync(kRead, Context(), host, settings, store), kSyncDone) << Shown();
  ASSERT_EQ(store.ScheduleCount(), 4);
  ASSERT_EQ(store.DdayCount(), 3);

  struct ScheduleCase {
    int year, month, day, hour, minute;
    const char* content;
    const char* place;
    int alarm, ringtone, next;
  };
  const ScheduleCase schedules[] = {
      {2026, 12, 8, 10, 0, "주간 회의", "본사 3층 회의실", 1, 84, 1},
      {2026, 12, 15, 19, 30, "송년회", "강남역 2번 출구", 3, 96, 2},
      {2026, 12, 24, 18, 0, "가족 저녁 식사", "우리집", 0, 105, 3},
      {2027, 1, 2, 9, 0, "새해 첫 출근", "", 2, 84, 0},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const ScheduleCase& c = schedules[i];
    const ScheduleEntry& e = store.Schedule(i);
    EXPECT_EQ(e.Index(), i);
    EXPECT_EQ(e.Year(), c.year);
    EXPECT_EQ(e.Month(), c.month);
    EXPECT_EQ(e.Day(), c.day);
    EXPECT_EQ(e.Hour(), c.hour);
    EXPECT_EQ(e.Minute(), c.minute);
    EXPECT_EQ(cp949::ToUtf8(e.Content()), c.content);
    EXPECT_EQ(cp949::ToUtf8(e.Place()), c.place);
    EXPECT_EQ(e.Alarm(), c.alarm);
    EXPECT_EQ(e.Ringtone(), c.ringtone);
    EXPECT_EQ(e.Next(), c.next);
    EXPECT_EQ(AsBytes(e.Bytes()), emulator->ReadStateBytes("schedules", std::to_string(i)));
  }
  struct DdayCase {
    int year, month, day;
    const char* title;
    const char* content;
    int ringtone;
  };
  const DdayCase ddays[] = {
      {2026, 12, 25, "크리스마스", "선물 준비하기", 99},
      {2027, 3, 14, "결혼기념일", "꽃다발 예약", 87},
      {2027, 11, 18, "수능", "동생 응원하기", 102},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const DdayCase& c = ddays[i];
    const DdayEntry& e = store.Dday(i);
    EXPECT_EQ(e.Year(), c.year);
    EXPECT_EQ(e.Month(), c.month);
    EXPECT_EQ(e.Day(), c.day);
    EXPECT_EQ(cp949::ToUtf8(e.Title()), c.title);
    EXPECT_EQ(cp949::ToUtf8(e.Content()), c.content);
    EXPECT_EQ(e.Ringtone(), c.ringtone);
    EXPECT_EQ(AsBytes(e.Bytes()), emulator->ReadStateBytes("ddays", std::to_string(i)));
  }
}

TEST_F(ScheduleE2eTest, ChangedScheduleIsWrittenAndReadsBackTheSame) {
  Start();
  ScheduleStore store;
  ASSERT_EQ(RunScheduleSync(kRead, Context(), host, settings, store), kSyncDone) << Shown();
  store.Schedule(1).SetPlace(Cp949("강남역 11번 출구"));
  store.Schedule(1).SetAlarm(2);
  store.Dday(2).SetTitle(Cp949("수능 D-day"));

  ASSERT_EQ(RunScheduleSync(kWrite, Context(), host, settings, store), kSyncDone) << Shown();
  // The write ends with the handset's restart, announced.
  EXPECT_THAT(host.messages, ElementsAre("단말기가 리셋됩니다."));
  const Bytes schedule = emulator->ReadStateBytes("schedules", "1");
  ASSERT_EQ(schedule.size(), 95u);
  EXPECT_EQ(Bytes(schedule.begin() + 48, schedule.begin() + 65),
            test::WithZero(Cp949("강남역 11번 출구")));
  EXPECT_EQ(schedule[89], 2);
  const Bytes dday = emulator->ReadStateBytes("ddays", "2");
  ASSERT_EQ(dday.size(), 92u);
  EXPECT_EQ(Bytes(dday.begin() + 5, dday.begin() + 16), test::WithZero(Cp949("수능 D-day")));

  WaitOutResetSilence();
  ScheduleStore again;
  ASSERT_EQ(RunScheduleSync(kRead, Context(), host, settings, again), kSyncDone) << Shown();
  EXPECT_TRUE(again == store);
}

TEST_F(ScheduleE2eTest, FileRoundTripWritesTheSameBytes) {
  Start();
  const nlohmann::json before = emulator->ReadState();
  ScheduleStore store;
  ASSERT_EQ(RunScheduleSync(kRead, Context(), host, settings, store), kSyncDone) << Shown();

  test::ScratchFolder folder;
  const auto file = folder.path / "일정.nsf";
  const ScheduleSaveResult saved = SaveScheduleFile(file, store);
  ASSERT_TRUE(saved.saved) << saved.detail;
  ScheduleStore loaded;
  ASSERT_EQ(LoadScheduleFile(file, loaded).status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(loaded.ScheduleCount(), 4);
  EXPECT_EQ(loaded.DdayCount(), 3);

  ASSERT_EQ(RunScheduleSync(kWrite, Context(), host, settings, loaded), kSyncDone) << Shown();
  const nlohmann::json after = emulator->ReadState();
  EXPECT_EQ(after.at("schedules"), before.at("schedules"));
  EXPECT_EQ(after.at("ddays"), before.at("ddays"));
}

}  // namespace
}  // namespace linkora
