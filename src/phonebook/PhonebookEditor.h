#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "phonebook/Phonebook.h"

namespace linkora {

// The text fields of the phonebook window's entry editor.
enum class EditorField : int { Name = 0, Mobile, Home, Office, Fax, Email };
inline constexpr int kEditorFieldCount = 6;

// One column of the phonebook window's slot list.
struct PhonebookColumn {
  std::string_view title;
  int width;  // pixels
};

// What the phonebook window does to its phonebook, without the window: the
// rows of the slot list, opening an entry, the editor's values with their
// limits, apply, delete, the avatar choice and which controls are enabled.
// The window shows the values, passes the user's changes in, asks the
// questions and shows the messages this class gives back.
class PhonebookEditor {
 public:
  static constexpr int kRowCount = kLastSlot;  // row r shows slot r + 1
  static constexpr int kColumnCount = 7;

  explicit PhonebookEditor(Phonebook& phonebook);

  // ---- Slot list ----
  static const std::array<PhonebookColumn, kColumnCount>& Columns();
  static constexpr int SlotOfRow(int row) { return row + 1; }
  static constexpr int RowOfSlot(int slot) { return slot - 1; }
  // Texts of a row: "%03d" of the slot, the name, the four numbers and the
  // e-mail address; a number or the address only when its flag bit is set.
  std::array<std::string, kColumnCount> RowTexts(int slot) const;
  // The slot drop-down: "N/A", then "001" to "499".
  static std::vector<std::string> SlotListTexts();
  // Position in the slot drop-down: the open slot, 0 ("N/A") when none is open.
  int SlotListIndex() const { return openSlot_ > 0 ? openSlot_ : 0; }

  // ---- Opening ----
  bool IsSlotUsed(int slot) const;
  // Opens a used slot into the editor. Gives the downloaded-ringtone message
  // when the entry's ringtone cannot be shown (the ringtone then shows as
  // "설정안함" and is applied as none).
  std::optional<std::string_view> OpenEntry(int slot);
  // Starts a new entry in an empty slot, after the user agreed to add one:
  // empty texts, no ringtone, no group, no lock, no avatar.
  void StartNewEntry(int slot);
  int OpenSlot() const { return openSlot_; }

  // ---- Editor values ----
  // Byte limit of a field in CP949: the record field's width less one.
  static std::size_t MaxBytes(EditorField field);
  // Whether the field may hold the text: it must fit the field in CP949 bytes,
  // CP949 must be able to hold every character, and numbers are digits only.
  static bool Accepts(EditorField field, std::string_view utf8);
  const std::string& Text(EditorField field) const {
    return texts_[static_cast<std::size_t>(field)];
  }
  // Takes a text the user typed; false (and no change) when not accepted. The
  // same text as shown keeps the field's bytes as they came from the record.
  bool SetText(EditorField field, std::string_view utf8);

  int RingtonePosition() const { return ringtonePosition_; }  // 0..30, -1 before any entry
  void SetRingtonePosition(int position) { ringtonePosition_ = position; }
  int GroupPosition() const { return groupPosition_; }  // 0..19, -1 before any entry
  void SetGroupPosition(int position) { groupPosition_ = position; }
  bool LockMark() const { return lockMark_; }
  void SetLockMark(bool mark) { lockMark_ = mark; }
  bool AvatarUse() const { return avatarUse_; }
  // Parts 1..7 as the preview draws them.
  const AvatarParts& AvatarPartValues() const { return avatarParts_; }

  // ---- Actions ----
  // Applies the editor to the open entry. Gives nothing when applied, or the
  // message to show when refused (the store is then unchanged).
  std::optional<std::string_view> Apply();
  // Deletes the open entry (after the user agreed): record and flag zeroed.
  void Delete();
  // The avatar box was clicked: takes its state, reloads the part values from
  // the record. Gives whether "편집" is enabled.
  bool SetAvatarUse(bool ticked);
  // Part values 1..7 of the open entry's record, for the avatar picker.
  AvatarParts AvatarPartsForPicker();
  // The picker's choice: written into the record at once, without apply and
  // without changing the flags.
  void TakePickedAvatar(const AvatarParts& parts);
  // After a successful handset read or file load.
  void AfterRead();
  void AfterLoad();

  // ---- Control states ----
  bool EditorEnabled() const { return editorEnabled_; }
  bool AvatarEditEnabled() const { return editorEnabled_ && avatarUse_; }
  bool TransfersEnabled() const { return transfersEnabled_; }

 private:
  void ClearValues();
  void SetFieldBytes(EditorField field, std::span<const std::uint8_t> bytes);

  Phonebook& phonebook_;
  int openSlot_ = -1;
  std::array<std::string, kEditorFieldCount> texts_;
  std::array<std::vector<std::uint8_t>, kEditorFieldCount> bytes_;
  int ringtonePosition_ = -1;
  int groupPosition_ = -1;
  bool lockMark_ = false;
  bool avatarUse_ = false;
  AvatarParts avatarParts_ = {1, 1, 1, 1, 1, 1, 1};
  bool editorEnabled_ = false;
  bool transfersEnabled_ = false;
};

}  // namespace linkora
