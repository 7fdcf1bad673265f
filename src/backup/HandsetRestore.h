#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backup/RestorePlan.h"
#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class TransferHost;

enum class RestoreOutcome {
  Refused,    // the backup does not match its manifest; nothing was sent
  Failed,     // the handset or a transfer failed (message shown)
  Unchanged,  // the handset already holds the backup, or a dry run
  Declined,   // the user said no to the change list
  Restored,   // written; the handset restarts
};

struct RestoreResult {
  struct MediaFailure {
    std::string file;    // relative to the backup folder
    std::string reason;  // the message shown
  };
  RestoreOutcome outcome = RestoreOutcome::Failed;
  RestorePlan plan;
  int mediaUploaded = 0;
  // Items of the plan that were not written, each with its reason.
  std::vector<MediaFailure> mediaFailed;
  // Where what the handset held before was kept.
  std::optional<std::filesystem::path> safetyCopy;
  // The write began and did not end: the handset may be half written, and
  // the mark in the safety copy says so to the next connect.
  bool interrupted = false;
};

struct RestoreOptions {
  // The data folder for the safety copy; empty keeps none (and writes no mark).
  std::filesystem::path dataDir;
  // Asked when the backup is of another phone number than the handset's,
  // with both numbers; true to go on. Without it such a restore is refused.
  std::function<bool(const std::string& backupNumber, const std::string& handsetNumber)>
      otherHandset;
};

// Writes a backup back in one visit: checks the folder against its manifest
// before anything is sent, connects and verifies once (writer), refuses a
// backup of another model (and of another phone number unless the user says
// so), reads the handset to find what will change, asks once, keeps what it
// read as a safety copy with a mark that the restore is under way, then goes
// offline, writes the phonebook, the schedules and D-days (each only when it
// changes) and the media items missing on the handset, ends with one reset
// and removes the mark.
class HandsetRestore {
 public:
  // Shown the change list; true to go on.
  using Confirm = std::function<bool(const RestorePlan& plan)>;

  HandsetRestore(LinkContext context, TransferHost& host) : context_(context), host_(host) {}

  // A dry run (`confirm` empty) reads and compares only, then ends the
  // visit with the mode return.
  RestoreResult Run(const ConnectSettings& settings, const std::filesystem::path& folder,
                    const Confirm& confirm, const RestoreOptions& options = {});

 private:
  LinkContext context_;
  TransferHost& host_;
};

}  // namespace linkora
