#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "schedule/ScheduleStore.h"

namespace linkora {

// The schedule file (.nsf): a 64-byte header holding the magic text and its
// zero, then the schedule records and the D-day records in store order. Each
// section ends at the record whose next is 0 (or at 70 and 27 records). An
// empty section is written as one all-zero record and recognised by it; a
// file that ends where a section would begin has that section, and every one
// after it, empty. See docs/schedule-file.md.
inline constexpr std::size_t kScheduleFileHeaderSize = 64;

// The bytes of the file for a store.
std::vector<std::uint8_t> EncodeScheduleFile(const ScheduleStore& store);

enum class ScheduleFileStatus {
  Loaded,       // the store was replaced, sorted and relinked
  NotOpened,    // the file could not be read; passed over in silence
  WrongFormat,  // wrong header or a section cut short; the store is unchanged
};

struct ScheduleLoadResult {
  ScheduleFileStatus status = ScheduleFileStatus::NotOpened;
  std::string message;  // the text to show; empty for NotOpened
};

// Reads the records of file bytes into `store`, replacing what it held, then
// sorts and relinks it. A wrong header or a short section leaves `store`
// untouched and gives WrongFormat.
ScheduleLoadResult DecodeScheduleFile(const std::vector<std::uint8_t>& bytes, ScheduleStore& store);

// Loads a schedule file into the store (as above; a file that cannot be read
// gives NotOpened and changes nothing). Bytes after the last D-day record are
// never looked at.
ScheduleLoadResult LoadScheduleFile(const std::filesystem::path& path, ScheduleStore& store);

struct ScheduleSaveResult {
  bool saved = false;
  std::string message;  // the text to show
  std::string detail;   // for a failed save: the file and the cause
};

// Writes the store to a schedule file through a temporary file and a rename,
// so a failed save leaves the old file whole and is reported.
ScheduleSaveResult SaveScheduleFile(const std::filesystem::path& path, const ScheduleStore& store);

}  // namespace linkora
