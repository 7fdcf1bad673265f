#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Version.h"

namespace linkora {

// What a backup folder holds.
inline constexpr const char* kManifestFileName = "manifest.json";
inline constexpr const char* kBackupPhonebookName = "phonebook.ndf";
inline constexpr const char* kBackupScheduleName = "schedule.nsf";
inline constexpr const char* kBackupMessagesFolder = "messages";
inline constexpr const char* kBackupMediaFolder = "media";

// One file of the folder, its path relative to the folder.
struct BackupFile {
  std::string path;
  std::uint64_t size = 0;
  std::string sha256;
};

// One media item of the handset and the file that holds it.
struct BackupMediaItem {
  int slot = 0;
  std::vector<std::uint8_t> name;  // as stored on the handset (CP949)
  std::string file;                // relative to the folder
};

// The manifest layout this program writes and the newest it reads. 1 is a
// manifest without "formatVersion"; 2 added the kind and the sections.
inline constexpr int kManifestFormatVersion = 2;

// The parts of the handset a backup folder holds for a restore to write.
inline constexpr const char* kSectionNamePhonebook = "phonebook";
inline constexpr const char* kSectionNameSchedule = "schedule";

// manifest.json: written last, so a folder without it is no backup. The
// file list lets a restore tell that nothing was changed since.
struct BackupManifest {
  int formatVersion = kManifestFormatVersion;
  // "backup" (the user's), or "safety" (kept before a write replaced it).
  std::string kind = "backup";
  // The sections a restore writes from this folder; a full backup holds both.
  std::vector<std::string> sections = {kSectionNamePhonebook, kSectionNameSchedule};
  std::string created;  // UTC, "2026-12-07T15:00:00Z"
  std::string model;    // "RX-2100" or "RX-3100"
  std::string phoneNumber;
  std::string port;
  std::string programVersion = std::string(kProgramVersion);
  int phonebookEntries = 0;
  int schedules = 0;
  int ddays = 0;
  int messages = 0;
  std::vector<BackupMediaItem> media;
  std::vector<BackupFile> files;

  bool Holds(std::string_view section) const;

  std::string ToJson() const;
  // Nothing (and, given `why`, the reason) for a text that is not a manifest
  // of a version this program reads. Every number is checked for its type
  // and range before it is taken.
  static std::optional<BackupManifest> FromJson(std::span<const std::uint8_t> text,
                                                std::string* why = nullptr);
};

// The model name a manifest records for a ModelIndex.
std::string BackupModelName(int modelIndex);

// The current time as a manifest records it.
std::string UtcNowText();

// Every file under `dir` but the manifest, sorted, with size and SHA-256.
// False (and the file's path in `failed`) when one cannot be read.
bool ListBackupFiles(const std::filesystem::path& dir, std::vector<BackupFile>& files,
                     std::string& failed);

// Writes manifest.json into `dir`; false and the cause on failure.
bool WriteManifest(const std::filesystem::path& dir, const BackupManifest& manifest,
                   std::string& error);

// Reads the manifest of `dir` and checks every file it lists, and that the
// files a restore takes are among them. Gives the manifest, or nothing and
// the message to show (naming the first file that does not match).
// `badFile`, when given, gets that file's path; `reason`, why a manifest
// could not be read.
std::optional<BackupManifest> ReadVerifiedManifest(const std::filesystem::path& dir,
                                                   std::string& message,
                                                   std::string* badFile = nullptr,
                                                   std::string* reason = nullptr);

// True when `dir` is missing or holds no file (empty folders are fine: a
// failed backup leaves those).
bool HoldsNoFile(const std::filesystem::path& dir);

}  // namespace linkora
