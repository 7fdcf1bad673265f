#include <fmt/printf.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "backup/BackupManifest.h"
#include "backup/HandsetBackup.h"
#include "backup/HandsetRestore.h"
#include "cli/CliCommand.h"
#include "cli/CliTransfers.h"
#include "common/FileIo.h"
#include "common/Sha256.h"
#include "common/Sleep.h"
#include "link/ConnectAndVerify.h"
#include "link/PhoneLink.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "resources/CliTexts.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"

namespace linkora::cli {
namespace {

namespace fs = std::filesystem;

int Backup(CommandRun& run) {
  const fs::path dir = run.operands[0];
  if (!HoldsNoFile(dir)) {
    run.env.err << fmt::sprintf(std::string(texts::kCliBackupFolderNotEmpty), dir.string()) << '\n';
    return kExitUsage;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  const BackupResult result = HandsetBackup(run.Link(), run.host).Run(*settings, dir);
  run.host.FinishLine();
  if (!result.done) {
    return run.host.Cancelled() ? kExitCancelled : kExitFailed;
  }
  const BackupManifest& manifest = result.manifest;
  if (run.args.json) {
    run.PrintJson(manifest.ToJson());
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliBackupSummary), dir.string(), manifest.model,
                                manifest.phonebookEntries, manifest.schedules, manifest.ddays,
                                manifest.messages, static_cast<int>(manifest.media.size()));
  }
  // Items of a kind the PC cannot hold were passed over, as a media pull does.
  return result.skippedMedia > 0 ? kExitRefused : kExitDone;
}

void PrintPlan(CommandRun& run, const RestorePlan& plan) {
  if (run.args.json) {
    nlohmann::json media = nlohmann::json::array();
    for (const BackupMediaItem& item : plan.mediaToUpload) {
      media.push_back(item.file);
    }
    const auto counts = [](const RestorePlan::Counts& c) {
      return nlohmann::json{{"added", c.added}, {"changed", c.changed}, {"removed", c.removed}};
    };
    run.PrintJson(nlohmann::json{{"entries", counts(plan.entries)},
                                 {"groupsChanged", plan.groupsChanged},
                                 {"schedules", counts(plan.schedules)},
                                 {"ddays", counts(plan.ddays)},
                                 {"mediaToUpload", media},
                                 {"changes", plan.details}}
                      .dump(2));
  } else {
    run.env.out << plan.Text();
  }
}

int Restore(CommandRun& run) {
  const fs::path dir = run.operands[0];
  // Refused before a port is searched or anything is sent.
  std::string message;
  std::string badFile;
  if (!ReadVerifiedManifest(dir, message, &badFile)) {
    const fs::path manifest = dir / kManifestFileName;
    const bool unreadable = badFile == manifest.string() && !fs::is_regular_file(manifest);
    run.host.ShowMessage(fmt::sprintf(
        std::string(unreadable ? texts::kCliCannotReadFile : texts::kCliNotInManifest), badFile));
    return kExitRefused;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  HandsetRestore::Confirm confirm;
  if (!run.args.dryRun) {
    confirm = [&run](const RestorePlan& plan) {
      run.host.FinishLine();
      const std::string question = plan.Text() + std::string(texts::kCliRestoreQuestion);
      const std::string_view questions[] = {question};
      return run.Confirm(questions);
    };
  }
  const RestoreResult result = HandsetRestore(run.Link(), run.host).Run(*settings, dir, confirm);
  run.host.FinishLine();
  switch (result.outcome) {
    case RestoreOutcome::Refused:
      return kExitRefused;
    case RestoreOutcome::Failed:
      return run.host.Cancelled() ? kExitCancelled : kExitFailed;
    case RestoreOutcome::Unchanged:
      PrintPlan(run, result.plan);
      return kExitDone;
    case RestoreOutcome::Declined:
      return kExitCancelled;
    case RestoreOutcome::Restored:
      break;
  }
  run.handsetRestarted = true;
  run.env.out << fmt::sprintf(std::string(texts::kCliRestoreSummary), dir.string());
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"backup"},
     "DIR",
     1,
     1,
     "save phonebook, schedules, messages and media in a new folder, with a manifest",
     &Backup},
    {{"restore"},
     "DIR",
     1,
     1,
     "write a backup's phonebook, schedules and missing media back to the handset "
     "(--dry-run: only list the changes)",
     &Restore},
};

}  // namespace

std::span<const CliCommand> BackupCommands() {
  return kCommands;
}

}  // namespace linkora::cli
