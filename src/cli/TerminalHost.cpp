#include "cli/TerminalHost.h"

#include <istream>
#include <ostream>

#include "cli/CliArguments.h"
#include "resources/CliTexts.h"
#include "resources/Texts.h"

namespace linkora::cli {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

TerminalHost::TerminalHost(std::istream& in, std::ostream& err, Options options)
    : in_(in), err_(err), options_(std::move(options)) {}

void TerminalHost::SetTitle(std::string_view title) {
  FinishLine();
  title_ = title;
  lastPercent_ = -1;
  if (!options_.quiet && !options_.interactive) {
    err_ << title_ << '\n';
  }
}

void TerminalHost::SetProgress(int percent) {
  if (options_.quiet || percent == lastPercent_) {
    return;
  }
  if (options_.interactive) {
    const int filled = percent * kBarWidth / 100;
    err_ << '\r' << title_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << percent << '%'
         << std::flush;
    lineOpen_ = true;
  } else if (lastPercent_ < 0 || percent / 10 != lastPercent_ / 10 || percent == 100) {
    // Plain output (a log, a pipe): one line per tenth of the way.
    err_ << percent << "%\n";
  }
  lastPercent_ = percent;
}

void TerminalHost::FinishLine() {
  if (lineOpen_) {
    err_ << '\n';
    lineOpen_ = false;
  }
}

void TerminalHost::ShowMessage(std::string_view text) {
  FinishLine();
  err_ << text << '\n';
  ++messageCount_;
  lastMessage_ = text;
}

std::optional<std::string> TerminalHost::Decline(std::string_view why) {
  FinishLine();
  err_ << why << '\n';
  cancelled_ = true;
  return std::nullopt;
}

std::optional<std::string> TerminalHost::Ask(std::string_view prompt) {
  FinishLine();
  err_ << prompt << ": " << std::flush;
  std::string line;
  if (!std::getline(in_, line) || line.empty()) {
    cancelled_ = true;
    return std::nullopt;
  }
  return line;
}

std::optional<std::string> TerminalHost::AskPhoneNumber() {
  if (options_.phone) {
    return options_.phone;
  }
  if (!options_.interactive) {
    return Decline(texts::kCliNeedsPhone);
  }
  err_ << texts::kPhoneNumberLine1 << '\n' << texts::kPhoneNumberLine3 << '\n';
  for (;;) {
    const auto answer = Ask(texts::kPhoneNumberTitle);
    if (!answer) {
      return std::nullopt;
    }
    if (auto number = NormalisePhoneNumber(*answer)) {
      return number;
    }
    err_ << texts::kPhoneNumberInvalid << '\n';
  }
}

std::optional<std::string> TerminalHost::AskLockCode() {
  if (options_.lockCode) {
    return options_.lockCode;
  }
  if (!options_.interactive) {
    return Decline(texts::kCliNeedsLockCode);
  }
  err_ << texts::kLockCodeText << '\n';
  for (;;) {
    const auto answer = Ask(texts::kLockCodeTitle);
    if (!answer) {
      return std::nullopt;
    }
    if (IsValidLockCode(*answer)) {
      return answer;
    }
    err_ << texts::kLockCodeInvalid << '\n';
  }
}

}  // namespace linkora::cli
