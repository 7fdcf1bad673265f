#include "schedule/SchedulerEdits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace linkora {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(SchedulerEditsTest, ScheduleFieldsGoIntoTheirPlacesWithRingtoneCodeFromThePosition) {
  const auto content = Bytes("meeting");
  const auto place = Bytes("room 2");
  ScheduleStore store;
  ASSERT_FALSE(AddSchedule(store, {2003, 6, 7, 18, 30, content, place, 3, 15}).has_value());
  const ScheduleEntry& e = store.Schedule(0);
  EXPECT_EQ(e.Year(), 2003);
  EXPECT_EQ(e.Month(), 6);
  EXPECT_EQ(e.Day(), 7);
  EXPECT_EQ(e.Hour(), 18);
  EXPECT_EQ(e.Minute(), 30);
  EXPECT_EQ(std::string(e.Content().begin(), e.Content().end()), "meeting");
  EXPECT_EQ(std::string(e.Place().begin(), e.Place().end()), "room 2");
  EXPECT_EQ(e.Alarm(), 3);
  EXPECT_EQ(e.Ringtone(), 99);
  EXPECT_EQ(e.Index(), 0);
  EXPECT_EQ(e.Next(), 0);
}

TEST(SchedulerEditsTest, AddedScheduleWithAnExistingDateAndTimeGoesAfterIt) {
  const auto first = Bytes("first");
  const auto second = Bytes("second");
  const auto early = Bytes("early");
  ScheduleStore store;
  AddSchedule(store, {2003, 6, 7, 18, 30, first, {}, 0, 0});
  AddSchedule(store, {2003, 6, 7, 18, 30, second, {}, 0, 0});
  AddSchedule(store, {2003, 6, 7, 18, 29, early, {}, 0, 0});
  ASSERT_EQ(store.ScheduleCount(), 3);
  EXPECT_EQ(store.Schedule(0).Content()[0], 'e');
  EXPECT_EQ(store.Schedule(1).Content()[0], 'f');
  EXPECT_EQ(store.Schedule(2).Content()[0], 's');
  EXPECT_EQ(store.Schedule(2).Index(), 2);
}

TEST(SchedulerEditsTest, FullArraysRefuseAddsWithTheirMessage) {
  ScheduleStore store;
  for (int i = 0; i < 70; ++i) {
    ASSERT_FALSE(AddSchedule(store, {2003, 1, 1, 0, i % 60, {}, {}, 0, 0}).has_value());
  }
  for (int i = 0; i < 27; ++i) {
    ASSERT_FALSE(AddDday(store, {2003, 1, i + 1, {}, {}, 0}).has_value());
  }
  EXPECT_EQ(CanAddSchedule(store), "저장공간이 부족합니다.");
  EXPECT_EQ(CanAddDday(store), "저장공간이 부족합니다.");
  const ScheduleStore before = store;
  EXPECT_EQ(AddSchedule(store, {2010, 1, 1, 0, 0, {}, {}, 0, 0}), "저장공간이 부족합니다.");
  EXPECT_EQ(AddDday(store, {2010, 1, 1, {}, {}, 0}), "저장공간이 부족합니다.");
  EXPECT_TRUE(store == before);

  ScheduleStore room;
  EXPECT_FALSE(CanAddSchedule(room).has_value());
  EXPECT_FALSE(CanAddDday(room).has_value());
}

TEST(SchedulerEditsTest, DdayFieldsGoIntoTheirPlaces) {
  const auto title = Bytes("exam");
  const auto content = Bytes("math");
  DdayEntry e;
  e.SetIndex(4);
  ApplyDdayFields(e, {2004, 11, 17, title, content, 29});
  EXPECT_EQ(e.Year(), 2004);
  EXPECT_EQ(e.Month(), 11);
  EXPECT_EQ(e.Day(), 17);
  EXPECT_EQ(std::string(e.Title().begin(), e.Title().end()), "exam");
  EXPECT_EQ(std::string(e.Content().begin(), e.Content().end()), "math");
  EXPECT_EQ(e.Ringtone(), 113);
  EXPECT_EQ(e.Index(), 4);
}

struct RingtoneCase {
  int code;
  int position;
  bool downloaded;
};

TEST(SchedulerEditsTest, EditorShowsTheFirstRingtoneForDownloadedOnesAndNoneForUnknownOnes) {
  const RingtoneCase cases[] = {
      {84, 0, false}, {99, 15, false}, {113, 29, false}, {114, 0, true},
      {255, 0, true}, {83, -1, false}, {0, -1, false},
  };
  for (const RingtoneCase& c : cases) {
    SCOPED_TRACE(c.code);
    const EditorRingtone r = EditorRingtoneFor(static_cast<std::uint8_t>(c.code));
    EXPECT_EQ(r.position, c.position);
    if (c.downloaded) {
      EXPECT_EQ(r.message,
                "다운로드 받은 벨소리가 설정되어 있습니다.\n벨소리를 변경하시려면 노르반폰에서 "
                "설정해주시기 바랍니다.");
    } else {
      EXPECT_FALSE(r.message.has_value());
    }
  }
}

TEST(SchedulerEditsTest, TwoQuestionsBeforeAWrite) {
  const auto questions = ScheduleWriteQuestions();
  EXPECT_EQ(questions[0], "작업중인 데이터로 단말기에 덮어씁니다. 계속하시겠습니까?");
  EXPECT_EQ(questions[1], "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?");
}

}  // namespace
}  // namespace linkora
