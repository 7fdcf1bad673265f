#pragma once

#include <cstdint>
#include <string>

#include "schedule/ScheduleEntry.h"

namespace linkora {

// What an event of an .ics file says of one handset record, in the form both
// directions compare: the writer exports these values, and the reader takes a
// record carried in X-LINKORA-RECORD only while the event still says the
// same, so an event edited in another program is taken from its fields.
struct IcalendarEvent {
  bool dday = false;
  // The record's date and time with out-of-range values rolled over into
  // the neighbouring day, month or year (month 13 is January of the next
  // year), and the year kept within 1..2999, so every value is a valid date.
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  std::string summary;     // content of a schedule, title of a D-day (UTF-8)
  std::string secondText;  // place of a schedule, content of a D-day (UTF-8)
  int alarmMinutes = 0;    // minutes before the start; 0 for no alarm
  std::uint8_t alarm = 0;  // the record's alarm byte as it is
  std::uint8_t ringtone = 0;

  bool operator==(const IcalendarEvent&) const = default;
};

IcalendarEvent EventOf(const ScheduleEntry& entry);
IcalendarEvent EventOf(const DdayEntry& entry);

// Minutes before the start for an alarm position (0 none, 1 ten minutes,
// 2 thirty, 3 one hour); 0 for a value the editors never produce.
int AlarmMinutes(std::uint8_t alarm);

}  // namespace linkora
