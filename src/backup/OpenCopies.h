#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "messages/MessageArchive.h"
#include "phonebook/Phonebook.h"
#include "schedule/ScheduleStore.h"

namespace linkora {

// Everything one backup visit read from the handset.
struct HandsetContent {
  struct MediaItem {
    int slot = 0;
    std::vector<std::uint8_t> name;      // CP949, as on the handset
    std::vector<std::uint8_t> slotFile;  // the slot file as it arrived
    std::vector<std::uint8_t> nmf;       // the saved .nmf file; empty for a picture
  };
  Phonebook phonebook;
  ScheduleStore schedules;
  MessageArchive messages;
  std::vector<MediaItem> media;
};

// Writes the copies in formats other programs open (contacts, calendar,
// messages, plain media files) beside the native files of a backup. The one
// place a backup writes them. False and the cause when one cannot be written.
bool WriteOpenCopies(const std::filesystem::path& folder, const HandsetContent& content,
                     std::string& error);

}  // namespace linkora
