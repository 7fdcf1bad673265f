#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleSync.h"
#include "schedule/SchedulerControls.h"
#include "shell/FunctionWindow.h"

class QCalendarWidget;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimeEdit;

namespace linkora {

struct FileDialogRequest;
class ImportReportDialog;

// Where the scheduler learns today's date for the D-day countdown.
using TodayClock = std::function<CalendarDate()>;

// The scheduler window: reads the handset's schedules and D-days, edits,
// adds and deletes them, and moves them to and from the handset and schedule
// files. It owns the store; its lists show one line per entry in store order.
class SchedulerWindow final : public FunctionWindow {
 public:
  // Editor modes: nothing selected yet, a schedule, a D-day.
  static constexpr int kNoEditor = -1;
  static constexpr int kScheduleEditor = 0;
  static constexpr int kDdayEditor = 1;

  SchedulerWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                  QWidget* parent = nullptr, TodayClock today = LocalToday);
  ~SchedulerWindow() override;

  const ScheduleStore& Store() const { return *store_; }

  // How the report of an iCalendar import is shown: by default modally; a
  // test answers or inspects the dialog here.
  using ReportShower = std::function<void(ImportReportDialog&)>;
  void SetReportShower(ReportShower shower) { showReport_ = std::move(shower); }
  int EditorMode() const { return editorMode_; }

  // Enter does nothing in this window.
  void accept() override {}

 protected:
  // Edits since the last read, load or save.
  bool HasUnsavedEdits() const override;

 private:
  void BuildControls();
  void ReadFromHandset();
  void WriteToHandset();
  void LoadFile();
  void SaveFile();
  void ScheduleSelected();
  void DdaySelected();
  void DatePicked();
  void StoreEditor();
  void DeleteSelected();
  void AddNewSchedule();
  void AddNewDday();

  void ApplyReaction(const SchedulerReaction& reaction);
  void EnableWriteAndSave(bool enable);
  void EnableAdding();
  void RefillSchedules();
  void RefillDdays();
  void EndEditing();
  void ShowEditorTexts(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second);
  void ShowEditorRingtone(std::uint8_t code);
  std::vector<std::uint8_t> FirstText() const;
  std::vector<std::uint8_t> SecondText() const;
  void ShowCountdown(int year, int month, int day);
  FileDialogRequest FileRequest(std::string_view caption) const;
  void MarkSaved();
  void ImportIcalendar(const std::string& path);
  void ExportIcalendar(const std::string& path);

  std::unique_ptr<ScheduleStore> store_;
  std::unique_ptr<ScheduleStore> saved_;     // as it was last read, loaded or saved
  std::unique_ptr<ScheduleStore> lastRead_;  // as the handset last gave it, for the safety copy
  TodayClock today_;
  ReportShower showReport_;
  int editorMode_ = kNoEditor;
  EntryTexts editorTexts_;  // the selected entry's texts as they came

  QPushButton* read_;
  QPushButton* write_;
  QPushButton* load_;
  QPushButton* save_;
  QListWidget* schedules_;
  QListWidget* ddays_;
  QDateEdit* date_;
  QTimeEdit* time_;
  QLineEdit* countdown_;
  QLabel* firstLabel_;
  QLabel* secondLabel_;
  QLineEdit* first_;
  QLineEdit* second_;
  QComboBox* alarm_;
  QComboBox* ringtone_;
  QPushButton* storeButton_;
  QPushButton* delete_;
  QCalendarWidget* calendar_;
  QPushButton* addSchedule_;
  QPushButton* addDday_;
  QPushButton* close_;
};

}  // namespace linkora
