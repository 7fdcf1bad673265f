#include "backup/HandsetRestore.h"

#include <fmt/printf.h>

#include <memory>

#include "backup/SafetyCopy.h"
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
  RestoreVisit(LinkContext context, TransferHost& host, const fs::path& folder,
               const RestoreOptions& options)
      : context_(context), window_(host), steps_(host), folder_(folder), options_(options) {}

  RestoreResult Run(const ConnectSettings& settings, const HandsetRestore::Confirm& confirm) {
    if (!LoadBackup()) {
      result_.outcome = RestoreOutcome::Refused;
      return result_;
    }
    steps_.Step(std::string(texts::kRestoreReadTitle));
    link_ =
        ConnectAndVerify(context_, steps_, settings, ConnectVariant::Writer, OfflineStep::Deferred);
    if (!link_) {
      return result_;
    }
    if (const auto refused = CheckIdentity(!confirm)) {
      result_.outcome = *refused;
      return EndWithoutWriting();
    }
    if (!ReadHandset()) {
      return result_;
    }
    result_.plan =
        PlanRestore(backup_->phonebook, handset_->phonebook, backup_->schedules,
                    handset_->schedules, manifest_.media, lists_.ShownItems(),
                    manifest_.Holds(kSectionNamePhonebook), manifest_.Holds(kSectionNameSchedule));
    if (!confirm || result_.plan.Empty() || !confirm(result_.plan)) {
      result_.outcome =
          !confirm || result_.plan.Empty() ? RestoreOutcome::Unchanged : RestoreOutcome::Declined;
      return EndWithoutWriting();
    }
    if (!KeepSafetyCopy()) {
      return EndWithoutWriting();
    }
    if (!GoOffline(*link_, window_)) {
      ClearMark();  // nothing was written
      return result_;
    }
    if (!Write()) {
      result_.interrupted = true;
      window_.ShowMessage(UnfinishedRestoreText(mark_));
      return result_;
    }
    // The handset restarts by itself and leaves diagnostic mode.
    context_.library.DiagPhoneReset();
    link_->Close();
    ClearMark();
    if (!options_.dataDir.empty()) {
      // The handset now holds the backup whole: an earlier restore that
      // stopped part-way on it is finished too.
      ClearRestoreMarksFor(options_.dataDir, handsetModel_, handsetNumber_);
    }
    result_.outcome = RestoreOutcome::Restored;
    return result_;
  }

 private:
  RestoreResult EndWithoutWriting() {
    link_->LeaveDiagMode();
    link_->Close();
    window_.SetDiagPortName("");
    return result_;
  }

  static std::string Digits(const std::string& text) {
    std::string digits;
    for (const char c : text) {
      if (c >= '0' && c <= '9') {
        digits += c;
      }
    }
    return digits;
  }

  // A backup goes back only to the handset it came from: another model is
  // refused, another phone number needs the user's word. Gives the outcome
  // when the restore must stop here.
  std::optional<RestoreOutcome> CheckIdentity(bool dryRun) {
    handsetModel_ = BackupModelName(context_.state.ModelIndex);
    if (!manifest_.model.empty() && manifest_.model != handsetModel_) {
      window_.ShowMessage(
          fmt::sprintf(std::string(texts::kRestoreOtherModel), manifest_.model, handsetModel_));
      return RestoreOutcome::Refused;
    }
    std::string number;
    if (link_->ReadPhoneNumber(number) == LinkOk) {
      handsetNumber_ = number;
    }
    const std::string backupNumber = Digits(manifest_.phoneNumber);
    if (dryRun || backupNumber.empty() || Digits(handsetNumber_).empty() ||
        backupNumber == Digits(handsetNumber_)) {
      return std::nullopt;
    }
    if (!options_.otherHandset) {
      window_.ShowMessage(fmt::sprintf(std::string(texts::kRestoreOtherNumberRefused),
                                       manifest_.phoneNumber, handsetNumber_));
      return RestoreOutcome::Refused;
    }
    if (!options_.otherHandset(manifest_.phoneNumber, handsetNumber_)) {
      return RestoreOutcome::Declined;
    }
    return std::nullopt;
  }

  // What the handset holds of the sections this restore overwrites, as read
  // for the change list, goes into a safety copy before the first write,
  // with the mark that the restore is under way.
  bool KeepSafetyCopy() {
    if (options_.dataDir.empty()) {
      return true;
    }
    const RestorePlan& plan = result_.plan;
    SafetyContent content;
    content.phonebook = &handset_->phonebook;
    content.schedules = &handset_->schedules;
    content.model = handsetModel_;
    content.phoneNumber = handsetNumber_;
    content.port = steps_.DiagPortName();
    std::string error;
    const auto folder = SaveSafetyCopy(options_.dataDir, content, error);
    if (folder) {
      mark_.safetyCopy = *folder;
      mark_.backup = fs::absolute(folder_).lexically_normal().string();
      if (plan.PhonebookChanges()) {
        mark_.sections.push_back(kSectionNamePhonebook);
      }
      if (plan.ScheduleChanges()) {
        mark_.sections.push_back(kSectionNameSchedule);
      }
      if (!plan.mediaToUpload.empty()) {
        mark_.sections.push_back("media");
      }
      mark_.model = handsetModel_;
      mark_.phoneNumber = handsetNumber_;
      mark_.started = UtcNowText();
      if (WriteRestoreMark(*folder, mark_, error)) {
        result_.safetyCopy = folder;
        return true;
      }
    }
    window_.ShowMessage(fmt::sprintf(std::string(texts::kSafetyCopyFailed), error));
    return false;
  }

  void ClearMark() {
    if (result_.safetyCopy) {
      ClearRestoreMark(*result_.safetyCopy);
    }
  }

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
    if (manifest_.Holds(kSectionNamePhonebook) &&
        LoadPhonebookFile(folder_ / kBackupPhonebookName, backup_->phonebook) !=
            PhonebookFileLoad::Loaded) {
      return Refuse(fmt::sprintf(std::string(texts::kManifestUnreadable),
                                 (folder_ / kBackupPhonebookName).string()));
    }
    if (manifest_.Holds(kSectionNameSchedule) &&
        LoadScheduleFile(folder_ / kBackupScheduleName, backup_->schedules).status !=
            ScheduleFileStatus::Loaded) {
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
    const auto refuse = [this](const BackupMediaItem& item, const std::string& reason) {
      window_.ShowMessage(fmt::sprintf(std::string(texts::kRestoreMediaFailed), item.file, reason));
      result_.mediaFailed.push_back({item.file, reason});
    };
    for (int i = 0; i < count; ++i) {
      const BackupMediaItem& item = plan.mediaToUpload[static_cast<std::size_t>(i)];
      steps_.Step(std::string(texts::kRestoreMediaTitle));
      std::vector<std::uint8_t> bytes;
      std::string error;
      if (!ReadWholeFile(folder_ / item.file, kMaxMediaFileSize, bytes, error)) {
        refuse(item, error);
        continue;
      }
      const UploadStep step =
          PrepareUploadBytes(item.name, bytes, lists_, context_.state.ModelIndex);
      if (step.status != UploadStepStatus::Ready) {
        refuse(item, step.message);
        if (step.status == UploadStepStatus::EndRun) {
          // The rest cannot go either (the handset has no room left).
          for (int j = i + 1; j < count; ++j) {
            result_.mediaFailed.push_back(
                {plan.mediaToUpload[static_cast<std::size_t>(j)].file, step.message});
          }
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
  RestoreOptions options_;
  std::string handsetModel_;
  std::string handsetNumber_;
  RestoreMark mark_;
  BackupManifest manifest_;
  std::unique_ptr<Side> backup_;
  std::unique_ptr<Side> handset_;
  MediaLists lists_;
  std::unique_ptr<PhoneLink> link_;
  RestoreResult result_;
};

}  // namespace

RestoreResult HandsetRestore::Run(const ConnectSettings& settings,
                                  const std::filesystem::path& folder, const Confirm& confirm,
                                  const RestoreOptions& options) {
  return RestoreVisit(context_, host_, folder, options).Run(settings, confirm);
}

}  // namespace linkora
