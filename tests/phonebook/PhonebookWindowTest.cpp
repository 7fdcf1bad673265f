#include "phonebook/PhonebookWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <fstream>
#include <map>

#include "link/SessionState.h"
#include "phonebook/AvatarPickerDialog.h"
#include "phonebook/PhonebookSyncDialog.h"
#include "tests/phonebook/WindowTestSupport.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kNoInformation = "정보가 없습니다.";

class PhonebookWindowTest : public ::testing::Test {
 protected:
  PhonebookWindowTest() {
    library.handsetPort = "COM2";
    library.lockFlag = false;
    settings.portName = "COM2";
    window.show();
  }

  template <typename T>
  T* Find(const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QTreeWidget* List() { return Find<QTreeWidget>("slots"); }
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QPushButton* Push(const char* name) { return Find<QPushButton>(name); }
  QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }

  // The texts of a list row.
  std::vector<std::string> Row(int row) {
    std::vector<std::string> texts;
    QTreeWidgetItem* item = List()->topLevelItem(row);
    for (int c = 0; c < 7; ++c) {
      texts.push_back(item->text(c).toStdString());
    }
    return texts;
  }

  // An entry with a name and, when given, a mobile number.
  static void PutEntry(Phonebook& book, int slot, std::uint8_t flags, std::string_view name,
                       std::string_view mobile = {}) {
    book.Flags().SetFlags(slot, flags);
    PhonebookEntry& entry = book.Entry(slot);
    entry.SetSlot(static_cast<std::uint16_t>(slot));
    entry.SetName(Cp949(name));
    if (!mobile.empty()) {
      entry.SetNumber(NumberKind::Mobile, Cp949(mobile));
    }
  }
  static void NameGroups(Phonebook& book) {
    for (int g = 0; g < 20; ++g) {
      DialGroup& group = book.Groups()[static_cast<std::size_t>(g)];
      group.SetNumber(static_cast<std::uint8_t>(g));
      const std::string name = "그룹" + std::to_string(g);
      std::vector<std::uint8_t> bytes = Cp949(name);
      std::copy(bytes.begin(), bytes.end(), group.Bytes().begin() + DialGroup::kName);
    }
  }

  FakeHandsetLibrary library;
  SessionState state;
  ScriptedPromptService prompts;
  ConnectSettings settings{"COM2", 115200, "472913"};
  PhonebookWindow window{settings, LinkContext{library, library.sleep, state}, prompts};
};

// ---- Opening ----

TEST_F(PhonebookWindowTest, StartsWithEveryRowNumberedAndNothingToEdit) {
  EXPECT_EQ(List()->topLevelItemCount(), 499);
  EXPECT_THAT(Row(0), ElementsAre("001", "", "", "", "", "", ""));
  EXPECT_THAT(Row(498), ElementsAre("499", "", "", "", "", "", ""));
  EXPECT_EQ(Combo("slotList")->currentText().toStdString(), "N/A");
  EXPECT_EQ(Combo("slotList")->count(), 500);
  EXPECT_EQ(Combo("ringtone")->count(), 31);
  EXPECT_EQ(Combo("ringtone")->itemText(0).toStdString(), "설정안함");
  EXPECT_EQ(Combo("group")->count(), 1);
  EXPECT_EQ(Combo("group")->itemText(0).toStdString(), "지정안됨");
  for (const char* name : {"write", "save", "avatarEdit", "apply", "delete"}) {
    EXPECT_FALSE(Push(name)->isEnabled()) << name;
  }
  for (const char* name : {"read", "load"}) {
    EXPECT_TRUE(Push(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(Edit("name")->isEnabled());
  EXPECT_FALSE(Combo("slotList")->isEnabled());
}

TEST_F(PhonebookWindowTest, ColumnsHaveTheirTitlesAndWidths) {
  const std::array<std::pair<const char*, int>, 7> columns = {{{"번지", 40},
                                                               {"이름", 60},
                                                               {"휴대폰", 90},
                                                               {"집", 80},
                                                               {"사무실", 80},
                                                               {"팩스", 80},
                                                               {"EMail", 100}}};
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(List()->headerItem()->text(c).toStdString(), columns[c].first);
    EXPECT_EQ(List()->columnWidth(c), columns[c].second) << c;
  }
}

TEST_F(PhonebookWindowTest, RowZeroOpensSlotOne) {
  Phonebook book;
  PutEntry(book, 1, 0x01, "홍길동", "0161234567");
  window.TakePhonebook(book);
  EXPECT_THAT(Row(0), ElementsAre("001", "홍길동", "0161234567", "", "", "", ""));
  DoubleClickRow(List(), 0);
  EXPECT_EQ(Combo("slotList")->currentText().toStdString(), "001");
  EXPECT_EQ(Edit("name")->text().toStdString(), "홍길동");
  EXPECT_EQ(Edit("mobile")->text().toStdString(), "0161234567");
  EXPECT_TRUE(Edit("name")->isEnabled());
  EXPECT_TRUE(Push("apply")->isEnabled());
  EXPECT_FALSE(Push("avatarEdit")->isEnabled());
  EXPECT_THAT(prompts.prompts, IsEmpty());
}

TEST_F(PhonebookWindowTest, EmptyRowOffersANewEntryOnlyOnYes) {
  DoubleClickRow(List(), 6);
  ASSERT_EQ(prompts.prompts.size(), 1u);
  EXPECT_EQ(prompts.prompts[0].kind, "YesNo");
  EXPECT_EQ(prompts.prompts[0].text, "이 번지에 전화번호를 추가하시겠습니까?");
  EXPECT_EQ(prompts.prompts[0].caption, "전화번호부");
  EXPECT_EQ(Combo("slotList")->currentText().toStdString(), "N/A");
  EXPECT_FALSE(Edit("name")->isEnabled());

  prompts.SetNextAnswer(true);
  DoubleClickRow(List(), 6);
  EXPECT_EQ(Combo("slotList")->currentText().toStdString(), "007");
  EXPECT_TRUE(Edit("name")->isEnabled());
  EXPECT_THAT(prompts.Messages(), ElementsAre("해당 항목을 채운후 [확인] 버튼을 누르세요."));
  EXPECT_EQ(window.Book().Entry(7).Bytes()[215], 1);  // the new entry's head picture
  EXPECT_EQ(window.Book().Flags().Flags(7), 0);       // nothing stored before apply
}

// ---- Editor limits ----

TEST_F(PhonebookWindowTest, NameHoldsNineteenBytesCountedInCp949) {
  prompts.SetNextAnswer(true);
  DoubleClickRow(List(), 0);
  QLineEdit* name = Edit("name");
  TypeText(name, QStringLiteral("가나다라마바사아자"));  // 18 bytes
  TypeText(name, QStringLiteral("차"));                  // would make 20
  EXPECT_EQ(name->text(), QStringLiteral("가나다라마바사아자"));
  TypeText(name, QStringLiteral("a"));  // 19
  EXPECT_EQ(name->text(), QStringLiteral("가나다라마바사아자a"));
}

TEST_F(PhonebookWindowTest, EditsRefuseWhatTheirFieldCannotHold) {
  prompts.SetNextAnswer(true);
  DoubleClickRow(List(), 0);
  TypeText(Edit("mobile"), QStringLiteral("016-123"));
  EXPECT_EQ(Edit("mobile")->text(), QString());
  TypeText(Edit("mobile"), QString(31, QChar('7')));
  TypeText(Edit("mobile"), QStringLiteral("8"));
  EXPECT_EQ(Edit("mobile")->text(), QString(31, QChar('7')));
  // A character CP949 has no code for.
  TypeText(Edit("name"), QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(Edit("name")->text(), QString());
  TypeText(Edit("email"), QString(49, QChar('e')));
  TypeText(Edit("email"), QStringLiteral("x"));
  EXPECT_EQ(Edit("email")->text().size(), 49);
}

// ---- Apply ----

struct ApplyCase {
  const char* what;
  const char* name;
  const char* mobile;
  int group;
  std::optional<std::string> message;
  std::uint8_t flags;
  std::uint8_t groupByte;
};

class ApplyRulesTest : public PhonebookWindowTest,
                       public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyRulesTest, NewEntry) {
  const ApplyCase& c = GetParam();
  Phonebook book;
  NameGroups(book);
  window.TakePhonebook(book);
  prompts.SetNextAnswer(true);
  DoubleClickRow(List(), 9);
  TypeText(Edit("name"), QString::fromUtf8(c.name));
  TypeText(Edit("mobile"), QString::fromUtf8(c.mobile));
  ChooseItem(Combo("group"), c.group);
  prompts.prompts.clear();
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  if (c.message) {
    EXPECT_THAT(prompts.Messages(), ElementsAre(*c.message));
    EXPECT_TRUE(Push("apply")->isEnabled());
  } else {
    EXPECT_THAT(prompts.Messages(), IsEmpty());
    EXPECT_FALSE(Push("apply")->isEnabled());  // the editor closes after an apply
    EXPECT_FALSE(Edit("name")->isEnabled());
  }
  EXPECT_EQ(window.Book().Flags().Flags(10), c.flags);
  EXPECT_EQ(window.Book().Entry(10).Group(), c.groupByte);
}

INSTANTIATE_TEST_SUITE_P(
    PhonebookWindow, ApplyRulesTest,
    ::testing::Values(ApplyCase{"NameAlone", "김철수", "", 0, kNoInformation, 0x00, 0},
                      ApplyCase{"NoName", "", "0162223333", 0, "이름을 입력하세요.", 0x00, 0},
                      ApplyCase{"NameAndGroup", "김철수", "", 3, std::nullopt, 0x20, 3},
                      ApplyCase{"NameAndMobile", "김철수", "0162223333", 0, std::nullopt, 0x01, 0},
                      ApplyCase{"NameMobileGroup", "김철수", "0162223333", 19, std::nullopt, 0x21,
                                19}),
    [](const ::testing::TestParamInfo<ApplyCase>& param) { return std::string(param.param.what); });

TEST_F(PhonebookWindowTest, NoGroupClearsTheGroupBitWhenANumberRemains) {
  Phonebook book;
  NameGroups(book);
  PutEntry(book, 4, 0x21, "이영희", "01199998888");
  book.Entry(4).SetGroup(5);
  window.TakePhonebook(book);
  DoubleClickRow(List(), 3);
  EXPECT_EQ(Combo("group")->currentIndex(), 5);
  ChooseItem(Combo("group"), 0);
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(window.Book().Flags().Flags(4), 0x01);
  EXPECT_EQ(window.Book().Entry(4).Group(), 0);
}

TEST_F(PhonebookWindowTest, NoGroupIsRefusedWhenTheGroupWasAllTheEntryHad) {
  Phonebook book;
  NameGroups(book);
  PutEntry(book, 4, 0x20, "이영희");
  book.Entry(4).SetGroup(5);
  window.TakePhonebook(book);
  const Phonebook before = window.Book();
  DoubleClickRow(List(), 3);
  ChooseItem(Combo("group"), 0);
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kNoInformation));
  EXPECT_TRUE(window.Book() == before);
}

TEST_F(PhonebookWindowTest, DownloadedRingtoneIsShownAsNoneAndAppliedAsZero) {
  Phonebook book;
  PutEntry(book, 12, 0x81, "박민수", "0175550000");
  book.Entry(12).SetBellCode(120);
  window.TakePhonebook(book);
  DoubleClickRow(List(), 11);
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("다운로드 받은 벨소리가 설정되어 있습니다.\n벨소리를 변경하시려면 "
                          "노르반폰에서 설정해주시기 바랍니다."));
  EXPECT_EQ(Combo("ringtone")->currentText().toStdString(), "설정안함");
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_EQ(window.Book().Entry(12).BellCode(), 0);
  EXPECT_EQ(window.Book().Flags().Flags(12), 0x01);
}

TEST_F(PhonebookWindowTest, BuiltInRingtoneIsShownAndKept) {
  Phonebook book;
  PutEntry(book, 12, 0x81, "박민수", "0175550000");
  book.Entry(12).SetBellCode(84 + 4);  // the fifth built-in ringtone
  window.TakePhonebook(book);
  DoubleClickRow(List(), 11);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(Combo("ringtone")->currentIndex(), 5);
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_EQ(window.Book().Entry(12).BellCode(), 88);
  EXPECT_EQ(window.Book().Flags().Flags(12), 0x81);
}

TEST_F(PhonebookWindowTest, EnterNeitherAppliesNorCloses) {
  Phonebook book;
  PutEntry(book, 2, 0x01, "최지우", "0101112222");
  window.TakePhonebook(book);
  DoubleClickRow(List(), 1);
  TypeText(Edit("name"), QStringLiteral("님"));
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(Edit("name"), key);
    QTest::keyClick(Edit("mobile"), key);
  }
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(Push("apply")->isEnabled());
  EXPECT_THAT(Row(1), ElementsAre("002", "최지우", "0101112222", "", "", "", ""));
  EXPECT_THAT(prompts.prompts, IsEmpty());
  EXPECT_TRUE(library.log.empty());
}

// ---- Delete ----

TEST_F(PhonebookWindowTest, DeleteThenRefillTheSlot) {
  Phonebook book;
  PutEntry(book, 2, 0x01, "최지우", "0101112222");
  window.TakePhonebook(book);
  DoubleClickRow(List(), 1);

  QTest::mouseClick(Push("delete"), Qt::LeftButton);  // answered No
  EXPECT_EQ(prompts.prompts.back().text, "이 번지 데이타를 삭제하시겠습니까?");
  EXPECT_EQ(prompts.prompts.back().caption, "전화번호부");
  EXPECT_EQ(window.Book().Flags().Flags(2), 0x01);

  prompts.SetNextAnswer(true);
  QTest::mouseClick(Push("delete"), Qt::LeftButton);
  EXPECT_THAT(Row(1), ElementsAre("002", "", "", "", "", "", ""));
  EXPECT_EQ(window.Book().Flags().Flags(2), 0);
  const auto bytes = window.Book().Entry(2).Bytes();
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_FALSE(Push("apply")->isEnabled());
  EXPECT_EQ(Edit("name")->text(), QString());

  prompts.SetNextAnswer(true);
  DoubleClickRow(List(), 1);
  TypeText(Edit("name"), QStringLiteral("강호동"));
  TypeText(Edit("home"), QStringLiteral("0212345678"));
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_THAT(Row(1), ElementsAre("002", "강호동", "", "0212345678", "", "", ""));
  EXPECT_EQ(window.Book().Flags().Flags(2), 0x02);
}

// ---- Avatar ----

TEST_F(PhonebookWindowTest, AvatarBoxEnablesEditAndTheBitComesWithApply) {
  Phonebook book;
  PutEntry(book, 3, 0x01, "유재석", "0109998888");
  window.TakePhonebook(book);
  DoubleClickRow(List(), 2);
  auto* box = Find<QCheckBox>("avatarUse");
  EXPECT_FALSE(box->isChecked());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(Push("avatarEdit")->isEnabled());
  QTest::mouseClick(Push("apply"), Qt::LeftButton);
  EXPECT_EQ(window.Book().Flags().Flags(3), 0x41);
  EXPECT_EQ(window.Book().Entry(3).AvatarFlag(), 1);
  EXPECT_FALSE(Push("avatarEdit")->isEnabled());
}

TEST_F(PhonebookWindowTest, AvatarChoiceStaysInTheRecordWithoutApply) {
  Phonebook book;
  PutEntry(book, 3, 0x41, "유재석", "0109998888");
  book.Entry(3).SetAvatarFlag(1);
  PutEntry(book, 8, 0x01, "하하", "0104443333");
  window.TakePhonebook(book);
  DoubleClickRow(List(), 2);
  ASSERT_TRUE(Push("avatarEdit")->isEnabled());
  WhenModalOpens([](QWidget* modal) {
    auto* picker = dynamic_cast<AvatarPickerDialog*>(modal);
    ASSERT_NE(picker, nullptr);
    DoubleClickItem(picker->List(1106), 4);
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
  });
  QTest::mouseClick(Push("avatarEdit"), Qt::LeftButton);
  EXPECT_EQ(window.Book().Entry(3).Bytes()[215], 5);  // part 3, item 5
  // Another entry is opened; the first is never applied again.
  DoubleClickRow(List(), 7);
  EXPECT_EQ(window.Book().Entry(3).Bytes()[215], 5);
  EXPECT_EQ(window.Book().Flags().Flags(3), 0x41);
}

// ---- Handset ----

class PhonebookWindowHandsetTest : public PhonebookWindowTest {
 protected:
  PhonebookWindowHandsetTest() {
    state.RememberedLockCode = library.lockCode;
    library.On("XrsNvReadAddressList_rx310", [this](FakeCall& call) {
      std::copy_n(handsetFlags.begin() + 100 * call.part, 100, call.buffer.begin());
      return 100;
    });
    library.On("XrsNvReadAddress_rx310", [this](FakeCall& call) {
      const int slot = call.buffer[0] | (call.buffer[1] << 8);
      const auto& record = handsetEntries[slot];
      std::copy(record.begin(), record.end(), call.buffer.begin());
      return 222;
    });
    library.On("XrsNvReadDialGroup_rx310", [](FakeCall& call) {
      const std::uint8_t g = call.buffer[0];
      const std::vector<std::uint8_t> name = Cp949("가족" + std::to_string(g));
      std::copy(name.begin(), name.end(), call.buffer.begin() + 1);
      return 27;
    });
  }

  void PutHandsetEntry(int slot, std::uint8_t flags, std::string_view name,
                       std::string_view mobile) {
    handsetFlags[static_cast<std::size_t>(slot)] = flags;
    std::array<std::uint8_t, 222> record{};
    record[0] = static_cast<std::uint8_t>(slot & 0xFF);
    record[1] = static_cast<std::uint8_t>(slot >> 8);
    const auto nameBytes = Cp949(name);
    std::copy(nameBytes.begin(), nameBytes.end(), record.begin() + 10);
    record[80] = static_cast<std::uint8_t>(mobile.size());
    std::copy(mobile.begin(), mobile.end(), record.begin() + 81);
    handsetEntries[slot] = record;
  }

  std::array<std::uint8_t, 500> handsetFlags{};
  std::map<int, std::array<std::uint8_t, 222>> handsetEntries;
};

TEST_F(PhonebookWindowHandsetTest, ReadFillsTheListAndEnablesWriteAndSave) {
  PutHandsetEntry(1, 0x01, "엄마", "0111234567");
  PutHandsetEntry(250, 0x01, "아빠", "0167654321");
  QTest::mouseClick(Push("read"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_THAT(Row(0), ElementsAre("001", "엄마", "0111234567", "", "", "", ""));
  EXPECT_THAT(Row(249), ElementsAre("250", "아빠", "0167654321", "", "", "", ""));
  EXPECT_EQ(Combo("group")->count(), 20);
  EXPECT_EQ(Combo("group")->itemText(0).toStdString(), "지정안됨");
  EXPECT_EQ(Combo("group")->itemText(7).toStdString(), "가족7");
  EXPECT_TRUE(Push("write")->isEnabled());
  EXPECT_TRUE(Push("save")->isEnabled());
  EXPECT_FALSE(Push("apply")->isEnabled());
  EXPECT_EQ(window.DiagPortName(), "COM2");
  EXPECT_TRUE(window.isVisible());
}

TEST_F(PhonebookWindowHandsetTest, ReadClosesTheOpenEntryAndSelectsNoGroup) {
  Phonebook book;
  NameGroups(book);
  PutEntry(book, 4, 0x21, "이영희", "01199998888");
  book.Entry(4).SetGroup(5);
  window.TakePhonebook(book);
  DoubleClickRow(List(), 3);
  ASSERT_EQ(Combo("group")->currentIndex(), 5);
  PutHandsetEntry(4, 0x01, "엄마", "0111234567");
  QTest::mouseClick(Push("read"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(Combo("group")->currentIndex(), 0);
  EXPECT_EQ(Combo("group")->currentText().toStdString(), "지정안됨");
  EXPECT_FALSE(Combo("group")->isEnabled());
  EXPECT_FALSE(Push("apply")->isEnabled());
  EXPECT_FALSE(Push("avatarEdit")->isEnabled());
}

TEST_F(PhonebookWindowHandsetTest, FailedGroupReadLeavesTheListAsItWas) {
  PutHandsetEntry(1, 0x01, "엄마", "0111234567");
  library.FailCall("XrsNvReadDialGroup_rx310", 8, 2);  // group 7, twice
  QTest::mouseClick(Push("read"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("8번째 전화번호 그룹 데이터 수신중 오류가 발생했습니다. "
                          "다시 시도해주십시요."));
  EXPECT_THAT(Row(0), ElementsAre("001", "", "", "", "", "", ""));
  EXPECT_EQ(Combo("group")->count(), 1);
  EXPECT_FALSE(Push("write")->isEnabled());
}

TEST_F(PhonebookWindowHandsetTest, ProgressWindowRefusesAnUnknownMode) {
  Phonebook book;
  PhonebookSyncDialog progress(5, LinkContext{library, library.sleep, state}, settings, book,
                               prompts, &window);
  EXPECT_EQ(progress.windowTitle().toStdString(), "전화번호 싱크 진행상황");
  EXPECT_EQ(window.RunProgress(progress), 2);
  EXPECT_THAT(prompts.Messages(), ElementsAre("잘못된 명령입니다."));
  EXPECT_TRUE(library.log.empty());
}

TEST_F(PhonebookWindowHandsetTest, ReadTitleIsSetBeforeTheFirstExchange) {
  std::string firstTitle;
  Phonebook book;
  PhonebookSyncDialog progress(0, LinkContext{library, library.sleep, state}, settings, book,
                               prompts, &window);
  library.On("DiagOpenPort", [&firstTitle, &progress](FakeCall&) {
    if (firstTitle.empty()) {
      firstTitle = progress.windowTitle().toStdString();
    }
    return 0;  // no handset: the read ends early
  });
  window.RunProgress(progress);
  EXPECT_EQ(firstTitle, "전화번호 내려받기중..");
}

TEST_F(PhonebookWindowHandsetTest, DecliningEitherQuestionSendsNothing) {
  Phonebook book;
  PutEntry(book, 1, 0x01, "엄마", "0111234567");
  window.TakePhonebook(book);
  QTest::mouseClick(Push("write"), Qt::LeftButton);  // No to the first
  prompts.SetNextAnswer(true);
  QTest::mouseClick(Push("write"), Qt::LeftButton);  // Yes, then No
  ASSERT_EQ(prompts.prompts.size(), 3u);
  EXPECT_EQ(prompts.prompts[0].text,
            "현재 화면의 데이타로 단말기에 덮어쓰게 됩니다. 계속하시겠습니까?");
  EXPECT_EQ(prompts.prompts[0].caption, "Linkora");
  EXPECT_EQ(prompts.prompts[2].text, "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?");
  EXPECT_TRUE(library.log.empty());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(PhonebookWindowHandsetTest, WriteThatCompletesClosesTheWindowWithoutModeReturn) {
  std::vector<int> written;
  library.On("XrsNvWriteAddress_rx310", [&written](FakeCall& call) {
    written.push_back(call.data[0] | (call.data[1] << 8));
    return 222;
  });
  Phonebook book;
  PutEntry(book, 1, 0x01, "엄마", "0111234567");
  PutEntry(book, 30, 0x01, "아빠", "0167654321");
  window.TakePhonebook(book);
  prompts.SetNextAnswer(true);
  prompts.SetNextAnswer(true);
  QTest::mouseClick(Push("write"), Qt::LeftButton);
  EXPECT_THAT(written, ElementsAre(1, 30));
  EXPECT_EQ(library.CountOf("DiagPhoneReset"), 1);
  EXPECT_THAT(prompts.Messages(), ElementsAre("단말기가 리셋됩니다."));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(library.CountOf("XrsSendFrame"), 0);
}

// ---- Files ----

class PhonebookWindowFileTest : public PhonebookWindowTest {
 protected:
  std::string PathOf(const char* name) { return QDir(folder.path()).filePath(name).toStdString(); }
  static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  QTemporaryDir folder;
};

TEST_F(PhonebookWindowFileTest, SaveThenLoadInAnotherWindow) {
  Phonebook book;
  NameGroups(book);
  PutEntry(book, 1, 0x01, "엄마", "0111234567");
  PutEntry(book, 77, 0x01, "동생", "0190001111");
  window.TakePhonebook(book);
  const std::string path = PathOf("family.ndf");
  prompts.SetNextFileName(path);
  QTest::mouseClick(Push("save"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), ElementsAre("현재 전화번호부를 파일에 저장하였습니다."));
  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.requests[0].filter, "Norvane Directory File (*.ndf);;vCard (*.vcf)");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "ndf");
  EXPECT_EQ(ReadBytes(path).size(), 1104u + 2 * 222u);

  ScriptedPromptService otherPrompts;
  PhonebookWindow other(settings, LinkContext{library, library.sleep, state}, otherPrompts);
  otherPrompts.SetNextFileName(path);
  QTest::mouseClick(other.findChild<QPushButton*>(QStringLiteral("load")), Qt::LeftButton);
  EXPECT_THAT(otherPrompts.Messages(), ElementsAre("전화번호부 파일을 읽었습니다."));
  EXPECT_TRUE(other.Book() == window.Book());
  auto* otherList = other.findChild<QTreeWidget*>(QStringLiteral("slots"));
  EXPECT_EQ(otherList->topLevelItem(76)->text(1).toStdString(), "동생");
  EXPECT_EQ(other.findChild<QComboBox*>(QStringLiteral("group"))->count(), 20);
  EXPECT_TRUE(other.findChild<QPushButton*>(QStringLiteral("write"))->isEnabled());
}

TEST_F(PhonebookWindowFileTest, CancelledDialogsDoNothing) {
  QTest::mouseClick(Push("load"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_FALSE(Push("save")->isEnabled());
}

TEST_F(PhonebookWindowFileTest, FailedLoadKeepsTheRows) {
  Phonebook book;
  PutEntry(book, 5, 0x01, "엄마", "0111234567");
  window.TakePhonebook(book);
  const Phonebook before = window.Book();

  // A file whose flag block announces three entries but holds two and a half.
  std::vector<std::uint8_t> cut(64, 0);
  const std::string header = "Norvane Directory File RX-210/310 QTL REV 0.1";
  std::copy(header.begin(), header.end(), cut.begin());
  cut.resize(1104 + 2 * 222 + 100, 0);
  cut[604 + 10] = 0x01;
  cut[604 + 11] = 0x01;
  cut[604 + 12] = 0x01;
  const std::string cutPath = PathOf("cut.ndf");
  WriteBytes(cutPath, cut);
  // The right text in lower case.
  std::vector<std::uint8_t> lower(1104, 0);
  const std::string lowerHeader = "norvane directory file rx-210/310 qtl rev 0.1";
  std::copy(lowerHeader.begin(), lowerHeader.end(), lower.begin());
  const std::string lowerPath = PathOf("lower.ndf");
  WriteBytes(lowerPath, lower);

  for (const std::string& path : {cutPath, lowerPath, PathOf("missing.ndf")}) {
    prompts.SetNextFileName(path);
    QTest::mouseClick(Push("load"), Qt::LeftButton);
    EXPECT_THAT(Row(4), ElementsAre("005", "엄마", "0111234567", "", "", "", "")) << path;
    EXPECT_TRUE(window.Book() == before) << path;
  }
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("파일 형식이 잘못되었습니다.", "파일 형식이 잘못되었습니다."));
}

TEST_F(PhonebookWindowFileTest, SaveThatCannotBeWrittenSaysSo) {
  window.TakePhonebook(Phonebook{});
  prompts.SetNextFileName(PathOf("no-such-folder/book.ndf"));
  QTest::mouseClick(Push("save"), Qt::LeftButton);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0].rfind("파일 쓰기도중 오류가 발생하였습니다.\n", 0), 0u);
}

// ---- Texts fit their controls ----

TEST_F(PhonebookWindowTest, EveryTextFitsItsControl) {
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (qobject_cast<QCheckBox*>(button) != nullptr) {
      EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    } else {
      QString text = button->text();
      text.remove('&');
      EXPECT_LE(button->fontMetrics().horizontalAdvance(text) + 12, button->width())
          << text.toStdString();
    }
    EXPECT_LE(button->fontMetrics().height() + 4, button->height());
  }
  for (QLabel* label : window.findChildren<QLabel*>()) {
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
  }
  for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
    EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width());
  }
  QHeaderView* header = List()->header();
  for (int c = 0; c < 7; ++c) {
    EXPECT_LE(header->fontMetrics().horizontalAdvance(List()->headerItem()->text(c)) + 8,
              header->sectionSize(c));
  }
}

// ---- Closing with unsaved edits ----

constexpr const char* kUnsavedQuestion =
    "저장하지 않은 변경 내용이 있습니다.\n창을 닫으면 변경 내용이 사라집니다. 닫으시겠습니까?";

TEST_F(PhonebookWindowFileTest, ClosingWithUnsavedEditsAsksFirstAndNoKeepsTheWindow) {
  Phonebook book;
  PutEntry(book, 1, 0x01, "엄마", "0111234567");
  window.TakePhonebook(book);
  prompts.SetNextAnswer(true);  // delete the entry: an edit not yet saved
  window.ActivateRow(0);
  window.DeleteEntry();
  prompts.prompts.clear();

  QTest::keyClick(&window, Qt::Key_Escape);
  window.close();  // the close box
  ASSERT_EQ(prompts.prompts.size(), 2u);
  for (const auto& prompt : prompts.prompts) {
    EXPECT_EQ(prompt.kind, "YesNo");
    EXPECT_EQ(prompt.text, kUnsavedQuestion);
    EXPECT_EQ(prompt.caption, "Linkora");
  }
  EXPECT_TRUE(window.isVisible());

  // Saved to a file: no question any more.
  prompts.SetNextFileName(PathOf("book.ndf"));
  QTest::mouseClick(Push("save"), Qt::LeftButton);
  prompts.prompts.clear();
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(PhonebookWindowTest, ClosingWithoutEditsOrAfterYesAsksAtMostOnce) {
  // Nothing changed since the window opened.
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(prompts.prompts.empty());

  // An applied entry, then Yes to the question.
  window.show();
  prompts.SetNextAnswer(true);  // add an entry in slot 3
  window.ActivateRow(2);
  TypeText(Edit("name"), QStringLiteral("이모"));
  TypeText(Edit("mobile"), QStringLiteral("0111"));
  window.ApplyEntry();
  EXPECT_EQ(window.Book().Flags().Flags(3), 0x01);
  prompts.prompts.clear();
  prompts.SetNextAnswer(true);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(prompts.prompts.size(), 1u);
  EXPECT_EQ(prompts.prompts[0].text, kUnsavedQuestion);
}

}  // namespace
}  // namespace linkora::test
