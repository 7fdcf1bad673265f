#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "link/TransferHost.h"

namespace linkora::cli {

// How a transfer run from the command line shows itself: a redrawn progress
// bar on stderr when stderr is a terminal, plain lines otherwise. Messages go
// to stderr exactly as a window would show them. The access prompts take the
// values given on the command line, else ask on the terminal.
class TerminalHost final : public TransferHost {
 public:
  struct Options {
    bool interactive = false;  // stderr and stdin are terminals
    bool quiet = false;        // no progress at all
    std::optional<std::string> phone;
    std::optional<std::string> lockCode;
  };

  TerminalHost(std::istream& in, std::ostream& err, Options options);

  void SetTitle(std::string_view title) override;
  void SetProgress(int percent) override;
  void PumpMessages() override {}
  void ShowMessage(std::string_view text) override;
  std::optional<std::string> AskPhoneNumber() override;
  std::optional<std::string> AskLockCode() override;
  void SetDiagPortName(const std::string& portName) override { diagPortName_ = portName; }

  // Ends a redrawn bar with a line break so that later output starts clean.
  void FinishLine();

  const std::string& DiagPortName() const { return diagPortName_; }
  // True once a prompt was declined (end of input or an empty answer).
  bool Cancelled() const { return cancelled_; }
  // How many messages were shown; a failure always shows one or was cancelled.
  int MessageCount() const { return messageCount_; }
  const std::string& LastMessage() const { return lastMessage_; }

 private:
  std::optional<std::string> Ask(std::string_view prompt);
  // Without a terminal a prompt cannot be answered: says which option to give.
  std::optional<std::string> Decline(std::string_view why);

  std::istream& in_;
  std::ostream& err_;
  Options options_;
  std::string title_;
  int lastPercent_ = -1;
  bool lineOpen_ = false;
  bool cancelled_ = false;
  int messageCount_ = 0;
  std::string lastMessage_;
  std::string diagPortName_;
};

}  // namespace linkora::cli
