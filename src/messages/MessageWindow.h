#pragma once

#include "shell/FunctionWindow.h"

namespace linkora {

// The message window: the handset's received and sent text messages.
class MessageWindow final : public FunctionWindow {
 public:
  MessageWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                QWidget* parent = nullptr);
};

}  // namespace linkora
