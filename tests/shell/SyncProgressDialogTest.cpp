#include "shell/SyncProgressDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <functional>

#include "shell/QtText.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

// A progress window whose work is given by the test.
class ScriptedProgress final : public SyncProgressDialog {
 public:
  explicit ScriptedProgress(PromptService& prompts) : SyncProgressDialog(prompts) {}

  std::function<int(ScriptedProgress&)> work = [](ScriptedProgress&) { return kDone; };
  std::function<bool(ScriptedProgress&)> prepare = [](ScriptedProgress&) { return true; };
  int runs = 0;

 protected:
  bool PrepareStart() override { return prepare(*this); }
  int Run() override {
    ++runs;
    return work(*this);
  }
};

void WaitUntilHidden(QWidget& window) {
  for (int i = 0; i < 200 && window.isVisible(); ++i) {
    QApplication::processEvents();
  }
}

TEST(SyncProgressDialogTest, WorkStartsAfterTheWindowIsShownAndEndsWithItsResult) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  bool visibleDuringWork = false;
  window.work = [&](ScriptedProgress& self) {
    visibleDuringWork = self.isVisible();
    return SyncProgressDialog::kDone;
  };
  EXPECT_EQ(window.exec(), 1);
  EXPECT_EQ(window.runs, 1);
  EXPECT_TRUE(visibleDuringWork);
}

TEST(SyncProgressDialogTest, StartsOnceEvenIfShownTwice) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  window.show();
  window.hide();
  window.show();
  WaitUntilHidden(window);
  EXPECT_EQ(window.runs, 1);
  window.show();
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
  }
  EXPECT_EQ(window.runs, 1);
  window.hide();
}

TEST(SyncProgressDialogTest, PercentTextAlwaysEqualsTheBar) {
  struct Case {
    int given;
    int bar;
    const char* text;
  };
  const Case cases[] = {{0, 0, "0%"},       {6, 6, "6%"},       {12, 12, "12%"},    {99, 99, "99%"},
                        {100, 100, "100%"}, {101, 100, "100%"}, {250, 100, "100%"}, {-5, 0, "0%"}};
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  for (const Case& c : cases) {
    window.SetProgress(c.given);
    EXPECT_EQ(window.ProgressValue(), c.bar) << c.given;
    EXPECT_EQ(window.PercentText(), QString::fromUtf8(c.text)) << c.given;
  }
}

TEST(SyncProgressDialogTest, ErrorInTheFirstStepEndsWithTwoBeforeAnyProgress) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  window.work = [](ScriptedProgress& self) {
    self.ShowMessage("시리얼포트를 열수 없습니다. 포트설정을 확인하세요.");
    return SyncProgressDialog::kFailed;
  };
  EXPECT_EQ(window.exec(), 2);
  EXPECT_EQ(window.ProgressValue(), 0);
  EXPECT_EQ(window.PercentText(), QString());
  ASSERT_EQ(prompts.prompts.size(), 1U);
  EXPECT_EQ(prompts.prompts[0].kind, "Message");
  EXPECT_EQ(prompts.prompts[0].text, "시리얼포트를 열수 없습니다. 포트설정을 확인하세요.");
  EXPECT_EQ(prompts.prompts[0].caption, "");  // the application's title
}

TEST(SyncProgressDialogTest, AnyOtherResultOfTheWorkCountsAsFailed) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  window.work = [](ScriptedProgress&) { return 0; };
  EXPECT_EQ(window.exec(), 2);
}

TEST(SyncProgressDialogTest, EscapeAndCloseBoxDoNothingWhileWorking) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  bool stillShown = false;
  window.work = [&](ScriptedProgress& self) {
    QTest::keyClick(&self, Qt::Key_Escape);
    self.close();
    self.PumpMessages();
    stillShown = self.isVisible() && self.Working();
    self.SetProgress(100);
    return SyncProgressDialog::kDone;
  };
  EXPECT_EQ(window.exec(), 1);
  EXPECT_TRUE(stillShown);
  EXPECT_EQ(window.PercentText(), QStringLiteral("100%"));
}

TEST(SyncProgressDialogTest, RefusedStartEndsWithTwoWithoutWork) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  window.prepare = [](ScriptedProgress& self) {
    self.ShowMessage("잘못된 명령입니다.");
    return false;
  };
  EXPECT_EQ(window.exec(), 2);
  EXPECT_EQ(window.runs, 0);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"잘못된 명령입니다."});
}

TEST(SyncProgressDialogTest, TitleSetBeforeTheStartIsShownDuringTheWork) {
  ScriptedPromptService prompts;
  ScriptedProgress window(prompts);
  QString seen;
  window.prepare = [](ScriptedProgress& self) {
    self.SetTitle("전화번호 내려받기중..");
    return true;
  };
  window.work = [&](ScriptedProgress& self) {
    seen = self.windowTitle();
    return SyncProgressDialog::kDone;
  };
  window.exec();
  EXPECT_EQ(seen, QStringLiteral("전화번호 내려받기중.."));
}

TEST(SyncProgressDialogTest, HostCallsReachThePromptsAndTheOwner) {
  ScriptedPromptService prompts;
  prompts.SetNextPhoneNumber("0161234567");
  prompts.SetNextLockCode(std::nullopt);
  ScriptedProgress window(prompts);
  std::string diagPortName;
  window.SetDiagPortTarget(&diagPortName);
  EXPECT_EQ(window.AskPhoneNumber(), std::optional<std::string>("0161234567"));
  EXPECT_EQ(window.AskLockCode(), std::nullopt);
  window.SetDiagPortName("COM11");
  EXPECT_EQ(diagPortName, "COM11");
}

}  // namespace
}  // namespace linkora::test
