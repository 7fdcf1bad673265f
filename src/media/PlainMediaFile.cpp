#include "media/PlainMediaFile.h"

#include <fmt/printf.h>

#include <algorithm>

#include "common/FileIo.h"
#include "media/MediaDownload.h"
#include "resources/MediaTexts.h"

namespace linkora {
namespace {

struct Signature {
  std::string_view start;
  std::string_view riffForm;  // for "RIFF" files: the form type at byte 8
  std::string_view extension;
};

constexpr Signature kSignatures[] = {
    {"\xFF\xD8\xFF", {}, ".jpg"}, {"GIF87a", {}, ".gif"},   {"GIF89a", {}, ".gif"},
    {"\x89PNG", {}, ".png"},      {"MMMD", {}, ".mmf"},     {"SAF", {}, ".sis"},
    {"MThd", {}, ".mid"},         {"RIFF", "QLCM", ".qcp"}, {"RIFF", "WAVE", ".wav"},
    {"#!AMR", {}, ".amr"},        {"ID3", {}, ".mp3"},
};
constexpr std::size_t kRiffForm = 8;

bool HasAt(std::span<const std::uint8_t> data, std::size_t at, std::string_view bytes) {
  return data.size() >= at + bytes.size() &&
         std::equal(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

bool Matches(std::span<const std::uint8_t> data, const Signature& signature) {
  return HasAt(data, 0, signature.start) &&
         (signature.riffForm.empty() || HasAt(data, kRiffForm, signature.riffForm));
}

std::span<const std::uint8_t> UpToZero(std::span<const std::uint8_t> field) {
  return field.first(
      static_cast<std::size_t>(std::find(field.begin(), field.end(), 0) - field.begin()));
}

}  // namespace

std::optional<std::string_view> PlainMediaFile::ExtensionOf(std::span<const std::uint8_t> data,
                                                            std::uint8_t formatCode) {
  for (const Signature& signature : kSignatures) {
    if (Matches(data, signature)) {
      return signature.extension;
    }
  }
  switch (formatCode) {
    case NmfSmafSound:
      return ".mmf";
    case NmfSafPicture:
      return ".sis";
    default:
      return std::nullopt;
  }
}

bool PlainMediaFile::LoadNmf(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  std::string cause;
  if (!ReadWholeFile(path, kMaxNmfSize, bytes, cause)) {
    error_ = std::string(texts::kFileReadFailed) + "\n" + cause;
    return false;
  }
  return FromNmf(bytes, path.filename().string());
}

bool PlainMediaFile::FromNmf(std::span<const std::uint8_t> bytes, const std::string& sourceName) {
  fileName_.clear();
  extension_ = {};
  data_.clear();
  MediaHeader header;
  if (!MediaHeader::HasMagic(bytes) || !header.Load(bytes)) {
    error_ = fmt::sprintf(std::string(texts::kNotNmfFileFormat), sourceName);
    return false;
  }
  const std::span<const std::uint8_t> data = bytes.subspan(MediaHeader::kSize);
  if (header.DataSize() != data.size()) {
    error_ = fmt::sprintf(std::string(texts::kNmfCutShortFormat), sourceName, header.DataSize(),
                          static_cast<unsigned>(data.size()));
    return false;
  }
  if (data.empty()) {
    error_ = fmt::sprintf(std::string(texts::kNmfNoDataFormat), sourceName);
    return false;
  }
  const std::optional<std::string_view> extension = ExtensionOf(data, header.FormatCode());
  if (!extension) {
    error_ = fmt::sprintf(std::string(texts::kNmfUnknownKindFormat), sourceName,
                          int{header.FormatCode()});
    return false;
  }
  std::string name = CleanMediaFileName(UpToZero(header.Name()));
  if (name.empty()) {
    name = std::filesystem::path(sourceName).stem().string();
  }
  fileName_ = WithExtension(std::move(name), *extension);
  extension_ = *extension;
  data_.assign(data.begin(), data.end());
  error_.clear();
  return true;
}

bool PlainMediaFile::Save(const std::filesystem::path& path) {
  std::string cause;
  if (!WriteFileAtomically(path, data_, cause)) {
    error_ = std::string(texts::kFileWriteFailed) + "\n" + cause;
    return false;
  }
  return true;
}

}  // namespace linkora
