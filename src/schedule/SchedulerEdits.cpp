#include "schedule/SchedulerEdits.h"

#include "resources/ScheduleTexts.h"
#include "schedule/Ringtones.h"

namespace linkora {

void ApplyScheduleFields(ScheduleEntry& entry, const ScheduleFields& fields) {
  entry.SetYear(static_cast<std::uint16_t>(fields.year));
  entry.SetMonth(static_cast<std::uint8_t>(fields.month));
  entry.SetDay(static_cast<std::uint8_t>(fields.day));
  entry.SetHour(static_cast<std::uint8_t>(fields.hour));
  entry.SetMinute(static_cast<std::uint8_t>(fields.minute));
  entry.SetContent(fields.content);
  entry.SetPlace(fields.place);
  entry.SetAlarm(static_cast<std::uint8_t>(fields.alarmPosition));
  if (fields.ringtonePosition >= 0) {
    entry.SetRingtone(RingtoneCode(fields.ringtonePosition));
  }
}

void ApplyDdayFields(DdayEntry& entry, const DdayFields& fields) {
  entry.SetYear(static_cast<std::uint16_t>(fields.year));
  entry.SetMonth(static_cast<std::uint8_t>(fields.month));
  entry.SetDay(static_cast<std::uint8_t>(fields.day));
  entry.SetTitle(fields.title);
  entry.SetContent(fields.content);
  if (fields.ringtonePosition >= 0) {
    entry.SetRingtone(RingtoneCode(fields.ringtonePosition));
  }
}

std::optional<std::string_view> CanAddSchedule(const ScheduleStore& store) {
  if (store.ScheduleCount() >= ScheduleStore::kScheduleCapacity) {
    return texts::kStoreFull;
  }
  return std::nullopt;
}

std::optional<std::string_view> CanAddDday(const ScheduleStore& store) {
  if (store.DdayCount() >= ScheduleStore::kDdayCapacity) {
    return texts::kStoreFull;
  }
  return std::nullopt;
}

std::optional<std::string_view> AddSchedule(ScheduleStore& store, const ScheduleFields& fields) {
  if (const auto full = CanAddSchedule(store)) {
    return full;
  }
  ScheduleEntry entry;
  ApplyScheduleFields(entry, fields);
  store.AppendSchedule(entry);
  store.SortAndRelink();
  return std::nullopt;
}

std::optional<std::string_view> AddDday(ScheduleStore& store, const DdayFields& fields) {
  if (const auto full = CanAddDday(store)) {
    return full;
  }
  DdayEntry entry;
  ApplyDdayFields(entry, fields);
  store.AppendDday(entry);
  store.SortAndRelink();
  return std::nullopt;
}

EditorRingtone EditorRingtoneFor(std::uint8_t code) {
  if (code > kLastRingtoneCode) {
    return {0, texts::kDownloadedRingtone};
  }
  return {RingtonePosition(code), std::nullopt};
}

std::array<std::string_view, 2> ScheduleWriteQuestions() {
  return {texts::kOverwriteHandsetQuestion, texts::kResetAfterWriteQuestion};
}

}  // namespace linkora
