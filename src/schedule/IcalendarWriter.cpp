#include "schedule/IcalendarWriter.h"

#include <libical/ical.h>

#include <map>
#include <memory>
#include <span>
#include <string_view>

#include "common/FileIo.h"
#include "common/Hex.h"
#include "common/Sha256.h"
#include "resources/ScheduleTexts.h"
#include "schedule/IcalendarEvent.h"

namespace linkora {
namespace {

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

void AddX(icalcomponent* event, const char* name, const std::string& value) {
  icalproperty* property = icalproperty_new_x(value.c_str());
  icalproperty_set_x_name(property, name);
  icalcomponent_add_property(event, property);
}

icaltimetype LocalTime(const IcalendarEvent& fields) {
  icaltimetype time = icaltime_null_time();
  time.year = fields.year;
  time.month = fields.month;
  time.day = fields.day;
  time.hour = fields.hour;
  time.minute = fields.minute;
  time.is_date = fields.dday ? 1 : 0;
  return time;  // no zone: a floating time
}

// The same record gives the same UID in every export; equal records are
// told apart by their order.
std::string Uid(std::string_view kind, std::span<const std::uint8_t> bytes, std::size_t skipFront,
                std::size_t skipBack, std::map<std::string, int>& taken) {
  const std::string digest =
      Sha256Hex(bytes.subspan(skipFront, bytes.size() - skipFront - skipBack)).substr(0, 24);
  std::string uid = std::string(kind) + "-" + digest;
  if (const int seen = taken[uid]++; seen > 0) {
    uid += "-" + std::to_string(seen + 1);
  }
  return uid + "@linkora";
}

icalcomponent* NewEvent(const IcalendarEvent& fields, const std::string& uid, time_t now) {
  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                        now, 0, icaltimezone_get_utc_timezone())));
  icalcomponent_add_property(event, icalproperty_new_dtstart(LocalTime(fields)));
  // An empty value is a parse error to some readers; an empty text is left out.
  if (!fields.summary.empty()) {
    icalcomponent_add_property(event, icalproperty_new_summary(fields.summary.c_str()));
  }
  return event;
}

void AddAlarm(icalcomponent* event, const IcalendarEvent& fields) {
  if (fields.alarmMinutes == 0) {
    return;
  }
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  const std::string description =
      fields.summary.empty() ? std::string(texts::kIcalAlarmDescription) : fields.summary;
  icalcomponent_add_property(alarm, icalproperty_new_description(description.c_str()));
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(-60 * fields.alarmMinutes);
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  icalcomponent_add_component(event, alarm);
}

}  // namespace

IcalendarWriter::IcalendarWriter(Clock now) : now_(std::move(now)) {}

std::string IcalendarWriter::Write(const ScheduleStore& store) const {
  Component calendar(icalcomponent_new_vcalendar(), &icalcomponent_free);
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(),
                             icalproperty_new_prodid("-//Linkora//Linkora Scheduler//KO"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
  const time_t now = now_();
  std::map<std::string, int> uids;

  for (int i = 0; i < store.ScheduleCount(); ++i) {
    const ScheduleEntry& entry = store.Schedule(i);
    const IcalendarEvent fields = EventOf(entry);
    // Index and next change with the order, so they are no part of the UID.
    icalcomponent* event = NewEvent(fields, Uid("schedule", entry.Bytes(), 1, 4, uids), now);
    if (!fields.secondText.empty()) {
      icalcomponent_add_property(event, icalproperty_new_location(fields.secondText.c_str()));
    }
    AddX(event, "X-LINKORA-KIND", "SCHEDULE");
    AddX(event, "X-LINKORA-ALARM", std::to_string(entry.Alarm()));
    AddX(event, "X-LINKORA-RINGTONE", std::to_string(entry.Ringtone()));
    AddX(event, "X-LINKORA-RECORD", ToHex(entry.Bytes()));
    AddAlarm(event, fields);
    icalcomponent_add_component(calendar.get(), event);
  }
  for (int i = 0; i < store.DdayCount(); ++i) {
    const DdayEntry& entry = store.Dday(i);
    const IcalendarEvent fields = EventOf(entry);
    icalcomponent* event = NewEvent(fields, Uid("dday", entry.Bytes(), 1, 4, uids), now);
    if (!fields.secondText.empty()) {
      icalcomponent_add_property(event, icalproperty_new_description(fields.secondText.c_str()));
    }
    AddX(event, "X-LINKORA-KIND", "DDAY");
    AddX(event, "X-LINKORA-RINGTONE", std::to_string(entry.Ringtone()));
    AddX(event, "X-LINKORA-RECORD", ToHex(entry.Bytes()));
    icalcomponent_add_component(calendar.get(), event);
  }

  char* text = icalcomponent_as_ical_string_r(calendar.get());
  std::string result = text != nullptr ? text : "";
  icalmemory_free_buffer(text);
  return result;
}

bool IcalendarWriter::Save(const std::filesystem::path& path, const ScheduleStore& store) {
  error_.clear();
  const std::string text = Write(store);
  const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
  return WriteFileAtomically(path, std::span<const std::uint8_t>(begin, text.size()), error_);
}

}  // namespace linkora
