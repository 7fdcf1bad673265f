#pragma once

#include <string>
#include <vector>

#include "backup/BackupManifest.h"
#include "media/MediaInfo.h"
#include "phonebook/Phonebook.h"
#include "schedule/ScheduleStore.h"

namespace linkora {

// What a restore changes on the handset, found by comparing the backup with
// what the handset holds now.
struct RestorePlan {
  struct Counts {
    int added = 0;
    int changed = 0;
    int removed = 0;
    bool Any() const { return added + changed + removed > 0; }
  };
  Counts entries;
  int groupsChanged = 0;
  Counts schedules;
  Counts ddays;
  std::vector<BackupMediaItem> mediaToUpload;
  // Items on the handset that the backup lacks: a restore leaves them there.
  std::vector<std::vector<std::uint8_t>> mediaStaying;
  // One line per change ("  + 012번지 홍길동"), in the order of the counts.
  std::vector<std::string> details;

  bool PhonebookChanges() const { return entries.Any() || groupsChanged > 0; }
  bool ScheduleChanges() const { return schedules.Any() || ddays.Any(); }
  bool Empty() const { return !PhonebookChanges() && !ScheduleChanges() && mediaToUpload.empty(); }
  // The counts, one line each.
  std::vector<std::string> SummaryLines() const;
  // The counts, then the detail lines.
  std::string Text() const;
  // The same for a question box: at most `shownDetails` detail lines, the
  // rest counted in one line, no newline at the end.
  std::string ShortText(std::size_t shownDetails) const;
};

// Entries are compared slot by slot (only when `withPhonebook`), schedules
// and D-days (only when `withSchedules`); schedules and D-days by content, a
// record of the same date (and time) but other content counting as changed;
// media items by their name on the handset.
RestorePlan PlanRestore(const Phonebook& backup, const Phonebook& handset,
                        const ScheduleStore& backupStore, const ScheduleStore& handsetStore,
                        const std::vector<BackupMediaItem>& backupMedia,
                        const std::vector<ShownMediaItem>& handsetMedia, bool withPhonebook = true,
                        bool withSchedules = true);

}  // namespace linkora
