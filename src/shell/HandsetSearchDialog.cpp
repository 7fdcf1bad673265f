#include "shell/HandsetSearchDialog.h"

#include "link/HandsetSearch.h"
#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {

HandsetSearchDialog::HandsetSearchDialog(LinkContext context, PromptService& prompts,
                                         QWidget* parent)
    : SyncProgressDialog(prompts, parent), context_(context) {
  setWindowTitle(ToQt(texts::kSearchTitle));
}

int HandsetSearchDialog::Run() {
  foundPort_ = SearchHandset(context_, *this);
  return foundPort_ > 0 ? kDone : kFailed;
}

}  // namespace linkora
