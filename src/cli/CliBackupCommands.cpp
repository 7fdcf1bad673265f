#include <fmt/printf.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

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

constexpr const char* kManifestName = "manifest.json";
constexpr const char* kPhonebookName = "phonebook.ndf";
constexpr const char* kScheduleName = "schedule.nsf";
constexpr const char* kMessagesFolder = "messages";
constexpr const char* kMediaFolder = "media";
constexpr std::size_t kMaxManifestSize = 1 << 20;
constexpr std::size_t kMaxBackupFileSize = 1 << 24;

std::string UtcNow() {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const std::time_t time = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&time, &utc);
  return fmt::sprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                      utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
}

// Size and SHA-256 of one file of the backup, its path relative to the folder.
std::optional<nlohmann::json> FileEntry(const fs::path& dir, const fs::path& file) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(file, kMaxBackupFileSize, bytes, error)) {
    return std::nullopt;
  }
  return nlohmann::json{{"path", fs::relative(file, dir).generic_string()},
                        {"size", bytes.size()},
                        {"sha256", Sha256Hex(bytes)}};
}

// A backup goes into a folder that holds no file yet (a missing one, or one
// left with empty folders by a backup that failed).
bool HoldsNoFile(const fs::path& dir) {
  std::error_code error;
  if (!fs::exists(dir, error)) {
    return true;
  }
  if (!fs::is_directory(dir, error)) {
    return false;
  }
  for (auto it = fs::recursive_directory_iterator(dir, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_directory(error)) {
      return false;
    }
  }
  return !error;
}

int Backup(CommandRun& run) {
  const fs::path dir = run.operands[0];
  if (!HoldsNoFile(dir)) {
    run.env.err << fmt::sprintf(std::string(texts::kCliBackupFolderNotEmpty), dir.string()) << '\n';
    return kExitUsage;
  }
  if (!run.MakeFolder(dir) || !run.MakeFolder(dir / kMessagesFolder) ||
      !run.MakeFolder(dir / kMediaFolder)) {
    return kExitFileError;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  int usedSlots = 0;
  ScheduleStore store;
  std::vector<std::string> messages;
  int media = 0;
  if (const int code =
          PullPhonebookFile(run, *settings, (dir / kPhonebookName).string(), usedSlots);
      code != kExitDone) {
    return code;
  }
  if (const int code = PullScheduleFile(run, *settings, (dir / kScheduleName).string(), store);
      code != kExitDone) {
    return code;
  }
  if (const int code = PullMessageFiles(run, *settings, dir / kMessagesFolder, messages);
      code != kExitDone) {
    return code;
  }
  const int mediaCode = PullMediaFiles(run, *settings, dir / kMediaFolder, {}, media);
  if (mediaCode != kExitDone && mediaCode != kExitRefused) {
    return mediaCode;
  }

  // The manifest lists every file of the folder, so a restore can tell that
  // nothing was changed since.
  std::vector<fs::path> files;
  for (const auto& item : fs::recursive_directory_iterator(dir)) {
    if (item.is_regular_file()) {
      files.push_back(item.path());
    }
  }
  std::sort(files.begin(), files.end());
  nlohmann::json listed = nlohmann::json::array();
  for (const fs::path& file : files) {
    const auto entry = FileEntry(dir, file);
    if (!entry) {
      run.host.ShowMessage(fmt::sprintf(std::string(texts::kCliCannotReadFile), file.string()));
      return kExitFailed;
    }
    listed.push_back(*entry);
  }
  const nlohmann::json manifest = {
      {"created", UtcNow()},
      {"model", run.state.ModelIndex == 0 ? "RX-2100" : "RX-3100"},
      {"port", settings->portName},
      {"phonebookEntries", usedSlots},
      {"schedules", store.ScheduleCount()},
      {"ddays", store.DdayCount()},
      {"messages", messages.size()},
      {"mediaFiles", media},
      {"files", listed},
  };
  const std::string text = manifest.dump(2) + "\n";
  std::string error;
  if (!WriteFileAtomically(dir / kManifestName,
                           {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                           error)) {
    run.host.ShowMessage(error);
    return kExitFailed;
  }
  if (run.args.json) {
    run.PrintJson(manifest.dump(2));
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliBackupSummary), dir.string(),
                                std::string(manifest["model"]), usedSlots, store.ScheduleCount(),
                                store.DdayCount(), static_cast<int>(messages.size()), media);
  }
  return mediaCode;
}

// Checks that a file of the backup is the one its manifest lists.
bool MatchesManifest(CommandRun& run, const fs::path& dir, const nlohmann::json& manifest,
                     const char* name) {
  const auto entry = FileEntry(dir, dir / name);
  if (entry && manifest.contains("files") && manifest["files"].is_array()) {
    for (const auto& listed : manifest["files"]) {
      if (listed.value("path", "") == name) {
        if (listed.value("sha256", "") == (*entry)["sha256"] &&
            listed.value("size", -1) == (*entry)["size"]) {
          return true;
        }
        break;
      }
    }
  }
  run.host.ShowMessage(fmt::sprintf(std::string(texts::kCliNotInManifest), (dir / name).string()));
  return false;
}

int Restore(CommandRun& run) {
  const fs::path dir = run.operands[0];
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(dir / kManifestName, kMaxManifestSize, bytes, error)) {
    run.host.ShowMessage(
        fmt::sprintf(std::string(texts::kCliCannotReadFile), (dir / kManifestName).string()));
    return kExitRefused;
  }
  const nlohmann::json manifest = nlohmann::json::parse(bytes, nullptr, false);
  if (manifest.is_discarded() || !manifest.is_object() ||
      !MatchesManifest(run, dir, manifest, kPhonebookName) ||
      !MatchesManifest(run, dir, manifest, kScheduleName)) {
    if (manifest.is_discarded() || !manifest.is_object()) {
      run.host.ShowMessage(
          fmt::sprintf(std::string(texts::kCliNotInManifest), (dir / kManifestName).string()));
    }
    return kExitRefused;
  }
  const std::string_view questions[] = {texts::kCliRestoreQuestion};
  if (!run.Confirm(questions)) {
    return kExitCancelled;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  if (const int code = PushPhonebookFile(run, *settings, (dir / kPhonebookName).string());
      code != kExitDone) {
    return code;
  }
  // A phonebook with nothing to write leaves the handset in diagnostic mode.
  if (!run.handsetRestarted) {
    EndHandsetVisit(run.Link(), run.host.DiagPortName());
  }
  run.handsetRestarted = false;
  if (!run.WaitForRestart(run.host.DiagPortName())) {
    return kExitFailed;
  }
  if (const int code = PushScheduleFile(run, *settings, (dir / kScheduleName).string());
      code != kExitDone) {
    return code;
  }
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
     "write a backup's phonebook and schedules back to the handset",
     &Restore},
};

}  // namespace

std::span<const CliCommand> BackupCommands() {
  return kCommands;
}

}  // namespace linkora::cli
