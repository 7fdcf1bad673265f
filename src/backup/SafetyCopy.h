#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace linkora {

class Phonebook;
class ScheduleStore;

// What a write beyond the handset's own exchanges is about to replace, kept
// as an ordinary backup folder (restorable like any backup) under
// <data folder>/safety/<local date and time>/. The newest ten are kept.
struct SafetyContent {
  const Phonebook* phonebook = nullptr;      // none: the write leaves it alone
  const ScheduleStore* schedules = nullptr;  // likewise
  std::string model;                         // "RX-3100"
  std::string phoneNumber;                   // "" when unknown
  std::string port;
};

inline constexpr int kSafetyCopiesKept = 10;
inline constexpr const char* kRestoreMarkFileName = "restore-in-progress.json";

std::filesystem::path SafetyCopiesFolder(const std::filesystem::path& dataDir);

// Writes the copy and prunes the oldest beyond ten (never one that holds a
// restore mark). Gives its folder, or nothing and the message.
std::optional<std::filesystem::path> SaveSafetyCopy(
    const std::filesystem::path& dataDir, const SafetyContent& content, std::string& error,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// Written into the safety copy of a restore before its first write and
// removed when the write has ended: a mark left behind means the handset may
// hold part of the backup and part of what it held before.
struct RestoreMark {
  std::string backup;                 // the folder being restored (absolute)
  std::vector<std::string> sections;  // "phonebook", "schedule", "media"
  std::string model;
  std::string phoneNumber;
  std::string started;               // UTC
  std::filesystem::path safetyCopy;  // the folder holding the mark (not stored)
};

bool WriteRestoreMark(const std::filesystem::path& safetyCopy, const RestoreMark& mark,
                      std::string& error);
void ClearRestoreMark(const std::filesystem::path& safetyCopy);
// The marks under the data folder, oldest first.
std::vector<RestoreMark> FindRestoreMarks(const std::filesystem::path& dataDir);
// After a restore that ended whole, the marks of earlier ones to the same
// handset (same model and phone number, or a number unknown on either side)
// are done with.
void ClearRestoreMarksFor(const std::filesystem::path& dataDir, const std::string& model,
                          const std::string& phoneNumber);

// The Korean names of a mark's sections, joined ("전화번호부, 스케줄/D-day").
std::string RestoreSectionNames(const std::vector<std::string>& sections);
// The message for an unfinished restore: what may be half written and the
// two ways back.
std::string UnfinishedRestoreText(const RestoreMark& mark);

}  // namespace linkora
