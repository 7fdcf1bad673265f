#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;

namespace linkora {

class PromptService;

// Asks for the handset's phone number when its lock is set: a prefix from
// a list, a middle part of 3 or 4 digits and a last part of 4 digits.
class PhoneNumberDialog final : public QDialog {
 public:
  explicit PhoneNumberDialog(PromptService& prompts, QWidget* parent = nullptr);

  // Prefix, middle and last part run together.
  std::string Number() const;

  // OK: refuses a short middle or last part with a message and stays open.
  void accept() override;

 private:
  PromptService& prompts_;
  QComboBox* prefix_;
  QLineEdit* middle_;
  QLineEdit* last_;
};

}  // namespace linkora
