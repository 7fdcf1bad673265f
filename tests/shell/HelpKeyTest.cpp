#include "shell/HelpKey.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <memory>

#include "link/SessionState.h"
#include "media/MediaManagerDialog.h"
#include "messages/MessageWindow.h"
#include "phonebook/PhonebookWindow.h"
#include "schedule/AddScheduleDialog.h"
#include "schedule/SchedulerWindow.h"
#include "shell/HelpDialog.h"
#include "shell/MainWindow.h"
#include "shell/PhoneNumberDialog.h"
#include "shell/Profile.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

class HelpKeyTest : public ::testing::Test {
 protected:
  HelpKeyTest() { QApplication::instance()->installEventFilter(&helpKey_); }
  ~HelpKeyTest() override { QApplication::instance()->removeEventFilter(&helpKey_); }

  // Presses F1 in the window's first edit field, or on the window itself.
  int HelpRequestsFrom(QWidget& window) {
    window.show();
    const int before = opened_;
    QWidget* target = window.findChild<QLineEdit*>();
    QTest::keyClick(target != nullptr ? target : &window, Qt::Key_F1);
    window.hide();
    return opened_ - before;
  }

  LinkContext Context() { return {library_, library_.sleep, state_}; }

  int opened_ = 0;
  HelpKey helpKey_{[this] { ++opened_; }};
  FakeHandsetLibrary library_;
  SessionState state_;
  ScriptedPromptService prompts_;
  ConnectSettings settings_{"COM4", 115200, "472913"};
  TempFolder folder_;
  Profile profile_{folder_.path / "linkora.ini"};
};

TEST_F(HelpKeyTest, F1OpensTheHelpFromEveryWindow) {
  MainWindow main(Context(), prompts_, profile_);
  EXPECT_EQ(HelpRequestsFrom(main), 1);
  PhonebookWindow phonebook(settings_, Context(), prompts_);
  EXPECT_EQ(HelpRequestsFrom(phonebook), 1);
  SchedulerWindow scheduler(settings_, Context(), prompts_);
  EXPECT_EQ(HelpRequestsFrom(scheduler), 1);
  MessageWindow messages(settings_, Context(), prompts_);
  EXPECT_EQ(HelpRequestsFrom(messages), 1);
  MediaManagerDialog media(settings_, Context(), prompts_, profile_);
  EXPECT_EQ(HelpRequestsFrom(media), 1);
  AddScheduleDialog add(QDate(2026, 12, 7));
  EXPECT_EQ(HelpRequestsFrom(add), 1);
  PhoneNumberDialog phoneNumber(prompts_);
  EXPECT_EQ(HelpRequestsFrom(phoneNumber), 1);
  // None of them closed or asked anything.
  EXPECT_TRUE(prompts_.prompts.empty());
}

TEST_F(HelpKeyTest, OtherKeysAndF1InTheHelpItselfOpenNothing) {
  PhonebookWindow phonebook(settings_, Context(), prompts_);
  phonebook.show();
  QTest::keyClick(phonebook.findChild<QLineEdit*>(), Qt::Key_F2);
  EXPECT_EQ(opened_, 0);
  HelpDialog help;
  EXPECT_EQ(HelpRequestsFrom(help), 0);
}

TEST(HelpDialogTest, MenuOpensOneHelpWindowBesideTheMainWindowWithoutStoppingIt) {
  FakeHandsetLibrary library;
  SessionState state;
  ScriptedPromptService prompts;
  TempFolder folder;
  Profile profile(folder.path / "linkora.ini");
  MainWindow main(LinkContext{library, library.sleep, state}, prompts, profile);
  main.show();
  main.activateWindow();
  QApplication::setActiveWindow(&main);
  main.ShowHelp();  // returns at once: the help does not stop the window
  main.ShowHelp();
  const QList<HelpDialog*> shown = main.findChildren<HelpDialog*>();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_TRUE(shown.front()->isVisible());
  EXPECT_FALSE(shown.front()->isModal());
  EXPECT_EQ(shown.front()->windowTitle(), QStringLiteral("Linkora 도움말"));
}

TEST(HelpDialogTest, PageIsAKoreanGuideWithoutMenuMarks) {
  HelpDialog help;
  const QString text = help.Browser()->toPlainText();
  for (const char* part :
       {"처음 연결하기", "연결된 노르반 단말기 자동검색", "전화번호를 입력하세요",
        "잠금번호를 입력하세요", "아바타 사용", "오류 메시지와 해결 방법",
        "시리얼포트를 열수 없습니다. 포트설정을 확인하세요.", "F1"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
  }
  EXPECT_FALSE(text.contains('&'));
}

}  // namespace
}  // namespace linkora::test
