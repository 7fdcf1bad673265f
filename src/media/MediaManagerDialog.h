#pragma once

#include "shell/FunctionWindow.h"

namespace linkora {

// The media window: ringtones and pictures between the handset and the PC.
class MediaManagerDialog final : public FunctionWindow {
 public:
  MediaManagerDialog(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                     QWidget* parent = nullptr);
};

}  // namespace linkora
