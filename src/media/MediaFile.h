#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "media/MediaHeader.h"

namespace linkora {

// Largest PC file that may go to the handset.
inline constexpr std::size_t kMaxUploadFileSize = 60000;

// What the checks recognised in a PC file.
enum class MediaClass {
  SmafSound,
  SafPicture,
  Jpeg,
  Kind8,
  Sound27,  // a `.nmf` sound of format code 8
};

// One PC file on its way to the handset: classified, with the type word,
// subtype and record header the handset stores with it.
class MediaFile {
 public:
  // Classifies the bytes of a PC file (at most 60,000) for the model of
  // `modelIndex` (0 small, 1 large). A file the handset cannot take gives
  // nothing, and `message` the text to show.
  static std::optional<MediaFile> Build(std::span<const std::uint8_t> name,
                                        std::span<const std::uint8_t> bytes, int modelIndex,
                                        std::string& message);

  MediaClass Class() const { return class_; }
  std::uint16_t TypeWord() const { return typeWord_; }
  std::uint8_t Subtype() const { return subtype_; }
  std::size_t NameLength() const { return nameLength_; }
  std::uint32_t DataSize() const { return dataSize_; }
  // Where the item data begins in the file's bytes: 243 for `.nmf`, else 0.
  std::size_t HeaderOffset() const { return headerOffset_; }
  // The file's own header for a `.nmf` file, otherwise a new one.
  const MediaHeader& Header() const { return header_; }
  MediaRecordHeader RecordHeader() const { return {subtype_, nameLength_, dataSize_}; }

 private:
  MediaFile() = default;

  MediaClass class_ = MediaClass::SmafSound;
  std::uint16_t typeWord_ = 0;
  std::uint8_t subtype_ = 0;
  std::size_t nameLength_ = 0;
  std::uint32_t dataSize_ = 0;
  std::size_t headerOffset_ = 0;
  MediaHeader header_;
};

}  // namespace linkora
