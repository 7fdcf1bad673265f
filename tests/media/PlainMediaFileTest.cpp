#include "media/PlainMediaFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp949.h"
#include "media/MediaDownload.h"
#include "media/MediaFile.h"
#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"

namespace linkora {
namespace {

using test::Bytes;
using test::Concat;
using test::NmfHeader;

std::string Cp949(std::string_view utf8) {
  const auto bytes = cp949::FromUtf8(utf8).value();
  return {bytes.begin(), bytes.end()};
}

Bytes Starting(std::string_view start, std::size_t size = 40) {
  Bytes b(start.begin(), start.end());
  test::FillPattern(b, b.size(), size);
  return b;
}

Bytes NmfOf(std::uint8_t format, const std::string& name, const Bytes& data) {
  return Concat(NmfHeader(format, false, false, static_cast<std::uint32_t>(data.size()), name),
                data);
}

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

TEST(PlainMediaFileTest, ItemDataComesOutWholeUnderTheExtensionOfItsKind) {
  struct Case {
    std::uint8_t format;
    std::string name;
    Bytes data;
    std::string fileName;
  };
  const std::vector<Case> cases = {
      {1, Cp949("봄바람"), test::Smaf(1800), "봄바람.mmf"},
      {2, "sea", Starting("SAF\x01"), "sea.sis"},
      {4, "kind8", test::Smaf(300, 0x12), "kind8.mmf"},
      {8, "midi", Starting("MThd"), "midi.mid"},
      {5, "voice", Starting(std::string_view("RIFF\0\0\0\0QLCM", 12)), "voice.qcp"},
      {8, "wave", Starting(std::string_view("RIFF\0\0\0\0WAVE", 12)), "wave.wav"},
      {8, "amr", Starting("#!AMR\n"), "amr.amr"},
      {1, "photo", test::Jpeg(100, 100), "photo.jpg"},
      {1, "anim", Starting("GIF89a"), "anim.gif"},
      // Without a signature the format code tells the kind.
      {1, "bell", Bytes{1, 2, 3}, "bell.mmf"},
      {2, "pic", Bytes{1, 2, 3}, "pic.sis"},
      // The download's naming rules: forbidden characters go, a present extension stays.
      {1, "a:b/c*?", Bytes{1}, "abc.mmf"},
      {1, "tone.MMF", Bytes{1}, "tone.MMF"},
      // No usable name in the header: the .nmf file's own name.
      {1, "", Bytes{1}, "source.mmf"},
      {1, "<>|", Bytes{1}, "source.mmf"},
  };
  for (const Case& c : cases) {
    PlainMediaFile plain;
    ASSERT_TRUE(plain.FromNmf(NmfOf(c.format, c.name, c.data), "source.nmf"))
        << c.fileName << ": " << plain.errorString();
    EXPECT_EQ(plain.FileName(), c.fileName);
    EXPECT_EQ(Bytes(plain.Data().begin(), plain.Data().end()), c.data) << c.fileName;
  }
}

TEST(PlainMediaFileTest, BrokenFilesAreRefusedWithTheirReason) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no header", test::Jpeg(10, 10), "x.nmf: 미디어 파일(.nmf)이 아닙니다."},
      {"header cut short", Cut(NmfHeader(1, false, false, 0), 242),
       "x.nmf: 미디어 파일(.nmf)이 아닙니다."},
      {"data cut short", Concat(NmfHeader(1, false, false, 1000), test::Smaf(900)),
       "x.nmf: 미디어 파일이 잘렸거나 손상되었습니다. 헤더에 적힌 데이터는 1000바이트인데 "
       "900바이트가 있습니다."},
      {"bytes beyond the data", Concat(NmfHeader(1, false, false, 100), test::Smaf(150)),
       "x.nmf: 미디어 파일이 잘렸거나 손상되었습니다. 헤더에 적힌 데이터는 100바이트인데 "
       "150바이트가 있습니다."},
      {"no data", NmfHeader(1, false, false, 0), "x.nmf: 미디어 파일에 데이타가 없습니다."},
      {"unknown kind", NmfOf(8, "n", Bytes{1, 2, 3}),
       "x.nmf: 미디어 데이터의 형식을 알 수 없어 일반 파일로 바꿀 수 없습니다. (형식 코드 8)"},
  };
  for (const Case& c : cases) {
    PlainMediaFile plain;
    EXPECT_FALSE(plain.FromNmf(c.bytes, "x.nmf")) << c.what;
    EXPECT_EQ(plain.errorString(), c.message) << c.what;
    EXPECT_TRUE(plain.FileName().empty()) << c.what;
    EXPECT_TRUE(plain.Data().empty()) << c.what;
  }
}

TEST(PlainMediaFileTest, DownloadedNmfFileBecomesTheHandsetsItemData) {
  const Bytes data = test::Smaf(5000);
  Bytes list(8221, 0);
  test::Put16(list, 400 + 2 * 3, 0x002);
  LargeMediaInfo info;
  std::copy(list.begin(), list.end(), info.Bytes().begin());
  const DownloadStep step = PrepareDownload(3, test::SlotFile(0xA3, "bell", data), info);
  ASSERT_TRUE(step.ready) << step.message;
  ASSERT_EQ(step.fileName, "bell.nmf");

  test::TempFolder folder;
  const auto nmf = folder.Write(step.fileName, step.content);
  PlainMediaFile plain;
  ASSERT_TRUE(plain.LoadNmf(nmf)) << plain.errorString();
  ASSERT_TRUE(plain.Save(folder.path / plain.FileName())) << plain.errorString();
  EXPECT_EQ(test::TempFolder::Read(folder.path / "bell.mmf"), data);

  EXPECT_FALSE(plain.LoadNmf(folder.path / "missing.nmf"));
  EXPECT_EQ(plain.errorString().rfind("파일 읽기도중 오류가 발생하였습니다.\n", 0), 0u)
      << plain.errorString();
  EXPECT_FALSE(plain.Save(folder.path / "missing" / "x.mmf"));
  EXPECT_EQ(plain.errorString().rfind("파일 쓰기도중 오류가 발생하였습니다.\n", 0), 0u);
}

// The way back is the upload: its checks decide what a plain file becomes.
TEST(PlainMediaFileTest, PlainFilesGoBackThroughTheUploadChecks) {
  struct Case {
    std::uint8_t format;
    Bytes data;
    int model;
    std::string message;  // empty: accepted
    int subtype;
  };
  const std::vector<Case> cases = {
      {1, test::Smaf(1800), 1, "", 0x23},
      {2, Starting("SAF\x01"), 0, "", 0x13},
      {4, test::Smaf(300, 0x12), 0, "", 0x23},
      {1, test::Jpeg(128, 160), 1, "", 0x15},
      {1, test::Jpeg(128, 160), 0, "RX-2100 폰은 사진을 저장할 수 없습니다.", 0},
      {1, Starting("GIF89a"), 1, "잘못된 파일 형식입니다.", 0},
      {8, Starting("MThd"), 1, "잘못된 파일 형식입니다.", 0},
  };
  for (const Case& c : cases) {
    PlainMediaFile plain;
    ASSERT_TRUE(plain.FromNmf(NmfOf(c.format, "item", c.data), "item.nmf"));
    std::string message;
    const Bytes name{'i', 't', 'e', 'm'};
    const auto file = MediaFile::Build(name, plain.Data(), c.model, message);
    EXPECT_EQ(message, c.message) << plain.FileName();
    EXPECT_EQ(file.has_value(), c.message.empty()) << plain.FileName();
    if (file) {
      EXPECT_EQ(file->Subtype(), c.subtype) << plain.FileName();
      EXPECT_EQ(file->HeaderOffset(), 0u);
    }
  }
}

}  // namespace
}  // namespace linkora
