#include "cli/TerminalHost.h"

#include <termios.h>

#include <algorithm>
#include <istream>
#include <ostream>

#include "cli/CliArguments.h"
#include "cli/TextColumns.h"
#include "common/StopRequest.h"
#include "resources/CliTexts.h"
#include "resources/Texts.h"

namespace linkora::cli {
namespace {

constexpr int kBarWidth = 20;
constexpr std::string_view kClearLine = "\r\033[K";

}  // namespace

std::pair<std::string, std::string> SplitTitle(std::string_view title) {
  const auto dots = title.find("..");
  if (dots == std::string_view::npos) {
    return {std::string(title), {}};
  }
  std::size_t end = dots + 2;
  while (end < title.size() && title[end] == '.') {
    ++end;
  }
  std::string_view rest = title.substr(end);
  while (!rest.empty() && rest.front() == ' ') {
    rest.remove_prefix(1);
  }
  std::string step(title.substr(0, end));
  if (rest.size() >= 3 && rest.front() == '[' && rest.back() == ']' &&
      rest[rest.size() - 2] == '%') {
    rest = {};
  }
  return {step, std::string(rest)};
}

TerminalHost::TerminalHost(std::istream& in, std::ostream& err, Options options)
    : in_(in), err_(err), options_(std::move(options)) {}

void TerminalHost::SetTitle(std::string_view title) {
  auto [step, item] = SplitTitle(title);
  if (step != step_) {
    percent_ = 0;
  }
  step_ = std::move(step);
  titleItem_ = std::move(item);
  if (options_.quiet) {
    return;
  }
  if (options_.interactive) {
    Redraw();
  } else {
    PrintStepLine();
  }
}

void TerminalHost::SetItem(std::string_view item) {
  item_ = item;
}

void TerminalHost::SetProgress(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_ && lineOpen_) {
    return;
  }
  percent_ = percent;
  if (!options_.quiet && options_.interactive) {
    Redraw();
  }
}

void TerminalHost::PrintStepLine() {
  std::string line = step_;
  if (!item_.empty()) {
    line += " " + item_;
  }
  if (line == printedStep_) {
    return;
  }
  printedStep_ = line;
  err_ << line << '\n';
}

void TerminalHost::Redraw() {
  const int filled = percent_ * kBarWidth / 100;
  const std::string bar = " [" + std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " +
                          std::to_string(percent_) + "%";
  std::string text = step_;
  const std::string& item = item_.empty() ? titleItem_ : item_;
  if (!item.empty()) {
    text += " " + item;
  }
  // Never wider than the terminal, or the carriage return would not reach
  // the start of a wrapped line.
  const int room = std::max(options_.columns - 1 - DisplayWidth(bar), 10);
  err_ << kClearLine << CutToWidth(text, room) << bar << std::flush;
  lineOpen_ = true;
}

void TerminalHost::FinishLine() {
  if (lineOpen_) {
    err_ << '\n';
    lineOpen_ = false;
  }
}

void TerminalHost::ShowMessage(std::string_view text) {
  if (StopRequested()) {
    return;
  }
  ++messageCount_;
  if (messageCount_ > 1 && text == lastMessage_) {
    return;  // a box shown again with the same text says nothing new
  }
  if (lineOpen_) {
    err_ << kClearLine;
    lineOpen_ = false;
  }
  err_ << text << '\n';
  lastMessage_ = text;
}

std::optional<std::string> TerminalHost::Decline(std::string_view why) {
  cancelled_ = true;
  ShowMessage(why);
  return std::nullopt;
}

std::optional<std::string> TerminalHost::Ask(std::string_view prompt, bool secret) {
  FinishLine();
  err_ << prompt << ": " << std::flush;
  termios saved{};
  const bool hidden = secret && options_.inputFd >= 0 && ::tcgetattr(options_.inputFd, &saved) == 0;
  if (hidden) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;  // the Enter still ends the line on the screen
    ::tcsetattr(options_.inputFd, TCSAFLUSH, &quiet);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(in_, line));
  if (hidden) {
    ::tcsetattr(options_.inputFd, TCSAFLUSH, &saved);
  }
  if (!read || line.empty()) {
    cancelled_ = true;
    return std::nullopt;
  }
  return line;
}

std::optional<std::string> TerminalHost::AskPhoneNumber() {
  if (options_.phone) {
    return options_.phone;
  }
  declinedStep_ = "phone-number";
  if (!options_.interactive) {
    return Decline(texts::kCliNeedsPhone);
  }
  FinishLine();
  err_ << texts::kPhoneNumberLine1 << '\n' << texts::kPhoneNumberLine3 << '\n';
  for (;;) {
    const auto answer = Ask(texts::kPhoneNumberTitle);
    if (!answer) {
      return std::nullopt;
    }
    if (auto number = NormalisePhoneNumber(*answer)) {
      declinedStep_.clear();
      return number;
    }
    err_ << texts::kPhoneNumberInvalid << '\n';
  }
}

std::optional<std::string> TerminalHost::AskLockCode() {
  if (options_.lockCode) {
    return options_.lockCode;
  }
  declinedStep_ = "lock-code";
  if (!options_.interactive) {
    return Decline(texts::kCliNeedsLockCode);
  }
  FinishLine();
  err_ << texts::kLockCodeText << '\n';
  for (;;) {
    const auto answer = Ask(texts::kLockCodeTitle, true);
    if (!answer) {
      return std::nullopt;
    }
    if (IsValidLockCode(*answer)) {
      declinedStep_.clear();
      return answer;
    }
    err_ << texts::kLockCodeInvalid << '\n';
  }
}

}  // namespace linkora::cli
