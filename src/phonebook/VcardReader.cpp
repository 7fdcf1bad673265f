#include "phonebook/VcardReader.h"

#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "common/Hex.h"
#include "phonebook/Phonebook.h"
#include "phonebook/VcardParser.h"
#include "phonebook/VcardProperties.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = ImportReport::Kind;

constexpr std::size_t kNameBytes = PhonebookEntry::kNameSize - 1;
constexpr std::size_t kEmailBytes = PhonebookEntry::kEmailSize - 1;
constexpr std::size_t kNumberDigits = PhonebookEntry::kNumberSize - 1;
constexpr std::size_t kGroupNameBytes = DialGroup::kNameSize - 1;

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string Trimmed(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && space(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && space(text.back())) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

std::span<const std::uint8_t> AsSpan(const Bytes& bytes) {
  return {bytes.data(), bytes.size()};
}

// A decimal value of at most `max`; nothing for anything else.
std::optional<int> ParseNumber(std::string_view text, int max) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int value = std::stoi(std::string(text));
  return value <= max ? std::optional<int>(value) : std::nullopt;
}

// Length of the UTF-8 character that begins with `lead` (1 for a stray byte).
std::size_t CharLength(unsigned char lead) {
  if (lead >= 0xF0) {
    return 4;
  }
  if (lead >= 0xE0) {
    return 3;
  }
  if (lead >= 0xC0) {
    return 2;
  }
  return 1;
}

// A text in CP949 within `maxBytes`: characters CP949 lacks are left out,
// and the text is cut after the last character that fits.
struct FittedText {
  Bytes bytes;
  std::string lost;  // the characters left out, UTF-8
  bool cut = false;
};

FittedText FitText(std::string_view utf8, std::size_t maxBytes) {
  FittedText fitted;
  if (auto whole = cp949::FromUtf8(utf8); whole && whole->size() <= maxBytes) {
    fitted.bytes = std::move(*whole);
    return fitted;
  }
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length =
        std::min(CharLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const std::string_view character = utf8.substr(i, length);
    i += length;
    const auto encoded = cp949::FromUtf8(character);
    if (!encoded || encoded->empty()) {
      fitted.lost += character;
      continue;
    }
    if (fitted.bytes.size() + encoded->size() > maxBytes) {
      fitted.cut = true;
      break;
    }
    fitted.bytes.insert(fitted.bytes.end(), encoded->begin(), encoded->end());
  }
  return fitted;
}

// A phone number as the handset keeps it: its digits. "+82" becomes the
// leading 0 of a Korean number; another country code is dialled with "00".
// The number ends at an extension or a pause.
struct DialNumber {
  std::string digits;
  bool cut = false;      // something after the number was left out
  bool foreign = false;  // an international number of another country
};

DialNumber ToDialNumber(std::string_view value) {
  DialNumber number;
  std::string text = Trimmed(value);
  if (Lower(text).starts_with("tel:")) {
    text = text.substr(4);
    // The URI's parameters: an extension (ext=102) cannot be dialled.
    if (const std::size_t semicolon = text.find(';'); semicolon != std::string::npos) {
      number.cut = std::any_of(text.begin() + static_cast<std::ptrdiff_t>(semicolon), text.end(),
                               [](char d) { return d >= '0' && d <= '9'; });
      text.resize(semicolon);
    }
  }
  bool plus = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      number.digits += c;
    } else if (c == '+' && number.digits.empty()) {
      plus = true;
    } else if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')' && c != '/') {
      number.cut =
          number.cut || std::any_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                                    [](char d) { return d >= '0' && d <= '9'; });
      break;
    }
  }
  if (plus && !number.digits.empty()) {
    if (number.digits.starts_with("82")) {
      // "+82 (0)10 ..." already carries the leading 0.
      const std::string rest = number.digits.substr(2);
      number.digits = rest.starts_with("0") ? rest : "0" + rest;
    } else {
      number.digits = "00" + number.digits;
      number.foreign = true;
    }
  }
  if (number.digits.size() > kNumberDigits) {
    number.digits.resize(kNumberDigits);
    number.cut = true;
  }
  return number;
}

std::string_view NumberLabel(NumberKind kind) {
  switch (kind) {
    case NumberKind::Mobile:
      return texts::kMobileLabel;
    case NumberKind::Home:
      return texts::kHomeLabel;
    case NumberKind::Office:
      return texts::kOfficeLabel;
    case NumberKind::Fax:
      return texts::kFaxLabel;
  }
  return texts::kMobileLabel;
}

bool Contains(const std::string& text, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(), [&text](std::string_view word) {
    return text.find(word) != std::string::npos;
  });
}

// The field a TEL names by its types, or by the label a grouped property
// gives it (item1.TEL with item1.X-ABLabel).
std::optional<NumberKind> KindOfTel(const VcardProperty& tel, const Vcard& card) {
  if (tel.HasType("FAX")) {
    return NumberKind::Fax;
  }
  if (tel.HasType("CELL") || tel.HasType("MOBILE") || tel.HasType("IPHONE")) {
    return NumberKind::Mobile;
  }
  if (tel.HasType("HOME")) {
    return NumberKind::Home;
  }
  if (tel.HasType("WORK")) {
    return NumberKind::Office;
  }
  if (tel.group.empty()) {
    return std::nullopt;
  }
  for (const VcardProperty& property : card.properties) {
    if (property.group != tel.group || property.name != "X-ABLABEL") {
      continue;
    }
    const std::string label = Lower(property.Text());
    if (Contains(label, {"fax", "팩스"})) {
      return NumberKind::Fax;
    }
    if (Contains(label, {"mobile", "cell", "iphone", "휴대", "핸드폰"})) {
      return NumberKind::Mobile;
    }
    if (Contains(label, {"home", "집"})) {
      return NumberKind::Home;
    }
    if (Contains(label, {"work", "회사", "직장", "사무실"})) {
      return NumberKind::Office;
    }
  }
  return std::nullopt;
}

bool IsPreferred(const VcardProperty& property) {
  return property.HasType("PREF") || !property.Param("PREF").empty();
}

// The card's properties of one name, preferred ones first.
std::vector<const VcardProperty*> PropertiesNamed(const Vcard& card, std::string_view name) {
  std::vector<const VcardProperty*> found;
  for (const VcardProperty& property : card.properties) {
    if (property.name == name) {
      found.push_back(&property);
    }
  }
  std::stable_partition(found.begin(), found.end(),
                        [](const VcardProperty* p) { return IsPreferred(*p); });
  return found;
}

const VcardProperty* FirstNamed(const Vcard& card, std::string_view name) {
  for (const VcardProperty& property : card.properties) {
    if (property.name == name) {
      return &property;
    }
  }
  return nullptr;
}

bool ContainsHangul(std::string_view text) {
  // Hangul syllables (U+AC00 to U+D7A3) begin with the UTF-8 bytes EA to ED.
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0xEA && b <= 0xED;
  });
}

// The contact's name: FN; else N (family name first for Korean names); else
// the organisation.
std::string NameOf(const Vcard& card) {
  if (const VcardProperty* fn = FirstNamed(card, "FN")) {
    if (std::string name = Trimmed(fn->Text()); !name.empty()) {
      return name;
    }
  }
  if (const VcardProperty* n = FirstNamed(card, "N")) {
    const std::vector<std::string> parts = n->Parts(';');
    const std::string family = Trimmed(parts[0]);
    const std::string given = parts.size() > 1 ? Trimmed(parts[1]) : "";
    if (!family.empty() || !given.empty()) {
      if (ContainsHangul(family + given)) {
        return family + given;
      }
      return Trimmed(given + " " + family);
    }
  }
  if (const VcardProperty* org = FirstNamed(card, "ORG")) {
    return Trimmed(org->Parts(';')[0]);
  }
  return {};
}

// Labels that contact services put on every contact rather than groups the
// user made.
bool IsServiceLabel(const std::string& category) {
  const std::string lower = Lower(category);
  return lower == "mycontacts" || lower == "starred";
}

struct Tel {
  std::string text;  // the value as the card gives it
  DialNumber number;
  std::optional<NumberKind> kind;
};

class Import {
 public:
  Import(Phonebook& book, ImportReport& report) : book_(book), report_(report) {}

  void Run(const std::vector<Vcard>& cards);

 private:
  void AddNote(Kind kind, std::string text) { notes_.push_back({kind, std::move(text)}); }
  void CardNotes(const std::string& item) {
    for (auto& [kind, text] : notes_) {
      report_.Add(kind, item, text);
    }
    notes_.clear();
  }
  void TakeBookProperties(const std::vector<Vcard>& cards);
  void ImportCard(const Vcard& card, int number, int carriedSlot);
  Bytes FitField(std::string_view label, const std::string& text, std::size_t maxBytes);
  std::optional<int> FreeSlot() const;
  // The group of the card: its index, and the name of a group to make there.
  struct GroupChoice {
    int index = 0;
    std::optional<Bytes> newName;
  };
  GroupChoice ChooseGroup(const Vcard& card);

  Phonebook& book_;
  ImportReport& report_;
  const Phonebook original_ = book_;
  std::array<bool, kLastSlot + 1> claimed_{};  // carried by a card of this file
  std::array<bool, kLastSlot + 1> filled_{};   // filled by this import
  std::array<bool, kGroupCount> groupInUse_{};
  std::vector<std::pair<Kind, std::string>> notes_;
};

Bytes Import::FitField(std::string_view label, const std::string& text, std::size_t maxBytes) {
  FittedText fitted = FitText(text, maxBytes);
  if (!fitted.lost.empty()) {
    AddNote(Kind::Lost, fmt::sprintf(std::string(texts::kVcardCharactersLost), label, fitted.lost));
  }
  if (fitted.cut) {
    AddNote(Kind::Cut, fmt::sprintf(std::string(texts::kVcardTextCut), label,
                                    cp949::ToUtf8(AsSpan(fitted.bytes))));
  }
  return std::move(fitted.bytes);
}

std::optional<int> Import::FreeSlot() const {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!book_.Flags().IsUsed(slot) && !claimed_[static_cast<std::size_t>(slot)]) {
      return slot;
    }
  }
  return std::nullopt;
}

void Import::TakeBookProperties(const std::vector<Vcard>& cards) {
  // Only into an empty phonebook: a phonebook in use keeps its groups.
  if (book_.Flags().UsedCount() != 0) {
    return;
  }
  for (const Vcard& card : cards) {
    const VcardProperty* groups = FirstNamed(card, vcard::kBookGroupsHex);
    Bytes bytes;
    if (groups == nullptr || !ParseHex(groups->value, bytes) ||
        bytes.size() != Phonebook::kGroupTableSize) {
      continue;
    }
    book_.SetGroupTableBytes(std::span<const std::uint8_t, Phonebook::kGroupTableSize>(
        bytes.data(), Phonebook::kGroupTableSize));
    if (const VcardProperty* slot0 = FirstNamed(card, vcard::kBookSlot0)) {
      book_.Flags().SetFlags(0,
                             static_cast<std::uint8_t>(ParseNumber(slot0->value, 255).value_or(0)));
    }
    return;
  }
}

Import::GroupChoice Import::ChooseGroup(const Vcard& card) {
  std::vector<std::string> categories;
  for (const VcardProperty* property : PropertiesNamed(card, "CATEGORIES")) {
    for (const std::string& part : property->Parts(',')) {
      if (std::string category = Trimmed(part); !category.empty() && !IsServiceLabel(category)) {
        categories.push_back(category);
      }
    }
  }
  const auto groupName = [this](int g) {
    return cp949::FieldToUtf8(book_.Groups()[static_cast<std::size_t>(g)].NameField());
  };
  // Our own index, while the group there still has the card's name.
  if (const VcardProperty* own = FirstNamed(card, vcard::kGroup)) {
    if (const auto index = ParseNumber(own->value, 255)) {
      const std::string name = categories.empty() ? std::string() : categories.front();
      if (*index == 0 || *index >= kGroupCount || name.empty() || groupName(*index) == name) {
        return {*index, std::nullopt};
      }
    }
  }
  if (categories.empty()) {
    return {};
  }
  // A group of the same name; else the first category, in a free group.
  std::vector<Bytes> fitted;
  for (const std::string& category : categories) {
    fitted.push_back(FitText(category, kGroupNameBytes).bytes);
    for (int g = 1; g < kGroupCount; ++g) {
      if (!fitted.back().empty() && groupName(g) == cp949::ToUtf8(AsSpan(fitted.back()))) {
        if (categories.size() > 1) {
          AddNote(Kind::Skipped, fmt::sprintf(std::string(texts::kVcardGroupsLeftOut), category));
        }
        return {g, std::nullopt};
      }
    }
  }
  if (categories.size() > 1) {
    AddNote(Kind::Skipped,
            fmt::sprintf(std::string(texts::kVcardGroupsLeftOut), categories.front()));
  }
  for (int g = 1; g < kGroupCount; ++g) {
    if (!groupInUse_[static_cast<std::size_t>(g)] && groupName(g).empty()) {
      return {g, FitField(texts::kVcardGroupNameLabel, categories.front(), kGroupNameBytes)};
    }
  }
  AddNote(Kind::Skipped, fmt::sprintf(std::string(texts::kVcardNoFreeGroup), categories.front()));
  return {};
}

void Import::ImportCard(const Vcard& card, int number, int carriedSlot) {
  const std::string name = NameOf(card);

  std::optional<PhonebookEntry> base;
  if (const VcardProperty* hex = FirstNamed(card, vcard::kRecordHex)) {
    Bytes bytes;
    if (ParseHex(hex->value, bytes) && bytes.size() == PhonebookEntry::kSize) {
      base.emplace();
      std::copy(bytes.begin(), bytes.end(), base->Bytes().begin());
    }
  }
  PhonebookEntry entry = base.value_or(PhonebookEntry{});
  // A text the card gives as the carried record reads keeps the record's bytes.
  const auto keepsBase = [&base](const std::string& text, std::span<const std::uint8_t> field) {
    return base && text == cp949::ToUtf8(field);
  };

  std::string item = name;
  if (!keepsBase(name, entry.Name())) {
    entry.SetName(AsSpan(FitField(texts::kNameLabel, name, kNameBytes)));
  }

  // Numbers: each to the field of its type, then the others to the fields
  // left free, in the order mobile, home, office, fax.
  std::vector<Tel> tels;
  for (const VcardProperty* property : PropertiesNamed(card, "TEL")) {
    Tel tel{Trimmed(property->Text()), ToDialNumber(property->Text()), KindOfTel(*property, card)};
    if (tel.number.digits.empty()) {
      if (!tel.text.empty()) {
        AddNote(Kind::Skipped,
                fmt::sprintf(std::string(texts::kVcardNumberWithoutDigits), tel.text));
      }
      continue;
    }
    tels.push_back(std::move(tel));
  }
  if (item.empty() && !tels.empty()) {
    item = tels.front().text;
  }
  std::array<const Tel*, kNumberKindCount> placed{};
  std::vector<const Tel*> rest;
  for (const Tel& tel : tels) {
    auto& field = placed[static_cast<std::size_t>(tel.kind.value_or(NumberKind::Mobile))];
    if (tel.kind && field == nullptr) {
      field = &tel;
    } else {
      rest.push_back(&tel);
    }
  }
  for (const Tel* tel : rest) {
    const auto free = std::find(placed.begin(), placed.end(), nullptr);
    if (free == placed.end()) {
      AddNote(Kind::Skipped, fmt::sprintf(std::string(texts::kVcardNumberLeftOut), tel->text));
      continue;
    }
    *free = tel;
    if (tel->kind) {
      AddNote(Kind::Changed,
              fmt::sprintf(std::string(texts::kVcardNumberMoved), NumberLabel(*tel->kind),
                           tel->text, NumberLabel(static_cast<NumberKind>(free - placed.begin()))));
    }
  }
  std::uint8_t flags = 0;
  for (int k = 0; k < kNumberKindCount; ++k) {
    const Tel* tel = placed[static_cast<std::size_t>(k)];
    if (tel == nullptr) {
      continue;
    }
    const auto kind = static_cast<NumberKind>(k);
    flags |= slotflags::ForNumber(kind);
    if (keepsBase(tel->text, entry.Number(kind))) {
      continue;
    }
    const std::string& digits = tel->number.digits;
    entry.SetNumber(kind,
                    std::span(reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()));
    if (tel->number.foreign) {
      AddNote(Kind::Changed,
              fmt::sprintf(std::string(texts::kVcardForeignNumber), tel->text, digits));
    }
    if (tel->number.cut) {
      AddNote(Kind::Cut, fmt::sprintf(std::string(texts::kVcardNumberCut), NumberLabel(kind),
                                      tel->text, digits));
    }
  }

  const std::vector<const VcardProperty*> emails = PropertiesNamed(card, "EMAIL");
  bool emailTaken = false;
  for (const VcardProperty* email : emails) {
    const std::string text = Trimmed(email->Text());
    if (text.empty()) {
      continue;
    }
    if (emailTaken) {
      AddNote(Kind::Skipped, fmt::sprintf(std::string(texts::kVcardEmailLeftOut), text));
      continue;
    }
    emailTaken = true;
    flags |= slotflags::kEmail;
    if (!keepsBase(text, entry.Email())) {
      entry.SetEmail(AsSpan(FitField(texts::kEmailLabel, text, kEmailBytes)));
    }
  }

  if (item.empty()) {
    item = fmt::sprintf(std::string(texts::kVcardCardItem), number);
  }
  if (name.empty() && tels.empty()) {
    notes_.clear();
    report_.Add(Kind::Skipped, item, texts::kVcardNothingUsable);
    return;
  }

  const auto own = [&card](std::string_view property, int max) -> int {
    const VcardProperty* found = FirstNamed(card, property);
    return found != nullptr ? ParseNumber(found->value, max).value_or(0) : 0;
  };
  entry.SetLockMark(static_cast<std::uint8_t>(own(vcard::kLock, 255)));
  entry.SetBellCode(static_cast<std::uint16_t>(own(vcard::kRingtone, 65535)));
  entry.SetAvatarFlag(static_cast<std::uint8_t>(own(vcard::kAvatar, 255)));
  if (const VcardProperty* parts = FirstNamed(card, vcard::kAvatarParts)) {
    AvatarParts values{};
    std::string list = parts->value;
    std::replace(list.begin(), list.end(), ',', ' ');
    std::istringstream words(list);
    std::string word;
    for (std::size_t p = 0; p < values.size() && words >> word; ++p) {
      values[p] = static_cast<std::uint8_t>(ParseNumber(word, 255).value_or(0));
    }
    entry.SetAvatarPartValues(values);
  }
  flags |= entry.BellCode() != 0 ? slotflags::kRingtone : 0;
  flags |= entry.AvatarFlag() != 0 ? slotflags::kAvatar : 0;

  GroupChoice group = ChooseGroup(card);
  flags |= group.index != 0 ? slotflags::kGroup : 0;
  if (const VcardProperty* carried = FirstNamed(card, vcard::kFlags)) {
    flags = static_cast<std::uint8_t>(ParseNumber(carried->value, 255).value_or(flags));
  }
  if (flags == 0) {
    notes_.clear();
    report_.Add(Kind::Skipped, item, texts::kVcardNameOnly);
    return;
  }

  int slot = carriedSlot;
  if (slot == 0) {
    const std::optional<int> free = FreeSlot();
    if (!free) {
      notes_.clear();
      report_.Add(Kind::Skipped, item, texts::kVcardNoFreeSlot);
      return;
    }
    slot = *free;
  }
  const auto slotIndex = static_cast<std::size_t>(slot);
  if (const int requested = own(vcard::kSlot, kLastSlot); requested != 0 && requested != slot) {
    AddNote(Kind::Changed, fmt::sprintf(std::string(texts::kVcardSlotTaken), requested, slot));
  }
  if (group.newName) {
    DialGroup& made = book_.Groups()[static_cast<std::size_t>(group.index)];
    made.SetNumber(static_cast<std::uint8_t>(group.index));
    CopyTextWithTerminator(made.Bytes().subspan(DialGroup::kName, DialGroup::kNameSize),
                           AsSpan(*group.newName));
  }
  if (group.index < kGroupCount) {
    groupInUse_[static_cast<std::size_t>(group.index)] = true;
  }
  entry.SetGroup(static_cast<std::uint8_t>(group.index));
  // The carried record keeps its slot field (it may differ from its place).
  if (!base || slot != own(vcard::kSlot, kLastSlot)) {
    entry.SetSlot(static_cast<std::uint16_t>(slot));
  }
  if (original_.Flags().IsUsed(slot) && !filled_[slotIndex] &&
      (original_.Entry(slot) != entry || original_.Flags().Flags(slot) != flags)) {
    AddNote(Kind::Changed, fmt::sprintf(std::string(texts::kVcardSlotReplaced), slot));
  }
  book_.Entry(slot) = entry;
  book_.Flags().SetFlags(slot, flags);
  filled_[slotIndex] = true;
  claimed_[slotIndex] = true;
  report_.CountImported();
  CardNotes(item);
}

void Import::Run(const std::vector<Vcard>& cards) {
  TakeBookProperties(cards);
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (book_.Flags().IsUsed(slot)) {
      const int group = book_.Entry(slot).Group();
      if (group < kGroupCount) {
        groupInUse_[static_cast<std::size_t>(group)] = true;
      }
    }
  }
  // Slots the file carries are kept for their cards; a slot named twice goes
  // to the first card that names it.
  std::vector<int> carried(cards.size(), 0);
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const VcardProperty* slot = FirstNamed(cards[i], vcard::kSlot);
    const std::optional<int> value =
        slot != nullptr ? ParseNumber(slot->value, kLastSlot) : std::nullopt;
    if (value && *value >= kFirstSlot && !claimed_[static_cast<std::size_t>(*value)]) {
      claimed_[static_cast<std::size_t>(*value)] = true;
      carried[i] = *value;
    }
  }
  for (std::size_t i = 0; i < cards.size(); ++i) {
    ImportCard(cards[i], static_cast<int>(i) + 1, carried[i]);
  }
}

}  // namespace

bool VcardReader::Read(std::span<const std::uint8_t> bytes, Phonebook& book) {
  report_ = ImportReport();
  error_.clear();
  VcardParser parser;
  if (!parser.Parse(bytes)) {
    error_ = parser.errorString();
    return false;
  }
  auto copy = std::make_unique<Phonebook>(book);
  Import(*copy, report_).Run(parser.Cards());
  book = *copy;
  return true;
}

bool VcardReader::Load(const std::filesystem::path& path, Phonebook& book) {
  report_ = ImportReport();
  std::error_code sizeError;
  if (std::filesystem::file_size(path, sizeError) > VcardParser::kMaxFileSize && !sizeError) {
    error_ = std::string(texts::kVcardTooLarge);
    return false;
  }
  Bytes bytes;
  std::string cause;
  if (!ReadWholeFile(path, VcardParser::kMaxFileSize, bytes, cause)) {
    error_ = std::string(texts::kVcardCannotRead) + "\n" + cause;
    return false;
  }
  return Read(bytes, book);
}

}  // namespace linkora
