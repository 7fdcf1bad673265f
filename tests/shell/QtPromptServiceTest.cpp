#include "shell/QtPromptService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "shell/PumpingSleep.h"

namespace linkora::test {
namespace {

// Acts on the dialog the prompt opens, once its modal loop runs.
void WhenOpen(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(QtPromptServiceTest, YesNoBoxShowsCaptionAndTextAndGivesTheAnswer) {
  struct Case {
    QMessageBox::StandardButton press;
    bool answer;
  };
  for (const Case c : {Case{QMessageBox::Yes, true}, Case{QMessageBox::No, false}}) {
    QtPromptService prompts;
    QString caption;
    QString text;
    WhenOpen([&](QWidget& dialog) {
      auto& box = static_cast<QMessageBox&>(dialog);
      caption = box.windowTitle();
      text = box.text();
      box.button(c.press)->click();
    });
    EXPECT_EQ(prompts.AskYesNo("프로그램을 종료하시겠습니까?", "Linkora"), c.answer);
    EXPECT_EQ(caption, QStringLiteral("Linkora"));
    EXPECT_EQ(text, QStringLiteral("프로그램을 종료하시겠습니까?"));
  }
}

TEST(QtPromptServiceTest, MessageWithoutCaptionShowsTheApplicationTitle) {
  QtPromptService prompts;
  QString caption;
  WhenOpen([&](QWidget& dialog) {
    caption = dialog.windowTitle();
    static_cast<QMessageBox&>(dialog).button(QMessageBox::Ok)->click();
  });
  prompts.ShowMessage("연결된 노르반 단말기를 찾지못했습니다.");
  EXPECT_EQ(caption, QStringLiteral("Linkora"));
}

TEST(QtPromptServiceTest, PhoneNumberPromptGivesTheTypedNumberOrNothing) {
  QtPromptService prompts;
  WhenOpen([](QWidget& dialog) {
    dialog.findChild<QComboBox*>(QStringLiteral("prefix"))->setCurrentIndex(1);
    dialog.findChild<QLineEdit*>(QStringLiteral("middle"))->setText(QStringLiteral("987"));
    dialog.findChild<QLineEdit*>(QStringLiteral("last"))->setText(QStringLiteral("6543"));
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(prompts.AskPhoneNumber(), std::optional<std::string>("0189876543"));

  WhenOpen([](QWidget& dialog) { static_cast<QDialog&>(dialog).reject(); });
  EXPECT_EQ(prompts.AskPhoneNumber(), std::nullopt);
}

TEST(QtPromptServiceTest, LockCodePromptGivesTheTypedCodeOrNothing) {
  QtPromptService prompts;
  WhenOpen([](QWidget& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("code"))->setText(QStringLiteral("0420"));
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(prompts.AskLockCode(), std::optional<std::string>("0420"));

  WhenOpen([](QWidget& dialog) { static_cast<QDialog&>(dialog).reject(); });
  EXPECT_EQ(prompts.AskLockCode(), std::nullopt);
}

TEST(PumpingSleepTest, WaitsTheWholeTimeAndHandlesQueuedEventsMeanwhile) {
  PumpingSleep sleep;
  bool handled = false;
  QObject receiver;
  QMetaObject::invokeMethod(
      &receiver, [&handled] { handled = true; }, Qt::QueuedConnection);
  QElapsedTimer clock;
  clock.start();
  sleep.Wait(60);
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_TRUE(handled);
}

}  // namespace
}  // namespace linkora::test
