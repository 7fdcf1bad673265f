#include "backup/OpenCopies.h"

#include "schedule/IcalendarWriter.h"

namespace linkora {

// Each open format is written here as its exporter lands: so far the
// calendar; contacts, message text and plain media files follow.
bool WriteOpenCopies(const std::filesystem::path& folder, const HandsetContent& content,
                     std::string& error) {
  IcalendarWriter calendar;
  if (!calendar.Save(folder / "calendar.ics", content.schedules)) {
    error = calendar.errorString();
    return false;
  }
  return true;
}

}  // namespace linkora
