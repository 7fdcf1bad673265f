#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

// Slots of the phonebook: 1 to 499 hold entries; slot 0 is never shown or
// edited, but its flag byte travels with the block.
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = 499;

// One flag byte per slot 0..499 (see slotflags). The handset sends and takes
// the block in five parts of 100 bytes.
class SlotFlagList : public ByteRecord<500> {
 public:
  static constexpr std::size_t kPartSize = 100;
  static constexpr int kPartCount = 5;

  std::uint8_t Flags(int slot) const { return U8(static_cast<std::size_t>(slot)); }
  void SetFlags(int slot, std::uint8_t flags) { SetU8(static_cast<std::size_t>(slot), flags); }
  bool IsUsed(int slot) const { return Flags(slot) != 0; }

  std::span<std::uint8_t, kPartSize> Part(int part) {
    return Bytes().subspan(static_cast<std::size_t>(part) * kPartSize).first<kPartSize>();
  }
  std::span<const std::uint8_t, kPartSize> Part(int part) const {
    return Bytes().subspan(static_cast<std::size_t>(part) * kPartSize).first<kPartSize>();
  }

  // Number of used slots among 1..499.
  int UsedCount() const {
    int count = 0;
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
      count += IsUsed(slot) ? 1 : 0;
    }
    return count;
  }
};

}  // namespace linkora
