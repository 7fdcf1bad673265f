#include "media/MediaDownload.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cctype>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "media/MediaHeader.h"
#include "resources/MediaTexts.h"

namespace linkora {
namespace {

constexpr std::string_view kForbiddenCharacters{":\\/*?\"<>|\0", 10};

bool IsDownloadableKind(std::uint16_t typeWord) {
  const std::uint8_t kind = typeWord & 0xFF;
  return kind == kKindPicture || kind == kKindSound || kind == kKind8 || kind == kKindHandsetJpeg;
}

DownloadOutput OutputOf(std::uint8_t subtype) {
  switch (subtype) {
    case 0x14:
    case 0x94:
      return DownloadOutput::Gif;
    case 0x15:
    case 0x95:
    case 0x16:
    case 0x96:
      return DownloadOutput::Jpeg;
    default:
      return DownloadOutput::Nmf;
  }
}

}  // namespace

std::string CleanMediaFileName(std::span<const std::uint8_t> name) {
  std::string text = cp949::ToUtf8(name);
  std::erase_if(text,
                [](char c) { return kForbiddenCharacters.find(c) != std::string_view::npos; });
  return text;
}

std::string WithExtension(std::string name, std::string_view extension) {
  const bool hasIt =
      name.size() >= extension.size() &&
      std::equal(extension.begin(), extension.end(),
                 name.end() - static_cast<long>(extension.size()), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
                 });
  if (!hasIt) {
    name += extension;
  }
  return name;
}

DownloadStep PrepareDownload(int slot, std::span<const std::uint8_t> received,
                             const LargeMediaInfo& list) {
  DownloadStep step;
  const std::uint16_t typeWord = list.TypeWord(slot);
  if (!IsDownloadableKind(typeWord)) {
    step.message = fmt::sprintf(std::string(texts::kWrongKindFormat), int{typeWord});
    return step;
  }
  const MediaRecord record = ReadMediaRecord(received);
  std::string_view extension;
  step.output = OutputOf(record.subtype);
  switch (step.output) {
    case DownloadOutput::Gif:
      step.filter = texts::kGifFilter;
      step.defaultExtension = "gif";
      extension = ".gif";
      break;
    case DownloadOutput::Jpeg:
      step.filter = texts::kJpegFilter;
      step.defaultExtension = "jpg";
      extension = ".jpg";
      break;
    case DownloadOutput::Nmf: {
      step.filter = texts::kNmfFilter;
      step.defaultExtension = "nmf";
      extension = ".nmf";
      const auto code = NmfFormatCodeOf(typeWord, record.subtype);
      if (!code) {
        step.message =
            fmt::sprintf(std::string(texts::kWrongMediaFormatFormat), int{record.subtype});
        return step;
      }
      MediaHeader header;
      if ((typeWord & kTypeFlagA) != 0) {
        header.SetFlagA(true);
        header.SetExtras(list.Extra1(slot), list.Extra2(slot), list.Extra3(slot));
      }
      header.SetFlagB((typeWord & kTypeFlagB) != 0);
      // The size of the data the file really holds.
      header.SetDataSize(static_cast<std::uint32_t>(record.data.size()));
      header.SetName(record.name);
      header.SetFormatCode(*code);
      step.content.assign(header.Bytes().begin(), header.Bytes().end());
      break;
    }
  }
  step.content.insert(step.content.end(), record.data.begin(), record.data.end());
  step.fileName = WithExtension(CleanMediaFileName(record.name), extension);
  step.ready = true;
  return step;
}

std::filesystem::path DownloadPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) {
    return fileName;
  }
  return std::filesystem::path(folder) / fileName;
}

std::string ReplaceFileQuestion(const std::filesystem::path& path) {
  return fmt::sprintf(std::string(texts::kReplaceFileFormat), path.string());
}

std::string FolderOfSavedFile(const std::filesystem::path& path) {
  return path.parent_path().string();
}

bool SaveDownload(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                  std::string& message, std::string& detail) {
  if (!WriteFileAtomically(path, content, detail)) {
    message = texts::kFileWriteFailed;
    return false;
  }
  return true;
}

}  // namespace linkora
