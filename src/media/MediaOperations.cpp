#include "media/MediaOperations.h"

#include <system_error>

#include "fsxfer/PhoneFile.h"
#include "media/MediaDownload.h"
#include "resources/MediaTexts.h"

namespace linkora {

bool ReadMediaList(MediaWindow& window, MediaLists& lists, const ConnectSettings& settings,
                   const SessionState& session) {
  window.ClearPhoneList();
  std::vector<std::uint8_t> buffer(kPhoneFileCapacity);
  MediaTransferJob job;
  job.mode = MediaTransferMode::ReadList;
  job.settings = settings;
  job.fileName = texts::kMediaListFileName;
  job.readBuffer = buffer;
  if (window.RunTransfer(job) != kMediaTransferDone) {
    return false;
  }
  std::string message;
  const std::span<const std::uint8_t> received(buffer.data(), job.receivedLength);
  if (!lists.Load(received, job.resultLength, session.ModelIndex, message)) {
    window.ShowMessage(message);
    return false;
  }
  for (const ShownMediaItem& item : lists.ShownItems()) {
    window.AddPhoneItem(item.slot, item.DisplayName());
  }
  if (window.PhoneItemCount() == 0) {
    window.ShowMessage(texts::kNoMediaOnHandset);
  }
  return true;
}

UploadSummary UploadMediaFiles(MediaWindow& window, PcFileList& pcFiles, MediaLists& lists,
                               const ConnectSettings& settings, const SessionState& session) {
  UploadSummary summary;
  if (!ReadMediaList(window, lists, settings, session)) {
    return summary;
  }
  const std::size_t count = pcFiles.Items().size();
  const int phoneItemsBefore = window.PhoneItemCount();
  for (std::size_t g = 0; g < count; ++g) {
    std::optional<std::string> folderMessage;
    const std::filesystem::path path = pcFiles.PathOf(g, folderMessage);
    window.StartUploadFile(path);
    if (folderMessage) {
      window.ShowMessage(*folderMessage);
    }
    UploadStep step = PrepareUploadFile(path, lists, session.ModelIndex);
    if (step.status != UploadStepStatus::Ready) {
      window.ShowMessage(step.message);
      if (step.status == UploadStepStatus::EndRun) {
        break;
      }
      continue;
    }
    MediaTransferJob job =
        UploadWriteJob(step, lists, settings, static_cast<int>(g + 1), static_cast<int>(count));
    if (window.RunTransfer(job) != kMediaTransferDone) {
      TakeBackUpload(lists, step);
      continue;
    }
    window.AddPhoneItem(step.slot, step.displayName);
    ++summary.stored;
  }
  if (window.PhoneItemCount() > phoneItemsBefore) {
    MediaTransferJob reset;
    reset.mode = MediaTransferMode::Reset;
    reset.settings = settings;
    if (window.RunTransfer(reset) != kMediaTransferDone) {
      return summary;
    }
    summary.reset = true;
  }
  pcFiles.Clear();
  summary.completed = true;
  return summary;
}

int DownloadMediaItems(MediaWindow& window, const MediaLists& lists,
                       const ConnectSettings& settings) {
  std::string folder = window.DataPath();
  bool folderChosen = false;
  int saved = 0;
  for (const int slot : window.SelectedSlots()) {
    if (slot < 0 || slot >= kMediaSlotCount) {
      continue;
    }
    std::vector<std::uint8_t> buffer(kPhoneFileCapacity);
    MediaTransferJob job;
    job.mode = MediaTransferMode::ReadFile;
    job.settings = settings;
    job.fileName = MediaSlotFileName(slot);
    job.readBuffer = buffer;
    if (window.RunTransfer(job) != kMediaTransferDone) {
      continue;
    }
    const std::span<const std::uint8_t> received(buffer.data(), job.receivedLength);
    const DownloadStep step = PrepareDownload(slot, received, lists.Large());
    if (!step.ready) {
      window.ShowMessage(step.message);
      continue;
    }
    std::filesystem::path target = DownloadPath(folder, step.fileName);
    if (folderChosen) {
      std::error_code error;
      if (std::filesystem::exists(target, error) && !window.AskYesNo(ReplaceFileQuestion(target))) {
        continue;
      }
    } else {
      const auto chosen = window.ChooseSaveFile(target, step.defaultExtension, step.filter);
      if (!chosen) {
        window.ShowMessage(texts::kDownloadCancelled);
        return saved;
      }
      target = *chosen;
    }
    std::string message;
    std::string detail;
    if (!SaveDownload(target, step.content, message, detail)) {
      window.ShowMessage(message);
      window.ShowFileError(detail);
      continue;
    }
    ++saved;
    if (!folderChosen) {
      folder = FolderOfSavedFile(target);
      window.SetDataPath(folder);
      folderChosen = true;
    }
  }
  if (saved > 0) {
    window.ShowMessage(texts::kMediaSaved);
  }
  return saved;
}

}  // namespace linkora
