#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/TransferHost.h"

namespace linkora::test {

// A transfer host that records what a transfer shows and answers the two
// prompts from queues (an empty queue answers Cancel). With a log, messages
// and prompts also go there, in order with the library calls.
class RecordingTransferHost final : public TransferHost {
 public:
  explicit RecordingTransferHost(std::vector<std::string>* log = nullptr) : log_(log) {}

  void SetTitle(std::string_view title) override { titles.emplace_back(title); }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void PumpMessages() override { ++pumps; }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    Log("ShowMessage(" + std::string(text) + ")");
  }
  std::optional<std::string> AskPhoneNumber() override {
    Log("AskPhoneNumber()");
    return Next(phoneNumberAnswers);
  }
  std::optional<std::string> AskLockCode() override {
    Log("AskLockCode()");
    return Next(lockCodeAnswers);
  }
  void SetDiagPortName(const std::string& portName) override { diagPortName = portName; }

  std::vector<std::string> titles;
  std::vector<int> progress;
  std::vector<std::string> messages;
  int pumps = 0;
  std::string diagPortName;
  std::deque<std::optional<std::string>> phoneNumberAnswers;
  std::deque<std::optional<std::string>> lockCodeAnswers;

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) {
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Log(std::string entry) {
    if (log_ != nullptr) {
      log_->push_back(std::move(entry));
    }
  }

  std::vector<std::string>* log_;
};

}  // namespace linkora::test
