#include "shell/FunctionWindow.h"

#include "link/ConnectAndVerify.h"
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
  EndHandsetVisit(context_, diagPortName_);
  QDialog::reject();
}

void FunctionWindow::CloseAfterReset() {
  QDialog::reject();
}

}  // namespace linkora
