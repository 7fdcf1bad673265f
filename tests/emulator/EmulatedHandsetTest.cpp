#include "emulator/EmulatedHandset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "common/ByteRecord.h"
#include "tarvio/Frame.h"

namespace linkora::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Line(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class EmulatedHandsetTest : public ::testing::Test {
 protected:
  void Make(Model model = Model::kRx3100, std::vector<Fault> faults = {}) {
    EmulatedHandset::Config config;
    config.resetSilenceMs = 1000;
    config.faults = std::move(faults);
    handset = std::make_unique<EmulatedHandset>(config, SampleState(model));
  }

  void ToDiagMode() {
    ASSERT_EQ(AsText(handset->Receive(Line("AT$QCDMG\r\n"), now)), "\r\nOK\r\n");
  }

  // Sends one framed request and gives the payloads of the frames that come back.
  std::vector<std::vector<std::uint8_t>> Request(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> line{0x7E};
    const auto frame = EncodeFrame(payload);
    line.insert(line.end(), frame.begin(), frame.end());
    FrameDecoder decoder;
    decoder.Feed(handset->Receive(line, now));
    std::vector<std::vector<std::uint8_t>> replies;
    ReceivedFrame received;
    while (decoder.Next(received)) {
      EXPECT_EQ(received.error, FrameError::kNone);
      replies.push_back(received.payload);
    }
    return replies;
  }

  std::vector<std::uint8_t> One(const std::vector<std::uint8_t>& payload) {
    auto replies = Request(payload);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? std::vector<std::uint8_t>{} : replies[0];
  }

  std::unique_ptr<EmulatedHandset> handset;
  Clock::time_point now = Clock::now();
};

TEST_F(EmulatedHandsetTest, DataModeAnswersTheMakerQuestionAndTheModeSwitch) {
  Make();
  EXPECT_THAT(AsText(handset->Receive(Line("AT+GMI\r\n"), now)), HasSubstr("Norvane"));
  EXPECT_FALSE(handset->InDiagMode());
  EXPECT_THAT(AsText(handset->Receive(Line("AT$QCDMG\r\n"), now)), HasSubstr("OK"));
  EXPECT_TRUE(handset->InDiagMode());
  // In diagnostic mode text commands get no answer at all.
  EXPECT_THAT(handset->Receive(Line("AT$QCDMG\r\n"), now), IsEmpty());
  EXPECT_THAT(handset->Receive(Line("AT+GMI\r\n"), now), IsEmpty());
}

TEST_F(EmulatedHandsetTest, CommandSplitOverSeveralReadsAndAfterLineNoise) {
  Make();
  EXPECT_THAT(handset->Receive(Line("\x7E\x01\x02 A"), now), IsEmpty());
  EXPECT_THAT(handset->Receive(Line("T+G"), now), IsEmpty());
  EXPECT_THAT(AsText(handset->Receive(Line("MI\r"), now)), HasSubstr("Norvane"));
}

TEST_F(EmulatedHandsetTest, FramesInDataModeAreNotAnswered) {
  Make();
  EXPECT_THAT(handset->Receive(EncodeFrame(std::vector<std::uint8_t>{0x00}), now), IsEmpty());
}

TEST_F(EmulatedHandsetTest, ModeReturnIsEchoedAndBackInDataMode) {
  Make();
  ToDiagMode();
  EXPECT_THAT(One({0x44}), ElementsAre(0x44));
  EXPECT_FALSE(handset->InDiagMode());
  EXPECT_THAT(AsText(handset->Receive(Line("AT+GMI\r\n"), now)), HasSubstr("Norvane"));
}

TEST_F(EmulatedHandsetTest, VersionReplyCarriesTheModelText) {
  const std::vector<std::pair<Model, std::string>> cases = {{Model::kRx3100, "RX310K"},
                                                            {Model::kRx2100, "RX210K"}};
  for (const auto& [model, text] : cases) {
    Make(model);
    ToDiagMode();
    const auto reply = One({0x00});
    ASSERT_EQ(reply.size(), 56u);
    EXPECT_EQ(reply[0], 0x00);
    EXPECT_EQ(std::string(reply.begin() + 39, reply.begin() + 45), text);
  }
}

TEST_F(EmulatedHandsetTest, ServiceCodeAcceptedOnlyWhenItMatches) {
  Make();
  ToDiagMode();
  EXPECT_THAT(One(Line("A472913")), ElementsAre(0x41, 1));
  EXPECT_THAT(One(Line("A472914")), ElementsAre(0x41, 0));
  EXPECT_EQ(One(Line("A47291"))[0], 0x15);  // five digits: wrong length
}

TEST_F(EmulatedHandsetTest, PhoneNumberFieldsDecodeAsTheHandsetNumber) {
  // Area, exchange, thousands and line fields of the air-interface encoding.
  struct Case {
    std::string number;
    std::uint32_t area, exchange, thousands, line;
  };
  const std::vector<Case> cases = {
      {"0161234567", 905, 12, 4, 456},
      {"01612345678", 50, 123, 5, 567},
  };
  for (const Case& c : cases) {
    std::uint32_t min1 = 0;
    std::uint32_t min2 = 0;
    ASSERT_TRUE(EncodePhoneNumber(c.number, min1, min2)) << c.number;
    EXPECT_EQ(min2 & 0x3FF, c.area) << c.number;
    EXPECT_EQ((min1 >> 14) & 0x3FF, c.exchange) << c.number;
    EXPECT_EQ((min1 >> 10) & 0xF, c.thousands) << c.number;
    EXPECT_EQ(min1 & 0x3FF, c.line) << c.number;
  }
  std::uint32_t min1 = 0;
  std::uint32_t min2 = 0;
  for (const char* bad : {"", "1612345678", "016123456", "016123456789", "01612a4567"}) {
    EXPECT_FALSE(EncodePhoneNumber(bad, min1, min2)) << bad;
  }
}

TEST_F(EmulatedHandsetTest, NvReadOfTheLockAndTheNumber) {
  Make();
  handset->state().lockFlag = 1;
  handset->state().lockCode = "4321";
  handset->state().phoneNumber = "0161234567";
  ToDiagMode();
  EXPECT_THAT(One({0x26, 1, 0, 0, 0}), ElementsAre(0x26, 1, 0, 0, 0, 1, 0, 1));
  EXPECT_THAT(One({0x26, 2, 0, 0, 0}), ElementsAre(0x26, 2, 0, 0, 0, 1, 0, '4', '3', '2', '1'));
  const auto min2 = One({0x26, 4, 0, 0, 0});
  ASSERT_EQ(min2.size(), 11u);
  EXPECT_EQ(ReadU32(min2, 7), 905u);
}

TEST_F(EmulatedHandsetTest, RecordsAreKeptByTheirKey) {
  Make();
  ToDiagMode();
  std::vector<std::uint8_t> write = {0x27, 12, 0, 7, 0};  // dial group 7
  std::vector<std::uint8_t> group(27, 0xAB);
  group[0] = 7;
  write.insert(write.end(), group.begin(), group.end());
  EXPECT_THAT(One(write), ElementsAre(0x27, 12, 0, 7, 0, 1, 0));
  const auto read = One({0x26, 12, 0, 7, 0});
  ASSERT_EQ(read.size(), 7u + 27u);
  EXPECT_TRUE(std::equal(group.begin(), group.end(), read.begin() + 7));
  EXPECT_EQ(handset->state().groups.at(7), group);
}

TEST_F(EmulatedHandsetTest, RecordNotStoredReadsAsZerosWithItsKey) {
  Make();
  ToDiagMode();
  const auto entry = One({0x26, 11, 0, 0xF3, 0x01});  // slot 499 is in the sample; 0x1F3 = 499
  ASSERT_EQ(entry.size(), 7u + 222u);
  EXPECT_EQ(ReadU16(entry, 7), 499);
  const auto empty = One({0x26, 11, 0, 0xF2, 0x01});  // slot 498 holds nothing
  ASSERT_EQ(empty.size(), 7u + 222u);
  EXPECT_EQ(ReadU16(empty, 7), 498);
  EXPECT_TRUE(std::all_of(empty.begin() + 9, empty.end(), [](std::uint8_t b) { return b == 0; }));
  const auto schedule = One({0x26, 20, 0, 60, 0});
  ASSERT_EQ(schedule.size(), 7u + 95u);
  EXPECT_EQ(schedule[7], 60);
  EXPECT_EQ(ReadU16(schedule, 8), 0);  // year 0: the chain ends here
}

TEST_F(EmulatedHandsetTest, ItemErrorsForKeysOutOfRangeAndUnknownItems) {
  Make();
  ToDiagMode();
  EXPECT_THAT(One({0x26, 10, 0, 5, 0}), ElementsAre(0x26, 10, 0, 5, 0, 0, 4));  // part 5
  EXPECT_THAT(One({0x26, 11, 0, 0xF4, 0x01}), ElementsAre(0x26, 11, 0, 0xF4, 0x01, 0, 4));  // 500
  EXPECT_THAT(One({0x26, 12, 0, 20, 0}), ElementsAre(0x26, 12, 0, 20, 0, 0, 4));  // group 20
  EXPECT_THAT(One({0x26, 99, 0, 0, 0}), ElementsAre(0x26, 99, 0, 0, 0, 0, 4));    // no item 99
  EXPECT_THAT(One({0x27, 1, 0, 0, 0, 0}), ElementsAre(0x27, 1, 0, 0, 0, 0, 4));   // lock: read only
  EXPECT_EQ(One({0x27, 12, 0, 1, 0, 1, 2})[0], 0x15);  // a group write of 2 bytes
  EXPECT_EQ(One({0x26, 11})[0], 0x15);
  EXPECT_EQ(One({0x77})[0], 0x13);
}

TEST_F(EmulatedHandsetTest, MessageRecordResults) {
  Make();
  handset->state().rxResults[3] = 2;
  ToDiagMode();
  EXPECT_EQ(One({0x26, 32, 0, 0, 0})[5], 1);    // a stored received message
  EXPECT_EQ(One({0x26, 32, 0, 3, 0})[5], 2);    // result set by the state
  EXPECT_EQ(One({0x26, 32, 0, 20, 0})[5], 2);   // nothing stored in slot 20
  EXPECT_EQ(One({0x26, 32, 0, 24, 0})[6], 4);   // there is no slot 24
  EXPECT_EQ(One({0x26, 33, 0, 131, 0})[5], 1);  // sent message in list slot 3
}

TEST_F(EmulatedHandsetTest, ResetAnswersThenStaysSilentThenDataMode) {
  Make();
  ToDiagMode();
  EXPECT_THAT(One({0x29, 2}), ElementsAre(0x29, 2));
  EXPECT_FALSE(handset->InDiagMode());
  now += std::chrono::milliseconds(999);
  EXPECT_THAT(handset->Receive(Line("AT+GMI\r\n"), now), IsEmpty());
  now += std::chrono::milliseconds(2);
  EXPECT_THAT(AsText(handset->Receive(Line("AT+GMI\r\n"), now)), HasSubstr("Norvane"));
}

TEST_F(EmulatedHandsetTest, OfflineIsConfirmed) {
  Make();
  ToDiagMode();
  EXPECT_THAT(One({0x29, 1}), ElementsAre(0x29, 1));
  EXPECT_TRUE(handset->IsOffline());
}

TEST_F(EmulatedHandsetTest, FileWrittenInTwoChunksAndReadBack) {
  Make();
  ToDiagMode();
  const std::string name = "nvm/media/media_0050";
  std::vector<std::uint8_t> data(257);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(i);
  }
  // Long first request: more 1, total 257, 256 bytes.
  std::vector<std::uint8_t> first = {
      0x59, 5, 0,    1,    1, 0x01, 0x01,
      0,    0, 0xFF, 0x00, 1, 0,    static_cast<std::uint8_t>(name.size() + 1)};
  first.insert(first.end(), name.begin(), name.end());
  first.insert(first.end(), {0, 0x00, 0x01});
  first.insert(first.end(), data.begin(), data.begin() + 256);
  EXPECT_THAT(One(first), ElementsAre(0x59, 5, 0, 0));
  EXPECT_EQ(handset->state().files.count(name), 0u);  // not stored before the last chunk
  EXPECT_THAT(One({0x59, 5, 1, 0, 1, 0, 0x00}), ElementsAre(0x59, 5, 0, 1));
  EXPECT_EQ(handset->state().files.at(name), data);

  std::vector<std::uint8_t> read = {0x59, 4, 0, static_cast<std::uint8_t>(name.size() + 1)};
  read.insert(read.end(), name.begin(), name.end());
  read.push_back(0);
  const auto r0 = One(read);
  ASSERT_EQ(r0.size(), 11u + 256u);
  EXPECT_THAT(std::vector<std::uint8_t>(r0.begin(), r0.begin() + 11),
              ElementsAre(0x59, 4, 0, 0, 1, 0x01, 0x01, 0, 0, 0x00, 0x01));
  const auto r1 = One({0x59, 4, 1});
  EXPECT_THAT(r1, ElementsAre(0x59, 4, 0, 1, 0, 1, 0, 0x00));
  // After the last chunk a further request is out of sequence.
  EXPECT_NE(One({0x59, 4, 2})[2], 0);
}

TEST_F(EmulatedHandsetTest, MalformedFileRequestsGiveAStatusNotACrash) {
  Make();
  ToDiagMode();
  const std::vector<std::vector<std::uint8_t>> requests = {
      {0x59, 4, 0, 40, 'n', 0},                            // name length past the end
      {0x59, 5, 0, 0, 1, 0, 0, 0, 0, 0xFF, 0, 1, 0, 200},  // name past the end
      {0x59, 5, 0, 0, 1, 0, 0, 0, 0, 0xFF, 0, 1, 0, 2, 'a', 0, 0xFF, 0xFF},  // chunk past the end
      {0x59, 5, 3, 0, 1, 0, 9},  // a later chunk with no file open
      {0x59, 9, 0},              // unknown operation
  };
  for (const auto& request : requests) {
    const auto reply = One(request);
    ASSERT_GE(reply.size(), 3u);
    EXPECT_EQ(reply[0], 0x59);
    EXPECT_NE(reply[2], 0);
  }
  EXPECT_EQ(One({0x59, 4})[0], 0x15);
}

TEST_F(EmulatedHandsetTest, GarbageNeverGetsAnAnswer) {
  Make();
  ToDiagMode();
  std::vector<std::uint8_t> noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) {
    noise[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  handset->Receive(noise, now);
  // Whatever the noise left half-read, the next flagged request is answered.
  EXPECT_EQ(One({0x00}).size(), 56u);
  EXPECT_GT(handset->BadFrames(), 0);
}

TEST_F(EmulatedHandsetTest, InjectedFaultsHitTheNthRequestOnly) {
  Make(Model::kRx3100, {{Fault::Kind::kFail, "read-address", 2, 2},
                        {Fault::Kind::kDrop, "version", 1, 1},
                        {Fault::Kind::kFail, "fs-read", 1, 1}});
  ToDiagMode();
  EXPECT_EQ(One({0x26, 11, 0, 1, 0})[5], 1);
  EXPECT_THAT(One({0x26, 11, 0, 1, 0}), ElementsAre(0x26, 11, 0, 1, 0, 0, 5));
  EXPECT_THAT(One({0x26, 11, 0, 1, 0}), ElementsAre(0x26, 11, 0, 1, 0, 0, 5));
  EXPECT_EQ(One({0x26, 11, 0, 1, 0})[5], 1);
  EXPECT_THAT(Request({0x00}), IsEmpty());
  EXPECT_EQ(One({0x00}).size(), 56u);
  EXPECT_EQ(One({0x59, 4, 0, 2, 'x', 0})[2], 10);
  EXPECT_EQ(handset->CountOf("read-address"), 4);
}

TEST_F(EmulatedHandsetTest, OverlongFrameIsDroppedAndTheNextAnswered) {
  Make();
  ToDiagMode();
  std::vector<std::uint8_t> huge(5000, 0x26);
  huge.push_back(0x7E);
  EXPECT_THAT(handset->Receive(huge, now), IsEmpty());
  EXPECT_EQ(handset->BadFrames(), 1);
  EXPECT_EQ(One({0x00}).size(), 56u);
}

TEST_F(EmulatedHandsetTest, RandomBytesInEitherModeNeverBreakIt) {
  Make();
  std::uint32_t x = 12345;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> chunk(1 + round % 97);
    for (auto& b : chunk) {
      x = x * 1103515245u + 12345u;
      b = static_cast<std::uint8_t>(x >> 16);
      if (b % 11 == 0) {
        b = 0x7E;  // plenty of frame ends
      }
    }
    handset->Receive(chunk, now);
    now += std::chrono::seconds(5);  // past any reset silence the noise caused
  }
  handset->Receive(Line("\r\n"), now);
  // Whatever mode the noise left it in, the usual way in still works.
  handset->Receive(Line("AT$QCDMG\r\n"), now);
  EXPECT_TRUE(handset->InDiagMode());
  EXPECT_EQ(One({0x00}).size(), 56u);
}

TEST(ParseFaultTest, Forms) {
  struct Case {
    std::string text;
    bool ok;
    Fault::Kind kind;
    std::string operation;
    int nth, times;
  };
  const std::vector<Case> cases = {
      {"fail:read-address:3", true, Fault::Kind::kFail, "read-address", 3, 1},
      {"drop:version:1:2", true, Fault::Kind::kDrop, "version", 1, 2},
      {"corrupt:fs-write:10", true, Fault::Kind::kCorrupt, "fs-write", 10, 1},
      {"explode:version:1", false, Fault::Kind::kFail, "", 0, 0},
      {"fail:version", false, Fault::Kind::kFail, "", 0, 0},
      {"fail:version:0", false, Fault::Kind::kFail, "", 0, 0},
      {"fail:version:x", false, Fault::Kind::kFail, "", 0, 0},
      {"fail:version:1:2:3", false, Fault::Kind::kFail, "", 0, 0},
  };
  for (const Case& c : cases) {
    Fault fault;
    std::string error;
    EXPECT_EQ(ParseFault(c.text, fault, error), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(fault.kind, c.kind) << c.text;
      EXPECT_EQ(fault.operation, c.operation) << c.text;
      EXPECT_EQ(fault.nth, c.nth) << c.text;
      EXPECT_EQ(fault.times, c.times) << c.text;
    } else {
      EXPECT_FALSE(error.empty()) << c.text;
    }
  }
}

}  // namespace
}  // namespace linkora::emulator
