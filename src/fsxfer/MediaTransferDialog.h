#pragma once

#include "fsxfer/MediaTransfer.h"
#include "link/LinkContext.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

// The progress window in which every media transfer runs: the media list
// read, one slot file read, one slot file write with the list after it, and
// the reset after an upload. The caller fills the job, runs the window
// modally and reads the job's outputs afterwards.
class MediaTransferDialog : public SyncProgressDialog {
 public:
  MediaTransferDialog(LinkContext context, PromptService& prompts, MediaTransferJob& job,
                      QWidget* parent = nullptr);

  const MediaTransferJob& Job() const { return job_; }

 protected:
  // The title of the mode (and the full bar for the reset). A mode without
  // work ends the window with 2 at once rather than leaving it open with no
  // way to close it.
  bool PrepareStart() override;
  int Run() override;

 private:
  LinkContext context_;
  MediaTransferJob& job_;
};

}  // namespace linkora
