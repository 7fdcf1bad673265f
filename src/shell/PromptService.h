#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace linkora {

// What a file dialog shows. Texts are UTF-8; the filter uses the
// "description (*.ext)" form, several filters separated by ";;".
struct FileDialogRequest {
  std::string caption;
  std::string filter;
  std::string directory;      // folder to start in; empty: the remembered one, else home
  std::string fileName;       // proposed name (save dialogs)
  std::string defaultSuffix;  // added to a typed name without one, e.g. "ndf"
  // The profile key under which the folder of this kind of file is
  // remembered between runs; empty: nothing is remembered.
  std::string folderKey;
};

// Every question the windows put to the user: message boxes and file
// dialogs, plus the two access prompts of a transfer. Windows receive it
// from their creator, so tests answer in advance and nothing blocks.
class PromptService {
 public:
  virtual ~PromptService() = default;

  // A message box with an OK button; an empty caption shows the
  // application's title.
  virtual void ShowMessage(std::string_view text, std::string_view caption = {}) = 0;
  // A Yes/No box; true for Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
  // File dialogs: the chosen path (UTF-8), or nothing on Cancel.
  virtual std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) = 0;
  virtual std::vector<std::string> AskOpenFileNames(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) = 0;
  // A folder dialog (caption and start folder of the request): the chosen
  // folder, or nothing on Cancel.
  virtual std::optional<std::string> AskFolder(const FileDialogRequest& request) = 0;
  // The phone-number and lock-code dialogs: the typed text, or nothing on Cancel.
  virtual std::optional<std::string> AskPhoneNumber() = 0;
  virtual std::optional<std::string> AskLockCode() = 0;
};

}  // namespace linkora
