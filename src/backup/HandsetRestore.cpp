#include "backup/HandsetRestore.h"

#include <fmt/printf.h>

#include <memory>

#include "backup/StepHost.h"
#include "common/FileIo.h"
#include "fsxfer/MediaTransfer.h"
#include "fsxfer/PhoneFile.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/PhoneLink.h"
#include "link/SessionState.h"
#include "media/MediaUpload.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookTransfer.h"
#include "resources/BackupTexts.h"
#include "resources/MediaTexts.h"
#include "resources/Texts.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleSync.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxMediaFileSize = 1 << 20;

struct Side {
  Phonebook phonebook;
  ScheduleStore schedules;
};

class RestoreVisit {
 public:
  RestoreVisit(LinkContext context, TransferHost& host, const fs::path& folder)
      : context_(context), window_(host), steps_(host), folder_(folder) {}

  RestoreResult Run(const ConnectSettings& settings, const HandsetRestore::Confirm& confirm) {
    if (!LoadBackup()) {
      result_.outcome = RestoreOutcome::Refused;
      return result_;
    }
    steps_.Step(std::string(texts::kRestoreReadTitle));
    link_ =
        ConnectAndVerify(context_, steps_, settings, ConnectVariant::Writer, OfflineStep::Deferred);
    if (!link_ || !ReadHandset()) {
      return result_;
    }
    result_.plan = PlanRestore(backup_->phonebook, handset_->phonebook, backup_->schedules,
                               handset_->schedules, manifest_.media, lists_.ShownItems());
    if (!confirm || result_.plan.Empty() || !confirm(result_.plan)) {
      result_.outcome =
          !confirm || result_.plan.Empty() ? RestoreOutcome::Unchanged : RestoreOutcome::Declined;
      link_->LeaveDiagMode();
      link_->Close();
      window_.SetDiagPortName("");
      return result_;
    }
    if (!GoOffline(*link_, window_) || !Write()) {
      return result_;
    }
    // The handset restarts by itself and leaves diagnostic mode.
    context_.library.DiagPhoneReset();
    link_->Close();
    result_.outcome = RestoreOutcome::Restored;
    return result_;
  }

 private:
  bool Refuse(const std::string& message) {
    window_.ShowMessage(message);
    return false;
  }

  bool LoadBackup() {
    std::string message;
    const auto manifest = ReadVerifiedManifest(folder_, message);
    if (!manifest) {
      return Refuse(message);
    }
    manifest_ = *manifest;
    backup_ = std::make_unique<Side>();
    if (LoadPhonebookFile(folder_ / kBackupPhonebookName, backup_->phonebook) !=
        PhonebookFileLoad::Loaded) {
      return Refuse(fmt::sprintf(std::string(texts::kManifestUnreadable),
                                 (folder_ / kBackupPhonebookName).string()));
    }
    const ScheduleLoadResult schedules =
        LoadScheduleFile(folder_ / kBackupScheduleName, backup_->schedules);
    if (schedules.status != ScheduleFileStatus::Loaded) {
      return Refuse(fmt::sprintf(std::string(texts::kManifestUnreadable),
                                 (folder_ / kBackupScheduleName).string()));
    }
    return true;
  }

  bool ReadHandset() {
    handset_ = std::make_unique<Side>();
    if (ReadPhonebookOnLink(context_, steps_, *link_, handset_->phonebook) !=
            kPhonebookTransferDone ||
        !ReadSchedulesOnLink(context_, steps_, *link_, handset_->schedules)) {
      return false;
    }
    std::vector<std::uint8_t> list(kPhoneFileCapacity);
    MediaTransferJob job;
    job.mode = MediaTransferMode::ReadList;
    job.fileName = texts::kMediaListFileName;
    job.readBuffer = list;
    if (RunMediaReadOnLink(context_, steps_, *link_, job) != kMediaTransferDone) {
      return false;
    }
    list.resize(job.receivedLength);
    std::string message;
    if (!lists_.Load(list, job.resultLength, context_.state.ModelIndex, message)) {
      link_->Close();
      return Refuse(message);
    }
    return true;
  }

  bool Write() {
    const RestorePlan& plan = result_.plan;
    if (plan.PhonebookChanges()) {
      steps_.Step(std::string(texts::kRestorePhonebookTitle));
      if (WritePhonebookOnLink(context_, steps_, *link_, backup_->phonebook) !=
          kPhonebookTransferDone) {
        return false;
      }
    }
    if (plan.ScheduleChanges()) {
      steps_.Step(std::string(texts::kRestoreScheduleTitle));
      if (!WriteSchedulesOnLink(context_, steps_, *link_, backup_->schedules)) {
        return false;
      }
    }
    const int count = static_cast<int>(plan.mediaToUpload.size());
    for (int i = 0; i < count; ++i) {
      const BackupMediaItem& item = plan.mediaToUpload[static_cast<std::size_t>(i)];
      steps_.Step(std::string(texts::kRestoreMediaTitle));
      std::vector<std::uint8_t> bytes;
      std::string error;
      if (!ReadWholeFile(folder_ / item.file, kMaxMediaFileSize, bytes, error)) {
        window_.ShowMessage(error);
        continue;
      }
      const UploadStep step =
          PrepareUploadBytes(item.name, bytes, lists_, context_.state.ModelIndex);
      if (step.status != UploadStepStatus::Ready) {
        window_.ShowMessage(step.message);
        if (step.status == UploadStepStatus::EndRun) {
          break;
        }
        continue;
      }
      const MediaTransferJob job = UploadWriteJob(step, lists_, {}, i + 1, count);
      if (RunMediaWriteOnLink(context_, steps_, *link_, job) != kMediaTransferDone) {
        return false;
      }
      ++result_.mediaUploaded;
    }
    return true;
  }

  LinkContext context_;
  TransferHost& window_;
  StepHost steps_;
  fs::path folder_;
  BackupManifest manifest_;
  std::unique_ptr<Side> backup_;
  std::unique_ptr<Side> handset_;
  MediaLists lists_;
  std::unique_ptr<PhoneLink> link_;
  RestoreResult result_;
};

}  // namespace

RestoreResult HandsetRestore::Run(const ConnectSettings& settings,
                                  const std::filesystem::path& folder, const Confirm& confirm) {
  return RestoreVisit(context_, host_, folder).Run(settings, confirm);
}

}  // namespace linkora
