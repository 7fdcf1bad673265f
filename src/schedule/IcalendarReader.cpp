#include "schedule/IcalendarReader.h"

#include <fmt/printf.h>
#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <optional>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "common/Hex.h"
#include "resources/ScheduleTexts.h"
#include "schedule/IcalendarEvent.h"

namespace linkora {
namespace {

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;
using Kind = ImportReport::Kind;

// The dates the handset's editors offer.
constexpr int kFirstYear = 1997;
constexpr int kLastYear = 2049;
// Steps through recurrences, for the whole file: a file of many fast rules
// must not keep the reader busy.
constexpr int kRecurrenceStepBudget = 200000;
constexpr std::size_t kTextBytes = ScheduleEntry::kTextWidth - 1;

// What happened to an event on its way to a record, told once it is taken.
using Notes = std::vector<std::pair<Kind, std::string>>;

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

LocalDateTime FieldsOf(const icaltimetype& time) {
  return {time.year, time.month, time.day, time.is_date ? 0 : time.hour,
          time.is_date ? 0 : time.minute};
}

LocalDateTime LocalOf(time_t seconds) {
  std::tm local{};
  localtime_r(&seconds, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string PropertyText(icalcomponent* event, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(event, kind);
  if (property == nullptr) {
    return {};
  }
  // The unescaped text ("a, b" rather than "a\, b").
  const icalvalue* value = icalproperty_get_value(property);
  const char* text = value != nullptr ? icalvalue_get_text(value) : nullptr;
  return text != nullptr ? text : "";
}

std::optional<std::string> XValue(icalcomponent* event, std::string_view name) {
  for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
    const char* xname = icalproperty_get_x_name(p);
    const char* value = icalproperty_get_x(p);
    if (xname != nullptr && value != nullptr && name == xname) {
      return std::string(value);
    }
  }
  return std::nullopt;
}

std::optional<int> XNumber(icalcomponent* event, std::string_view name) {
  const auto text = XValue(event, name);
  int value = 0;
  if (!text || text->empty() ||
      std::from_chars(text->data(), text->data() + text->size(), value).ec != std::errc{} ||
      value < 0 || value > 255) {
    return std::nullopt;
  }
  return value;
}

const char* TzidOf(icalcomponent* event) {
  icalproperty* start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
  icalparameter* tzid =
      start != nullptr ? icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER) : nullptr;
  return tzid != nullptr ? icalparameter_get_tzid(tzid) : nullptr;
}

// One event of the file on its way to a record, with the notes about it.
class EventImport {
 public:
  EventImport(icalcomponent* event, time_t now, int& stepBudget)
      : event_(event), now_(now), stepBudget_(stepBudget) {}

  std::string Summary() const {
    const std::string summary = PropertyText(event_, ICAL_SUMMARY_PROPERTY);
    return summary.empty() ? std::string(texts::kIcalUntitled) : summary;
  }
  std::string Item(const LocalDateTime& at) const {
    return fmt::sprintf(std::string(texts::kIcalItemFormat), Summary(), at.year, at.month, at.day);
  }

  // The start as this PC's local time; notes a conversion. Nothing when the
  // event has no start.
  std::optional<icaltimetype> Start() {
    if (icalcomponent_get_first_property(event_, ICAL_DTSTART_PROPERTY) == nullptr) {
      return std::nullopt;
    }
    icaltimetype start = icalcomponent_get_dtstart(event_);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
      return std::nullopt;
    }
    return start;
  }

  // Picks the date to take of a recurring event: the first instance, or the
  // first from today on when the event began before today.
  icaltimetype Instance(icaltimetype start, Notes& notes) {
    icalproperty* rule = icalcomponent_get_first_property(event_, ICAL_RRULE_PROPERTY);
    const bool recurs =
        rule != nullptr || icalcomponent_get_first_property(event_, ICAL_RDATE_PROPERTY);
    if (!recurs) {
      return start;
    }
    icaltimetype chosen = start;
    bool upcoming = false;
    const LocalDateTime today = LocalOf(now_);
    if (rule != nullptr && Before(LocalDay(start), today)) {
      icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
      for (; it != nullptr && stepBudget_ > 0; --stepBudget_) {
        icaltimetype next = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(next)) {
          break;
        }
        next.zone = start.zone;
        if (!Before(LocalDay(next), today) && !Excluded(next)) {
          chosen = next;
          upcoming = true;
          break;
        }
      }
      if (it != nullptr) {
        icalrecur_iterator_free(it);
      }
    }
    const LocalDateTime at = FieldsOf(chosen);
    notes.emplace_back(Kind::Changed, fmt::sprintf(std::string(upcoming ? texts::kIcalRepeatUpcoming
                                                                        : texts::kIcalRepeatFirst),
                                                   at.year, at.month, at.day));
    return chosen;
  }

  // Local date and time of a start, converting UTC and zoned times.
  LocalDateTime Local(icaltimetype start, Notes& notes) const {
    const LocalDateTime written = FieldsOf(start);
    if (start.is_date) {
      return written;
    }
    if (start.zone == nullptr) {
      if (const char* tzid = TzidOf(event_)) {
        notes.emplace_back(Kind::Changed, fmt::sprintf(std::string(texts::kIcalUnknownZone), tzid));
      }
      return written;
    }
    const LocalDateTime local = LocalOf(icaltime_as_timet_with_zone(start, start.zone));
    // The zone as the file names it (a zone of the system's data carries a
    // longer name of libical's).
    const char* tzid = TzidOf(event_);
    const char* zone = icaltime_is_utc(start) || tzid == nullptr ? "UTC" : tzid;
    notes.emplace_back(
        Kind::Changed,
        fmt::sprintf(std::string(texts::kIcalTimeConverted), zone != nullptr ? zone : "UTC",
                     written.year, written.month, written.day, written.hour, written.minute,
                     local.year, local.month, local.day, local.hour, local.minute));
    return local;
  }

  // The alarm position of the event's first display alarm, with notes.
  std::uint8_t Alarm(bool dday, Notes& notes) const {
    int alarms = 0;
    std::uint8_t position = 0;
    for (icalcomponent* alarm = icalcomponent_get_first_component(event_, ICAL_VALARM_COMPONENT);
         alarm != nullptr;
         alarm = icalcomponent_get_next_component(event_, ICAL_VALARM_COMPONENT)) {
      if (++alarms > 1) {
        continue;
      }
      if (dday) {
        notes.emplace_back(Kind::Skipped, texts::kIcalDdayAlarm);
        continue;
      }
      const int before = MinutesBefore(alarm);
      if (before < 0) {
        notes.emplace_back(Kind::Skipped, texts::kIcalAlarmAfterStart);
        continue;
      }
      position = before <= 20 ? 1 : before <= 45 ? 2 : 3;
      if (before != AlarmMinutes(position)) {
        notes.emplace_back(Kind::Changed, fmt::sprintf(std::string(texts::kIcalAlarmChanged),
                                                       before, texts::kAlarmNames[position]));
      }
    }
    if (alarms > 1 && !dday) {
      notes.emplace_back(Kind::Skipped, texts::kIcalExtraAlarm);
    }
    return position;
  }

  // Minutes the alarm rings before the start; negative after it.
  int MinutesBefore(icalcomponent* alarm) const {
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trigger == nullptr) {
      return 0;
    }
    const icaltriggertype value = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(value.time)) {
      const icaltimetype start = icalcomponent_get_dtstart(event_);
      return static_cast<int>((Seconds(start) - Seconds(value.time)) / 60);
    }
    return -icaldurationtype_as_int(value.duration) / 60;
  }

 private:
  static time_t Seconds(icaltimetype time) {
    return time.zone != nullptr ? icaltime_as_timet_with_zone(time, time.zone)
                                : icaltime_as_timet(time);
  }

  // The day of a time on this PC's calendar.
  static LocalDateTime LocalDay(icaltimetype time) {
    if (time.is_date || time.zone == nullptr) {
      return FieldsOf(time);
    }
    return LocalOf(icaltime_as_timet_with_zone(time, time.zone));
  }

  static bool Before(const LocalDateTime& a, const LocalDateTime& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
  }

  bool Excluded(icaltimetype instance) const {
    for (icalproperty* p = icalcomponent_get_first_property(event_, ICAL_EXDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(event_, ICAL_EXDATE_PROPERTY)) {
      if (icaltime_compare_date_only(icalproperty_get_exdate(p), instance) == 0) {
        return true;
      }
    }
    return false;
  }

  icalcomponent* event_;
  time_t now_;
  int& stepBudget_;
};

bool IsUtf8(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  const std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF8 ? 0
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC2 ? 2
                                            : 0;
  if (length == 0 || character.size() != length) {
    return false;
  }
  return std::all_of(character.begin() + 1, character.end(),
                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; });
}

// Encodes a text for a record field: characters CP949 lacks are left out,
// and the rest is cut at a character boundary to the field's 40 bytes.
std::vector<std::uint8_t> FieldBytes(std::string_view utf8, std::string_view fieldName,
                                     Notes& notes) {
  std::vector<std::uint8_t> bytes;
  std::string lost;
  bool cut = false;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::string_view character = utf8.substr(i, length);
    i += length;
    const auto encoded = cp949::FromUtf8(character);
    if (!encoded || encoded->empty()) {
      // A byte that is no UTF-8 at all shows as the replacement character.
      lost +=
          cp949::EncodedLength(character) || IsUtf8(character) ? std::string(character) : "\uFFFD";
      continue;
    }
    if (bytes.size() + encoded->size() > kTextBytes) {
      cut = true;
      continue;
    }
    bytes.insert(bytes.end(), encoded->begin(), encoded->end());
  }
  if (!lost.empty()) {
    notes.emplace_back(Kind::Lost,
                       fmt::sprintf(std::string(texts::kIcalCharsLost), fieldName, lost));
  }
  if (cut) {
    notes.emplace_back(Kind::Cut, fmt::sprintf(std::string(texts::kIcalTextCut), fieldName,
                                               static_cast<int>(bytes.size())));
  }
  return bytes;
}

template <typename Entry>
bool SameRecord(const Entry& a, const Entry& b) {
  const auto x = a.Bytes();
  const auto y = b.Bytes();
  // Index (first byte) and next (last four) only say where it stands.
  return std::equal(x.begin() + 1, x.end() - 4, y.begin() + 1);
}

template <typename Entry, typename Get>
bool AlreadyHeld(const Entry& entry, int count, Get get) {
  for (int i = 0; i < count; ++i) {
    if (SameRecord(entry, get(i))) {
      return true;
    }
  }
  return false;
}

// The record our own export carried, when the event still says what the
// record says; nothing when it was changed elsewhere or is not ours.
template <typename Entry>
std::optional<Entry> CarriedRecord(icalcomponent* event, bool dday, std::uint8_t alarmPosition,
                                   icaltimetype start) {
  const auto hex = XValue(event, "X-LINKORA-RECORD");
  std::vector<std::uint8_t> bytes;
  if (!hex || !ParseHex(*hex, bytes) || bytes.size() != Entry::kSize || start.zone != nullptr) {
    return std::nullopt;
  }
  Entry entry;
  std::copy(bytes.begin(), bytes.end(), entry.Bytes().begin());
  IcalendarEvent seen;
  seen.dday = dday;
  const LocalDateTime at = FieldsOf(start);
  seen.year = at.year;
  seen.month = at.month;
  seen.day = at.day;
  seen.hour = at.hour;
  seen.minute = at.minute;
  seen.summary = PropertyText(event, ICAL_SUMMARY_PROPERTY);
  seen.secondText = PropertyText(event, dday ? ICAL_DESCRIPTION_PROPERTY : ICAL_LOCATION_PROPERTY);
  seen.ringtone = static_cast<std::uint8_t>(XNumber(event, "X-LINKORA-RINGTONE").value_or(-1));
  if (!dday) {
    seen.alarm = static_cast<std::uint8_t>(XNumber(event, "X-LINKORA-ALARM").value_or(-1));
    seen.alarmMinutes = AlarmMinutes(alarmPosition);
  }
  if (!(EventOf(entry) == seen)) {
    return std::nullopt;
  }
  return entry;
}

class CalendarImport {
 public:
  CalendarImport(ScheduleStore& store, ImportReport& report, time_t now)
      : store_(store),
        report_(report),
        now_(now),
        heldSchedules_(store.ScheduleCount()),
        heldDdays_(store.DdayCount()) {}

  void Component(icalcomponent* component) {
    const std::string summary = PropertyText(component, ICAL_SUMMARY_PROPERTY);
    const std::string item = summary.empty() ? std::string(texts::kIcalUntitled) : summary;
    switch (icalcomponent_isa(component)) {
      case ICAL_VEVENT_COMPONENT:
        Event(component);
        return;
      case ICAL_VTIMEZONE_COMPONENT:
        return;  // used by the events' TZID
      case ICAL_VTODO_COMPONENT:
        report_.Add(Kind::Skipped, item, texts::kIcalTodoSkipped);
        return;
      case ICAL_VJOURNAL_COMPONENT:
        report_.Add(Kind::Skipped, item, texts::kIcalJournalSkipped);
        return;
      default: {
        const char* name = icalcomponent_kind_to_string(icalcomponent_isa(component));
        report_.Add(
            Kind::Skipped, item,
            fmt::sprintf(std::string(texts::kIcalOtherSkipped), name != nullptr ? name : "?"));
        return;
      }
    }
  }

 private:
  void Event(icalcomponent* event) {
    EventImport import(event, now_, stepBudget_);
    const std::optional<icaltimetype> first = import.Start();
    if (!first) {
      report_.Add(Kind::Skipped, import.Summary(), texts::kIcalNoStart);
      return;
    }
    const std::string item = import.Item(FieldsOf(*first));
    if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
      report_.Add(Kind::Skipped, item, texts::kIcalChangedInstance);
      return;
    }
    const auto kind = XValue(event, "X-LINKORA-KIND");
    const bool dday = kind ? *kind == "DDAY" : first->is_date == 1;

    Notes notes;
    const icaltimetype start = import.Instance(*first, notes);
    const LocalDateTime at = import.Local(start, notes);
    const std::uint8_t alarm = import.Alarm(dday, notes);

    if (dday) {
      auto carried = CarriedRecord<DdayEntry>(event, true, 0, start);
      Take(item, carried ? *carried : NewDday(event, at, notes), at, carried.has_value(), notes);
    } else {
      auto carried = CarriedRecord<ScheduleEntry>(event, false, alarm, start);
      Take(item, carried ? *carried : NewSchedule(event, at, alarm, notes), at, carried.has_value(),
           notes);
    }
  }

  static ScheduleEntry NewSchedule(icalcomponent* event, const LocalDateTime& at,
                                   std::uint8_t alarm, Notes& notes) {
    ScheduleEntry entry;
    entry.SetYear(static_cast<std::uint16_t>(std::clamp(at.year, 0, 0xFFFF)));
    entry.SetMonth(static_cast<std::uint8_t>(at.month));
    entry.SetDay(static_cast<std::uint8_t>(at.day));
    entry.SetHour(static_cast<std::uint8_t>(at.hour));
    entry.SetMinute(static_cast<std::uint8_t>(at.minute));
    entry.SetContent(
        FieldBytes(PropertyText(event, ICAL_SUMMARY_PROPERTY), texts::kContentLabel, notes));
    entry.SetPlace(
        FieldBytes(PropertyText(event, ICAL_LOCATION_PROPERTY), texts::kPlaceLabel, notes));
    entry.SetAlarm(alarm);
    entry.SetRingtone(Ringtone(event));
    return entry;
  }

  static DdayEntry NewDday(icalcomponent* event, const LocalDateTime& at, Notes& notes) {
    DdayEntry entry;
    entry.SetYear(static_cast<std::uint16_t>(std::clamp(at.year, 0, 0xFFFF)));
    entry.SetMonth(static_cast<std::uint8_t>(at.month));
    entry.SetDay(static_cast<std::uint8_t>(at.day));
    entry.SetTitle(
        FieldBytes(PropertyText(event, ICAL_SUMMARY_PROPERTY), texts::kTitleLabel, notes));
    entry.SetContent(
        FieldBytes(PropertyText(event, ICAL_DESCRIPTION_PROPERTY), texts::kContentLabel, notes));
    entry.SetRingtone(Ringtone(event));
    return entry;
  }

  static std::uint8_t Ringtone(icalcomponent* event) {
    return static_cast<std::uint8_t>(XNumber(event, "X-LINKORA-RINGTONE").value_or(84));
  }

  // Adds the record and the notes about it, or tells why it is left out.
  template <typename Entry>
  void Take(const std::string& item, const Entry& entry, const LocalDateTime& at, bool ours,
            const Notes& notes) {
    constexpr bool dday = std::is_same_v<Entry, DdayEntry>;
    const auto skip = [&](std::string_view why) { report_.Add(Kind::Skipped, item, why); };
    if (!ours && (at.year < kFirstYear || at.year > kLastYear)) {
      return skip(texts::kIcalOutOfRange);
    }
    const int count = dday ? store_.DdayCount() : store_.ScheduleCount();
    // Equal events of one file are all taken; only what the store held
    // before counts as already there.
    const int held = dday ? heldDdays_ : heldSchedules_;
    if (count >= (dday ? ScheduleStore::kDdayCapacity : ScheduleStore::kScheduleCapacity)) {
      return skip(dday ? texts::kIcalDdayFull : texts::kIcalScheduleFull);
    }
    bool there = false;
    if constexpr (dday) {
      there =
          AlreadyHeld(entry, held, [this](int i) -> const DdayEntry& { return store_.Dday(i); });
    } else {
      there = AlreadyHeld(entry, held,
                          [this](int i) -> const ScheduleEntry& { return store_.Schedule(i); });
    }
    if (there) {
      return skip(texts::kIcalDuplicate);
    }
    if constexpr (dday) {
      store_.AppendDday(entry);
    } else {
      store_.AppendSchedule(entry);
    }
    report_.CountImported();
    for (const auto& [kind, text] : notes) {
      report_.Add(kind, item, text);
    }
  }

  ScheduleStore& store_;
  ImportReport& report_;
  time_t now_;
  int heldSchedules_;
  int heldDdays_;
  int stepBudget_ = kRecurrenceStepBudget;
};

// iCalendar begins with its BEGIN line (after a byte order mark or blank lines).
bool LooksLikeCalendar(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  while (!text.empty() && (text.front() == '\r' || text.front() == '\n' || text.front() == ' ')) {
    text.remove_prefix(1);
  }
  constexpr std::string_view kBegin = "BEGIN:VCALENDAR";
  if (text.size() < kBegin.size()) {
    return false;
  }
  return std::equal(kBegin.begin(), kBegin.end(), text.begin(), [](char a, char b) {
    return a == std::toupper(static_cast<unsigned char>(b));
  });
}

}  // namespace

IcalendarReader::IcalendarReader(Clock now) : now_(std::move(now)) {}

bool IcalendarReader::Read(std::string_view text, ScheduleStore& store, ImportReport& report) {
  error_.clear();
  detail_.clear();
  if (text.size() > kMaxFileSize) {
    error_ = texts::kIcalTooLarge;
    return false;
  }
  if (!LooksLikeCalendar(text) || text.find('\0') != std::string_view::npos) {
    error_ = texts::kIcalNotCalendar;
    return false;
  }
  icalerror_set_errors_are_fatal(0);
  const std::string copy(text);
  Component root(icalparser_parse_string(copy.c_str()), &icalcomponent_free);
  // Several calendars one after the other come as children of one root.
  std::vector<icalcomponent*> calendars;
  if (root && icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
      calendars.push_back(c);
    }
  } else if (root && icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
    calendars.push_back(root.get());
  }
  if (calendars.empty()) {
    error_ = texts::kIcalNotCalendar;
    return false;
  }

  ScheduleStore scratch = store;
  ImportReport notes = report;
  CalendarImport import(scratch, notes, now_());
  for (icalcomponent* calendar : calendars) {
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
      import.Component(c);
    }
  }
  scratch.SortAndRelink();
  store = scratch;
  report = notes;
  return true;
}

bool IcalendarReader::Load(const std::filesystem::path& path, ScheduleStore& store,
                           ImportReport& report) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  std::error_code sizeError;
  if (std::filesystem::file_size(path, sizeError) > kMaxFileSize && !sizeError) {
    error_ = texts::kIcalTooLarge;
    detail_.clear();
    return false;
  }
  if (!ReadWholeFile(path, kMaxFileSize, bytes, error)) {
    error_ = texts::kIcalNotRead;
    detail_ = error;
    return false;
  }
  return Read(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), store,
              report);
}

}  // namespace linkora
