#pragma once

#include "link/LinkContext.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

// Looks for a handset of our maker on COM1 to COM16, in this order, with
// the data-mode probe; ends with kDone and the port number at the first
// port that answers, kFailed after the sixteenth.
class HandsetSearchDialog final : public SyncProgressDialog {
 public:
  HandsetSearchDialog(LinkContext context, PromptService& prompts, QWidget* parent = nullptr);

  // 1..16 after kDone; 0 before.
  int FoundPort() const { return foundPort_; }

 protected:
  int Run() override;

 private:
  LinkContext context_;
  int foundPort_ = 0;
};

}  // namespace linkora
