#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

// Copies a text into a fixed-width CP949 field the way the handset's editors
// do: at most width - 1 bytes, then the terminating zero. The bytes after the
// zero are left as they were; they are not significant.
void PutTextField(std::span<std::uint8_t> field, std::span<const std::uint8_t> text);

// One appointment as the handset, the link and the schedule file hold it.
class ScheduleEntry : public ByteRecord<95> {
 public:
  static constexpr std::size_t kIndex = 0;
  static constexpr std::size_t kYear = 1;
  static constexpr std::size_t kMonth = 3;
  static constexpr std::size_t kDay = 4;
  static constexpr std::size_t kHour = 5;
  static constexpr std::size_t kMinute = 6;
  static constexpr std::size_t kContent = 7;
  static constexpr std::size_t kPlace = 48;
  static constexpr std::size_t kAlarm = 89;
  static constexpr std::size_t kRingtone = 90;
  static constexpr std::size_t kNext = 91;
  static constexpr std::size_t kTextWidth = 41;  // 40 bytes of text and the zero

  std::uint8_t Index() const { return U8(kIndex); }
  void SetIndex(std::uint8_t value) { SetU8(kIndex, value); }
  std::uint16_t Year() const { return U16(kYear); }
  void SetYear(std::uint16_t value) { SetU16(kYear, value); }
  std::uint8_t Month() const { return U8(kMonth); }
  void SetMonth(std::uint8_t value) { SetU8(kMonth, value); }
  std::uint8_t Day() const { return U8(kDay); }
  void SetDay(std::uint8_t value) { SetU8(kDay, value); }
  std::uint8_t Hour() const { return U8(kHour); }
  void SetHour(std::uint8_t value) { SetU8(kHour, value); }
  std::uint8_t Minute() const { return U8(kMinute); }
  void SetMinute(std::uint8_t value) { SetU8(kMinute, value); }
  // "내용" and "장소": CP949 bytes up to the first zero.
  std::span<const std::uint8_t> Content() const { return TextOfField(Field(kContent, kTextWidth)); }
  void SetContent(std::span<const std::uint8_t> text) {
    PutTextField(Field(kContent, kTextWidth), text);
  }
  std::span<const std::uint8_t> Place() const { return TextOfField(Field(kPlace, kTextWidth)); }
  void SetPlace(std::span<const std::uint8_t> text) {
    PutTextField(Field(kPlace, kTextWidth), text);
  }
  // Position in the alarm list: 0 none, 1 ten minutes, 2 thirty minutes, 3 one hour before.
  std::uint8_t Alarm() const { return U8(kAlarm); }
  void SetAlarm(std::uint8_t value) { SetU8(kAlarm, value); }
  std::uint8_t Ringtone() const { return U8(kRingtone); }
  void SetRingtone(std::uint8_t code) { SetU8(kRingtone, code); }
  // Position of the following entry in the chain, 0 for the last one.
  std::int32_t Next() const { return static_cast<std::int32_t>(U32(kNext)); }
  void SetNext(std::int32_t value) { SetU32(kNext, static_cast<std::uint32_t>(value)); }
};

// One D-day as the handset, the link and the schedule file hold it.
class DdayEntry : public ByteRecord<92> {
 public:
  static constexpr std::size_t kIndex = 0;
  static constexpr std::size_t kYear = 1;
  static constexpr std::size_t kMonth = 3;
  static constexpr std::size_t kDay = 4;
  static constexpr std::size_t kTitle = 5;
  static constexpr std::size_t kContent = 46;
  static constexpr std::size_t kRingtone = 87;
  static constexpr std::size_t kNext = 88;
  static constexpr std::size_t kTextWidth = 41;

  std::uint8_t Index() const { return U8(kIndex); }
  void SetIndex(std::uint8_t value) { SetU8(kIndex, value); }
  std::uint16_t Year() const { return U16(kYear); }
  void SetYear(std::uint16_t value) { SetU16(kYear, value); }
  std::uint8_t Month() const { return U8(kMonth); }
  void SetMonth(std::uint8_t value) { SetU8(kMonth, value); }
  std::uint8_t Day() const { return U8(kDay); }
  void SetDay(std::uint8_t value) { SetU8(kDay, value); }
  // "제목" and "내용": CP949 bytes up to the first zero.
  std::span<const std::uint8_t> Title() const { return TextOfField(Field(kTitle, kTextWidth)); }
  void SetTitle(std::span<const std::uint8_t> text) {
    PutTextField(Field(kTitle, kTextWidth), text);
  }
  std::span<const std::uint8_t> Content() const { return TextOfField(Field(kContent, kTextWidth)); }
  void SetContent(std::span<const std::uint8_t> text) {
    PutTextField(Field(kContent, kTextWidth), text);
  }
  std::uint8_t Ringtone() const { return U8(kRingtone); }
  void SetRingtone(std::uint8_t code) { SetU8(kRingtone, code); }
  std::int32_t Next() const { return static_cast<std::int32_t>(U32(kNext)); }
  void SetNext(std::int32_t value) { SetU32(kNext, static_cast<std::uint32_t>(value)); }
};

}  // namespace linkora
