#include "backup/SafetyCopy.h"

#include <fmt/printf.h>

#include <algorithm>
#include <ctime>
#include <nlohmann/json.hpp>

#include "backup/BackupManifest.h"
#include "backup/BackupWorkFolder.h"
#include "common/FileIo.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "resources/BackupTexts.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"

namespace linkora {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxMarkSize = 1 << 16;

std::string LocalFolderName(std::chrono::system_clock::time_point now) {
  const std::time_t time = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&time, &local);
  return fmt::sprintf("%04d-%02d-%02d_%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

// The safety copies, oldest first (their names sort by time).
std::vector<fs::path> SafetyCopies(const fs::path& dataDir) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(SafetyCopiesFolder(dataDir), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_directory(ec) && it->path().extension() != ".partial") {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

void Prune(const fs::path& dataDir) {
  std::vector<fs::path> copies = SafetyCopies(dataDir);
  std::erase_if(copies, [](const fs::path& dir) {
    std::error_code ec;
    return fs::exists(dir / kRestoreMarkFileName, ec);
  });
  const auto excess = static_cast<long>(copies.size()) - kSafetyCopiesKept;
  for (long i = 0; i < excess; ++i) {
    std::error_code ec;
    fs::remove_all(copies[static_cast<std::size_t>(i)], ec);
  }
}

std::string Digits(const std::string& text) {
  std::string digits;
  std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
               [](char c) { return c >= '0' && c <= '9'; });
  return digits;
}

}  // namespace

fs::path SafetyCopiesFolder(const fs::path& dataDir) {
  return dataDir / "safety";
}

std::optional<fs::path> SaveSafetyCopy(const fs::path& dataDir, const SafetyContent& content,
                                       std::string& error,
                                       std::chrono::system_clock::time_point now) {
  const fs::path root = SafetyCopiesFolder(dataDir);
  std::error_code ec;
  fs::create_directories(root, ec);
  const std::string name = LocalFolderName(now);
  fs::path final = root / name;
  for (int n = 2; fs::exists(final, ec) || fs::exists(BackupWorkFolder::WorkPathFor(final), ec);
       ++n) {
    final = root / (name + "-" + std::to_string(n));
  }
  BackupWorkFolder work(final);
  if (!work.Create(error)) {
    return std::nullopt;
  }
  BackupManifest manifest;
  manifest.kind = "safety";
  manifest.sections.clear();
  manifest.model = content.model;
  manifest.phoneNumber = content.phoneNumber;
  manifest.port = content.port;
  if (content.phonebook != nullptr) {
    if (!SavePhonebookFile(work.Path() / kBackupPhonebookName, *content.phonebook, error)) {
      return std::nullopt;
    }
    manifest.sections.push_back(kSectionNamePhonebook);
    manifest.phonebookEntries = content.phonebook->Flags().UsedCount();
  }
  if (content.schedules != nullptr) {
    const ScheduleSaveResult saved =
        SaveScheduleFile(work.Path() / kBackupScheduleName, *content.schedules);
    if (!saved.saved) {
      error = saved.detail.empty() ? saved.message : saved.detail;
      return std::nullopt;
    }
    manifest.sections.push_back(kSectionNameSchedule);
    manifest.schedules = content.schedules->ScheduleCount();
    manifest.ddays = content.schedules->DdayCount();
  }
  std::string failed;
  if (!ListBackupFiles(work.Path(), manifest.files, failed)) {
    error = fmt::sprintf(std::string(texts::kManifestUnreadable), failed);
    return std::nullopt;
  }
  manifest.created = UtcNowText();
  if (!WriteManifest(work.Path(), manifest, error) || !work.Commit(error)) {
    return std::nullopt;
  }
  Prune(dataDir);
  return final;
}

bool WriteRestoreMark(const fs::path& safetyCopy, const RestoreMark& mark, std::string& error) {
  const std::string text = nlohmann::json{{"backup", mark.backup},
                                          {"sections", mark.sections},
                                          {"model", mark.model},
                                          {"phoneNumber", mark.phoneNumber},
                                          {"started", mark.started}}
                               .dump(2) +
                           "\n";
  return WriteFileAtomically(safetyCopy / kRestoreMarkFileName,
                             {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                             error);
}

void ClearRestoreMark(const fs::path& safetyCopy) {
  std::error_code ec;
  fs::remove(safetyCopy / kRestoreMarkFileName, ec);
}

std::vector<RestoreMark> FindRestoreMarks(const fs::path& dataDir) {
  std::vector<RestoreMark> marks;
  for (const fs::path& dir : SafetyCopies(dataDir)) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    std::error_code ec;
    if (!fs::exists(dir / kRestoreMarkFileName, ec)) {
      continue;
    }
    RestoreMark mark;
    mark.safetyCopy = dir;
    // A mark that cannot be read still says a restore stopped.
    if (ReadWholeFile(dir / kRestoreMarkFileName, kMaxMarkSize, bytes, error)) {
      const auto json = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
      const auto text = [&json](const char* name) {
        return json.is_object() && json.contains(name) && json[name].is_string()
                   ? json[name].get<std::string>()
                   : std::string();
      };
      mark.backup = text("backup");
      mark.model = text("model");
      mark.phoneNumber = text("phoneNumber");
      mark.started = text("started");
      if (json.is_object() && json.contains("sections") && json["sections"].is_array()) {
        for (const auto& section : json["sections"]) {
          if (section.is_string()) {
            mark.sections.push_back(section.get<std::string>());
          }
        }
      }
    }
    marks.push_back(std::move(mark));
  }
  return marks;
}

void ClearRestoreMarksFor(const fs::path& dataDir, const std::string& model,
                          const std::string& phoneNumber) {
  for (const RestoreMark& mark : FindRestoreMarks(dataDir)) {
    const bool sameModel = mark.model.empty() || model.empty() || mark.model == model;
    const bool sameNumber = mark.phoneNumber.empty() || phoneNumber.empty() ||
                            Digits(mark.phoneNumber) == Digits(phoneNumber);
    if (sameModel && sameNumber) {
      ClearRestoreMark(mark.safetyCopy);
    }
  }
}

std::string RestoreSectionNames(const std::vector<std::string>& sections) {
  std::string names;
  for (const std::string& section : sections) {
    const std::string_view name = section == kSectionNamePhonebook  ? texts::kSectionPhonebook
                                  : section == kSectionNameSchedule ? texts::kSectionSchedule
                                                                    : texts::kSectionMedia;
    names += (names.empty() ? "" : ", ") + std::string(name);
  }
  return names.empty() ? std::string(texts::kSectionPhonebook) : names;
}

std::string UnfinishedRestoreText(const RestoreMark& mark) {
  return fmt::sprintf(std::string(texts::kRestoreUnfinished), RestoreSectionNames(mark.sections),
                      mark.backup.empty() ? std::string("?") : mark.backup,
                      mark.safetyCopy.string());
}

}  // namespace linkora
