#pragma once

#include <QDate>
#include <QLocale>
#include <cstdint>
#include <string_view>
#include <vector>

#include "schedule/Ringtones.h"

class QCalendarWidget;
class QComboBox;
class QDialog;
class QGroupBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;
class QWidget;

namespace linkora {

// The texts an entry dialog or the editor collected, as CP949 bytes.
struct EntryTexts {
  std::vector<std::uint8_t> first;   // content of a schedule, title of a D-day
  std::vector<std::uint8_t> second;  // place of a schedule, content of a D-day
};

// The pickers speak Korean like the rest of the program: the long date form
// and the half-day words "오전"/"오후".
QLocale PickerLocale();

// The first and last day the pickers and the month calendar offer.
inline const QDate kFirstPickerDate{1997, 1, 1};
inline const QDate kLastPickerDate{2049, 12, 31};

// A date picker in the long date form, from 1997-01-01 to 2049-12-31.
QDateEdit* MakeDatePicker(QWidget* parent, const char* name);
// A time picker with up-down buttons, "오전 09:30".
QTimeEdit* MakeTimePicker(QWidget* parent, const char* name);
// An edit of a record text: at most 40 CP949 bytes.
QLineEdit* MakeTextEdit(QWidget* parent, const char* name);
// A drop-down list of the given names, unsorted, first line selected.
QComboBox* MakeNameList(QWidget* parent, const char* name, const RingtoneList& names);
QComboBox* MakeAlarmList(QWidget* parent, const char* name);

// Lays an entry dialog out: its group of fields above the buttons "추가"
// (the default, accepting) and "취소" (rejecting), at a fixed size.
void FinishEntryDialog(QDialog& dialog, QGroupBox* fields);

// The CP949 bytes of an edit (whose validator admits only encodable text).
std::vector<std::uint8_t> EditBytes(const QLineEdit& edit);

}  // namespace linkora
