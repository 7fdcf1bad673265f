#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace linkora {

// The window a transfer runs in, as the transfer sees it. The desktop's
// progress windows implement it; tests implement it with a recorder; the
// command-line tool with a terminal progress bar.
class TransferHost {
 public:
  virtual ~TransferHost() = default;

  virtual void SetTitle(std::string_view title) = 0;
  // Shows p (0..100) on the bar and as "%d%c" text, always together.
  virtual void SetProgress(int percent) = 0;
  // Handles what is already queued for the window, without waiting.
  virtual void PumpMessages() = 0;
  // A message box with an OK button and the application's title.
  virtual void ShowMessage(std::string_view text) = 0;
  // The phone number the user typed (prefix, middle and last part run
  // together), or nothing on Cancel.
  virtual std::optional<std::string> AskPhoneNumber() = 0;
  // The four-digit lock code the user typed, or nothing on Cancel.
  virtual std::optional<std::string> AskLockCode() = 0;
  // Records the port on which the handset answered in the owning function window.
  virtual void SetDiagPortName(const std::string& portName) = 0;
};

// Integer percentage of work done, kept within 0..100 even when a handset
// sends more than it announced.
constexpr int Percent(long long done, long long total) {
  if (total <= 0 || done <= 0) {
    return 0;
  }
  if (done >= total) {
    return 100;
  }
  return static_cast<int>(done * 100 / total);
}

}  // namespace linkora
