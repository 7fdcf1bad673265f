#include "media/MediaUpload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"

namespace linkora {
namespace {

using test::Bytes;
using test::LoadedLists;
using test::Nmf;
using test::Smaf;
using ::testing::ElementsAre;

TEST(PcFileListTest, ChoosingAndRemovingFiles) {
  PcFileList files;
  EXPECT_EQ(files.Add({"/music/ring.mmf", "/pics/face.jpg"}), std::nullopt);
  // The same name from another folder, then one more that is not looked at.
  EXPECT_EQ(files.Add({"/other/Ring.mmf", "/other/ring.mmf", "/other/late.mmf"}),
            "이미 예약되어있습니다.");
  ASSERT_EQ(files.Items().size(), 3u);
  EXPECT_EQ(files.Items()[2].name, "Ring.mmf");  // letter case counts

  std::optional<std::string> message;
  EXPECT_EQ(files.PathOf(0, message), std::filesystem::path("/music/ring.mmf"));
  EXPECT_EQ(message, std::nullopt);
  EXPECT_EQ(files.PathOf(2, message), std::filesystem::path("/other/Ring.mmf"));

  EXPECT_EQ(files.Remove(0), std::nullopt);
  ASSERT_EQ(files.Items().size(), 2u);
  EXPECT_EQ(files.Items()[0].name, "face.jpg");
  // The freed entry is taken by the next file.
  EXPECT_EQ(files.Add({"/x/new.mmf"}), std::nullopt);
  EXPECT_EQ(files.Items().back().entry, 0);

  // A name without a folder is kept, but sending it names the missing folder.
  EXPECT_EQ(files.Add({"bare.mmf"}), std::nullopt);
  EXPECT_EQ(files.PathOf(files.Items().size() - 1, message), std::filesystem::path("bare.mmf"));
  EXPECT_EQ(message, "파일에 대한 디렉토리 정보가 없습니다.");
}

TEST(PcFileListTest, AtMost150Files) {
  PcFileList files;
  std::vector<std::filesystem::path> paths;
  for (int i = 0; i < 151; ++i) {
    paths.push_back("/m/f" + std::to_string(i) + ".mmf");
  }
  EXPECT_EQ(files.Add(paths), "선택할 수 있는 파일 수를 초과하였습니다.");
  EXPECT_EQ(files.Items().size(), 150u);
  files.Clear();
  EXPECT_TRUE(files.Items().empty());
  EXPECT_EQ(files.Add({"/m/f150.mmf"}), std::nullopt);
  EXPECT_EQ(files.Items()[0].entry, 0);
}

TEST(UploadTest, ItemNameFromTheFileTitle) {
  struct Case {
    const char* path;
    const char* name;
  };
  const Case cases[] = {
      {"/a/ring.tone.mmf", "ring.tone"},
      {"/a/ring.mmf", "ring"},
      {"/a/noext", "noext"},
      {"/a/.mmf", ".mmf"},
      {"/a.b/bell", "bell"},
      {"/a/벨소리.mmf", "벨소리"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UploadItemName(c.path), c.name) << c.path;
  }
  EXPECT_EQ(MediaSlotFileName(0), "nvm/media/media_0000");
  EXPECT_EQ(MediaSlotFileName(98), "nvm/media/media_0098");
}

TEST(UploadTest, SlotFileIsRecordHeaderNameAndData) {
  struct Case {
    const char* name;
    Bytes bytes;
    Bytes header;
    std::size_t dataOffset;
  };
  const Case cases[] = {
      // 2,000 data bytes: 0x7D0
      {".nmf of 2,243 bytes", Nmf(1, 2243), {0x23, 0x00, 0x57, 0xD0}, 243},
      // 4,057 data bytes: 0x00FD9
      {".nmf of 4,300 bytes", Nmf(1, 4300), {0xA3, 0x00, 0x50, 0x0F, 0xD9}, 243},
      {"4,095 bytes", Smaf(4095), {0x23, 0x00, 0x5F, 0xFF}, 0},
      {"4,096 bytes", Smaf(4096), {0xA3, 0x00, 0x50, 0x10, 0x00}, 0},
  };
  const Bytes name{'h', 'e', 'l', 'l', 'o'};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MediaLists lists = LoadedLists(1);
    const UploadStep step = PrepareUploadBytes(name, c.bytes, lists, 1);
    ASSERT_EQ(step.status, UploadStepStatus::Ready) << step.message;
    Bytes expected = c.header;
    expected.insert(expected.end(), name.begin(), name.end());
    expected.insert(expected.end(), c.bytes.begin() + static_cast<long>(c.dataOffset),
                    c.bytes.end());
    EXPECT_EQ(step.slotFile, expected);
    EXPECT_EQ(step.slot, 0);
    EXPECT_EQ(step.handsetFileName, "nvm/media/media_0000");
    EXPECT_EQ(lists.Large().SlotSize(0), expected.size());
    EXPECT_EQ(lists.Large().Subtype(0), c.header[0]);
  }
}

TEST(UploadTest, StepOutcomes) {
  struct Case {
    const char* name;
    int model;
    int usedSlots;
    unsigned slotSize;
    Bytes bytes;
    UploadStepStatus status;
    const char* message;
  };
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  gif.resize(100, 0);
  const Case cases[] = {
      {"accepted", 1, 0, 0, Smaf(100), UploadStepStatus::Ready, ""},
      {"wrong format", 1, 0, 0, gif, UploadStepStatus::NextFile, "잘못된 파일 형식입니다."},
      {"empty", 1, 0, 0, Bytes{}, UploadStepStatus::NextFile, "데이타가 없습니다."},
      {"too large", 1, 0, 0, Smaf(60001), UploadStepStatus::NextFile,
       "파일 최대 허용 크기를 초과하였습니다."},
      {"99 slots used", 1, 99, 10, Smaf(100), UploadStepStatus::EndRun,
       "최대 저장 파일수를 초과하였습니다."},
      // 790,000 bytes in 10 slots; the slot file is header 5 + name 1 + data.
      {"10,000 more", 0, 10, 79000, Smaf(9994), UploadStepStatus::Ready, ""},
      {"10,001 more", 0, 10, 79000, Smaf(9995), UploadStepStatus::EndRun,
       "단말기에 저장공간이 부족합니다."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MediaLists lists = LoadedLists(c.model, c.usedSlots, c.slotSize);
    const UploadStep step = PrepareUploadBytes(Bytes{'n'}, c.bytes, lists, c.model);
    EXPECT_EQ(step.status, c.status);
    EXPECT_EQ(step.message, c.message);
  }
}

TEST(UploadTest, TakingBackAFailedTransferRestoresTheList) {
  MediaLists lists = LoadedLists(1, 1, 500);
  const Bytes before(lists.ListToWrite().begin(), lists.ListToWrite().end());
  const UploadStep step = PrepareUploadBytes(Bytes{'a'}, Smaf(100), lists, 1);
  ASSERT_EQ(step.status, UploadStepStatus::Ready);
  EXPECT_EQ(lists.Large().Order(1), 0);
  TakeBackUpload(lists, step);
  EXPECT_EQ(Bytes(lists.ListToWrite().begin(), lists.ListToWrite().end()), before);
  // The next file gets the same slot, and the list written with it has no trace of the first.
  const UploadStep next = PrepareUploadBytes(Bytes{'b'}, Smaf(50), lists, 1);
  EXPECT_EQ(next.slot, 1);
  EXPECT_EQ(lists.Large().Order(0), 1);
  EXPECT_EQ(lists.Large().Total(), 500u + next.slotFile.size());
}

TEST(UploadTest, FilesFromThePc) {
  test::TempFolder folder;
  struct Case {
    const char* file;
    Bytes bytes;
    UploadStepStatus status;
    const char* message;
    const char* storedName;
  };
  const Case cases[] = {
      {"ring.tone.mmf", Smaf(60000), UploadStepStatus::Ready, "", "ring.tone"},
      {"big.mmf", Smaf(60001), UploadStepStatus::NextFile, "파일 최대 허용 크기를 초과하였습니다.",
       ""},
      {"empty.mmf", Bytes{}, UploadStepStatus::NextFile, "데이타가 없습니다.", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto path = folder.Write(c.file, c.bytes);
    MediaLists lists = LoadedLists(1);
    const UploadStep step = PrepareUploadFile(path, lists, 1);
    EXPECT_EQ(step.status, c.status);
    EXPECT_EQ(step.message, c.message);
    EXPECT_EQ(std::string(step.itemName.begin(), step.itemName.end()), c.storedName);
  }
  MediaLists lists = LoadedLists(1);
  const UploadStep missing = PrepareUploadFile(folder.path / "gone.mmf", lists, 1);
  EXPECT_EQ(missing.message, "파일 읽기도중 오류가 발생하였습니다.");

  // A Korean file name is stored in CP949: 벨 = BA A7
  const auto korean = folder.Write("벨.mmf", Smaf(100));
  const UploadStep step = PrepareUploadFile(korean, lists, 1);
  EXPECT_THAT(step.itemName, ElementsAre(0xBA, 0xA7));
  EXPECT_EQ(step.displayName, "벨");
}

}  // namespace
}  // namespace linkora
