#include "tarvio/Protocol.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Hex.h"

namespace linkora::protocol {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ProtocolTest, RecordSizesOfTheItems) {
  const std::vector<std::pair<NvItem, std::size_t>> cases = {
      {NvItem::kLockFlag, 1},   {NvItem::kUserLock, 4},      {NvItem::kMin1, 4},
      {NvItem::kMin2, 4},       {NvItem::kAddressList, 100}, {NvItem::kAddress, 222},
      {NvItem::kDialGroup, 27}, {NvItem::kSchedule, 95},     {NvItem::kDday, 92},
      {NvItem::kSmsList, 532},  {NvItem::kSmsMoList, 295},   {NvItem::kSmsRx, 532},
      {NvItem::kSmsTx, 296},
  };
  for (const auto& [item, size] : cases) {
    EXPECT_EQ(NvItemSize(static_cast<std::uint16_t>(item)), size)
        << NvItemName(static_cast<std::uint16_t>(item));
  }
  EXPECT_EQ(NvItemSize(0), 0u);
  EXPECT_EQ(NvItemSize(999), 0u);
}

TEST(ProtocolTest, RequestAndReplyBytes) {
  EXPECT_THAT(NvReadRequest(11, 499), ElementsAre(0x26, 11, 0, 0xF3, 0x01));
  EXPECT_THAT(NvWriteRequest(12, 3, std::vector<std::uint8_t>{9, 8}),
              ElementsAre(0x27, 12, 0, 3, 0, 9, 8));
  EXPECT_THAT(NvReply(0x26, 1, 0, 1, 0, std::vector<std::uint8_t>{1}),
              ElementsAre(0x26, 1, 0, 0, 0, 1, 0, 1));
  EXPECT_THAT(NvReply(0x27, 20, 7, -1, 5), ElementsAre(0x27, 20, 0, 7, 0, 0xFF, 5));
}

TEST(ProtocolTest, HexBothWays) {
  const std::vector<std::uint8_t> bytes = {0x00, 0x7E, 0xAB, 0xFF};
  EXPECT_EQ(HexBytes(bytes), "00 7E AB FF");
  EXPECT_EQ(ToHex(bytes), "007eabff");
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(ParseHex("007EabFF", back));
  EXPECT_EQ(back, bytes);
  ASSERT_TRUE(ParseHex("00 7e\nab ff", back));
  EXPECT_EQ(back, bytes);
  EXPECT_TRUE(ParseHex("", back));
  EXPECT_TRUE(back.empty());
  for (const char* bad : {"0", "0g", "00 1", "zz", "0x00"}) {
    EXPECT_FALSE(ParseHex(bad, back)) << bad;
  }
}

TEST(ProtocolTest, DescriptionsForTheLog) {
  const std::vector<std::uint8_t> version(56, 0);
  std::vector<std::uint8_t> reply = version;
  const std::string model = "RX310K";
  std::copy(model.begin(), model.end(), reply.begin() + 39);
  EXPECT_EQ(Describe(std::vector<std::uint8_t>{0x00}, false), "version request");
  EXPECT_THAT(Describe(reply, true), HasSubstr("model \"RX310K"));
  EXPECT_THAT(Describe(NvReadRequest(11, 12), false), HasSubstr("NV read address key 12"));
  EXPECT_THAT(Describe(NvReply(0x26, 11, 12, 0, 5), true), HasSubstr("result 0 status 5"));
  EXPECT_EQ(Describe(std::vector<std::uint8_t>{0x41, 0}, true), "service code refused");
  EXPECT_THAT(Describe(std::vector<std::uint8_t>{0x59, 5, 3}, false), HasSubstr("FS write seq 3"));
  EXPECT_THAT(Describe(std::vector<std::uint8_t>{0xEE}, false), HasSubstr("unknown request 0xEE"));
  EXPECT_EQ(Describe(std::vector<std::uint8_t>{}, false), "empty payload");
  EXPECT_THAT(Describe(std::vector<std::uint8_t>{0x26, 11}, false), HasSubstr("short"));
}

}  // namespace
}  // namespace linkora::protocol
