#include "fsxfer/MediaTransferDialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <string>
#include <vector>

#include "fsxfer/PhoneFile.h"
#include "link/SessionState.h"
#include "shell/FunctionWindow.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using Bytes = std::vector<std::uint8_t>;

const char* const kFileFailed = "파일전송중 오류가 발생하였습니다. 재시도하세요.";

class MediaTransferDialogTest : public ::testing::Test {
 protected:
  MediaTransferDialogTest() {
    fake.handsetPort = "COM6";
    fake.lockFlag = false;
    state.RememberedLockCode = "1234";
    job.settings = {"COM6", 115200, "472913"};
    files.Attach(fake);
    // What the window shows while each file-system frame goes out.
    files.onRequest = [this](const Bytes&) {
      QWidget* shown = QApplication::activeModalWidget();
      const QString title = shown != nullptr ? shown->windowTitle() : QString();
      if (titles.empty() || titles.back() != title.toStdString()) {
        titles.push_back(title.toStdString());
      }
    };
  }

  int Run(MediaTransferDialog& window) {
    window.SetDiagPortTarget(&diagPortName);
    return window.exec();
  }

  FakeHandsetLibrary fake;
  FakeFileSystem files;
  SessionState state;
  ScriptedPromptService prompts;
  MediaTransferJob job;
  Bytes buffer = Bytes(kPhoneFileCapacity);
  std::vector<std::string> titles;
  std::string diagPortName;
};

TEST_F(MediaTransferDialogTest, OpensWithItsOwnTitleAndAnEmptyBar) {
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("미디어 파일 싱크 진행상황"));
  EXPECT_EQ(window.ProgressValue(), 0);
  EXPECT_EQ(window.PercentText(), QString());
  EXPECT_FALSE(window.Started());
}

TEST_F(MediaTransferDialogTest, ListReadFillsTheBufferAndEndsAtHundred) {
  Bytes list(3469);
  for (std::size_t i = 0; i < list.size(); ++i) {
    list[i] = static_cast<std::uint8_t>(i * 7);
  }
  files.files["nvm/info/media_info"] = list;
  job.mode = MediaTransferMode::ReadList;
  job.fileName = "nvm/info/media_info";
  job.readBuffer = buffer;
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  EXPECT_EQ(Run(window), 1);
  EXPECT_THAT(titles, ElementsAre("목록 내려받기중.."));
  EXPECT_EQ(job.resultLength, 3469);
  EXPECT_EQ(job.receivedLength, 3469u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 3469), list);
  EXPECT_EQ(window.ProgressValue(), 100);
  EXPECT_EQ(window.PercentText(), QStringLiteral("100%"));
  EXPECT_EQ(diagPortName, "COM6");
  EXPECT_TRUE(prompts.prompts.empty());
  EXPECT_EQ(fake.OpenPort(), "");  // the link is closed at the end
}

TEST_F(MediaTransferDialogTest, FailedListReadEndsWithTwoAfterItsMessages) {
  job.mode = MediaTransferMode::ReadList;
  job.fileName = "nvm/info/media_info";
  job.readBuffer = buffer;
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  EXPECT_EQ(Run(window), 2);
  EXPECT_EQ(job.resultLength, -1);
  EXPECT_THAT(
      prompts.Messages(),
      ElementsAre("[통신장애] 다시 시도하여 주시기 바랍니다. [(0) FS ERROR: 10]", kFileFailed));
}

TEST_F(MediaTransferDialogTest, WriteShowsBothStepsWithTheFilesPlace) {
  const Bytes slotFile{0x23, 0x00, 0x10, 0x03, 'a', 1, 2, 3};
  const Bytes list(8221, 0x11);
  job.mode = MediaTransferMode::Write;
  job.fileName = "nvm/media/media_0004";
  job.data = slotFile;
  job.list = list;
  job.stepIndex = 2;
  job.stepCount = 3;
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  EXPECT_EQ(Run(window), 1);
  EXPECT_THAT(titles,
              ElementsAre("파일 전송중 Step 1.. (2 of 3)", "파일 전송중 Step 2.. (2 of 3)"));
  EXPECT_THAT(files.written, ElementsAre("nvm/media/media_0004", "nvm/info/media_info"));
  EXPECT_EQ(files.files["nvm/media/media_0004"], slotFile);
  EXPECT_EQ(files.files["nvm/info/media_info"], list);
  EXPECT_EQ(window.PercentText(), QStringLiteral("100%"));
  EXPECT_THAT(fake.log, Contains("DiagSetOfflineMode()"));
}

TEST_F(MediaTransferDialogTest, ResetShowsAFullBarAndTellsOfTheRestart) {
  job.mode = MediaTransferMode::Reset;
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  int barAtReset = -1;
  QString titleAtReset;
  fake.On("DiagPhoneReset", [&](FakeCall&) {
    barAtReset = window.ProgressValue();
    titleAtReset = window.windowTitle();
    return 1;
  });
  EXPECT_EQ(Run(window), 1);
  EXPECT_EQ(barAtReset, 100);
  EXPECT_EQ(titleAtReset, QStringLiteral("파일 전송을 마쳤습니다."));
  EXPECT_THAT(prompts.Messages(), ElementsAre("단말기가 리셋됩니다."));
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 1);
}

TEST_F(MediaTransferDialogTest, OnlyTheReadAsksForTheLockCode) {
  struct Case {
    MediaTransferMode mode;
    bool asks;
  };
  const Case cases[] = {{MediaTransferMode::ReadFile, true},
                        {MediaTransferMode::Write, false},
                        {MediaTransferMode::Reset, false}};
  files.files["nvm/media/media_0001"] = Bytes(40, 1);
  const Bytes data(10, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    state.RememberedLockCode.clear();
    ScriptedPromptService asked;
    asked.SetNextLockCode("1234");
    MediaTransferJob one;
    one.mode = c.mode;
    one.settings = job.settings;
    one.fileName = "nvm/media/media_0001";
    one.readBuffer = buffer;
    one.data = data;
    one.list = data;
    MediaTransferDialog window({fake, fake.sleep, state}, asked, one);
    EXPECT_EQ(window.exec(), 1);
    bool askedForCode = false;
    for (const auto& prompt : asked.prompts) {
      askedForCode = askedForCode || prompt.kind == "LockCode";
    }
    EXPECT_EQ(askedForCode, c.asks);
  }
}

TEST_F(MediaTransferDialogTest, UnknownModeEndsWithTwoWithoutTouchingThePort) {
  job.mode = static_cast<MediaTransferMode>(4);
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job);
  EXPECT_EQ(Run(window), 2);
  EXPECT_THAT(fake.log, IsEmpty());
  EXPECT_THAT(prompts.prompts, IsEmpty());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("미디어 파일 싱크 진행상황"));
}

TEST_F(MediaTransferDialogTest, FunctionWindowLearnsThePortTheHandsetAnsweredOn) {
  files.files["nvm/media/media_0002"] = Bytes(5, 3);
  job.mode = MediaTransferMode::ReadFile;
  job.fileName = "nvm/media/media_0002";
  job.readBuffer = buffer;
  FunctionWindow owner(job.settings, {fake, fake.sleep, state}, prompts);
  MediaTransferDialog window({fake, fake.sleep, state}, prompts, job, &owner);
  EXPECT_EQ(owner.RunProgress(window), 1);
  EXPECT_EQ(owner.DiagPortName(), "COM6");
  EXPECT_THAT(fake.log, Not(Contains("DiagPhoneReset()")));
}

}  // namespace
}  // namespace linkora::test
