#include "common/Cp949.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace linkora::cp949 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct DecodeCase {
  const char* name;
  Bytes bytes;
  std::string utf8;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesText) {
  EXPECT_EQ(ToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cp949, DecodeTest,
    ::testing::Values(DecodeCase{"Ascii", {'A', 'b', '1'}, "Ab1"},
                      DecodeCase{"Hangul", {0xC7, 0xD1, 0xB1, 0xDB}, "한글"},
                      DecodeCase{"ExtendedHangul", {0x8C, 0x63}, "똠"},
                      DecodeCase{"InvalidLeadKeepsRest",
                                 {0xFF, 'A', 0xB0, 0xA1},
                                 "\xEF\xBF\xBD"
                                 "A가"},
                      DecodeCase{"LeadCutOffAtEnd", {'A', 0xB0}, "A\xEF\xBF\xBD"},
                      DecodeCase{"EmbeddedZeroKept", {'A', 0x00, 'B'}, std::string("A\0B", 3)},
                      DecodeCase{"Empty", {}, ""}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Cp949FieldTest, StopsAtFirstZeroOrFieldEnd) {
  const Bytes terminated{0xC8, 0xAB, 0x00, 'X', 'Y'};
  EXPECT_EQ(FieldToUtf8(terminated), "홍");
  const Bytes full{'A', 'B', 'C'};
  EXPECT_EQ(FieldToUtf8(full), "ABC");
}

TEST(Cp949EncodeTest, EncodesWhatCp949Holds) {
  EXPECT_EQ(FromUtf8("홍길동"), (Bytes{0xC8, 0xAB, 0xB1, 0xE6, 0xB5, 0xBF}));
  EXPECT_EQ(FromUtf8("똠A"), (Bytes{0x8C, 0x63, 'A'}));
  EXPECT_EQ(FromUtf8(""), Bytes{});
  EXPECT_EQ(EncodedLength("홍길동 010"), 10u);
}

TEST(Cp949EncodeTest, RefusesWhatItCannotHold) {
  EXPECT_EQ(FromUtf8("웃음 😀"), std::nullopt);
  EXPECT_EQ(FromUtf8("\xC3\x28"), std::nullopt);  // not UTF-8
  EXPECT_EQ(EncodedLength("😀"), std::nullopt);
}

TEST(Cp949RoundTripTest, EveryTwoByteCodeSurvives) {
  // Every valid two-byte code decodes to one character and encodes back unchanged.
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x41; trail <= 0xFE; ++trail) {
      const Bytes code{static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
      const std::string text = ToUtf8(code);
      if (text.find("\xEF\xBF\xBD") != std::string::npos) {
        continue;
      }
      ASSERT_EQ(FromUtf8(text), code) << std::hex << lead << " " << trail;
      ++checked;
    }
  }
  EXPECT_GT(checked, 17000);
}

}  // namespace
}  // namespace linkora::cp949
