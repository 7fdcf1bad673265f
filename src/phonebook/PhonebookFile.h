#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace linkora {

class Phonebook;

// The phonebook file (.ndf): a 64-byte header holding the file's name text
// and a zero, the 540-byte group table, the 500-byte flag block, then the
// 222-byte record of each used slot 1..499 in ascending order. Nothing else,
// so a loaded file can be written to the handset as it is.
inline constexpr std::size_t kPhonebookFileHeaderSize = 64;
inline constexpr std::size_t kPhonebookFileGroupsOffset = 64;
inline constexpr std::size_t kPhonebookFileFlagsOffset = 604;
inline constexpr std::size_t kPhonebookFileEntriesOffset = 1104;

// The file's bytes for a phonebook.
std::vector<std::uint8_t> EncodePhonebookFile(const Phonebook& phonebook);

// Saves the phonebook through a temporary file and a rename, so a failed
// save leaves an earlier file whole. On failure gives false and the cause.
bool SavePhonebookFile(const std::filesystem::path& path, const Phonebook& phonebook,
                       std::string& error);

enum class PhonebookFileLoad {
  Loaded,      // the phonebook now holds the file's groups, flags and entries
  CannotOpen,  // nothing changed; no message is shown
  BadFormat,   // nothing changed; "파일 형식이 잘못되었습니다."
};

// Takes over a file's bytes: groups, flag block (slot 0's byte included) and
// the records of the used slots, placed by their order in the file; the
// records of unused slots are cleared. A wrong header or a file shorter than
// its flag block announces leaves `phonebook` as it was. Bytes after the last
// record are ignored.
PhonebookFileLoad DecodePhonebookFile(std::span<const std::uint8_t> bytes, Phonebook& phonebook);

// Loads a phonebook file (as DecodePhonebookFile), reading no further than
// the last record the flag block announces.
PhonebookFileLoad LoadPhonebookFile(const std::filesystem::path& path, Phonebook& phonebook);

}  // namespace linkora
