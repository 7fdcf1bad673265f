#include "shell/HandsetSearchDialog.h"

#include <fmt/printf.h>

#include "link/PhoneLink.h"
#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

constexpr int kPortCount = 16;

}  // namespace

HandsetSearchDialog::HandsetSearchDialog(LinkContext context, PromptService& prompts,
                                         QWidget* parent)
    : SyncProgressDialog(prompts, parent), context_(context) {
  setWindowTitle(ToQt(texts::kSearchTitle));
}

int HandsetSearchDialog::Run() {
  for (int n = 1; n <= kPortCount; ++n) {
    SetProgress(n * 100 / kPortCount);
    PumpMessages();
    PhoneLink link(context_);
    if (link.IsMakerHandset(fmt::sprintf(std::string(texts::kPortNameFormat), n), kLinkBaudRate)) {
      foundPort_ = n;
      return kDone;
    }
  }
  return kFailed;
}

}  // namespace linkora
