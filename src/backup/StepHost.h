#pragma once

#include <string>

#include "link/TransferHost.h"

namespace linkora {

// The one progress window of a whole-handset visit as each read sees it:
// the window keeps the title of the visit's step (the reads' own titles are
// passed over) while the bar, messages and prompts go through unchanged.
class StepHost final : public TransferHost {
 public:
  explicit StepHost(TransferHost& window) : window_(window) {}

  // Starts a step: its title and an empty bar.
  void Step(const std::string& title) {
    window_.SetTitle(title);
    window_.SetProgress(0);
    window_.PumpMessages();
  }

  void SetTitle(std::string_view) override { window_.PumpMessages(); }
  void SetProgress(int percent) override { window_.SetProgress(percent); }
  void PumpMessages() override { window_.PumpMessages(); }
  void ShowMessage(std::string_view text) override { window_.ShowMessage(text); }
  std::optional<std::string> AskPhoneNumber() override { return window_.AskPhoneNumber(); }
  std::optional<std::string> AskLockCode() override { return window_.AskLockCode(); }
  void SetDiagPortName(const std::string& portName) override {
    diagPortName_ = portName;
    window_.SetDiagPortName(portName);
  }

  const std::string& DiagPortName() const { return diagPortName_; }

 private:
  TransferHost& window_;
  std::string diagPortName_;
};

}  // namespace linkora
