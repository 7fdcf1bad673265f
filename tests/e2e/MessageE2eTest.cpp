// The text-message read and the text export, run by the core over the serial
// library against the emulated handset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "messages/MessageBook.h"
#include "messages/MessageSync.h"
#include "tests/e2e/E2eTest.h"

namespace linkora {
namespace {

using test::Bytes;
using test::Cp949;
using ::testing::IsEmpty;

class MessageE2eTest : public test::E2eTest {
 protected:
  static std::string Text(const std::string& cp949Bytes) {
    return cp949::ToUtf8(
        std::span(reinterpret_cast<const std::uint8_t*>(cp949Bytes.data()), cp949Bytes.size()));
  }
};

TEST_F(MessageE2eTest, ReadGivesTheSampleMessagesInListOrder) {
  Start();
  MessageBook book;
  ASSERT_EQ(RunMessageSync(Context(), host, settings, book), 1) << Shown();
  EXPECT_THAT(host.messages, IsEmpty());
  ASSERT_EQ(book.ReceivedCount(), 6);
  ASSERT_EQ(book.SentCount(), 3);

  // Unread messages first, the highest order number first.
  struct ReceivedCase {
    int index;
    const char* text;
    const char* callback;
    const char* time;
  };
  const ReceivedCase received[] = {
      {0, "생일 축하해! 좋은 하루 보내", "0161112222", ""},
      {1, "퇴근길에 우유 좀 사다 줘", "0189876543", "12월 4일 오후 6시 42분"},
      {2, "오늘 회의는 3시로 변경되었습니다.", "0161234567", "12월 3일 오전 9시 5분"},
  };
  for (const ReceivedCase& c : received) {
    SCOPED_TRACE(c.index);
    const ReceivedMessage& m = book.Received(c.index);
    EXPECT_EQ(Text(m.text), c.text);
    EXPECT_EQ(Text(m.callbackNumber), c.callback);
    EXPECT_EQ(Text(m.timeText), c.time);
  }
  // The last position of the sent list first.
  const SentMessage& sent = book.Sent(0);
  EXPECT_EQ(Text(sent.text), "고마워~");
  EXPECT_EQ(Text(sent.recipientNumber), "0161112222");
  EXPECT_EQ(Text(sent.timeText), "11월 30일 오후 11시 59분");
  EXPECT_EQ(Text(book.Sent(2).text), "네, 알겠습니다. 3시에 뵙겠습니다.");
}

TEST_F(MessageE2eTest, ExportOfAReceivedMessage) {
  Start();
  MessageBook book;
  ASSERT_EQ(RunMessageSync(Context(), host, settings, book), 1) << Shown();
  ASSERT_TRUE(book.ShowReceived(1));
  const auto name = book.SuggestedFileName();
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(*name, "RX12041842.txt");

  test::ScratchFolder folder;
  const auto file = folder.path / *name;
  const MessageExportResult result = ExportSelectedMessage(book, file);
  ASSERT_TRUE(result.saved) << result.detail;
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(ReadWholeFile(file, 4096, bytes, error)) << error;
  // The header, then the text in lines of 16 columns, all in CP949.
  EXPECT_EQ(bytes, Cp949("받은시간: 12월 4일 오후 6시 42분\r\n"
                         "연락번호: 0189876543\r\n"
                         "\r\n"
                         "<<메시지 내용>>\r\n"
                         "퇴근길에 우유 좀\r\n"
                         " 사다 줘"));
}

}  // namespace
}  // namespace linkora
