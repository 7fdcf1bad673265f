#include "phonebook/PhonebookEditor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp949.h"
#include "phonebook/AvatarLayout.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

std::string Str(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

std::span<const std::uint8_t> Span(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class PhonebookEditorTest : public ::testing::Test {
 protected:
  // A used slot as the handset gives it.
  void PutEntry(int slot, std::uint8_t flags, std::string_view name, std::string_view mobile,
                std::uint8_t group = 0, std::uint16_t bell = 0) {
    book.Flags().SetFlags(slot, flags);
    PhonebookEntry& entry = book.Entry(slot);
    ASSERT_TRUE(entry.SetName(cp949::FromUtf8(name).value()));
    ASSERT_TRUE(entry.SetNumber(NumberKind::Mobile, Span(mobile)));
    entry.SetGroup(group);
    entry.SetBellCode(bell);
  }

  Phonebook book;
  PhonebookEditor editor{book};
};

TEST_F(PhonebookEditorTest, StartsWithNothingOpenAndEverythingDisabled) {
  EXPECT_EQ(editor.OpenSlot(), -1);
  EXPECT_EQ(editor.SlotListIndex(), 0);
  EXPECT_FALSE(editor.EditorEnabled());
  EXPECT_FALSE(editor.AvatarEditEnabled());
  EXPECT_FALSE(editor.TransfersEnabled());
  EXPECT_THAT(editor.AvatarPartValues(), ElementsAre(1, 1, 1, 1, 1, 1, 1));
  EXPECT_THAT(editor.Apply(), Optional(std::string_view("번지를 지정하세요.")));
}

TEST_F(PhonebookEditorTest, ListsHaveTheWindowsTexts) {
  const auto slots = PhonebookEditor::SlotListTexts();
  ASSERT_EQ(slots.size(), 500u);
  EXPECT_EQ(slots[0], "N/A");
  EXPECT_EQ(slots[1], "001");
  EXPECT_EQ(slots[499], "499");
  const auto& columns = PhonebookEditor::Columns();
  std::vector<std::string> titles;
  std::vector<int> widths;
  for (const auto& column : columns) {
    titles.emplace_back(column.title);
    widths.push_back(column.width);
  }
  EXPECT_THAT(titles, ElementsAre("번지", "이름", "휴대폰", "집", "사무실", "팩스", "EMail"));
  EXPECT_THAT(widths, ElementsAre(40, 60, 90, 80, 80, 80, 100));
}

TEST_F(PhonebookEditorTest, Row0OpensSlot1) {
  PutEntry(1, 0x01, "Kim", "0111");
  EXPECT_EQ(PhonebookEditor::SlotOfRow(0), 1);
  ASSERT_TRUE(editor.IsSlotUsed(1));
  EXPECT_EQ(editor.OpenEntry(PhonebookEditor::SlotOfRow(0)), std::nullopt);
  EXPECT_EQ(PhonebookEditor::SlotListTexts()[static_cast<std::size_t>(editor.SlotListIndex())],
            "001");
  EXPECT_EQ(editor.Text(EditorField::Name), "Kim");
  EXPECT_EQ(editor.Text(EditorField::Mobile), "0111");
  EXPECT_TRUE(editor.EditorEnabled());
}

TEST_F(PhonebookEditorTest, RowShowsNumbersAndAddressOnlyWithTheirBits) {
  PutEntry(8, 0x10 | 0x04, "이순신", "0169");
  ASSERT_TRUE(book.Entry(8).SetNumber(NumberKind::Office, Span("0234")));
  ASSERT_TRUE(book.Entry(8).SetEmail(Span("lee@sea")));
  EXPECT_THAT(editor.RowTexts(8), ElementsAre("008", "이순신", "", "", "0234", "", "lee@sea"));
  editor.OpenEntry(8);
  EXPECT_EQ(editor.Text(EditorField::Mobile), "");
  EXPECT_EQ(editor.Text(EditorField::Office), "0234");
}

struct ApplyCase {
  const char* name;
  std::string entryName, mobile, home, office, fax, email;
  int ringtone, group;
  bool avatar;
  std::uint8_t flags;   // expected flag byte when applied
  const char* refusal;  // expected message when refused
};

class PhonebookApplyTest : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(PhonebookApplyTest, FlagsFollowTheEditor) {
  const ApplyCase& c = GetParam();
  Phonebook book;
  PhonebookEditor editor(book);
  editor.StartNewEntry(30);
  ASSERT_TRUE(editor.SetText(EditorField::Name, c.entryName));
  ASSERT_TRUE(editor.SetText(EditorField::Mobile, c.mobile));
  ASSERT_TRUE(editor.SetText(EditorField::Home, c.home));
  ASSERT_TRUE(editor.SetText(EditorField::Office, c.office));
  ASSERT_TRUE(editor.SetText(EditorField::Fax, c.fax));
  ASSERT_TRUE(editor.SetText(EditorField::Email, c.email));
  editor.SetRingtonePosition(c.ringtone);
  editor.SetGroupPosition(c.group);
  editor.SetAvatarUse(c.avatar);
  const Phonebook before = book;
  const auto refusal = editor.Apply();
  if (c.refusal != nullptr) {
    EXPECT_THAT(refusal, Optional(std::string_view(c.refusal)));
    EXPECT_EQ(book, before);
    EXPECT_TRUE(editor.EditorEnabled());
  } else {
    EXPECT_EQ(refusal, std::nullopt);
    EXPECT_EQ(book.Flags().Flags(30), c.flags);
    EXPECT_FALSE(editor.EditorEnabled());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhonebookApplyTest,
    ::testing::Values(
        ApplyCase{"NoName", "", "0101", "", "", "", "", 0, 0, false, 0, "이름을 입력하세요."},
        ApplyCase{"NameAlone", "Kim", "", "", "", "", "", 0, 0, false, 0, "정보가 없습니다."},
        ApplyCase{"Mobile", "Kim", "0101", "", "", "", "", 0, 0, false, 0x01, nullptr},
        ApplyCase{"Home", "Kim", "", "02", "", "", "", 0, 0, false, 0x02, nullptr},
        ApplyCase{"Office", "Kim", "", "", "031", "", "", 0, 0, false, 0x04, nullptr},
        ApplyCase{"Fax", "Kim", "", "", "", "032", "", 0, 0, false, 0x08, nullptr},
        ApplyCase{"Email", "Kim", "", "", "", "", "k@m", 0, 0, false, 0x10, nullptr},
        ApplyCase{"GroupAlone", "Kim", "", "", "", "", "", 0, 4, false, 0x20, nullptr},
        ApplyCase{"AvatarAlone", "Kim", "", "", "", "", "", 0, 0, true, 0x40, nullptr},
        ApplyCase{"RingtoneAlone", "Kim", "", "", "", "", "", 30, 0, false, 0x80, nullptr},
        ApplyCase{"Everything", "김", "1", "2", "3", "4", "5", 1, 19, true, 0xFF, nullptr}),
    [](const auto& apply) { return std::string(apply.param.name); });

TEST_F(PhonebookEditorTest, ApplyFillsTheRecord) {
  editor.StartNewEntry(12);
  ASSERT_TRUE(editor.SetText(EditorField::Name, "홍길동"));
  ASSERT_TRUE(editor.SetText(EditorField::Fax, "0215881234"));
  ASSERT_TRUE(editor.SetText(EditorField::Email, "hong@gil.kr"));
  editor.SetRingtonePosition(2);
  editor.SetGroupPosition(6);
  editor.SetLockMark(true);
  ASSERT_EQ(editor.Apply(), std::nullopt);
  const PhonebookEntry& entry = book.Entry(12);
  EXPECT_EQ(entry.Slot(), 12);
  EXPECT_EQ(Str(entry.Name()), "\xC8\xAB\xB1\xE6\xB5\xBF");  // 홍길동 in CP949
  EXPECT_EQ(entry.NumberLength(NumberKind::Fax), 10);
  EXPECT_EQ(Str(entry.Number(NumberKind::Fax)), "0215881234");
  EXPECT_EQ(Str(entry.Email()), "hong@gil.kr");
  EXPECT_EQ(entry.BellCode(), 85);
  EXPECT_EQ(entry.Group(), 6);
  EXPECT_EQ(entry.LockMark(), 1);
  EXPECT_EQ(entry.AvatarFlag(), 0);
  EXPECT_EQ(book.Flags().Flags(12), 0x08 | 0x10 | 0x20 | 0x80);
  EXPECT_THAT(editor.RowTexts(12),
              ElementsAre("012", "홍길동", "", "", "", "0215881234", "hong@gil.kr"));
}

TEST_F(PhonebookEditorTest, ChoosingNoGroupClearsTheGroupBit) {
  PutEntry(5, 0x21, "Kim", "0101", 3);
  editor.OpenEntry(5);
  EXPECT_EQ(editor.GroupPosition(), 3);
  editor.SetGroupPosition(0);
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Flags().Flags(5), 0x01);
  EXPECT_EQ(book.Entry(5).Group(), 0);
}

TEST_F(PhonebookEditorTest, NoGroupForAnEntryOfNameAndGroupIsRefused) {
  PutEntry(6, 0x20, "Kim", "", 3);
  editor.OpenEntry(6);
  editor.SetGroupPosition(0);
  const Phonebook before = book;
  EXPECT_THAT(editor.Apply(), Optional(std::string_view("정보가 없습니다.")));
  EXPECT_EQ(book, before);
}

TEST_F(PhonebookEditorTest, DownloadedRingtoneShowsTheMessageAndAppliesAsNone) {
  PutEntry(9, 0x81, "Kim", "0101", 0, 120);
  EXPECT_THAT(editor.OpenEntry(9),
              Optional(std::string_view("다운로드 받은 벨소리가 설정되어 있습니다.\n벨소리를 "
                                        "변경하시려면 노르반폰에서 설정해주시기 바랍니다.")));
  EXPECT_EQ(editor.RingtonePosition(), 0);
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Entry(9).BellCode(), 0);
  EXPECT_EQ(book.Flags().Flags(9), 0x01);
}

TEST_F(PhonebookEditorTest, BuiltInRingtoneIsKeptThroughApply) {
  PutEntry(9, 0x81, "Kim", "0101", 0, 113);
  EXPECT_EQ(editor.OpenEntry(9), std::nullopt);
  EXPECT_EQ(editor.RingtonePosition(), 30);
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Entry(9).BellCode(), 113);
}

TEST_F(PhonebookEditorTest, DeleteThenRefill) {
  PutEntry(7, 0x41, "Kim", "0101");
  editor.OpenEntry(7);
  editor.Delete();
  EXPECT_FALSE(book.Flags().IsUsed(7));
  EXPECT_EQ(book.Entry(7), PhonebookEntry{});  // slot field included
  EXPECT_THAT(editor.RowTexts(7), ElementsAre("007", "", "", "", "", "", ""));
  EXPECT_EQ(editor.Text(EditorField::Name), "");
  EXPECT_FALSE(editor.EditorEnabled());
  EXPECT_FALSE(editor.AvatarEditEnabled());

  ASSERT_FALSE(editor.IsSlotUsed(7));
  editor.StartNewEntry(7);
  EXPECT_EQ(book.Entry(7).Bytes()[215], 1);  // avatar part 3
  ASSERT_TRUE(editor.SetText(EditorField::Name, "Lee"));
  ASSERT_TRUE(editor.SetText(EditorField::Home, "0299"));
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Flags().Flags(7), 0x02);
  EXPECT_EQ(book.Entry(7).Slot(), 0);  // apply leaves the slot field alone
  EXPECT_THAT(editor.RowTexts(7), ElementsAre("007", "Lee", "", "0299", "", "", ""));
}

TEST_F(PhonebookEditorTest, PickedAvatarStaysInTheRecordWithoutApply) {
  PutEntry(4, 0x41, "Kim", "0101");
  book.Entry(4).SetAvatarFlag(1);
  book.Entry(4).SetAvatarPartValues({2, 2, 2, 2, 2, 2, 2});
  editor.OpenEntry(4);
  EXPECT_TRUE(editor.AvatarUse());
  EXPECT_TRUE(editor.AvatarEditEnabled());
  AvatarParts parts = editor.AvatarPartsForPicker();
  EXPECT_THAT(parts, ElementsAre(2, 2, 2, 2, 2, 2, 2));
  // The third item of list 1104 chooses part 1 = 3.
  const int part = AvatarPartOfList(1104);
  ASSERT_EQ(part, 1);
  parts[static_cast<std::size_t>(part - 1)] = static_cast<std::uint8_t>(AvatarValueOfItem(2));
  editor.TakePickedAvatar(parts);
  const auto b = book.Entry(4).Bytes();
  EXPECT_EQ(b[220], 3);
  EXPECT_THAT(std::vector<int>(b.begin() + 215, b.end()), ElementsAre(2, 2, 2, 2, 2, 3, 2));
  EXPECT_EQ(book.Flags().Flags(4), 0x41);
  EXPECT_THAT(editor.AvatarPartValues(), ElementsAre(3, 2, 2, 2, 2, 2, 2));
}

TEST_F(PhonebookEditorTest, AvatarUntickedKeepsThePartBytes) {
  PutEntry(4, 0x41, "Kim", "0101");
  book.Entry(4).SetAvatarFlag(1);
  book.Entry(4).SetAvatarPartValues({5, 6, 7, 1, 2, 3, 4});
  editor.OpenEntry(4);
  EXPECT_FALSE(editor.SetAvatarUse(false));
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Entry(4).AvatarFlag(), 0);
  EXPECT_EQ(book.Flags().Flags(4), 0x01);
  EXPECT_THAT(book.Entry(4).AvatarPartValues(), ElementsAre(5, 6, 7, 1, 2, 3, 4));
}

TEST_F(PhonebookEditorTest, AvatarBoxReloadsThePartsFromTheRecord) {
  PutEntry(4, 0x01, "Kim", "0101");
  book.Entry(4).SetAvatarPartValues({9, 8, 7, 6, 5, 4, 3});
  editor.OpenEntry(4);
  EXPECT_THAT(editor.AvatarPartValues(), ElementsAre(1, 1, 1, 1, 1, 1, 1));
  EXPECT_TRUE(editor.SetAvatarUse(true));
  EXPECT_THAT(editor.AvatarPartValues(), ElementsAre(9, 8, 7, 6, 5, 4, 3));
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(book.Flags().Flags(4), 0x41);
  EXPECT_EQ(book.Entry(4).AvatarFlag(), 1);
}

struct LimitCase {
  EditorField field;
  std::string text;
  bool accepted;
};

class PhonebookEditLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PhonebookEditLimitTest, EditsAreCountedInCp949Bytes) {
  EXPECT_EQ(PhonebookEditor::Accepts(GetParam().field, GetParam().text), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PhonebookEditLimitTest,
    ::testing::Values(LimitCase{EditorField::Name, "가나다라마바사아자B", true},    // 19 bytes
                      LimitCase{EditorField::Name, "가나다라마바사아자차", false},  // 20 bytes
                      LimitCase{EditorField::Name, "abcdefghijklmnopqrs", true},
                      LimitCase{EditorField::Name, "abcdefghijklmnopqrst", false},
                      LimitCase{EditorField::Name, "\xF0\x9F\x98\x80", false},  // no CP949 form
                      LimitCase{EditorField::Email, std::string(49, 'e'), true},
                      LimitCase{EditorField::Email, std::string(50, 'e'), false},
                      LimitCase{EditorField::Email, "가" + std::string(47, 'e'), true},
                      LimitCase{EditorField::Email, "가" + std::string(48, 'e'), false},
                      LimitCase{EditorField::Mobile, std::string(31, '9'), true},
                      LimitCase{EditorField::Mobile, std::string(32, '9'), false},
                      LimitCase{EditorField::Home, "02-123", false},
                      LimitCase{EditorField::Fax, "", true}));

TEST_F(PhonebookEditorTest, RefusedEditKeepsTheEarlierText) {
  editor.StartNewEntry(2);
  ASSERT_TRUE(editor.SetText(EditorField::Name, "Kim"));
  EXPECT_FALSE(editor.SetText(EditorField::Name, "Kim\xF0\x9F\x98\x80"));
  EXPECT_EQ(editor.Text(EditorField::Name), "Kim");
}

TEST_F(PhonebookEditorTest, UneditedFieldsKeepTheirBytesThroughApply) {
  book.Flags().SetFlags(3, 0x01);
  const std::string odd = "A\xFF\x41";  // not valid CP949
  ASSERT_TRUE(book.Entry(3).SetName(Span(odd)));
  ASSERT_TRUE(book.Entry(3).SetNumber(NumberKind::Mobile, Span("01*9")));
  editor.OpenEntry(3);
  EXPECT_EQ(editor.Text(EditorField::Name),
            "A\xEF\xBF\xBD"
            "A");
  // The window passes the controls' texts back unchanged before applying.
  ASSERT_TRUE(editor.SetText(EditorField::Name, editor.Text(EditorField::Name)));
  ASSERT_TRUE(editor.SetText(EditorField::Mobile, "01*9"));
  ASSERT_EQ(editor.Apply(), std::nullopt);
  EXPECT_EQ(Str(book.Entry(3).Name()), odd);
  EXPECT_EQ(Str(book.Entry(3).Number(NumberKind::Mobile)), "01*9");
}

TEST_F(PhonebookEditorTest, ReadAndLoadEnableTheTransfers) {
  PutEntry(1, 0x01, "Kim", "0101");
  editor.OpenEntry(1);
  editor.AfterLoad();
  EXPECT_TRUE(editor.TransfersEnabled());
  EXPECT_TRUE(editor.EditorEnabled());  // a load leaves the editor alone
  editor.AfterRead();
  EXPECT_FALSE(editor.EditorEnabled());
  EXPECT_TRUE(editor.TransfersEnabled());
}

TEST(AvatarLayoutTest, PickerListsAndPictures) {
  const auto labels = AvatarItemLabels(AvatarPartOfList(1108));
  ASSERT_EQ(labels.size(), 22u);
  EXPECT_EQ(labels.front(), "01");
  EXPECT_EQ(labels.back(), "22");
  EXPECT_EQ(AvatarPicture(1, 3), 274);
  EXPECT_EQ(AvatarPicture(1, 0), 271);
  EXPECT_EQ(AvatarPicture(1, 17), 0);  // beyond the list: nothing drawn
  EXPECT_EQ(AvatarPicture(6, 22), 242);
  EXPECT_EQ(AvatarPicture(7, 17), 187);
  EXPECT_EQ(AvatarPartOfList(1109), 5);
  EXPECT_EQ(AvatarPartOfList(1111), 0);
}

}  // namespace
}  // namespace linkora
