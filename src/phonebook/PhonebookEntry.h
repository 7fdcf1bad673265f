#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

// Copies a text into a fixed-width field followed by its zero terminator. The
// bytes after the terminator are left as they were. Gives false, and leaves
// the field unchanged, when the text and its terminator do not fit or the text
// holds a zero byte.
bool CopyTextWithTerminator(std::span<std::uint8_t> field, std::span<const std::uint8_t> text);

// The four numbers of an entry, in record order.
enum class NumberKind : int { Mobile = 0, Home = 1, Office = 2, Fax = 3 };
inline constexpr int kNumberKindCount = 4;

// Bits of a slot's flag byte: which parts of the entry are present. Zero
// means the slot is empty.
namespace slotflags {
inline constexpr std::uint8_t kMobile = 0x01;
inline constexpr std::uint8_t kHome = 0x02;
inline constexpr std::uint8_t kOffice = 0x04;
inline constexpr std::uint8_t kFax = 0x08;
inline constexpr std::uint8_t kEmail = 0x10;
inline constexpr std::uint8_t kGroup = 0x20;
inline constexpr std::uint8_t kAvatar = 0x40;
inline constexpr std::uint8_t kRingtone = 0x80;

constexpr std::uint8_t ForNumber(NumberKind kind) {
  return static_cast<std::uint8_t>(1u << static_cast<int>(kind));
}
}  // namespace slotflags

// Number of avatar parts, numbered 1 to 7.
inline constexpr int kAvatarPartCount = 7;
using AvatarParts = std::array<std::uint8_t, kAvatarPartCount>;  // parts 1..7 in part order

// One phonebook entry as the handset keeps it, in memory, on the link and in
// the phonebook file alike: 222 bytes, little-endian.
class PhonebookEntry : public ByteRecord<222> {
 public:
  static constexpr std::size_t kSlot = 0;      // u16, 1..499
  static constexpr std::size_t kLockMark = 2;  // 0 or 1
  static constexpr std::size_t kGroup = 3;     // 0..19, 0 = no group
  static constexpr std::size_t kReserved = 4;  // 6 bytes, carried unchanged
  static constexpr std::size_t kName = 10;     // 20 bytes, CP949, zero-terminated
  static constexpr std::size_t kNameSize = 20;
  static constexpr std::size_t kEmail = 30;  // 50 bytes, CP949, zero-terminated
  static constexpr std::size_t kEmailSize = 50;
  static constexpr std::size_t kFirstNumberLength = 80;  // length byte, then 32 digit bytes
  static constexpr std::size_t kNumberStride = 33;
  static constexpr std::size_t kNumberSize = 32;
  static constexpr std::size_t kBellCode = 212;     // u16 ringtone code
  static constexpr std::size_t kAvatarFlag = 214;   // 1 when the avatar is used
  static constexpr std::size_t kAvatarParts = 215;  // 7 picture numbers in record order

  // Record byte of each avatar part 1..7: bytes 215 to 221 hold parts 3, 4,
  // 5, 6, 2, 1 and 7.
  static constexpr std::array<std::size_t, kAvatarPartCount> kAvatarPartBytes = {220, 219, 215, 216,
                                                                                 217, 218, 221};

  static constexpr std::size_t NumberLengthOffset(NumberKind kind) {
    return kFirstNumberLength + kNumberStride * static_cast<std::size_t>(kind);
  }
  static constexpr std::size_t NumberOffset(NumberKind kind) {
    return NumberLengthOffset(kind) + 1;
  }

  std::uint16_t Slot() const { return U16(kSlot); }
  void SetSlot(std::uint16_t slot) { SetU16(kSlot, slot); }
  std::uint8_t LockMark() const { return U8(kLockMark); }
  void SetLockMark(std::uint8_t mark) { SetU8(kLockMark, mark); }
  std::uint8_t Group() const { return U8(kGroup); }
  void SetGroup(std::uint8_t group) { SetU8(kGroup, group); }

  std::span<const std::uint8_t> NameField() const { return Field(kName, kNameSize); }
  std::span<const std::uint8_t> Name() const { return TextOfField(NameField()); }
  bool SetName(std::span<const std::uint8_t> text) {
    return CopyTextWithTerminator(Field(kName, kNameSize), text);
  }

  std::span<const std::uint8_t> EmailField() const { return Field(kEmail, kEmailSize); }
  std::span<const std::uint8_t> Email() const { return TextOfField(EmailField()); }
  bool SetEmail(std::span<const std::uint8_t> text) {
    return CopyTextWithTerminator(Field(kEmail, kEmailSize), text);
  }

  std::uint8_t NumberLength(NumberKind kind) const { return U8(NumberLengthOffset(kind)); }
  std::span<const std::uint8_t> NumberField(NumberKind kind) const {
    return Field(NumberOffset(kind), kNumberSize);
  }
  std::span<const std::uint8_t> Number(NumberKind kind) const {
    return TextOfField(NumberField(kind));
  }
  // Copies the digits with their terminator and sets the length byte.
  bool SetNumber(NumberKind kind, std::span<const std::uint8_t> digits);

  // Cuts each number text at its length byte, as an entry from the handset
  // requires. A length beyond the field cuts at the field's last byte.
  void CutNumbersAtLengths();

  std::uint16_t BellCode() const { return U16(kBellCode); }
  void SetBellCode(std::uint16_t code) { SetU16(kBellCode, code); }
  std::uint8_t AvatarFlag() const { return U8(kAvatarFlag); }
  void SetAvatarFlag(std::uint8_t flag) { SetU8(kAvatarFlag, flag); }

  // Avatar part 1..7.
  std::uint8_t AvatarPart(int part) const { return U8(AvatarPartByte(part)); }
  void SetAvatarPart(int part, std::uint8_t value) { SetU8(AvatarPartByte(part), value); }
  AvatarParts AvatarPartValues() const;
  void SetAvatarPartValues(const AvatarParts& parts);

 private:
  static std::size_t AvatarPartByte(int part) {
    return kAvatarPartBytes[static_cast<std::size_t>(part - 1)];
  }
};

}  // namespace linkora
