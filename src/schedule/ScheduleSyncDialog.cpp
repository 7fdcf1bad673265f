#include "schedule/ScheduleSyncDialog.h"

#include "resources/ScheduleTexts.h"
#include "shell/QtText.h"

namespace linkora {

ScheduleSyncDialog::ScheduleSyncDialog(int mode, LinkContext context,
                                       const ConnectSettings& settings, ScheduleStore& store,
                                       PromptService& prompts, QWidget* parent)
    : SyncProgressDialog(prompts, parent),
      mode_(mode),
      context_(context),
      settings_(settings),
      store_(store) {
  setWindowTitle(ToQt(texts::kScheduleSyncTitle));
}

std::unique_ptr<ScheduleSyncDialog> ScheduleSyncDialog::ForRead(LinkContext context,
                                                                const ConnectSettings& settings,
                                                                ScheduleStore& store,
                                                                PromptService& prompts,
                                                                QWidget* parent) {
  return std::make_unique<ScheduleSyncDialog>(static_cast<int>(ScheduleSyncMode::Read), context,
                                              settings, store, prompts, parent);
}

std::unique_ptr<ScheduleSyncDialog> ScheduleSyncDialog::ForWrite(LinkContext context,
                                                                 const ConnectSettings& settings,
                                                                 const ScheduleStore& store,
                                                                 PromptService& prompts,
                                                                 QWidget* parent) {
  auto copy = std::make_unique<ScheduleStore>(store);
  auto dialog = std::make_unique<ScheduleSyncDialog>(static_cast<int>(ScheduleSyncMode::Write),
                                                     context, settings, *copy, prompts, parent);
  dialog->copy_ = std::move(copy);
  return dialog;
}

bool ScheduleSyncDialog::PrepareStart() {
  const std::string_view title = ScheduleSyncStartTitle(mode_);
  if (title.empty()) {
    ShowMessage(texts::kInvalidCommand);
    return false;
  }
  SetTitle(title);
  return true;
}

int ScheduleSyncDialog::Run() {
  return RunScheduleSync(mode_, context_, *this, settings_, store_);
}

}  // namespace linkora
