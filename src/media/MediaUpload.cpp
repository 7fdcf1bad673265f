#include "media/MediaUpload.h"

#include <fmt/printf.h>

#include <algorithm>
#include <system_error>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "media/MediaFile.h"
#include "resources/MediaTexts.h"

namespace linkora {

std::string MediaSlotFileName(int slot) {
  return fmt::sprintf(std::string(texts::kMediaSlotFileFormat), slot);
}

std::optional<std::string> PcFileList::Add(const std::vector<std::filesystem::path>& paths) {
  for (const std::filesystem::path& path : paths) {
    const std::string name = path.filename().string();
    const bool listed = std::any_of(items_.begin(), items_.end(),
                                    [&](const Item& item) { return item.name == name; });
    if (listed) {
      return std::string(texts::kAlreadyChosen);
    }
    const auto free = std::find_if(entries_.begin(), entries_.end(),
                                   [](const Entry& entry) { return !entry.used; });
    if (free == entries_.end()) {
      return std::string(texts::kTooManyChosenFiles);
    }
    free->used = true;
    free->folder = path.parent_path().string();
    items_.push_back({name, static_cast<int>(free - entries_.begin())});
  }
  return std::nullopt;
}

std::optional<std::string> PcFileList::Remove(std::size_t index) {
  if (index >= items_.size()) {
    return std::nullopt;
  }
  std::optional<std::string> message;
  const int entry = items_[index].entry;
  if (entry < 0 || entry >= kPcFileCapacity) {
    message = std::string(texts::kNoFolderForFile);
  } else {
    entries_[static_cast<std::size_t>(entry)] = Entry{};
  }
  items_.erase(items_.begin() + static_cast<long>(index));
  return message;
}

std::filesystem::path PcFileList::PathOf(std::size_t index,
                                         std::optional<std::string>& message) const {
  message.reset();
  if (index >= items_.size()) {
    message = std::string(texts::kNoFolderForFile);
    return {};
  }
  const Item& item = items_[index];
  const bool known = item.entry >= 0 && item.entry < kPcFileCapacity &&
                     entries_[static_cast<std::size_t>(item.entry)].used &&
                     !entries_[static_cast<std::size_t>(item.entry)].folder.empty();
  if (!known) {
    message = std::string(texts::kNoFolderForFile);
    return item.name;
  }
  return std::filesystem::path(entries_[static_cast<std::size_t>(item.entry)].folder) / item.name;
}

void PcFileList::Clear() {
  entries_.fill(Entry{});
  items_.clear();
}

std::string UploadItemName(const std::filesystem::path& path) {
  std::string name = path.filename().string();
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) {
    name.resize(dot);
  }
  return name;
}

bool ReadUploadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                    std::vector<std::uint8_t>& itemName, std::string& message) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    message = texts::kFileReadFailed;
    return false;
  }
  if (size > kMaxUploadFileSize) {
    message = texts::kFileTooLarge;
    return false;
  }
  std::string readError;
  if (!ReadWholeFile(path, kMaxUploadFileSize, bytes, readError)) {
    message = texts::kFileReadFailed;
    return false;
  }
  if (bytes.empty()) {
    message = texts::kFileEmpty;
    return false;
  }
  const std::string title = UploadItemName(path);
  // The handset shows names in CP949; a name that CP949 cannot hold goes as it is.
  const auto encoded = cp949::FromUtf8(title);
  itemName = encoded ? *encoded : std::vector<std::uint8_t>(title.begin(), title.end());
  return true;
}

UploadStep PrepareUploadFile(const std::filesystem::path& path, MediaLists& lists, int modelIndex) {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> name;
  UploadStep step;
  if (!ReadUploadFile(path, bytes, name, step.message)) {
    return step;
  }
  return PrepareUploadBytes(name, bytes, lists, modelIndex);
}

UploadStep PrepareUploadBytes(std::span<const std::uint8_t> itemName,
                              std::span<const std::uint8_t> bytes, MediaLists& lists,
                              int modelIndex) {
  UploadStep step;
  if (bytes.empty()) {
    step.message = texts::kFileEmpty;
    return step;
  }
  if (bytes.size() > kMaxUploadFileSize) {
    step.message = texts::kFileTooLarge;
    return step;
  }
  const std::optional<MediaFile> file = MediaFile::Build(itemName, bytes, modelIndex, step.message);
  if (!file) {
    return step;
  }
  const MediaRecordHeader header = file->RecordHeader();
  step.slotFile.assign(header.Bytes().begin(), header.Bytes().end());
  step.slotFile.insert(step.slotFile.end(), itemName.begin(), itemName.end());
  step.slotFile.insert(step.slotFile.end(), bytes.begin() + static_cast<long>(file->HeaderOffset()),
                       bytes.end());
  step.itemName.assign(itemName.begin(), itemName.end());
  step.displayName = cp949::ToUtf8(itemName);

  step.listsBefore = lists;
  const RecordedMediaItem recorded =
      lists.RecordNewItem(static_cast<std::uint32_t>(step.slotFile.size()), file->TypeWord(),
                          file->Subtype(), itemName, file->Header());
  if (!recorded.recorded) {
    step.status = UploadStepStatus::EndRun;
    step.message = recorded.message;
    return step;
  }
  step.status = UploadStepStatus::Ready;
  step.slot = recorded.slot;
  step.handsetFileName = MediaSlotFileName(recorded.slot);
  return step;
}

void TakeBackUpload(MediaLists& lists, const UploadStep& step) {
  if (step.status == UploadStepStatus::Ready) {
    lists = step.listsBefore;
  }
}

MediaTransferJob UploadWriteJob(const UploadStep& step, const MediaLists& lists,
                                const ConnectSettings& settings, int stepIndex, int stepCount) {
  MediaTransferJob job;
  job.mode = MediaTransferMode::Write;
  job.settings = settings;
  job.fileName = step.handsetFileName;
  job.data = step.slotFile;
  job.list = lists.ListToWrite();
  job.stepIndex = stepIndex;
  job.stepCount = stepCount;
  return job;
}

}  // namespace linkora
