#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

// Format codes of a `.nmf` header.
enum NmfFormatCode : std::uint8_t {
  NmfSmafSound = 1,
  NmfSafPicture = 2,
  NmfKind8 = 4,
  NmfSubtype22 = 5,  // written by downloads, refused by uploads
  NmfSound27 = 8,
};

// Bits of an item's 16-bit type word; the low byte is the kind.
inline constexpr std::uint16_t kTypeFlagA = 0x200;
inline constexpr std::uint16_t kTypeFlagB = 0x100;
inline constexpr std::uint8_t kKindPicture = 1;
inline constexpr std::uint8_t kKindSound = 2;
inline constexpr std::uint8_t kKind8 = 8;
inline constexpr std::uint8_t kKindHandsetJpeg = 0x40;
// Subtype bit marking the long (5-byte) record header.
inline constexpr std::uint8_t kLongRecordBit = 0x80;

// The 243-byte header in front of every `.nmf` file: the item as the handset
// stores it, with the fields the handset's media list keeps beside it.
class MediaHeader : public ByteRecord<243> {
 public:
  static constexpr std::size_t kMagic = 0;
  static constexpr std::size_t kMagicFieldSize = 50;
  static constexpr std::size_t kMagicTextSize = 25;
  static constexpr std::size_t kFormatCode = 50;
  static constexpr std::size_t kFlagA = 53;
  static constexpr std::size_t kFlagB = 54;
  static constexpr std::size_t kDataSize = 55;
  static constexpr std::size_t kName = 67;
  static constexpr std::size_t kNameSize = 128;
  static constexpr std::size_t kExtra1 = 195;
  static constexpr std::size_t kExtra1Size = 6;
  static constexpr std::size_t kExtra2 = 201;
  static constexpr std::size_t kExtra2Size = 21;
  static constexpr std::size_t kExtra3 = 222;
  static constexpr std::size_t kExtra3Size = 21;

  // A new header is all zeros except the magic field.
  MediaHeader() { WriteMagic(); }

  void WriteMagic();

  std::uint8_t FormatCode() const { return U8(kFormatCode); }
  void SetFormatCode(std::uint8_t code) { SetU8(kFormatCode, code); }
  bool FlagA() const { return U8(kFlagA) != 0; }
  void SetFlagA(bool on) { SetU8(kFlagA, on ? 1 : 0); }
  bool FlagB() const { return U8(kFlagB) != 0; }
  void SetFlagB(bool on) { SetU8(kFlagB, on ? 1 : 0); }
  std::uint32_t DataSize() const { return U32(kDataSize); }
  void SetDataSize(std::uint32_t size) { SetU32(kDataSize, size); }

  std::span<const std::uint8_t> Name() const { return Field(kName, kNameSize); }
  // Zeroes the field, then copies at most 128 bytes of the name.
  void SetName(std::span<const std::uint8_t> name);

  std::span<const std::uint8_t> Extra1() const { return Field(kExtra1, kExtra1Size); }
  std::span<const std::uint8_t> Extra2() const { return Field(kExtra2, kExtra2Size); }
  std::span<const std::uint8_t> Extra3() const { return Field(kExtra3, kExtra3Size); }
  void SetExtras(std::span<const std::uint8_t> extra1, std::span<const std::uint8_t> extra2,
                 std::span<const std::uint8_t> extra3);

  // Copies the first 243 bytes; false (and nothing copied) when there are fewer.
  bool Load(std::span<const std::uint8_t> bytes);

  // Do the bytes begin with the magic text?
  static bool HasMagic(std::span<const std::uint8_t> bytes);
  // Where a file's item data begins: after the header of a `.nmf` file, else at 0.
  static std::size_t HeaderOffset(std::span<const std::uint8_t> bytes);
};

// The 4- or 5-byte header in front of every media file on the handset:
// subtype, a 12-bit name length and a 12-bit (short) or 20-bit (long) size of
// the data. The name bytes (no NUL) and then the data follow it.
class MediaRecordHeader {
 public:
  static constexpr std::size_t kShortSize = 4;
  static constexpr std::size_t kLongSize = 5;
  static constexpr std::size_t kSubtype = 0;
  static constexpr std::size_t kNameLengthHigh = 1;     // name length >> 4
  static constexpr std::size_t kNameLengthLowSize = 2;  // (name length & 0x0F) << 4 | size top
  static constexpr std::size_t kSizeNext = 3;           // short: size bits 0-7; long: 8-15
  static constexpr std::size_t kSizeLow = 4;            // long: size bits 0-7

  // The short form when the subtype's bit 7 is clear, the long form otherwise.
  MediaRecordHeader(std::uint8_t subtype, std::size_t nameLength, std::uint32_t dataSize);

  std::span<const std::uint8_t> Bytes() const { return std::span(bytes_).first(count_); }

 private:
  std::array<std::uint8_t, kLongSize> bytes_{};
  std::size_t count_ = kShortSize;
};

// A handset media file as read back: its header fields, and its name and data
// cut to the bytes that actually arrived.
struct MediaRecord {
  std::uint8_t subtype = 0;
  std::size_t nameLength = 0;        // as the header states it
  std::uint32_t statedDataSize = 0;  // as the header states it
  std::span<const std::uint8_t> name;
  std::span<const std::uint8_t> data;
};

MediaRecord ReadMediaRecord(std::span<const std::uint8_t> received);

// The `.nmf` format code of a stored item, or nothing for a subtype that has none.
std::optional<std::uint8_t> NmfFormatCodeOf(std::uint16_t typeWord, std::uint8_t subtype);

}  // namespace linkora
