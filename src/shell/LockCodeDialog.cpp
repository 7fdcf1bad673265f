#include "shell/LockCodeDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "resources/Texts.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

constexpr int kCodeDigits = 4;

}  // namespace

LockCodeDialog::LockCodeDialog(PromptService& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
  setWindowTitle(ToQt(texts::kLockCodeTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQt(texts::kLockCodeText), this));

  code_ = new QLineEdit(this);
  code_->setObjectName(QStringLiteral("code"));
  code_->setEchoMode(QLineEdit::Password);
  code_->setMaxLength(kCodeDigits);
  code_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), code_));
  code_->setFixedWidth(80);
  layout->addWidget(code_, 0, Qt::AlignHCenter);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQt(texts::kOk));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQt(texts::kCancel));
  connect(buttons, &QDialogButtonBox::accepted, this, &LockCodeDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LockCodeDialog::reject);
  layout->addWidget(buttons);
  code_->setFocus();
}

std::string LockCodeDialog::Code() const {
  return FromQt(code_->text());
}

void LockCodeDialog::accept() {
  if (code_->text().size() != kCodeDigits) {
    prompts_.ShowMessage(texts::kLockCodeInvalid);
    return;
  }
  QDialog::accept();
}

}  // namespace linkora
