#include "schedule/IcalendarEvent.h"

#include <algorithm>
#include <chrono>

#include "common/Cp949.h"

namespace linkora {
namespace {

// Rolls the parts over as a calendar does (day 0 is the last day of the
// month before), so a record with odd values still gives a valid date.
void Normalise(IcalendarEvent& event, int year, int month, int day, int hour, int minute) {
  using namespace std::chrono;
  // Years after 3000 are no valid dates to common parsers; a month byte of
  // 255 adds 21 years, so the start stays below that.
  year = std::clamp(year, 1, 2970);
  const sys_days first =
      sys_days{std::chrono::year{year} / std::chrono::month{1} / std::chrono::day{1}};
  const year_month_day shifted =
      year_month_day{first} + months{month - 1};  // whole months first, then days
  const auto at = sys_days{shifted} + days{day - 1} + hours{hour} + minutes{minute};
  const sys_days date = floor<days>(at);
  const year_month_day ymd{date};
  const hh_mm_ss clock{at - date};
  event.year = std::clamp(static_cast<int>(ymd.year()), 1, 2999);
  event.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  event.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  event.hour = static_cast<int>(clock.hours().count());
  event.minute = static_cast<int>(clock.minutes().count());
}

}  // namespace

int AlarmMinutes(std::uint8_t alarm) {
  switch (alarm) {
    case 1:
      return 10;
    case 2:
      return 30;
    case 3:
      return 60;
    default:
      return 0;
  }
}

IcalendarEvent EventOf(const ScheduleEntry& entry) {
  IcalendarEvent event;
  Normalise(event, entry.Year(), entry.Month(), entry.Day(), entry.Hour(), entry.Minute());
  event.summary = cp949::ToUtf8(entry.Content());
  event.secondText = cp949::ToUtf8(entry.Place());
  event.alarmMinutes = AlarmMinutes(entry.Alarm());
  event.alarm = entry.Alarm();
  event.ringtone = entry.Ringtone();
  return event;
}

IcalendarEvent EventOf(const DdayEntry& entry) {
  IcalendarEvent event;
  event.dday = true;
  Normalise(event, entry.Year(), entry.Month(), entry.Day(), 0, 0);
  event.summary = cp949::ToUtf8(entry.Title());
  event.secondText = cp949::ToUtf8(entry.Content());
  event.ringtone = entry.Ringtone();
  return event;
}

}  // namespace linkora
