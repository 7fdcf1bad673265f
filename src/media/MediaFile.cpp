#include "media/MediaFile.h"

#include <algorithm>
#include <string_view>

#include "resources/MediaTexts.h"

namespace linkora {
namespace {

constexpr std::size_t kLongRecordFromSize = 4096;
constexpr std::size_t kKind8TestByte = 16;
constexpr std::size_t kJpegScanTail = 13;
constexpr int kMaxJpegWidth = 128;
constexpr int kMaxJpegHeight = 160;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

struct ClassBits {
  std::uint16_t typeWord;
  std::uint8_t subtype;
  bool flagsOnSmallModel;  // do the header's flags count on the small model too?
};

ClassBits BitsOf(MediaClass mediaClass) {
  switch (mediaClass) {
    case MediaClass::SmafSound:
      return {kKindSound, 0x23, false};
    case MediaClass::SafPicture:
      return {kKindPicture, 0x13, false};
    case MediaClass::Jpeg:
      return {kTypeFlagA | kKindPicture, 0x15, false};
    case MediaClass::Kind8:
      return {kKind8, 0x23, true};
    case MediaClass::Sound27:
      return {kKindSound, 0x27, false};
  }
  return {0, 0, false};
}

// The JPEG checks: the first baseline start-of-frame marker gives the size.
// The scan stops 13 bytes before the end, so a file shorter than that has no
// marker to find.
std::optional<MediaClass> CheckJpeg(std::span<const std::uint8_t> bytes, int modelIndex,
                                    std::string& message) {
  std::optional<std::size_t> marker;
  for (std::size_t i = 0; i + kJpegScanTail < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      marker = i;
      break;
    }
  }
  if (!marker) {
    message = texts::kWrongFileFormat;
    return std::nullopt;
  }
  const std::size_t i = *marker;
  const int width = bytes[i + 7] * 256 + bytes[i + 8];
  const int height = bytes[i + 5] * 256 + bytes[i + 6];
  if (width > kMaxJpegWidth || height > kMaxJpegHeight) {
    message = texts::kJpegTooLarge;
    return std::nullopt;
  }
  if (modelIndex != 1) {
    message = texts::kSmallModelTakesNoPictures;
    return std::nullopt;
  }
  return MediaClass::Jpeg;
}

std::optional<MediaClass> Classify(std::span<const std::uint8_t> bytes, int modelIndex,
                                   MediaHeader& header, std::string& message) {
  if (MediaHeader::HasMagic(bytes)) {
    // A file that claims a header but is shorter than one is not a media file.
    if (!header.Load(bytes)) {
      message = texts::kWrongFileFormat;
      return std::nullopt;
    }
    switch (header.FormatCode()) {
      case NmfSmafSound:
        return MediaClass::SmafSound;
      case NmfSafPicture:
        return MediaClass::SafPicture;
      case NmfKind8:
        return MediaClass::Kind8;
      case NmfSound27:
        return MediaClass::Sound27;
      default:
        message = texts::kWrongFileFormat;
        return std::nullopt;
    }
  }
  if (bytes.size() > kKind8TestByte) {
    const std::uint8_t high = bytes[kKind8TestByte] & 0xF0;
    if (high == 0x40 || high == 0x10) {
      return MediaClass::Kind8;
    }
  }
  if (StartsWith(bytes, "\xFF\xD8\xFF")) {
    return CheckJpeg(bytes, modelIndex, message);
  }
  if (StartsWith(bytes, "SAF")) {
    return MediaClass::SafPicture;
  }
  if (StartsWith(bytes, "MMMD")) {
    return MediaClass::SmafSound;
  }
  message = texts::kWrongFileFormat;
  return std::nullopt;
}

}  // namespace

std::optional<MediaFile> MediaFile::Build(std::span<const std::uint8_t> name,
                                          std::span<const std::uint8_t> bytes, int modelIndex,
                                          std::string& message) {
  MediaFile file;
  const std::optional<MediaClass> mediaClass = Classify(bytes, modelIndex, file.header_, message);
  if (!mediaClass) {
    return std::nullopt;
  }
  file.class_ = *mediaClass;
  file.headerOffset_ = MediaHeader::HeaderOffset(bytes);
  file.dataSize_ = static_cast<std::uint32_t>(bytes.size() - file.headerOffset_);
  file.nameLength_ = name.size();

  const ClassBits bits = BitsOf(*mediaClass);
  const bool flagsCount = bits.flagsOnSmallModel || modelIndex == 1;
  file.typeWord_ = bits.typeWord;
  if (flagsCount && file.header_.FlagA()) {
    file.typeWord_ |= kTypeFlagA;
  }
  if (flagsCount && file.header_.FlagB()) {
    file.typeWord_ |= kTypeFlagB;
  }
  file.subtype_ = bits.subtype;
  if (bytes.size() >= kLongRecordFromSize) {
    file.subtype_ |= kLongRecordBit;
  }
  return file;
}

}  // namespace linkora
