#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/ImportReport.h"
#include "schedule/ScheduleStore.h"

namespace linkora {

// Adds the events of an iCalendar file (RFC 5545) to a store as schedules and
// D-days. Timed events become schedules, all-day events D-days; times in UTC
// or in a zone are converted to this PC's local time, floating times are
// taken as they are. Whatever does not fit the handset (recurrence beyond one
// date, to-dos, dates out of range, full capacities, long texts, characters
// CP949 lacks) is told in the report, entry by entry. A file that is not
// iCalendar is refused and leaves the store as it was. See docs/formats.md.
class IcalendarReader {
 public:
  using Clock = std::function<std::time_t()>;
  // Far more than 97 events need; a larger file is refused unread.
  static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

  // `now` decides which date of a recurring event that began in the past is
  // taken: the first one from today on.
  explicit IcalendarReader(Clock now = [] { return std::time(nullptr); });

  // False (store and report untouched, errorString() set) for a text that
  // is not iCalendar. On success the store is sorted and relinked.
  bool Read(std::string_view text, ScheduleStore& store, ImportReport& report);
  bool Load(const std::filesystem::path& path, ScheduleStore& store, ImportReport& report);

  const std::string& errorString() const { return error_; }
  // For a file that could not be read: the file and the cause.
  const std::string& errorDetail() const { return detail_; }

 private:
  Clock now_;
  std::string error_;
  std::string detail_;
};

}  // namespace linkora
