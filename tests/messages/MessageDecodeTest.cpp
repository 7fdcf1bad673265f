#include "messages/MessageDecode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/Cp949.h"

namespace linkora {
namespace {

std::string Utf8(const std::string& cp949) {
  return cp949::ToUtf8(
      std::span(reinterpret_cast<const std::uint8_t*>(cp949.data()), cp949.size()));
}

// Builds a received record by hand: user-data length at 3..4, callback length
// at 5, mask at 6..9, packed area from 20 (teleservice 0..1, selector 5).
class RxBuilder {
 public:
  RxBuilder(std::uint16_t teleservice, std::uint8_t selector, std::uint32_t mask) {
    bytes_[6] = static_cast<std::uint8_t>(mask);
    bytes_[7] = static_cast<std::uint8_t>(mask >> 8);
    bytes_[8] = static_cast<std::uint8_t>(mask >> 16);
    bytes_[9] = static_cast<std::uint8_t>(mask >> 24);
    bytes_[20] = static_cast<std::uint8_t>(teleservice);
    bytes_[21] = static_cast<std::uint8_t>(teleservice >> 8);
    bytes_[25] = selector;
  }
  RxBuilder& UserDataLength(std::uint16_t length) {
    bytes_[3] = static_cast<std::uint8_t>(length);
    bytes_[4] = static_cast<std::uint8_t>(length >> 8);
    return *this;
  }
  RxBuilder& CallbackLength(std::uint8_t length) {
    bytes_[5] = length;
    return *this;
  }
  // Puts bytes at an offset of the packed area.
  RxBuilder& At(std::size_t packedOffset, const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
      bytes_.at(20 + packedOffset + i) = data[i];
    }
    return *this;
  }
  RxBuilder& At(std::size_t packedOffset, const std::string& text) {
    return At(packedOffset, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  RxRecord Record() const {
    RxRecord r;
    std::copy(bytes_.begin(), bytes_.end(), r.Bytes().begin());
    return r;
  }

 private:
  std::vector<std::uint8_t> bytes_ = std::vector<std::uint8_t>(532, 0);
};

constexpr std::uint32_t kText = 0x800;
constexpr std::uint32_t kCallback = 0x40000;
constexpr std::uint32_t kTime = 0x80000;
constexpr std::uint32_t kTwo = 0x8000;
constexpr std::uint32_t kOne = 0x1000;
constexpr std::uint32_t kExtra = 0x20;

struct HeaderCase {
  const char* name;
  std::uint8_t selector;
  std::uint32_t extraBit;
  std::size_t userDataAt;
};

TEST(RxRecordDecodeTest, HeaderSizeFollowsTheSelectorAndTheExtraByte) {
  const HeaderCase cases[] = {
      {"selector 0", 0, 0, 8},
      {"selector 3", 3, 0, 8},
      {"selector 4", 4, 0, 12},
      {"selector 5", 5, 0, 12},
      {"selector 6", 6, 0, 8},
      {"selector 0 + 0x20", 0, kExtra, 9},
      {"selector 4 + 0x20", 4, kExtra, 13},
      {"selector 5 + 0x20", 5, kExtra, 13},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RxRecord r = RxBuilder(0x1002, c.selector, kText | c.extraBit)
                           .UserDataLength(5)
                           .At(c.userDataAt, "Hello")
                           .Record();
    EXPECT_EQ(DecodeRxRecord(r).text, "Hello");
  }
}

struct TeleserviceCase {
  std::uint16_t teleservice;
  const char* text;
};

TEST(RxRecordDecodeTest, TextDependsOnTheTeleservice) {
  const TeleserviceCase cases[] = {
      {0x1001, "hi there"},
      {0x1002, "hi there"},
      {0x8004, "멀티미디어 메시지 입니다."},
      {0xB322, "Magicn 으로부터 도착한 메시지입니다."},
      {0x1234, "Teleservice = 0x1234"},
      {0x00AB, "Teleservice = 0x00ab"},
  };
  for (const TeleserviceCase& c : cases) {
    SCOPED_TRACE(c.text);
    // After the user data: callback (4 skipped bytes, then the number) and the time stamp.
    const RxRecord r = RxBuilder(c.teleservice, 0, kText | kCallback | kTime)
                           .UserDataLength(8)
                           .CallbackLength(3)
                           .At(8, "hi there")
                           .At(16 + 4, "114")
                           .At(16 + 4 + 3, std::vector<std::uint8_t>{0x03, 0x12, 0x25, 0x09, 0x41})
                           .Record();
    const ReceivedMessage m = DecodeRxRecord(r);
    EXPECT_EQ(Utf8(m.text), c.text);
    EXPECT_EQ(m.callbackNumber, "114");
    EXPECT_EQ(Utf8(m.timeText), "12월 25일 오전 9시 41분");
    EXPECT_EQ(m.timeKey, 0x0C190929u);
  }
}

TEST(RxRecordDecodeTest, WithoutUserDataTheTextIsEmptyAndTakesNoRoom) {
  const RxRecord r = RxBuilder(0x1234, 0, kCallback)
                         .UserDataLength(50)  // not present: ignored
                         .CallbackLength(4)
                         .At(8 + 4, "0171")
                         .Record();
  const ReceivedMessage m = DecodeRxRecord(r);
  EXPECT_EQ(m.text, "");
  EXPECT_EQ(m.callbackNumber, "0171");
  EXPECT_EQ(m.timeText, "");
  EXPECT_EQ(m.timeKey, 0u);
}

struct MaskCase {
  const char* name;
  std::uint32_t mask;
  std::size_t timeAt;
};

TEST(RxRecordDecodeTest, EachPresentFieldAdvancesByItsFullSize) {
  // Header 8, user data 6, callback 4 + 2.
  const MaskCase cases[] = {
      {"time only", kTime, 8},
      {"user data", kText | kTime, 14},
      {"callback", kCallback | kTime, 14},
      {"two spare", kTwo | kTime, 10},
      {"one spare", kOne | kTime, 9},
      {"everything", kText | kCallback | kTwo | kOne | kTime, 8 + 6 + 6 + 2 + 1},
      {"everything + extra header byte", kExtra | kText | kCallback | kTwo | kOne | kTime,
       9 + 6 + 6 + 2 + 1},
  };
  for (const MaskCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RxRecord r = RxBuilder(0x1002, 0, c.mask)
                           .UserDataLength(6)
                           .CallbackLength(2)
                           .At(c.timeAt, std::vector<std::uint8_t>{0x99, 0x07, 0x04, 0x13, 0x05})
                           .Record();
    const ReceivedMessage m = DecodeRxRecord(r);
    EXPECT_EQ(Utf8(m.timeText), "7월 4일 오후 1시 5분");
    EXPECT_EQ(m.timeKey, 0x07040D05u);  // hour 13 as a plain number
  }
}

struct TimeCase {
  int month, day, hour, minute;
  const char* text;
};

TEST(FormatMessageTimeTest, HalfDayWordAndTwelveHourClock) {
  const TimeCase cases[] = {
      {3, 5, 14, 7, "3월 5일 오후 2시 7분"},    {1, 1, 0, 0, "1월 1일 오전 12시 0분"},
      {1, 1, 11, 59, "1월 1일 오전 11시 59분"}, {12, 31, 12, 30, "12월 31일 오후 12시 30분"},
      {6, 9, 23, 5, "6월 9일 오후 11시 5분"},   {10, 10, 1, 1, "10월 10일 오전 1시 1분"},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatMessageTime(c.month, c.day, c.hour, c.minute), c.text);
  }
}

struct BcdCase {
  std::vector<std::uint8_t> stamp;
  const char* text;
  std::uint32_t key;
};

TEST(RxRecordDecodeTest, TimeStampDigitsAreBcd) {
  const BcdCase cases[] = {
      {{0x03, 0x01, 0x01, 0x00, 0x00}, "1월 1일 오전 12시 0분", 0x01010000},
      {{0x03, 0x11, 0x30, 0x12, 0x59}, "11월 30일 오후 12시 59분", 0x0B1E0C3B},
      {{0x03, 0x02, 0x28, 0x23, 0x10}, "2월 28일 오후 11시 10분", 0x021C170A},
  };
  for (const BcdCase& c : cases) {
    SCOPED_TRACE(c.text);
    const RxRecord r = RxBuilder(0x1002, 0, kTime).At(8, c.stamp).Record();
    const ReceivedMessage m = DecodeRxRecord(r);
    EXPECT_EQ(Utf8(m.timeText), c.text);
    EXPECT_EQ(m.timeKey, c.key);
  }
}

TEST(RxRecordDecodeTest, TextsEndAtTheirLengthOrTheirFirstZero) {
  const RxRecord r = RxBuilder(0x1001, 0, kText | kCallback)
                         .UserDataLength(10)
                         .CallbackLength(8)
                         .At(8, std::string("abc\0def!!", 9) + "?")
                         .At(18 + 4, "01234567890")
                         .Record();
  const ReceivedMessage m = DecodeRxRecord(r);
  EXPECT_EQ(m.text, "abc");
  EXPECT_EQ(m.callbackNumber, "01234567");
}

TEST(RxRecordDecodeTest, LengthsThatRunPastTheRecordStayInsideIt) {
  // The packed area is 512 bytes; the user data claims 600.
  RxBuilder builder(0x1001, 0, kText | kCallback | kTime);
  builder.UserDataLength(600).CallbackLength(10).At(8, std::string(504, 'x'));
  const ReceivedMessage m = DecodeRxRecord(builder.Record());
  EXPECT_EQ(m.text, std::string(504, 'x'));
  EXPECT_EQ(m.callbackNumber, "");
  EXPECT_EQ(m.timeText, "");
  EXPECT_EQ(m.timeKey, 0u);

  // A callback number cut by the end of the record, and no room for the time stamp.
  RxBuilder cut(0x1001, 0, kText | kCallback | kTime);
  cut.UserDataLength(496).CallbackLength(20).At(8 + 496 + 4, "0123");
  const ReceivedMessage n = DecodeRxRecord(cut.Record());
  EXPECT_EQ(n.callbackNumber, "0123");
  EXPECT_EQ(n.timeText, "");
}

// A sent record by hand: minute 2, hour 3, day 4, month 5, recipient length 6,
// recipient 7..38, text length 39, text 40...
TxRecord SentRecord(int month, int day, int hour, int minute, const std::string& recipient,
                    int recipientLength, const std::string& text, int textLength) {
  TxRecord r;
  auto b = r.Bytes();
  b[2] = static_cast<std::uint8_t>(minute);
  b[3] = static_cast<std::uint8_t>(hour);
  b[4] = static_cast<std::uint8_t>(day);
  b[5] = static_cast<std::uint8_t>(month);
  b[6] = static_cast<std::uint8_t>(recipientLength);
  std::copy(recipient.begin(), recipient.end(), b.begin() + 7);
  b[39] = static_cast<std::uint8_t>(textLength);
  std::copy(text.begin(), text.end(), b.begin() + 40);
  return r;
}

TEST(TxRecordDecodeTest, PlainNumbersLengthsAndTexts) {
  const SentMessage m = DecodeTxRecord(SentRecord(3, 5, 14, 7, "0161234567", 10, "see you", 7));
  EXPECT_EQ(Utf8(m.timeText), "3월 5일 오후 2시 7분");
  EXPECT_EQ(m.timeKey, 0x03050E07u);
  EXPECT_EQ(m.recipientNumber, "0161234567");
  EXPECT_EQ(m.text, "see you");

  const SentMessage shortened =
      DecodeTxRecord(SentRecord(1, 1, 0, 0, "0161234567", 4, "abcdef", 3));
  EXPECT_EQ(shortened.recipientNumber, "0161");
  EXPECT_EQ(shortened.text, "abc");
  EXPECT_EQ(Utf8(shortened.timeText), "1월 1일 오전 12시 0분");
}

TEST(TxRecordDecodeTest, RecipientLengthAboveThirtyTwoIsCutToTheField) {
  const std::string number(32, '7');
  const SentMessage m = DecodeTxRecord(SentRecord(1, 1, 12, 0, number, 200, "Z", 1));
  EXPECT_EQ(m.recipientNumber, number);  // not the text length byte or the text after it
  EXPECT_EQ(m.text, "Z");
  EXPECT_EQ(Utf8(m.timeText), "1월 1일 오후 12시 0분");
}

TEST(TxRecordDecodeTest, FullTextOf255Bytes) {
  const std::string text(255, 'q');
  const SentMessage m = DecodeTxRecord(SentRecord(1, 1, 1, 1, "1", 1, text, 255));
  EXPECT_EQ(m.text, text);
}

}  // namespace
}  // namespace linkora
