#include "backup/HandsetVisitDialog.h"

#include <fmt/printf.h>

#include "backup/SafetyCopy.h"
#include "common/DataFolder.h"
#include "resources/BackupTexts.h"
#include "resources/Texts.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// A box taller than the screen hides its buttons; the command line's
// --dry-run lists every change.
constexpr std::size_t kShownChanges = 15;

}  // namespace

HandsetVisitDialog::HandsetVisitDialog(Job job, LinkContext context,
                                       const ConnectSettings& settings,
                                       std::filesystem::path folder, PromptService& prompts,
                                       QWidget* parent)
    : SyncProgressDialog(prompts, parent),
      job_(job),
      context_(context),
      settings_(settings),
      folder_(std::move(folder)) {
  setWindowTitle(ToQt(job == Job::Backup ? texts::kBackupWindowTitle : texts::kRestoreWindowTitle));
}

bool HandsetVisitDialog::PrepareStart() {
  SetTitle(job_ == Job::Backup ? fmt::sprintf(std::string(texts::kBackupConnectTitle), 1, 7)
                               : std::string(texts::kRestoreReadTitle));
  return true;
}

int HandsetVisitDialog::Run() {
  if (job_ == Job::Backup) {
    backup_ = HandsetBackup(context_, *this).Run(settings_, folder_);
    if (!backup_->done) {
      return kFailed;
    }
    Prompts().ShowMessage(BackupSummaryText(backup_->manifest));
    return kDone;
  }
  const auto ask = [this](const RestorePlan& plan) {
    return Prompts().AskYesNo(
        fmt::sprintf(std::string(texts::kRestoreQuestion), plan.ShortText(kShownChanges)),
        texts::kAppTitle);
  };
  RestoreOptions options;
  options.dataDir = DefaultDataFolder();
  options.otherHandset = [this](const std::string& backupNumber, const std::string& handsetNumber) {
    return Prompts().AskYesNo(
        fmt::sprintf(std::string(texts::kRestoreOtherNumberQuestion), backupNumber, handsetNumber),
        texts::kAppTitle);
  };
  restore_ = HandsetRestore(context_, *this).Run(settings_, folder_, ask, options);
  switch (restore_->outcome) {
    case RestoreOutcome::Restored: {
      std::string summary;
      for (const std::string& line : restore_->plan.SummaryLines()) {
        summary += (summary.empty() ? "" : "\n") + line;
      }
      if (restore_->safetyCopy) {
        summary += "\n\n" + fmt::sprintf(std::string(texts::kSafetyCopySaved),
                                         restore_->safetyCopy->string());
      }
      if (!restore_->mediaFailed.empty()) {
        Prompts().ShowMessage(fmt::sprintf(std::string(texts::kRestorePartlyDone),
                                           static_cast<int>(restore_->mediaFailed.size()),
                                           summary));
        return kFailed;
      }
      Prompts().ShowMessage(fmt::sprintf(std::string(texts::kRestoreDone), summary));
      return kDone;
    }
    case RestoreOutcome::Unchanged:
      if (!restore_->plan.mediaStaying.empty()) {
        Prompts().ShowMessage(fmt::sprintf(std::string(texts::kRestoreNothingButStaying),
                                           static_cast<int>(restore_->plan.mediaStaying.size())));
      } else {
        Prompts().ShowMessage(texts::kRestoreNothing);
      }
      return kDone;
    case RestoreOutcome::Declined:
    case RestoreOutcome::Refused:
    case RestoreOutcome::Failed:
      break;
  }
  return kFailed;
}

}  // namespace linkora
