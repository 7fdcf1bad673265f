#pragma once

#include "shell/FunctionWindow.h"

namespace linkora {

// The phonebook window: read, edit, save, load and write the handset's phonebook.
class PhonebookWindow final : public FunctionWindow {
 public:
  PhonebookWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                  QWidget* parent = nullptr);
};

}  // namespace linkora
