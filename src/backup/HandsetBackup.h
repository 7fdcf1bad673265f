#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "backup/BackupManifest.h"
#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class TransferHost;

// The parts of a backup, in the order one visit reads them.
enum class BackupSection { Connect, Phonebook, Schedule, Messages, MediaList, Media, Files };

// The Korean name of a section, as the failure message gives it.
std::string_view BackupSectionName(BackupSection section);

struct BackupResult {
  bool done = false;
  // The section that failed (its message, then "...단계에서 실패했습니다." shown).
  std::optional<BackupSection> failed;
  // Items the backup passed over (a kind the PC cannot hold), each with its message shown.
  int skippedMedia = 0;
  BackupManifest manifest;
  // Where an unfinished backup was left, when the caller asked to keep it;
  // otherwise it was removed.
  std::optional<std::filesystem::path> partialKept;
  // An unfinished backup an earlier run left under the work name was removed.
  bool removedStalePartial = false;
};

// Copies the whole handset into a new folder in one visit: connects and
// verifies once, reads the phonebook, the schedules and D-days, the messages,
// the media list and every media item over that link, ends the visit with one
// mode return, and writes the manifest last. The files are written into a
// work folder ("DIR.partial") that becomes DIR only once the manifest is in
// it; a failure or a stop removes it (or, with `keepPartial`, leaves it
// under its work name), so DIR is either a whole backup or not there.
class HandsetBackup {
 public:
  HandsetBackup(LinkContext context, TransferHost& host) : context_(context), host_(host) {}

  BackupResult Run(const ConnectSettings& settings, const std::filesystem::path& folder,
                   bool keepPartial = false);

 private:
  LinkContext context_;
  TransferHost& host_;
};

// The summary shown at the end of a backup.
std::string BackupSummaryText(const BackupManifest& manifest);

}  // namespace linkora
