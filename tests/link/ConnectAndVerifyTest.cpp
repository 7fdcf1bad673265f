#include "link/ConnectAndVerify.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class ConnectAndVerifyTest : public ::testing::Test {
 protected:
  ConnectAndVerifyTest() {
    fake.handsetPort = "COM3";
    fake.SetNumberFields(905, 12, 4, 456);  // 0161234567
    fake.lockFlag = true;
    fake.lockCode = "2580";
    settings.portName = "COM3";
  }

  std::unique_ptr<PhoneLink> Run(ConnectVariant variant, OfflineStep offline = OfflineStep::Now) {
    return ConnectAndVerify({fake, fake.sleep, state}, host, settings, variant, offline);
  }

  // Log entries from the first one equal to `from` on.
  std::vector<std::string> LogFrom(const std::string& from) const {
    const auto it = std::find(fake.log.begin(), fake.log.end(), from);
    return {it, fake.log.end()};
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::RecordingTransferHost host{&fake.log};
  ConnectSettings settings;
};

TEST_F(ConnectAndVerifyTest, ReaderRunsEveryStepInOrder) {
  host.phoneNumberAnswers = {"0161234567"};
  host.lockCodeAnswers = {"2580"};
  const auto link = Run(ConnectVariant::Reader);
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(link->IsOpen());
  EXPECT_EQ(host.diagPortName, "COM3");
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_THAT(fake.log, ElementsAre(
                            // switch link
                            "DiagOpenPort(COM3, 115200)", "XrsSyncSend(\"AT$QCDMG\\r\\n\")",
                            "Sleep(2000)", "XrsSyncRecv(32)", "DiagClosePort()", "DiagClosePort()",
                            // port search
                            "DiagOpenPort(COM1, 115200)", "DiagGetVer()", "DiagClosePort()",
                            "DiagOpenPort(COM2, 115200)", "DiagGetVer()", "DiagClosePort()",
                            "DiagOpenPort(COM3, 115200)", "DiagGetVer()", "DiagClosePort()",
                            // working link
                            "DiagOpenPort(COM3, 115200)", "DiagGetVer()", "DiagSendSPCReq(472913)",
                            "XrsNvReadLock_rx310()", "DiagGetMin1()", "DiagGetMin2()",
                            "AskPhoneNumber()", "XrsNvReadUserLock_rx310()", "AskLockCode()"));
  EXPECT_EQ(state.RememberedPhoneNumber, "0161234567");
  EXPECT_EQ(state.RememberedLockCode, "2580");
  EXPECT_EQ(state.ModelIndex, 1);
}

TEST_F(ConnectAndVerifyTest, FindsHandsetOnAnyPortUpToCom16) {
  for (const char* port : {"COM1", "COM11", "COM16"}) {
    SCOPED_TRACE(port);
    fake.log.clear();
    fake.handsetPort = port;
    fake.diagMode = false;
    settings.portName = port;
    host.lockCodeAnswers = {"2580"};
    state.RememberedPhoneNumber = "0161234567";
    const auto link = Run(ConnectVariant::Reader);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(host.diagPortName, port);
    EXPECT_EQ(fake.OpenPort(), port);
    const std::string lastProbe = std::string("DiagOpenPort(") + port + ", 115200)";
    // the switch link, the probe and the working link
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), lastProbe), 3);
  }
}

TEST_F(ConnectAndVerifyTest, NoHandsetShowsPortNotFoundAndOpensNothingMore) {
  fake.handsetPort.clear();
  EXPECT_EQ(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages,
              ElementsAre("Linkora 포트를 찾을 수 없습니다. 포트설정 및 케이블연결을 확인하세요."));
  EXPECT_EQ(fake.CountOf("DiagOpenPort"), 17);
  EXPECT_THAT(fake.CallsOf("DiagOpenPort").back(), "DiagOpenPort(COM16, 115200)");
  const auto after =
      LogFrom("ShowMessage(Linkora 포트를 찾을 수 없습니다. 포트설정 및 케이블연결을 확인하세요.)");
  EXPECT_THAT(after, Not(Contains(::testing::StartsWith("DiagOpenPort"))));
}

TEST_F(ConnectAndVerifyTest, OnlyThisPortNeverTakesAnotherHandset) {
  struct Case {
    std::string port;
    bool connects;
  };
  for (const Case& c : {Case{"COM3", true}, Case{"COM5", false}, Case{"COM1", false}}) {
    SCOPED_TRACE(c.port);
    fake.log.clear();
    host.messages.clear();
    host.lockCodeAnswers = {"2580"};
    state.RememberedPhoneNumber = "0161234567";
    settings.portName = c.port;
    settings.onlyThisPort = true;
    const auto link = Run(ConnectVariant::Reader);
    EXPECT_EQ(link != nullptr, c.connects);
    // The switch link, the probe and (when it answered) the working link: all on that port.
    const std::string open = "DiagOpenPort(" + c.port + ", 115200)";
    EXPECT_THAT(fake.CallsOf("DiagOpenPort"), ::testing::Each(open));
    EXPECT_EQ(fake.CallsOf("DiagOpenPort").size(), c.connects ? 3u : 2u);
    if (c.connects) {
      EXPECT_EQ(host.diagPortName, "COM3");
      EXPECT_THAT(host.messages, IsEmpty());
    } else {
      EXPECT_THAT(host.messages, ElementsAre("Linkora 포트를 찾을 수 없습니다. 포트설정 및 "
                                             "케이블연결을 확인하세요."));
    }
  }
}

TEST_F(ConnectAndVerifyTest, PortThatDoesNotOpenIsExplainedAfterTheStepsMessage) {
  fake.portProblems = {
      {"COM2", "COM2 held by minicom"}, {"COM3", "COM3 held by cu"}, {"COM4", "COM4 forbidden"}};
  struct Case {
    std::string name;
    std::set<std::string> missing;
    std::string handsetPort;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"configured port busy",
       {"COM3"},
       "COM3",
       {"시리얼포트를 열수 없습니다. 포트설정을 확인하세요.", "COM3 held by cu"}},
      {"search finds only refusals: the first is told",
       {"COM2", "COM4"},
       "",
       {"Linkora 포트를 찾을 수 없습니다. 포트설정 및 케이블연결을 확인하세요.",
        "COM2 held by minicom"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    fake.missingPorts = c.missing;
    fake.handsetPort = c.handsetPort;
    state.RememberedPhoneNumber = "0161234567";
    state.RememberedLockCode = "2580";
    const auto link = Run(ConnectVariant::Reader);
    EXPECT_EQ(link != nullptr, c.messages.empty());
    EXPECT_EQ(host.messages, c.messages);
  }
}

TEST_F(ConnectAndVerifyTest, LockFlagClearSkipsNumberButAsksCode) {
  fake.lockFlag = false;
  host.lockCodeAnswers = {"2580"};
  ASSERT_NE(Run(ConnectVariant::Reader), nullptr);
  EXPECT_EQ(fake.CountOf("DiagGetMin1"), 0);
  EXPECT_EQ(fake.CountOf("DiagGetMin2"), 0);
  EXPECT_THAT(fake.log, Not(Contains("AskPhoneNumber()")));
  EXPECT_THAT(fake.log, Contains("AskLockCode()"));
}

TEST_F(ConnectAndVerifyTest, RememberedValuesSpareSecondPrompt) {
  host.phoneNumberAnswers = {"0161234567"};
  host.lockCodeAnswers = {"2580"};
  ASSERT_NE(Run(ConnectVariant::Reader), nullptr);
  fake.log.clear();
  ASSERT_NE(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(fake.log, Not(Contains("AskPhoneNumber()")));
  EXPECT_THAT(fake.log, Not(Contains("AskLockCode()")));
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(ConnectAndVerifyTest, WrongCodeFailsAndIsAskedAgainNextTime) {
  fake.lockFlag = false;
  host.lockCodeAnswers = {"1111", "2580"};
  EXPECT_EQ(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages, ElementsAre("입력된 잠금번호가 일치하지 않습니다."));
  EXPECT_EQ(state.RememberedLockCode, "1111");
  EXPECT_FALSE(fake.OpenPort().size());

  host.messages.clear();
  ASSERT_NE(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(state.RememberedLockCode, "2580");
}

TEST_F(ConnectAndVerifyTest, WrongNumberFailsWithItsMessage) {
  host.phoneNumberAnswers = {"0161112222"};
  EXPECT_EQ(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages, ElementsAre("입력된 전화번호가 일치하지 않습니다."));
  EXPECT_EQ(state.RememberedPhoneNumber, "0161112222");
  EXPECT_EQ(fake.CountOf("XrsNvReadUserLock_rx310"), 0);
}

TEST_F(ConnectAndVerifyTest, CancelInEitherPromptEndsWithoutMessage) {
  // Empty answer queues answer Cancel.
  EXPECT_EQ(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(fake.OpenPort(), "");
  EXPECT_EQ(fake.CountOf("XrsNvReadUserLock_rx310"), 0);

  host.phoneNumberAnswers = {"0161234567"};
  EXPECT_EQ(Run(ConnectVariant::Writer), nullptr);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(fake.CountOf("DiagSetOfflineMode"), 0);
  EXPECT_EQ(state.RememberedLockCode, "");
}

TEST_F(ConnectAndVerifyTest, HandsetAlreadyInDiagModeConnects) {
  fake.diagMode = true;
  state.RememberedPhoneNumber = "0161234567";
  state.RememberedLockCode = "2580";
  ASSERT_NE(Run(ConnectVariant::Reader), nullptr);
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(ConnectAndVerifyTest, WriterGoesOfflineAfterAccessChecks) {
  state.RememberedPhoneNumber = "0161234567";
  state.RememberedLockCode = "2580";
  ASSERT_NE(Run(ConnectVariant::Writer), nullptr);
  EXPECT_THAT(LogFrom("XrsNvReadUserLock_rx310()"),
              ElementsAre("XrsNvReadUserLock_rx310()", "DiagSetOfflineMode()", "DiagClosePort()"));

  fake.log.clear();
  const auto link = Run(ConnectVariant::Writer, OfflineStep::Deferred);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(fake.CountOf("DiagSetOfflineMode"), 1);
  EXPECT_TRUE(GoOffline(*link, host));
  EXPECT_EQ(fake.CountOf("DiagSetOfflineMode"), 2);
}

TEST_F(ConnectAndVerifyTest, FileWriterSkipsAccessChecks) {
  ASSERT_NE(Run(ConnectVariant::FileWriter), nullptr);
  for (const char* op :
       {"XrsNvReadLock_rx310", "XrsNvReadUserLock_rx310", "DiagGetMin1", "DiagGetMin2"}) {
    EXPECT_EQ(fake.CountOf(op), 0) << op;
  }
  EXPECT_THAT(LogFrom("DiagSendSPCReq(472913)"),
              ElementsAre("DiagSendSPCReq(472913)", "DiagSetOfflineMode()", "DiagClosePort()"));
}

struct FailureCase {
  const char* name;
  std::function<void(test::FakeHandsetLibrary&, SessionState&)> arrange;
  ConnectVariant variant;
  const char* message;  // empty: ends without a message
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class ConnectFailureTest : public ConnectAndVerifyTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConnectFailureTest, EndsWithItsMessageAndLinkClosed) {
  state.RememberedPhoneNumber = "0161234567";
  state.RememberedLockCode = "2580";
  GetParam().arrange(fake, state);
  EXPECT_EQ(Run(GetParam().variant), nullptr);
  if (std::string(GetParam().message).empty()) {
    EXPECT_THAT(host.messages, IsEmpty());
  } else {
    EXPECT_THAT(host.messages, ElementsAre(GetParam().message));
  }
  EXPECT_EQ(fake.OpenPort(), "");
}

// The handset is on COM3: DiagOpenPort calls are 1 the switch link, 2-4 the
// probes of COM1 to COM3, 5 the working link; DiagGetVer 1-3 the probes, 4 the check.
INSTANTIATE_TEST_SUITE_P(
    ConnectAndVerify, ConnectFailureTest,
    ::testing::Values(
        FailureCase{"ConfiguredPortDoesNotOpen", [](auto& f, auto&) { f.missingPorts = {"COM3"}; },
                    ConnectVariant::Reader, "시리얼포트를 열수 없습니다. 포트설정을 확인하세요."},
        FailureCase{"FoundPortDoesNotOpen", [](auto& f, auto&) { f.FailCall("DiagOpenPort", 5); },
                    ConnectVariant::Reader,
                    "Linkora 포트를 열수 없습니다. 포트설정 및 케이블연결을 확인하세요."},
        FailureCase{"ModelNotSupported",
                    [](auto& f, auto&) {
                      f.On("DiagGetVer", [&f](test::FakeCall& call) {
                        if (f.OpenPort() != f.handsetPort) {
                          return 0;
                        }
                        const std::string model = call.number < 4 ? "RX310K" : "RX3100";
                        std::copy(model.begin(), model.end(), call.buffer.begin() + 39);
                        return 1;
                      });
                    },
                    ConnectVariant::Reader, "지원되지 않는 모델입니다."},
        FailureCase{"VersionRequestFails", [](auto& f, auto&) { f.FailCall("DiagGetVer", 4); },
                    ConnectVariant::Reader,
                    "단말기로부터 응답이 없습니다. 포트설정 및 케이블연결을 확인하세요."},
        FailureCase{"ServiceCodeRefused", [](auto& f, auto&) { f.serviceCode = "000000"; },
                    ConnectVariant::Reader, "SPC값이 올바르지 않습니다. 다시 시도해주십시요."},
        FailureCase{"ServiceCodeIoError",
                    [](auto& f, auto&) { f.FailCall("DiagSendSPCReq", 1, 1, 3); },
                    ConnectVariant::FileWriter,
                    "단말기와 통신에 오류가 발생했습니다. 다시 시도해주십시요."},
        FailureCase{
            "OfflineFailsTwice", [](auto& f, auto&) { f.FailCall("DiagSetOfflineMode", 1, 2); },
            ConnectVariant::Writer, "단말기와 통신에 오류가 발생했습니다. 다시 시도해주십시요."},
        FailureCase{"LockFlagReadFailsTwice",
                    [](auto& f, auto&) { f.FailCall("XrsNvReadLock_rx310", 1, 2); },
                    ConnectVariant::Reader, ""},
        FailureCase{"NumberReadFailsTwice", [](auto& f, auto&) { f.FailCall("DiagGetMin2", 1, 2); },
                    ConnectVariant::Reader, ""},
        FailureCase{"LockCodeReadFailsTwice",
                    [](auto& f, auto&) { f.FailCall("XrsNvReadUserLock_rx310", 1, 2); },
                    ConnectVariant::Writer, ""},
        // No answers are queued: the prompts are cancelled.
        FailureCase{"NumberPromptCancelled",
                    [](auto&, auto& s) { s.RememberedPhoneNumber = "0169999999"; },
                    ConnectVariant::Reader, ""},
        FailureCase{"CodePromptCancelled", [](auto&, auto& s) { s.RememberedLockCode = "0000"; },
                    ConnectVariant::Writer, ""}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ConnectAndVerifyTest, NothingIsWrittenAfterFailure) {
  fake.serviceCode = "999999";
  EXPECT_EQ(Run(ConnectVariant::Writer), nullptr);
  EXPECT_EQ(fake.CountOf("DiagSetOfflineMode"), 0);
  EXPECT_EQ(fake.CountOf("XrsNvReadLock_rx310"), 0);
}

TEST_F(ConnectAndVerifyTest, EndOfVisitSendsModeReturnOnlyWhenHandsetAnswered) {
  EndHandsetVisit({fake, fake.sleep, state}, "");
  EXPECT_THAT(fake.log, IsEmpty());

  fake.diagMode = true;
  EndHandsetVisit({fake, fake.sleep, state}, "COM3");
  EXPECT_THAT(fake.log, ElementsAre("DiagOpenPort(COM3, 115200)", "XrsSendFrame(44)", "Sleep(150)",
                                    "XrsRecvFrame(2)", "DiagClosePort()", "DiagClosePort()"));
  EXPECT_FALSE(fake.diagMode);

  fake.log.clear();
  fake.missingPorts = {"COM5"};
  SendModeReturn({fake, fake.sleep, state}, "COM5");
  EXPECT_THAT(fake.log, ElementsAre("DiagOpenPort(COM5, 115200)", "DiagClosePort()"));
}

}  // namespace
}  // namespace linkora
