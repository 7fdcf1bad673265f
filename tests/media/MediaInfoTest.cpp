#include "media/MediaInfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/media/MediaBytes.h"

namespace linkora {
namespace {

using test::Bytes;
using test::EmptyList;
using test::Get16;
using test::Get32;
using test::Put16;
using test::Put32;
using test::UseSlot;
using ::testing::ElementsAre;

const char* const kListInvalid = "미디어 리스트정보가 올바르지 않습니다.";
const char* const kTooMany = "최대 저장 파일수를 초과하였습니다.";
const char* const kFull = "단말기에 저장공간이 부족합니다.";

MediaLists Loaded(const Bytes& list, int model) {
  MediaLists lists;
  std::string message;
  EXPECT_TRUE(lists.Load(list, static_cast<int>(list.size()), model, message));
  return lists;
}

TEST(MediaInfoTest, LoadChecksTheLengthOfTheModel) {
  struct Case {
    const char* name;
    int model;
    std::size_t size;
    int resultLength;
    bool loaded;
  };
  const Case cases[] = {
      {"large list on the large model", 1, 8221, 8221, true},
      {"small list on the small model", 0, 3469, 3469, true},
      {"large list on the small model", 0, 8221, 8221, false},
      {"small list on the large model", 1, 3469, 3469, false},
      {"announced whole, arrived short", 1, 8000, 8221, false},
      {"failed read", 1, 0, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes previous = EmptyList(8221);
    UseSlot(previous, 3, 100, 2, 0x23, 0, "before");
    MediaLists lists = Loaded(previous, 1);
    Bytes list = EmptyList(c.size);
    std::string message;
    EXPECT_EQ(lists.Load(list, c.resultLength, c.model, message), c.loaded);
    EXPECT_EQ(message, c.loaded ? "" : kListInvalid);
    // A refused list leaves the copies as they were.
    EXPECT_EQ(lists.Large().TypeWord(3), c.loaded ? 0u : 2u);
  }
}

TEST(MediaInfoTest, SmallListIsCopiedIntoTheLargeLayout) {
  Bytes small = EmptyList(3469);
  Put32(small, 0, 1234);
  UseSlot(small, 7, 1234, 0x202, 0xA3, 0, "bell");
  Put16(small, 598 + 14, 0x1111);
  small[796 + 7] = 1;
  Put16(small, 3073 + 14, 0x2222);
  small[3271 + 7] = 0x33;
  small[3370 + 7] = 0x44;
  const MediaLists lists = Loaded(small, 0);
  const auto large = lists.Large().Bytes();
  EXPECT_EQ(Get32(large, 0), 1234u);
  EXPECT_EQ(Get32(large, 4 + 28), 1234u);
  EXPECT_EQ(Get16(large, 400 + 14), 0x202u);
  EXPECT_EQ(Get16(large, 598 + 14), 0x1111u);
  EXPECT_EQ(large[796 + 7], 1);
  EXPECT_EQ(large[895 + 7], 0);
  EXPECT_EQ(large[895 + 8], 0xFF);
  EXPECT_EQ(std::string(large.begin() + 994 + 140, large.begin() + 994 + 144), "bell");
  EXPECT_EQ(large[2974 + 7], 0xA3);
  EXPECT_EQ(Get16(large, 3073 + 14), 0x2222u);
  // The small-only fields are not carried over; the large-only fields stay zero.
  for (std::size_t at = 3271; at < 8221; ++at) {
    ASSERT_EQ(large[at], 0) << at;
  }
  EXPECT_EQ(lists.ListToWrite().size(), 3469u);
  EXPECT_EQ(Bytes(lists.ListToWrite().begin(), lists.ListToWrite().end()), small);
}

TEST(MediaInfoTest, ShownSlotRule) {
  struct Case {
    unsigned type;
    std::uint8_t subtype;
    bool shown;
  };
  const Case cases[] = {
      {0x201, 0x95, true},  {0x201, 0x16, false}, {0x001, 0x13, true},  {0x301, 0x94, true},
      {0x101, 0x13, false}, {0x002, 0x23, true},  {0x202, 0xA7, true},  {0x302, 0x27, true},
      {0x002, 0x24, false}, {0x002, 0x13, false}, {0x008, 0x00, true},  {0x208, 0x55, true},
      {0x308, 0xFF, true},  {0x040, 0x16, true},  {0x340, 0x96, true},  {0x240, 0x15, false},
      {0x000, 0x23, false}, {0x004, 0x23, false}, {0x108, 0x23, false}, {0x401, 0x13, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsShownMediaSlot(static_cast<std::uint16_t>(c.type), c.subtype), c.shown)
        << std::hex << c.type << " " << int{c.subtype};
  }
}

TEST(MediaInfoTest, ShownItemsCarrySlotAndName) {
  Bytes list = EmptyList(8221);
  UseSlot(list, 5, 10, 0x201, 0x95, 1, "flower");
  UseSlot(list, 6, 10, 0x201, 0x16, 2, "hidden");
  UseSlot(list, 9, 10, 8, 0x77, 0, "twenty-bytes-name-xx");  // fills the field, no NUL
  // A free slot with a shown type still shows: the order byte is not consulted.
  UseSlot(list, 40, 0, 2, 0x27, 0xFF, "stale");
  const MediaLists lists = Loaded(list, 1);
  const auto items = lists.ShownItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].slot, 5);
  EXPECT_EQ(items[0].DisplayName(), "flower");
  EXPECT_EQ(items[1].slot, 9);
  EXPECT_EQ(items[1].DisplayName(), "twenty-bytes-name-xx");
  EXPECT_EQ(items[1].name.size(), 20u);
  EXPECT_EQ(items[2].slot, 40);
}

MediaHeader HeaderWithExtras() {
  MediaHeader header;
  const Bytes e1{1, 2, 3, 4, 5, 6};
  const Bytes e2(21, 0x22);
  const Bytes e3(21, 0x33);
  header.SetExtras(e1, e2, e3);
  return header;
}

TEST(MediaInfoTest, RecordingOnTheLargeModel) {
  Bytes list = EmptyList(8221);
  Put32(list, 0, 999999);  // a stale total is recomputed from the used slots
  UseSlot(list, 0, 3000, 2, 0x23, 0, "newest");
  UseSlot(list, 2, 5000, 1, 0x13, 1, "older");
  MediaLists lists = Loaded(list, 1);
  const std::string name = "a-name-of-twenty-five-byte";
  const RecordedMediaItem item = lists.RecordNewItem(
      700, 0x201, 0x15, Bytes(name.begin(), name.begin() + 25), HeaderWithExtras());
  ASSERT_TRUE(item.recorded);
  EXPECT_EQ(item.slot, 1);
  EXPECT_EQ(item.message, "");

  const auto b = lists.ListToWrite();
  ASSERT_EQ(b.size(), 8221u);
  EXPECT_EQ(Get32(b, 0), 8700u);
  EXPECT_EQ(Get32(b, 4 + 4), 700u);
  EXPECT_EQ(Get16(b, 400 + 2), 0x201u);
  EXPECT_EQ(Get16(b, 598 + 2), 0u);
  EXPECT_EQ(b[796 + 1], 1);
  // Order bytes: the previous newest is now 1, the older one 2, the new one 0.
  EXPECT_THAT(std::vector<int>({b[895], b[896], b[897], b[898]}), ElementsAre(1, 0, 2, 0xFF));
  // At most 19 name bytes and a NUL.
  EXPECT_EQ(std::string(b.begin() + 1014, b.begin() + 1033), name.substr(0, 19));
  EXPECT_EQ(b[1033], 0);
  EXPECT_EQ(b[2974 + 1], 0x15);
  EXPECT_EQ(Get16(b, 3073 + 2), 0u);
  EXPECT_EQ(Bytes(b.begin() + 3271 + 6, b.begin() + 3271 + 12), (Bytes{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Bytes(b.begin() + 3865 + 21, b.begin() + 3865 + 42), Bytes(21, 0x22));
  EXPECT_EQ(Bytes(b.begin() + 5944 + 21, b.begin() + 5944 + 42), Bytes(21, 0x33));
  EXPECT_EQ(b[8023 + 1], 0xFF);
  EXPECT_EQ(b[8122 + 1], 0xFF);
}

TEST(MediaInfoTest, RecordingOnTheSmallModelMirrorsIntoTheLargeCopy) {
  Bytes list = EmptyList(3469);
  UseSlot(list, 0, 100, 2, 0x23, 0, "one");
  MediaLists lists = Loaded(list, 0);
  const RecordedMediaItem item =
      lists.RecordNewItem(200, 2, 0xA3, Bytes{'t', 'w', 'o'}, HeaderWithExtras());
  ASSERT_TRUE(item.recorded);
  EXPECT_EQ(item.slot, 1);
  const auto b = lists.ListToWrite();
  ASSERT_EQ(b.size(), 3469u);
  EXPECT_EQ(Get32(b, 0), 300u);
  EXPECT_EQ(b[3271 + 1], 0xFF);
  EXPECT_EQ(b[3370 + 1], 0xFF);
  EXPECT_EQ(b[895], 1);
  EXPECT_EQ(b[896], 0);
  // The large-layout copy shows the new item at once, without extra fields.
  EXPECT_EQ(lists.Large().TypeWord(1), 2u);
  EXPECT_EQ(lists.Large().Subtype(1), 0xA3);
  EXPECT_EQ(lists.Large().Total(), 300u);
  EXPECT_EQ(lists.Large().Extra1(1)[0], 0);
  EXPECT_EQ(lists.ShownItems().size(), 2u);
}

TEST(MediaInfoTest, RecordingLimits) {
  struct Case {
    const char* name;
    int usedSlots;
    unsigned usedBytes;  // spread over the used slots
    unsigned size;
    const char* message;
  };
  const Case cases[] = {
      {"790,000 in use, 10,000 more", 2, 790000, 10000, ""},
      {"790,000 in use, 10,001 more", 2, 790000, 10001, kFull},
      {"98 slots used", 98, 980, 10, ""},
      {"99 slots used", 99, 990, 10, kTooMany},
      {"99 slots used and no space either", 99, 800000, 10, kTooMany},
      {"nothing in use, 800,001", 0, 0, 800001, kFull},
  };
  for (const int model : {0, 1}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (model == 1 ? " (large)" : " (small)"));
      Bytes list = EmptyList(model == 1 ? 8221 : 3469);
      for (int slot = 0; slot < c.usedSlots; ++slot) {
        const unsigned share = c.usedBytes / static_cast<unsigned>(c.usedSlots) +
                               (slot == 0 ? c.usedBytes % static_cast<unsigned>(c.usedSlots) : 0);
        UseSlot(list, slot, share, 2, 0x23, static_cast<std::uint8_t>(slot), "x");
      }
      MediaLists lists = Loaded(list, model);
      const RecordedMediaItem item =
          lists.RecordNewItem(c.size, 2, 0x23, Bytes{'n'}, MediaHeader());
      EXPECT_EQ(item.message, c.message);
      EXPECT_EQ(item.recorded, std::string(c.message).empty());
      // The total of the used slots is stored either way.
      EXPECT_EQ(lists.Large().Total(), c.usedBytes + (item.recorded ? c.size : 0));
      EXPECT_EQ(Get32(lists.ListToWrite(), 0), c.usedBytes + (item.recorded ? c.size : 0));
    }
  }
}

}  // namespace
}  // namespace linkora
