#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/PromptService.h"

namespace linkora::test {

// A prompt service answered in advance. Each question takes the next queued
// answer; with none queued a Yes/No question gets No and every dialog Cancel,
// so a test never blocks. Everything asked is recorded in order.
class ScriptedPromptService final : public PromptService {
 public:
  struct Prompt {
    std::string kind;  // "Message", "YesNo", "Open", "OpenMany", "Save", "Folder", "PhoneNumber",
                       // "LockCode"
    std::string text;  // message text, or the file dialog's caption
    std::string caption;
  };

  void SetNextAnswer(bool yes) { yesNoAnswers.push_back(yes); }
  void SetNextFileName(std::optional<std::string> path) { fileAnswers.push_back(std::move(path)); }
  void SetNextFileNames(std::vector<std::string> paths) {
    fileListAnswers.push_back(std::move(paths));
  }
  void SetNextPhoneNumber(std::optional<std::string> number) {
    phoneNumberAnswers.push_back(std::move(number));
  }
  void SetNextLockCode(std::optional<std::string> code) {
    lockCodeAnswers.push_back(std::move(code));
  }

  void ShowMessage(std::string_view text, std::string_view caption = {}) override {
    Record("Message", text, caption);
  }
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    Record("YesNo", text, caption);
    return Next(yesNoAnswers).value_or(false);
  }
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override {
    Record("Open", request.caption, {});
    requests.push_back(request);
    return Next(fileAnswers).value_or(std::nullopt);
  }
  std::vector<std::string> AskOpenFileNames(const FileDialogRequest& request) override {
    Record("OpenMany", request.caption, {});
    requests.push_back(request);
    return Next(fileListAnswers).value_or(std::vector<std::string>{});
  }
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
    Record("Save", request.caption, {});
    requests.push_back(request);
    return Next(fileAnswers).value_or(std::nullopt);
  }
  std::optional<std::string> AskFolder(const FileDialogRequest& request) override {
    Record("Folder", request.caption, {});
    requests.push_back(request);
    return Next(fileAnswers).value_or(std::nullopt);
  }
  std::optional<std::string> AskPhoneNumber() override {
    Record("PhoneNumber", {}, {});
    return Next(phoneNumberAnswers).value_or(std::nullopt);
  }
  std::optional<std::string> AskLockCode() override {
    Record("LockCode", {}, {});
    return Next(lockCodeAnswers).value_or(std::nullopt);
  }

  // The texts of the message boxes shown, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const Prompt& prompt : prompts) {
      if (prompt.kind == "Message") {
        texts.push_back(prompt.text);
      }
    }
    return texts;
  }

  std::vector<Prompt> prompts;
  std::vector<FileDialogRequest> requests;
  std::deque<bool> yesNoAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<std::vector<std::string>> fileListAnswers;
  std::deque<std::optional<std::string>> phoneNumberAnswers;
  std::deque<std::optional<std::string>> lockCodeAnswers;

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<T>& answers) {
    if (answers.empty()) {
      return std::nullopt;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
  void Record(std::string kind, std::string_view text, std::string_view caption) {
    prompts.push_back({std::move(kind), std::string(text), std::string(caption)});
  }
};

}  // namespace linkora::test
