#include "fsxfer/MediaTransferDialog.h"

#include "resources/MediaTexts.h"
#include "shell/QtText.h"

namespace linkora {

MediaTransferDialog::MediaTransferDialog(LinkContext context, PromptService& prompts,
                                         MediaTransferJob& job, QWidget* parent)
    : SyncProgressDialog(prompts, parent), context_(context), job_(job) {
  // The base opens with the bar at 0 of 0..100 and no percent text.
  setWindowTitle(ToQt(texts::kMediaTransferTitle));
}

bool MediaTransferDialog::PrepareStart() {
  return StartMediaTransfer(*this, job_);
}

int MediaTransferDialog::Run() {
  return RunMediaTransfer(context_, *this, job_) == kMediaTransferDone ? kDone : kFailed;
}

}  // namespace linkora
