#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "schedule/ScheduleStore.h"

namespace linkora {

// Writes the schedules and D-days of a store as one iCalendar file (RFC 5545).
// A schedule is an event at a floating local time (the handset knows no time
// zone) with its place and alarm; a D-day is an all-day event marked
// X-LINKORA-KIND:DDAY. What iCalendar cannot say (ringtone and alarm codes,
// the record's exact bytes) goes into X-LINKORA- properties, so IcalendarReader
// gives our own file back byte for byte. See docs/formats.md.
class IcalendarWriter {
 public:
  using Clock = std::function<std::time_t()>;

  // `now` stamps each event's DTSTAMP.
  explicit IcalendarWriter(Clock now = [] { return std::time(nullptr); });

  // The file's text (UTF-8, CRLF, folded lines).
  std::string Write(const ScheduleStore& store) const;
  // Writes the file atomically; false with errorString() set on failure.
  bool Save(const std::filesystem::path& path, const ScheduleStore& store);

  const std::string& errorString() const { return error_; }

 private:
  Clock now_;
  std::string error_;
};

}  // namespace linkora
