#include "media/MediaHeader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Span(std::span<const std::uint8_t> bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

TEST(MediaHeaderTest, NewHeaderHoldsOnlyTheMagicText) {
  const MediaHeader header;
  const std::string magic = "NORVANE MEDIA HEADER V1.1";
  Bytes expected(243, 0);
  std::copy(magic.begin(), magic.end(), expected.begin());
  EXPECT_EQ(Span(header.Bytes()), expected);
  EXPECT_TRUE(MediaHeader::HasMagic(header.Bytes()));
}

TEST(MediaHeaderTest, FieldsSitAtTheirOffsets) {
  MediaHeader header;
  header.SetFormatCode(8);
  header.SetFlagA(true);
  header.SetFlagB(true);
  header.SetDataSize(0x00012345);
  const Bytes name(130, 'n');  // only 128 fit
  header.SetName(name);
  const Bytes extra1{1, 2, 3, 4, 5, 6};
  const Bytes extra2(21, 0x22);
  const Bytes extra3(21, 0x33);
  header.SetExtras(extra1, extra2, extra3);

  const auto bytes = header.Bytes();
  EXPECT_EQ(bytes[50], 8);
  EXPECT_EQ(bytes[51], 0);
  EXPECT_EQ(bytes[52], 0);
  EXPECT_EQ(bytes[53], 1);
  EXPECT_EQ(bytes[54], 1);
  EXPECT_EQ(Span(bytes.subspan(55, 4)), (Bytes{0x45, 0x23, 0x01, 0x00}));
  EXPECT_EQ(Span(bytes.subspan(59, 8)), Bytes(8, 0));
  EXPECT_EQ(Span(bytes.subspan(67, 128)), Bytes(128, 'n'));
  EXPECT_EQ(Span(bytes.subspan(195, 6)), extra1);
  EXPECT_EQ(Span(bytes.subspan(201, 21)), extra2);
  EXPECT_EQ(Span(bytes.subspan(222, 21)), extra3);

  header.SetName(Bytes{'a', 'b'});  // the old name is cleared first
  EXPECT_EQ(bytes[67], 'a');
  EXPECT_EQ(bytes[69], 0);
  EXPECT_EQ(bytes[194], 0);
}

TEST(MediaHeaderTest, HeaderOffsetOnlyForAWholeHeader) {
  const MediaHeader header;
  Bytes nmf = Span(header.Bytes());
  nmf.resize(300, 0xAA);
  Bytes shortNmf = Span(header.Bytes());
  shortNmf.resize(242);
  Bytes almost = nmf;
  almost[24] = '2';  // "V1.2"
  struct Case {
    const char* name;
    Bytes bytes;
    std::size_t offset;
  };
  const Case cases[] = {
      {"media file", nmf, 243},     {"header cut short", shortNmf, 0},
      {"other version", almost, 0}, {"plain file", Bytes{'M', 'M', 'M', 'D'}, 0},
      {"empty", Bytes{}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MediaHeader::HeaderOffset(c.bytes), c.offset) << c.name;
  }
  MediaHeader loaded;
  EXPECT_FALSE(loaded.Load(shortNmf));
  EXPECT_TRUE(loaded.Load(nmf));
}

TEST(MediaRecordHeaderTest, BothFormsAsLaidOut) {
  struct Case {
    std::uint8_t subtype;
    std::size_t nameLength;
    std::uint32_t size;
    Bytes bytes;
  };
  const Case cases[] = {
      // 20-byte name: byte 1 = 0x01, high half of byte 2 = 0x4
      {0x23, 20, 4095, {0x23, 0x01, 0x4F, 0xFF}},
      {0xA3, 20, 4096, {0xA3, 0x01, 0x40, 0x10, 0x00}},
      {0xA3, 9, 4057, {0xA3, 0x00, 0x90, 0x0F, 0xD9}},
      {0x95, 300, 0x54321, {0x95, 0x12, 0xC5, 0x43, 0x21}},
      {0x13, 0, 0, {0x13, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    const MediaRecordHeader header(c.subtype, c.nameLength, c.size);
    EXPECT_EQ(Span(header.Bytes()), c.bytes) << int{c.subtype} << " " << c.size;
  }
}

TEST(MediaRecordHeaderTest, ReadingCutsNameAndDataToWhatArrived) {
  // Long form: name length 3, data size 0x000105 (261).
  Bytes whole{0x95, 0x00, 0x30, 0x01, 0x05, 'a', 'b', 'c'};
  for (int i = 0; i < 261; ++i) {
    whole.push_back(static_cast<std::uint8_t>(i));
  }
  struct Case {
    const char* name;
    std::size_t received;
    std::size_t nameBytes;
    std::size_t dataBytes;
  };
  const Case cases[] = {
      {"everything", whole.size(), 3, 261},
      {"more than stated", whole.size(), 3, 261},
      {"data cut", 100, 3, 92},
      {"name cut", 6, 1, 0},
      {"header cut", 3, 0, 0},
      {"nothing", 0, 0, 0},
  };
  Bytes longer = whole;
  longer.resize(whole.size() + 50, 0xEE);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes& source = std::string(c.name) == "more than stated" ? longer : whole;
    const MediaRecord record =
        ReadMediaRecord(std::span<const std::uint8_t>(source).first(c.received));
    EXPECT_EQ(record.name.size(), c.nameBytes);
    EXPECT_EQ(record.data.size(), c.dataBytes);
    if (c.received > 0) {
      EXPECT_EQ(record.subtype, 0x95);
    }
  }
  const MediaRecord record = ReadMediaRecord(whole);
  EXPECT_EQ(record.statedDataSize, 261u);
  EXPECT_EQ(Span(record.name), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(record.data.front(), 0);
  EXPECT_EQ(record.data.back(), 4);  // 260 & 0xFF

  // Short form: name length 2, size 0x0A05; the name starts at byte 4.
  const Bytes shortForm{0x23, 0x00, 0x2A, 0x05, 'x', 'y', 9, 9};
  const MediaRecord shortRecord = ReadMediaRecord(shortForm);
  EXPECT_EQ(shortRecord.statedDataSize, 0x0A05u);
  EXPECT_EQ(Span(shortRecord.name), (Bytes{'x', 'y'}));
  EXPECT_EQ(Span(shortRecord.data), (Bytes{9, 9}));

  // The name length is read as 8 bits: 0x12C becomes 0x2C.
  const Bytes wide{0x23, 0x12, 0xC0, 0x00};
  EXPECT_EQ(ReadMediaRecord(wide).nameLength, 0x2Cu);
}

TEST(MediaRecordHeaderTest, NmfFormatCodes) {
  struct Case {
    std::uint16_t type;
    std::uint8_t subtype;
    std::optional<int> code;
  };
  const Case cases[] = {
      {0x008, 0x55, 4},
      {0x208, 0x23, 4},
      {0x001, 0x13, 2},
      {0x001, 0x93, 2},
      {0x002, 0x21, 1},
      {0x002, 0xA3, 1},
      {0x002, 0x24, 1},
      {0x002, 0x26, 1},
      {0x002, 0x22, 5},
      {0x002, 0x27, 8},
      {0x202, 0xA7, 8},
      {0x001, 0x14, std::nullopt},
      {0x201, 0x15, std::nullopt},
      {0x002, 0x25, std::nullopt},
      {0x040, 0x96, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto code = NmfFormatCodeOf(c.type, c.subtype);
    EXPECT_EQ(code ? std::optional<int>(*code) : std::nullopt, c.code)
        << std::hex << c.type << " " << int{c.subtype};
  }
}

}  // namespace
}  // namespace linkora
