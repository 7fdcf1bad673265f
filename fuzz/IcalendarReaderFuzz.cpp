// libFuzzer target: any bytes given to the iCalendar reader, into a store
// that already holds entries, must neither crash nor break the store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/ImportReport.h"
#include "schedule/IcalendarReader.h"
#include "schedule/ScheduleStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  linkora::ScheduleStore store;
  linkora::ScheduleEntry schedule;
  schedule.SetYear(2026);
  schedule.SetMonth(12);
  schedule.SetDay(24);
  store.AppendSchedule(schedule);
  store.SortAndRelink();
  const linkora::ScheduleStore before = store;

  linkora::ImportReport report;
  linkora::IcalendarReader reader([] { return std::time_t{1796639055}; });
  const bool read =
      reader.Read(std::string_view(reinterpret_cast<const char*>(data), size), store, report);
  if (!read && !(store == before)) {
    std::abort();  // a refused file must change nothing
  }
  if (store.ScheduleCount() > linkora::ScheduleStore::kScheduleCapacity ||
      store.DdayCount() > linkora::ScheduleStore::kDdayCapacity) {
    std::abort();
  }
  return 0;
}
