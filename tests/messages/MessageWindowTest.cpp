#include "messages/MessageWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "common/ByteRecord.h"
#include "common/Cp949.h"
#include "link/SessionState.h"
#include "messages/MessageSyncDialog.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/support/WindowPictures.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Cp949(std::string_view utf8) {
  const auto bytes = cp949::FromUtf8(utf8).value();
  return {bytes.begin(), bytes.end()};
}

// A received message on the handset: its text (CP949), callback number and
// time stamp (month, day, hour, minute), each present or not.
struct Received {
  int state = 1;
  int order = 0;
  std::string text;
  std::string callback;
  std::optional<std::array<int, 4>> time;
};

// A sent message: its text (CP949), recipient and time.
struct Sent {
  std::string text;
  std::string recipient;
  std::array<int, 4> time{1, 1, 0, 0};
};

std::uint8_t Bcd(int value) {
  return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

class MessageWindowTest : public ::testing::Test {
 protected:
  MessageWindowTest() {
    fake.handsetPort = "COM4";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    fake.On("XrsNvReadSmsList_rx310", [this](test::FakeCall& call) {
      for (const auto& [slot, m] : received) {
        call.buffer[20 + 4 * slot] = static_cast<std::uint8_t>(m.state);
        WriteU16(call.buffer, 20 + 4 * slot + 1, static_cast<std::uint16_t>(m.order));
      }
      return 532;
    });
    fake.On("XrsNvReadSmsMoList_rx310", [this](test::FakeCall& call) {
      call.buffer[40] = static_cast<std::uint8_t>(sent.size());
      int position = 0;
      for (const auto& [slot, m] : sent) {
        call.buffer[41 + position++] = static_cast<std::uint8_t>(slot);
      }
      return 295;
    });
    // Teleservice 0x1002 with an 8-byte header: user data from packed offset 8.
    fake.On("XrsNvReadSmsRx_rx310", [this](test::FakeCall& call) {
      const Received& m = received.at(ReadU16(call.buffer, 0));
      std::uint32_t mask = 0x800;
      std::size_t at = 28;
      WriteU16(call.buffer, 20, 0x1002);
      WriteU16(call.buffer, 3, static_cast<std::uint16_t>(m.text.size()));
      std::copy(m.text.begin(), m.text.end(), call.buffer.begin() + static_cast<long>(at));
      at += m.text.size();
      if (!m.callback.empty()) {
        mask |= 0x40000;
        call.buffer[5] = static_cast<std::uint8_t>(m.callback.size());
        std::copy(m.callback.begin(), m.callback.end(),
                  call.buffer.begin() + static_cast<long>(at + 4));
        at += 4 + m.callback.size();
      }
      if (m.time) {
        mask |= 0x80000;
        call.buffer[at] = Bcd(26);
        for (std::size_t i = 0; i < 4; ++i) {
          call.buffer[at + 1 + i] = Bcd((*m.time)[i]);
        }
      }
      WriteU32(call.buffer, 6, mask);
      return 532;
    });
    fake.On("XrsNvReadSmsTx_rx310", [this](test::FakeCall& call) {
      const Sent& m = sent.at((call.buffer[0] + 128) % 256);
      call.buffer[5] = static_cast<std::uint8_t>(m.time[0]);
      call.buffer[4] = static_cast<std::uint8_t>(m.time[1]);
      call.buffer[3] = static_cast<std::uint8_t>(m.time[2]);
      call.buffer[2] = static_cast<std::uint8_t>(m.time[3]);
      call.buffer[6] = static_cast<std::uint8_t>(m.recipient.size());
      std::copy(m.recipient.begin(), m.recipient.end(), call.buffer.begin() + 7);
      call.buffer[39] = static_cast<std::uint8_t>(m.text.size());
      std::copy(m.text.begin(), m.text.end(), call.buffer.begin() + 40);
      return 1;
    });
    window =
        std::make_unique<MessageWindow>(settings, LinkContext{fake, fake.sleep, state}, prompts);
    window->show();
  }

  QPushButton* Button(const char* name) const {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QListWidget* List(const char* name) const {
    return window->findChild<QListWidget*>(QString::fromLatin1(name));
  }
  std::string Shown() const {
    return window->findChild<QPlainTextEdit*>(QStringLiteral("text"))->toPlainText().toStdString();
  }
  static std::vector<std::string> Lines(const QListWidget* list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list->count(); ++i) {
      lines.push_back(list->item(i)->text().toStdString());
    }
    return lines;
  }
  static void DoubleClick(QListWidget* list, int line) {
    // The view reacts to a double click on the line its first click pressed.
    const QPoint at = list->visualItemRect(list->item(line)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  static void Click(QListWidget* list, int line) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(line)).center());
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::ScriptedPromptService prompts;
  ConnectSettings settings{"COM4", 115200, "472913"};
  std::map<int, Received> received;  // by slot
  std::map<int, Sent> sent;          // by slot byte; listed in this order
  test::TempFolder folder;
  std::unique_ptr<MessageWindow> window;
};

TEST_F(MessageWindowTest, OpensWithSavingOffAndEveryTextInFull) {
  EXPECT_EQ(window->windowTitle().toStdString(), "Linkora 문자메시지 관리");
  EXPECT_TRUE(Button("load")->isEnabled());
  EXPECT_FALSE(Button("save")->isEnabled());
  EXPECT_EQ(Button("load")->text().toStdString(), "(&O)메시지 목록 불러오기");
  EXPECT_EQ(Button("save")->text().toStdString(), "(&S)파일에 저장하기");
  std::vector<std::string> labels;
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    labels.push_back(label->text().toStdString());
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
  }
  EXPECT_THAT(labels, ::testing::UnorderedElementsAre("받은 메시지 목록", "보낸 메시지 목록"));
  for (const QPushButton* button : window->findChildren<QPushButton*>()) {
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
  }
  // The two groups side by side, the lists and the text box inside them.
  const QRect receivedList = List("received")->geometry();
  const QRect sentList = List("sent")->geometry();
  const QRect text = window->findChild<QPlainTextEdit*>()->geometry();
  EXPECT_LT(receivedList.bottom(), sentList.top());
  EXPECT_EQ(receivedList.left(), sentList.left());
  EXPECT_EQ(receivedList.size(), sentList.size());
  EXPECT_EQ(text.top(), receivedList.top());
  EXPECT_LT(receivedList.right(), text.left());
  EXPECT_LE(text.right(), window->width());
}

TEST_F(MessageWindowTest, LoadListsReceivedThenSentMessagesInReadingOrder) {
  received[3] = {1, 0, "first", "", std::nullopt};
  received[9] = {1, 5, Cp949("안녕\r\n하세요"), "", std::nullopt};
  sent[7] = {"", "114", {}};
  sent[2] = {Cp949("보냄"), "0191234567", {}};
  Button("load")->click();
  // State 1 by descending order number; sent from the last list position.
  EXPECT_THAT(Lines(List("received")), ElementsAre("01:안녕  하세요", "02:first"));
  EXPECT_THAT(Lines(List("sent")), ElementsAre("01:114", "02:보냄"));
  EXPECT_TRUE(List("received")->selectedItems().isEmpty());
  EXPECT_FALSE(Button("save")->isEnabled());
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(window->DiagPortName(), "COM4");
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(MessageWindowTest, FailedLoadKeepsTheMessagesReadBeforeTheFailure) {
  received[1] = {1, 2, "kept", "", std::nullopt};
  received[2] = {1, 1, "lost", "", std::nullopt};
  fake.FailCall("XrsNvReadSmsRx_rx310", 2, 2);
  Button("load")->click();
  EXPECT_THAT(
      prompts.Messages(),
      ElementsAre("받은메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (002)"));
  EXPECT_THAT(Lines(List("received")), ElementsAre("01:kept"));
}

TEST_F(MessageWindowTest, DoubleClickShowsTheMessageWithItsHeaderAndWrappedText) {
  struct Case {
    std::string text;
    std::string shownText;
  };
  const std::vector<Case> cases = {
      {"abcdefghijklmnopqrst", "abcdefghijklmnop\nqrst"},
      {"abcdefghijklmno" + Cp949("가"), "abcdefghijklmno\n가"},
      {Cp949("가나다라마바사아"), "가나다라마바사아"},
      {std::string("ab\xB0") + "1", "ab1"},
      {std::string("ab\x81\x41"), "ab갂"},
      {Cp949("줄\r\n바꿈"), "줄\n바꿈"},
  };
  for (const Case& c : cases) {
    received.clear();
    received[0] = {1, 0, c.text, "0161234567", std::array<int, 4>{3, 5, 14, 7}};
    Button("load")->click();
    DoubleClick(List("received"), 0);
    EXPECT_EQ(Shown(), "받은시간: 3월 5일 오후 2시 7분\n연락번호: 0161234567\n\n<<메시지 내용>>\n" +
                           c.shownText);
    EXPECT_TRUE(Button("save")->isEnabled());
  }
}

TEST_F(MessageWindowTest, SentMessageShowsItsRecipientAndClearsTheOtherListsHighlight) {
  received[0] = {1, 0, "in", "", std::nullopt};
  sent[5] = {"out", "0112223333", {12, 25, 0, 30}};
  Button("load")->click();
  Click(List("received"), 0);
  DoubleClick(List("sent"), 0);
  EXPECT_EQ(Shown(),
            "보낸시간: 12월 25일 오전 12시 30분\n수신번호: 0112223333\n\n<<메시지 내용>>\nout");
  EXPECT_TRUE(List("received")->selectedItems().isEmpty());
  EXPECT_EQ(window->Book().Selection(), 128);
}

TEST_F(MessageWindowTest, SaveWritesTheShownTextUnderTheSuggestedName) {
  received[0] = {1, 0, Cp949("안녕하세요"), "0161234567", std::array<int, 4>{3, 5, 14, 7}};
  sent[1] = {"out", "114", {1, 2, 3, 4}};
  Button("load")->click();
  DoubleClick(List("received"), 0);
  Click(List("sent"), 0);  // a single click selects nothing for saving
  const auto path = folder.path / "RX03051407.txt";
  prompts.SetNextFileName(path.string());
  Button("save")->click();
  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.prompts.back().kind, "Save");
  EXPECT_EQ(prompts.requests[0].fileName, "RX03051407.txt");
  EXPECT_EQ(prompts.requests[0].filter, "Txt Files (*.txt)");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "txt");
  const auto bytes = test::TempFolder::Read(path);
  EXPECT_EQ(
      std::string(bytes.begin(), bytes.end()),
      Cp949("받은시간: 3월 5일 오후 2시 7분\r\n연락번호: 0161234567\r\n\r\n<<메시지 내용>>\r\n"
            "안녕하세요"));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(MessageWindowTest, SuggestedNamesFollowTheMessageTime) {
  received[0] = {1, 0, "no time", "", std::nullopt};
  sent[0] = {"late", "1", {12, 31, 23, 59}};
  Button("load")->click();
  DoubleClick(List("received"), 0);
  Button("save")->click();  // Cancel
  DoubleClick(List("sent"), 0);
  Button("save")->click();
  ASSERT_EQ(prompts.requests.size(), 2u);
  EXPECT_EQ(prompts.requests[0].fileName, "RX00000000.txt");
  EXPECT_EQ(prompts.requests[1].fileName, "TX12312359.txt");
}

TEST_F(MessageWindowTest, SaveThatCannotCreateTheFileSaysSo) {
  received[0] = {1, 0, "x", "", std::nullopt};
  Button("load")->click();
  DoubleClick(List("received"), 0);
  prompts.SetNextFileName((folder.path / "missing" / "x.txt").string());
  Button("save")->click();
  EXPECT_THAT(prompts.Messages(), ElementsAre("파일 쓰기도중 오류가 발생하였습니다."));
}

TEST_F(MessageWindowTest, NewLoadForgetsTheShownMessage) {
  received[0] = {1, 0, "x", "", std::nullopt};
  Button("load")->click();
  DoubleClick(List("received"), 0);
  Button("load")->click();
  EXPECT_EQ(Shown(), "");
  EXPECT_FALSE(Button("save")->isEnabled());
  EXPECT_EQ(window->Book().Selection(), -1);
  EXPECT_THAT(Lines(List("received")), ElementsAre("01:x"));
}

TEST_F(MessageWindowTest, ProgressWindowTakesTheReadTitleWhenFirstShown) {
  MessageSyncDialog progress(LinkContext{fake, fake.sleep, state}, settings, *window, prompts,
                             window.get());
  EXPECT_EQ(progress.windowTitle().toStdString(), "문자메시지 싱크 진행상황");
  progress.show();
  // The title comes with the show; the read only starts from the posted message.
  EXPECT_EQ(progress.windowTitle().toStdString(), "문자메시지 내려받기중..");
  EXPECT_TRUE(fake.log.empty());
  progress.hide();
}

TEST_F(MessageWindowTest, ClosingBeforeAnyLoadTouchesNoPort) {
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_TRUE(window->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(fake.log.empty());
}

TEST_F(MessageWindowTest, ClosingAfterALoadSendsTheModeReturn) {
  Button("load")->click();
  fake.log.clear();
  window->reject();
  EXPECT_THAT(fake.CallsOf("DiagOpenPort"), ElementsAre("DiagOpenPort(COM4, 115200)"));
  EXPECT_THAT(fake.CallsOf("XrsSendFrame"), ElementsAre("XrsSendFrame(44)"));
}

TEST_F(MessageWindowTest, ContextMenuAndShortcutsSaveEveryMessageAsTextOrCsv) {
  for (const char* list : {"received", "sent"}) {
    std::vector<std::string> texts;
    for (const QAction* action : List(list)->actions()) {
      texts.push_back(action->text().toStdString());
      EXPECT_FALSE(action->isEnabled()) << "nothing to save before a load";
    }
    EXPECT_THAT(texts,
                ElementsAre("모든 메시지를 텍스트로 저장...", "모든 메시지를 CSV로 저장..."));
    EXPECT_EQ(List(list)->contextMenuPolicy(), Qt::ActionsContextMenu);
  }
  received[0] = {1, 0, Cp949("안녕, \"친구\""), "0161234567", std::array<int, 4>{3, 5, 14, 7}};
  sent[1] = {"", "114", {1, 2, 3, 4}};
  Button("load")->click();
  const auto text = folder.path / "all.txt";
  const auto csv = folder.path / "all.csv";
  window->activateWindow();  // shortcuts work in the active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  prompts.SetNextFileName(text.string());
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  prompts.SetNextFileName(csv.string());
  QTest::keyClick(List("sent"), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(prompts.requests.size(), 2u);
  EXPECT_EQ(prompts.prompts[0].text, "모든 메시지를 텍스트로 저장");
  EXPECT_EQ(prompts.requests[0].filter, "텍스트 파일 (*.txt)");
  EXPECT_EQ(prompts.requests[0].fileName, "messages.txt");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "txt");
  EXPECT_EQ(prompts.prompts[1].text, "모든 메시지를 CSV로 저장");
  EXPECT_EQ(prompts.requests[1].filter, "CSV 파일 (*.csv)");
  EXPECT_EQ(prompts.requests[1].fileName, "messages.csv");
  const auto textBytes = test::TempFolder::Read(text);
  EXPECT_EQ(std::string(textBytes.begin(), textBytes.end()),
            "받은 메시지 1개, 보낸 메시지 1개\n"
            "\n==== 받은 메시지 1 ====\n받은시간: 3월 5일 오후 2시 7분\n연락번호: 0161234567\n"
            "\n안녕, \"친구\"\n"
            "\n==== 보낸 메시지 1 ====\n보낸시간: 1월 2일 오전 3시 4분\n수신번호: 114\n\n\n");
  const auto csvBytes = test::TempFolder::Read(csv);
  EXPECT_EQ(std::string(csvBytes.begin(), csvBytes.end()),
            "\xEF\xBB\xBF메시지함,시간,번호,내용\r\n"
            "받은 메시지,3월 5일 오후 2시 7분,0161234567,\"안녕, \"\"친구\"\"\"\r\n"
            "보낸 메시지,1월 2일 오전 3시 4분,114,\r\n");
  EXPECT_THAT(prompts.Messages(), IsEmpty());

  prompts.SetNextFileName((folder.path / "missing" / "all.txt").string());
  List("received")->actions()[0]->trigger();
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0].rfind("파일 쓰기도중 오류가 발생하였습니다.\n", 0), 0u);
}

TEST_F(MessageWindowTest, EverySentMessageIsSavedBeyondTheListsTwenty) {
  for (int slot = 0; slot < 25; ++slot) {
    sent[slot] = {"m" + std::to_string(slot), "1", {1, 1, 0, 0}};
  }
  Button("load")->click();
  EXPECT_EQ(List("sent")->count(), 20);
  const auto csv = folder.path / "all.csv";
  prompts.SetNextFileName(csv.string());
  List("sent")->actions()[1]->trigger();
  const auto bytes = test::TempFolder::Read(csv);
  const std::string rows(bytes.begin(), bytes.end());
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 26) << rows;
}

TEST_F(MessageWindowTest, Pictures) {
  const auto out = test::ScreenshotFolder();
  if (!out) {
    GTEST_SKIP() << "LINKORA_SCREENSHOT_DIR not set";
  }
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("messages-empty.png")));
  received[4] = {1, 3, Cp949("오늘 저녁 7시에 강남역에서 만나요. 늦지 마세요!"), "0161234567",
                 std::array<int, 4>{3, 5, 14, 7}};
  received[6] = {1, 2, Cp949("택배가 도착했습니다"), "0215882588", std::array<int, 4>{3, 6, 9, 41}};
  received[8] = {2, 1, "Meeting moved to 3pm\r\nRoom 402", "0117654321",
                 std::array<int, 4>{3, 7, 11, 0}};
  sent[3] = {Cp949("네, 알겠습니다"), "0161234567", {3, 5, 14, 9}};
  sent[5] = {"", "114", {3, 6, 10, 15}};
  Button("load")->click();
  DoubleClick(List("received"), 0);
  EXPECT_TRUE(test::SaveWindowPicture(*window, *out, QStringLiteral("messages-shown.png")));

  // The received list's context menu, drawn where a right click would open it.
  QMenu menu;
  menu.addActions(List("received")->actions());
  menu.ensurePolished();
  menu.adjustSize();
  QImage picture = FramedWindowPicture(*window);
  const QPoint click = List("received")->mapTo(window.get(), QPoint(60, 30));
  QPainter painter(&picture);
  painter.drawPixmap(click + QPoint(0, picture.height() - window->height()), menu.grab());
  painter.end();
  EXPECT_TRUE(picture.save(*out + QStringLiteral("/messages-save-all-menu.png"), "PNG"));
}

}  // namespace
}  // namespace linkora
