#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

// The received-message list: 24 slot entries of 4 bytes from offset 20.
class RxList : public ByteRecord<532> {
 public:
  static constexpr std::size_t kSlots = 20;
  static constexpr std::size_t kSlotEntrySize = 4;
  static constexpr int kSlotCount = 24;

  // 0 empty; 1, 2 and 3 are listed in that order.
  std::uint8_t SlotState(int slot) const { return U8(Entry(slot)); }
  void SetSlotState(int slot, std::uint8_t state) { SetU8(Entry(slot), state); }
  // 0..23 are listed, larger numbers never are.
  std::uint16_t SlotOrder(int slot) const { return U16(Entry(slot) + 1); }
  void SetSlotOrder(int slot, std::uint16_t order) { SetU16(Entry(slot) + 1, order); }

 private:
  static std::size_t Entry(int slot) {
    return kSlots + static_cast<std::size_t>(slot) * kSlotEntrySize;
  }
};

// The sent-message list: a count and up to 40 slot bytes.
class TxList : public ByteRecord<295> {
 public:
  static constexpr std::size_t kCount = 40;
  static constexpr std::size_t kSlotBytes = 41;
  static constexpr int kMaxSlots = 40;

  std::uint8_t Count() const { return U8(kCount); }
  void SetCount(std::uint8_t count) { SetU8(kCount, count); }
  std::uint8_t SlotByte(int position) const {
    return U8(kSlotBytes + static_cast<std::size_t>(position));
  }
  void SetSlotByte(int position, std::uint8_t slot) {
    SetU8(kSlotBytes + static_cast<std::size_t>(position), slot);
  }
};

// One received message: a few lengths and a field mask, then a packed area
// whose fields are present or absent by the mask.
class RxRecord : public ByteRecord<532> {
 public:
  static constexpr std::size_t kSlot = 0;
  static constexpr std::size_t kUserDataLength = 3;
  static constexpr std::size_t kCallbackLength = 5;
  static constexpr std::size_t kFieldMask = 6;
  static constexpr std::size_t kPacked = 20;
  static constexpr std::size_t kPackedSize = kSize - kPacked;

  // Packed area: teleservice at 0..1, header-size selector at 5.
  static constexpr std::size_t kTeleservice = 0;
  static constexpr std::size_t kHeaderSelector = 5;

  // Field mask bits.
  static constexpr std::uint32_t kExtraHeaderByte = 0x20;
  static constexpr std::uint32_t kUserData = 0x800;
  static constexpr std::uint32_t kOneSpareByte = 0x1000;
  static constexpr std::uint32_t kTwoSpareBytes = 0x8000;
  static constexpr std::uint32_t kCallbackNumber = 0x40000;
  static constexpr std::uint32_t kTimeStamp = 0x80000;

  std::uint16_t Slot() const { return U16(kSlot); }
  void SetSlot(std::uint16_t slot) { SetU16(kSlot, slot); }
  std::uint16_t UserDataLength() const { return U16(kUserDataLength); }
  void SetUserDataLength(std::uint16_t length) { SetU16(kUserDataLength, length); }
  std::uint8_t CallbackLength() const { return U8(kCallbackLength); }
  void SetCallbackLength(std::uint8_t length) { SetU8(kCallbackLength, length); }
  std::uint32_t FieldMask() const { return U32(kFieldMask); }
  void SetFieldMask(std::uint32_t mask) { SetU32(kFieldMask, mask); }
  std::span<const std::uint8_t> Packed() const { return Field(kPacked, kPackedSize); }
  std::span<std::uint8_t> Packed() { return Field(kPacked, kPackedSize); }
};

// One sent message.
class TxRecord : public ByteRecord<296> {
 public:
  static constexpr std::size_t kRequest = 0;
  static constexpr std::size_t kMinute = 2;
  static constexpr std::size_t kHour = 3;
  static constexpr std::size_t kDay = 4;
  static constexpr std::size_t kMonth = 5;
  static constexpr std::size_t kRecipientLength = 6;
  static constexpr std::size_t kRecipient = 7;
  static constexpr std::size_t kRecipientWidth = 32;
  static constexpr std::size_t kTextLength = 39;
  static constexpr std::size_t kText = 40;
  static constexpr std::size_t kTextWidth = 255;

  // The request byte: the list's slot byte plus 128, modulo 256.
  std::uint8_t Request() const { return U8(kRequest); }
  void SetRequest(std::uint8_t request) { SetU8(kRequest, request); }
  std::uint8_t Minute() const { return U8(kMinute); }
  std::uint8_t Hour() const { return U8(kHour); }
  std::uint8_t Day() const { return U8(kDay); }
  std::uint8_t Month() const { return U8(kMonth); }
  std::uint8_t RecipientLength() const { return U8(kRecipientLength); }
  std::span<const std::uint8_t> Recipient() const { return Field(kRecipient, kRecipientWidth); }
  std::uint8_t TextLength() const { return U8(kTextLength); }
  std::span<const std::uint8_t> Text() const { return Field(kText, kTextWidth); }
};

}  // namespace linkora
