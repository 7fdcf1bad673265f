#include "backup/OpenCopies.h"

#include "common/FileIo.h"
#include "media/MediaUpload.h"
#include "media/PlainMediaFile.h"
#include "messages/MessageExport.h"
#include "phonebook/VcardWriter.h"
#include "schedule/IcalendarWriter.h"

namespace linkora {

bool WriteOpenCopies(const std::filesystem::path& folder, const HandsetContent& content,
                     std::string& error) {
  VcardWriter contacts;
  if (!contacts.Save(folder / "contacts.vcf", content.phonebook)) {
    error = contacts.errorString();
    return false;
  }
  IcalendarWriter calendar;
  if (!calendar.Save(folder / "calendar.ics", content.schedules)) {
    error = calendar.errorString();
    return false;
  }
  for (const MessageExport::Format format :
       {MessageExport::Format::Text, MessageExport::Format::Csv}) {
    MessageExport messages(format);
    if (!messages.Save(folder / MessageExport::DefaultFileName(format), content.messages)) {
      error = messages.errorString();
      return false;
    }
  }
  // Pictures are saved as plain files already; an item of no known kind
  // stays in its .nmf file only.
  const std::filesystem::path plainFolder = folder / "media-files";
  for (const HandsetContent::MediaItem& item : content.media) {
    PlainMediaFile plain;
    if (item.nmf.empty() || !plain.FromNmf(item.nmf, MediaSlotFileName(item.slot))) {
      continue;
    }
    std::error_code made;
    std::filesystem::create_directories(plainFolder, made);
    if (!plain.Save(UnusedPath(plainFolder, plain.FileName()))) {
      error = plain.errorString();
      return false;
    }
  }
  return true;
}

}  // namespace linkora
