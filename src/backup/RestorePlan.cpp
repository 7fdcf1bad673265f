#include "backup/RestorePlan.h"

#include <fmt/printf.h>

#include <algorithm>

#include "common/Cp949.h"
#include "resources/BackupTexts.h"

namespace linkora {
namespace {

std::string Utf8(std::span<const std::uint8_t> text) {
  return cp949::ToUtf8(text);
}

bool SameEntry(const PhonebookEntry& a, const PhonebookEntry& b) {
  // The slot number inside a record may be 0 for one made again; its place counts.
  return std::equal(a.Bytes().begin() + 2, a.Bytes().end(), b.Bytes().begin() + 2);
}

// Records without their chain position and link.
template <typename Entry, std::size_t NextAt>
std::vector<std::uint8_t> Content(const Entry& entry) {
  return {entry.Bytes().begin() + 1, entry.Bytes().begin() + NextAt};
}

// Matches the backup's records to the handset's: the same content is kept,
// the same `keyBytes` (date, time) with other content is changed.
template <typename Entry, std::size_t NextAt, std::size_t KeyBytes, typename Describe>
RestorePlan::Counts CompareChain(const std::vector<const Entry*>& backup,
                                 const std::vector<const Entry*>& handset,
                                 std::vector<std::string>& details, Describe describe) {
  RestorePlan::Counts counts;
  std::vector<bool> matched(handset.size(), false);
  std::vector<const Entry*> unmatched;
  for (const Entry* entry : backup) {
    bool found = false;
    for (std::size_t i = 0; i < handset.size() && !found; ++i) {
      if (!matched[i] && Content<Entry, NextAt>(*entry) == Content<Entry, NextAt>(*handset[i])) {
        matched[i] = found = true;
      }
    }
    if (!found) {
      unmatched.push_back(entry);
    }
  }
  for (const Entry* entry : unmatched) {
    const auto key = Content<Entry, NextAt>(*entry);
    bool changed = false;
    for (std::size_t i = 0; i < handset.size() && !changed; ++i) {
      const auto other = Content<Entry, NextAt>(*handset[i]);
      if (!matched[i] && std::equal(key.begin(), key.begin() + KeyBytes, other.begin())) {
        matched[i] = changed = true;
      }
    }
    ++(changed ? counts.changed : counts.added);
    details.push_back(describe(changed ? "~" : "+", *entry));
  }
  for (std::size_t i = 0; i < handset.size(); ++i) {
    if (!matched[i]) {
      ++counts.removed;
      details.push_back(describe("-", *handset[i]));
    }
  }
  return counts;
}

std::vector<const ScheduleEntry*> Schedules(const ScheduleStore& store) {
  std::vector<const ScheduleEntry*> list;
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    list.push_back(&store.Schedule(i));
  }
  return list;
}

std::vector<const DdayEntry*> Ddays(const ScheduleStore& store) {
  std::vector<const DdayEntry*> list;
  for (int i = 0; i < store.DdayCount(); ++i) {
    list.push_back(&store.Dday(i));
  }
  return list;
}

}  // namespace

std::vector<std::string> RestorePlan::SummaryLines() const {
  const auto line = [](std::string_view format, const Counts& counts) {
    return fmt::sprintf(std::string(format), counts.added, counts.changed, counts.removed);
  };
  std::vector<std::string> lines = {line(texts::kChangeEntries, entries)};
  if (groupsChanged > 0) {
    lines.push_back(fmt::sprintf(std::string(texts::kChangeGroups), groupsChanged));
  }
  lines.push_back(line(texts::kChangeSchedules, schedules));
  lines.push_back(line(texts::kChangeDdays, ddays));
  lines.push_back(
      fmt::sprintf(std::string(texts::kChangeMedia), static_cast<int>(mediaToUpload.size())));
  if (!mediaStaying.empty()) {
    lines.push_back(fmt::sprintf(std::string(texts::kChangeMediaStaying),
                                 static_cast<int>(mediaStaying.size())));
  }
  return lines;
}

std::string RestorePlan::Text() const {
  std::string text;
  for (const std::string& line : SummaryLines()) {
    text += line + "\n";
  }
  for (const std::string& line : details) {
    text += line + "\n";
  }
  return text;
}

std::string RestorePlan::ShortText(std::size_t shownDetails) const {
  std::vector<std::string> lines = SummaryLines();
  const std::size_t shown = std::min(shownDetails, details.size());
  lines.insert(lines.end(), details.begin(), details.begin() + static_cast<long>(shown));
  if (shown < details.size()) {
    lines.push_back(fmt::sprintf(std::string(texts::kChangeMoreLines),
                                 static_cast<int>(details.size() - shown)));
  }
  std::string text;
  for (const std::string& line : lines) {
    text += (text.empty() ? "" : "\n") + line;
  }
  return text;
}

RestorePlan PlanRestore(const Phonebook& backup, const Phonebook& handset,
                        const ScheduleStore& backupStore, const ScheduleStore& handsetStore,
                        const std::vector<BackupMediaItem>& backupMedia,
                        const std::vector<ShownMediaItem>& handsetMedia, bool withPhonebook,
                        bool withSchedules) {
  RestorePlan plan;
  for (int slot = kFirstSlot; withPhonebook && slot <= kLastSlot; ++slot) {
    const bool inBackup = backup.Flags().IsUsed(slot);
    const bool onHandset = handset.Flags().IsUsed(slot);
    const char* mark = nullptr;
    if (inBackup && !onHandset) {
      ++plan.entries.added;
      mark = "+";
    } else if (!inBackup && onHandset) {
      ++plan.entries.removed;
      mark = "-";
    } else if (inBackup && !SameEntry(backup.Entry(slot), handset.Entry(slot))) {
      ++plan.entries.changed;
      mark = "~";
    }
    if (mark != nullptr) {
      const PhonebookEntry& shown = inBackup ? backup.Entry(slot) : handset.Entry(slot);
      plan.details.push_back(
          fmt::sprintf(std::string(texts::kChangeEntryLine), mark, slot, Utf8(shown.Name())));
    }
  }
  for (std::size_t g = 0; withPhonebook && g < backup.Groups().size(); ++g) {
    const auto a = backup.Groups()[g].Bytes();
    const auto b = handset.Groups()[g].Bytes();
    if (!std::equal(a.begin(), a.end(), b.begin(), b.end())) {
      ++plan.groupsChanged;
    }
  }
  if (withSchedules) {
    plan.schedules = CompareChain<ScheduleEntry, ScheduleEntry::kNext, 6>(
        Schedules(backupStore), Schedules(handsetStore), plan.details,
        [](const char* mark, const ScheduleEntry& e) {
          return fmt::sprintf(std::string(texts::kChangeScheduleLine), mark,
                              fmt::sprintf("%04d-%02d-%02d %02d:%02d", e.Year(), e.Month(), e.Day(),
                                           e.Hour(), e.Minute()),
                              Utf8(e.Content()));
        });
    plan.ddays = CompareChain<DdayEntry, DdayEntry::kNext, 4>(
        Ddays(backupStore), Ddays(handsetStore), plan.details,
        [](const char* mark, const DdayEntry& e) {
          return fmt::sprintf(std::string(texts::kChangeDdayLine), mark,
                              fmt::sprintf("%04d-%02d-%02d", e.Year(), e.Month(), e.Day()),
                              Utf8(e.Title()));
        });
  }
  for (const BackupMediaItem& item : backupMedia) {
    const bool there =
        std::any_of(handsetMedia.begin(), handsetMedia.end(), [&](const ShownMediaItem& shown) {
          return std::equal(shown.name.begin(), shown.name.end(), item.name.begin(),
                            item.name.end());
        });
    if (!there) {
      plan.mediaToUpload.push_back(item);
      plan.details.push_back(fmt::sprintf(std::string(texts::kChangeMediaLine), Utf8(item.name)));
    }
  }
  for (const ShownMediaItem& shown : handsetMedia) {
    const bool inBackup =
        std::any_of(backupMedia.begin(), backupMedia.end(), [&](const BackupMediaItem& item) {
          return std::equal(shown.name.begin(), shown.name.end(), item.name.begin(),
                            item.name.end());
        });
    if (!inBackup) {
      plan.mediaStaying.emplace_back(shown.name.begin(), shown.name.end());
      plan.details.push_back(
          fmt::sprintf(std::string(texts::kChangeMediaStayingLine), Utf8(shown.name)));
    }
  }
  return plan;
}

}  // namespace linkora
