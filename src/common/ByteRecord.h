#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace linkora {

// Little-endian access to fixed offsets of a byte buffer. Every record of
// the handset, the phonebook and schedule files and the media headers is a
// fixed-size byte array read and written through these, never through a
// packed struct. An offset past the buffer is a programming error (asserted);
// lengths that come from the data are checked by the parsers before use.
inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  assert(offset + 2 <= bytes.size());
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  assert(offset + 4 <= bytes.size());
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline void WriteU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  assert(offset + 2 <= bytes.size());
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  assert(offset + 4 <= bytes.size());
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
  }
}

// The text of a fixed-width field: its bytes up to the first zero byte, or the
// whole field when it holds none.
inline std::span<const std::uint8_t> TextOfField(std::span<const std::uint8_t> field) {
  std::size_t length = 0;
  while (length < field.size() && field[length] != 0) {
    ++length;
  }
  return field.first(length);
}

// A record of Size bytes with typed accessors at named offsets. Record
// classes derive from it and name their fields:
//
//   class DialGroup : public ByteRecord<27> {
//    public:
//     static constexpr std::size_t kIndex = 0;
//     std::uint8_t Index() const { return U8(kIndex); }
//   };
template <std::size_t Size>
class ByteRecord {
 public:
  static constexpr std::size_t kSize = Size;

  std::span<std::uint8_t, Size> Bytes() { return bytes_; }
  std::span<const std::uint8_t, Size> Bytes() const { return bytes_; }
  void Clear() { bytes_.fill(0); }

  bool operator==(const ByteRecord&) const = default;

 protected:
  std::uint8_t U8(std::size_t offset) const {
    assert(offset < Size);
    return bytes_[offset];
  }
  void SetU8(std::size_t offset, std::uint8_t value) {
    assert(offset < Size);
    bytes_[offset] = value;
  }
  std::uint16_t U16(std::size_t offset) const { return ReadU16(bytes_, offset); }
  void SetU16(std::size_t offset, std::uint16_t value) { WriteU16(bytes_, offset, value); }
  std::uint32_t U32(std::size_t offset) const { return ReadU32(bytes_, offset); }
  void SetU32(std::size_t offset, std::uint32_t value) { WriteU32(bytes_, offset, value); }
  std::span<const std::uint8_t> Field(std::size_t offset, std::size_t length) const {
    assert(offset + length <= Size);
    return std::span<const std::uint8_t>(bytes_).subspan(offset, length);
  }
  std::span<std::uint8_t> Field(std::size_t offset, std::size_t length) {
    assert(offset + length <= Size);
    return std::span<std::uint8_t>(bytes_).subspan(offset, length);
  }

 private:
  std::array<std::uint8_t, Size> bytes_{};
};

}  // namespace linkora
