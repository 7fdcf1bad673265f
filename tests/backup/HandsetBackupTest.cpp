#include "backup/HandsetBackup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "backup/RestorePlan.h"
#include "link/ConnectSettings.h"
#include "link/SessionState.h"
#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A slot file: subtype, name length and data size packed in three bytes,
// the name, the data.
Bytes SlotFile(std::uint8_t subtype, const std::string& name, const Bytes& data) {
  Bytes file = {subtype, static_cast<std::uint8_t>(name.size() >> 4),
                static_cast<std::uint8_t>(((name.size() & 0x0F) << 4) | (data.size() >> 8)),
                static_cast<std::uint8_t>(data.size() & 0xFF)};
  file.insert(file.end(), name.begin(), name.end());
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

class HandsetBackupTest : public ::testing::Test {
 protected:
  HandsetBackupTest() {
    fake.handsetPort = "COM3";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    settings.portName = "COM3";
    files.Attach(fake);
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    const Bytes slot = SlotFile(0x14, "pic", gif);
    Bytes list = test::EmptyList(8221);
    test::UseSlot(list, 0, static_cast<unsigned>(slot.size()), 1, 0x14, 0, "pic");
    files.files["nvm/info/media_info"] = list;
    files.files["nvm/media/media_0000"] = slot;
  }

  int Count(std::string_view call) const {
    return static_cast<int>(std::count_if(fake.log.begin(), fake.log.end(), [&](const auto& line) {
      return line.find(call) != std::string::npos;
    }));
  }

  BackupResult Run() {
    return HandsetBackup({fake, fake.sleep, state}, host).Run(settings, folder.path / "b");
  }

  test::FakeHandsetLibrary fake;
  test::FakeFileSystem files;
  SessionState state;
  ConnectSettings settings;
  test::RecordingTransferHost host;
  test::TempFolder folder;
};

TEST_F(HandsetBackupTest, OneVisitReadsEverythingAndWritesTheManifestLast) {
  const BackupResult result = Run();

  ASSERT_TRUE(result.done);
  EXPECT_EQ(Count("AT$QCDMG"), 1);
  EXPECT_EQ(Count("XrsSendFrame(44)"), 1);
  EXPECT_EQ(fake.log.back(), "DiagClosePort()");
  EXPECT_EQ(host.diagPortName, "");  // nothing left for the window to end
  const fs::path dir = folder.path / "b";
  for (const char* file : {"manifest.json", "phonebook.ndf", "schedule.nsf", "media/pic.gif"}) {
    EXPECT_TRUE(fs::exists(dir / file)) << file;
  }
  EXPECT_EQ(result.manifest.model, "RX-3100");
  EXPECT_EQ(result.manifest.port, "COM3");
  EXPECT_FALSE(result.manifest.programVersion.empty());
  ASSERT_EQ(result.manifest.media.size(), 1u);
  EXPECT_EQ(result.manifest.media[0].file, "media/pic.gif");
  std::vector<std::string> listed;
  for (const BackupFile& file : result.manifest.files) {
    listed.push_back(file.path);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"calendar.ics", "contacts.vcf", "media/pic.gif",
                                              "messages.csv", "messages.txt", "phonebook.ndf",
                                              "schedule.nsf"}));
  EXPECT_EQ(host.titles.front(), "핸드폰 연결중.. (1/7)");
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "미디어 백업중.. 1/1개 (6/7)"),
            host.titles.end());
  EXPECT_EQ(host.progress.back(), 100);
}

TEST_F(HandsetBackupTest, AFailedSectionLeavesNoManifestAndIsNamed) {
  struct Case {
    const char* failing;  // a library call that fails twice, or a file that is missing
    bool file;
    const char* section;
  };
  const Case cases[] = {
      {"XrsNvReadAddressList_rx310", false, "전화번호부"},
      {"XrsNvReadSchedule_rx310", false, "스케줄/D-day"},
      {"XrsNvReadSmsList_rx310", false, "메시지"},
      {"nvm/info/media_info", true, "미디어 목록"},
      {"nvm/media/media_0000", true, "미디어"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    fake.log.clear();
    host.messages.clear();
    fs::remove_all(folder.path / "b");
    if (c.file) {
      const Bytes kept = files.files[c.failing];
      files.files.erase(c.failing);
      const BackupResult result = Run();
      files.files[c.failing] = kept;
      EXPECT_FALSE(result.done);
    } else {
      fake.FailCall(c.failing, fake.CountOf(c.failing) + 1, 2);
      EXPECT_FALSE(Run().done);
    }
    EXPECT_FALSE(fs::exists(folder.path / "b" / "manifest.json"));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), "백업하지 못했습니다: " + std::string(c.section) +
                                        " 단계에서 실패했습니다. 백업 폴더는 완성되지 않았습니다.");
    EXPECT_EQ(Count("AT$QCDMG"), 1);
    EXPECT_EQ(Count("XrsSendFrame(44)"), 1);
  }
}

TEST_F(HandsetBackupTest, RefusesAFolderThatHoldsFiles) {
  fs::create_directories(folder.path / "b");
  folder.Write("b/old.txt", {1});
  const BackupResult result = Run();
  EXPECT_FALSE(result.done);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_EQ(host.messages.back(), (folder.path / "b").string() +
                                      " 폴더에 파일이 있습니다. 새 폴더나 빈 폴더를 고르세요.");
}

// The question box shows a bounded list; the rest is counted.
TEST(RestorePlanTest, ShortTextShowsAtMostTheGivenDetailLines) {
  RestorePlan plan;
  plan.entries.added = 3;
  plan.details = {"  + 001번지 가", "  + 002번지 나", "  + 003번지 다"};
  struct Case {
    std::size_t shown;
    std::string tail;
  };
  for (const Case& c : {Case{5, "  + 001번지 가\n  + 002번지 나\n  + 003번지 다"},
                        Case{3, "  + 001번지 가\n  + 002번지 나\n  + 003번지 다"},
                        Case{1, "  + 001번지 가\n  ... 외 2개"}, Case{0, "  ... 외 3개"}}) {
    EXPECT_EQ(plan.ShortText(c.shown),
              "전화번호: 추가 3, 변경 0, 삭제 0\n스케줄: 추가 0, 변경 0, 삭제 0\n"
              "D-day: 추가 0, 변경 0, 삭제 0\n올릴 미디어: 0개\n" +
                  c.tail)
        << c.shown;
  }
}

}  // namespace
}  // namespace linkora
