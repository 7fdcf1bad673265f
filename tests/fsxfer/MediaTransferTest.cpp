#include "fsxfer/MediaTransfer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fsxfer/PhoneFile.h"
#include "link/SessionState.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using Bytes = std::vector<std::uint8_t>;

class MediaTransferTest : public ::testing::Test {
 protected:
  MediaTransferTest() {
    fake.handsetPort = "COM2";
    fake.lockFlag = false;
    fake.lockCode = "1234";
    state.RememberedLockCode = "1234";
    job.settings.portName = "COM2";
    files.Attach(fake);
  }

  int Run() { return RunMediaTransfer({fake, fake.sleep, state}, host, job); }

  test::FakeHandsetLibrary fake;
  test::FakeFileSystem files;
  SessionState state;
  test::RecordingTransferHost host{&fake.log};
  MediaTransferJob job;
  Bytes buffer = Bytes(kPhoneFileCapacity);
};

TEST_F(MediaTransferTest, StartTitleByMode) {
  struct Case {
    MediaTransferMode mode;
    int stepIndex;
    int stepCount;
    const char* title;
    std::vector<int> progress;
  };
  const Case cases[] = {
      {MediaTransferMode::ReadList, 1, 1, "목록 내려받기중..", {}},
      {MediaTransferMode::ReadFile, 1, 1, "파일 내려받기중..", {}},
      {MediaTransferMode::Write, 2, 3, "파일 전송중 Step 1.. (2 of 3)", {}},
      {MediaTransferMode::Reset, 1, 1, "파일 전송을 마쳤습니다.", {100}},
  };
  for (const Case& c : cases) {
    test::RecordingTransferHost shown;
    job.mode = c.mode;
    job.stepIndex = c.stepIndex;
    job.stepCount = c.stepCount;
    EXPECT_TRUE(StartMediaTransfer(shown, job));
    EXPECT_THAT(shown.titles, ElementsAre(c.title));
    EXPECT_EQ(shown.progress, c.progress);
  }
  job.mode = static_cast<MediaTransferMode>(7);
  test::RecordingTransferHost shown;
  EXPECT_FALSE(StartMediaTransfer(shown, job));
  EXPECT_THAT(shown.titles, IsEmpty());
}

TEST_F(MediaTransferTest, ReadFetchesTheFileAfterTheAccessChecks) {
  const Bytes list(3469, 0x5A);
  files.files["nvm/info/media_info"] = list;
  job.mode = MediaTransferMode::ReadList;
  job.fileName = "nvm/info/media_info";
  job.readBuffer = buffer;
  EXPECT_EQ(Run(), kMediaTransferDone);
  EXPECT_EQ(job.resultLength, 3469);
  EXPECT_EQ(job.receivedLength, 3469u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 3469), list);
  EXPECT_THAT(fake.log, Contains("XrsNvReadLock_rx310()"));
  EXPECT_THAT(fake.log, Not(Contains("DiagSetOfflineMode()")));
  EXPECT_EQ(fake.log.back(), "DiagClosePort()");
  EXPECT_EQ(host.diagPortName, "COM2");
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.progress.back(), 100);
}

TEST_F(MediaTransferTest, ReadAsksForTheLockCodeWhenNotRemembered) {
  state.RememberedLockCode.clear();
  host.lockCodeAnswers = {"1234"};
  files.files["nvm/media/media_0004"] = Bytes{1, 2, 3};
  job.mode = MediaTransferMode::ReadFile;
  job.fileName = "nvm/media/media_0004";
  job.readBuffer = buffer;
  EXPECT_EQ(Run(), kMediaTransferDone);
  EXPECT_THAT(fake.log, Contains("AskLockCode()"));
}

TEST_F(MediaTransferTest, FailedReadShowsTheFrameMessageThenTheTransferMessage) {
  job.mode = MediaTransferMode::ReadFile;
  job.fileName = "nvm/media/media_0009";  // not on the handset: status 0x0A
  job.readBuffer = buffer;
  EXPECT_EQ(Run(), kMediaTransferFailed);
  EXPECT_EQ(job.resultLength, -1);
  EXPECT_THAT(host.messages,
              ElementsAre("[통신장애] 다시 시도하여 주시기 바랍니다. [(0) FS ERROR: 10]",
                          "파일전송중 오류가 발생하였습니다. 재시도하세요."));
  EXPECT_EQ(fake.OpenPort(), "");
}

TEST_F(MediaTransferTest, RefusedConnectionEndsWithoutTransfer) {
  fake.handsetPort.clear();
  job.mode = MediaTransferMode::ReadList;
  job.fileName = "nvm/info/media_info";
  job.readBuffer = buffer;
  EXPECT_EQ(Run(), kMediaTransferFailed);
  EXPECT_THAT(host.messages, ElementsAre("Linkora 포트를 찾을 수 없습니다. 포트설정 및 "
                                         "케이블연결을 확인하세요."));
  EXPECT_THAT(files.requests, IsEmpty());
}

TEST_F(MediaTransferTest, WriteStoresTheFileThenTheListWithStepTitles) {
  const Bytes slotFile(700, 0x11);
  const Bytes list(8221, 0x22);
  job.mode = MediaTransferMode::Write;
  job.fileName = "nvm/media/media_0012";
  job.data = slotFile;
  job.list = list;
  job.stepIndex = 2;
  job.stepCount = 3;
  EXPECT_EQ(Run(), kMediaTransferDone);
  EXPECT_THAT(files.written, ElementsAre("nvm/media/media_0012", "nvm/info/media_info"));
  EXPECT_EQ(files.files["nvm/media/media_0012"], slotFile);
  EXPECT_EQ(files.files["nvm/info/media_info"], list);
  EXPECT_THAT(host.titles,
              ElementsAre("파일 전송중 Step 1.. (2 of 3)", "파일 전송중 Step 2.. (2 of 3)"));
  // The file writer goes offline and never asks for access data.
  EXPECT_THAT(fake.log, Contains("DiagSetOfflineMode()"));
  EXPECT_THAT(fake.log, Not(Contains("XrsNvReadLock_rx310()")));
  EXPECT_EQ(fake.log.back(), "DiagClosePort()");
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(MediaTransferTest, WriteFailureNamesTheStepThatFailed) {
  const Bytes slotFile(300, 0x11);
  const Bytes list(3469, 0x22);
  job.mode = MediaTransferMode::Write;
  job.fileName = "nvm/media/media_0000";
  job.data = slotFile;
  job.list = list;
  struct Case {
    const char* name;
    int failingSend;  // 1-based frame that gets no answer
    const char* message;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"step 1", 1, "파일전송중 오류가 발생하였습니다. 재시도하세요.", {}},
      {"step 2", 3, "리스트전송중 오류가 발생하였습니다. 재시도하세요.", {"nvm/media/media_0000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.written.clear();
    host.messages.clear();
    fake.diagMode = false;
    const int before = fake.CountOf("XrsRecvFrame");
    // The frame's four receive tries all fail.
    fake.FailCall("XrsRecvFrame", before + c.failingSend, 4);
    EXPECT_EQ(Run(), kMediaTransferFailed);
    EXPECT_THAT(host.messages, ElementsAre(c.message));
    EXPECT_EQ(files.written, c.written);
    EXPECT_EQ(fake.OpenPort(), "");
  }
}

TEST_F(MediaTransferTest, ResetRestartsTheHandset) {
  job.mode = MediaTransferMode::Reset;
  EXPECT_EQ(Run(), kMediaTransferDone);
  EXPECT_THAT(host.messages, ElementsAre("단말기가 리셋됩니다."));
  EXPECT_THAT(fake.log, Contains("DiagSetOfflineMode()"));
  EXPECT_THAT(fake.log, Not(Contains("XrsNvReadLock_rx310()")));
  const auto reset = std::find(fake.log.begin(), fake.log.end(), "DiagPhoneReset()");
  ASSERT_NE(reset, fake.log.end());
  EXPECT_EQ(*(reset + 1), "ShowMessage(단말기가 리셋됩니다.)");
  EXPECT_EQ(fake.log.back(), "DiagClosePort()");
}

}  // namespace
}  // namespace linkora
