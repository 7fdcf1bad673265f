#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "phonebook/DialGroup.h"
#include "phonebook/PhonebookEntry.h"
#include "phonebook/SlotFlagList.h"

namespace linkora {

// The phonebook window's copy of the handset's phonebook: the flag block,
// one entry record per slot 0..499 and the 20 dial groups. Created empty:
// slots 1..499 unused, each record zero except its slot number.
class Phonebook {
 public:
  static constexpr std::size_t kGroupTableSize = DialGroup::kSize * kGroupCount;  // 540
  using GroupTable = std::array<DialGroup, kGroupCount>;

  Phonebook();

  SlotFlagList& Flags() { return flags_; }
  const SlotFlagList& Flags() const { return flags_; }

  // Record of slot 0..499.
  PhonebookEntry& Entry(int slot) { return entries_.at(static_cast<std::size_t>(slot)); }
  const PhonebookEntry& Entry(int slot) const {
    return entries_.at(static_cast<std::size_t>(slot));
  }

  GroupTable& Groups() { return groups_; }
  const GroupTable& Groups() const { return groups_; }

  // Stores an entry received from the handset: the numbers are cut at their
  // length bytes, then the record goes to the slot named in its first two
  // bytes. A slot number beyond 499 names no record: nothing is stored and
  // the result is false.
  bool StoreReceivedEntry(PhonebookEntry entry);

  // The group table as 540 bytes, group 0 first, and its replacement.
  std::array<std::uint8_t, kGroupTableSize> GroupTableBytes() const;
  void SetGroupTableBytes(std::span<const std::uint8_t, kGroupTableSize> bytes);

  // Zeroes a slot's record and sets its slot number; its flag is not changed.
  void ClearRecord(int slot);
  // Clears the record of every slot 1..499 whose flag is zero.
  void ClearUnusedRecords();

  bool operator==(const Phonebook&) const = default;

 private:
  SlotFlagList flags_;
  std::array<PhonebookEntry, kLastSlot + 1> entries_;
  GroupTable groups_;
};

// Texts of the group list: "지정안됨" for group 0, whatever its name holds,
// then the names of groups 1..19 (empty names included).
std::vector<std::string> GroupListTexts(const Phonebook::GroupTable& groups);

// Position in the phonebook's ringtone list ("설정안함", then the 30
// built-in names) of a ringtone code: code - 83 for codes from 83 on, else 0.
// A result above 30 stands for a ringtone downloaded into the handset.
int PhonebookRingtonePosition(std::uint16_t bellCode);
// The code of a list position: 83 + position, 0 for "설정안함".
std::uint16_t PhonebookBellCode(int position);
// True for a code from 114 on: a ringtone downloaded into the handset, which
// the PC can neither name nor choose.
bool IsDownloadedRingtone(std::uint16_t bellCode);
// Texts of the phonebook's ringtone list, positions 0..30.
std::vector<std::string> PhonebookRingtoneTexts();

}  // namespace linkora
