#include "phonebook/Phonebook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp949.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Cp949(std::string_view utf8) {
  return cp949::FromUtf8(utf8).value();
}

TEST(PhonebookRecordTest, SizesAreTheHandsetLayouts) {
  EXPECT_EQ(PhonebookEntry::kSize, 222u);
  EXPECT_EQ(SlotFlagList::kSize, 500u);
  EXPECT_EQ(DialGroup::kSize, 27u);
  EXPECT_EQ(Phonebook::kGroupTableSize, 540u);
}

TEST(PhonebookRecordTest, FieldsSitAtTheirOffsets) {
  PhonebookEntry entry;
  entry.SetSlot(0x01F3);  // 499
  entry.SetLockMark(1);
  entry.SetGroup(19);
  ASSERT_TRUE(entry.SetName(Bytes("Kim")));
  ASSERT_TRUE(entry.SetEmail(Bytes("a@b")));
  ASSERT_TRUE(entry.SetNumber(NumberKind::Mobile, Bytes("0161")));
  ASSERT_TRUE(entry.SetNumber(NumberKind::Home, Bytes("02")));
  ASSERT_TRUE(entry.SetNumber(NumberKind::Office, Bytes("031")));
  ASSERT_TRUE(entry.SetNumber(NumberKind::Fax, Bytes("9")));
  entry.SetBellCode(0x0171);
  entry.SetAvatarFlag(1);
  entry.SetAvatarPartValues({1, 2, 3, 4, 5, 6, 7});
  const auto b = entry.Bytes();
  EXPECT_EQ(b[0], 0xF3);
  EXPECT_EQ(b[1], 0x01);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(b[3], 19);
  EXPECT_EQ(std::string(b.begin() + 10, b.begin() + 14), std::string("Kim\0", 4));
  EXPECT_EQ(std::string(b.begin() + 30, b.begin() + 34), std::string("a@b\0", 4));
  EXPECT_EQ(b[80], 4);
  EXPECT_EQ(std::string(b.begin() + 81, b.begin() + 86), std::string("0161\0", 5));
  EXPECT_EQ(b[113], 2);
  EXPECT_EQ(std::string(b.begin() + 114, b.begin() + 117), std::string("02\0", 3));
  EXPECT_EQ(b[146], 3);
  EXPECT_EQ(std::string(b.begin() + 147, b.begin() + 151), std::string("031\0", 4));
  EXPECT_EQ(b[179], 1);
  EXPECT_EQ(std::string(b.begin() + 180, b.begin() + 182), std::string("9\0", 2));
  EXPECT_EQ(b[212], 0x71);
  EXPECT_EQ(b[213], 0x01);
  EXPECT_EQ(b[214], 1);
  // Bytes 215..221 hold parts 3, 4, 5, 6, 2, 1, 7.
  EXPECT_THAT(std::vector<int>(b.begin() + 215, b.end()), ElementsAre(3, 4, 5, 6, 2, 1, 7));
}

TEST(PhonebookRecordTest, NameOfNineteenBytesEndsInByte29) {
  PhonebookEntry entry;
  entry.Bytes()[29] = 0x55;
  const auto name = Cp949("가나다라마바사아자B");  // 9 syllables and a letter
  ASSERT_EQ(name.size(), 19u);
  ASSERT_TRUE(entry.SetName(name));
  EXPECT_EQ(entry.Bytes()[28], 'B');
  EXPECT_EQ(entry.Bytes()[29], 0);
  EXPECT_EQ(cp949::ToUtf8(entry.Name()), "가나다라마바사아자B");
}

TEST(PhonebookRecordTest, TextTooLongForItsFieldIsRefusedAndChangesNothing) {
  PhonebookEntry entry;
  ASSERT_TRUE(entry.SetName(Bytes("old")));
  EXPECT_FALSE(entry.SetName(Cp949("가나다라마바사아자차")));  // 20 bytes
  EXPECT_FALSE(entry.SetNumber(NumberKind::Fax, Bytes(std::string(32, '1'))));
  EXPECT_TRUE(entry.SetNumber(NumberKind::Fax, Bytes(std::string(31, '1'))));
  EXPECT_EQ(entry.NumberLength(NumberKind::Fax), 31);
  EXPECT_EQ(std::string(entry.Name().begin(), entry.Name().end()), "old");
}

TEST(PhonebookRecordTest, CopyKeepsTheBytesAfterTheTerminator) {
  PhonebookEntry entry;
  ASSERT_TRUE(entry.SetEmail(Bytes("longer@mail")));
  ASSERT_TRUE(entry.SetEmail(Bytes("ab")));
  const auto b = entry.Bytes();
  EXPECT_EQ(std::string(b.begin() + 30, b.begin() + 41), std::string("ab\0ger@mail", 11));
  EXPECT_EQ(std::string(entry.Email().begin(), entry.Email().end()), "ab");
}

struct CutCase {
  const char* name;
  std::uint8_t length;
  std::string expected;
};

class NumberCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(NumberCutTest, NumberIsCutAtItsLengthByteWithinTheField) {
  PhonebookEntry entry;
  entry.SetSlot(7);
  const std::size_t home = 114;
  for (std::size_t i = 0; i < 32; ++i) {
    entry.Bytes()[home + i] = static_cast<std::uint8_t>('0' + i % 10);
  }
  entry.Bytes()[home + 32] = 0x77;  // the office length byte right after the field
  entry.Bytes()[113] = GetParam().length;
  Phonebook book;
  ASSERT_TRUE(book.StoreReceivedEntry(entry));
  const PhonebookEntry& stored = book.Entry(7);
  const auto number = stored.Number(NumberKind::Home);
  EXPECT_EQ(std::string(number.begin(), number.end()), GetParam().expected);
  EXPECT_EQ(stored.Bytes()[146], 0x77);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, NumberCutTest,
    ::testing::Values(CutCase{"Zero", 0, ""}, CutCase{"Five", 5, "01234"},
                      CutCase{"ThirtyOne", 31, "0123456789012345678901234567890"},
                      CutCase{"ThirtyTwo", 32, "0123456789012345678901234567890"},
                      CutCase{"Max", 255, "0123456789012345678901234567890"}),
    [](const auto& cut) { return std::string(cut.param.name); });

TEST(PhonebookStoreTest, EntryGoesToTheSlotNamedInIt) {
  Phonebook book;
  PhonebookEntry entry;
  entry.SetSlot(42);
  ASSERT_TRUE(entry.SetName(Bytes("Lee")));
  EXPECT_TRUE(book.StoreReceivedEntry(entry));
  EXPECT_EQ(book.Entry(42), entry);
  entry.SetSlot(500);
  const Phonebook before = book;
  EXPECT_FALSE(book.StoreReceivedEntry(entry));
  EXPECT_EQ(book, before);
}

TEST(PhonebookStoreTest, StartsEmptyWithSlotNumbers) {
  const Phonebook book;
  EXPECT_EQ(book.Flags().UsedCount(), 0);
  for (const int slot : {1, 2, 255, 256, 499}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(book.Entry(slot).Bytes()[0], slot & 0xFF);
    EXPECT_EQ(book.Entry(slot).Bytes()[1], slot >> 8);
    EXPECT_TRUE(book.Entry(slot).Name().empty());
  }
}

TEST(PhonebookStoreTest, UnusedSlotsCountAsEmptyWhateverTheirRecords) {
  Phonebook book;
  ASSERT_TRUE(book.Entry(3).SetName(Bytes("ghost")));
  book.Flags().SetFlags(0, 0xFF);  // slot 0 never counts
  book.Flags().SetFlags(9, 0x01);
  book.Flags().SetFlags(499, 0x80);
  EXPECT_EQ(book.Flags().UsedCount(), 2);
  book.ClearUnusedRecords();
  EXPECT_TRUE(book.Entry(3).Name().empty());
  EXPECT_EQ(book.Entry(3).Slot(), 3);
  EXPECT_EQ(book.Flags().Flags(0), 0xFF);
}

TEST(PhonebookStoreTest, FlagPartsAreHundredByteWindows) {
  SlotFlagList flags;
  flags.SetFlags(0, 0x11);
  flags.SetFlags(199, 0x22);
  flags.SetFlags(400, 0x33);
  EXPECT_EQ(flags.Part(0)[0], 0x11);
  EXPECT_EQ(flags.Part(1)[99], 0x22);
  EXPECT_EQ(flags.Part(4)[0], 0x33);
}

TEST(PhonebookStoreTest, GroupTableIsTwentyRecordsInGroupOrder) {
  Phonebook book;
  std::array<std::uint8_t, 540> bytes{};
  for (int g = 0; g < 20; ++g) {
    bytes[static_cast<std::size_t>(27 * g)] = static_cast<std::uint8_t>(g);
    bytes[static_cast<std::size_t>(27 * g + 1)] = static_cast<std::uint8_t>('A' + g);
  }
  bytes[539] = 0xEE;  // last reserved byte of group 19
  book.SetGroupTableBytes(bytes);
  EXPECT_EQ(book.Groups()[5].Number(), 5);
  EXPECT_EQ(book.Groups()[19].Bytes()[26], 0xEE);
  EXPECT_EQ(book.GroupTableBytes(), bytes);
  const auto names = GroupListTexts(book.Groups());
  ASSERT_EQ(names.size(), 20u);
  EXPECT_EQ(names[0], "지정안됨");
  EXPECT_EQ(names[1], "B");
  EXPECT_EQ(names[19], "T");
}

TEST(PhonebookStoreTest, GroupNameFillingItsFieldIsCutTo19Bytes) {
  DialGroup group;
  for (std::size_t i = 1; i <= 20; ++i) {
    group.Bytes()[i] = 'x';
  }
  group.TerminateName();
  EXPECT_EQ(cp949::FieldToUtf8(group.NameField()), std::string(19, 'x'));
}

struct BellCase {
  std::uint16_t code;
  int position;
  bool downloaded;
  const char* shown;  // list text at the position
};

class BellCodeTest : public ::testing::TestWithParam<BellCase> {};

TEST_P(BellCodeTest, CodeSelectsThePhonebookListPosition) {
  const BellCase& c = GetParam();
  EXPECT_EQ(PhonebookRingtonePosition(c.code), c.position);
  EXPECT_EQ(IsDownloadedRingtone(c.code), c.downloaded);
  if (!c.downloaded) {
    EXPECT_EQ(PhonebookRingtoneTexts().at(static_cast<std::size_t>(c.position)), c.shown);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BellCodeTest,
    ::testing::Values(BellCase{0, 0, false, "설정안함"}, BellCase{50, 0, false, "설정안함"},
                      BellCase{83, 0, false, "설정안함"}, BellCase{84, 1, false, "꽃의 왈츠"},
                      BellCase{113, 30, false, "힙  합"}, BellCase{114, 31, true, ""},
                      BellCase{120, 37, true, ""}));

TEST(BellCodeTest, ListPositionGivesTheCode) {
  EXPECT_EQ(PhonebookBellCode(0), 0);
  EXPECT_EQ(PhonebookBellCode(1), 84);
  EXPECT_EQ(PhonebookBellCode(30), 113);
  EXPECT_EQ(PhonebookRingtoneTexts().size(), 31u);
}

}  // namespace
}  // namespace linkora
