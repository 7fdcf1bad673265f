#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/LockCodeDialog.h"
#include "shell/PhoneNumberDialog.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

TEST(PhoneNumberDialogTest, OpensWithItsTitleAndTheFirstPrefix) {
  ScriptedPromptService prompts;
  PhoneNumberDialog dialog(prompts);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("전화번호를 입력하세요"));
  auto* prefix = dialog.findChild<QComboBox*>(QStringLiteral("prefix"));
  ASSERT_NE(prefix, nullptr);
  ASSERT_EQ(prefix->count(), 2);
  EXPECT_EQ(prefix->itemText(0), QStringLiteral("016"));
  EXPECT_EQ(prefix->itemText(1), QStringLiteral("018"));
  EXPECT_EQ(prefix->currentText(), QStringLiteral("016"));
}

// The texts of a dialog's labels, in the order they were made.
std::vector<QString> LabelTexts(const QWidget& dialog) {
  std::vector<QString> texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    texts.push_back(label->text());
  }
  return texts;
}

// "text" for each push button, with "*" after the default one.
std::vector<QString> ButtonTexts(const QWidget& dialog) {
  std::vector<QString> texts;
  for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
    texts.push_back(button->text() + (button->isDefault() ? QStringLiteral("*") : QString()));
  }
  return texts;
}

TEST(PhoneNumberDialogTest, ShowsItsThreeLinesTheSeparatorsAndItsButtons) {
  ScriptedPromptService prompts;
  PhoneNumberDialog dialog(prompts);
  EXPECT_EQ(LabelTexts(dialog),
            (std::vector<QString>{
                QStringLiteral("노르반 단말기의 잠금 기능이 설정되어 있습니다."),
                QStringLiteral("Linkora 프로그램을 진행하시려면 전화번호를 입력이 필요합니다."),
                QStringLiteral("연결된 노르반 단말기의 전화번호를 입력하세요."),
                QStringLiteral("-"), QStringLiteral("-")}));
  auto buttons = ButtonTexts(dialog);
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(buttons, (std::vector<QString>{QStringLiteral("취소"), QStringLiteral("확인*")}));
}

TEST(LockCodeDialogTest, ShowsItsLineAndItsButtons) {
  ScriptedPromptService prompts;
  LockCodeDialog dialog(prompts);
  EXPECT_EQ(
      LabelTexts(dialog),
      std::vector<QString>{QStringLiteral("연결된 노르반 단말기의 잠금번호 4자리를 입력하세요.")});
  auto buttons = ButtonTexts(dialog);
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(buttons, (std::vector<QString>{QStringLiteral("취소"), QStringLiteral("확인*")}));
}

TEST(PhoneNumberDialogTest, ValidatesTheMiddleAndLastPart) {
  struct Case {
    int prefix;
    const char* middle;
    const char* last;
    bool accepted;
    const char* number;
  };
  const Case cases[] = {
      {0, "123", "4567", true, "0161234567"},
      {1, "1234", "5678", true, "01812345678"},
      {0, "12", "4567", false, nullptr},
      {0, "123", "456", false, nullptr},
      {0, "", "", false, nullptr},
      {0, "1234", "", false, nullptr},
  };
  for (const Case& c : cases) {
    ScriptedPromptService prompts;
    PhoneNumberDialog dialog(prompts);
    dialog.findChild<QComboBox*>(QStringLiteral("prefix"))->setCurrentIndex(c.prefix);
    dialog.findChild<QLineEdit*>(QStringLiteral("middle"))->setText(QString::fromUtf8(c.middle));
    dialog.findChild<QLineEdit*>(QStringLiteral("last"))->setText(QString::fromUtf8(c.last));
    dialog.show();
    dialog.accept();
    if (c.accepted) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.middle << "-" << c.last;
      EXPECT_FALSE(dialog.isVisible());
      EXPECT_EQ(dialog.Number(), c.number);
      EXPECT_TRUE(prompts.prompts.empty());
    } else {
      EXPECT_TRUE(dialog.isVisible()) << c.middle << "-" << c.last;
      EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"잘못된 번호입니다."});
    }
    dialog.hide();
  }
}

TEST(PhoneNumberDialogTest, PartsTakeAtMostFourDigits) {
  ScriptedPromptService prompts;
  PhoneNumberDialog dialog(prompts);
  auto* middle = dialog.findChild<QLineEdit*>(QStringLiteral("middle"));
  EXPECT_EQ(middle->maxLength(), 4);
  EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("last"))->maxLength(), 4);
  int position = 0;
  QString letters = QStringLiteral("12a");
  EXPECT_EQ(middle->validator()->validate(letters, position), QValidator::Invalid);
}

TEST(LockCodeDialogTest, AcceptsExactlyFourDigits) {
  struct Case {
    const char* code;
    bool accepted;
  };
  const Case cases[] = {{"1234", true}, {"0000", true}, {"123", false}, {"", false}, {"1", false}};
  for (const Case& c : cases) {
    ScriptedPromptService prompts;
    LockCodeDialog dialog(prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("잠금번호를 입력하세요"));
    auto* code = dialog.findChild<QLineEdit*>(QStringLiteral("code"));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->echoMode(), QLineEdit::Password);
    EXPECT_EQ(code->maxLength(), 4);
    code->setText(QString::fromUtf8(c.code));
    dialog.show();
    dialog.accept();
    if (c.accepted) {
      EXPECT_FALSE(dialog.isVisible()) << c.code;
      EXPECT_EQ(dialog.Code(), c.code);
      EXPECT_TRUE(prompts.prompts.empty());
    } else {
      EXPECT_TRUE(dialog.isVisible()) << c.code;
      EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"4자리의 잠금번호를 입력하세요"});
    }
    dialog.hide();
  }
}

TEST(LockCodeDialogTest, CancelGivesNoCode) {
  ScriptedPromptService prompts;
  LockCodeDialog dialog(prompts);
  dialog.findChild<QLineEdit*>(QStringLiteral("code"))->setText(QStringLiteral("12"));
  dialog.show();
  dialog.reject();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(prompts.prompts.empty());
}

}  // namespace
}  // namespace linkora::test
