#include "phonebook/Phonebook.h"

#include <algorithm>

#include "common/Cp949.h"
#include "resources/PhonebookTexts.h"
#include "schedule/Ringtones.h"

namespace linkora {
namespace {

// Code 83 + p names position p of the phonebook's list, whose position 0 is
// "설정안함"; the built-in names begin at code 84.
constexpr int kBellCodeBase = kFirstRingtoneCode - 1;

}  // namespace

Phonebook::Phonebook() {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    ClearRecord(slot);
  }
}

bool Phonebook::StoreReceivedEntry(PhonebookEntry entry) {
  entry.CutNumbersAtLengths();
  const int slot = entry.Slot();
  if (slot > kLastSlot) {
    return false;
  }
  Entry(slot) = entry;
  return true;
}

std::array<std::uint8_t, Phonebook::kGroupTableSize> Phonebook::GroupTableBytes() const {
  std::array<std::uint8_t, kGroupTableSize> bytes{};
  auto out = bytes.begin();
  for (const DialGroup& group : groups_) {
    out = std::copy(group.Bytes().begin(), group.Bytes().end(), out);
  }
  return bytes;
}

void Phonebook::SetGroupTableBytes(std::span<const std::uint8_t, kGroupTableSize> bytes) {
  auto in = bytes.begin();
  for (DialGroup& group : groups_) {
    std::copy_n(in, DialGroup::kSize, group.Bytes().begin());
    in += DialGroup::kSize;
  }
}

void Phonebook::ClearRecord(int slot) {
  PhonebookEntry& entry = Entry(slot);
  entry.Clear();
  entry.SetSlot(static_cast<std::uint16_t>(slot));
}

void Phonebook::ClearUnusedRecords() {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!flags_.IsUsed(slot)) {
      ClearRecord(slot);
    }
  }
}

std::vector<std::string> GroupListTexts(const Phonebook::GroupTable& groups) {
  std::vector<std::string> out;
  out.emplace_back(texts::kNoGroup);
  for (std::size_t g = 1; g < groups.size(); ++g) {
    out.push_back(cp949::FieldToUtf8(groups[g].NameField()));
  }
  return out;
}

int PhonebookRingtonePosition(std::uint16_t bellCode) {
  return bellCode >= kBellCodeBase ? bellCode - kBellCodeBase : 0;
}

std::uint16_t PhonebookBellCode(int position) {
  return position > 0 ? static_cast<std::uint16_t>(kBellCodeBase + position) : 0;
}

bool IsDownloadedRingtone(std::uint16_t bellCode) {
  return bellCode > kLastRingtoneCode;
}

std::vector<std::string> PhonebookRingtoneTexts() {
  std::vector<std::string> out;
  out.emplace_back(texts::kNoRingtone);
  for (const std::string_view name : RingtoneNames) {
    out.emplace_back(name);
  }
  return out;
}

}  // namespace linkora
