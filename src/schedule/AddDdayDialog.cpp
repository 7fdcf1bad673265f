#include "schedule/AddDdayDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/ScheduleTexts.h"
#include "shell/QtText.h"

namespace linkora {

AddDdayDialog::AddDdayDialog(QDate initialDate, QWidget* parent) : QDialog(parent) {
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setWindowTitle(ToQt(texts::kAddDdayButton));

  auto* group = new QGroupBox(ToQt(texts::kAddDdayButton), this);
  auto* form = new QFormLayout(group);
  date_ = MakeDatePicker(group, "date");
  date_->setDate(initialDate);
  title_ = MakeTextEdit(group, "title");
  content_ = MakeTextEdit(group, "content");
  ringtone_ = MakeNameList(group, "ringtone", DdayRingtoneNames);
  form->addRow(ToQt(texts::kDateLabel), date_);
  form->addRow(ToQt(texts::kTitleLabel), title_);
  form->addRow(ToQt(texts::kContentLabel), content_);
  form->addRow(ToQt(texts::kSchedulerRingtoneLabel), ringtone_);

  FinishEntryDialog(*this, group);
  title_->setFocus();
}

DdayFields AddDdayDialog::Fields() const {
  DdayFields fields = fields_;
  fields.title = texts_.first;
  fields.content = texts_.second;
  return fields;
}

void AddDdayDialog::accept() {
  const QDate date = date_->date();
  fields_.year = date.year();
  fields_.month = date.month();
  fields_.day = date.day();
  texts_.first = EditBytes(*title_);
  texts_.second = EditBytes(*content_);
  fields_.ringtonePosition = ringtone_->currentIndex();
  QDialog::accept();
}

}  // namespace linkora
