#pragma once

#include "shell/PromptService.h"

namespace linkora {

// The prompt service of the desktop program: Qt message boxes and file
// dialogs, and the two access dialogs, each modal over the window that is
// active when it is asked.
class QtPromptService final : public PromptService {
 public:
  void ShowMessage(std::string_view text, std::string_view caption = {}) override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
  std::vector<std::string> AskOpenFileNames(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
  std::optional<std::string> AskFolder(const FileDialogRequest& request) override;
  std::optional<std::string> AskPhoneNumber() override;
  std::optional<std::string> AskLockCode() override;
};

}  // namespace linkora
