#include "messages/MessageSyncDialog.h"

#include "resources/MessageTexts.h"
#include "shell/QtText.h"

namespace linkora {

MessageSyncDialog::MessageSyncDialog(LinkContext context, const ConnectSettings& settings,
                                     MessageSink& sink, PromptService& prompts, QWidget* parent)
    : SyncProgressDialog(prompts, parent), context_(context), settings_(settings), sink_(sink) {
  setWindowTitle(ToQt(texts::kMessageSyncWindowTitle));
}

bool MessageSyncDialog::PrepareStart() {
  SetTitle(texts::kMessageSyncTitle);
  return true;
}

int MessageSyncDialog::Run() {
  return RunMessageSync(context_, *this, settings_, sink_);
}

}  // namespace linkora
