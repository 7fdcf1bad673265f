#include "messages/MessageBook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/Cp949.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;

std::string Cp949(const std::string& utf8) {
  const auto bytes = cp949::FromUtf8(utf8);
  return {bytes->begin(), bytes->end()};
}

std::string Utf8(const std::string& cp949) {
  return cp949::ToUtf8(
      std::span(reinterpret_cast<const std::uint8_t*>(cp949.data()), cp949.size()));
}

struct WrapCase {
  const char* name;
  std::string text;
  std::string wrapped;
};

TEST(WrapMessageTextTest, ExtendedSyllablesKeepTheirTrailByteBelow0x80) {
  const WrapCase cases[] = {
      {"81 41", "\x81\x41", "\x81\x41"},
      {"lead with a lower-case trail",
       "ab\xB0"
       "c",
       "ab\xB0"
       "c"},
      {"both ends of the trail ranges", "\x81\x5A\x81\x61\xC6\x7A\xC6\xFE",
       "\x81\x5A\x81\x61\xC6\x7A\xC6\xFE"},
      {"0x5B to 0x60 are no trail bytes", "\x81\x5B\x81\x60", "\x5B\x60"},
      {"a letter trail is not a column of its own", "abcdefghijklmno\x81\x41",
       "abcdefghijklmno\r\n\x81\x41"},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WrapMessageText(c.text), c.wrapped);
  }
  // Shown as the syllable it is.
  EXPECT_EQ(Utf8(WrapMessageText("\x81\x41")), "갂");
}

TEST(WrapMessageTextTest, LinesOfSixteenColumnsWithTwoByteCharactersKeptWhole) {
  const std::string han = Cp949("한");  // two bytes in CP949
  std::string eightHan;
  for (int i = 0; i < 8; ++i) {
    eightHan += han;
  }
  const WrapCase cases[] = {
      {"20 letters", "abcdefghijklmnopqrst", "abcdefghijklmnop\r\nqrst"},
      {"16 letters fill one line", "abcdefghijklmnop", "abcdefghijklmnop"},
      {"15 letters and a syllable", "abcdefghijklmno" + han, "abcdefghijklmno\r\n" + han},
      {"14 letters and a syllable", "abcdefghijklmn" + han, "abcdefghijklmn" + han},
      {"eight syllables fill exactly one line", eightHan, eightHan},
      {"nine syllables", eightHan + han, eightHan + "\r\n" + han},
      {"a letter after eight syllables", eightHan + "z", eightHan + "\r\nz"},
      {"lone lead byte before a digit dropped",
       std::string("ab\xB0"
                   "1"),
       "ab1"},
      {"lone lead byte before a space dropped", std::string("ab\xB0 c"), "ab c"},
      {"lone lead byte at the end", std::string("ab\xB0"), "ab"},
      {"lead byte before a line break dropped", std::string("a\xB0\nb"), "a\r\nb"},
      {"0x80 starts no character", std::string("a\x80\xB0\xA1"), "a\xB0\xA1"},
      {"0xFF is no trail byte", std::string("a\xB0\xFF"), "a"},
      {"LF", "ab\ncd", "ab\r\ncd"},
      {"CR", "ab\rcd", "ab\r\ncd"},
      {"CR LF is one break", "ab\r\ncd", "ab\r\ncd"},
      {"LF CR is two breaks", "ab\n\rcd", "ab\r\n\r\ncd"},
      {"break resets the column", "abcdefghijklmn\nopqrstuvwxyzABCDEFG",
       "abcdefghijklmn\r\nopqrstuvwxyzABCD\r\nEFG"},
      {"empty", "", ""},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WrapMessageText(c.text), c.wrapped);
  }
}

ReceivedMessage Received(const std::string& time, const std::string& text,
                         const std::string& number, std::uint32_t key) {
  return {Cp949(time), Cp949(text), number, key};
}

SentMessage Sent(const std::string& time, const std::string& text, const std::string& number,
                 std::uint32_t key) {
  return {Cp949(time), Cp949(text), number, key};
}

TEST(MessageBookTest, ListLinesAreNumberedAndShowLineBreaksAsSpaces) {
  MessageBook book;
  book.AddReceived(Received("", "첫째\r\n줄", "", 0));
  book.AddReceived(Received("", "two", "", 0));
  book.AddSent(Sent("", "", "114", 0));
  book.AddSent(Sent("", "hello\nthere", "0161234567", 0));
  std::vector<std::string> received;
  for (const std::string& line : book.ReceivedLines()) {
    received.push_back(Utf8(line));
  }
  EXPECT_THAT(received, ElementsAre("01:첫째  줄", "02:two"));
  EXPECT_THAT(book.SentLines(), ElementsAre("01:114", "02:hello there"));
  // The stored text keeps its line breaks.
  EXPECT_EQ(Utf8(book.Received(0).text), "첫째\r\n줄");
  EXPECT_EQ(book.Selection(), -1);
  EXPECT_EQ(book.ShownText(), "");
}

TEST(MessageBookTest, TablesKeepTwentyFourReceivedAndTwentySentMessages) {
  MessageBook book;
  for (int i = 0; i < 30; ++i) {
    book.AddReceived(Received("", "r", "", 0));
    book.AddSent(Sent("", "s", "", 0));
  }
  EXPECT_EQ(book.ReceivedCount(), 24);
  EXPECT_EQ(book.SentCount(), 20);
  EXPECT_EQ(book.ReceivedLines().size(), 24U);
  EXPECT_EQ(book.SentLines().back(), "20:s");
}

TEST(MessageBookTest, ShowingAReceivedMessageBuildsItsHeaderAndWrapsItsText) {
  MessageBook book;
  book.AddReceived(
      Received("3월 5일 오후 2시 7분", "abcdefghijklmnopqrst", "0171234567", 0x0305'0E07));
  ASSERT_TRUE(book.ShowReceived(0));
  EXPECT_EQ(book.Selection(), 0);
  EXPECT_EQ(Utf8(book.ShownText()),
            "받은시간: 3월 5일 오후 2시 7분\r\n연락번호: 0171234567\r\n\r\n<<메시지 내용>>\r\n"
            "abcdefghijklmnop\r\nqrst");
  EXPECT_EQ(book.SuggestedFileName(), "RX03051407.txt");
}

TEST(MessageBookTest, ShowingASentMessageSelectsOneHundredTwentyEightPlusItsLine) {
  MessageBook book;
  book.AddSent(Sent("1월 1일 오전 12시 0분", "a", "111", 0));
  book.AddSent(Sent("12월 31일 오후 11시 59분", "see\nyou", "0161234567", 0x0C1F'173B));
  ASSERT_TRUE(book.ShowSent(1));
  EXPECT_EQ(book.Selection(), 129);
  EXPECT_EQ(Utf8(book.ShownText()),
            "보낸시간: 12월 31일 오후 11시 59분\r\n수신번호: 0161234567\r\n\r\n<<메시지 내용>>\r\n"
            "see\r\nyou");
  EXPECT_EQ(book.SuggestedFileName(), "TX12312359.txt");
}

TEST(MessageBookTest, SelectionChangesOnlyByShowingAndIsResetByClear) {
  MessageBook book;
  EXPECT_EQ(book.SuggestedFileName(), std::nullopt);
  book.AddReceived(Received("", "x", "", 0));  // no time stamp
  book.AddSent(Sent("", "y", "", 0x01010101));
  ASSERT_TRUE(book.ShowReceived(0));
  EXPECT_FALSE(book.ShowSent(5));  // no such line: nothing changes
  EXPECT_FALSE(book.ShowReceived(-1));
  EXPECT_EQ(book.Selection(), 0);
  EXPECT_EQ(book.SuggestedFileName(), "RX00000000.txt");
  book.Clear();
  EXPECT_EQ(book.Selection(), -1);
  EXPECT_EQ(book.ReceivedCount(), 0);
  EXPECT_TRUE(book.SentLines().empty());
  EXPECT_EQ(book.ShownText(), "");
}

struct NameCase {
  bool sent;
  std::uint32_t key;
  const char* name;
};

TEST(MessageExportFileNameTest, MonthDayHourMinuteFromTheTimeKey) {
  const NameCase cases[] = {
      {false, 0, "RX00000000.txt"},
      {false, 0x0C1F173B, "RX12312359.txt"},
      {true, 0x01020304, "TX01020304.txt"},
      {true, 0x99FFFFFF, "TX153255255255.txt"},  // out-of-range values are written whole
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageExportFileName(c.sent, c.key), c.name);
  }
}

class MessageExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          (std::string("message-export-test-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string ReadBack(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path dir;
};

TEST_F(MessageExportTest, WritesTheShownTextAsItsBytesAndNothingMore) {
  MessageBook book;
  book.AddReceived(Received("3월 5일 오후 2시 7분", "안녕", "114", 0x03050E07));
  ASSERT_TRUE(book.ShowReceived(0));
  const auto path = dir / *book.SuggestedFileName();
  {
    std::ofstream old(path);
    old << std::string(500, '#');  // an existing longer file is replaced whole
  }
  const MessageExportResult result = ExportMessageText(path, book.ShownText());
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.message, "");
  const std::string bytes = ReadBack(dir / "RX03051407.txt");
  EXPECT_EQ(bytes, book.ShownText());
  // CP949 bytes: 안 = BE C8, 녕 = B3 E7 at the end.
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\xBE\xC8\xB3\xE7");
  EXPECT_EQ(Utf8(bytes),
            "받은시간: 3월 5일 오후 2시 7분\r\n연락번호: 114\r\n\r\n<<메시지 내용>>\r\n안녕");
}

TEST_F(MessageExportTest, SavingWithoutAShownMessageWritesNothing) {
  MessageBook book;
  book.AddReceived(Received("", "x", "", 0));
  const MessageExportResult result = ExportSelectedMessage(book, dir / "RX00000000.txt");
  EXPECT_FALSE(result.saved);
  EXPECT_EQ(result.message, "선택된 메시지가 없습니다.");
  EXPECT_FALSE(std::filesystem::exists(dir / "RX00000000.txt"));
}

TEST_F(MessageExportTest, SavedMessageIsTheDoubleClickedOne) {
  MessageBook book;
  book.AddReceived(Received("", "received", "1", 0));
  book.AddSent(Sent("", "sent", "2", 0));
  ASSERT_TRUE(book.ShowReceived(0));  // a single click on a sent line changes nothing here
  const auto path = dir / *book.SuggestedFileName();
  EXPECT_EQ(path.filename(), "RX00000000.txt");
  ASSERT_TRUE(ExportSelectedMessage(book, path).saved);
  const std::string bytes = ReadBack(path);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "received");
}

TEST_F(MessageExportTest, FileThatCannotBeWrittenIsReported) {
  const MessageExportResult result = ExportMessageText(dir / "missing" / "TX01010101.txt", "x");
  EXPECT_FALSE(result.saved);
  EXPECT_EQ(result.message, "파일 쓰기도중 오류가 발생하였습니다.");
  EXPECT_NE(result.detail.find("TX01010101.txt"), std::string::npos);
}

}  // namespace
}  // namespace linkora
