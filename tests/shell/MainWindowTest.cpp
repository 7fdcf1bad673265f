#include "shell/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "link/SessionState.h"
#include "shell/AboutDialog.h"
#include "shell/HelpDialog.h"
#include "shell/Profile.h"
#include "shell/QtText.h"
#include "shell/SyncApp.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              (std::string("linkora-main-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    profile_ = std::make_unique<Profile>(folder_ / "linkora.ini");
    state_ = SyncApp::InitialState();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void StorePort(const std::string& value) {
    std::ofstream(folder_ / "linkora.ini") << "[Norvane Linkora]\nPort=" << value << "\n";
  }
  std::string ProfileText() const {
    std::ifstream in(folder_ / "linkora.ini");
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::unique_ptr<MainWindow> Open() {
    return std::make_unique<MainWindow>(LinkContext{library_, library_.sleep, state_}, prompts_,
                                        *profile_);
  }
  static std::vector<QString> CheckedPorts(const MainWindow& window) {
    std::vector<QString> checked;
    const QList<QAction*> items = window.PortMenu()->actions();
    for (int i = 0; i < 16; ++i) {
      if (items[i]->isChecked()) {
        checked.push_back(items[i]->text());
      }
    }
    return checked;
  }

  fs::path folder_;
  std::unique_ptr<Profile> profile_;
  FakeHandsetLibrary library_;
  SessionState state_;
  ScriptedPromptService prompts_;
};

TEST_F(MainWindowTest, StartUpRestoresTheStoredPort) {
  struct Case {
    const char* stored;  // nullptr: no value in the profile
    const char* port;
    const char* checkedItem;
    const char* fileAfter;
  };
  const Case cases[] = {
      {nullptr, "COM1", "COM&1", "[Norvane Linkora]\nPort=1\n"},
      {"10", "COM10", "COM1&0", "[Norvane Linkora]\nPort=10\n"},
      {"16", "COM16", "COM16(&F)", "[Norvane Linkora]\nPort=16\n"},
      {"17", "COM1", "COM&1", "[Norvane Linkora]\nPort=1\n"},
      {"0", "COM1", "COM&1", "[Norvane Linkora]\nPort=1\n"},
      {"-3", "COM1", "COM&1", "[Norvane Linkora]\nPort=1\n"},
      {"11", "COM11", "COM11(&A)", "[Norvane Linkora]\nPort=11\n"},
  };
  for (const Case& c : cases) {
    fs::remove(folder_ / "linkora.ini");
    if (c.stored != nullptr) {
      StorePort(c.stored);
    }
    const auto window = Open();
    EXPECT_EQ(window->CurrentPortName(), c.port) << (c.stored ? c.stored : "none");
    EXPECT_EQ(CheckedPorts(*window), std::vector<QString>{QString::fromUtf8(c.checkedItem)});
    EXPECT_EQ(ProfileText(), c.fileAfter);
  }
}

TEST_F(MainWindowTest, MenuChoiceIsStoredAndRestoredAtTheNextStart) {
  {
    const auto window = Open();
    window->PortMenu()->actions()[12]->trigger();  // "COM13(&C)"
    EXPECT_EQ(window->CurrentPortName(), "COM13");
    EXPECT_EQ(window->Settings().portName, "COM13");
    EXPECT_EQ(CheckedPorts(*window), std::vector<QString>{QStringLiteral("COM13(&C)")});
  }
  EXPECT_EQ(ProfileText(), "[Norvane Linkora]\nPort=13\n");
  const auto again = Open();
  EXPECT_EQ(again->CurrentPortName(), "COM13");
}

TEST_F(MainWindowTest, ExactlyOnePortItemIsCheckedAfterAnySelection) {
  const auto window = Open();
  for (const int n : {5, 5, 16, 1, 9, 12}) {
    window->PortMenu()->actions()[n - 1]->trigger();  // a second trigger unchecks it first
    EXPECT_EQ(CheckedPorts(*window).size(), 1U) << n;
    EXPECT_TRUE(window->PortMenu()->actions()[n - 1]->isChecked()) << n;
    EXPECT_EQ(window->CurrentPortName(), "COM" + std::to_string(n));
  }
}

TEST_F(MainWindowTest, MenuHoldsTheItemsInTheirOrder) {
  const auto window = Open();
  QList<QAction*> popups = window->MenuBar()->actions();
  // File, port, the separator that puts help at the right end, help.
  ASSERT_EQ(popups.size(), 4);
  EXPECT_TRUE(popups[2]->isSeparator());
  popups.removeAt(2);
  EXPECT_EQ(popups[0]->text(), QStringLiteral("(&F)파일"));
  EXPECT_EQ(popups[1]->text(), QStringLiteral("(&S)포트설정"));
  EXPECT_EQ(popups[2]->text(), QStringLiteral("(&H)도움말"));

  const QList<QAction*> file = popups[0]->menu()->actions();
  ASSERT_EQ(file.size(), 4);
  EXPECT_EQ(file[0]->text(), QStringLiteral("백업..."));
  EXPECT_EQ(file[1]->text(), QStringLiteral("복원..."));
  EXPECT_TRUE(file[2]->isSeparator());
  EXPECT_EQ(file[3]->text(), QStringLiteral("(&X) 종료"));

  const char* const ports[16] = {"COM&1",     "COM&2",     "COM&3",     "COM&4",
                                 "COM&5",     "COM&6",     "COM&7",     "COM&8",
                                 "COM&9",     "COM1&0",    "COM11(&A)", "COM12(&B)",
                                 "COM13(&C)", "COM14(&D)", "COM15(&E)", "COM16(&F)"};
  const QList<QAction*> items = popups[1]->menu()->actions();
  ASSERT_EQ(items.size(), 18);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(items[i]->text(), QString::fromUtf8(ports[i])) << i;
  }
  EXPECT_TRUE(items[16]->isSeparator());
  EXPECT_EQ(items[17]->text(), QStringLiteral("(&S) 연결된 노르반 단말기 자동검색"));

  const QList<QAction*> help = popups[2]->menu()->actions();
  ASSERT_EQ(help.size(), 2);
  EXPECT_EQ(help[0]->text(), QStringLiteral("(&H) Linkora 도움말"));
  EXPECT_EQ(help[1]->text(), QStringLiteral("(&A) Linkora 에 관해서"));
}

TEST_F(MainWindowTest, HelpSitsAtTheRightEndAndTheArrowKeysReachIt) {
  const auto window = Open();
  window->show();
  QMenuBar* bar = window->MenuBar();
  const QList<QAction*> popups = bar->actions();
  const QRect port = bar->actionGeometry(popups[1]);
  const QRect help = bar->actionGeometry(popups[3]);
  EXPECT_GT(help.left(), port.right() + 40);
  EXPECT_GE(help.right(), bar->width() - 12);

  // With the port menu open, Right moves on to help and Left comes back.
  bar->setActiveAction(popups[1]);
  QApplication::processEvents();
  ASSERT_TRUE(popups[1]->menu()->isVisible());
  QTest::keyClick(popups[1]->menu(), Qt::Key_Right);
  EXPECT_EQ(bar->activeAction(), popups[3]);
  QTest::keyClick(popups[3]->menu(), Qt::Key_Left);
  EXPECT_EQ(bar->activeAction(), popups[1]);
  popups[1]->menu()->close();
}

TEST_F(MainWindowTest, FunctionButtonShowsTheKeyboardFocus) {
  const auto window = Open();
  window->show();
  QApplication::setActiveWindow(window.get());
  QPushButton* button = window->FunctionButton(FunctionPicture::Scheduler);
  window->FunctionButton(FunctionPicture::Phonebook)->setFocus();
  const QImage without = button->grab().toImage();
  button->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(button->hasFocus());
  const QImage with = button->grab().toImage();
  EXPECT_NE(without, with);
  // The frame lies inside the edge; the middle of the picture stays as it was.
  const QPoint middle(button->width() / 2, button->height() / 2);
  EXPECT_EQ(without.pixel(middle), with.pixel(middle));
  EXPECT_NE(without.pixel(2, button->height() / 2), with.pixel(2, button->height() / 2));
}

TEST_F(MainWindowTest, TitleSettingsAndRememberedTexts) {
  state_.RememberedPhoneNumber = "0161234567";
  state_.RememberedLockCode = "1234";
  const auto window = Open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("노르반 Linkora RX-2100/3100 v1.4.7 release"));
  EXPECT_EQ(window->Settings().baudRate, 115200);
  EXPECT_EQ(window->Settings().serviceCode, "472913");
  EXPECT_EQ(state_.RememberedPhoneNumber, "");
  EXPECT_EQ(state_.RememberedLockCode, "");
}

TEST_F(MainWindowTest, SearchFindsTheHandsetOnCom16AndSelectsIt) {
  StorePort("3");
  library_.handsetPort = "COM16";
  const auto window = Open();
  window->PortMenu()->actions()[17]->trigger();
  EXPECT_EQ(prompts_.Messages(),
            std::vector<std::string>{"COM16 포트에서 노르반 단말기를 찾았습니다."});
  EXPECT_EQ(window->CurrentPortName(), "COM16");
  EXPECT_EQ(CheckedPorts(*window), std::vector<QString>{QStringLiteral("COM16(&F)")});
  EXPECT_EQ(ProfileText(), "[Norvane Linkora]\nPort=16\n");
}

TEST_F(MainWindowTest, SearchWithoutHandsetKeepsTheCurrentPort) {
  StorePort("3");
  library_.handsetPort.clear();
  const auto window = Open();
  window->SearchHandset();
  EXPECT_EQ(prompts_.Messages(),
            std::vector<std::string>{"연결된 노르반 단말기를 찾지못했습니다."});
  EXPECT_EQ(library_.CountOf("DiagOpenPort"), 16);
  EXPECT_EQ(window->CurrentPortName(), "COM3");
  EXPECT_EQ(CheckedPorts(*window), std::vector<QString>{QStringLiteral("COM&3")});
  EXPECT_EQ(ProfileText(), "[Norvane Linkora]\nPort=3\n");
}

TEST_F(MainWindowTest, ExitAnsweredNoLeavesEverything) {
  StorePort("7");
  const auto window = Open();
  window->show();
  prompts_.SetNextAnswer(false);
  window->reject();
  ASSERT_EQ(prompts_.prompts.size(), 1U);
  EXPECT_EQ(prompts_.prompts[0].kind, "YesNo");
  EXPECT_EQ(prompts_.prompts[0].text, "프로그램을 종료하시겠습니까?");
  EXPECT_EQ(prompts_.prompts[0].caption, "Linkora");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->CurrentPortName(), "COM7");
  EXPECT_EQ(library_.CountOf("DiagOpenPort"), 0);
}

TEST_F(MainWindowTest, ExitAnsweredYesSendsTheModeReturnOnTheCurrentPort) {
  StorePort("11");
  library_.diagMode = true;
  const auto window = Open();
  window->show();
  prompts_.SetNextAnswer(true);
  window->reject();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(library_.CallsOf("DiagOpenPort"),
            std::vector<std::string>{"DiagOpenPort(COM11, 115200)"});
  EXPECT_EQ(library_.CallsOf("XrsSendFrame"), std::vector<std::string>{"XrsSendFrame(44)"});
  EXPECT_EQ(library_.OpenPort(), "");
  EXPECT_FALSE(library_.diagMode);
}

TEST_F(MainWindowTest, ExitWithNoHandsetEndsWithoutFurtherMessages) {
  struct Case {
    bool portOpens;
  };
  for (const Case c : {Case{false}, Case{true}}) {
    FakeHandsetLibrary library;
    library.handsetPort.clear();
    if (!c.portOpens) {
      library.missingPorts.insert("COM1");
    }
    ScriptedPromptService prompts;
    prompts.SetNextAnswer(true);
    MainWindow window(LinkContext{library, library.sleep, state_}, prompts, *profile_);
    window.show();
    window.reject();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(prompts.prompts.size(), 1U);
  }
}

TEST_F(MainWindowTest, EnterDoesNotCloseAndEscapeAsksToExit) {
  const auto window = Open();
  window->show();
  QTest::keyClick(window.get(), Qt::Key_Return);
  QTest::keyClick(window.get(), Qt::Key_Enter);
  window->FunctionButton(FunctionPicture::Phonebook)->setFocus();
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(prompts_.prompts.empty());

  prompts_.SetNextAnswer(false);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(prompts_.prompts.size(), 1U);
  EXPECT_TRUE(window->isVisible());

  prompts_.SetNextAnswer(false);
  window->close();  // the close box
  EXPECT_EQ(prompts_.prompts.size(), 2U);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, EachButtonOpensItsWindowWithoutTouchingAPort) {
  struct Case {
    FunctionPicture button;
    const char* title;
  };
  const Case cases[] = {
      {FunctionPicture::Phonebook, "Linkora 전화번호부"},
      {FunctionPicture::Scheduler, "Linkora 스케줄러"},
      {FunctionPicture::Messages, "Linkora 문자메시지 관리"},
      {FunctionPicture::Media, "Linkora 미디어 관리"},
  };
  const auto window = Open();
  window->show();
  for (const Case& c : cases) {
    QString title;
    QTimer::singleShot(0, [&title] {
      QWidget* opened = QApplication::activeModalWidget();
      ASSERT_NE(opened, nullptr);
      title = opened->windowTitle();
      opened->close();
    });
    window->FunctionButton(c.button)->click();
    EXPECT_EQ(title, QString::fromUtf8(c.title));
  }
  EXPECT_EQ(library_.CountOf("DiagOpenPort"), 0);
  EXPECT_TRUE(prompts_.prompts.empty());
}

TEST_F(MainWindowTest, AboutShowsTheVersionLine) {
  AboutDialog about(ToQt(state_.VersionText));
  EXPECT_EQ(about.windowTitle(), QStringLiteral("Linkora 정보"));
  EXPECT_EQ(about.VersionLine(), QStringLiteral("노르반 Linkora RX-2100/3100 v1.4.7 release"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^프로그램 버전 \\d+\\.\\d+\\.\\d+$"))
                  .match(about.ProgramVersionLine())
                  .hasMatch())
      << about.ProgramVersionLine().toStdString();
}

TEST_F(MainWindowTest, HelpShowsTheKoreanHelpPage) {
  HelpDialog help;
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("포트설정")));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("잠금번호")));
}

}  // namespace
}  // namespace linkora::test
