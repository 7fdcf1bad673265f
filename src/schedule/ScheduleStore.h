#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <string>

#include "schedule/ScheduleEntry.h"

namespace linkora {

// The schedules and D-days of the scheduler window: two fixed arrays and
// their counts. Slots at and above a count are not in use.
class ScheduleStore {
 public:
  static constexpr int kScheduleCapacity = 70;
  static constexpr int kDdayCapacity = 27;

  // Zeroes both arrays completely and sets both counts to 0.
  void Clear();

  // Copies the record into the slot at the count; at capacity nothing
  // happens (false).
  bool AppendSchedule(const ScheduleEntry& entry);
  bool AppendDday(const DdayEntry& entry);

  // Moves the following entries one slot forward and relinks, without
  // sorting. The slot freed at the end keeps its bytes. A position outside
  // the used entries removes nothing (false).
  bool RemoveSchedule(int position);
  bool RemoveDday(int position);

  // Orders each array by date (and time), keeping entries with equal keys in
  // the order they had, then gives entry i index i and next i + 1 and the
  // last entry next 0.
  void SortAndRelink();

  int ScheduleCount() const { return scheduleCount_; }
  int DdayCount() const { return ddayCount_; }
  // Entries by position (0 up to the capacity), for reading and for
  // field-wise changes by the editors.
  ScheduleEntry& Schedule(int position) { return schedules_[Slot(position, kScheduleCapacity)]; }
  const ScheduleEntry& Schedule(int position) const {
    return schedules_[Slot(position, kScheduleCapacity)];
  }
  DdayEntry& Dday(int position) { return ddays_[Slot(position, kDdayCapacity)]; }
  const DdayEntry& Dday(int position) const { return ddays_[Slot(position, kDdayCapacity)]; }

  bool operator==(const ScheduleStore&) const = default;

 private:
  static std::size_t Slot(int position, int capacity) {
    assert(position >= 0 && position < capacity);
    (void)capacity;
    return static_cast<std::size_t>(position);
  }
  void RelinkSchedules();
  void RelinkDdays();

  std::array<ScheduleEntry, kScheduleCapacity> schedules_{};
  std::array<DdayEntry, kDdayCapacity> ddays_{};
  int scheduleCount_ = 0;
  int ddayCount_ = 0;
};

// A day of the local calendar.
struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Today's date on the local clock, for the countdown of the shown D-day.
CalendarDate LocalToday();

// The countdown of a D-day as the scheduler shows it: "D-12" twelve days
// ahead, "D-0" on the day, "D+3" three days after it. Counts calendar days,
// so a change of daylight saving time never makes it a day short. Values
// outside their ranges (month 13, day 0) roll over into the neighbouring
// month or year, as the platform's calendar does.
std::string CountdownText(CalendarDate today, int year, int month, int day);

// The lines of the two lists of the scheduler window.
std::string ScheduleLine(const ScheduleEntry& entry);
std::string DdayLine(const DdayEntry& entry);

}  // namespace linkora
