#include "phonebook/PhonebookWindow.h"

#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {

PhonebookWindow::PhonebookWindow(const ConnectSettings& settings, LinkContext context,
                                 PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent) {
  setWindowTitle(ToQt(texts::kPhonebookWindowTitle));
  resize(640, 480);
}

}  // namespace linkora
