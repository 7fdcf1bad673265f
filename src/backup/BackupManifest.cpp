#include "backup/BackupManifest.h"

#include <fmt/printf.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>

#include "common/FileIo.h"
#include "common/Hex.h"
#include "common/Sha256.h"
#include "resources/BackupTexts.h"

namespace linkora {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxManifestSize = 1 << 20;
constexpr std::size_t kMaxBackupFileSize = 1 << 24;

std::optional<BackupFile> Describe(const fs::path& dir, const fs::path& file) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(file, kMaxBackupFileSize, bytes, error)) {
    return std::nullopt;
  }
  return BackupFile{fs::relative(file, dir).generic_string(), bytes.size(), Sha256Hex(bytes)};
}

}  // namespace

std::string BackupModelName(int modelIndex) {
  return modelIndex == 0 ? "RX-2100" : "RX-3100";
}

std::string UtcNowText() {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const std::time_t time = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&time, &utc);
  return fmt::sprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                      utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
}

std::string BackupManifest::ToJson() const {
  nlohmann::json listed = nlohmann::json::array();
  for (const BackupFile& file : files) {
    listed.push_back({{"path", file.path}, {"size", file.size}, {"sha256", file.sha256}});
  }
  nlohmann::json items = nlohmann::json::array();
  for (const BackupMediaItem& item : media) {
    items.push_back({{"slot", item.slot}, {"name", ToHex(item.name)}, {"file", item.file}});
  }
  const nlohmann::json json = {
      {"created", created},
      {"model", model},
      {"phoneNumber", phoneNumber},
      {"port", port},
      {"programVersion", programVersion},
      {"phonebookEntries", phonebookEntries},
      {"schedules", schedules},
      {"ddays", ddays},
      {"messages", messages},
      {"mediaFiles", media.size()},
      {"media", items},
      {"files", listed},
  };
  return json.dump(2) + "\n";
}

std::optional<BackupManifest> BackupManifest::FromJson(std::span<const std::uint8_t> text) {
  const nlohmann::json json = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
  if (json.is_discarded() || !json.is_object() || !json.contains("files") ||
      !json["files"].is_array()) {
    return std::nullopt;
  }
  try {
    BackupManifest manifest;
    manifest.created = json.value("created", "");
    manifest.model = json.value("model", "");
    manifest.phoneNumber = json.value("phoneNumber", "");
    manifest.port = json.value("port", "");
    manifest.programVersion = json.value("programVersion", "");
    manifest.phonebookEntries = json.value("phonebookEntries", 0);
    manifest.schedules = json.value("schedules", 0);
    manifest.ddays = json.value("ddays", 0);
    manifest.messages = json.value("messages", 0);
    for (const auto& file : json["files"]) {
      manifest.files.push_back({file.at("path").get<std::string>(),
                                file.at("size").get<std::uint64_t>(),
                                file.at("sha256").get<std::string>()});
    }
    // Backups made before the media list was recorded have none.
    if (json.contains("media") && json["media"].is_array()) {
      for (const auto& item : json["media"]) {
        BackupMediaItem media;
        media.slot = item.at("slot").get<int>();
        if (!ParseHex(item.at("name").get<std::string>(), media.name)) {
          return std::nullopt;
        }
        media.file = item.at("file").get<std::string>();
        manifest.media.push_back(std::move(media));
      }
    }
    return manifest;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;
  }
}

bool ListBackupFiles(const fs::path& dir, std::vector<BackupFile>& files, std::string& failed) {
  std::vector<fs::path> found;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(dir, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error) && it->path() != dir / kManifestFileName) {
      found.push_back(it->path());
    }
  }
  if (error) {
    failed = dir.string();
    return false;
  }
  std::sort(found.begin(), found.end());
  files.clear();
  for (const fs::path& file : found) {
    const auto described = Describe(dir, file);
    if (!described) {
      failed = file.string();
      return false;
    }
    files.push_back(*described);
  }
  return true;
}

bool WriteManifest(const fs::path& dir, const BackupManifest& manifest, std::string& error) {
  const std::string text = manifest.ToJson();
  return WriteFileAtomically(dir / kManifestFileName,
                             {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                             error);
}

std::optional<BackupManifest> ReadVerifiedManifest(const fs::path& dir, std::string& message,
                                                   std::string* badFile) {
  const auto refuse = [&](std::string_view format, const fs::path& file) {
    message = fmt::sprintf(std::string(format), file.string());
    if (badFile != nullptr) {
      *badFile = file.string();
    }
    return std::nullopt;
  };
  std::vector<std::uint8_t> bytes;
  std::string error;
  const fs::path manifestPath = dir / kManifestFileName;
  if (!ReadWholeFile(manifestPath, kMaxManifestSize, bytes, error)) {
    return refuse(texts::kManifestUnreadable, manifestPath);
  }
  std::optional<BackupManifest> manifest = BackupManifest::FromJson(bytes);
  if (!manifest) {
    return refuse(texts::kManifestMismatch, manifestPath);
  }
  const auto listed = [&](const std::string& path) {
    return std::any_of(manifest->files.begin(), manifest->files.end(),
                       [&](const BackupFile& file) { return file.path == path; });
  };
  std::vector<std::string> needed = {kBackupPhonebookName, kBackupScheduleName};
  for (const BackupMediaItem& item : manifest->media) {
    needed.push_back(item.file);
  }
  for (const std::string& path : needed) {
    if (!listed(path)) {
      return refuse(texts::kManifestMismatch, dir / path);
    }
  }
  for (const BackupFile& file : manifest->files) {
    // A listed path never leaves the folder.
    const fs::path relative(file.path);
    if (relative.is_absolute() || std::any_of(relative.begin(), relative.end(),
                                              [](const fs::path& p) { return p == ".."; })) {
      return refuse(texts::kManifestMismatch, relative);
    }
    const auto actual = Describe(dir, dir / relative);
    if (!actual || actual->size != file.size || actual->sha256 != file.sha256) {
      return refuse(texts::kManifestMismatch, dir / relative);
    }
  }
  return manifest;
}

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

}  // namespace linkora
