#include "link/PhoneLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "tests/support/FakeHandsetLibrary.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Log = std::vector<std::string>;

class PhoneLinkTest : public ::testing::Test {
 protected:
  LinkContext Context() { return {fake, fake.sleep, state}; }

  // Opens a link on the handset's port with the handset in diagnostic mode.
  void OpenAtHandset(PhoneLink& link) {
    fake.diagMode = true;
    ASSERT_TRUE(link.Open(fake.handsetPort, 115200));
    fake.log.clear();
    fake.sleep.waits.clear();
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
};

TEST_F(PhoneLinkTest, ClosedLinkMakesNoLibraryCall) {
  const std::vector<std::pair<const char*, std::function<LinkResult(PhoneLink&)>>> methods = {
      {"EnterDiagMode", [](PhoneLink& l) { return l.EnterDiagMode(); }},
      {"CheckModel", [](PhoneLink& l) { return l.CheckModel(); }},
      {"SendServiceCode", [](PhoneLink& l) { return l.SendServiceCode(); }},
      {"SetOffline", [](PhoneLink& l) { return l.SetOffline(); }},
      {"LeaveDiagMode", [](PhoneLink& l) { return l.LeaveDiagMode(); }},
      {"ReadLockFlag",
       [](PhoneLink& l) {
         bool locked = false;
         return l.ReadLockFlag(locked);
       }},
      {"ReadLockCode",
       [](PhoneLink& l) {
         std::string code;
         return l.ReadLockCode(code);
       }},
      {"ReadPhoneNumber",
       [](PhoneLink& l) {
         std::string number;
         return l.ReadPhoneNumber(number);
       }},
  };
  for (const auto& [name, method] : methods) {
    SCOPED_TRACE(name);
    PhoneLink link(Context());
    fake.log.clear();
    EXPECT_EQ(method(link), LinkNotOpen);
    EXPECT_THAT(fake.log, IsEmpty());
  }
}

TEST_F(PhoneLinkTest, OpenFailureLeavesLinkClosed) {
  fake.missingPorts = {"COM4"};
  PhoneLink link(Context());
  EXPECT_FALSE(link.Open("COM4", 115200));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.CheckModel(), LinkNotOpen);
  EXPECT_TRUE(link.Open("COM5", 115200));
  EXPECT_TRUE(link.IsOpen());
  link.Close();
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(PhoneLinkTest, DestroyingNeverOpenedLinkClosesOnce) {
  { PhoneLink link(Context()); }
  EXPECT_THAT(fake.log, ElementsAre("DiagClosePort()"));
}

struct ModelCase {
  const char* modelText;
  LinkResult result;
  int modelIndex;  // expected afterwards; starts at 7 so "unchanged" shows
};

void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << "\"" << c.modelText << "\"";
}

class ModelCheckTest : public PhoneLinkTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelCheckTest, ComparesPrefixWithoutCase) {
  const ModelCase& c = GetParam();
  fake.modelText = c.modelText;
  state.ModelIndex = 7;
  PhoneLink link(Context());
  OpenAtHandset(link);
  EXPECT_EQ(link.CheckModel(), c.result);
  EXPECT_EQ(state.ModelIndex, c.modelIndex);
  EXPECT_THAT(fake.log, ElementsAre("DiagGetVer()"));
}

INSTANTIATE_TEST_SUITE_P(
    PhoneLink, ModelCheckTest,
    ::testing::Values(ModelCase{"RX310K", LinkOk, 1}, ModelCase{"RX210K", LinkOk, 0},
                      ModelCase{"R310K", LinkOk, 1}, ModelCase{"R210K", LinkOk, 0},
                      ModelCase{"rx310k", LinkOk, 1}, ModelCase{"Rx210kAB", LinkOk, 0},
                      ModelCase{"R310KXYZ-LONGER", LinkOk, 1},
                      ModelCase{"RX3100", LinkUnsupportedModel, 7},
                      ModelCase{"RX210", LinkUnsupportedModel, 7},
                      ModelCase{"RX 310K", LinkUnsupportedModel, 7},
                      ModelCase{"", LinkUnsupportedModel, 7}));

TEST_F(PhoneLinkTest, ModelTextIsEightBytesFromOffset39) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  // Only bytes 39..46 count: a supported text starting at 38 is not seen.
  fake.On("DiagGetVer", [](test::FakeCall& call) {
    const std::string text = "RX310K";
    std::copy(text.begin(), text.end(), call.buffer.begin() + 38);
    return 1;
  });
  EXPECT_EQ(link.CheckModel(), LinkUnsupportedModel);
  fake.On("DiagGetVer", [](test::FakeCall& call) {
    const std::string text = "RX210K12";  // fills 39..46; 47 onwards not part of it
    std::copy(text.begin(), text.end(), call.buffer.begin() + 39);
    call.buffer[47] = 'Z';
    return 1;
  });
  EXPECT_EQ(link.CheckModel(), LinkOk);
  EXPECT_EQ(state.ModelIndex, 0);
}

TEST_F(PhoneLinkTest, VersionFailureGivesNoVersion) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  fake.FailCall("DiagGetVer", 1);
  EXPECT_EQ(link.CheckModel(), LinkNoVersion);
}

TEST_F(PhoneLinkTest, ProbeModelOpensChecksAndCloses) {
  fake.diagMode = true;
  PhoneLink link(Context());
  EXPECT_TRUE(link.ProbeModel("COM11", 115200));
  EXPECT_FALSE(link.ProbeModel("COM12", 115200));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_THAT(fake.log,
              ElementsAre("DiagOpenPort(COM11, 115200)", "DiagGetVer()", "DiagClosePort()",
                          "DiagOpenPort(COM12, 115200)", "DiagGetVer()", "DiagClosePort()"));
}

struct MakerCase {
  const char* name;
  std::string reply;
  bool maker;
};

void PrintTo(const MakerCase& c, std::ostream* os) {
  *os << c.name;
}

class MakerProbeTest : public PhoneLinkTest, public ::testing::WithParamInterface<MakerCase> {};

TEST_P(MakerProbeTest, LooksForMakerNameInFirst64Bytes) {
  fake.makerReply = GetParam().reply;
  PhoneLink link(Context());
  EXPECT_EQ(link.IsMakerHandset("COM11", 115200), GetParam().maker);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_THAT(fake.log, ElementsAre("DiagOpenPort(COM11, 115200)", "XrsSyncSend(\"AT+GMI\\r\\n\")",
                                    "Sleep(500)", "XrsSyncRecv(64)", "DiagClosePort()"));
}

INSTANTIATE_TEST_SUITE_P(
    PhoneLink, MakerProbeTest,
    ::testing::Values(MakerCase{"Plain", "Norvane\r\n", true},
                      MakerCase{"Inside", "+GMI: Norvane Mobile\r\nOK\r\n", true},
                      MakerCase{"EndsAtByte64", std::string(57, 'x') + "Norvane", true},
                      MakerCase{"PastByte64", std::string(58, 'x') + "Norvane", false},
                      MakerCase{"CaseMatters", "NORVANE\r\n", false},
                      MakerCase{"OtherMaker", "Other Corp\r\n", false},
                      MakerCase{"Silent", "", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(PhoneLinkTest, MakerProbeGivesUpOnFailedOpenOrShortSend) {
  fake.missingPorts = {"COM2"};
  PhoneLink link(Context());
  EXPECT_FALSE(link.IsMakerHandset("COM2", 115200));
  EXPECT_THAT(fake.log, ElementsAre("DiagOpenPort(COM2, 115200)"));

  fake.log.clear();
  fake.FailCall("XrsSyncSend", 1);
  EXPECT_FALSE(link.IsMakerHandset("COM11", 115200));
  EXPECT_THAT(fake.log, ElementsAre("DiagOpenPort(COM11, 115200)", "XrsSyncSend(\"AT+GMI\\r\\n\")",
                                    "DiagClosePort()"));
}

TEST_F(PhoneLinkTest, EnterDiagModeWaitsTwoSecondsForOk) {
  PhoneLink link(Context());
  ASSERT_TRUE(link.Open("COM11", 115200));
  fake.log.clear();
  EXPECT_EQ(link.EnterDiagMode(), LinkOk);
  EXPECT_THAT(fake.log,
              ElementsAre("XrsSyncSend(\"AT$QCDMG\\r\\n\")", "Sleep(2000)", "XrsSyncRecv(32)"));
  // Already in diagnostic mode: the command gets no "OK".
  EXPECT_EQ(link.EnterDiagMode(), LinkNoOk);
  fake.FailCall("XrsSyncSend", 3);
  EXPECT_EQ(link.EnterDiagMode(), LinkIoError);
}

TEST_F(PhoneLinkTest, ServiceCodeResults) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  link.SetServiceCode("472913");
  EXPECT_EQ(link.SendServiceCode(), LinkOk);
  EXPECT_THAT(fake.log, ElementsAre("DiagSendSPCReq(472913)"));

  link.SetServiceCode("000000");
  EXPECT_EQ(link.SendServiceCode(), LinkCodeRefused);
  fake.FailCall("DiagSendSPCReq", 3, 1, /*error=*/5);
  link.SetServiceCode("472913");
  EXPECT_EQ(link.SendServiceCode(), LinkIoError);
  EXPECT_EQ(fake.CountOf("XrsGetError"), 2);
}

TEST_F(PhoneLinkTest, OfflineRetriesOnceAfterHalfASecond) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  EXPECT_EQ(link.SetOffline(), LinkOk);
  EXPECT_THAT(fake.log, ElementsAre("DiagSetOfflineMode()"));

  fake.log.clear();
  fake.FailCall("DiagSetOfflineMode", 2);
  EXPECT_EQ(link.SetOffline(), LinkOk);
  EXPECT_THAT(fake.log, ElementsAre("DiagSetOfflineMode()", "Sleep(500)", "DiagSetOfflineMode()"));

  fake.FailCall("DiagSetOfflineMode", 4, 2);
  EXPECT_EQ(link.SetOffline(), LinkOfflineFailed);
}

TEST_F(PhoneLinkTest, ModeReturnExpectsEcho) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  EXPECT_EQ(link.LeaveDiagMode(), LinkOk);
  EXPECT_THAT(fake.log, ElementsAre("XrsSendFrame(44)", "Sleep(150)", "XrsRecvFrame(2)"));
  EXPECT_FALSE(fake.diagMode);

  fake.On("XrsRecvFrame", [](test::FakeCall& call) {
    call.buffer[0] = 0x13;
    return 1;
  });
  EXPECT_EQ(link.LeaveDiagMode(), LinkEchoMismatch);
  fake.FailCall("XrsRecvFrame", 3);
  EXPECT_EQ(link.LeaveDiagMode(), LinkIoError);
}

TEST_F(PhoneLinkTest, AccessReadsRetryOnceWithoutWaiting) {
  struct Read {
    const char* operation;
    std::function<LinkResult(PhoneLink&)> call;
  };
  const std::vector<Read> reads = {
      {"XrsNvReadLock_rx310",
       [](PhoneLink& l) {
         bool locked = false;
         return l.ReadLockFlag(locked);
       }},
      {"XrsNvReadUserLock_rx310",
       [](PhoneLink& l) {
         std::string code;
         return l.ReadLockCode(code);
       }},
      {"DiagGetMin1",
       [](PhoneLink& l) {
         std::string number;
         return l.ReadPhoneNumber(number);
       }},
      {"DiagGetMin2",
       [](PhoneLink& l) {
         std::string number;
         return l.ReadPhoneNumber(number);
       }},
  };
  for (const Read& read : reads) {
    SCOPED_TRACE(read.operation);
    test::FakeHandsetLibrary local;
    local.diagMode = true;
    PhoneLink link({local, local.sleep, state});
    ASSERT_TRUE(link.Open(local.handsetPort, 115200));
    local.FailCall(read.operation, 1);
    EXPECT_EQ(read.call(link), LinkOk);
    EXPECT_EQ(local.CountOf(read.operation), 2);
    EXPECT_THAT(local.sleep.waits, IsEmpty());

    local.FailCall(read.operation, 3, 2);
    EXPECT_EQ(read.call(link), LinkReadFailed);
    EXPECT_EQ(local.CountOf(read.operation), 4);
    EXPECT_THAT(local.sleep.waits, IsEmpty());
  }
}

TEST_F(PhoneLinkTest, LockFlagAndCode) {
  PhoneLink link(Context());
  OpenAtHandset(link);
  bool locked = false;
  fake.lockFlag = true;
  EXPECT_EQ(link.ReadLockFlag(locked), LinkOk);
  EXPECT_TRUE(locked);
  fake.lockFlag = false;
  EXPECT_EQ(link.ReadLockFlag(locked), LinkOk);
  EXPECT_FALSE(locked);

  std::string code;
  fake.lockCode = "0427";
  EXPECT_EQ(link.ReadLockCode(code), LinkOk);
  EXPECT_EQ(code, "0427");
}

struct NumberCase {
  unsigned area, exchange, thousands, line;
  const char* number;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << c.number;
}

class PhoneNumberTest : public PhoneLinkTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(PhoneNumberTest, DecodesNumberFields) {
  const NumberCase& c = GetParam();
  fake.SetNumberFields(c.area, c.exchange, c.thousands, c.line);
  PhoneLink link(Context());
  OpenAtHandset(link);
  std::string number;
  EXPECT_EQ(link.ReadPhoneNumber(number), LinkOk);
  EXPECT_EQ(number, c.number);
  EXPECT_THAT(fake.log, ElementsAre("DiagGetMin1()", "DiagGetMin2()"));
}

INSTANTIATE_TEST_SUITE_P(PhoneLink, PhoneNumberTest,
                         ::testing::Values(NumberCase{905, 12, 4, 456, "0161234567"},
                                           NumberCase{50, 123, 5, 567, "01612345678"},
                                           // codes of 9 and more are the digit 0
                                           NumberCase{999, 1009, 9, 1023, "0000109034"},
                                           // thousands codes 10..15 are the digit 0
                                           NumberCase{905, 12, 15, 456, "0161230567"},
                                           NumberCase{0, 0, 0, 0, "01111110111"}));

TEST(PhoneNumberDecodingTest, AlwaysTenOrElevenDigitsStartingWithZero) {
  for (unsigned area = 0; area < 1024; area += 7) {
    for (unsigned thousands = 0; thousands < 16; ++thousands) {
      for (unsigned exchange = 0; exchange < 1024; exchange += 97) {
        const unsigned min1 = (exchange << 14) | (thousands << 10) | ((area * 3) & 0x3FF);
        const std::string number = DecodePhoneNumber(min1 | 0xFF000000u, area | 0xFC00u);
        ASSERT_TRUE(number.size() == 10 || number.size() == 11) << number;
        ASSERT_EQ(number.front(), '0') << number;
        ASSERT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;
      }
    }
  }
}

}  // namespace
}  // namespace linkora
