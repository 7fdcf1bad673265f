#include "phonebook/PhonebookEntry.h"

#include <algorithm>

namespace linkora {

bool CopyTextWithTerminator(std::span<std::uint8_t> field, std::span<const std::uint8_t> text) {
  if (text.size() >= field.size() || std::find(text.begin(), text.end(), 0) != text.end()) {
    return false;
  }
  std::copy(text.begin(), text.end(), field.begin());
  field[text.size()] = 0;
  return true;
}

bool PhonebookEntry::SetNumber(NumberKind kind, std::span<const std::uint8_t> digits) {
  if (!CopyTextWithTerminator(Field(NumberOffset(kind), kNumberSize), digits)) {
    return false;
  }
  SetU8(NumberLengthOffset(kind), static_cast<std::uint8_t>(digits.size()));
  return true;
}

void PhonebookEntry::CutNumbersAtLengths() {
  for (int k = 0; k < kNumberKindCount; ++k) {
    const auto kind = static_cast<NumberKind>(k);
    const std::size_t cut = std::min<std::size_t>(NumberLength(kind), kNumberSize - 1);
    SetU8(NumberOffset(kind) + cut, 0);
  }
}

AvatarParts PhonebookEntry::AvatarPartValues() const {
  AvatarParts parts{};
  for (int part = 1; part <= kAvatarPartCount; ++part) {
    parts[static_cast<std::size_t>(part - 1)] = AvatarPart(part);
  }
  return parts;
}

void PhonebookEntry::SetAvatarPartValues(const AvatarParts& parts) {
  for (int part = 1; part <= kAvatarPartCount; ++part) {
    SetAvatarPart(part, parts[static_cast<std::size_t>(part - 1)]);
  }
}

}  // namespace linkora
