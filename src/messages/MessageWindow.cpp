#include "messages/MessageWindow.h"

#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {

MessageWindow::MessageWindow(const ConnectSettings& settings, LinkContext context,
                             PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent) {
  setWindowTitle(ToQt(texts::kMessageWindowTitle));
  resize(544, 405);
}

}  // namespace linkora
