#include "shell/PhoneNumberDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
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

constexpr int kPartDigits = 4;

QLineEdit* DigitsEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(kPartDigits);
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  edit->setFixedWidth(60);
  return edit;
}

}  // namespace

PhoneNumberDialog::PhoneNumberDialog(PromptService& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
  setWindowTitle(ToQt(texts::kPhoneNumberTitle));
  auto* layout = new QVBoxLayout(this);
  for (const auto line :
       {texts::kPhoneNumberLine1, texts::kPhoneNumberLine2, texts::kPhoneNumberLine3}) {
    layout->addWidget(new QLabel(ToQt(line), this));
  }

  prefix_ = new QComboBox(this);
  prefix_->setObjectName(QStringLiteral("prefix"));
  prefix_->addItems({QStringLiteral("016"), QStringLiteral("018")});
  prefix_->model()->sort(0);
  prefix_->setCurrentIndex(0);
  middle_ = DigitsEdit(this, "middle");
  last_ = DigitsEdit(this, "last");

  auto* number = new QHBoxLayout;
  number->addStretch();
  number->addWidget(prefix_);
  number->addWidget(new QLabel(QStringLiteral("-"), this));
  number->addWidget(middle_);
  number->addWidget(new QLabel(QStringLiteral("-"), this));
  number->addWidget(last_);
  number->addStretch();
  layout->addLayout(number);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQt(texts::kOk));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQt(texts::kCancel));
  connect(buttons, &QDialogButtonBox::accepted, this, &PhoneNumberDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PhoneNumberDialog::reject);
  layout->addWidget(buttons);
  middle_->setFocus();
}

std::string PhoneNumberDialog::Number() const {
  return FromQt(prefix_->currentText() + middle_->text() + last_->text());
}

void PhoneNumberDialog::accept() {
  if (middle_->text().size() < 3 || last_->text().size() != kPartDigits) {
    prompts_.ShowMessage(texts::kPhoneNumberInvalid);
    return;
  }
  QDialog::accept();
}

}  // namespace linkora
