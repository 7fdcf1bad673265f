#include "media/MediaManagerDialog.h"

#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {

MediaManagerDialog::MediaManagerDialog(const ConnectSettings& settings, LinkContext context,
                                       PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent) {
  setWindowTitle(ToQt(texts::kMediaWindowTitle));
  resize(586, 421);
}

}  // namespace linkora
