#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fsxfer/MediaTransfer.h"
#include "link/ConnectSettings.h"
#include "link/SessionState.h"
#include "media/MediaInfo.h"
#include "media/MediaUpload.h"

namespace linkora {

// What the media operations need from the window that runs them: the media
// manager window on the desktop, a terminal front end in the command-line tool.
class MediaWindow {
 public:
  virtual ~MediaWindow() = default;

  // Runs one media transfer in its own modal progress window (StartMediaTransfer,
  // then RunMediaTransfer); gives kMediaTransferDone or kMediaTransferFailed.
  virtual int RunTransfer(MediaTransferJob& job) = 0;
  // A message box with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // What the system said about a file that could not be saved (the path and
  // its reason), after the message; the window's box says no more than its text.
  virtual void ShowFileError(std::string_view /*detail*/) {}
  // An upload is about to check and send this PC file.
  virtual void StartUploadFile(const std::filesystem::path& /*path*/) {}
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(std::string_view question) = 0;

  // The phone media list.
  virtual void ClearPhoneList() = 0;
  // Adds an item at the end and scrolls so that it is the top one.
  virtual void AddPhoneItem(int slot, const std::string& name) = 0;
  virtual int PhoneItemCount() const = 0;
  // Slots of the selected items, in list order.
  virtual std::vector<int> SelectedSlots() const = 0;

  // The save dialog, opened on `initial`; asks before replacing a file.
  // Nothing on Cancel.
  virtual std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& initial,
                                                              std::string_view defaultExtension,
                                                              std::string_view filter) = 0;
  // The profile value "DataPath" (section "Norvane Linkora").
  virtual std::string DataPath() const = 0;
  virtual void SetDataPath(const std::string& folder) = 0;
};

// Reads the handset's media list into `lists` and fills the phone list. Gives
// false when the transfer failed or the list was refused (the phone list then
// stays empty and the copies as they were). The list's layout follows the
// session's ModelIndex as the transfer's model check left it.
bool ReadMediaList(MediaWindow& window, MediaLists& lists, const ConnectSettings& settings,
                   const SessionState& session);

// What an upload run came to.
struct UploadSummary {
  int stored = 0;          // files stored on the handset
  bool reset = false;      // the handset was reset at the end
  bool completed = false;  // the PC list was emptied
};

// Sends every file of the PC list: a fresh list read, then per file the
// checks, a free slot, the file and the updated list; a reset when anything
// was stored; finally the PC list is emptied.
UploadSummary UploadMediaFiles(MediaWindow& window, PcFileList& pcFiles, MediaLists& lists,
                               const ConnectSettings& settings, const SessionState& session);

// Saves the selected phone items on the PC. Gives the number of files saved.
int DownloadMediaItems(MediaWindow& window, const MediaLists& lists,
                       const ConnectSettings& settings);

}  // namespace linkora
