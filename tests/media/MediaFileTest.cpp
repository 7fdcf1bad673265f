#include "media/MediaFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/media/MediaBytes.h"

namespace linkora {
namespace {

using test::Bytes;
using test::Jpeg;
using test::Nmf;
using test::Smaf;

constexpr int kSmall = 0;
constexpr int kLarge = 1;

const char* const kWrongFormat = "잘못된 파일 형식입니다.";
const char* const kTooLarge = "JPG 파일의 최대 허용 크기(128 x 160)를 초과하였습니다.";
const char* const kNoPictures = "RX-2100 폰은 사진을 저장할 수 없습니다.";

Bytes Saf(std::size_t size) {
  Bytes b{'S', 'A', 'F'};
  b.resize(size, 0x02);
  b[16] = 0x00;
  return b;
}

Bytes Gif(std::uint8_t byte16) {
  Bytes b{'G', 'I', 'F', '8', '9', 'a', 0x10, 0x00, 0x10, 0x00, 0x80, 0, 0, 0, 0, 0, byte16};
  b.resize(200, 0x3B);
  return b;
}

struct Accepted {
  const char* name;
  int model;
  Bytes bytes;
  MediaClass mediaClass;
  std::uint16_t type;
  std::uint8_t subtype;
  std::uint32_t dataSize;
  std::size_t recordHeaderSize;
};

TEST(MediaFileTest, AcceptedFiles) {
  const Accepted cases[] = {
      {"JPEG 128x160", kLarge, Jpeg(128, 160), MediaClass::Jpeg, 0x201, 0x15, 600, 4},
      {"JPEG marker at the last place scanned", kLarge, Jpeg(1, 1, 0xC0, 34), MediaClass::Jpeg,
       0x201, 0x15, 34, 4},
      {"SMAF", kSmall, Smaf(1000), MediaClass::SmafSound, 2, 0x23, 1000, 4},
      {"SMAF with byte 16 0x12", kLarge, Smaf(1000, 0x12), MediaClass::Kind8, 8, 0x23, 1000, 4},
      {"SMAF with byte 16 0x4F", kLarge, Smaf(1000, 0x4F), MediaClass::Kind8, 8, 0x23, 1000, 4},
      {"GIF passing the kind-8 test", kLarge, Gif(0x40), MediaClass::Kind8, 8, 0x23, 200, 4},
      {"SAF picture", kSmall, Saf(500), MediaClass::SafPicture, 1, 0x13, 500, 4},
      {"4,095 bytes", kLarge, Smaf(4095), MediaClass::SmafSound, 2, 0x23, 4095, 4},
      {"4,096 bytes", kLarge, Smaf(4096), MediaClass::SmafSound, 2, 0xA3, 4096, 5},
      {"60,000 bytes", kLarge, Smaf(60000), MediaClass::SmafSound, 2, 0xA3, 60000, 5},
      {".nmf of 4,300 bytes", kLarge, Nmf(1, 4300), MediaClass::SmafSound, 2, 0xA3, 4057, 5},
      {".nmf of 2,243 bytes", kLarge, Nmf(1, 2243), MediaClass::SmafSound, 2, 0x23, 2000, 4},
      {".nmf picture, flags, large", kLarge, Nmf(2, 1000, true, true), MediaClass::SafPicture,
       0x301, 0x13, 757, 4},
      {".nmf picture, flags, small", kSmall, Nmf(2, 1000, true, true), MediaClass::SafPicture, 1,
       0x13, 757, 4},
      {".nmf kind 8, flag A, small", kSmall, Nmf(4, 1000, true, false), MediaClass::Kind8, 0x208,
       0x23, 757, 4},
      {".nmf kind 8, flag B, small", kSmall, Nmf(4, 1000, false, true), MediaClass::Kind8, 0x108,
       0x23, 757, 4},
      {".nmf sound 8, flag B, large", kLarge, Nmf(8, 5000, false, true), MediaClass::Sound27, 0x102,
       0xA7, 4757, 5},
  };
  const Bytes name{'r', 'i', 'n', 'g'};
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.name);
    std::string message;
    const auto file = MediaFile::Build(name, c.bytes, c.model, message);
    ASSERT_TRUE(file.has_value()) << message;
    EXPECT_EQ(message, "");
    EXPECT_EQ(file->Class(), c.mediaClass);
    EXPECT_EQ(file->TypeWord(), c.type);
    EXPECT_EQ(file->Subtype(), c.subtype);
    EXPECT_EQ(file->DataSize(), c.dataSize);
    EXPECT_EQ(file->NameLength(), 4u);
    EXPECT_EQ(file->RecordHeader().Bytes().size(), c.recordHeaderSize);
    EXPECT_EQ(file->HeaderOffset(), c.bytes.size() - c.dataSize);
  }
}

TEST(MediaFileTest, RecordHeaderOfA20ByteName) {
  const Bytes name(20, 'a');
  std::string message;
  const auto file = MediaFile::Build(name, Smaf(4095), kLarge, message);
  ASSERT_TRUE(file.has_value());
  const MediaRecordHeader header = file->RecordHeader();
  EXPECT_EQ(Bytes(header.Bytes().begin(), header.Bytes().end()), (Bytes{0x23, 0x01, 0x4F, 0xFF}));
}

TEST(MediaFileTest, NmfKeepsItsOwnHeader) {
  Bytes nmf = Nmf(2, 1000, true);
  nmf[195] = 0x61;
  nmf[222 + 20] = 0x62;
  std::string message;
  const auto file = MediaFile::Build(Bytes{'p'}, nmf, kLarge, message);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->Header().Extra1()[0], 0x61);
  EXPECT_EQ(file->Header().Extra3()[20], 0x62);
  EXPECT_EQ(file->Header().FormatCode(), 2);
}

struct Refused {
  const char* name;
  int model;
  Bytes bytes;
  const char* message;
};

TEST(MediaFileTest, RefusedFiles) {
  Bytes shortJpeg{0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10, 0x03, 0x00};
  Bytes cutNmf = Nmf(1, 300);
  cutNmf.resize(200);
  const Refused cases[] = {
      {"JPEG 129x160", kLarge, Jpeg(129, 160), kTooLarge},
      {"JPEG 128x161", kLarge, Jpeg(128, 161), kTooLarge},
      {"JPEG 129x160 on the small model", kSmall, Jpeg(129, 160), kTooLarge},
      {"JPEG 128x160 on the small model", kSmall, Jpeg(128, 160), kNoPictures},
      {"JPEG with only a progressive frame", kLarge, Jpeg(100, 100, 0xC2), kWrongFormat},
      {"JPEG marker one place past the scan", kLarge, Jpeg(1, 1, 0xC0, 33), kWrongFormat},
      {"JPEG shorter than the scan window", kLarge, shortJpeg, kWrongFormat},
      {"JPEG of three bytes", kLarge, Bytes{0xFF, 0xD8, 0xFF}, kWrongFormat},
      {"GIF", kLarge, Gif(0x00), kWrongFormat},
      {".nmf with format code 5", kLarge, Nmf(5, 1000), kWrongFormat},
      {".nmf with format code 0", kLarge, Nmf(0, 1000), kWrongFormat},
      {".nmf shorter than its header", kLarge, cutNmf, kWrongFormat},
      {"text", kLarge, Bytes{'h', 'e', 'l', 'l', 'o'}, kWrongFormat},
      {"empty", kLarge, Bytes{}, kWrongFormat},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    std::string message;
    EXPECT_FALSE(MediaFile::Build(Bytes{'x'}, c.bytes, c.model, message).has_value());
    EXPECT_EQ(message, c.message);
  }
}

}  // namespace
}  // namespace linkora
