#include "schedule/ScheduleFile.h"

#include <fmt/printf.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <span>

#include "common/FileIo.h"
#include "resources/ScheduleTexts.h"

namespace linkora {
namespace {

// The longest prefix of a file the reader can look at: the header and two
// full sections.
constexpr std::size_t kMaxUsefulSize = kScheduleFileHeaderSize +
                                       ScheduleStore::kScheduleCapacity * ScheduleEntry::kSize +
                                       ScheduleStore::kDdayCapacity * DdayEntry::kSize;

template <typename Entry>
void AppendRecord(std::vector<std::uint8_t>& out, const Entry& entry) {
  const auto bytes = entry.Bytes();
  out.insert(out.end(), bytes.begin(), bytes.end());
}

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// Reads one section starting at `offset`. False when a record is cut short.
template <typename Entry, typename Append>
bool ReadSection(std::span<const std::uint8_t> bytes, std::size_t& offset, int capacity,
                 Append append) {
  if (offset == bytes.size()) {
    return true;  // the file ends where this section would begin: empty
  }
  for (int count = 0; count < capacity; ++count) {
    if (bytes.size() - offset < Entry::kSize) {
      return false;
    }
    Entry entry;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), Entry::kSize,
                entry.Bytes().begin());
    offset += Entry::kSize;
    if (count == 0 && AllZero(entry.Bytes())) {
      return true;  // the marker of an empty section
    }
    append(entry);
    if (entry.Next() == 0) {
      return true;
    }
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeScheduleFile(const ScheduleStore& store) {
  std::vector<std::uint8_t> out(kScheduleFileHeaderSize, 0);
  std::copy(texts::kScheduleFileMagic.begin(), texts::kScheduleFileMagic.end(), out.begin());
  if (store.ScheduleCount() == 0) {
    AppendRecord(out, ScheduleEntry{});
  }
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    AppendRecord(out, store.Schedule(i));
  }
  if (store.DdayCount() == 0) {
    AppendRecord(out, DdayEntry{});
  }
  for (int i = 0; i < store.DdayCount(); ++i) {
    AppendRecord(out, store.Dday(i));
  }
  return out;
}

ScheduleLoadResult DecodeScheduleFile(const std::vector<std::uint8_t>& bytes,
                                      ScheduleStore& store) {
  const ScheduleLoadResult wrongFormat{ScheduleFileStatus::WrongFormat,
                                       std::string(texts::kFileBadFormat)};
  if (bytes.size() < kScheduleFileHeaderSize) {
    return wrongFormat;
  }
  // The header is compared as a zero-terminated text.
  const auto header = std::span<const std::uint8_t>(bytes).first(kScheduleFileHeaderSize);
  const auto zero = std::find(header.begin(), header.end(), std::uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(header.data()),
                              static_cast<std::size_t>(zero - header.begin()));
  if (zero == header.end() || text != texts::kScheduleFileMagic) {
    return wrongFormat;
  }
  auto scratch = std::make_unique<ScheduleStore>();
  std::size_t offset = kScheduleFileHeaderSize;
  const std::span<const std::uint8_t> all(bytes);
  const bool atEnd = offset == all.size();
  if (!ReadSection<ScheduleEntry>(all, offset, ScheduleStore::kScheduleCapacity,
                                  [&](const ScheduleEntry& e) { scratch->AppendSchedule(e); })) {
    return wrongFormat;
  }
  if (!atEnd && !ReadSection<DdayEntry>(all, offset, ScheduleStore::kDdayCapacity,
                                        [&](const DdayEntry& e) { scratch->AppendDday(e); })) {
    return wrongFormat;
  }
  scratch->SortAndRelink();
  store = *scratch;
  return {ScheduleFileStatus::Loaded,
          fmt::sprintf(texts::kScheduleFileLoadedFormat, store.ScheduleCount(), store.DdayCount())};
}

ScheduleLoadResult LoadScheduleFile(const std::filesystem::path& path, ScheduleStore& store) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return {ScheduleFileStatus::NotOpened, {}};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {ScheduleFileStatus::NotOpened, {}};
  }
  std::vector<std::uint8_t> bytes(kMaxUsefulSize);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) {
    return {ScheduleFileStatus::NotOpened, {}};
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return DecodeScheduleFile(bytes, store);
}

ScheduleSaveResult SaveScheduleFile(const std::filesystem::path& path, const ScheduleStore& store) {
  const std::vector<std::uint8_t> bytes = EncodeScheduleFile(store);
  ScheduleSaveResult result;
  result.saved = WriteFileAtomically(path, bytes, result.detail);
  result.message =
      result.saved ? std::string(texts::kScheduleFileSaved) : std::string(texts::kFileWriteFailed);
  return result;
}

}  // namespace linkora
