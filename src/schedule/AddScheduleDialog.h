#pragma once

#include <QDate>
#include <QDialog>

#include "schedule/SchedulerControls.h"
#include "schedule/SchedulerEdits.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

namespace linkora {

// "스케줄러 추가": date, time, content, place, alarm and ringtone of a new
// schedule. The date starts at the date it is opened with, the time at the
// current time of day.
class AddScheduleDialog final : public QDialog {
 public:
  explicit AddScheduleDialog(QDate initialDate, QWidget* parent = nullptr);

  // What "추가" collected; the texts live in the dialog.
  ScheduleFields Fields() const;

  void accept() override;

 private:
  QDateEdit* date_;
  QTimeEdit* time_;
  QLineEdit* content_;
  QLineEdit* place_;
  QComboBox* alarm_;
  QComboBox* ringtone_;
  ScheduleFields fields_;
  EntryTexts texts_;
};

}  // namespace linkora
