// The whole start of a transfer (mode switch, 16-port search, model check,
// service code, lock checks, offline) run by the link code over the serial
// library against the emulated handset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "link/ConnectAndVerify.h"
#include "link/SessionState.h"
#include "tarvio/SerialHandsetLibrary.h"
#include "tests/support/RecordingSleep.h"
#include "tests/support/RecordingTransferHost.h"
#include "tests/support/RunningEmulator.h"

namespace linkora {
namespace {

using test::RunningEmulator;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ConnectOverSerialTest : public ::testing::Test {
 protected:
  void Start(RunningEmulator::Options options = {}) {
    emulator = std::make_unique<RunningEmulator>(std::move(options));
    ASSERT_TRUE(emulator->IsRunning()) << emulator->Error();
    library = std::make_unique<SerialHandsetLibrary>(emulator->LibraryOptions());
  }
  LinkContext Context() { return {*library, sleep, session}; }

  std::unique_ptr<RunningEmulator> emulator;
  std::unique_ptr<SerialHandsetLibrary> library;
  test::RecordingSleep sleep;
  SessionState session;
  test::RecordingTransferHost host;
  ConnectSettings settings{"COM11", 115200, "472913"};
};

TEST_F(ConnectOverSerialTest, ReaderConnectsOnComElevenAfterTheTypedNumberAndCode) {
  RunningEmulator::Options options;
  options.args = {"--lock", "1", "--lock-code", "2580", "--phone", "01612345678"};
  Start(options);
  host.phoneNumberAnswers.push_back("01612345678");
  host.lockCodeAnswers.push_back("2580");
  auto link = ConnectAndVerify(Context(), host, settings, ConnectVariant::Reader);
  ASSERT_NE(link, nullptr) << (host.messages.empty() ? "" : host.messages[0]);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.diagPortName, "COM11");
  EXPECT_EQ(session.ModelIndex, 1);
  EXPECT_EQ(session.RememberedLockCode, "2580");
  // The handset answers records on the link that was handed over.
  std::array<std::uint8_t, 27> group{};
  group[0] = 1;
  EXPECT_GT(library->XrsNvReadDialGroup_rx310(group), 0);
  link.reset();
  // A second transfer asks for nothing.
  auto again = ConnectAndVerify(Context(), host, settings, ConnectVariant::Reader);
  EXPECT_NE(again, nullptr);
  EXPECT_TRUE(host.phoneNumberAnswers.empty());
  EXPECT_TRUE(host.lockCodeAnswers.empty());
}

TEST_F(ConnectOverSerialTest, WrongServiceCodeShowsTheRefusal) {
  RunningEmulator::Options options;
  options.args = {"--spc", "111111"};
  Start(options);
  auto link = ConnectAndVerify(Context(), host, settings, ConnectVariant::FileWriter);
  EXPECT_EQ(link, nullptr);
  EXPECT_THAT(host.messages, ElementsAre("SPC값이 올바르지 않습니다. 다시 시도해주십시요."));
}

TEST_F(ConnectOverSerialTest, NoHandsetAnywhereShowsThePortNotFound) {
  Start();
  settings.portName = "COM2";  // nothing there: the switch link does not open
  auto link = ConnectAndVerify(Context(), host, settings, ConnectVariant::Reader);
  EXPECT_EQ(link, nullptr);
  EXPECT_THAT(host.messages, ElementsAre("시리얼포트를 열수 없습니다. 포트설정을 확인하세요."));
}

TEST_F(ConnectOverSerialTest, HandsetLeftInDataModeIsNotFound) {
  RunningEmulator::Options options;
  options.args = {"--fault", "drop:qcdmg:1"};
  Start(options);
  auto link = ConnectAndVerify(Context(), host, settings, ConnectVariant::Reader);
  EXPECT_EQ(link, nullptr);
  EXPECT_THAT(host.messages,
              ElementsAre("Linkora 포트를 찾을 수 없습니다. 포트설정 및 케이블연결을 확인하세요."));
}

TEST_F(ConnectOverSerialTest, WriterPutsTheHandsetOfflineAndModeReturnEndsTheVisit) {
  RunningEmulator::Options options;
  options.args = {"--lock", "0"};
  Start(options);
  host.lockCodeAnswers.push_back("1234");
  {
    auto link = ConnectAndVerify(Context(), host, settings, ConnectVariant::Writer);
    ASSERT_NE(link, nullptr) << (host.messages.empty() ? "" : host.messages[0]);
  }
  EndHandsetVisit(Context(), host.diagPortName);
  // Back in data mode: the maker probe answers again.
  PhoneLink probe(Context());
  EXPECT_TRUE(probe.IsMakerHandset("COM11", 115200));
}

}  // namespace
}  // namespace linkora
