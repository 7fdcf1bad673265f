#pragma once

#include <filesystem>
#include <optional>

#include "backup/HandsetBackup.h"
#include "backup/HandsetRestore.h"
#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

// The one progress window of a whole-handset backup or restore: the step
// titles of the visit, the summary at the end; a restore shows its change
// list and asks once before anything is written.
class HandsetVisitDialog final : public SyncProgressDialog {
 public:
  enum class Job { Backup, Restore };

  HandsetVisitDialog(Job job, LinkContext context, const ConnectSettings& settings,
                     std::filesystem::path folder, PromptService& prompts,
                     QWidget* parent = nullptr);

  const std::optional<BackupResult>& Backup() const { return backup_; }
  const std::optional<RestoreResult>& Restore() const { return restore_; }

 protected:
  bool PrepareStart() override;
  int Run() override;

 private:
  Job job_;
  LinkContext context_;
  ConnectSettings settings_;
  std::filesystem::path folder_;
  std::optional<BackupResult> backup_;
  std::optional<RestoreResult> restore_;
};

}  // namespace linkora
