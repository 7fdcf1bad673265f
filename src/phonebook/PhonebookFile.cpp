#include "phonebook/PhonebookFile.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "common/FileIo.h"
#include "phonebook/Phonebook.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

// Reads the parts of a file in order, as far as they go.
class PartReader {
 public:
  virtual ~PartReader() = default;
  // Fills `out` completely, or gives false.
  virtual bool Read(std::span<std::uint8_t> out) = 0;
};

class SpanReader final : public PartReader {
 public:
  explicit SpanReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Read(std::span<std::uint8_t> out) override {
    if (bytes_.size() - position_ < out.size()) {
      return false;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), out.size(), out.begin());
    position_ += out.size();
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

class StreamReader final : public PartReader {
 public:
  explicit StreamReader(std::istream& in) : in_(in) {}
  bool Read(std::span<std::uint8_t> out) override {
    in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<std::size_t>(in_.gcount()) == out.size();
  }

 private:
  std::istream& in_;
};

bool HeaderMatches(std::span<const std::uint8_t, kPhonebookFileHeaderSize> header) {
  const auto end = std::find(header.begin(), header.end(), 0);
  const std::string_view text(reinterpret_cast<const char*>(header.data()),
                              static_cast<std::size_t>(end - header.begin()));
  return text == texts::kPhonebookFileHeader;
}

// Loads into a copy and hands it over only when every part arrived.
PhonebookFileLoad Decode(PartReader& reader, Phonebook& phonebook) {
  std::array<std::uint8_t, kPhonebookFileHeaderSize> header{};
  if (!reader.Read(header) || !HeaderMatches(header)) {
    return PhonebookFileLoad::BadFormat;
  }
  auto loaded = std::make_unique<Phonebook>(phonebook);
  for (DialGroup& group : loaded->Groups()) {
    if (!reader.Read(group.Bytes())) {
      return PhonebookFileLoad::BadFormat;
    }
  }
  SlotFlagList flags;
  if (!reader.Read(flags.Bytes())) {
    return PhonebookFileLoad::BadFormat;
  }
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (flags.IsUsed(slot) && !reader.Read(loaded->Entry(slot).Bytes())) {
      return PhonebookFileLoad::BadFormat;
    }
  }
  loaded->Flags() = flags;
  loaded->ClearUnusedRecords();
  phonebook = *loaded;
  return PhonebookFileLoad::Loaded;
}

}  // namespace

std::vector<std::uint8_t> EncodePhonebookFile(const Phonebook& phonebook) {
  const SlotFlagList& flags = phonebook.Flags();
  std::vector<std::uint8_t> bytes(kPhonebookFileEntriesOffset +
                                  PhonebookEntry::kSize *
                                      static_cast<std::size_t>(flags.UsedCount()));
  std::copy(texts::kPhonebookFileHeader.begin(), texts::kPhonebookFileHeader.end(), bytes.begin());
  const auto groups = phonebook.GroupTableBytes();
  std::copy(groups.begin(), groups.end(), bytes.begin() + kPhonebookFileGroupsOffset);
  std::copy(flags.Bytes().begin(), flags.Bytes().end(), bytes.begin() + kPhonebookFileFlagsOffset);
  auto out = bytes.begin() + kPhonebookFileEntriesOffset;
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (flags.IsUsed(slot)) {
      const auto record = phonebook.Entry(slot).Bytes();
      out = std::copy(record.begin(), record.end(), out);
    }
  }
  return bytes;
}

bool SavePhonebookFile(const std::filesystem::path& path, const Phonebook& phonebook,
                       std::string& error) {
  return WriteFileAtomically(path, EncodePhonebookFile(phonebook), error);
}

PhonebookFileLoad DecodePhonebookFile(std::span<const std::uint8_t> bytes, Phonebook& phonebook) {
  SpanReader reader(bytes);
  return Decode(reader, phonebook);
}

PhonebookFileLoad LoadPhonebookFile(const std::filesystem::path& path, Phonebook& phonebook) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return PhonebookFileLoad::CannotOpen;
  }
  StreamReader reader(in);
  return Decode(reader, phonebook);
}

}  // namespace linkora
