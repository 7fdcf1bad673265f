#pragma once

#include <memory>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleSync.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

// The scheduler's progress window. A read appends straight into the
// scheduler window's store (which stays as it was when the read fails); a
// write sends a copy of the store taken when the window is made.
class ScheduleSyncDialog final : public SyncProgressDialog {
 public:
  // Reads from the handset into `store`.
  static std::unique_ptr<ScheduleSyncDialog> ForRead(LinkContext context,
                                                     const ConnectSettings& settings,
                                                     ScheduleStore& store, PromptService& prompts,
                                                     QWidget* parent);
  // Writes a copy of `store` to the handset.
  static std::unique_ptr<ScheduleSyncDialog> ForWrite(LinkContext context,
                                                      const ConnectSettings& settings,
                                                      const ScheduleStore& store,
                                                      PromptService& prompts, QWidget* parent);

  ScheduleSyncDialog(int mode, LinkContext context, const ConnectSettings& settings,
                     ScheduleStore& store, PromptService& prompts, QWidget* parent);

 protected:
  // On the first show: the title of the mode, or "잘못된 명령입니다." and the
  // end with kFailed for an unknown mode.
  bool PrepareStart() override;
  int Run() override;

 private:
  int mode_;
  LinkContext context_;
  ConnectSettings settings_;
  ScheduleStore& store_;
  std::unique_ptr<ScheduleStore> copy_;  // what a write sends
};

}  // namespace linkora
