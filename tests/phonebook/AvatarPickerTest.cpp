#include "phonebook/AvatarPickerDialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include "link/SessionState.h"
#include "phonebook/AvatarArt.h"
#include "phonebook/PhonebookWindow.h"
#include "tests/phonebook/WindowTestSupport.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

// Whether `shown` holds `picture` with its top left at `at`, pixel for pixel.
bool ShowsAt(const QImage& shown, const QImage& picture, QPoint at) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if ((shown.pixel(at.x() + x, at.y() + y) & 0xFFFFFFu) != (picture.pixel(x, y) & 0xFFFFFFu)) {
        return false;
      }
    }
  }
  return true;
}

QPushButton* ButtonOf(QWidget* window, const char* name) {
  return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(AvatarPickerTest, EachListOffersItsPicturesLabelledFromOne) {
  struct ListCase {
    int listId;
    int count;
  };
  const ListCase lists[] = {{1104, 16}, {1105, 17}, {1106, 7}, {1107, 20},
                            {1108, 22}, {1109, 20}, {1110, 17}};
  AvatarPickerDialog picker(AvatarParts{});
  for (const ListCase& c : lists) {
    QListWidget* list = picker.List(c.listId);
    ASSERT_NE(list, nullptr) << c.listId;
    ASSERT_EQ(list->count(), c.count) << c.listId;  // list 1108: 22 items, 01 to 22
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(list->item(i)->text(), QStringLiteral("%1").arg(i + 1, 2, 10, QChar('0')));
      EXPECT_FALSE(list->item(i)->icon().isNull());
    }
    EXPECT_EQ(list->currentRow(), -1) << "no item is preselected";
    EXPECT_TRUE(list->selectedItems().isEmpty());
  }
}

TEST(AvatarPickerTest, ThirdItemOfList1104ChoosesThreeForPartOne) {
  AvatarPickerDialog picker(AvatarParts{});
  picker.show();
  DoubleClickItem(picker.List(1104), 2);
  EXPECT_EQ(picker.Part(1), 3);
  for (int part = 2; part <= 7; ++part) {
    EXPECT_EQ(picker.Part(part), 0) << part;
  }
}

TEST(AvatarPickerTest, LastChoiceInAListWins) {
  AvatarPickerDialog picker(AvatarParts{1, 1, 1, 1, 1, 1, 1});
  picker.show();
  DoubleClickItem(picker.List(1108), 20);
  DoubleClickItem(picker.List(1108), 6);
  DoubleClickItem(picker.List(1109), 19);
  EXPECT_EQ(picker.Part(6), 7);
  EXPECT_EQ(picker.Part(5), 20);
}

TEST(AvatarPickerTest, PreviewShowsTheComposedAvatarAtItsPlace) {
  const AvatarParts parts{3, 0, 2, 5, 4, 0, 1};
  AvatarPickerDialog picker(parts);
  const QImage shown = picker.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage expected = ComposeAvatar(parts).convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(ShowsAt(shown, expected, QPoint(347, 287)));
}

// ---- With the phonebook window ----

class AvatarPickerFromWindowTest : public ::testing::Test {
 protected:
  AvatarPickerFromWindowTest() {
    Phonebook book;
    book.Flags().SetFlags(6, 0x41);
    PhonebookEntry& entry = book.Entry(6);
    entry.SetSlot(6);
    entry.SetName(Cp949("송중기"));
    entry.SetNumber(NumberKind::Mobile, Cp949("0112223333"));
    entry.SetAvatarFlag(1);
    entry.SetAvatarPartValues(AvatarParts{1, 2, 3, 4, 5, 6, 7});
    window.TakePhonebook(book);
    window.show();
    DoubleClickRow(window.findChild<QTreeWidget*>(QStringLiteral("slots")), 5);
  }

  std::array<std::uint8_t, 7> RecordAvatarBytes() const {
    std::array<std::uint8_t, 7> bytes{};
    const auto record = window.Book().Entry(6).Bytes();
    std::copy(record.begin() + 215, record.begin() + 222, bytes.begin());
    return bytes;
  }

  FakeHandsetLibrary library;
  SessionState state;
  ScriptedPromptService prompts;
  PhonebookWindow window{ConnectSettings{"COM1", 115200, "472913"},
                         LinkContext{library, library.sleep, state}, prompts};
};

TEST_F(AvatarPickerFromWindowTest, PickerOpensWithTheEntrysValues) {
  AvatarParts seen{};
  WhenModalOpens([&seen](QWidget* modal) {
    auto* picker = dynamic_cast<AvatarPickerDialog*>(modal);
    ASSERT_NE(picker, nullptr);
    seen = picker->Parts();
    QTest::mouseClick(ButtonOf(picker, "cancel"), Qt::LeftButton);
  });
  QTest::mouseClick(ButtonOf(&window, "avatarEdit"), Qt::LeftButton);
  EXPECT_EQ(seen, (AvatarParts{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(AvatarPickerFromWindowTest, ThirdItemOfList1104IsStoredInRecordByte220) {
  WhenModalOpens([](QWidget* modal) {
    auto* picker = dynamic_cast<AvatarPickerDialog*>(modal);
    ASSERT_NE(picker, nullptr);
    DoubleClickItem(picker->List(1104), 2);
    QTest::mouseClick(ButtonOf(picker, "ok"), Qt::LeftButton);
  });
  QTest::mouseClick(ButtonOf(&window, "avatarEdit"), Qt::LeftButton);
  // Bytes 215..221 hold parts 3, 4, 5, 6, 2, 1 and 7.
  EXPECT_EQ(RecordAvatarBytes(), (std::array<std::uint8_t, 7>{3, 4, 5, 6, 2, 3, 7}));
  EXPECT_EQ(window.Book().Flags().Flags(6), 0x41);
}

TEST_F(AvatarPickerFromWindowTest, CancelChangesNothing) {
  const Phonebook before = window.Book();
  WhenModalOpens([](QWidget* modal) {
    auto* picker = dynamic_cast<AvatarPickerDialog*>(modal);
    ASSERT_NE(picker, nullptr);
    DoubleClickItem(picker->List(1104), 9);
    DoubleClickItem(picker->List(1110), 0);
    DoubleClickItem(picker->List(1107), 12);
    QTest::mouseClick(ButtonOf(picker, "cancel"), Qt::LeftButton);
  });
  QTest::mouseClick(ButtonOf(&window, "avatarEdit"), Qt::LeftButton);
  EXPECT_TRUE(window.Book() == before);
  EXPECT_EQ(RecordAvatarBytes(), (std::array<std::uint8_t, 7>{3, 4, 5, 6, 2, 1, 7}));
}

TEST_F(AvatarPickerFromWindowTest, PreviewIsDrawnOnlyWhileAvatarUseIsTicked) {
  const QImage expected =
      ComposeAvatar(AvatarParts{1, 2, 3, 4, 5, 6, 7}).convertToFormat(QImage::Format_RGB32);
  QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(ShowsAt(shown, expected, QPoint(637, 357)));
  auto* box = window.findChild<QCheckBox*>(QStringLiteral("avatarUse"));
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  ASSERT_FALSE(box->isChecked());
  shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_FALSE(ShowsAt(shown, expected, QPoint(637, 357)));
  EXPECT_FALSE(ButtonOf(&window, "avatarEdit")->isEnabled());
}

TEST(AvatarPickerLayoutTest, EveryTextFitsItsControl) {
  AvatarPickerDialog picker(AvatarParts{});
  for (QPushButton* button : picker.findChildren<QPushButton*>()) {
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 12, button->width());
  }
  auto* frame = picker.findChild<QGroupBox*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title().toStdString(), "이미지 선택 (원하는 이미지를 더블클릭 하세요)");
  EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width());
  EXPECT_EQ(picker.windowTitle().toStdString(), "아바타 선택");
}

}  // namespace
}  // namespace linkora::test
