#pragma once

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "shell/SyncProgressDialog.h"

namespace linkora {

class Phonebook;

// The phonebook's progress window: reads the handset's phonebook into the
// phonebook window's store (mode 0) or writes the store to the handset
// (mode 1). A read replaces the store only when it completes.
class PhonebookSyncDialog final : public SyncProgressDialog {
 public:
  PhonebookSyncDialog(int mode, LinkContext context, const ConnectSettings& settings,
                      Phonebook& phonebook, PromptService& prompts, QWidget* parent = nullptr);

  int Mode() const { return mode_; }

 protected:
  bool PrepareStart() override;
  int Run() override;

 private:
  int mode_;
  LinkContext context_;
  ConnectSettings settings_;
  Phonebook& phonebook_;
};

}  // namespace linkora
