#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace linkora {

// Writes the whole file through a temporary file in the same folder and a
// rename, so a failed write leaves the old file whole. On failure gives
// false and a message naming the file and the cause. The temporary file is
// "NAME.linkora-tmp-PID-XXXXXX"; ones left by a writer that was killed are
// removed by the next write into the folder. Without `flush` the file is
// not forced to the disk: still whole for a process killed at any moment,
// but not across a power cut (the emulator saves this way after each write).
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string& error, bool flush = true);

// Removes the temporary files of WriteFileAtomically in `dir` whose writing
// process no longer runs.
void RemoveStaleTemporaryFiles(const std::filesystem::path& dir);

// Reads a whole file of at most maxSize bytes. A larger file, or one that
// cannot be read, gives false and a message.
bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxSize,
                   std::vector<std::uint8_t>& bytes, std::string& error);

// `name` in `dir`, or, when a file of that name exists, "stem-2.ext",
// "stem-3.ext", ...: the first name that no file has yet.
std::filesystem::path UnusedPath(const std::filesystem::path& dir, const std::string& name);

}  // namespace linkora
