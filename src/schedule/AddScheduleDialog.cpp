#include "schedule/AddScheduleDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "resources/ScheduleTexts.h"
#include "shell/QtText.h"

namespace linkora {

AddScheduleDialog::AddScheduleDialog(QDate initialDate, QWidget* parent) : QDialog(parent) {
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setWindowTitle(ToQt(texts::kAddScheduleGroup));

  auto* group = new QGroupBox(ToQt(texts::kAddScheduleGroup), this);
  auto* form = new QFormLayout(group);
  date_ = MakeDatePicker(group, "date");
  date_->setDate(initialDate);
  time_ = MakeTimePicker(group, "time");
  time_->setTime(QTime::currentTime());
  content_ = MakeTextEdit(group, "content");
  place_ = MakeTextEdit(group, "place");
  alarm_ = MakeAlarmList(group, "alarm");
  ringtone_ = MakeNameList(group, "ringtone", RingtoneNames);
  form->addRow(ToQt(texts::kDateLabel), date_);
  form->addRow(ToQt(texts::kTimeLabel), time_);
  form->addRow(ToQt(texts::kContentLabel), content_);
  form->addRow(ToQt(texts::kPlaceLabel), place_);
  form->addRow(ToQt(texts::kAlarmLabel), alarm_);
  form->addRow(ToQt(texts::kSchedulerRingtoneLabel), ringtone_);

  FinishEntryDialog(*this, group);
  content_->setFocus();
}

ScheduleFields AddScheduleDialog::Fields() const {
  ScheduleFields fields = fields_;
  fields.content = texts_.first;
  fields.place = texts_.second;
  return fields;
}

void AddScheduleDialog::accept() {
  const QDate date = date_->date();
  const QTime time = time_->time();
  fields_.year = date.year();
  fields_.month = date.month();
  fields_.day = date.day();
  fields_.hour = time.hour();
  fields_.minute = time.minute();
  texts_.first = EditBytes(*content_);
  texts_.second = EditBytes(*place_);
  fields_.alarmPosition = alarm_->currentIndex();
  fields_.ringtonePosition = ringtone_->currentIndex();
  QDialog::accept();
}

}  // namespace linkora
