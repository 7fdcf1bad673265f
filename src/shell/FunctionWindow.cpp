#include "shell/FunctionWindow.h"

#include "link/ConnectAndVerify.h"
#include "resources/ShellTexts.h"
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
