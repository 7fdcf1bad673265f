#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace linkora {

class PromptService;

// Asks for the handset's four-digit lock code in a hidden edit.
class LockCodeDialog final : public QDialog {
 public:
  explicit LockCodeDialog(PromptService& prompts, QWidget* parent = nullptr);

  std::string Code() const;

  // OK: refuses anything but four digits with a message and stays open.
  void accept() override;

 private:
  PromptService& prompts_;
  QLineEdit* code_;
};

}  // namespace linkora
