#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/MediaHeader.h"

namespace linkora {

// The item data of a downloaded `.nmf` file as a file of its own kind (a
// ringtone as .mmf, a picture as .sis, ...), named after the item as a
// download names it. The way back is the upload, whose checks decide which
// plain files the handset takes.
class PlainMediaFile {
 public:
  // The header and the largest data a record header can state.
  static constexpr std::size_t kMaxNmfSize = MediaHeader::kSize + 0xFFFFF;

  // Reads a `.nmf` file. False, with errorString(), for a file that cannot be
  // read, is not a `.nmf` file, is cut short or holds data of no known kind.
  bool LoadNmf(const std::filesystem::path& path);
  // The same for bytes already read; `sourceName` names the file in messages
  // and names the plain file when the header holds no usable name.
  bool FromNmf(std::span<const std::uint8_t> bytes, const std::string& sourceName);
  // Writes the data, atomically.
  bool Save(const std::filesystem::path& path);

  // The item's name with the extension of its kind, e.g. "봄바람.mmf".
  const std::string& FileName() const { return fileName_; }
  std::string_view Extension() const { return extension_; }
  std::span<const std::uint8_t> Data() const { return data_; }
  const std::string& errorString() const { return error_; }

  // ".mmf", ".jpg", ...: by the data's own signature, else by the `.nmf`
  // format code; nothing when neither tells the kind.
  static std::optional<std::string_view> ExtensionOf(std::span<const std::uint8_t> data,
                                                     std::uint8_t formatCode);

 private:
  std::string fileName_;
  std::string_view extension_;
  std::vector<std::uint8_t> data_;
  std::string error_;
};

}  // namespace linkora
