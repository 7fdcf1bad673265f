#include "phonebook/PhonebookEditor.h"

#include <fmt/printf.h>

#include <algorithm>

#include "common/Cp949.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

constexpr std::array<NumberKind, kNumberKindCount> kNumberKinds = {
    NumberKind::Mobile, NumberKind::Home, NumberKind::Office, NumberKind::Fax};

std::size_t Index(EditorField field) {
  return static_cast<std::size_t>(field);
}

bool IsNumberField(EditorField field) {
  return field >= EditorField::Mobile && field <= EditorField::Fax;
}

EditorField FieldOf(NumberKind kind) {
  return static_cast<EditorField>(static_cast<int>(kind) + static_cast<int>(EditorField::Mobile));
}

std::string SlotText(int slot) {
  return fmt::sprintf(std::string(texts::kSlotFormat), slot);
}

// The entry opened with a ringtone the list cannot show takes none.
constexpr int kLastRingtonePosition = 30;

}  // namespace

PhonebookEditor::PhonebookEditor(Phonebook& phonebook) : phonebook_(phonebook) {}

const std::array<PhonebookColumn, PhonebookEditor::kColumnCount>& PhonebookEditor::Columns() {
  static const std::array<PhonebookColumn, kColumnCount> columns = {{
      {texts::kSlotLabel, 40},
      {texts::kNameLabel, 60},
      {texts::kMobileLabel, 90},
      {texts::kHomeLabel, 80},
      {texts::kOfficeLabel, 80},
      {texts::kFaxLabel, 80},
      {texts::kEmailLabel, 100},
  }};
  return columns;
}

std::array<std::string, PhonebookEditor::kColumnCount> PhonebookEditor::RowTexts(int slot) const {
  const PhonebookEntry& entry = phonebook_.Entry(slot);
  const std::uint8_t flags = phonebook_.Flags().Flags(slot);
  std::array<std::string, kColumnCount> row;
  row[0] = SlotText(slot);
  row[1] = cp949::ToUtf8(entry.Name());
  for (std::size_t k = 0; k < kNumberKinds.size(); ++k) {
    if ((flags & slotflags::ForNumber(kNumberKinds[k])) != 0) {
      row[2 + k] = cp949::ToUtf8(entry.Number(kNumberKinds[k]));
    }
  }
  if ((flags & slotflags::kEmail) != 0) {
    row[6] = cp949::ToUtf8(entry.Email());
  }
  return row;
}

std::vector<std::string> PhonebookEditor::SlotListTexts() {
  std::vector<std::string> out;
  out.emplace_back(texts::kNoSlot);
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    out.push_back(SlotText(slot));
  }
  return out;
}

bool PhonebookEditor::IsSlotUsed(int slot) const {
  return slot >= kFirstSlot && slot <= kLastSlot && phonebook_.Flags().IsUsed(slot);
}

std::optional<std::string_view> PhonebookEditor::OpenEntry(int slot) {
  const PhonebookEntry& entry = phonebook_.Entry(slot);
  const std::uint8_t flags = phonebook_.Flags().Flags(slot);
  openSlot_ = slot;
  ClearValues();
  SetFieldBytes(EditorField::Name, entry.Name());
  for (const NumberKind kind : kNumberKinds) {
    if ((flags & slotflags::ForNumber(kind)) != 0) {
      SetFieldBytes(FieldOf(kind), entry.Number(kind));
    }
  }
  if ((flags & slotflags::kEmail) != 0) {
    SetFieldBytes(EditorField::Email, entry.Email());
  }

  std::optional<std::string_view> message;
  ringtonePosition_ = PhonebookRingtonePosition(entry.BellCode());
  if (ringtonePosition_ > kLastRingtonePosition) {
    message = texts::kDownloadedRingtone;
    ringtonePosition_ = 0;
  }
  groupPosition_ = entry.Group();
  lockMark_ = entry.LockMark() != 0;
  avatarUse_ = (flags & slotflags::kAvatar) != 0;
  if (avatarUse_) {
    avatarParts_ = entry.AvatarPartValues();
  }
  editorEnabled_ = true;
  return message;
}

void PhonebookEditor::StartNewEntry(int slot) {
  openSlot_ = slot;
  ClearValues();
  ringtonePosition_ = 0;
  groupPosition_ = 0;
  avatarUse_ = false;
  lockMark_ = false;
  phonebook_.Entry(slot).SetAvatarPart(3, 1);
  editorEnabled_ = true;
}

std::size_t PhonebookEditor::MaxBytes(EditorField field) {
  switch (field) {
    case EditorField::Name:
      return PhonebookEntry::kNameSize - 1;
    case EditorField::Email:
      return PhonebookEntry::kEmailSize - 1;
    default:
      return PhonebookEntry::kNumberSize - 1;
  }
}

bool PhonebookEditor::Accepts(EditorField field, std::string_view utf8) {
  if (IsNumberField(field) &&
      !std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  if (utf8.find('\0') != std::string_view::npos) {
    return false;
  }
  const std::optional<std::size_t> length = cp949::EncodedLength(utf8);
  return length && *length <= MaxBytes(field);
}

bool PhonebookEditor::SetText(EditorField field, std::string_view utf8) {
  if (utf8 == Text(field)) {
    return true;  // unchanged: the bytes stay as they came
  }
  if (!Accepts(field, utf8)) {
    return false;
  }
  const auto encoded = cp949::FromUtf8(utf8);
  if (!encoded) {
    return false;
  }
  bytes_[Index(field)] = *encoded;
  texts_[Index(field)] = std::string(utf8);
  return true;
}

std::optional<std::string_view> PhonebookEditor::Apply() {
  if (openSlot_ < kFirstSlot) {
    return texts::kNoSlotChosen;
  }
  const auto& name = bytes_[Index(EditorField::Name)];
  if (name.empty()) {
    return texts::kNameMissing;
  }
  std::uint8_t flags = 0;
  for (const NumberKind kind : kNumberKinds) {
    if (!bytes_[Index(FieldOf(kind))].empty()) {
      flags |= slotflags::ForNumber(kind);
    }
  }
  if (!bytes_[Index(EditorField::Email)].empty()) {
    flags |= slotflags::kEmail;
  }
  if (avatarUse_) {
    flags |= slotflags::kAvatar;
  }
  if (ringtonePosition_ > 0) {
    flags |= slotflags::kRingtone;
  }
  if (groupPosition_ > 0) {
    flags |= slotflags::kGroup;
  }
  if (flags == 0) {
    return texts::kNoInformation;  // a name alone is not an entry
  }

  // Build on a copy so that nothing changes unless every field fits.
  PhonebookEntry entry = phonebook_.Entry(openSlot_);
  bool fits = entry.SetName(name) && entry.SetEmail(bytes_[Index(EditorField::Email)]);
  for (const NumberKind kind : kNumberKinds) {
    fits = fits && entry.SetNumber(kind, bytes_[Index(FieldOf(kind))]);
  }
  if (!fits) {
    // Unreachable through SetText, which keeps every field within its limit.
    return texts::kNoInformation;
  }
  entry.SetLockMark(lockMark_ ? 1 : 0);
  entry.SetGroup(static_cast<std::uint8_t>(std::max(groupPosition_, 0)));
  entry.SetBellCode(PhonebookBellCode(ringtonePosition_));
  if (avatarUse_) {
    entry.SetAvatarFlag(1);
    entry.SetAvatarPartValues(avatarParts_);
  } else {
    entry.SetAvatarFlag(0);
  }
  phonebook_.Flags().SetFlags(openSlot_, flags);
  phonebook_.Entry(openSlot_) = entry;
  editorEnabled_ = false;
  return std::nullopt;
}

void PhonebookEditor::Delete() {
  if (openSlot_ < kFirstSlot) {
    return;
  }
  phonebook_.Entry(openSlot_).Clear();
  phonebook_.Flags().SetFlags(openSlot_, 0);
  ClearValues();
  groupPosition_ = 0;
  ringtonePosition_ = 0;
  lockMark_ = false;
  avatarUse_ = false;
  editorEnabled_ = false;
}

bool PhonebookEditor::SetAvatarUse(bool ticked) {
  if (openSlot_ < kFirstSlot) {
    return false;
  }
  avatarUse_ = ticked;
  avatarParts_ = phonebook_.Entry(openSlot_).AvatarPartValues();
  return AvatarEditEnabled();
}

AvatarParts PhonebookEditor::AvatarPartsForPicker() {
  if (openSlot_ >= kFirstSlot) {
    avatarParts_ = phonebook_.Entry(openSlot_).AvatarPartValues();
  }
  return avatarParts_;
}

void PhonebookEditor::TakePickedAvatar(const AvatarParts& parts) {
  avatarParts_ = parts;
  if (openSlot_ >= kFirstSlot) {
    phonebook_.Entry(openSlot_).SetAvatarPartValues(parts);
  }
}

void PhonebookEditor::AfterRead() {
  editorEnabled_ = false;
  transfersEnabled_ = true;
}

void PhonebookEditor::AfterLoad() {
  transfersEnabled_ = true;
}

void PhonebookEditor::ClearValues() {
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    texts_[i].clear();
    bytes_[i].clear();
  }
}

void PhonebookEditor::SetFieldBytes(EditorField field, std::span<const std::uint8_t> bytes) {
  // A text that fills its whole field (no terminator, from the handset or a
  // file) is shown, and applied, as the edit control can hold it.
  bytes = bytes.first(std::min(bytes.size(), MaxBytes(field)));
  bytes_[Index(field)].assign(bytes.begin(), bytes.end());
  texts_[Index(field)] = cp949::ToUtf8(bytes);
}

}  // namespace linkora
