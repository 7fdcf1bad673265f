#include "media/MediaHeader.h"

#include <algorithm>

#include "resources/MediaTexts.h"

namespace linkora {

void MediaHeader::WriteMagic() {
  auto field = Field(kMagic, kMagicFieldSize);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy(texts::kMediaHeaderMagic.begin(), texts::kMediaHeaderMagic.end(), field.begin());
}

void MediaHeader::SetName(std::span<const std::uint8_t> name) {
  auto field = Field(kName, kNameSize);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy_n(name.begin(), std::min(name.size(), kNameSize), field.begin());
}

void MediaHeader::SetExtras(std::span<const std::uint8_t> extra1,
                            std::span<const std::uint8_t> extra2,
                            std::span<const std::uint8_t> extra3) {
  const auto put = [this](std::size_t offset, std::size_t size,
                          std::span<const std::uint8_t> value) {
    auto field = Field(offset, size);
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    std::copy_n(value.begin(), std::min(value.size(), size), field.begin());
  };
  put(kExtra1, kExtra1Size, extra1);
  put(kExtra2, kExtra2Size, extra2);
  put(kExtra3, kExtra3Size, extra3);
}

bool MediaHeader::Load(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSize) {
    return false;
  }
  std::copy_n(bytes.begin(), kSize, Bytes().begin());
  return true;
}

bool MediaHeader::HasMagic(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kMagicTextSize &&
         std::equal(texts::kMediaHeaderMagic.begin(), texts::kMediaHeaderMagic.end(),
                    bytes.begin());
}

std::size_t MediaHeader::HeaderOffset(std::span<const std::uint8_t> bytes) {
  return HasMagic(bytes) && bytes.size() >= kSize ? kSize : 0;
}

MediaRecordHeader::MediaRecordHeader(std::uint8_t subtype, std::size_t nameLength,
                                     std::uint32_t dataSize) {
  const bool longForm = (subtype & kLongRecordBit) != 0;
  count_ = longForm ? kLongSize : kShortSize;
  bytes_[kSubtype] = subtype;
  bytes_[kNameLengthHigh] = static_cast<std::uint8_t>((nameLength >> 4) & 0xFF);
  const auto nameLow = static_cast<std::uint8_t>((nameLength & 0x0F) << 4);
  if (longForm) {
    bytes_[kNameLengthLowSize] = static_cast<std::uint8_t>(nameLow | ((dataSize >> 16) & 0x0F));
    bytes_[kSizeNext] = static_cast<std::uint8_t>((dataSize >> 8) & 0xFF);
    bytes_[kSizeLow] = static_cast<std::uint8_t>(dataSize & 0xFF);
  } else {
    bytes_[kNameLengthLowSize] = static_cast<std::uint8_t>(nameLow | ((dataSize >> 8) & 0x0F));
    bytes_[kSizeNext] = static_cast<std::uint8_t>(dataSize & 0xFF);
  }
}

MediaRecord ReadMediaRecord(std::span<const std::uint8_t> received) {
  using H = MediaRecordHeader;
  // Header bytes that did not arrive read as zero.
  const auto at = [&](std::size_t i) -> std::uint8_t {
    return i < received.size() ? received[i] : 0;
  };
  MediaRecord record;
  record.subtype = at(H::kSubtype);
  // The handset's names are short: the length is read as 8 bits.
  record.nameLength =
      static_cast<std::uint8_t>((at(H::kNameLengthHigh) << 4) | (at(H::kNameLengthLowSize) >> 4));
  std::size_t nameStart = H::kShortSize;
  if ((record.subtype & kLongRecordBit) != 0) {
    record.statedDataSize = ((at(H::kNameLengthLowSize) & 0x0Fu) << 16) |
                            (static_cast<std::uint32_t>(at(H::kSizeNext)) << 8) | at(H::kSizeLow);
    nameStart = H::kLongSize;
  } else {
    record.statedDataSize =
        ((at(H::kNameLengthLowSize) & 0x0Fu) << 8) | static_cast<std::uint32_t>(at(H::kSizeNext));
  }
  const auto cut = [&](std::size_t start, std::size_t length) {
    start = std::min(start, received.size());
    return received.subspan(start, std::min(length, received.size() - start));
  };
  record.name = cut(nameStart, record.nameLength);
  record.data = cut(nameStart + record.nameLength, record.statedDataSize);
  return record;
}

std::optional<std::uint8_t> NmfFormatCodeOf(std::uint16_t typeWord, std::uint8_t subtype) {
  if ((typeWord & 0xFF) == kKind8) {
    return NmfKind8;
  }
  switch (subtype & ~kLongRecordBit) {
    case 0x13:
      return NmfSafPicture;
    case 0x21:
    case 0x23:
    case 0x24:
    case 0x26:
      return NmfSmafSound;
    case 0x22:
      return NmfSubtype22;
    case 0x27:
      return NmfSound27;
    default:
      return std::nullopt;
  }
}

}  // namespace linkora
