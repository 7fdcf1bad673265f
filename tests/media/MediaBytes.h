#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/MediaInfo.h"

// Media bytes built by hand from the handset's layouts, for the media tests.
namespace linkora::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
inline void Put32(Bytes& b, std::size_t at, unsigned v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
inline unsigned Get16(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
inline unsigned Get32(std::span<const std::uint8_t> b, std::size_t at) {
  return Get16(b, at) | (Get16(b, at + 2) << 16);
}
inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A media list of 8,221 or 3,469 bytes with every slot free (order byte 0xFF at 895 + i).
inline Bytes EmptyList(std::size_t size) {
  Bytes b(size, 0);
  for (std::size_t i = 0; i < 99 && 895 + i < size; ++i) {
    b[895 + i] = 0xFF;
  }
  return b;
}

// Size at 4 + 4i, type word at 400 + 2i, order at 895 + i, name at 994 + 20i, subtype at 2974 + i.
inline void UseSlot(Bytes& b, int slot, unsigned size, unsigned type, std::uint8_t subtype,
                    std::uint8_t order, const std::string& name) {
  const auto i = static_cast<std::size_t>(slot);
  Put32(b, 4 + 4 * i, size);
  Put16(b, 400 + 2 * i, type);
  b[895 + i] = order;
  std::copy(name.begin(), name.end(), b.begin() + static_cast<long>(994 + 20 * i));
  b[2974 + i] = subtype;
}

// A list of `model`'s size whose first `usedSlots` slots hold `slotSize` bytes each.
inline MediaLists LoadedLists(int model, int usedSlots = 0, unsigned slotSize = 0) {
  Bytes list = EmptyList(model == 1 ? 8221 : 3469);
  for (int slot = 0; slot < usedSlots; ++slot) {
    UseSlot(list, slot, slotSize, 2, 0x23, static_cast<std::uint8_t>(slot), "x");
  }
  MediaLists lists;
  std::string message;
  lists.Load(list, static_cast<int>(list.size()), model, message);
  return lists;
}

inline void FillPattern(Bytes& b, std::size_t from, std::size_t size) {
  for (std::size_t i = from; i < size; ++i) {
    b.push_back(static_cast<std::uint8_t>(i * 13));
  }
}

// A SMAF sound; byte 16 decides the kind-8 test.
inline Bytes Smaf(std::size_t size, std::uint8_t byte16 = 0x00) {
  Bytes b{'M', 'M', 'M', 'D'};
  FillPattern(b, 4, size);
  b.resize(size);
  if (size > 16) {
    b[16] = byte16;
  }
  return b;
}

// A JPEG whose start-of-frame marker (0xFF, `marker`) at byte 20 gives its size:
// height at marker + 5, width at marker + 7.
inline Bytes Jpeg(int width, int height, std::uint8_t marker = 0xC0, std::size_t size = 600) {
  Bytes b{0xFF,
          0xD8,
          0xFF,
          0xE0,
          0x00,
          0x10,
          'J',
          'F',
          'I',
          'F',
          0,
          1,
          1,
          0,
          0,
          1,
          0,
          1,
          0,
          0,
          0xFF,
          marker,
          0x00,
          0x11,
          0x08,
          static_cast<std::uint8_t>(height >> 8),
          static_cast<std::uint8_t>(height & 0xFF),
          static_cast<std::uint8_t>(width >> 8),
          static_cast<std::uint8_t>(width & 0xFF),
          0x03};
  FillPattern(b, b.size(), size);
  b.resize(size);
  return b;
}

// A `.nmf` header: magic, format code at 50, flags at 53 and 54, size at 55,
// name at 67, the three extra fields from 195 on.
inline Bytes NmfHeader(std::uint8_t format, bool flagA, bool flagB, std::uint32_t size,
                       const std::string& name = "", const Bytes& extras = Bytes(48, 0)) {
  const std::string magic = "NORVANE MEDIA HEADER V1.1";
  Bytes b(243, 0);
  std::copy(magic.begin(), magic.end(), b.begin());
  b[50] = format;
  b[53] = flagA ? 1 : 0;
  b[54] = flagB ? 1 : 0;
  Put32(b, 55, size);
  std::copy(name.begin(), name.end(), b.begin() + 67);
  std::copy(extras.begin(), extras.end(), b.begin() + 195);
  return b;
}

// A `.nmf` file of `size` bytes in all.
inline Bytes Nmf(std::uint8_t format, std::size_t size, bool flagA = false, bool flagB = false) {
  Bytes b = NmfHeader(format, flagA, flagB, static_cast<std::uint32_t>(size - 243));
  FillPattern(b, 243, size);
  return b;
}

// A handset media file: short record header below 0x80 subtypes, long one above.
inline Bytes SlotFile(std::uint8_t subtype, const std::string& name, const Bytes& data) {
  const std::size_t n = name.size();
  const std::size_t size = data.size();
  Bytes b{subtype, static_cast<std::uint8_t>(n >> 4)};
  if ((subtype & 0x80) != 0) {
    b.push_back(static_cast<std::uint8_t>(((n & 0x0F) << 4) | ((size >> 16) & 0x0F)));
    b.push_back(static_cast<std::uint8_t>((size >> 8) & 0xFF));
  } else {
    b.push_back(static_cast<std::uint8_t>(((n & 0x0F) << 4) | ((size >> 8) & 0x0F)));
  }
  b.push_back(static_cast<std::uint8_t>(size & 0xFF));
  b.insert(b.end(), name.begin(), name.end());
  return Concat(b, data);
}

}  // namespace linkora::test
