#include "backup/BackupManifest.h"

#include <fmt/printf.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
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
      {"formatVersion", formatVersion},
      {"kind", kind},
      {"sections", sections},
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

bool BackupManifest::Holds(std::string_view section) const {
  return std::find(sections.begin(), sections.end(), section) != sections.end();
}

namespace {

// Reads the manifest's fields with their types and ranges checked; any
// mismatch throws with the field's name, so a hostile number never reaches
// a conversion that could overflow.
class ManifestFields {
 public:
  struct Bad {
    std::string why;
  };

  static const nlohmann::json& Field(const nlohmann::json& object, const char* name) {
    if (!object.is_object() || !object.contains(name)) {
      throw Bad{std::string("\"") + name + "\" is missing"};
    }
    return object[name];
  }

  static std::string Text(const nlohmann::json& object, const char* name, bool required = false) {
    if (!object.contains(name) && !required) {
      return {};
    }
    const nlohmann::json& value = Field(object, name);
    if (!value.is_string()) {
      throw Bad{std::string("\"") + name + "\" is not a text"};
    }
    return value.get<std::string>();
  }

  // A whole number within [low, high]; floats ("1e20", "2.5") are refused.
  static std::int64_t Whole(const nlohmann::json& object, const char* name, std::int64_t low,
                            std::int64_t high, bool required = false) {
    if (!object.contains(name) && !required) {
      return low;
    }
    const nlohmann::json& value = Field(object, name);
    bool fits = false;
    std::int64_t number = 0;
    if (value.is_number_unsigned()) {
      const auto u = value.get<std::uint64_t>();
      fits = u <= static_cast<std::uint64_t>(high);
      number = fits ? static_cast<std::int64_t>(u) : 0;
    } else if (value.is_number_integer()) {
      number = value.get<std::int64_t>();
      fits = true;
    }
    if (!fits || number < low || number > high) {
      throw Bad{std::string("\"") + name + "\" is not a whole number from " + std::to_string(low) +
                " to " + std::to_string(high)};
    }
    return number;
  }
};

constexpr std::int64_t kMaxCount = 100000;

}  // namespace

std::optional<BackupManifest> BackupManifest::FromJson(std::span<const std::uint8_t> text,
                                                       std::string* why) {
  const auto refuse = [why](std::string reason) -> std::optional<BackupManifest> {
    if (why != nullptr) {
      *why = std::move(reason);
    }
    return std::nullopt;
  };
  const nlohmann::json json = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    return refuse("not a JSON object");
  }
  using F = ManifestFields;
  try {
    BackupManifest manifest;
    manifest.formatVersion =
        static_cast<int>(F::Whole(json, "formatVersion", 1, std::numeric_limits<int>::max()));
    if (manifest.formatVersion > kManifestFormatVersion) {
      return refuse(
          fmt::sprintf("written in manifest format %d by a newer program; this one reads up to %d",
                       manifest.formatVersion, kManifestFormatVersion));
    }
    const nlohmann::json& files = F::Field(json, "files");
    if (!files.is_array()) {
      throw F::Bad{"\"files\" is not a list"};
    }
    manifest.kind = json.contains("kind") ? F::Text(json, "kind") : "backup";
    if (json.contains("sections")) {
      const nlohmann::json& sections = json["sections"];
      if (!sections.is_array()) {
        throw F::Bad{"\"sections\" is not a list"};
      }
      manifest.sections.clear();
      for (const auto& section : sections) {
        if (!section.is_string() ||
            (section != kSectionNamePhonebook && section != kSectionNameSchedule)) {
          throw F::Bad{"\"sections\" names a section this program does not know"};
        }
        manifest.sections.push_back(section.get<std::string>());
      }
    }
    manifest.created = F::Text(json, "created");
    manifest.model = F::Text(json, "model");
    manifest.phoneNumber = F::Text(json, "phoneNumber");
    manifest.port = F::Text(json, "port");
    manifest.programVersion = F::Text(json, "programVersion");
    manifest.phonebookEntries = static_cast<int>(F::Whole(json, "phonebookEntries", 0, kMaxCount));
    manifest.schedules = static_cast<int>(F::Whole(json, "schedules", 0, kMaxCount));
    manifest.ddays = static_cast<int>(F::Whole(json, "ddays", 0, kMaxCount));
    manifest.messages = static_cast<int>(F::Whole(json, "messages", 0, kMaxCount));
    for (const auto& file : files) {
      manifest.files.push_back(
          {F::Text(file, "path", true),
           static_cast<std::uint64_t>(
               F::Whole(file, "size", 0, std::numeric_limits<std::int64_t>::max(), true)),
           F::Text(file, "sha256", true)});
    }
    // Backups made before the media list was recorded have none.
    if (json.contains("media") && json["media"].is_array()) {
      for (const auto& item : json["media"]) {
        BackupMediaItem media;
        media.slot = static_cast<int>(F::Whole(item, "slot", 0, 999, true));
        if (!ParseHex(F::Text(item, "name", true), media.name)) {
          throw F::Bad{"a media item's \"name\" is not hexadecimal"};
        }
        media.file = F::Text(item, "file", true);
        manifest.media.push_back(std::move(media));
      }
    }
    return manifest;
  } catch (const ManifestFields::Bad& bad) {
    return refuse(bad.why);
  } catch (const nlohmann::json::exception& error) {
    return refuse(error.what());
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
                                                   std::string* badFile, std::string* reason) {
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
    if (reason != nullptr) {
      *reason = error;
    }
    return refuse(texts::kManifestUnreadable, manifestPath);
  }
  std::string why;
  std::optional<BackupManifest> manifest = BackupManifest::FromJson(bytes, &why);
  if (!manifest) {
    refuse(texts::kManifestUnreadable, manifestPath);
    message += " (" + why + ")";
    if (reason != nullptr) {
      *reason = why;
    }
    return std::nullopt;
  }
  const auto listed = [&](const std::string& path) {
    return std::any_of(manifest->files.begin(), manifest->files.end(),
                       [&](const BackupFile& file) { return file.path == path; });
  };
  std::vector<std::string> needed;
  if (manifest->Holds(kSectionNamePhonebook)) {
    needed.push_back(kBackupPhonebookName);
  }
  if (manifest->Holds(kSectionNameSchedule)) {
    needed.push_back(kBackupScheduleName);
  }
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
