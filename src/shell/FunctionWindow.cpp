#include "shell/FunctionWindow.h"

#include <fmt/printf.h>

#include "backup/SafeWrite.h"
#include "common/DataFolder.h"
#include "link/ConnectAndVerify.h"
#include "resources/BackupTexts.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/PromptService.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

FunctionWindow::FunctionWindow(const ConnectSettings& settings, LinkContext context,
                               PromptService& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), context_(context), prompts_(prompts) {
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

int FunctionWindow::RunProgress(SyncProgressDialog& progress) {
  progress.SetDiagPortTarget(&diagPortName_);
  return progress.exec();
}

bool FunctionWindow::KeepSafetyCopy(const Phonebook* phonebook, const ScheduleStore* store) {
  safetyCopy_.reset();
  if (phonebook == nullptr && store == nullptr) {
    return true;
  }
  std::string error;
  safetyCopy_ =
      KeepLastReadCopy(DefaultDataFolder(), context_.state, settings_, phonebook, store, error);
  return safetyCopy_ ||
         prompts_.AskYesNo(fmt::sprintf(std::string(texts::kSafetyCopyFailedQuestion), error),
                           texts::kAppTitle);
}

void FunctionWindow::TellSafetyCopy() {
  if (safetyCopy_) {
    prompts_.ShowMessage(fmt::sprintf(std::string(texts::kSafetyCopySaved), safetyCopy_->string()));
  }
  safetyCopy_.reset();
}

void FunctionWindow::reject() {
  if (HasUnsavedEdits() && !prompts_.AskYesNo(texts::kCloseWithUnsavedEdits, texts::kAppTitle)) {
    return;
  }
  EndHandsetVisit(context_, diagPortName_);
  QDialog::reject();
}

void FunctionWindow::CloseAfterReset() {
  QDialog::reject();
}

}  // namespace linkora
