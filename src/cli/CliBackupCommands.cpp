#include <fmt/printf.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "backup/BackupManifest.h"
#include "backup/BackupWorkFolder.h"
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
  const BackupResult result =
      HandsetBackup(run.Link(), run.host).Run(*settings, dir, run.args.keepPartial);
  run.host.FinishLine();
  if (result.removedStalePartial) {
    run.env.err << fmt::sprintf(std::string(texts::kCliBackupStaleRemoved),
                                BackupWorkFolder::WorkPathFor(dir).string());
  }
  if (!result.done) {
    // Said before the tool's last line: what is left of the backup.
    run.env.err << (result.partialKept
                        ? fmt::sprintf(std::string(texts::kCliBackupPartialKept),
                                       result.partialKept->string())
                        : fmt::sprintf(std::string(texts::kCliBackupPartialRemoved), dir.string()));
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
  std::string reason;
  if (!ReadVerifiedManifest(dir, message, &badFile, &reason)) {
    const fs::path manifest = dir / kManifestFileName;
    if (badFile == manifest.string()) {
      run.host.ShowMessage(
          fmt::sprintf(std::string(texts::kCliCannotReadFileBecause), badFile, reason));
    } else {
      run.host.ShowMessage(fmt::sprintf(std::string(texts::kCliNotInManifest), badFile));
    }
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
  RestoreOptions options;
  options.dataDir = run.SafetyDataDir();
  // --yes answers the change list, never this: another handset's backup
  // needs --other-handset or a yes typed at the question.
  if (run.args.otherHandset) {
    options.otherHandset = [](const std::string&, const std::string&) { return true; };
  } else if (run.env.interactive) {
    options.otherHandset = [&run](const std::string& backupNumber,
                                  const std::string& handsetNumber) {
      run.host.FinishLine();
      run.env.err << fmt::sprintf(std::string(texts::kCliRestoreOtherNumber), backupNumber,
                                  handsetNumber)
                  << texts::kCliConfirmPrompt << std::flush;
      std::string answer;
      std::getline(run.env.in, answer);
      return answer == "y" || answer == "Y" || answer == "yes";
    };
  }
  const RestoreResult result =
      HandsetRestore(run.Link(), run.host).Run(*settings, dir, confirm, options);
  run.host.FinishLine();
  run.safetyCopy = result.safetyCopy;
  switch (result.outcome) {
    case RestoreOutcome::Refused:
      run.failedStep = "identity";
      return kExitRefused;
    case RestoreOutcome::Failed:
      if (result.interrupted) {
        run.failedStep = "restore-write";
      }
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
  nlohmann::json failed = nlohmann::json::array();
  for (const RestoreResult::MediaFailure& item : result.mediaFailed) {
    failed.push_back({{"file", item.file}, {"reason", item.reason}});
  }
  const RestorePlan& plan = result.plan;
  if (run.args.json) {
    run.PrintJson(nlohmann::json{
        {"folder", dir.string()},
        {"phonebook", plan.PhonebookChanges()},
        {"schedules", plan.ScheduleChanges()},
        {"mediaUploaded", result.mediaUploaded},
        {"mediaFailed",
         failed}}.dump(2));
  } else {
    const auto what = [&plan]() {
      std::string parts;
      const auto add = [&parts](const char* part) {
        parts += (parts.empty() ? "" : ", ") + std::string(part);
      };
      if (plan.PhonebookChanges()) {
        add("the phonebook");
      }
      if (plan.ScheduleChanges()) {
        add("the schedules and D-days");
      }
      return parts;
    }();
    run.env.out << fmt::sprintf(std::string(texts::kCliRestoreSummary), dir.string(),
                                what.empty() ? std::string("nothing but media") : what,
                                result.mediaUploaded, static_cast<int>(plan.mediaToUpload.size()));
  }
  if (!result.mediaFailed.empty()) {
    return run.Fail(kExitRefused, "media",
                    fmt::sprintf(std::string(texts::kCliRestoreMediaNotDone),
                                 static_cast<int>(result.mediaFailed.size())));
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"backup"},
     "DIR",
     1,
     1,
     "save phonebook, schedules, messages and media in a new folder, with a manifest",
     &Backup,
     kHandsetReadOptions | kOptKeepPartial},
    {{"restore"},
     "DIR",
     1,
     1,
     "write a backup's phonebook, schedules and missing media back to the handset of the same "
     "model and number, keeping what it held in a safety copy (--dry-run: only list the changes)",
     &Restore,
     kHandsetWriteOptions | kOptDryRun | kOptOtherHandset | kOptNoSafetyCopy},
};

}  // namespace

std::span<const CliCommand> BackupCommands() {
  return kCommands;
}

}  // namespace linkora::cli
