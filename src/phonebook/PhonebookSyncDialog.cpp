#include "phonebook/PhonebookSyncDialog.h"

#include "phonebook/PhonebookTransfer.h"
#include "resources/PhonebookTexts.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {

PhonebookSyncDialog::PhonebookSyncDialog(int mode, LinkContext context,
                                         const ConnectSettings& settings, Phonebook& phonebook,
                                         PromptService& prompts, QWidget* parent)
    : SyncProgressDialog(prompts, parent),
      mode_(mode),
      context_(context),
      settings_(settings),
      phonebook_(phonebook) {
  setWindowTitle(ToQt(texts::kPhonebookSyncTitle));
}

bool PhonebookSyncDialog::PrepareStart() {
  const std::string_view title = PhonebookSyncStartTitle(mode_);
  if (title.empty()) {
    ShowMessage(texts::kInvalidCommand);
    return false;
  }
  SetTitle(title);
  return true;
}

int PhonebookSyncDialog::Run() {
  return RunPhonebookSync(mode_, context_, *this, settings_, phonebook_);
}

}  // namespace linkora
