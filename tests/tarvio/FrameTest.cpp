#include "tarvio/Frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace linkora {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

std::vector<ReceivedFrame> FeedAll(FrameDecoder& decoder, const std::vector<Bytes>& reads) {
  for (const Bytes& read : reads) {
    decoder.Feed(read);
  }
  std::vector<ReceivedFrame> frames;
  ReceivedFrame frame;
  while (decoder.Next(frame)) {
    frames.push_back(frame);
  }
  return frames;
}

TEST(Crc16X25Test, CheckValueOfTheNineDigits) {
  const std::string digits = "123456789";
  const Bytes bytes(digits.begin(), digits.end());
  EXPECT_EQ(Crc16X25(bytes), 0x906E);
}

TEST(EncodeFrameTest, KnownPayloads) {
  struct Case {
    Bytes payload;
    Bytes line;
  };
  const std::vector<Case> cases = {
      {{0x4B, 0x05, 0x08, 0x00}, {0x4B, 0x05, 0x08, 0x00, 0x01, 0xDD, 0x7E}},
      {{0x00}, {0x00, 0x78, 0xF0, 0x7E}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeFrame(c.payload), c.line);
  }
}

TEST(EncodeFrameTest, FlagAndEscapeBytesOfThePayloadAreEscaped) {
  const Bytes line = EncodeFrame(Bytes{0x7E, 0x01, 0x7D});
  ASSERT_GE(line.size(), 6u);
  EXPECT_THAT(Bytes(line.begin(), line.begin() + 5), ElementsAre(0x7D, 0x5E, 0x01, 0x7D, 0x5D));
  EXPECT_EQ(line.back(), 0x7E);
  // No flag byte anywhere but at the end.
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    EXPECT_NE(line[i], 0x7E) << "at " << i;
  }
}

TEST(FrameDecoderTest, DecodesWhatEncodeFrameGives) {
  const std::vector<Bytes> payloads = {
      {0x00}, {0x7E}, {0x7D}, {0x7D, 0x7E, 0x7D, 0x7E}, {0x59, 0x04, 0x00, 0x05, 'a', 0}};
  for (const Bytes& payload : payloads) {
    FrameDecoder decoder;
    const auto frames = FeedAll(decoder, {EncodeFrame(payload)});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].error, FrameError::kNone);
    EXPECT_EQ(frames[0].payload, payload);
  }
}

TEST(FrameDecoderTest, EscapedPayloadBytesFromTheLine) {
  // Payload 7E 7D framed by hand: CRC computed over the two bytes.
  const Bytes payload = {0x7E, 0x7D};
  const std::uint16_t crc = Crc16X25(payload);
  Bytes line = {0x7D,
                0x5E,
                0x7D,
                0x5D,
                static_cast<std::uint8_t>(crc & 0xFF),
                static_cast<std::uint8_t>(crc >> 8),
                0x7E};
  FrameDecoder decoder;
  const auto frames = FeedAll(decoder, {line});
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].payload, ElementsAre(0x7E, 0x7D));
}

TEST(FrameDecoderTest, FrameSplitAcrossReadsAtEveryPosition) {
  const Bytes line = {0x4B, 0x05, 0x08, 0x00, 0x01, 0xDD, 0x7E};
  for (std::size_t cut = 1; cut < line.size(); ++cut) {
    FrameDecoder decoder;
    const auto frames = FeedAll(
        decoder, {Bytes(line.begin(), line.begin() + cut), Bytes(line.begin() + cut, line.end())});
    ASSERT_EQ(frames.size(), 1u) << "cut at " << cut;
    EXPECT_THAT(frames[0].payload, ElementsAre(0x4B, 0x05, 0x08, 0x00));
  }
}

TEST(FrameDecoderTest, EscapeByteAtTheEndOfARead) {
  // 7E as payload: 7D 5E, split between the two bytes of the escape.
  const Bytes line = EncodeFrame(Bytes{0x7E});
  ASSERT_EQ(line[0], 0x7D);
  FrameDecoder decoder;
  const auto frames = FeedAll(decoder, {Bytes{0x7D}, Bytes(line.begin() + 1, line.end())});
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].error, FrameError::kNone);
  EXPECT_THAT(frames[0].payload, ElementsAre(0x7E));
}

TEST(FrameDecoderTest, SeveralFramesInOneRead) {
  const Bytes line = {0x00, 0x78, 0xF0, 0x7E, 0x4B, 0x05, 0x08, 0x00, 0x01, 0xDD, 0x7E};
  FrameDecoder decoder;
  const auto frames = FeedAll(decoder, {line});
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_THAT(frames[0].payload, ElementsAre(0x00));
  EXPECT_THAT(frames[1].payload, ElementsAre(0x4B, 0x05, 0x08, 0x00));
}

TEST(FrameDecoderTest, GarbageBeforeALeadingFlagIsDroppedAsOneBadFrame) {
  const Bytes garbage = {'A', 'T', '$', 'Q', 'C', 'D', 'M', 'G', '\r', '\n'};
  Bytes line = garbage;
  line.push_back(0x7E);  // the sender's leading flag
  line.insert(line.end(), {0x00, 0x78, 0xF0, 0x7E});
  FrameDecoder decoder;
  const auto frames = FeedAll(decoder, {line});
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].error, FrameError::kBadCrc);
  EXPECT_EQ(frames[0].raw, garbage);
  EXPECT_EQ(frames[1].error, FrameError::kNone);
  EXPECT_THAT(frames[1].payload, ElementsAre(0x00));
}

TEST(FrameDecoderTest, RepeatedFlagsGiveNoFrame) {
  FrameDecoder decoder;
  EXPECT_TRUE(FeedAll(decoder, {Bytes{0x7E, 0x7E, 0x7E}}).empty());
  EXPECT_FALSE(decoder.InFrame());
}

TEST(FrameDecoderTest, BrokenFramesAreReportedAndTheNextOneStillDecodes) {
  struct Case {
    const char* name;
    Bytes line;
    FrameError error;
  };
  const std::vector<Case> cases = {
      {"bad CRC", {0x4B, 0x05, 0x08, 0x00, 0x01, 0xDE, 0x7E}, FrameError::kBadCrc},
      {"one byte", {0x00, 0x7E}, FrameError::kTooShort},
      {"two bytes", {0x78, 0xF0, 0x7E}, FrameError::kTooShort},
      {"escape before flag", {0x00, 0x78, 0x7D, 0x7E}, FrameError::kBadEscape},
      {"longer than the limit", Bytes(20, 0x11), FrameError::kTooLong},
  };
  for (const Case& c : cases) {
    FrameDecoder decoder(8);
    Bytes line = c.line;
    if (c.error == FrameError::kTooLong) {
      line.push_back(0x7E);
    }
    line.insert(line.end(), {0x00, 0x78, 0xF0, 0x7E});
    const auto frames = FeedAll(decoder, {line});
    ASSERT_EQ(frames.size(), 2u) << c.name;
    EXPECT_EQ(frames[0].error, c.error) << c.name;
    EXPECT_TRUE(frames[0].payload.empty()) << c.name;
    EXPECT_THAT(frames[1].payload, ElementsAre(0x00)) << c.name;
  }
}

TEST(FrameDecoderTest, UnfinishedFrameIsHeldUntilReset) {
  FrameDecoder decoder;
  decoder.Feed(Bytes{0x00, 0x78});
  EXPECT_TRUE(decoder.InFrame());
  EXPECT_FALSE(decoder.HasFrame());
  decoder.Reset();
  EXPECT_FALSE(decoder.InFrame());
  EXPECT_TRUE(FeedAll(decoder, {Bytes{0xF0, 0x7E}}).size() == 1u);
}

}  // namespace
}  // namespace linkora
