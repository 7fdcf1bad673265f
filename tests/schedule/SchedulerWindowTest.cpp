#include "schedule/SchedulerWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "common/Cp949.h"
#include "link/SessionState.h"
#include "schedule/AddDdayDialog.h"
#include "schedule/AddScheduleDialog.h"
#include "schedule/IcalendarReader.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleSyncDialog.h"
#include "shell/ImportReportDialog.h"
#include "shell/QtTranslation.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/support/WindowPictures.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::uint8_t> Bytes(std::string_view utf8) {
  return cp949::FromUtf8(utf8).value();
}

ScheduleEntry Schedule(int year, int month, int day, int hour, int minute,
                       std::string_view content = "", std::string_view place = "", int alarm = 0,
                       int ringtone = 84) {
  ScheduleEntry e;
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(static_cast<std::uint8_t>(month));
  e.SetDay(static_cast<std::uint8_t>(day));
  e.SetHour(static_cast<std::uint8_t>(hour));
  e.SetMinute(static_cast<std::uint8_t>(minute));
  e.SetContent(Bytes(content));
  e.SetPlace(Bytes(place));
  e.SetAlarm(static_cast<std::uint8_t>(alarm));
  e.SetRingtone(static_cast<std::uint8_t>(ringtone));
  return e;
}

DdayEntry Dday(int year, int month, int day, std::string_view title = "",
               std::string_view content = "", int ringtone = 84) {
  DdayEntry e;
  e.SetYear(static_cast<std::uint16_t>(year));
  e.SetMonth(static_cast<std::uint8_t>(month));
  e.SetDay(static_cast<std::uint8_t>(day));
  e.SetTitle(Bytes(title));
  e.SetContent(Bytes(content));
  e.SetRingtone(static_cast<std::uint8_t>(ringtone));
  return e;
}

std::vector<std::string> Lines(const QListWidget* list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list->count(); ++i) {
    lines.push_back(list->item(i)->text().toStdString());
  }
  return lines;
}

// Runs `fill` on the entry dialog as soon as it is open (it runs modally).
template <typename Dialog, typename Fill>
void WhenDialogOpens(Fill fill) {
  QTimer::singleShot(0, [fill] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = dynamic_cast<Dialog*>(modal);
    if (dialog == nullptr) {
      ADD_FAILURE() << "the entry dialog did not open";
      if (modal != nullptr) {
        modal->close();
      }
      return;
    }
    fill(*dialog);
  });
}

void Press(QWidget& dialog, const char* button) {
  dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// Types text into an edit key by key, as a user would.
void Type(QLineEdit* edit, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

class SchedulerWindowTest : public ::testing::Test {
 protected:
  SchedulerWindowTest() {
    fake.handsetPort = "COM2";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    fake.On("XrsNvReadSchedule_rx310", [this](test::FakeCall& call) {
      const auto it = handsetSchedules.find(call.buffer[0]);
      if (it != handsetSchedules.end()) {
        std::copy(it->second.Bytes().begin(), it->second.Bytes().end(), call.buffer.begin());
      }
      return static_cast<int>(call.buffer.size());
    });
    fake.On("XrsNvReadDday_rx310", [this](test::FakeCall& call) {
      const auto it = handsetDdays.find(call.buffer[0]);
      if (it != handsetDdays.end()) {
        std::copy(it->second.Bytes().begin(), it->second.Bytes().end(), call.buffer.begin());
      }
      return static_cast<int>(call.buffer.size());
    });
    window = std::make_unique<SchedulerWindow>(settings, LinkContext{fake, fake.sleep, state},
                                               prompts, nullptr, [this] { return today; });
    window->show();
  }

  // Puts the entries on the handset as chains in the given order.
  void OnHandset(std::vector<ScheduleEntry> schedules, std::vector<DdayEntry> ddays) {
    for (std::size_t i = 0; i < schedules.size(); ++i) {
      schedules[i].SetIndex(static_cast<std::uint8_t>(i));
      schedules[i].SetNext(i + 1 < schedules.size() ? static_cast<int>(i + 1) : 0);
      handsetSchedules[static_cast<int>(i)] = schedules[i];
    }
    for (std::size_t i = 0; i < ddays.size(); ++i) {
      ddays[i].SetIndex(static_cast<std::uint8_t>(i));
      ddays[i].SetNext(i + 1 < ddays.size() ? static_cast<int>(i + 1) : 0);
      handsetDdays[static_cast<int>(i)] = ddays[i];
    }
  }

  std::filesystem::path FileOf(const std::vector<ScheduleEntry>& schedules,
                               const std::vector<DdayEntry>& ddays,
                               const std::string& name = "plan.nsf") {
    ScheduleStore store;
    for (const auto& e : schedules) {
      store.AppendSchedule(e);
    }
    for (const auto& e : ddays) {
      store.AppendDday(e);
    }
    store.SortAndRelink();
    return folder.Write(name, EncodeScheduleFile(store));
  }

  void Load(const std::filesystem::path& path) {
    prompts.SetNextFileName(path.string());
    Button("load")->click();
  }

  // Three schedules and two D-days, loaded from a file.
  void LoadSample() {
    Load(FileOf({Schedule(2026, 12, 24, 19, 30, "성탄 저녁", "명동", 2, 90),
                 Schedule(2026, 12, 10, 9, 0, "주간 회의", "본사 3층", 1, 84),
                 Schedule(2027, 1, 1, 0, 0, "New Year", "", 0, 113)},
                {Dday(2026, 12, 19, "시험", "자격증", 99), Dday(2027, 3, 2, "입학", "", 84)}));
    prompts.prompts.clear();
  }

  QPushButton* Button(const char* name) const {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QListWidget* List(const char* name) const {
    return window->findChild<QListWidget*>(QString::fromLatin1(name));
  }
  QLineEdit* Edit(const char* name) const {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  QComboBox* Combo(const char* name) const {
    return window->findChild<QComboBox*>(QString::fromLatin1(name));
  }
  QDateEdit* DatePicker() const { return window->findChild<QDateEdit*>(QStringLiteral("date")); }
  QTimeEdit* TimePicker() const { return window->findChild<QTimeEdit*>(QStringLiteral("time")); }
  QCalendarWidget* Calendar() const { return window->findChild<QCalendarWidget*>(); }
  // The label in front of an edit.
  std::string LabelOf(const QLineEdit* edit) const {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      if (label->geometry().center().y() >= edit->geometry().top() &&
          label->geometry().center().y() <= edit->geometry().bottom() &&
          label->geometry().right() < edit->geometry().left()) {
        return label->text().toStdString();
      }
    }
    return {};
  }

  // Which of the editor's controls take input.
  std::map<std::string, bool> EditorEnabled() const {
    return {{"date", DatePicker()->isEnabled()},     {"time", TimePicker()->isEnabled()},
            {"first", Edit("first")->isEnabled()},   {"second", Edit("second")->isEnabled()},
            {"alarm", Combo("alarm")->isEnabled()},  {"ringtone", Combo("ringtone")->isEnabled()},
            {"store", Button("store")->isEnabled()}, {"delete", Button("delete")->isEnabled()}};
  }
  bool EditorOff() const {
    for (const auto& [name, enabled] : EditorEnabled()) {
      if (enabled) {
        return false;
      }
    }
    return true;
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::ScriptedPromptService prompts;
  ConnectSettings settings{"COM2", 115200, "472913"};
  CalendarDate today{2026, 12, 7};
  std::map<int, ScheduleEntry> handsetSchedules;
  std::map<int, DdayEntry> handsetDdays;
  test::TempFolder folder;
  std::unique_ptr<SchedulerWindow> window;
};

TEST_F(SchedulerWindowTest, OpensWithOnlyReadingLoadingAndClosing) {
  EXPECT_EQ(window->windowTitle().toStdString(), "Linkora 스케줄러");
  const std::map<std::string, bool> expected = {
      {"read", true},  {"write", false},       {"load", true},
      {"save", false}, {"addSchedule", false}, {"addDday", false},
      {"close", true}, {"store", false},       {"delete", false}};
  for (const auto& [name, enabled] : expected) {
    EXPECT_EQ(Button(name.c_str())->isEnabled(), enabled) << name;
  }
  EXPECT_FALSE(Calendar()->isEnabled());
  EXPECT_TRUE(EditorOff());
  EXPECT_THAT(Lines(List("schedules")), IsEmpty());
  EXPECT_THAT(Lines(List("ddays")), IsEmpty());
  EXPECT_EQ(window->EditorMode(), -1);
  EXPECT_EQ(Combo("ringtone")->count(), 30);
  EXPECT_EQ(Combo("ringtone")->currentText().toStdString(), "꽃의 왈츠");
  EXPECT_EQ(Combo("ringtone")->itemText(29).toStdString(), "힙  합");
  ASSERT_EQ(Combo("alarm")->count(), 4);
  EXPECT_EQ(Combo("alarm")->currentText().toStdString(), "사용안함");
  EXPECT_EQ(Combo("alarm")->itemText(3).toStdString(), "1시간전");
  EXPECT_EQ(Calendar()->selectedDate(), QDate(2026, 12, 7));
  EXPECT_EQ(Calendar()->minimumDate(), QDate(1997, 1, 1));
  EXPECT_EQ(Calendar()->maximumDate(), QDate(2049, 12, 31));
  EXPECT_EQ(DatePicker()->minimumDate(), QDate(1997, 1, 1));
  EXPECT_EQ(DatePicker()->maximumDate(), QDate(2049, 12, 31));
}

TEST_F(SchedulerWindowTest, ReadFillsBothListsInDateOrderAndEnablesEverything) {
  OnHandset(
      {Schedule(2026, 12, 24, 19, 30), Schedule(2026, 12, 10, 9, 5), Schedule(2027, 1, 1, 0, 0)},
      {Dday(2027, 3, 2), Dday(2026, 12, 19)});
  Button("read")->click();
  EXPECT_THAT(prompts.Messages(), ElementsAre("3개의 스케줄러와 2개의 DDAY 데이터를 받았습니다."));
  EXPECT_THAT(Lines(List("schedules")),
              ElementsAre("2026-12-10 09:05", "2026-12-24 19:30", "2027-01-01 00:00"));
  EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-03-02"));
  for (const char* name : {"write", "save", "addSchedule", "addDday"}) {
    EXPECT_TRUE(Button(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(Calendar()->isEnabled());
  EXPECT_EQ(window->DiagPortName(), "COM2");
}

TEST_F(SchedulerWindowTest, ReadOfAnEmptyHandsetSaysSoAndStillAllowsWritingAndSaving) {
  Button("read")->click();
  EXPECT_THAT(prompts.Messages(), ElementsAre("데이터가 없습니다."));
  EXPECT_TRUE(Button("write")->isEnabled());
  EXPECT_TRUE(Button("save")->isEnabled());
  EXPECT_TRUE(Button("addSchedule")->isEnabled());
  EXPECT_THAT(Lines(List("schedules")), IsEmpty());
}

TEST_F(SchedulerWindowTest, FailedOrCancelledReadLeavesTheListsTheStoreAndTheButtons) {
  OnHandset({Schedule(2026, 1, 1, 0, 0), Schedule(2026, 1, 2, 0, 0)}, {});
  struct Case {
    const char* name;
    std::function<void()> prepare;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"record read fails",
       [this] {
         fake.FailCall("XrsNvReadSchedule_rx310", 2, 2);
       },  // the second record, and its retry
       {"스케줄러 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요."}},
      {"phone number question cancelled",
       [this] {
         fake.lockFlag = true;
         state.RememberedPhoneNumber.clear();
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadSample();
    List("schedules")->setCurrentRow(1);
    Button("delete")->click();  // an edit not yet saved
    List("ddays")->setCurrentRow(0);
    const ScheduleStore before = window->Store();
    c.prepare();
    Button("read")->click();
    EXPECT_EQ(prompts.Messages(), c.messages);
    EXPECT_EQ(window->Store(), before);
    EXPECT_THAT(Lines(List("schedules")), ElementsAre("2026-12-10 09:00", "2027-01-01 00:00"));
    EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-03-02"));
    EXPECT_EQ(List("ddays")->currentRow(), 0);  // the selection and the editor stay too
    EXPECT_TRUE(Button("store")->isEnabled());
    EXPECT_TRUE(Button("write")->isEnabled());
    EXPECT_TRUE(Button("save")->isEnabled());
    EXPECT_TRUE(Button("addSchedule")->isEnabled());
  }
}

TEST_F(SchedulerWindowTest, LoadAsksForAScheduleFileAndFillsTheLists) {
  const auto path = FileOf(
      {Schedule(2026, 12, 24, 19, 30), Schedule(2026, 12, 10, 9, 0), Schedule(2027, 1, 1, 0, 0)},
      {Dday(2027, 3, 2), Dday(2026, 12, 19)});
  Load(path);
  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.prompts.front().kind, "Open");
  EXPECT_EQ(prompts.requests[0].filter, "Norvane Schedule File (*.nsf);;iCalendar (*.ics)");
  EXPECT_EQ(prompts.requests[0].fileName, "*.nsf");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "nsf");
  EXPECT_THAT(prompts.Messages(), ElementsAre("3개의 스케줄러와 2개의 DDAY 데이터를 읽었습니다."));
  EXPECT_THAT(Lines(List("schedules")),
              ElementsAre("2026-12-10 09:00", "2026-12-24 19:30", "2027-01-01 00:00"));
  EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-03-02"));
  for (const char* name : {"write", "save", "addSchedule", "addDday"}) {
    EXPECT_TRUE(Button(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(window->DiagPortName().empty());
  EXPECT_TRUE(fake.log.empty());
}

TEST_F(SchedulerWindowTest, FailedLoadKeepsTheListsTheStoreAndTheButtons) {
  LoadSample();
  const ScheduleStore before = window->Store();
  const auto shortFile = FileOf({Schedule(2026, 1, 1, 0, 0)}, {Dday(2026, 2, 2), Dday(2026, 3, 3)});
  std::vector<std::uint8_t> cut = test::TempFolder::Read(shortFile);
  cut.resize(cut.size() - 10);  // ends inside its second D-day
  std::vector<std::uint8_t> wrongCase = test::TempFolder::Read(shortFile);
  wrongCase[0] = 'n';  // "norvane ..."
  for (const auto& bytes : {cut, wrongCase}) {
    prompts.prompts.clear();
    Load(folder.Write("bad.nsf", bytes));
    EXPECT_THAT(prompts.Messages(), ElementsAre("파일 형식이 잘못되었습니다."));
    EXPECT_EQ(window->Store(), before);
    EXPECT_THAT(Lines(List("schedules")),
                ElementsAre("2026-12-10 09:00", "2026-12-24 19:30", "2027-01-01 00:00"));
    EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-03-02"));
    EXPECT_TRUE(Button("write")->isEnabled());
    EXPECT_TRUE(Button("save")->isEnabled());
  }
}

TEST_F(SchedulerWindowTest, CancelledOrUnreadableLoadDoesNothingAndSaysNothing) {
  LoadSample();
  const ScheduleStore before = window->Store();
  Button("load")->click();  // Cancel
  Load(folder.path / "missing.nsf");
  Load(folder.path);  // a folder
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(window->Store(), before);
  EXPECT_EQ(List("schedules")->count(), 3);
}

TEST_F(SchedulerWindowTest, SaveWritesAFileThatLoadsBackTheSameEntries) {
  LoadSample();
  const auto path = folder.path / "saved.nsf";
  prompts.SetNextFileName(path.string());
  Button("save")->click();
  ASSERT_EQ(prompts.requests.size(), 2u);
  EXPECT_EQ(prompts.prompts.front().kind, "Save");
  EXPECT_EQ(prompts.requests[1].filter, "Norvane Schedule File (*.nsf);;iCalendar (*.ics)");
  EXPECT_EQ(prompts.requests[1].defaultSuffix, "nsf");
  EXPECT_THAT(prompts.Messages(), ElementsAre("현재 스케줄 데이터를 파일에 저장하였습니다."));
  ScheduleStore loaded;
  ASSERT_EQ(LoadScheduleFile(path, loaded).status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(loaded, window->Store());
}

TEST_F(SchedulerWindowTest, SelectingAScheduleFillsAndOpensTheEditor) {
  LoadSample();
  List("schedules")->setCurrentRow(1);  // 2026-12-24 19:30
  EXPECT_EQ(window->EditorMode(), 0);
  EXPECT_EQ(DatePicker()->date(), QDate(2026, 12, 24));
  EXPECT_EQ(TimePicker()->time(), QTime(19, 30, 0));
  EXPECT_EQ(Edit("first")->text().toStdString(), "성탄 저녁");
  EXPECT_EQ(Edit("second")->text().toStdString(), "명동");
  EXPECT_EQ(Combo("alarm")->currentText().toStdString(), "30분전");
  EXPECT_EQ(Combo("ringtone")->currentText().toStdString(), "투우사의 노래");  // code 90
  EXPECT_EQ(LabelOf(Edit("first")), "내용");
  EXPECT_EQ(LabelOf(Edit("second")), "장소");
  EXPECT_EQ(Edit("countdown")->text().toStdString(), "");
  for (const auto& [name, enabled] : EditorEnabled()) {
    EXPECT_TRUE(enabled) << name;
  }
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(SchedulerWindowTest, SelectingADdayShowsItsCountdownFromTodaysDate) {
  struct Case {
    DdayEntry entry;
    std::string countdown;
  };
  const std::vector<Case> cases = {
      {Dday(2026, 12, 7), "D-0"},    // today
      {Dday(2026, 12, 6), "D+1"},    // yesterday
      {Dday(2026, 12, 19), "D-12"},  // twelve days ahead
      {Dday(2026, 12, 4), "D+3"},   {Dday(2027, 1, 1), "D-25"},
  };
  for (const Case& c : cases) {
    Load(FileOf({Schedule(2026, 1, 1, 0, 0)}, {c.entry}));
    List("schedules")->setCurrentRow(0);
    List("ddays")->setCurrentRow(0);
    EXPECT_EQ(Edit("countdown")->text().toStdString(), c.countdown);
    EXPECT_TRUE(List("schedules")->selectedItems().isEmpty());
  }
}

TEST_F(SchedulerWindowTest, DdayEditorTakesTitleAndContentAndLeavesTimeAndAlarmOff) {
  LoadSample();
  List("schedules")->setCurrentRow(0);
  List("ddays")->setCurrentRow(0);  // 2026-12-19 "시험" "자격증", code 99
  EXPECT_EQ(window->EditorMode(), 1);
  EXPECT_EQ(DatePicker()->date(), QDate(2026, 12, 19));
  EXPECT_EQ(Edit("first")->text().toStdString(), "시험");
  EXPECT_EQ(Edit("second")->text().toStdString(), "자격증");
  EXPECT_EQ(LabelOf(Edit("first")), "제목");
  EXPECT_EQ(LabelOf(Edit("second")), "내용");
  EXPECT_EQ(Combo("alarm")->currentIndex(), 0);
  EXPECT_EQ(Combo("ringtone")->currentText().toStdString(), "춤추는 소리");
  const std::map<std::string, bool> expected = {
      {"date", true},   {"time", false},    {"first", true}, {"second", true},
      {"alarm", false}, {"ringtone", true}, {"store", true}, {"delete", true}};
  EXPECT_EQ(EditorEnabled(), expected);
  EXPECT_TRUE(List("schedules")->selectedItems().isEmpty());
}

TEST_F(SchedulerWindowTest, DownloadedRingtoneIsAnnouncedAndStoringGivesTheFirstRingtone) {
  Load(FileOf({Schedule(2026, 5, 5, 10, 0, "소풍", "", 0, 120)}, {}));
  prompts.prompts.clear();
  List("schedules")->setCurrentRow(0);
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("다운로드 받은 벨소리가 설정되어 있습니다.\n벨소리를 변경하시려면 "
                          "노르반폰에서 설정해주시기 바랍니다."));
  EXPECT_EQ(Combo("ringtone")->currentIndex(), 0);
  Button("store")->click();
  EXPECT_EQ(window->Store().Schedule(0).Ringtone(), 84);
}

TEST_F(SchedulerWindowTest, RingtoneCodeThatNamesNothingShowsNoneAndStaysUntilOneIsPicked) {
  Load(FileOf({Schedule(2026, 5, 5, 10, 0, "소풍", "", 0, 0)}, {Dday(2026, 6, 1, "", "", 83)}));
  prompts.prompts.clear();
  List("schedules")->setCurrentRow(0);
  EXPECT_EQ(Combo("ringtone")->currentIndex(), -1);
  EXPECT_EQ(Combo("ringtone")->currentText().toStdString(), "");
  Button("store")->click();
  EXPECT_EQ(window->Store().Schedule(0).Ringtone(), 0);
  List("ddays")->setCurrentRow(0);
  EXPECT_EQ(Combo("ringtone")->currentIndex(), -1);
  Button("store")->click();
  EXPECT_EQ(window->Store().Dday(0).Ringtone(), 83);
  EXPECT_TRUE(prompts.prompts.empty());

  List("schedules")->setCurrentRow(0);
  Combo("ringtone")->setCurrentIndex(3);  // "사랑의기쁨"
  Button("store")->click();
  EXPECT_EQ(window->Store().Schedule(0).Ringtone(), 87);
}

TEST_F(SchedulerWindowTest, ClosingWithUnsavedEditsAsksFirstAndNoKeepsTheWindow) {
  const std::string question =
      "저장하지 않은 변경 내용이 있습니다.\n창을 닫으면 변경 내용이 사라집니다. 닫으시겠습니까?";
  LoadSample();
  List("ddays")->setCurrentRow(1);
  Button("delete")->click();
  // Escape, "닫기" and the close box each ask; No keeps the window open.
  QTest::keyClick(window.get(), Qt::Key_Escape);
  Button("close")->click();
  window->close();
  ASSERT_EQ(prompts.prompts.size(), 3U);
  for (const auto& prompt : prompts.prompts) {
    EXPECT_EQ(prompt.kind, "YesNo");
    EXPECT_EQ(prompt.text, question);
    EXPECT_EQ(prompt.caption, "Linkora");
  }
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Store().DdayCount(), 1);
  prompts.SetNextAnswer(true);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(prompts.prompts.size(), 4U);
}

TEST_F(SchedulerWindowTest, ClosingAfterSavingOrWithoutEditsAsksNothing) {
  struct Case {
    const char* name;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"loaded, not changed", [] {}},
      {"read, not changed", [this] { Button("read")->click(); }},
      {"changed, then saved",
       [this] {
         List("schedules")->setCurrentRow(0);
         Button("delete")->click();
         prompts.SetNextFileName((folder.path / "saved.nsf").string());
         Button("save")->click();
       }},
      {"changed back by hand",
       [this] {
         List("ddays")->setCurrentRow(0);
         DatePicker()->setDate(QDate(2026, 12, 20));
         DatePicker()->setDate(QDate(2026, 12, 19));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window->show();
    LoadSample();
    c.act();
    prompts.prompts.clear();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    for (const auto& prompt : prompts.prompts) {
      EXPECT_NE(prompt.kind, "YesNo");
    }
  }
}

TEST_F(SchedulerWindowTest, NewDateOfASelectedDdayIsStoredAtOnceButItsLineWaitsForARefill) {
  LoadSample();
  List("ddays")->setCurrentRow(0);  // 2026-12-19
  DatePicker()->setDate(QDate(2027, 5, 1));
  EXPECT_EQ(Edit("countdown")->text().toStdString(), "D-145");
  List("ddays")->setCurrentRow(1);
  const DdayEntry& changed = window->Store().Dday(0);
  EXPECT_EQ(changed.Year(), 2027);
  EXPECT_EQ(changed.Month(), 5);
  EXPECT_EQ(changed.Day(), 1);
  EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-03-02"));
}

TEST_F(SchedulerWindowTest, NewDateOfASelectedScheduleWaitsForStore) {
  LoadSample();
  List("schedules")->setCurrentRow(0);  // 2026-12-10 09:00
  DatePicker()->setDate(QDate(2027, 2, 1));
  EXPECT_EQ(window->Store().Schedule(0).Month(), 12);
  Button("store")->click();
  EXPECT_THAT(Lines(List("schedules")),
              ElementsAre("2026-12-24 19:30", "2027-01-01 00:00", "2027-02-01 09:00"));
  EXPECT_TRUE(List("schedules")->selectedItems().isEmpty());
  EXPECT_TRUE(EditorOff());
  const ScheduleEntry& moved = window->Store().Schedule(2);
  EXPECT_EQ(cp949::ToUtf8(moved.Content()), "주간 회의");
  EXPECT_EQ(moved.Index(), 2);
  EXPECT_EQ(moved.Next(), 0);
}

TEST_F(SchedulerWindowTest, StoreTakesEveryEditorValue) {
  LoadSample();
  List("schedules")->setCurrentRow(2);  // 2027-01-01 00:00 "New Year", code 113
  TimePicker()->setTime(QTime(7, 45));
  Edit("first")->selectAll();
  Type(Edit("first"), QStringLiteral("해돋이"));
  Combo("alarm")->setCurrentIndex(3);
  Combo("ringtone")->setCurrentIndex(12);
  Button("store")->click();
  const ScheduleEntry& e = window->Store().Schedule(2);
  EXPECT_EQ(e.Hour(), 7);
  EXPECT_EQ(e.Minute(), 45);
  EXPECT_EQ(cp949::ToUtf8(e.Content()), "해돋이");
  EXPECT_EQ(cp949::ToUtf8(e.Place()), "");
  EXPECT_EQ(e.Alarm(), 3);
  EXPECT_EQ(e.Ringtone(), 96);
  EXPECT_EQ(Lines(List("schedules"))[2], "2027-01-01 07:45");
}

TEST_F(SchedulerWindowTest, UntouchedTextKeepsItsBytesThroughAStore) {
  ScheduleEntry odd = Schedule(2026, 3, 3, 3, 3);
  const std::vector<std::uint8_t> raw = {'a', 0xB0, 'b', 0xFF, 0xFE};  // not valid CP949
  odd.SetContent(raw);
  Load(FileOf({odd}, {}));
  List("schedules")->setCurrentRow(0);
  Button("store")->click();
  const auto content = window->Store().Schedule(0).Content();
  EXPECT_EQ(std::vector<std::uint8_t>(content.begin(), content.end()), raw);
}

TEST_F(SchedulerWindowTest, EditsStopAtFortyBytes) {
  LoadSample();
  List("schedules")->setCurrentRow(0);
  QLineEdit* first = Edit("first");
  first->clear();
  Type(first, QString(20, QChar(0xAC00)));  // 20 syllables "가": 40 bytes
  Type(first, QStringLiteral("a"));
  EXPECT_EQ(first->text(), QString(20, QChar(0xAC00)));
  QLineEdit* second = Edit("second");
  second->clear();
  Type(second, QString(41, QLatin1Char('x')));
  EXPECT_EQ(second->text().size(), 40);
}

TEST_F(SchedulerWindowTest, DeletingTheOnlyDdayEmptiesItsListAndEndsEditing) {
  Load(FileOf({Schedule(2026, 1, 1, 0, 0)}, {Dday(2026, 12, 25)}));
  List("ddays")->setCurrentRow(0);
  Button("delete")->click();
  EXPECT_THAT(prompts.prompts.back().kind, "Message");  // no question before deleting
  EXPECT_EQ(window->Store().DdayCount(), 0);
  EXPECT_THAT(Lines(List("ddays")), IsEmpty());
  EXPECT_TRUE(EditorOff());
  EXPECT_EQ(window->Store().ScheduleCount(), 1);
}

TEST_F(SchedulerWindowTest, AddedScheduleWithAnExistingDateAndTimeGoesAfterIt) {
  LoadSample();
  Calendar()->setSelectedDate(QDate(2026, 12, 24));
  QDate initialDate;
  WhenDialogOpens<AddScheduleDialog>([&initialDate](AddScheduleDialog& dialog) {
    initialDate = dialog.findChild<QDateEdit*>(QStringLiteral("date"))->date();
    dialog.findChild<QTimeEdit*>(QStringLiteral("time"))->setTime(QTime(19, 30));
    Type(dialog.findChild<QLineEdit*>(QStringLiteral("content")), QStringLiteral("두번째"));
    Type(dialog.findChild<QLineEdit*>(QStringLiteral("place")), QStringLiteral("집"));
    dialog.findChild<QComboBox*>(QStringLiteral("alarm"))->setCurrentIndex(1);
    dialog.findChild<QComboBox*>(QStringLiteral("ringtone"))->setCurrentIndex(15);
    Press(dialog, "add");
  });
  Button("addSchedule")->click();
  EXPECT_EQ(initialDate, QDate(2026, 12, 24));
  EXPECT_THAT(Lines(List("schedules")), ElementsAre("2026-12-10 09:00", "2026-12-24 19:30",
                                                    "2026-12-24 19:30", "2027-01-01 00:00"));
  const ScheduleStore& store = window->Store();
  EXPECT_EQ(cp949::ToUtf8(store.Schedule(1).Content()), "성탄 저녁");
  const ScheduleEntry& added = store.Schedule(2);
  EXPECT_EQ(cp949::ToUtf8(added.Content()), "두번째");
  EXPECT_EQ(cp949::ToUtf8(added.Place()), "집");
  EXPECT_EQ(added.Alarm(), 1);
  EXPECT_EQ(added.Ringtone(), 99);
  EXPECT_EQ(added.Index(), 2);
  EXPECT_EQ(added.Next(), 3);
}

TEST_F(SchedulerWindowTest, CancelledAddChangesNothing) {
  LoadSample();
  const ScheduleStore before = window->Store();
  WhenDialogOpens<AddDdayDialog>([](AddDdayDialog& dialog) { Press(dialog, "cancel"); });
  Button("addDday")->click();
  EXPECT_EQ(window->Store(), before);
}

TEST_F(SchedulerWindowTest, AddDdayDialogReadsCodesFromItsOwnRingtoneList) {
  LoadSample();
  EXPECT_EQ(Combo("ringtone")->itemText(15).toStdString(), "춤추는 소리");
  std::vector<std::string> offered;
  WhenDialogOpens<AddDdayDialog>([&offered](AddDdayDialog& dialog) {
    auto* ringtone = dialog.findChild<QComboBox*>(QStringLiteral("ringtone"));
    for (int i = 0; i < ringtone->count(); ++i) {
      offered.push_back(ringtone->itemText(i).toStdString());
    }
    dialog.findChild<QDateEdit*>(QStringLiteral("date"))->setDate(QDate(2026, 12, 20));
    Type(dialog.findChild<QLineEdit*>(QStringLiteral("title")), QStringLiteral("강아지 생일"));
    ringtone->setCurrentIndex(15);
    Press(dialog, "add");
  });
  Button("addDday")->click();
  ASSERT_EQ(offered.size(), 30u);
  EXPECT_EQ(offered[15], "강아지 소리");
  EXPECT_EQ(offered[16], "가야금 소리");
  EXPECT_EQ(offered[17], "게임 벨");
  EXPECT_EQ(offered[20], "조용한 소리");
  EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2026-12-20", "2027-03-02"));
  EXPECT_EQ(window->Store().Dday(1).Ringtone(), 99);
  EXPECT_EQ(cp949::ToUtf8(window->Store().Dday(1).Title()), "강아지 생일");
}

TEST_F(SchedulerWindowTest, AddingDoesNotEndEditingButLeavesNoLineSelected) {
  LoadSample();
  List("schedules")->setCurrentRow(0);
  WhenDialogOpens<AddScheduleDialog>([](AddScheduleDialog& dialog) { Press(dialog, "add"); });
  Button("addSchedule")->click();
  EXPECT_TRUE(List("schedules")->selectedItems().isEmpty());
  EXPECT_TRUE(Button("store")->isEnabled());
  const ScheduleStore before = window->Store();
  Button("store")->click();  // finds no selected line
  Button("delete")->click();
  EXPECT_EQ(window->Store(), before);
}

TEST_F(SchedulerWindowTest, FullArraysRefuseAddsBeforeAnyDialog) {
  std::vector<ScheduleEntry> schedules;
  for (int i = 0; i < 70; ++i) {
    schedules.push_back(Schedule(2026, 1 + i / 28, 1 + i % 28, 8, 0));
  }
  std::vector<DdayEntry> ddays;
  for (int i = 0; i < 27; ++i) {
    ddays.push_back(Dday(2027, 1, 1 + i));
  }
  Load(FileOf(schedules, ddays));
  prompts.prompts.clear();
  bool dialogOpened = false;
  const auto watch = [&dialogOpened] {
    QTimer::singleShot(0, [&dialogOpened] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        dialogOpened = true;
        modal->close();
      }
    });
  };
  watch();
  Button("addSchedule")->click();
  watch();
  Button("addDday")->click();
  QApplication::processEvents();
  EXPECT_FALSE(dialogOpened);
  EXPECT_THAT(prompts.Messages(), ElementsAre("저장공간이 부족합니다.", "저장공간이 부족합니다."));
  EXPECT_EQ(window->Store().ScheduleCount(), 70);
  EXPECT_EQ(window->Store().DdayCount(), 27);
}

TEST_F(SchedulerWindowTest, WriteAsksTwoQuestionsAndANoSendsNothing) {
  LoadSample();
  for (const std::vector<bool>& answers :
       {std::vector<bool>{false}, std::vector<bool>{true, false}}) {
    prompts.prompts.clear();
    for (const bool yes : answers) {
      prompts.SetNextAnswer(yes);
    }
    Button("write")->click();
    ASSERT_EQ(prompts.prompts.size(), answers.size());
    EXPECT_EQ(prompts.prompts[0].kind, "YesNo");
    EXPECT_EQ(prompts.prompts[0].text, "작업중인 데이터로 단말기에 덮어씁니다. 계속하시겠습니까?");
    EXPECT_EQ(prompts.prompts[0].caption, "Linkora");
    if (answers.size() == 2) {
      EXPECT_EQ(prompts.prompts[1].text, "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?");
      EXPECT_EQ(prompts.prompts[1].caption, "Linkora");
    }
    EXPECT_TRUE(fake.log.empty());
    EXPECT_TRUE(window->isVisible());
  }
}

TEST_F(SchedulerWindowTest, CompleteWriteSendsEveryEntryAndClosesWithoutTheModeReturn) {
  LoadSample();
  prompts.SetNextAnswer(true);
  prompts.SetNextAnswer(true);
  Button("write")->click();
  EXPECT_THAT(fake.CallsOf("XrsNvWriteSchedule_rx310"),
              ElementsAre("XrsNvWriteSchedule_rx310(0)", "XrsNvWriteSchedule_rx310(1)",
                          "XrsNvWriteSchedule_rx310(2)"));
  EXPECT_THAT(fake.CallsOf("XrsNvWriteDday_rx310"),
              ElementsAre("XrsNvWriteDday_rx310(0)", "XrsNvWriteDday_rx310(1)"));
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 1);
  EXPECT_THAT(prompts.Messages(), ElementsAre("단말기가 리셋됩니다."));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
  EXPECT_EQ(fake.CountOf("XrsSendFrame"), 0);
}

TEST_F(SchedulerWindowTest, FailedWriteLeavesTheWindowAndItsStoreAsTheyWere) {
  LoadSample();
  const ScheduleStore before = window->Store();
  fake.FailCall("XrsNvWriteDday_rx310", 1, 2);
  prompts.SetNextAnswer(true);
  prompts.SetNextAnswer(true);
  Button("write")->click();
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("DDAY 데이터를 전송하는 도중 오류가 발생했습니다. 다시 시도해주십시요."));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Store(), before);
  EXPECT_EQ(List("schedules")->count(), 3);
}

TEST_F(SchedulerWindowTest, CloseAfterAReadSendsTheModeReturnWhereTheHandsetWasFound) {
  Button("read")->click();
  fake.log.clear();
  Button("close")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_THAT(fake.CallsOf("DiagOpenPort"), ElementsAre("DiagOpenPort(COM2, 115200)"));
  EXPECT_THAT(fake.CallsOf("XrsSendFrame"), ElementsAre("XrsSendFrame(44)"));
}

TEST_F(SchedulerWindowTest, CloseWithoutATransferTouchesNoPortAndEnterClosesNothing) {
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_TRUE(window->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(fake.log.empty());
}

TEST_F(SchedulerWindowTest, ProgressWindowRefusesAnUnknownMode) {
  ScheduleStore store;
  ScheduleSyncDialog progress(7, LinkContext{fake, fake.sleep, state}, settings, store, prompts,
                              window.get());
  EXPECT_EQ(progress.windowTitle().toStdString(), "스케줄러 싱크 진행상황");
  EXPECT_EQ(window->RunProgress(progress), 2);
  EXPECT_THAT(prompts.Messages(), ElementsAre("잘못된 명령입니다."));
  EXPECT_TRUE(fake.log.empty());
}

TEST_F(SchedulerWindowTest, ProgressWindowTakesTheTitleOfItsModeWhenFirstShown) {
  struct TitleCase {
    int mode;
    const char* title;
  };
  const TitleCase cases[] = {{0, "스케줄러 데이터 내려받기중.."}, {1, "스케줄러 데이터 저장중.."}};
  for (const TitleCase& c : cases) {
    SCOPED_TRACE(c.mode);
    ScheduleStore store;
    ScheduleSyncDialog progress(c.mode, LinkContext{fake, fake.sleep, state}, settings, store,
                                prompts, window.get());
    EXPECT_EQ(progress.windowTitle().toStdString(), "스케줄러 싱크 진행상황");
    progress.show();
    // The title comes with the show; the transfer only starts from the posted message.
    EXPECT_EQ(progress.windowTitle().toStdString(), c.title);
    EXPECT_TRUE(fake.log.empty());
    progress.hide();
  }
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

// Pictures of the scheduler window and its two entry dialogs with sample data.
TEST_F(SchedulerWindowTest, Pictures) {
  const auto out = test::ScreenshotFolder();
  if (!out) {
    GTEST_SKIP() << "LINKORA_SCREENSHOT_DIR not set";
  }
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("scheduler-empty.png")));
  LoadSample();
  List("schedules")->setCurrentRow(1);
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("scheduler-schedule.png")));
  List("ddays")->setCurrentRow(0);
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("scheduler-dday.png")));
  AddScheduleDialog addSchedule(QDate(2026, 12, 7));
  addSchedule.findChild<QTimeEdit*>(QStringLiteral("time"))->setTime(QTime(14, 30));
  addSchedule.findChild<QLineEdit*>(QStringLiteral("content"))
      ->setText(QStringLiteral("치과 예약"));
  addSchedule.findChild<QLineEdit*>(QStringLiteral("place"))
      ->setText(QStringLiteral("강남역 2번 출구 앞 건물 4층"));
  EXPECT_TRUE(test::SaveWindowPicture(addSchedule, *out, QStringLiteral("add-schedule.png")));
  AddDdayDialog addDday(QDate(2026, 12, 7));
  addDday.findChild<QComboBox*>(QStringLiteral("ringtone"))->setCurrentIndex(15);
  EXPECT_TRUE(test::SaveWindowPicture(addDday, *out, QStringLiteral("add-dday.png")));
}

// An .ics file of another calendar: one event in UTC with an alarm, a yearly
// birthday and a to-do.
std::vector<std::uint8_t> ForeignCalendar() {
  const std::string text =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n"
      "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261215T030000\r\n"
      "SUMMARY:송년회\r\nLOCATION:종로\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
      "DESCRIPTION:x\r\nTRIGGER:-PT1H\r\nEND:VALARM\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:b\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:19800105\r\n"
      "RRULE:FREQ=YEARLY\r\nSUMMARY:아빠 생신\r\nEND:VEVENT\r\n"
      "BEGIN:VTODO\r\nUID:c\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:선물 사기\r\nEND:VTODO\r\n"
      "END:VCALENDAR\r\n";
  return {text.begin(), text.end()};
}

TEST_F(SchedulerWindowTest, LoadingAnICalendarFileAddsItsEventsAndShowsTheReport) {
  LoadSample();
  std::vector<std::string> shown;
  window->SetReportShower([&shown](ImportReportDialog& dialog) {
    shown.push_back(dialog.Summary()->text().toStdString());
    for (int i = 0; i < dialog.List()->count(); ++i) {
      shown.push_back(dialog.List()->item(i)->text().toStdString());
    }
  });
  Load(folder.Write("other.ics", ForeignCalendar()));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_THAT(shown.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(shown.begin() + 1, shown.end()),
              ElementsAre("아빠 생신 (1980-01-05): 반복 일정은 오늘 이후 첫 회차(2027-01-05)만 "
                          "가져왔습니다.",
                          "선물 사기: 할 일(VTODO)은 단말기에 저장할 수 없어 가져오지 "
                          "않았습니다."));
  EXPECT_THAT(Lines(List("schedules")), ElementsAre("2026-12-10 09:00", "2026-12-15 03:00",
                                                    "2026-12-24 19:30", "2027-01-01 00:00"));
  EXPECT_THAT(Lines(List("ddays")), ElementsAre("2026-12-19", "2027-01-05", "2027-03-02"));
  EXPECT_EQ(window->Store().Schedule(1).Alarm(), 3);
  EXPECT_TRUE(Button("write")->isEnabled());
  EXPECT_TRUE(fake.log.empty());

  // A file that is not iCalendar changes nothing and shows no report.
  const ScheduleStore before = window->Store();
  shown.clear();
  Load(folder.Write("card.ics", {'B', 'E', 'G', 'I', 'N', ':', 'V', 'C', 'A', 'R', 'D'}));
  EXPECT_THAT(prompts.Messages(), ElementsAre("iCalendar 파일 형식이 잘못되었습니다."));
  EXPECT_THAT(shown, IsEmpty());
  EXPECT_EQ(window->Store(), before);
}

TEST_F(SchedulerWindowTest, SavingAsICalendarWritesWhatLoadsBackTheSame) {
  LoadSample();
  const auto path = folder.path / "plans.ICS";
  prompts.SetNextFileName(path.string());
  Button("save")->click();
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("현재 스케줄 데이터를 iCalendar 파일에 저장하였습니다."));
  ScheduleStore back;
  ImportReport report;
  ASSERT_TRUE(IcalendarReader().Load(path, back, report));
  EXPECT_EQ(back, window->Store());
  EXPECT_TRUE(report.Clean());
}

// Pictures of the load dialog's file types and of an import's report.
TEST_F(SchedulerWindowTest, IcalendarPictures) {
  const auto out = test::ScreenshotFolder();
  if (!out) {
    GTEST_SKIP() << "LINKORA_SCREENSHOT_DIR not set";
  }
  LoadSample();
  ImportReport report;
  ScheduleStore scratch;
  ASSERT_TRUE(IcalendarReader([] {
                return std::time_t{1796639055};
              }).Load(folder.Write("other.ics", ForeignCalendar()), scratch, report));
  ImportReportDialog dialog(report, window.get());
  EXPECT_TRUE(test::SaveWindowPicture(dialog, *out, QStringLiteral("scheduler-ics-report.png")));
  window->SetReportShower([](ImportReportDialog&) {});
  Load(folder.path / "other.ics");
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("scheduler-ics-loaded.png")));
  // The dialog as the program shows it: Qt's texts in Korean, the window's caption.
  const QtTranslation korean;
  QFileDialog files(window.get(), QStringLiteral("열기"),
                    QString::fromStdString(folder.path.string()),
                    QStringLiteral("Norvane Schedule File (*.nsf);;iCalendar (*.ics)"));
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.selectNameFilter(QStringLiteral("iCalendar (*.ics)"));
  files.show();
  QTest::qWait(300);  // the folder is listed in the background
  EXPECT_TRUE(test::SaveWindowPicture(files, *out, QStringLiteral("scheduler-ics-dialog.png")));
}

}  // namespace
}  // namespace linkora
