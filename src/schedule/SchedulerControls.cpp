#include "schedule/SchedulerControls.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "common/Cp949.h"
#include "resources/ScheduleTexts.h"
#include "schedule/ScheduleEntry.h"
#include "shell/Cp949LimitValidator.h"
#include "shell/QtText.h"

namespace linkora {

QLocale PickerLocale() {
  return QLocale(QLocale::Korean, QLocale::SouthKorea);
}

QDateEdit* MakeDatePicker(QWidget* parent, const char* name) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setLocale(PickerLocale());
  picker->setDisplayFormat(PickerLocale().dateFormat(QLocale::LongFormat));
  picker->setDateRange(kFirstPickerDate, kLastPickerDate);
  picker->setCalendarPopup(true);
  return picker;
}

QTimeEdit* MakeTimePicker(QWidget* parent, const char* name) {
  auto* picker = new QTimeEdit(parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setLocale(PickerLocale());
  picker->setDisplayFormat(ToQt(texts::kTimePickerFormat));
  return picker;
}

QLineEdit* MakeTextEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setValidator(new Cp949LimitValidator(ScheduleEntry::kTextWidth - 1, edit));
  // Wide enough to show a full field: 40 bytes are 20 Hangul syllables.
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(20, QChar(0xAC00))) + 16);
  return edit;
}

QComboBox* MakeNameList(QWidget* parent, const char* name, const RingtoneList& names) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  for (const std::string_view entry : names) {
    list->addItem(ToQt(entry));
  }
  list->setCurrentIndex(0);
  return list;
}

QComboBox* MakeAlarmList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  for (const std::string_view entry : texts::kAlarmNames) {
    list->addItem(ToQt(entry));
  }
  list->setCurrentIndex(0);
  return list;
}

std::vector<std::uint8_t> EditBytes(const QLineEdit& edit) {
  return cp949::FromUtf8(FromQt(edit.text())).value_or(std::vector<std::uint8_t>{});
}

void FinishEntryDialog(QDialog& dialog, QGroupBox* fields) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* add = buttons->addButton(ToQt(texts::kAddButton), QDialogButtonBox::AcceptRole);
  add->setObjectName(QStringLiteral("add"));
  add->setDefault(true);
  buttons->addButton(ToQt(texts::kCancel), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("cancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(fields);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace linkora
