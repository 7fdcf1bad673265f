#include "schedule/SchedulerWindow.h"

#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {

SchedulerWindow::SchedulerWindow(const ConnectSettings& settings, LinkContext context,
                                 PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent) {
  setWindowTitle(ToQt(texts::kSchedulerWindowTitle));
  resize(640, 480);
}

}  // namespace linkora
