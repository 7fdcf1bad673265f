#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "schedule/ScheduleStore.h"

namespace linkora {

// What the scheduler's editor and its add dialogs collect for a schedule.
// Texts are CP949 bytes (at most 40 are kept).
struct ScheduleFields {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  std::span<const std::uint8_t> content;
  std::span<const std::uint8_t> place;
  int alarmPosition = 0;     // in the alarm list
  int ringtonePosition = 0;  // in RingtoneNames; -1 keeps the entry's code
};

// The same for a D-day.
struct DdayFields {
  int year = 0;
  int month = 0;
  int day = 0;
  std::span<const std::uint8_t> title;
  std::span<const std::uint8_t> content;
  // In RingtoneNames (editor) or DdayRingtoneNames (add dialog); -1 keeps the entry's code.
  int ringtonePosition = 0;
};

// Writes the fields into an entry; its index and next stay until the next relink.
void ApplyScheduleFields(ScheduleEntry& entry, const ScheduleFields& fields);
void ApplyDdayFields(DdayEntry& entry, const DdayFields& fields);

// Adds a new entry from an add dialog, then sorts and relinks. With the
// array full nothing changes and the message "저장공간이 부족합니다." is given
// (the window shows it before it opens the dialog: see CanAddSchedule).
std::optional<std::string_view> AddSchedule(ScheduleStore& store, const ScheduleFields& fields);
std::optional<std::string_view> AddDday(ScheduleStore& store, const DdayFields& fields);

// Whether another entry fits, or the message to show when it does not.
std::optional<std::string_view> CanAddSchedule(const ScheduleStore& store);
std::optional<std::string_view> CanAddDday(const ScheduleStore& store);

// The ringtone list position the editor shows for a code. A downloaded
// ringtone (above 113) shows the first name and gives the message to show; a
// code below 84, which names nothing, shows no name (-1), so that the code
// stays until the user picks a ringtone.
struct EditorRingtone {
  int position = 0;
  std::optional<std::string_view> message;
};
EditorRingtone EditorRingtoneFor(std::uint8_t code);

// The two questions asked, in order, before writing to the handset
// (Yes/No boxes captioned "Linkora"); a No to either sends nothing.
std::array<std::string_view, 2> ScheduleWriteQuestions();

}  // namespace linkora
