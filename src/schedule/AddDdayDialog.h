#pragma once

#include <QDate>
#include <QDialog>

#include "schedule/SchedulerControls.h"
#include "schedule/SchedulerEdits.h"

class QComboBox;
class QDateEdit;
class QLineEdit;

namespace linkora {

// "DDAY 추가": date, title, content and ringtone of a new D-day. Its ringtone
// list is DdayRingtoneNames, which reads four codes differently from the
// scheduler window's list.
class AddDdayDialog final : public QDialog {
 public:
  explicit AddDdayDialog(QDate initialDate, QWidget* parent = nullptr);

  // What "추가" collected; the texts live in the dialog.
  DdayFields Fields() const;

  void accept() override;

 private:
  QDateEdit* date_;
  QLineEdit* title_;
  QLineEdit* content_;
  QComboBox* ringtone_;
  DdayFields fields_;
  EntryTexts texts_;
};

}  // namespace linkora
