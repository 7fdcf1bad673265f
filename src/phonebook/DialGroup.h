#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/ByteRecord.h"

namespace linkora {

inline constexpr int kGroupCount = 20;

// One dial group, 27 bytes. Groups are never edited on the PC: they come
// from the handset or a file and go back unchanged.
class DialGroup : public ByteRecord<27> {
 public:
  static constexpr std::size_t kNumber = 0;
  static constexpr std::size_t kName = 1;  // 20 bytes, CP949, zero-terminated
  static constexpr std::size_t kNameSize = 20;
  static constexpr std::size_t kReserved = 21;  // 6 bytes, carried unchanged

  std::uint8_t Number() const { return U8(kNumber); }
  void SetNumber(std::uint8_t number) { SetU8(kNumber, number); }
  std::span<const std::uint8_t> NameField() const { return Field(kName, kNameSize); }
  // Ends the name within the field: byte 20 becomes zero, so a name that
  // filled the field is cut to 19 bytes.
  void TerminateName() { SetU8(kName + kNameSize - 1, 0); }
};

}  // namespace linkora
