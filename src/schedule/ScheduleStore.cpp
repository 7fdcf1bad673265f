#include "schedule/ScheduleStore.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <tuple>

#include "resources/ScheduleTexts.h"

namespace linkora {

void PutTextField(std::span<std::uint8_t> field, std::span<const std::uint8_t> text) {
  if (field.empty()) {
    return;
  }
  const std::size_t length = std::min(text.size(), field.size() - 1);
  std::copy_n(text.begin(), length, field.begin());
  field[length] = 0;
}

namespace {

auto ScheduleKey(const ScheduleEntry& e) {
  return std::make_tuple(e.Year(), e.Month(), e.Day(), e.Hour(), e.Minute());
}

auto DdayKey(const DdayEntry& e) {
  return std::make_tuple(e.Year(), e.Month(), e.Day());
}

// Passes of neighbour exchanges until one pass exchanges nothing; entries
// with equal keys are never exchanged, so their order stays as it was.
template <typename Entry, std::size_t N, typename Key>
void ExchangeSort(std::array<Entry, N>& entries, int count, Key key) {
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (int i = 0; i + 1 < count; ++i) {
      auto& a = entries[static_cast<std::size_t>(i)];
      auto& b = entries[static_cast<std::size_t>(i + 1)];
      if (key(b) < key(a)) {
        std::swap(a, b);
        exchanged = true;
      }
    }
  }
}

template <typename Entry, std::size_t N>
void Relink(std::array<Entry, N>& entries, int count) {
  for (int i = 0; i < count; ++i) {
    auto& entry = entries[static_cast<std::size_t>(i)];
    entry.SetIndex(static_cast<std::uint8_t>(i));
    entry.SetNext(i + 1 < count ? i + 1 : 0);
  }
}

template <typename Entry, std::size_t N>
bool RemoveAt(std::array<Entry, N>& entries, int& count, int position) {
  if (position < 0 || position >= count) {
    return false;
  }
  std::copy(entries.begin() + position + 1, entries.begin() + count, entries.begin() + position);
  --count;
  Relink(entries, count);
  return true;
}

// Days from 1970-01-01 of a proleptic Gregorian date (months 1..12).
long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Like the platform calendar, a month outside 1..12 rolls into the
// neighbouring years and a day outside the month into the neighbouring months.
long long DayNumber(long long year, long long month, long long day) {
  long long months = month - 1;
  long long yearShift = months >= 0 ? months / 12 : -((11 - months) / 12);
  months -= yearShift * 12;
  return DaysFromCivil(year + yearShift, months + 1, 1) + (day - 1);
}

}  // namespace

void ScheduleStore::Clear() {
  for (auto& entry : schedules_) {
    entry.Clear();
  }
  for (auto& entry : ddays_) {
    entry.Clear();
  }
  scheduleCount_ = 0;
  ddayCount_ = 0;
}

bool ScheduleStore::AppendSchedule(const ScheduleEntry& entry) {
  if (scheduleCount_ >= kScheduleCapacity) {
    return false;
  }
  schedules_[static_cast<std::size_t>(scheduleCount_++)] = entry;
  return true;
}

bool ScheduleStore::AppendDday(const DdayEntry& entry) {
  if (ddayCount_ >= kDdayCapacity) {
    return false;
  }
  ddays_[static_cast<std::size_t>(ddayCount_++)] = entry;
  return true;
}

bool ScheduleStore::RemoveSchedule(int position) {
  return RemoveAt(schedules_, scheduleCount_, position);
}

bool ScheduleStore::RemoveDday(int position) {
  return RemoveAt(ddays_, ddayCount_, position);
}

void ScheduleStore::SortAndRelink() {
  ExchangeSort(schedules_, scheduleCount_, ScheduleKey);
  RelinkSchedules();
  ExchangeSort(ddays_, ddayCount_, DdayKey);
  RelinkDdays();
}

void ScheduleStore::RelinkSchedules() {
  Relink(schedules_, scheduleCount_);
}

void ScheduleStore::RelinkDdays() {
  Relink(ddays_, ddayCount_);
}

CalendarDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string CountdownText(CalendarDate today, int year, int month, int day) {
  const long long n = DayNumber(year, month, day) - DayNumber(today.year, today.month, today.day);
  if (n >= 0) {
    return fmt::sprintf(texts::kCountdownFormat, '-', n);
  }
  return fmt::sprintf(texts::kCountdownFormat, '+', -n);
}

std::string ScheduleLine(const ScheduleEntry& entry) {
  return fmt::sprintf(texts::kScheduleLineFormat, int{entry.Year()}, int{entry.Month()},
                      int{entry.Day()}, int{entry.Hour()}, int{entry.Minute()});
}

std::string DdayLine(const DdayEntry& entry) {
  return fmt::sprintf(texts::kDdayLineFormat, int{entry.Year()}, int{entry.Month()},
                      int{entry.Day()});
}

}  // namespace linkora
