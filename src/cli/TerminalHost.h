#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "link/TransferHost.h"

namespace linkora::cli {

// How a transfer run from the command line shows itself on stderr. On a
// terminal: one line redrawn in place (step, item, a bar and one
// percentage). Otherwise (a log, a pipe): one line per step, repeats left
// out, so a whole backup stays short. Messages a window would show in a box
// are printed on a line of their own, once. The access prompts take the
// values given on the command line, else ask on the terminal (the lock code
// without echo). While a stop (Ctrl-C) is under way the transfer's messages
// are held back: the tool says in one line what happened.
class TerminalHost final : public TransferHost {
 public:
  struct Options {
    bool interactive = false;  // stderr and stdin are terminals
    bool quiet = false;        // no progress at all
    int inputFd = -1;          // the terminal `in` reads, for answers without echo
    int columns = 80;          // width of the terminal
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

  // Names what the next steps work on (a file), for titles that do not.
  // Empty clears it.
  void SetItem(std::string_view item);
  // Ends a redrawn bar with a line break so that later output starts clean.
  void FinishLine();

  const std::string& DiagPortName() const { return diagPortName_; }
  // True once a prompt was declined (end of input or an empty answer).
  bool Cancelled() const { return cancelled_; }
  // The access step whose prompt was declined ("phone-number", "lock-code").
  const std::string& DeclinedStep() const { return declinedStep_; }
  // How many messages were shown; a failure always shows one or was cancelled.
  int MessageCount() const { return messageCount_; }
  const std::string& LastMessage() const { return lastMessage_; }

 private:
  void Redraw();
  void PrintStepLine();
  // Reads one answer; `secret` turns the terminal's echo off meanwhile.
  std::optional<std::string> Ask(std::string_view prompt, bool secret = false);
  // Without a terminal a prompt cannot be answered: says which option to give.
  std::optional<std::string> Decline(std::string_view why);

  std::istream& in_;
  std::ostream& err_;
  Options options_;
  std::string step_;       // the title without its counter
  std::string titleItem_;  // the title's counter ("[003]", "(1 of 3)")
  std::string item_;       // set by SetItem
  std::string printedStep_;
  int percent_ = 0;
  bool lineOpen_ = false;
  bool cancelled_ = false;
  std::string declinedStep_;
  int messageCount_ = 0;
  std::string lastMessage_;
  std::string diagPortName_;
};

// A progress title split into its step and its counter: "전화번호 데이터
// 수신중.. [003]" gives "전화번호 데이터 수신중.." and "[003]". A counter that
// is a percentage ("[20%]") is dropped, so that a line shows one percentage.
std::pair<std::string, std::string> SplitTitle(std::string_view title);

}  // namespace linkora::cli
