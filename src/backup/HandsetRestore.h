#pragma once

#include <filesystem>
#include <functional>

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
  RestoreOutcome outcome = RestoreOutcome::Failed;
  RestorePlan plan;
  int mediaUploaded = 0;
};

// Writes a backup back in one visit: checks the folder against its manifest
// before anything is sent, connects and verifies once (writer), reads the
// handset to find what will change, asks once, then goes offline, writes the
// phonebook, the schedules and D-days (each only when it changes) and the
// media items missing on the handset, and ends with one reset.
class HandsetRestore {
 public:
  // Shown the change list; true to go on.
  using Confirm = std::function<bool(const RestorePlan& plan)>;

  HandsetRestore(LinkContext context, TransferHost& host) : context_(context), host_(host) {}

  // A dry run (`confirm` empty) reads and compares only, then ends the
  // visit with the mode return.
  RestoreResult Run(const ConnectSettings& settings, const std::filesystem::path& folder,
                    const Confirm& confirm);

 private:
  LinkContext context_;
  TransferHost& host_;
};

}  // namespace linkora
