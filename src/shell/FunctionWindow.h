#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>
#include <string>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class Phonebook;
class PromptService;
class ScheduleStore;
class SyncProgressDialog;

// What the four function windows (phonebook, scheduler, messages, media)
// share: the connection settings from the main window, the port the handset
// last answered on in diagnostic mode, the link context and the prompts.
// Closing the window (Escape, close box, reject()) ends the handset visit:
// when a transfer found the handset, the mode return goes to that port.
// A window holding edits that are neither written nor saved asks first.
class FunctionWindow : public QDialog {
 public:
  FunctionWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                 QWidget* parent = nullptr);

  const ConnectSettings& Settings() const { return settings_; }
  const std::string& DiagPortName() const { return diagPortName_; }
  void SetDiagPortName(const std::string& portName) { diagPortName_ = portName; }

  // Runs a progress window of this window modally, with DiagPortName as the
  // place where its connect step records the port; gives its result (1 or 2).
  int RunProgress(SyncProgressDialog& progress);

  // Close: with unsaved edits, asks whether to close (No keeps the window
  // open); then the end of a handset visit, and the window ends with Rejected.
  void reject() override;
  // Ends the window without the mode return, after a write that restarted
  // the handset.
  void CloseAfterReset();

 protected:
  // Whether the window holds edits that a close would lose.
  virtual bool HasUnsavedEdits() const { return false; }
  LinkContext Context() const { return context_; }
  PromptService& Prompts() { return prompts_; }
  // Before a write: keeps what the window last read from the handset (the
  // one that is not null) as a safety copy in the data folder. When it
  // cannot be saved the user is asked; false: do not write.
  bool KeepSafetyCopy(const Phonebook* phonebook, const ScheduleStore* store);
  // After the write: names the folder of the copy, when one was made.
  void TellSafetyCopy();

 private:
  std::optional<std::filesystem::path> safetyCopy_;
  ConnectSettings settings_;
  std::string diagPortName_;
  LinkContext context_;
  PromptService& prompts_;
};

}  // namespace linkora
