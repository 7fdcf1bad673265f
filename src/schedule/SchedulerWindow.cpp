#include "schedule/SchedulerWindow.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <ctime>

#include "common/Cp949.h"
#include "resources/ScheduleTexts.h"
#include "resources/ShellTexts.h"
#include "schedule/AddDdayDialog.h"
#include "schedule/AddScheduleDialog.h"
#include "schedule/IcalendarReader.h"
#include "schedule/IcalendarWriter.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleSyncDialog.h"
#include "schedule/SchedulerEdits.h"
#include "shell/FileFilter.h"
#include "shell/ImportReportDialog.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// The month calendar's colour, behind the month days and around them.
const QColor kCalendarColour(140, 160, 248);

QPushButton* MakeButton(QWidget* parent, std::string_view text, const char* name) {
  auto* button = new QPushButton(ToQt(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);  // Enter presses nothing in the scheduler
  return button;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

// The selected line of a list, or -1.
int SelectedLine(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.row(selected.front());
}

QDate DateOf(int year, int month, int day) {
  return QDate(year, month, day);
}

// Chosen by the name's extension: the file dialogs offer both types.
bool IsIcalendarPath(const std::string& path) {
  return QString::fromStdString(path).endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive);
}

// Noon of a day on the local clock, for the reader's "today".
std::time_t NoonOf(CalendarDate date) {
  std::tm local{};
  local.tm_year = date.year - 1900;
  local.tm_mon = date.month - 1;
  local.tm_mday = date.day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

}  // namespace

SchedulerWindow::SchedulerWindow(const ConnectSettings& settings, LinkContext context,
                                 PromptService& prompts, QWidget* parent, TodayClock today)
    : FunctionWindow(settings, context, prompts, parent),
      store_(std::make_unique<ScheduleStore>()),
      saved_(std::make_unique<ScheduleStore>()),
      today_(std::move(today)) {
  setWindowTitle(ToQt(texts::kSchedulerTitle));
  BuildControls();

  // At first only reading from the handset, loading a file and closing.
  store_->Clear();
  RefillSchedules();
  RefillDdays();
  EnableWriteAndSave(false);
  EndEditing();
  calendar_->setEnabled(false);
  addSchedule_->setEnabled(false);
  addDday_->setEnabled(false);
}

SchedulerWindow::~SchedulerWindow() = default;

void SchedulerWindow::BuildControls() {
  read_ = MakeButton(this, texts::kSchedulerReadButton, "read");
  write_ = MakeButton(this, texts::kSchedulerWriteButton, "write");
  load_ = MakeButton(this, texts::kSchedulerLoadButton, "load");
  save_ = MakeButton(this, texts::kSchedulerSaveButton, "save");
  auto* transfers = new QHBoxLayout;
  for (QPushButton* button : {read_, write_, load_, save_}) {
    transfers->addWidget(button);
  }
  transfers->addStretch();

  schedules_ = MakeList(this, "schedules");
  ddays_ = MakeList(this, "ddays");
  auto* lists = new QVBoxLayout;
  lists->addWidget(new QLabel(ToQt(texts::kScheduleListLabel), this));
  lists->addWidget(schedules_, 3);
  lists->addWidget(new QLabel(ToQt(texts::kDdayListLabel), this));
  lists->addWidget(ddays_, 2);
  const int listWidth =
      schedules_->fontMetrics().horizontalAdvance(QStringLiteral("2049-12-31 23:59")) + 40;
  schedules_->setFixedWidth(listWidth);
  ddays_->setFixedWidth(listWidth);

  date_ = MakeDatePicker(this, "date");
  time_ = MakeTimePicker(this, "time");
  countdown_ = new QLineEdit(this);
  countdown_->setObjectName(QStringLiteral("countdown"));
  countdown_->setReadOnly(true);
  countdown_->setFocusPolicy(Qt::NoFocus);
  countdown_->setFixedWidth(countdown_->fontMetrics().horizontalAdvance(QStringLiteral("D-00000")) +
                            16);
  firstLabel_ = new QLabel(ToQt(texts::kContentLabel), this);
  secondLabel_ = new QLabel(ToQt(texts::kPlaceLabel), this);
  first_ = MakeTextEdit(this, "first");
  second_ = MakeTextEdit(this, "second");
  alarm_ = MakeAlarmList(this, "alarm");
  ringtone_ = MakeNameList(this, "ringtone", RingtoneNames);
  storeButton_ = MakeButton(this, texts::kStoreButton, "store");
  delete_ = MakeButton(this, texts::kSchedulerDeleteButton, "delete");

  auto* editor = new QGridLayout;
  editor->addWidget(date_, 0, 0, 1, 3);
  editor->addWidget(time_, 1, 0, 1, 2);
  editor->addWidget(countdown_, 1, 2);
  editor->addWidget(firstLabel_, 2, 0);
  editor->addWidget(first_, 2, 1, 1, 2);
  editor->addWidget(secondLabel_, 3, 0);
  editor->addWidget(second_, 3, 1, 1, 2);
  editor->addWidget(new QLabel(ToQt(texts::kAlarmLabel), this), 4, 0);
  editor->addWidget(alarm_, 4, 1, 1, 2);
  editor->addWidget(new QLabel(ToQt(texts::kSchedulerRingtoneLabel), this), 5, 0);
  editor->addWidget(ringtone_, 5, 1, 1, 2);
  auto* editButtons = new QHBoxLayout;
  editButtons->addStretch();
  editButtons->addWidget(storeButton_);
  editButtons->addWidget(delete_);
  editor->addLayout(editButtons, 6, 0, 1, 3);
  editor->setRowStretch(7, 1);
  editor->setColumnStretch(1, 1);

  auto* adding = new QGroupBox(ToQt(texts::kAddScheduleGroup), this);
  calendar_ = new QCalendarWidget(adding);
  calendar_->setObjectName(QStringLiteral("calendar"));
  calendar_->setLocale(PickerLocale());
  calendar_->setDateRange(kFirstPickerDate, kLastPickerDate);
  calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  QPalette colours = calendar_->palette();
  colours.setColor(QPalette::Base, kCalendarColour);
  colours.setColor(QPalette::AlternateBase, kCalendarColour);
  colours.setColor(QPalette::Window, kCalendarColour);
  calendar_->setPalette(colours);
  calendar_->setAutoFillBackground(true);
  if (auto* days = calendar_->findChild<QTableView*>()) {
    days->setPalette(colours);
  }
  calendar_->setFixedSize(calendar_->minimumSizeHint());
  const CalendarDate today = today_();
  calendar_->setSelectedDate(DateOf(today.year, today.month, today.day));
  date_->setDate(calendar_->selectedDate());
  addSchedule_ = MakeButton(adding, texts::kAddScheduleButton, "addSchedule");
  addDday_ = MakeButton(adding, texts::kAddDdayButton, "addDday");
  auto* addButtons = new QHBoxLayout;
  addButtons->addWidget(addSchedule_);
  addButtons->addWidget(addDday_);
  auto* addLayout = new QVBoxLayout(adding);
  addLayout->addWidget(calendar_);
  addLayout->addLayout(addButtons);
  addLayout->addStretch();

  auto* body = new QHBoxLayout;
  body->addLayout(lists);
  body->addSpacing(8);
  body->addLayout(editor, 1);
  body->addSpacing(8);
  body->addWidget(adding, 0, Qt::AlignTop);

  close_ = MakeButton(this, texts::kCloseButton, "close");
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(transfers);
  layout->addLayout(body, 1);
  layout->addLayout(closing);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(read_, &QPushButton::clicked, this, [this] { ReadFromHandset(); });
  connect(write_, &QPushButton::clicked, this, [this] { WriteToHandset(); });
  connect(load_, &QPushButton::clicked, this, [this] { LoadFile(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveFile(); });
  connect(schedules_, &QListWidget::itemSelectionChanged, this, [this] { ScheduleSelected(); });
  connect(ddays_, &QListWidget::itemSelectionChanged, this, [this] { DdaySelected(); });
  connect(date_, &QDateEdit::dateChanged, this, [this] { DatePicked(); });
  connect(storeButton_, &QPushButton::clicked, this, [this] { StoreEditor(); });
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(addSchedule_, &QPushButton::clicked, this, [this] { AddNewSchedule(); });
  connect(addDday_, &QPushButton::clicked, this, [this] { AddNewDday(); });
  connect(close_, &QPushButton::clicked, this, [this] { reject(); });
}

void SchedulerWindow::ReadFromHandset() {
  // The read fills a store of its own and replaces this one only when it
  // succeeds: a failed or cancelled read leaves the lists and the user's
  // edits as they were.
  const auto progress =
      ScheduleSyncDialog::ForRead(Context(), Settings(), *store_, Prompts(), this);
  if (RunProgress(*progress) != kSyncDone) {
    return;
  }
  lastRead_ = std::make_unique<ScheduleStore>(*store_);
  ApplyReaction(ReactToScheduleRead(kSyncDone, *store_));
  MarkSaved();
}

void SchedulerWindow::MarkSaved() {
  *saved_ = *store_;
}

bool SchedulerWindow::HasUnsavedEdits() const {
  return !(*store_ == *saved_);
}

void SchedulerWindow::WriteToHandset() {
  for (const std::string_view question : ScheduleWriteQuestions()) {
    if (!Prompts().AskYesNo(question, texts::kAppTitle)) {
      return;
    }
  }
  if (!KeepSafetyCopy(nullptr, lastRead_.get())) {
    return;
  }
  const auto progress =
      ScheduleSyncDialog::ForWrite(Context(), Settings(), *store_, Prompts(), this);
  const int result = RunProgress(*progress);
  TellSafetyCopy();
  if (result == kSyncDone) {
    CloseAfterReset();  // the handset restarts; no mode return
  }
}

FileDialogRequest SchedulerWindow::FileRequest(std::string_view caption) const {
  FileDialogRequest request;
  request.caption = std::string(caption);
  request.folderKey = std::string(texts::kProfileScheduleFolderKey);
  // The schedule file stays the first type; iCalendar follows it.
  std::string pairs(texts::kScheduleFileFilter);
  pairs.pop_back();
  request.filter = DialogFilter(pairs + std::string(texts::kIcalFileFilter));
  request.fileName = std::string(texts::kScheduleFileInitialName);
  request.defaultSuffix = std::string(texts::kScheduleFileExtension);
  return request;
}

void SchedulerWindow::LoadFile() {
  const std::optional<std::string> path =
      Prompts().AskOpenFileName(FileRequest(texts::kOpenCaption));
  if (!path) {
    return;
  }
  if (IsIcalendarPath(*path)) {
    ImportIcalendar(*path);
    return;
  }
  const ScheduleLoadResult result = LoadScheduleFile(*path, *store_);
  switch (result.status) {
    case ScheduleFileStatus::NotOpened:
      return;
    case ScheduleFileStatus::WrongFormat:
      // The store, both lists and the buttons stay as they were.
      Prompts().ShowMessage(result.message);
      return;
    case ScheduleFileStatus::Loaded:
      RefillSchedules();
      RefillDdays();
      EnableWriteAndSave(true);
      EnableAdding();
      MarkSaved();
      Prompts().ShowMessage(result.message);
      return;
  }
}

void SchedulerWindow::SaveFile() {
  const std::optional<std::string> path =
      Prompts().AskSaveFileName(FileRequest(texts::kSaveAsCaption));
  if (!path) {
    return;
  }
  if (IsIcalendarPath(*path)) {
    ExportIcalendar(*path);  // an export: the schedule file is still unsaved
    return;
  }
  const ScheduleSaveResult result = SaveScheduleFile(*path, *store_);
  if (result.saved) {
    MarkSaved();
  }
  Prompts().ShowMessage(result.message);
}

// Adds the file's events to the lists; a refused file changes nothing.
void SchedulerWindow::ImportIcalendar(const std::string& path) {
  ImportReport report;
  IcalendarReader reader([this] { return NoonOf(today_()); });
  if (!reader.Load(path, *store_, report)) {
    Prompts().ShowMessage(reader.errorString());
    return;
  }
  RefillSchedules();
  RefillDdays();
  EnableWriteAndSave(true);
  EnableAdding();
  ImportReportDialog dialog(report, this);
  if (showReport_) {
    showReport_(dialog);
  } else {
    dialog.exec();
  }
}

void SchedulerWindow::ExportIcalendar(const std::string& path) {
  IcalendarWriter writer;
  if (!writer.Save(path, *store_)) {
    Prompts().ShowMessage(std::string(texts::kIcalNotWritten) + '\n' + writer.errorString());
    return;
  }
  Prompts().ShowMessage(texts::kIcalSaved);
}

void SchedulerWindow::ScheduleSelected() {
  const int line = SelectedLine(*schedules_);
  if (line < 0) {
    return;
  }
  ddays_->clearSelection();
  const ScheduleEntry& entry = store_->Schedule(line);
  {
    const QSignalBlocker quiet(date_);
    date_->setDate(DateOf(entry.Year(), entry.Month(), entry.Day()));
  }
  time_->setTime(QTime(entry.Hour(), entry.Minute(), 0));
  ShowEditorTexts(entry.Content(), entry.Place());
  alarm_->setCurrentIndex(entry.Alarm());
  ShowEditorRingtone(entry.Ringtone());

  editorMode_ = kScheduleEditor;
  for (QWidget* control : std::initializer_list<QWidget*>{date_, time_, first_, second_, alarm_,
                                                          ringtone_, storeButton_, delete_}) {
    control->setEnabled(true);
  }
  firstLabel_->setText(ToQt(texts::kContentLabel));
  secondLabel_->setText(ToQt(texts::kPlaceLabel));
  countdown_->clear();
}

void SchedulerWindow::DdaySelected() {
  const int line = SelectedLine(*ddays_);
  if (line < 0) {
    return;
  }
  schedules_->clearSelection();
  const DdayEntry& entry = store_->Dday(line);
  {
    const QSignalBlocker quiet(date_);
    date_->setDate(DateOf(entry.Year(), entry.Month(), entry.Day()));
  }
  ShowEditorTexts(entry.Title(), entry.Content());
  alarm_->setCurrentIndex(0);
  ShowEditorRingtone(entry.Ringtone());
  ShowCountdown(entry.Year(), entry.Month(), entry.Day());

  editorMode_ = kDdayEditor;
  for (QWidget* control :
       std::initializer_list<QWidget*>{date_, first_, second_, ringtone_, storeButton_, delete_}) {
    control->setEnabled(true);
  }
  time_->setEnabled(false);
  alarm_->setEnabled(false);
  firstLabel_->setText(ToQt(texts::kTitleLabel));
  secondLabel_->setText(ToQt(texts::kContentLabel));
}

void SchedulerWindow::DatePicked() {
  // A D-day takes a new date at once; a schedule waits for "수정".
  const int line = SelectedLine(*ddays_);
  if (editorMode_ != kDdayEditor || line < 0) {
    return;
  }
  const QDate date = date_->date();
  DdayEntry& entry = store_->Dday(line);
  entry.SetYear(static_cast<std::uint16_t>(date.year()));
  entry.SetMonth(static_cast<std::uint8_t>(date.month()));
  entry.SetDay(static_cast<std::uint8_t>(date.day()));
  ShowCountdown(date.year(), date.month(), date.day());
}

void SchedulerWindow::StoreEditor() {
  const QDate date = date_->date();
  const std::vector<std::uint8_t> first = FirstText();
  const std::vector<std::uint8_t> second = SecondText();
  if (editorMode_ == kScheduleEditor) {
    const int line = SelectedLine(*schedules_);
    if (line < 0) {
      return;
    }
    ScheduleEntry& entry = store_->Schedule(line);
    const QTime time = time_->time();
    ApplyScheduleFields(
        entry,
        {.year = date.year(),
         .month = date.month(),
         .day = date.day(),
         .hour = time.hour(),
         .minute = time.minute(),
         .content = first,
         .place = second,
         .alarmPosition = alarm_->currentIndex() < 0 ? int{entry.Alarm()} : alarm_->currentIndex(),
         .ringtonePosition = ringtone_->currentIndex()});
    store_->SortAndRelink();
    RefillSchedules();
    EndEditing();
  } else if (editorMode_ == kDdayEditor) {
    const int line = SelectedLine(*ddays_);
    if (line < 0) {
      return;
    }
    ApplyDdayFields(store_->Dday(line), {.year = date.year(),
                                         .month = date.month(),
                                         .day = date.day(),
                                         .title = first,
                                         .content = second,
                                         .ringtonePosition = ringtone_->currentIndex()});
    store_->SortAndRelink();
    RefillDdays();
    EndEditing();
  }
}

void SchedulerWindow::DeleteSelected() {
  if (editorMode_ == kScheduleEditor) {
    const int line = SelectedLine(*schedules_);
    if (line < 0) {
      return;
    }
    store_->RemoveSchedule(line);
    RefillSchedules();
    EndEditing();
  } else if (editorMode_ == kDdayEditor) {
    const int line = SelectedLine(*ddays_);
    if (line < 0) {
      return;
    }
    store_->RemoveDday(line);
    RefillDdays();
    EndEditing();
  }
}

void SchedulerWindow::AddNewSchedule() {
  if (const auto full = CanAddSchedule(*store_)) {
    Prompts().ShowMessage(*full);
    return;
  }
  AddScheduleDialog dialog(calendar_->selectedDate(), this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  AddSchedule(*store_, dialog.Fields());
  RefillSchedules();
}

void SchedulerWindow::AddNewDday() {
  if (const auto full = CanAddDday(*store_)) {
    Prompts().ShowMessage(*full);
    return;
  }
  AddDdayDialog dialog(calendar_->selectedDate(), this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  AddDday(*store_, dialog.Fields());
  RefillDdays();
}

void SchedulerWindow::ApplyReaction(const SchedulerReaction& reaction) {
  RefillSchedules();
  RefillDdays();
  if (reaction.enableAdding) {
    EnableAdding();
  }
  if (reaction.enableWriteAndSave) {
    EnableWriteAndSave(*reaction.enableWriteAndSave);
  }
  if (reaction.message) {
    Prompts().ShowMessage(*reaction.message);
  }
}

void SchedulerWindow::EnableWriteAndSave(bool enable) {
  write_->setEnabled(enable);
  save_->setEnabled(enable);
}

void SchedulerWindow::EnableAdding() {
  calendar_->setEnabled(true);
  addSchedule_->setEnabled(true);
  addDday_->setEnabled(true);
}

void SchedulerWindow::RefillSchedules() {
  schedules_->clear();
  for (int i = 0; i < store_->ScheduleCount(); ++i) {
    schedules_->addItem(ToQt(ScheduleLine(store_->Schedule(i))));
  }
}

void SchedulerWindow::RefillDdays() {
  ddays_->clear();
  for (int i = 0; i < store_->DdayCount(); ++i) {
    ddays_->addItem(ToQt(DdayLine(store_->Dday(i))));
  }
}

void SchedulerWindow::EndEditing() {
  // The editor keeps its mode and the values it shows.
  for (QWidget* control : std::initializer_list<QWidget*>{date_, time_, first_, second_, alarm_,
                                                          ringtone_, storeButton_, delete_}) {
    control->setEnabled(false);
  }
  countdown_->clear();
}

void SchedulerWindow::ShowEditorTexts(std::span<const std::uint8_t> first,
                                      std::span<const std::uint8_t> second) {
  editorTexts_.first.assign(first.begin(), first.end());
  editorTexts_.second.assign(second.begin(), second.end());
  first_->setText(ToQt(cp949::ToUtf8(first)));
  second_->setText(ToQt(cp949::ToUtf8(second)));
}

void SchedulerWindow::ShowEditorRingtone(std::uint8_t code) {
  // A code that names no ringtone shows none (-1) and "수정" keeps it.
  const EditorRingtone shown = EditorRingtoneFor(code);
  ringtone_->setCurrentIndex(shown.position);
  if (shown.message) {
    Prompts().ShowMessage(*shown.message);
  }
}

// A text the user did not touch keeps the bytes it came with.
std::vector<std::uint8_t> SchedulerWindow::FirstText() const {
  return first_->isModified() ? EditBytes(*first_) : editorTexts_.first;
}

std::vector<std::uint8_t> SchedulerWindow::SecondText() const {
  return second_->isModified() ? EditBytes(*second_) : editorTexts_.second;
}

void SchedulerWindow::ShowCountdown(int year, int month, int day) {
  countdown_->setText(ToQt(CountdownText(today_(), year, month, day)));
}

}  // namespace linkora
