#include "phonebook/VcardWriter.h"

#include <algorithm>
#include <array>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "common/Hex.h"
#include "phonebook/Phonebook.h"
#include "phonebook/VcardProperties.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

constexpr std::size_t kMaxLineOctets = 75;

bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// True when the bytes decode to a text that encodes back to the same bytes,
// so the card's text alone gives them back.
bool TextComesBack(std::span<const std::uint8_t> bytes) {
  const auto again = cp949::FromUtf8(cp949::ToUtf8(bytes));
  return again && std::equal(again->begin(), again->end(), bytes.begin(), bytes.end());
}

bool AllDigits(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](std::uint8_t b) { return b >= '0' && b <= '9'; });
}

std::string Line(std::string_view name, std::string_view value) {
  std::string line(name);
  line += ':';
  line += value;
  return FoldVcardLine(line);
}

std::string Card(const Phonebook& book, int slot, bool first) {
  const PhonebookEntry& entry = book.Entry(slot);
  const std::uint8_t flags = book.Flags().Flags(slot);
  const std::string name = cp949::ToUtf8(entry.Name());

  // The record VcardReader builds from this card's properties alone; when the
  // real one differs, the card carries the real one's bytes too.
  PhonebookEntry rebuilt;
  rebuilt.SetSlot(static_cast<std::uint16_t>(slot));
  rebuilt.SetLockMark(entry.LockMark());
  rebuilt.SetGroup(entry.Group());
  bool textsComeBack = TextComesBack(entry.Name()) && rebuilt.SetName(entry.Name());
  std::uint8_t rebuiltFlags = 0;

  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
  card += Line("PRODID", vcard::kProductId);
  card += Line("FN", EscapeVcardText(name));
  card += Line("N", EscapeVcardText(name) + ";;;;");
  for (int k = 0; k < kNumberKindCount; ++k) {
    const auto kind = static_cast<NumberKind>(k);
    const auto number = entry.Number(kind);
    if ((flags & slotflags::ForNumber(kind)) == 0 || number.empty()) {
      continue;
    }
    card += Line(vcard::kTelProperties[static_cast<std::size_t>(k)], cp949::ToUtf8(number));
    textsComeBack = textsComeBack && AllDigits(number) && rebuilt.SetNumber(kind, number);
    rebuiltFlags |= slotflags::ForNumber(kind);
  }
  if ((flags & slotflags::kEmail) != 0 && !entry.Email().empty()) {
    card += Line("EMAIL;TYPE=INTERNET", EscapeVcardText(cp949::ToUtf8(entry.Email())));
    textsComeBack =
        textsComeBack && TextComesBack(entry.Email()) && rebuilt.SetEmail(entry.Email());
    rebuiltFlags |= slotflags::kEmail;
  }
  if (entry.Group() > 0 && entry.Group() < kGroupCount) {
    const auto groupName = TextOfField(book.Groups()[entry.Group()].NameField());
    if (!groupName.empty()) {
      card += Line("CATEGORIES", EscapeVcardText(cp949::ToUtf8(groupName)));
    }
  }

  card += Line(vcard::kSlot, std::to_string(slot));
  if (entry.Group() != 0) {
    card += Line(vcard::kGroup, std::to_string(entry.Group()));
    rebuiltFlags |= slotflags::kGroup;
  }
  if (entry.BellCode() != 0) {
    card += Line(vcard::kRingtone, std::to_string(entry.BellCode()));
    rebuilt.SetBellCode(entry.BellCode());
    rebuiltFlags |= slotflags::kRingtone;
  }
  if (entry.LockMark() != 0) {
    card += Line(vcard::kLock, std::to_string(entry.LockMark()));
  }
  if (entry.AvatarFlag() != 0) {
    card += Line(vcard::kAvatar, std::to_string(entry.AvatarFlag()));
    rebuilt.SetAvatarFlag(entry.AvatarFlag());
    rebuiltFlags |= slotflags::kAvatar;
  }
  const AvatarParts parts = entry.AvatarPartValues();
  if (std::any_of(parts.begin(), parts.end(), [](std::uint8_t p) { return p != 0; })) {
    std::string list;
    for (const std::uint8_t part : parts) {
      list += (list.empty() ? "" : " ") + std::to_string(part);
    }
    card += Line(vcard::kAvatarParts, list);
    rebuilt.SetAvatarPartValues(parts);
  }
  if (rebuiltFlags != flags) {
    card += Line(vcard::kFlags, std::to_string(flags));
  }
  if (!textsComeBack || rebuilt != entry) {
    card += Line(vcard::kRecordHex, ToHex(entry.Bytes()));
  }
  if (first) {
    card += Line(vcard::kBookGroupsHex, ToHex(book.GroupTableBytes()));
    if (book.Flags().Flags(0) != 0) {
      card += Line(vcard::kBookSlot0, std::to_string(book.Flags().Flags(0)));
    }
  }
  card += "END:VCARD\r\n";
  return card;
}

}  // namespace

std::string EscapeVcardText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\':
      case ',':
      case ';':
        out += '\\';
        out += c;
        break;
      case '\r':
        // CRLF is one line break.
        if (i + 1 < text.size() && text[i + 1] == '\n') {
          ++i;
        }
        out += "\\n";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FoldVcardLine(std::string_view line) {
  std::string out;
  std::size_t limit = kMaxLineOctets;
  while (line.size() > limit) {
    std::size_t cut = limit;
    while (cut > 0 && IsUtf8Continuation(line[cut])) {
      --cut;
    }
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    limit = kMaxLineOctets - 1;  // the leading space counts
  }
  out.append(line);
  out += "\r\n";
  return out;
}

std::string VcardWriter::Write(const Phonebook& book) {
  std::string text;
  written_ = 0;
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (book.Flags().IsUsed(slot)) {
      text += Card(book, slot, written_ == 0);
      ++written_;
    }
  }
  return text;
}

bool VcardWriter::Save(const std::filesystem::path& path, const Phonebook& book) {
  const std::string text = Write(book);
  error_.clear();
  if (!WriteFileAtomically(
          path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
          error_)) {
    error_ = std::string(texts::kFileWriteFailed) + "\n" + error_;
    return false;
  }
  return true;
}

}  // namespace linkora
