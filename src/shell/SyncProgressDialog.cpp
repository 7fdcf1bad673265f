#include "shell/SyncProgressDialog.h"

#include <fmt/printf.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include "resources/ShellTexts.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {

SyncProgressDialog::SyncProgressDialog(PromptService& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
  // A caption, no system menu and no buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(441, 48);

  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("progress"));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setGeometry(16, 12, 366, 22);

  percent_ = new QLabel(this);
  percent_->setObjectName(QStringLiteral("percent"));
  percent_->setGeometry(387, 12, 50, 22);
  percent_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int SyncProgressDialog::ProgressValue() const {
  return bar_->value();
}

QString SyncProgressDialog::PercentText() const {
  return percent_->text();
}

void SyncProgressDialog::SetTitle(std::string_view title) {
  setWindowTitle(ToQt(title));
}

void SyncProgressDialog::SetProgress(int percent) {
  // The bar and its text always show the same value, within 0..100.
  const int value = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
  bar_->setValue(value);
  percent_->setText(ToQt(fmt::sprintf(std::string(texts::kPercentFormat), value, '%')));
}

void SyncProgressDialog::PumpMessages() {
  // Everything already queued is handled, nothing is waited for. Input to
  // the windows below is blocked by this window's modality.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SyncProgressDialog::ShowMessage(std::string_view text) {
  prompts_.ShowMessage(text);
}

std::optional<std::string> SyncProgressDialog::AskPhoneNumber() {
  return prompts_.AskPhoneNumber();
}

std::optional<std::string> SyncProgressDialog::AskLockCode() {
  return prompts_.AskLockCode();
}

void SyncProgressDialog::SetDiagPortName(const std::string& portName) {
  if (diagPortName_ != nullptr) {
    *diagPortName_ = portName;
  }
}

void SyncProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) {
    return;
  }
  started_ = true;
  if (!PrepareStart()) {
    QMetaObject::invokeMethod(
        this, [this] { done(kFailed); }, Qt::QueuedConnection);
    return;
  }
  // Queued, so the work begins once the window is fully shown and painted.
  QMetaObject::invokeMethod(
      this, [this] { Start(); }, Qt::QueuedConnection);
}

void SyncProgressDialog::closeEvent(QCloseEvent* event) {
  // The close box does nothing; the window ends only when its work ends.
  event->ignore();
}

void SyncProgressDialog::Start() {
  working_ = true;
  const int result = Run();
  working_ = false;
  done(result == kDone ? kDone : kFailed);
}

}  // namespace linkora
