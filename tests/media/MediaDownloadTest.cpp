#include "media/MediaDownload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"

namespace linkora {
namespace {

using test::Bytes;
using test::Concat;
using test::NmfHeader;
using test::SlotFile;

// A large-layout list with one slot's type word and extra fields set by hand.
LargeMediaInfo ListWith(int slot, unsigned type, const Bytes& extras = Bytes(48, 0)) {
  Bytes b(8221, 0);
  const auto i = static_cast<std::size_t>(slot);
  b[400 + 2 * i] = static_cast<std::uint8_t>(type & 0xFF);
  b[401 + 2 * i] = static_cast<std::uint8_t>(type >> 8);
  std::copy(extras.begin(), extras.begin() + 6, b.begin() + static_cast<long>(3271 + 6 * i));
  std::copy(extras.begin() + 6, extras.begin() + 27, b.begin() + static_cast<long>(3865 + 21 * i));
  std::copy(extras.begin() + 27, extras.end(), b.begin() + static_cast<long>(5944 + 21 * i));
  LargeMediaInfo list;
  std::copy(b.begin(), b.end(), list.Bytes().begin());
  return list;
}

TEST(DownloadTest, OutputByKindAndSubtype) {
  const Bytes data{1, 2, 3, 4, 5, 6, 7, 8};
  Bytes extras(48);
  for (std::size_t i = 0; i < extras.size(); ++i) {
    extras[i] = static_cast<std::uint8_t>(0x80 + i);
  }
  struct Case {
    const char* name;
    unsigned type;
    Bytes slotFile;
    const char* fileName;
    const char* filter;
    const char* extension;
    Bytes content;
  };
  const Case cases[] = {
      {"GIF", 0x001, SlotFile(0x14, "cat", data), "cat.gif", "GIF Files (*.gif)|*.gif||", "gif",
       data},
      {"GIF, long form", 0x001, SlotFile(0x94, "cat", data), "cat.gif", "GIF Files (*.gif)|*.gif||",
       "gif", data},
      {"JPEG already named .JPG", 0x201, SlotFile(0x95, "photo.JPG", data), "photo.JPG",
       "JPEG Files (*.jpg)|*.jpg||", "jpg", data},
      {"handset JPEG", 0x040, SlotFile(0x16, "cam", data), "cam.jpg", "JPEG Files (*.jpg)|*.jpg||",
       "jpg", data},
      {"SMAF sound", 0x002, SlotFile(0x23, "bell", data), "bell.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(1, false, false, 8, "bell"), data)},
      {"subtype 0x22", 0x002, SlotFile(0x22, "x", data), "x.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(5, false, false, 8, "x"), data)},
      {"sound of format 8 with flag B", 0x102, SlotFile(0xA7, "s", data), "s.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(8, false, true, 8, "s"), data)},
      {"kind 8 with both flags", 0x308, SlotFile(0x55, "k", data), "k.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(4, true, true, 8, "k", extras), data)},
      {"SAF picture", 0x001, SlotFile(0x13, "p", data), "p.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(2, false, false, 8, "p"), data)},
      {"forbidden characters", 0x001, SlotFile(0x14, "a:b\\c/d*e?f\"g<h>i|j", data),
       "abcdefghij.gif", "GIF Files (*.gif)|*.gif||", "gif", data},
      {"only forbidden characters", 0x001, SlotFile(0x14, "<>", data), ".gif",
       "GIF Files (*.gif)|*.gif||", "gif", data},
      // The header keeps the name as received.
      {".nmf name as received", 0x002, SlotFile(0x23, "a/b", data), "ab.nmf",
       "Norvane Media Files (*.nmf)|*.nmf||", "nmf",
       Concat(NmfHeader(1, false, false, 8, "a/b"), data)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DownloadStep step = PrepareDownload(7, c.slotFile, ListWith(7, c.type, extras));
    ASSERT_TRUE(step.ready) << step.message;
    EXPECT_EQ(step.fileName, c.fileName);
    EXPECT_EQ(step.filter, c.filter);
    EXPECT_EQ(step.defaultExtension, c.extension);
    EXPECT_EQ(step.content, c.content);
  }
}

TEST(DownloadTest, RefusedItems) {
  const Bytes data{1, 2, 3};
  struct Case {
    unsigned type;
    std::uint8_t subtype;
    const char* message;
  };
  const Case cases[] = {
      {0x204, 0x23, "잘못된 형식입니다. 516"},
      {0x000, 0x23, "잘못된 형식입니다. 0"},
      {0x002, 0x25, "잘못된 미디어 형식입니다. [0x25]"},
      {0x002, 0xA5, "잘못된 미디어 형식입니다. [0xA5]"},
      {0x001, 0x17, "잘못된 미디어 형식입니다. [0x17]"},
  };
  for (const Case& c : cases) {
    const DownloadStep step =
        PrepareDownload(3, SlotFile(c.subtype, "n", data), ListWith(3, c.type));
    EXPECT_FALSE(step.ready);
    EXPECT_EQ(step.message, c.message);
  }
}

TEST(DownloadTest, WritesNoMoreThanArrived) {
  Bytes slotFile = SlotFile(0x23, "bell", Bytes(100, 9));
  slotFile.resize(4 + 4 + 60);  // 40 data bytes never arrived
  const DownloadStep step = PrepareDownload(0, slotFile, ListWith(0, 2));
  ASSERT_TRUE(step.ready);
  EXPECT_EQ(step.content, Concat(NmfHeader(1, false, false, 60, "bell"), Bytes(60, 9)));
}

TEST(DownloadTest, ExtensionsAndPaths) {
  struct Case {
    const char* name;
    const char* extension;
    const char* result;
  };
  const Case cases[] = {
      {"photo", ".jpg", "photo.jpg"},
      {"photo.JPG", ".jpg", "photo.JPG"},
      {"photo.jpeg", ".jpg", "photo.jpeg.jpg"},
      {"", ".nmf", ".nmf"},
      {"nmf", ".nmf", "nmf.nmf"},
      {"a.GiF", ".gif", "a.GiF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithExtension(c.name, c.extension), c.result) << c.name;
  }
  EXPECT_EQ(DownloadPath("", "a.jpg"), std::filesystem::path("a.jpg"));
  EXPECT_EQ(DownloadPath("/home/u/media", "a.jpg"), std::filesystem::path("/home/u/media/a.jpg"));
  EXPECT_EQ(FolderOfSavedFile("/home/u/media/a.jpg"), "/home/u/media");
  EXPECT_EQ(ReplaceFileQuestion("/home/u/a.jpg"),
            "/home/u/a.jpg은(는) 이미 있습니다. \r\n바꾸시겠습니까?");
}

TEST(DownloadTest, SavingWholeOrNotAtAll) {
  test::TempFolder folder;
  std::string message;
  std::string detail;
  const Bytes content{1, 2, 3};
  EXPECT_TRUE(SaveDownload(folder.path / "a.gif", content, message, detail));
  EXPECT_EQ(test::TempFolder::Read(folder.path / "a.gif"), content);
  EXPECT_FALSE(SaveDownload(folder.path / "missing" / "a.gif", content, message, detail));
  EXPECT_EQ(message, "파일 쓰기도중 오류가 발생하였습니다.");
  EXPECT_EQ(detail, (folder.path / "missing" / "a.gif").string() + ": No such file or directory");
}

}  // namespace
}  // namespace linkora
