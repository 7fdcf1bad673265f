#pragma once

#include "shell/FunctionWindow.h"

namespace linkora {

// The scheduler window: the handset's schedules and D-days.
class SchedulerWindow final : public FunctionWindow {
 public:
  SchedulerWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                  QWidget* parent = nullptr);
};

}  // namespace linkora
