#include "backup/HandsetBackup.h"

#include <fmt/printf.h>

#include <memory>

#include "backup/BackupWorkFolder.h"
#include "backup/OpenCopies.h"
#include "backup/StepHost.h"
#include "common/FileIo.h"
#include "common/StopRequest.h"
#include "fsxfer/MediaTransfer.h"
#include "fsxfer/PhoneFile.h"
#include "link/ConnectAndVerify.h"
#include "link/PhoneLink.h"
#include "link/SessionState.h"
#include "media/MediaDownload.h"
#include "media/MediaInfo.h"
#include "media/MediaUpload.h"
#include "messages/MessageBook.h"
#include "messages/MessageSync.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookTransfer.h"
#include "resources/BackupTexts.h"
#include "resources/MediaTexts.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleSync.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

constexpr int kSteps = 7;

class BackupVisit {
 public:
  BackupVisit(LinkContext context, TransferHost& host, const fs::path& folder)
      : context_(context), window_(host), steps_(host), work_(folder), folder_(work_.Path()) {}

  BackupResult Run(const ConnectSettings& settings, bool keepPartial) {
    BackupResult result = RunInWorkFolder(settings);
    if (result.done) {
      std::string error;
      if (StopRequested()) {
        result.done = false;
        result.failed = BackupSection::Files;
      } else if (!work_.Commit(error)) {
        window_.ShowMessage(error);
        result.done = false;
        result.failed = BackupSection::Files;
      }
    }
    if (!result.done) {
      result.partialKept = work_.Abandon(keepPartial);
    }
    return result;
  }

 private:
  BackupResult RunInWorkFolder(const ConnectSettings& settings) {
    if (!HoldsNoFile(work_.Final())) {
      window_.ShowMessage(
          fmt::sprintf(std::string(texts::kBackupFolderNotEmpty), work_.Final().string()));
      return Fail(BackupSection::Files, false);
    }
    std::string made;
    if (!work_.Create(made, &result_.removedStalePartial)) {
      window_.ShowMessage(
          fmt::sprintf(std::string(texts::kBackupCannotMakeFolder), work_.Path().string()));
      return Fail(BackupSection::Files, false);
    }
    std::error_code error;
    for (const fs::path& dir :
         {folder_, folder_ / kBackupMessagesFolder, folder_ / kBackupMediaFolder}) {
      fs::create_directories(dir, error);
      if (!fs::is_directory(dir, error)) {
        window_.ShowMessage(
            fmt::sprintf(std::string(texts::kBackupCannotMakeFolder), dir.string()));
        return Fail(BackupSection::Files, false);
      }
    }
    Step(texts::kBackupConnectTitle, 1);
    link_ = ConnectAndVerify(context_, steps_, settings, ConnectVariant::Reader);
    if (!link_) {
      return Fail(BackupSection::Connect);
    }
    result_.manifest.port = steps_.DiagPortName();
    result_.manifest.model = BackupModelName(context_.state.ModelIndex);
    // Only a locked handset's number is read by the access checks; the
    // manifest names the handset either way.
    std::string number;
    if (link_->ReadPhoneNumber(number) == LinkOk) {
      result_.manifest.phoneNumber = number;
    }
    content_ = std::make_unique<HandsetContent>();
    const bool read = ReadPhonebook() && ReadSchedules() && ReadMessages() && ReadMedia();
    EndVisit();
    if (!read) {
      return result_;
    }
    Step(texts::kBackupFilesTitle, kSteps);
    return WriteManifestLast();
  }

  void Step(std::string_view format, int step) {
    steps_.Step(fmt::sprintf(std::string(format), step, kSteps));
  }

  BackupResult Fail(BackupSection section, bool tell = true) {
    result_.failed = section;
    if (tell) {
      window_.ShowMessage(fmt::sprintf(std::string(texts::kBackupSectionFailed),
                                       std::string(BackupSectionName(section))));
    }
    return result_;
  }

  bool Failed(BackupSection section) {
    Fail(section);
    return false;
  }

  bool ReadPhonebook() {
    Step(texts::kBackupPhonebookTitle, 2);
    if (ReadPhonebookOnLink(context_, steps_, *link_, content_->phonebook) !=
        kPhonebookTransferDone) {
      return Failed(BackupSection::Phonebook);
    }
    std::string error;
    if (!SavePhonebookFile(folder_ / kBackupPhonebookName, content_->phonebook, error)) {
      window_.ShowMessage(error);
      return Failed(BackupSection::Phonebook);
    }
    result_.manifest.phonebookEntries = content_->phonebook.Flags().UsedCount();
    return true;
  }

  bool ReadSchedules() {
    Step(texts::kBackupScheduleTitle, 3);
    ScheduleStore& store = content_->schedules;
    if (!ReadSchedulesOnLink(context_, steps_, *link_, store)) {
      return Failed(BackupSection::Schedule);
    }
    store.SortAndRelink();
    const ScheduleSaveResult saved = SaveScheduleFile(folder_ / kBackupScheduleName, store);
    if (!saved.saved) {
      window_.ShowMessage(saved.detail.empty() ? saved.message : saved.detail);
      return Failed(BackupSection::Schedule);
    }
    result_.manifest.schedules = store.ScheduleCount();
    result_.manifest.ddays = store.DdayCount();
    return true;
  }

  bool ReadMessages() {
    Step(texts::kBackupMessagesTitle, 4);
    MessageArchive& read = content_->messages;
    if (!ReadMessagesOnLink(context_, steps_, *link_, read)) {
      return Failed(BackupSection::Messages);
    }
    // The per-message files are the message window's: its table limits hold.
    MessageBook book;
    for (const ReceivedMessage& message : read.Received()) {
      book.AddReceived(message);
    }
    for (const SentMessage& message : read.Sent()) {
      book.AddSent(message);
    }
    std::vector<std::string> written;
    const MessageExportResult saved =
        SaveAllMessageFiles(book, folder_ / kBackupMessagesFolder, written);
    if (!saved.saved) {
      window_.ShowMessage(saved.detail.empty() ? saved.message : saved.detail);
      return Failed(BackupSection::Messages);
    }
    result_.manifest.messages = static_cast<int>(written.size());
    return true;
  }

  // Reads one handset file into `bytes` (only what arrived).
  bool ReadFile(const std::string& name, std::vector<std::uint8_t>& bytes, int& announced) {
    bytes.assign(kPhoneFileCapacity, 0);
    MediaTransferJob job;
    job.mode = MediaTransferMode::ReadFile;
    job.fileName = name;
    job.readBuffer = bytes;
    if (RunMediaReadOnLink(context_, steps_, *link_, job) != kMediaTransferDone) {
      return false;
    }
    bytes.resize(job.receivedLength);
    announced = job.resultLength;
    return true;
  }

  bool ReadMedia() {
    Step(texts::kBackupMediaListTitle, 5);
    std::vector<std::uint8_t> list;
    int announced = 0;
    MediaLists lists;
    std::string message;
    if (!ReadFile(std::string(texts::kMediaListFileName), list, announced)) {
      return Failed(BackupSection::MediaList);
    }
    if (!lists.Load(list, announced, context_.state.ModelIndex, message)) {
      window_.ShowMessage(message);
      return Failed(BackupSection::MediaList);
    }
    const std::vector<ShownMediaItem> items = lists.ShownItems();
    int done = 0;
    for (const ShownMediaItem& item : items) {
      steps_.Step(fmt::sprintf(std::string(texts::kBackupMediaTitle), ++done,
                               static_cast<int>(items.size()), 6, kSteps));
      HandsetContent::MediaItem read{item.slot, item.name, {}, {}};
      if (!ReadFile(MediaSlotFileName(item.slot), read.slotFile, announced)) {
        return Failed(BackupSection::Media);
      }
      const DownloadStep step = PrepareDownload(item.slot, read.slotFile, lists.Large());
      if (!step.ready) {
        window_.ShowMessage(
            fmt::sprintf(std::string(texts::kBackupMediaSkipped), item.slot, step.message));
        ++result_.skippedMedia;
        continue;
      }
      const fs::path path = UnusedPath(folder_ / kBackupMediaFolder, step.fileName);
      std::string detail;
      if (!SaveDownload(path, step.content, message, detail)) {
        window_.ShowMessage(message);
        window_.ShowMessage(detail);
        return Failed(BackupSection::Media);
      }
      result_.manifest.media.push_back(
          {item.slot, item.name, fs::relative(path, folder_).generic_string()});
      if (step.output == DownloadOutput::Nmf) {
        read.nmf = step.content;
      }
      content_->media.push_back(std::move(read));
    }
    return true;
  }

  // One mode return on the open link ends the visit; after a failed read
  // the link is closed and the port is opened once more for it.
  void EndVisit() {
    window_.SetTitle(texts::kBackupEndTitle);
    window_.PumpMessages();
    if (link_->IsOpen()) {
      link_->LeaveDiagMode();
      link_->Close();
    } else {
      SendModeReturn(context_, steps_.DiagPortName());
    }
    // The visit is over: the window has no mode return left to send.
    window_.SetDiagPortName("");
  }

  BackupResult WriteManifestLast() {
    std::string error;
    if (!WriteOpenCopies(folder_, *content_, error)) {
      window_.ShowMessage(error);
      return Fail(BackupSection::Files);
    }
    std::string failed;
    if (!ListBackupFiles(folder_, result_.manifest.files, failed)) {
      window_.ShowMessage(fmt::sprintf(std::string(texts::kManifestUnreadable), failed));
      return Fail(BackupSection::Files);
    }
    result_.manifest.created = UtcNowText();
    if (!WriteManifest(folder_, result_.manifest, error)) {
      window_.ShowMessage(error);
      return Fail(BackupSection::Files);
    }
    window_.SetProgress(100);
    result_.done = true;
    return result_;
  }

  LinkContext context_;
  TransferHost& window_;
  StepHost steps_;
  BackupWorkFolder work_;
  fs::path folder_;  // the work folder the files go into
  std::unique_ptr<PhoneLink> link_;
  std::unique_ptr<HandsetContent> content_;
  BackupResult result_;
};

}  // namespace

std::string_view BackupSectionName(BackupSection section) {
  switch (section) {
    case BackupSection::Connect:
      return texts::kSectionConnect;
    case BackupSection::Phonebook:
      return texts::kSectionPhonebook;
    case BackupSection::Schedule:
      return texts::kSectionSchedule;
    case BackupSection::Messages:
      return texts::kSectionMessages;
    case BackupSection::MediaList:
      return texts::kSectionMediaList;
    case BackupSection::Media:
      return texts::kSectionMedia;
    case BackupSection::Files:
      break;
  }
  return texts::kSectionFiles;
}

BackupResult HandsetBackup::Run(const ConnectSettings& settings,
                                const std::filesystem::path& folder, bool keepPartial) {
  return BackupVisit(context_, host_, folder).Run(settings, keepPartial);
}

std::string BackupSummaryText(const BackupManifest& manifest) {
  return fmt::sprintf(std::string(texts::kBackupSummary), manifest.phonebookEntries,
                      manifest.schedules, manifest.ddays, manifest.messages,
                      static_cast<int>(manifest.media.size()));
}

}  // namespace linkora
