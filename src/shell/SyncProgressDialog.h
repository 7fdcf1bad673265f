#pragma once

#include <QDialog>
#include <string>

#include "link/TransferHost.h"

class QLabel;
class QProgressBar;

namespace linkora {

class PromptService;

// The common progress window of every exchange with the handset: a bar and
// its percent text. The first time the window is shown it queues its start;
// when that arrives the whole work runs synchronously in Run(), keeping the
// window painted through PumpMessages(), and the window ends with kDone (1)
// or kFailed (2). The work cannot be interrupted half-way, so Escape and the
// close box do nothing.
class SyncProgressDialog : public QDialog, public TransferHost {
 public:
  static constexpr int kDone = 1;
  static constexpr int kFailed = 2;

  explicit SyncProgressDialog(PromptService& prompts, QWidget* parent = nullptr);

  // Where SetDiagPortName records the port the handset answered on: the
  // DiagPortName of the function window that runs this window.
  void SetDiagPortTarget(std::string* diagPortName) { diagPortName_ = diagPortName; }

  bool Started() const { return started_; }
  bool Working() const { return working_; }
  int ProgressValue() const;
  QString PercentText() const;

  // TransferHost
  void SetTitle(std::string_view title) override;
  void SetProgress(int percent) override;
  void PumpMessages() override;
  void ShowMessage(std::string_view text) override;
  std::optional<std::string> AskPhoneNumber() override;
  std::optional<std::string> AskLockCode() override;
  void SetDiagPortName(const std::string& portName) override;

  // Escape: the window has no cancel; it ends only through its work.
  void reject() override {}

 protected:
  // Called once, on the first show, before the start is queued: a window
  // sets its title for its mode here. False ends the window with kFailed
  // without starting (after showing why, if there is a message).
  virtual bool PrepareStart() { return true; }
  // The work itself; returns kDone or kFailed.
  virtual int Run() = 0;

  PromptService& Prompts() { return prompts_; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Start();

  PromptService& prompts_;
  QProgressBar* bar_;
  QLabel* percent_;
  std::string* diagPortName_ = nullptr;
  bool started_ = false;
  bool working_ = false;
};

}  // namespace linkora
