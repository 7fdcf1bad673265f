#include "shell/FunctionWindow.h"

#include <gtest/gtest.h>

#include <QTest>

#include "link/SessionState.h"
#include "shell/SyncProgressDialog.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

// A progress window whose connect step found the handset on one port.
class FoundOnPort final : public SyncProgressDialog {
 public:
  FoundOnPort(PromptService& prompts, std::string port)
      : SyncProgressDialog(prompts), port_(std::move(port)) {}

 protected:
  int Run() override {
    SetDiagPortName(port_);
    return kDone;
  }

 private:
  std::string port_;
};

class FunctionWindowTest : public ::testing::Test {
 protected:
  FakeHandsetLibrary library_;
  SessionState state_;
  ScriptedPromptService prompts_;
  ConnectSettings settings_{"COM4", 115200, "472913"};
};

TEST_F(FunctionWindowTest, HoldsTheSettingsItWasGiven) {
  FunctionWindow window(settings_, LinkContext{library_, library_.sleep, state_}, prompts_);
  EXPECT_EQ(window.Settings().portName, "COM4");
  EXPECT_EQ(window.Settings().baudRate, 115200);
  EXPECT_EQ(window.Settings().serviceCode, "472913");
  EXPECT_EQ(window.DiagPortName(), "");
}

TEST_F(FunctionWindowTest, ClosingBeforeAnyTransferTouchesNoPort) {
  FunctionWindow window(settings_, LinkContext{library_, library_.sleep, state_}, prompts_);
  window.show();
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(library_.log.empty());
}

TEST_F(FunctionWindowTest, ProgressWindowRecordsThePortAndClosingSendsTheModeReturnThere) {
  library_.diagMode = true;
  FunctionWindow window(settings_, LinkContext{library_, library_.sleep, state_}, prompts_);
  window.show();
  FoundOnPort progress(prompts_, "COM11");
  EXPECT_EQ(window.RunProgress(progress), 1);
  EXPECT_EQ(window.DiagPortName(), "COM11");
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(library_.CallsOf("DiagOpenPort"),
            std::vector<std::string>{"DiagOpenPort(COM11, 115200)"});
  EXPECT_EQ(library_.CallsOf("XrsSendFrame"), std::vector<std::string>{"XrsSendFrame(44)"});
  EXPECT_FALSE(library_.diagMode);
  EXPECT_TRUE(prompts_.prompts.empty());
}

TEST_F(FunctionWindowTest, PortThatNoLongerOpensStillLetsTheWindowClose) {
  library_.missingPorts.insert("COM11");
  FunctionWindow window(settings_, LinkContext{library_, library_.sleep, state_}, prompts_);
  window.SetDiagPortName("COM11");
  window.show();
  window.reject();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(library_.CountOf("XrsSendFrame"), 0);
  EXPECT_TRUE(prompts_.prompts.empty());
}

TEST_F(FunctionWindowTest, CloseAfterResetSkipsTheModeReturn) {
  FunctionWindow window(settings_, LinkContext{library_, library_.sleep, state_}, prompts_);
  window.SetDiagPortName("COM11");
  window.show();
  window.CloseAfterReset();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(library_.log.empty());
}

}  // namespace
}  // namespace linkora::test
