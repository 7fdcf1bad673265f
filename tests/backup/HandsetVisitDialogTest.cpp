#include "backup/HandsetVisitDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <set>

#include "link/SessionState.h"
#include "shell/QtText.h"
#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/support/WindowPictures.h"

namespace linkora {
namespace {

using test::Bytes;

class HandsetVisitDialogTest : public ::testing::Test {
 protected:
  HandsetVisitDialogTest() {
    fake.handsetPort = "COM3";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    settings.portName = "COM3";
    files.Attach(fake);
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    Bytes slot = {0x14, 0x00, 0x30, static_cast<std::uint8_t>(gif.size()), 'p', 'i', 'c'};
    slot.insert(slot.end(), gif.begin(), gif.end());
    list = test::EmptyList(8221);
    test::UseSlot(list, 0, static_cast<unsigned>(slot.size()), 1, 0x14, 0, "pic");
    files.files["nvm/info/media_info"] = list;
    files.files["nvm/media/media_0000"] = slot;
  }

  // Runs the window; every step title it showed goes to `titles`.
  int Run(HandsetVisitDialog::Job job, const QString& picture) {
    HandsetVisitDialog window(job, {fake, fake.sleep, state}, settings, folder.path / "b", prompts);
    files.onRequest = [&](const Bytes&) {
      titles.insert(FromQt(window.windowTitle()));
      if (const auto dir = test::ScreenshotFolder(); dir && !pictured) {
        pictured = test::SaveWindowPicture(window, *dir, picture);
      }
    };
    pictured = false;
    const int result = window.exec();
    files.onRequest = nullptr;
    return result;
  }

  test::FakeHandsetLibrary fake;
  test::FakeFileSystem files;
  SessionState state;
  ConnectSettings settings;
  test::ScriptedPromptService prompts;
  test::TempFolder folder;
  Bytes list;
  std::set<std::string> titles;
  bool pictured = false;
};

TEST_F(HandsetVisitDialogTest, BackupShowsEachStepAndASummary) {
  EXPECT_EQ(Run(HandsetVisitDialog::Job::Backup, "backup-progress.png"), 1);
  EXPECT_TRUE(titles.count("미디어 목록 백업중.. (5/7)"));
  EXPECT_TRUE(titles.count("미디어 백업중.. 1/1개 (6/7)"));
  EXPECT_EQ(
      prompts.Messages(),
      (std::vector<std::string>{
          "백업이 끝났습니다.\n\n전화번호 0개, 스케줄 0개, D-day 0개, 메시지 0개, 미디어 1개"}));
}

TEST_F(HandsetVisitDialogTest, RestoreShowsTheChangesAndAsksOnce) {
  ASSERT_EQ(Run(HandsetVisitDialog::Job::Backup, "backup-progress.png"), 1);
  // The handset lost its picture since.
  files.files["nvm/info/media_info"] = test::EmptyList(8221);
  files.files.erase("nvm/media/media_0000");
  prompts.prompts.clear();
  prompts.SetNextAnswer(false);

  EXPECT_EQ(Run(HandsetVisitDialog::Job::Restore, "restore-progress.png"), 2);
  ASSERT_EQ(prompts.prompts.size(), 1u);
  EXPECT_EQ(prompts.prompts[0].kind, "YesNo");
  EXPECT_EQ(prompts.prompts[0].caption, "Linkora");
  EXPECT_EQ(prompts.prompts[0].text,
            "핸드폰의 내용을 다음과 같이 바꿉니다. 쓰기가 끝날 때마다 핸드폰이 재시작합니다.\n\n"
            "전화번호: 추가 0, 변경 0, 삭제 0\n스케줄: 추가 0, 변경 0, 삭제 0\n"
            "D-day: 추가 0, 변경 0, 삭제 0\n올릴 미디어: 1개\n  + 미디어 pic\n\n\n"
            "복원하시겠습니까?");
  EXPECT_TRUE(files.written.empty());
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
}

}  // namespace
}  // namespace linkora
