#pragma once

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "messages/MessageSync.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

// The progress window of the message read: hands each decoded message to
// the message window as it arrives.
class MessageSyncDialog final : public SyncProgressDialog {
 public:
  MessageSyncDialog(LinkContext context, const ConnectSettings& settings, MessageSink& sink,
                    PromptService& prompts, QWidget* parent);

 protected:
  // On the first show: the title of the read.
  bool PrepareStart() override;
  int Run() override;

 private:
  LinkContext context_;
  ConnectSettings settings_;
  MessageSink& sink_;
};

}  // namespace linkora
