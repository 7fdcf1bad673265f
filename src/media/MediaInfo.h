#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/ByteRecord.h"
#include "media/MediaHeader.h"

namespace linkora {

inline constexpr int kMediaSlotCount = 99;
inline constexpr std::size_t kLargeMediaInfoSize = 8221;
inline constexpr std::size_t kSmallMediaInfoSize = 3469;
// Bytes the handset keeps for media items in all.
inline constexpr std::uint32_t kHandsetMediaCapacity = 800000;
// Order byte of a free slot.
inline constexpr std::uint8_t kFreeSlotOrder = 0xFF;

// The handset's media list ("nvm/info/media_info"): per-slot arrays of 99
// entries. The first 3,271 bytes are laid out alike in both models' lists.
template <std::size_t Size>
class MediaInfoLayout : public ByteRecord<Size> {
 public:
  static constexpr std::size_t kTotal = 0;
  static constexpr std::size_t kSlotSize = 4;    // 4 bytes per slot
  static constexpr std::size_t kTypeWord = 400;  // 2 bytes per slot
  static constexpr std::size_t kField598 = 598;  // 2 bytes per slot; 0 for a new item
  static constexpr std::size_t kField796 = 796;  // 1 byte per slot; 1 for a new item
  static constexpr std::size_t kOrder = 895;     // 1 byte per slot; 0xFF free, else rank
  static constexpr std::size_t kName = 994;      // 20 bytes per slot
  static constexpr std::size_t kNameSize = 20;
  static constexpr std::size_t kSubtype = 2974;    // 1 byte per slot
  static constexpr std::size_t kField3073 = 3073;  // 2 bytes per slot; 0 for a new item
  static constexpr std::size_t kCommonSize = 3271;

  std::uint32_t Total() const { return this->U32(kTotal); }
  void SetTotal(std::uint32_t total) { this->SetU32(kTotal, total); }
  std::uint32_t SlotSize(int slot) const { return this->U32(kSlotSize + 4 * Index(slot)); }
  void SetSlotSize(int slot, std::uint32_t size) {
    this->SetU32(kSlotSize + 4 * Index(slot), size);
  }
  std::uint16_t TypeWord(int slot) const { return this->U16(kTypeWord + 2 * Index(slot)); }
  void SetTypeWord(int slot, std::uint16_t type) {
    this->SetU16(kTypeWord + 2 * Index(slot), type);
  }
  std::uint16_t Field598(int slot) const { return this->U16(kField598 + 2 * Index(slot)); }
  void SetField598(int slot, std::uint16_t value) {
    this->SetU16(kField598 + 2 * Index(slot), value);
  }
  std::uint8_t Field796(int slot) const { return this->U8(kField796 + Index(slot)); }
  void SetField796(int slot, std::uint8_t value) { this->SetU8(kField796 + Index(slot), value); }
  std::uint8_t Order(int slot) const { return this->U8(kOrder + Index(slot)); }
  void SetOrder(int slot, std::uint8_t order) { this->SetU8(kOrder + Index(slot), order); }
  bool IsFree(int slot) const { return Order(slot) == kFreeSlotOrder; }
  std::span<const std::uint8_t> NameField(int slot) const {
    return this->Field(kName + kNameSize * Index(slot), kNameSize);
  }
  std::span<std::uint8_t> NameField(int slot) {
    return this->Field(kName + kNameSize * Index(slot), kNameSize);
  }
  std::uint8_t Subtype(int slot) const { return this->U8(kSubtype + Index(slot)); }
  void SetSubtype(int slot, std::uint8_t subtype) { this->SetU8(kSubtype + Index(slot), subtype); }
  std::uint16_t Field3073(int slot) const { return this->U16(kField3073 + 2 * Index(slot)); }
  void SetField3073(int slot, std::uint16_t value) {
    this->SetU16(kField3073 + 2 * Index(slot), value);
  }

 protected:
  static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
};

// The small model's list (3,469 bytes).
class SmallMediaInfo : public MediaInfoLayout<kSmallMediaInfoSize> {
 public:
  static constexpr std::size_t kField3271 = 3271;  // 0xFF for a new item
  static constexpr std::size_t kField3370 = 3370;  // 0xFF for a new item

  std::uint8_t Field3271(int slot) const { return U8(kField3271 + Index(slot)); }
  void SetField3271(int slot, std::uint8_t value) { SetU8(kField3271 + Index(slot), value); }
  std::uint8_t Field3370(int slot) const { return U8(kField3370 + Index(slot)); }
  void SetField3370(int slot, std::uint8_t value) { SetU8(kField3370 + Index(slot), value); }
};

// The large model's list (8,221 bytes), with the three extra fields of each
// item's media header.
class LargeMediaInfo : public MediaInfoLayout<kLargeMediaInfoSize> {
 public:
  static constexpr std::size_t kExtra1 = 3271;     // 6 bytes per slot
  static constexpr std::size_t kExtra2 = 3865;     // 21 bytes per slot
  static constexpr std::size_t kExtra3 = 5944;     // 21 bytes per slot
  static constexpr std::size_t kField8023 = 8023;  // 0xFF for a new item
  static constexpr std::size_t kField8122 = 8122;  // 0xFF for a new item

  std::span<const std::uint8_t> Extra1(int slot) const {
    return Field(kExtra1 + MediaHeader::kExtra1Size * Index(slot), MediaHeader::kExtra1Size);
  }
  std::span<const std::uint8_t> Extra2(int slot) const {
    return Field(kExtra2 + MediaHeader::kExtra2Size * Index(slot), MediaHeader::kExtra2Size);
  }
  std::span<const std::uint8_t> Extra3(int slot) const {
    return Field(kExtra3 + MediaHeader::kExtra3Size * Index(slot), MediaHeader::kExtra3Size);
  }
  // Copies the three extra fields of a media header into the slot.
  void SetExtras(int slot, const MediaHeader& header);
  std::uint8_t Field8023(int slot) const { return U8(kField8023 + Index(slot)); }
  void SetField8023(int slot, std::uint8_t value) { SetU8(kField8023 + Index(slot), value); }
  std::uint8_t Field8122(int slot) const { return U8(kField8122 + Index(slot)); }
  void SetField8122(int slot, std::uint8_t value) { SetU8(kField8122 + Index(slot), value); }
};

// Is a slot of this type word and subtype an item the phone list shows?
bool IsShownMediaSlot(std::uint16_t typeWord, std::uint8_t subtype);

// One item of the phone media list.
struct ShownMediaItem {
  int slot = 0;
  std::vector<std::uint8_t> name;  // up to the first NUL, at most 20 bytes
  std::string DisplayName() const;
};

// Result of recording a new item before its upload.
struct RecordedMediaItem {
  bool recorded = false;
  int slot = -1;
  std::string message;  // the limit that was hit
};

// The media window's copies of the handset's list: a large-layout copy used
// for display and download on both models and, for the small model, the
// small-layout copy that is updated and written back.
class MediaLists {
 public:
  // Takes the list the handset sent. A list of the wrong length for the
  // model (or one that did not arrive whole) leaves both copies as they were
  // and gives false with the message to show.
  bool Load(std::span<const std::uint8_t> received, int resultLength, int modelIndex,
            std::string& message);

  int ModelIndex() const { return modelIndex_; }
  const LargeMediaInfo& Large() const { return large_; }
  const SmallMediaInfo& Small() const { return small_; }

  // The slots the phone list shows, in slot order.
  std::vector<ShownMediaItem> ShownItems() const;

  // Checks the limits, picks the lowest free slot and records the new item in
  // the model's copy (and mirrors it into the large-layout copy on the small
  // model, so that the item can be downloaded at once).
  RecordedMediaItem RecordNewItem(std::uint32_t size, std::uint16_t typeWord, std::uint8_t subtype,
                                  std::span<const std::uint8_t> name, const MediaHeader& header);

  // The model's copy, to be written back to the handset (8,221 or 3,469 bytes).
  std::span<const std::uint8_t> ListToWrite() const;

 private:
  void CopySmallToLarge();

  int modelIndex_ = 1;
  LargeMediaInfo large_;
  SmallMediaInfo small_;
};

}  // namespace linkora
