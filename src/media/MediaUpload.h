#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fsxfer/MediaTransfer.h"
#include "media/MediaInfo.h"

namespace linkora {

inline constexpr int kPcFileCapacity = 150;

// The handset file of a media slot: "nvm/media/media_00%02d".
std::string MediaSlotFileName(int slot);

// The PC files waiting to be sent: the PC media list with the folder of each
// item kept in one of 150 entries.
class PcFileList {
 public:
  struct Item {
    std::string name;  // file name with extension, without folder
    int entry = -1;    // index of the item's folder entry
  };

  // Adds chosen files in the given order. Stops at the first one refused (a
  // name already in the list, or all entries used) and gives its message.
  std::optional<std::string> Add(const std::vector<std::filesystem::path>& paths);
  // Removes the item at `index` of the list and frees its entry.
  std::optional<std::string> Remove(std::size_t index);
  // The folder and name of an item. An item without a folder gives the name
  // alone and the message to show.
  std::filesystem::path PathOf(std::size_t index, std::optional<std::string>& message) const;
  // Frees all entries and empties the list.
  void Clear();

  const std::vector<Item>& Items() const { return items_; }

 private:
  struct Entry {
    bool used = false;
    std::string folder;
  };
  std::array<Entry, kPcFileCapacity> entries_;
  std::vector<Item> items_;
};

// The item name of a PC file: its name without folder, cut before its last
// '.' when something remains before it ("ring.tone.mmf" gives "ring.tone").
std::string UploadItemName(const std::filesystem::path& path);

// What becomes of one PC file of an upload.
enum class UploadStepStatus {
  Ready,     // recorded in the list; send it
  NextFile,  // refused after its message; go on with the next file
  EndRun,    // a limit of the handset was hit; the upload ends
};

struct UploadStep {
  UploadStepStatus status = UploadStepStatus::NextFile;
  std::string message;
  int slot = -1;
  std::string handsetFileName;
  std::vector<std::uint8_t> slotFile;  // record header, name, data
  std::vector<std::uint8_t> itemName;  // as stored on the handset (CP949)
  std::string displayName;
  // The list copies before this file was recorded, to take the entry back
  // when its transfer fails.
  MediaLists listsBefore;
};

// Reads a PC file for an upload: at most 60,000 bytes and not empty, with
// its item name in CP949 (as it is when CP949 cannot hold it). On failure
// gives false and the message to show.
bool ReadUploadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                    std::vector<std::uint8_t>& itemName, std::string& message);

// Reads a PC file (at most 60,000 bytes), checks it, builds its slot file and
// records it as a new item of `lists` for the model of `modelIndex`.
UploadStep PrepareUploadFile(const std::filesystem::path& path, MediaLists& lists, int modelIndex);

// The same for bytes already read, under a given item name (CP949 bytes).
UploadStep PrepareUploadBytes(std::span<const std::uint8_t> itemName,
                              std::span<const std::uint8_t> bytes, MediaLists& lists,
                              int modelIndex);

// Takes back the list entry of a file whose transfer failed, so that the list
// written with the next file does not claim a slot the handset never got.
void TakeBackUpload(MediaLists& lists, const UploadStep& step);

// The write transfer of a prepared file: its slot file, then the list. The
// job refers to `step` and `lists`, which must outlive it.
MediaTransferJob UploadWriteJob(const UploadStep& step, const MediaLists& lists,
                                const ConnectSettings& settings, int stepIndex, int stepCount);

}  // namespace linkora
