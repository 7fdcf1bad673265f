#pragma once

#include <QString>

#include "shell/PromptService.h"

namespace linkora {

class Profile;

// The prompt service of the desktop program: Qt message boxes and file
// dialogs, and the two access dialogs, each modal over the window that is
// active when it is asked. With a profile, a file dialog starts in the folder
// last used for its kind of file (FileDialogRequest::folderKey) and
// remembers the folder chosen.
class QtPromptService final : public PromptService {
 public:
  explicit QtPromptService(Profile* profile = nullptr) : profile_(profile) {}

  void ShowMessage(std::string_view text, std::string_view caption = {}) override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
  std::vector<std::string> AskOpenFileNames(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
  std::optional<std::string> AskFolder(const FileDialogRequest& request) override;
  std::optional<std::string> AskPhoneNumber() override;
  std::optional<std::string> AskLockCode() override;

  // The folder a file dialog for the request starts in: the request's own,
  // else the remembered one when it still exists, else the home folder.
  QString StartFolder(const FileDialogRequest& request) const;

 private:
  void RememberFolder(const FileDialogRequest& request, const QString& chosen);

  Profile* profile_;
};

}  // namespace linkora
