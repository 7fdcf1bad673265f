#include "backup/HandsetVisitDialog.h"

#include <fmt/printf.h>

#include "resources/BackupTexts.h"
#include "resources/Texts.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {

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
    return Prompts().AskYesNo(fmt::sprintf(std::string(texts::kRestoreQuestion), plan.Text()),
                              texts::kAppTitle);
  };
  restore_ = HandsetRestore(context_, *this).Run(settings_, folder_, ask);
  switch (restore_->outcome) {
    case RestoreOutcome::Restored: {
      std::string summary;
      for (const std::string& line : restore_->plan.SummaryLines()) {
        summary += line + "\n";
      }
      Prompts().ShowMessage(fmt::sprintf(std::string(texts::kRestoreDone), summary));
      return kDone;
    }
    case RestoreOutcome::Unchanged:
      Prompts().ShowMessage(texts::kRestoreNothing);
      return kDone;
    case RestoreOutcome::Declined:
    case RestoreOutcome::Refused:
    case RestoreOutcome::Failed:
      break;
  }
  return kFailed;
}

}  // namespace linkora
