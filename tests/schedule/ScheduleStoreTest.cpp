#include "schedule/ScheduleStore.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace linkora {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

ScheduleEntry Schedule(int year, int month, int day, int hour, int minute,
                       const std::string& content = "") {
  ScheduleEntry e;
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(static_cast<std::uint8_t>(month));
  e.SetDay(static_cast<std::uint8_t>(day));
  e.SetHour(static_cast<std::uint8_t>(hour));
  e.SetMinute(static_cast<std::uint8_t>(minute));
  e.SetContent(Bytes(content));
  return e;
}

DdayEntry Dday(int year, int month, int day, const std::string& title = "") {
  DdayEntry e;
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(static_cast<std::uint8_t>(month));
  e.SetDay(static_cast<std::uint8_t>(day));
  e.SetTitle(Bytes(title));
  return e;
}

std::string Text(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(ScheduleEntryTest, FieldsSitAtTheirOffsets) {
  ScheduleEntry e;
  e.SetIndex(7);
  e.SetYear(2003);
  e.SetMonth(12);
  e.SetDay(31);
  e.SetHour(23);
  e.SetMinute(59);
  e.SetContent(Bytes("abc"));
  e.SetPlace(Bytes("xy"));
  e.SetAlarm(3);
  e.SetRingtone(113);
  e.SetNext(-2);

  std::array<std::uint8_t, 95> expected{};
  expected[0] = 7;
  expected[1] = 0xD3;  // 2003 = 0x07D3
  expected[2] = 0x07;
  expected[3] = 12;
  expected[4] = 31;
  expected[5] = 23;
  expected[6] = 59;
  expected[7] = 'a';
  expected[8] = 'b';
  expected[9] = 'c';
  expected[48] = 'x';
  expected[49] = 'y';
  expected[89] = 3;
  expected[90] = 113;
  expected[91] = 0xFE;
  expected[92] = 0xFF;
  expected[93] = 0xFF;
  expected[94] = 0xFF;
  EXPECT_EQ(std::vector<std::uint8_t>(e.Bytes().begin(), e.Bytes().end()),
            std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_EQ(e.Next(), -2);
}

TEST(DdayEntryTest, FieldsSitAtTheirOffsets) {
  DdayEntry e;
  e.SetIndex(26);
  e.SetYear(2049);
  e.SetMonth(1);
  e.SetDay(2);
  e.SetTitle(Bytes("T"));
  e.SetContent(Bytes("C"));
  e.SetRingtone(84);
  e.SetNext(0x01020304);

  std::array<std::uint8_t, 92> expected{};
  expected[0] = 26;
  expected[1] = 0x01;  // 2049 = 0x0801
  expected[2] = 0x08;
  expected[3] = 1;
  expected[4] = 2;
  expected[5] = 'T';
  expected[46] = 'C';
  expected[87] = 84;
  expected[88] = 0x04;
  expected[89] = 0x03;
  expected[90] = 0x02;
  expected[91] = 0x01;
  EXPECT_EQ(std::vector<std::uint8_t>(e.Bytes().begin(), e.Bytes().end()),
            std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST(ScheduleEntryTest, TextsAreCutToFortyBytesWithTheZeroInTheLastByte) {
  ScheduleEntry e;
  e.Bytes()[48] = 'Z';  // the place field starts right after the content field
  e.SetContent(Bytes(std::string(40, 'a')));
  EXPECT_EQ(Text(e.Content()), std::string(40, 'a'));
  EXPECT_EQ(e.Bytes()[47], 0);
  EXPECT_EQ(e.Bytes()[48], 'Z');

  e.SetContent(Bytes(std::string(45, 'b')));
  EXPECT_EQ(Text(e.Content()), std::string(40, 'b'));
  EXPECT_EQ(e.Bytes()[47], 0);
}

TEST(ScheduleEntryTest, ShorterTextKeepsTheRemainsOfAnEarlierOneAfterItsZero) {
  ScheduleEntry e;
  e.SetPlace(Bytes("Seoul Station"));
  e.SetPlace(Bytes("Busan"));
  EXPECT_EQ(Text(e.Place()), "Busan");
  EXPECT_EQ(e.Bytes()[48 + 5], 0);
  EXPECT_EQ(e.Bytes()[48 + 6], 'S');
}

struct Key {
  int year, month, day, hour, minute;
  std::string tag;
};

TEST(ScheduleStoreTest, SortOrdersByDateAndTimeAndKeepsEqualKeysInTheirOrder) {
  const std::vector<Key> given = {
      {2004, 1, 1, 9, 0, "late"},    {2003, 12, 31, 23, 59, "b1"}, {2003, 12, 31, 23, 59, "b2"},
      {2003, 2, 1, 0, 0, "feb"},     {2003, 12, 31, 23, 59, "b3"}, {2003, 1, 31, 10, 5, "jan"},
      {2003, 1, 31, 10, 4, "early"},
  };
  ScheduleStore store;
  for (const Key& k : given) {
    store.AppendSchedule(Schedule(k.year, k.month, k.day, k.hour, k.minute, k.tag));
  }
  store.SortAndRelink();
  const std::vector<std::string> expected = {"early", "jan", "feb", "b1", "b2", "b3", "late"};
  ASSERT_EQ(store.ScheduleCount(), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(Text(store.Schedule(i).Content()), expected[static_cast<std::size_t>(i)]);
    EXPECT_EQ(store.Schedule(i).Index(), i);
    EXPECT_EQ(store.Schedule(i).Next(), i == 6 ? 0 : i + 1);
  }
}

TEST(ScheduleStoreTest, YearComparesAsAnUnsignedSixteenBitNumber) {
  ScheduleStore store;
  store.AppendSchedule(Schedule(2100, 1, 1, 0, 0, "2100"));  // 0x0834: low byte smaller
  store.AppendSchedule(Schedule(2003, 1, 1, 0, 0, "2003"));  // 0x07D3
  store.SortAndRelink();
  EXPECT_EQ(Text(store.Schedule(0).Content()), "2003");
  EXPECT_EQ(Text(store.Schedule(1).Content()), "2100");
}

TEST(ScheduleStoreTest, DdaysSortByDateOnlyAndKeepEqualDaysInOrder) {
  ScheduleStore store;
  store.AppendDday(Dday(2005, 5, 5, "second"));
  store.AppendDday(Dday(2004, 12, 25, "first"));
  store.AppendDday(Dday(2005, 5, 5, "third"));
  store.SortAndRelink();
  EXPECT_EQ(Text(store.Dday(0).Title()), "first");
  EXPECT_EQ(Text(store.Dday(1).Title()), "second");
  EXPECT_EQ(Text(store.Dday(2).Title()), "third");
  EXPECT_EQ(store.Dday(2).Index(), 2);
  EXPECT_EQ(store.Dday(2).Next(), 0);
  EXPECT_EQ(store.Dday(0).Next(), 1);
}

TEST(ScheduleStoreTest, SingleEntryGetsIndexZeroAndNextZero) {
  ScheduleStore store;
  ScheduleEntry e = Schedule(2003, 3, 3, 3, 3);
  e.SetIndex(9);
  e.SetNext(12);
  store.AppendSchedule(e);
  store.SortAndRelink();
  EXPECT_EQ(store.Schedule(0).Index(), 0);
  EXPECT_EQ(store.Schedule(0).Next(), 0);
}

struct RemoveCase {
  const char* name;
  int position;
  std::vector<std::string> left;
};

TEST(ScheduleStoreTest, RemoveMovesFollowingEntriesForwardAndRelinksWithoutSorting) {
  const RemoveCase cases[] = {
      {"first", 0, {"b", "c", "d"}},          {"middle", 2, {"a", "b", "d"}},
      {"last", 3, {"a", "b", "c"}},           {"outside", 4, {"a", "b", "c", "d"}},
      {"negative", -1, {"a", "b", "c", "d"}},
  };
  for (const RemoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleStore store;
    // Out of date order on purpose: removal must not sort.
    store.AppendSchedule(Schedule(2009, 1, 1, 0, 0, "a"));
    store.AppendSchedule(Schedule(2001, 1, 1, 0, 0, "b"));
    store.AppendSchedule(Schedule(2005, 1, 1, 0, 0, "c"));
    store.AppendSchedule(Schedule(2003, 1, 1, 0, 0, "d"));
    const bool removed = store.RemoveSchedule(c.position);
    EXPECT_EQ(removed, c.left.size() == 3);
    ASSERT_EQ(store.ScheduleCount(), static_cast<int>(c.left.size()));
    for (std::size_t i = 0; i < c.left.size(); ++i) {
      const ScheduleEntry& e = store.Schedule(static_cast<int>(i));
      EXPECT_EQ(Text(e.Content()), c.left[i]);
      if (removed) {
        EXPECT_EQ(e.Index(), i);
        EXPECT_EQ(e.Next(), i + 1 == c.left.size() ? 0 : static_cast<int>(i) + 1);
      }
    }
    if (removed) {
      // The freed slot at the end keeps its bytes.
      EXPECT_EQ(Text(store.Schedule(3).Content()), "d");
    }
  }
}

TEST(ScheduleStoreTest, RemovingTheOnlyDdayLeavesAnEmptyList) {
  ScheduleStore store;
  store.AppendDday(Dday(2003, 1, 1, "x"));
  EXPECT_TRUE(store.RemoveDday(0));
  EXPECT_EQ(store.DdayCount(), 0);
  EXPECT_FALSE(store.RemoveDday(0));
}

TEST(ScheduleStoreTest, AppendingToAFullStoreChangesNothing) {
  ScheduleStore store;
  for (int i = 0; i < 70; ++i) {
    EXPECT_TRUE(store.AppendSchedule(Schedule(2003, 1, 1, 0, i % 60, "s")));
  }
  for (int i = 0; i < 27; ++i) {
    EXPECT_TRUE(store.AppendDday(Dday(2003, 1, 1 + i, "d")));
  }
  const ScheduleStore before = store;
  EXPECT_FALSE(store.AppendSchedule(Schedule(2010, 1, 1, 0, 0, "extra")));
  EXPECT_FALSE(store.AppendDday(Dday(2010, 1, 1, "extra")));
  EXPECT_EQ(store.ScheduleCount(), 70);
  EXPECT_EQ(store.DdayCount(), 27);
  EXPECT_TRUE(store == before);
}

TEST(ScheduleStoreTest, ClearZeroesEverySlot) {
  ScheduleStore store;
  store.AppendSchedule(Schedule(2003, 1, 1, 1, 1, "a"));
  store.AppendDday(Dday(2003, 1, 1, "b"));
  store.RemoveSchedule(0);  // leaves the old bytes in slot 0
  store.Clear();
  EXPECT_EQ(store.ScheduleCount(), 0);
  EXPECT_EQ(store.DdayCount(), 0);
  EXPECT_TRUE(store == ScheduleStore{});
}

struct CountdownCase {
  CalendarDate today;
  int year, month, day;
  const char* text;
};

TEST(CountdownTextTest, CountsCalendarDaysFromToday) {
  const CountdownCase cases[] = {
      {{2003, 5, 10}, 2003, 5, 10, "D-0"},
      {{2003, 5, 10}, 2003, 5, 9, "D+1"},
      {{2003, 5, 10}, 2003, 5, 22, "D-12"},
      {{2003, 5, 10}, 2003, 5, 7, "D+3"},
      {{2003, 12, 31}, 2004, 1, 1, "D-1"},
      {{2004, 2, 28}, 2004, 3, 1, "D-2"},  // leap year
      {{2003, 2, 28}, 2003, 3, 1, "D-1"},
      {{2003, 1, 1}, 2004, 1, 1, "D-365"},
      {{2004, 1, 1}, 2003, 1, 1, "D+365"},
      // Daylight-saving changes in spring and autumn fall between these days.
      {{2026, 3, 28}, 2026, 3, 30, "D-2"},
      {{2026, 3, 7}, 2026, 3, 9, "D-2"},
      {{2026, 10, 24}, 2026, 10, 26, "D-2"},
      {{2026, 3, 30}, 2026, 3, 28, "D+2"},
      // Values out of range roll over like the calendar does.
      {{2003, 12, 31}, 2003, 13, 1, "D-1"},
      {{2003, 5, 1}, 2003, 5, 0, "D+1"},
  };
  for (const CountdownCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CountdownText(c.today, c.year, c.month, c.day), c.text);
  }
}

TEST(SchedulerLinesTest, ListLinesShowDateAndTimeWithLeadingZeros) {
  EXPECT_EQ(ScheduleLine(Schedule(2003, 1, 5, 9, 7)), "2003-01-05 09:07");
  EXPECT_EQ(ScheduleLine(Schedule(2049, 12, 31, 23, 59)), "2049-12-31 23:59");
  EXPECT_EQ(DdayLine(Dday(1997, 3, 4)), "1997-03-04");
}

}  // namespace
}  // namespace linkora
