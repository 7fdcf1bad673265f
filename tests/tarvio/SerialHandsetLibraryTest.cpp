#include "tarvio/SerialHandsetLibrary.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/ByteRecord.h"
#include "link/PhoneLink.h"
#include "link/SessionState.h"
#include "tarvio/Frame.h"
#include "tarvio/PortLock.h"
#include "tests/support/PseudoTerminalLink.h"
#include "tests/support/RecordingSleep.h"
#include "tests/support/RunningEmulator.h"

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
using test::RunningEmulator;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The file-system exchange of the handset, as the transfer code runs it:
// 256-byte chunks, long first request, short later ones, sequence numbers
// 0, 1, ..., 255, 1, ... (retries of the receive only, after a short wait).
bool ReceiveReply(SerialHandsetLibrary& library, Bytes& reply) {
  reply.assign(267, 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (library.XrsRecvFrame(reply)) {
      return true;
    }
  }
  return false;
}

bool WriteFile(SerialHandsetLibrary& library, const std::string& name, const Bytes& data) {
  std::uint8_t sequence = 0;
  std::size_t position = 0;
  do {
    const std::size_t chunk = std::min<std::size_t>(256, data.size() - position);
    const bool more = position + chunk < data.size();
    Bytes request = {0x59, 5, sequence, static_cast<std::uint8_t>(more ? 1 : 0)};
    if (sequence == 0 && position == 0) {
      request.push_back(1);
      for (int i = 0; i < 4; ++i) {
        request.push_back(static_cast<std::uint8_t>((data.size() >> (8 * i)) & 0xFF));
      }
      request.insert(request.end(), {0xFF, 0x00, 1, 0, static_cast<std::uint8_t>(name.size() + 1)});
      request.insert(request.end(), name.begin(), name.end());
      request.push_back(0);
    }
    request.push_back(static_cast<std::uint8_t>(chunk & 0xFF));
    request.push_back(static_cast<std::uint8_t>(chunk >> 8));
    request.insert(request.end(), data.begin() + static_cast<std::ptrdiff_t>(position),
                   data.begin() + static_cast<std::ptrdiff_t>(position + chunk));
    Bytes reply;
    if (!library.XrsSendFrame(request) || !ReceiveReply(library, reply) || reply[0] != 0x59 ||
        reply[2] != 0) {
      return false;
    }
    position += chunk;
    sequence = sequence == 255 ? 1 : static_cast<std::uint8_t>(sequence + 1);
  } while (position < data.size());
  return true;
}

bool ReadFile(SerialHandsetLibrary& library, const std::string& name, Bytes& data,
              std::uint32_t& total) {
  data.clear();
  std::uint8_t sequence = 0;
  for (;;) {
    Bytes request = {0x59, 4, sequence};
    if (sequence == 0) {
      request.push_back(static_cast<std::uint8_t>(name.size() + 1));
      request.insert(request.end(), name.begin(), name.end());
      request.push_back(0);
    }
    Bytes reply;
    if (!library.XrsSendFrame(request) || !ReceiveReply(library, reply) || reply[0] != 0x59 ||
        reply[2] != 0) {
      return false;
    }
    std::size_t at = 5;
    if (reply[3] == 0) {
      if (sequence != 0) {
        return false;
      }
      total = ReadU32(reply, 5);
      at = 9;
    }
    const std::size_t length = ReadU16(reply, at);
    if (at + 2 + length > reply.size()) {
      return false;
    }
    data.insert(data.end(), reply.begin() + static_cast<std::ptrdiff_t>(at + 2),
                reply.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
    if (reply[4] == 0) {
      return true;
    }
    sequence = sequence == 255 ? 1 : static_cast<std::uint8_t>(sequence + 1);
  }
}

class SerialHandsetLibraryTest : public ::testing::Test {
 protected:
  void SetUpEmulator(RunningEmulator::Options options = {}) {
    emulator = std::make_unique<RunningEmulator>(std::move(options));
    ASSERT_TRUE(emulator->IsRunning()) << emulator->Error();
    library = std::make_unique<SerialHandsetLibrary>(emulator->LibraryOptions());
  }

  // Opens COM11 and switches the handset to diagnostic mode.
  void OpenInDiagMode() {
    {
      PhoneLink link(Context());  // closes the port when it ends
      ASSERT_TRUE(link.Open("COM11", 115200));
      ASSERT_EQ(link.EnterDiagMode(), LinkOk);
    }
    ASSERT_TRUE(library->DiagOpenPort("COM11", 115200));
  }

  LinkContext Context() { return {*library, sleep, state}; }

  std::unique_ptr<RunningEmulator> emulator;
  std::unique_ptr<SerialHandsetLibrary> library;
  test::RecordingSleep sleep;
  SessionState state;
};

TEST_F(SerialHandsetLibraryTest, MakerProbeFindsTheHandsetInDataMode) {
  SetUpEmulator();
  PhoneLink link(Context());
  EXPECT_TRUE(link.IsMakerHandset("COM11", 115200));
  EXPECT_FALSE(link.IsMakerHandset("COM12", 115200));
}

TEST_F(SerialHandsetLibraryTest, ModeSwitchAndModeReturn) {
  SetUpEmulator();
  PhoneLink link(Context());
  ASSERT_TRUE(link.Open("COM11", 115200));
  // In data mode the handset does not answer frames.
  EXPECT_EQ(link.CheckModel(), LinkNoVersion);
  EXPECT_EQ(link.EnterDiagMode(), LinkOk);
  EXPECT_EQ(link.CheckModel(), LinkOk);
  EXPECT_EQ(state.ModelIndex, 1);
  // In diagnostic mode a text command gets no "OK".
  EXPECT_EQ(link.EnterDiagMode(), LinkNoOk);
  EXPECT_EQ(link.CheckModel(), LinkOk);
  EXPECT_EQ(link.LeaveDiagMode(), LinkOk);
  EXPECT_EQ(link.CheckModel(), LinkNoVersion);
  link.Close();
  EXPECT_TRUE(link.IsMakerHandset("COM11", 115200));
}

TEST_F(SerialHandsetLibraryTest, SmallModelIsReportedAsSuch) {
  RunningEmulator::Options options;
  options.model = "rx2100";
  SetUpEmulator(options);
  OpenInDiagMode();
  std::array<std::uint8_t, 56> version{};
  ASSERT_TRUE(library->DiagGetVer(version));
  EXPECT_EQ(std::string(version.begin() + 39, version.begin() + 45), "RX210K");
}

TEST_F(SerialHandsetLibraryTest, PortSearchFindsComElevenQuickly) {
  SetUpEmulator();
  {
    PhoneLink link(Context());
    ASSERT_TRUE(link.Open("COM11", 115200));
    ASSERT_EQ(link.EnterDiagMode(), LinkOk);
  }
  PhoneLink link(Context());
  std::string found;
  for (int n = 1; n <= 16 && found.empty(); ++n) {
    const std::string name = "COM" + std::to_string(n);
    const auto start = Clock::now();
    if (link.ProbeModel(name, 115200)) {
      found = name;
    } else {
      EXPECT_LT(MillisecondsSince(start), 100) << name << " has nothing behind it";
    }
  }
  EXPECT_EQ(found, "COM11");
}

TEST_F(SerialHandsetLibraryTest, SilentDeviceCostsOneShortTimeout) {
  SetUpEmulator();
  // A line that exists but where nothing answers (a cable without a handset).
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  test::LinkPseudoTerminal(::ptsname(master), emulator->PortsDir() / "COM3");
  PhoneLink link(Context());
  const auto start = Clock::now();
  EXPECT_FALSE(link.ProbeModel("COM3", 115200));
  EXPECT_LT(MillisecondsSince(start), 700);
  EXPECT_EQ(library->XrsGetError(), kLibraryErrorNoReply);
  ::close(master);
}

TEST_F(SerialHandsetLibraryTest, NameWithNothingBehindItFailsAtOnce) {
  SetUpEmulator();
  for (const char* name : {"COM1", "COM16", "COM17", "COM0", "LPT1", ""}) {
    const auto start = Clock::now();
    EXPECT_FALSE(library->DiagOpenPort(name, 115200)) << name;
    EXPECT_LT(MillisecondsSince(start), 100) << name;
    EXPECT_EQ(library->XrsGetError(), kLibraryErrorNotOpen) << name;
  }
  // A stale link whose device is gone.
  std::filesystem::create_symlink("/dev/pts/does-not-exist", emulator->PortsDir() / "COM4");
  EXPECT_FALSE(library->DiagOpenPort("COM4", 115200));
}

TEST_F(SerialHandsetLibraryTest, ServiceCodeAcceptedAndRefused) {
  SetUpEmulator();
  OpenInDiagMode();
  EXPECT_GE(library->DiagSendSPCReq("472913"), 0);
  EXPECT_LT(library->DiagSendSPCReq("000000"), 0);
  EXPECT_EQ(library->XrsGetError(), 108);
  PhoneLink link(Context());
  ASSERT_TRUE(link.Open("COM11", 115200));
  link.SetServiceCode("472913");
  EXPECT_EQ(link.SendServiceCode(), LinkOk);
  link.SetServiceCode("123456");
  EXPECT_EQ(link.SendServiceCode(), LinkCodeRefused);
}

TEST_F(SerialHandsetLibraryTest, ConfiguredServiceCodeAndInjectedRefusal) {
  RunningEmulator::Options options;
  options.args = {"--spc", "000000", "--fault", "fail:spc:2"};
  SetUpEmulator(options);
  OpenInDiagMode();
  EXPECT_LT(library->DiagSendSPCReq("472913"), 0);
  EXPECT_EQ(library->XrsGetError(), 108);
  EXPECT_LT(library->DiagSendSPCReq("000000"), 0);  // the second request is refused by the fault
  EXPECT_GE(library->DiagSendSPCReq("000000"), 0);
}

TEST_F(SerialHandsetLibraryTest, LockDataAndPhoneNumber) {
  struct Case {
    const char* lock;
    const char* code;
    const char* phone;
  };
  const Case cases[] = {{"1", "1234", "01612345678"}, {"0", "9876", "0161234567"}};
  for (const Case& c : cases) {
    RunningEmulator::Options options;
    options.args = {"--lock", c.lock, "--lock-code", c.code, "--phone", c.phone};
    SetUpEmulator(options);
    OpenInDiagMode();
    PhoneLink link(Context());
    ASSERT_TRUE(link.Open("COM11", 115200));
    bool locked = false;
    std::string code;
    std::string number;
    EXPECT_EQ(link.ReadLockFlag(locked), LinkOk);
    EXPECT_EQ(locked, std::string(c.lock) == "1");
    EXPECT_EQ(link.ReadLockCode(code), LinkOk);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(link.ReadPhoneNumber(number), LinkOk);
    EXPECT_EQ(number, c.phone);
  }
}

TEST(SerialHandsetLibraryClosedTest, EveryCallWithoutAnOpenPortFailsAtOnce) {
  SerialHandsetLibrary::Options options;
  options.ports = PortMap(PortMap::Options{"/nonexistent", false});
  SerialHandsetLibrary library(options);
  const auto start = Clock::now();
  std::array<std::uint8_t, 56> version{};
  std::array<std::uint8_t, 222> entry{};
  std::array<std::uint8_t, 1> flag{};
  std::uint32_t word = 0;
  int count = 0;
  EXPECT_FALSE(library.DiagGetVer(version));
  EXPECT_LT(library.DiagSendSPCReq("472913"), 0);
  EXPECT_LE(library.XrsNvReadLock_rx310(flag), 0);
  EXPECT_LE(library.XrsNvReadAddress_rx310(entry), 0);
  EXPECT_LE(library.XrsNvWriteAddress_rx310(entry), 0);
  EXPECT_FALSE(library.DiagGetMin1(word));
  EXPECT_FALSE(library.DiagSetOfflineMode());
  library.DiagPhoneReset();
  EXPECT_FALSE(library.XrsSendFrame(Bytes{0x44}));
  EXPECT_FALSE(library.XrsRecvFrame(version));
  EXPECT_FALSE(library.XrsSyncSend(Bytes{'A', 'T'}, count));
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(library.XrsSyncRecv(version, count));
  EXPECT_EQ(library.XrsGetError(), kLibraryErrorNotOpen);
  library.DiagClosePort();  // allowed when nothing is open
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100));
}

TEST(SerialHandsetLibraryPacedTest, PacedLineCarriesNoMoreThanElevenThousandBytesASecond) {
  RunningEmulator::Options options;
  options.pacing = true;
  RunningEmulator emulator(options);
  ASSERT_TRUE(emulator.IsRunning()) << emulator.Error();
  SerialHandsetLibrary library(emulator.LibraryOptions());
  test::RecordingSleep quiet;
  SessionState session;
  {
    PhoneLink link({library, quiet, session});
    ASSERT_TRUE(link.Open("COM11", 115200));
    ASSERT_EQ(link.EnterDiagMode(), LinkOk);
  }
  ASSERT_TRUE(library.DiagOpenPort("COM11", 115200));
  const auto before = library.BytesSent() + library.BytesReceived();
  const auto start = Clock::now();
  for (int slot = 1; slot <= 12; ++slot) {
    std::array<std::uint8_t, 222> entry{};
    entry[0] = static_cast<std::uint8_t>(slot);
    ASSERT_GT(library.XrsNvReadAddress_rx310(entry), 0);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double bytes = static_cast<double>(library.BytesSent() + library.BytesReceived() - before);
  EXPECT_GT(bytes, 12 * 229.0);
  EXPECT_GE(seconds, bytes / 11520.0 * 0.97);
  EXPECT_LT(seconds, bytes / 11520.0 * 3.0);  // generous: the machine may be busy
}

TEST_F(SerialHandsetLibraryTest, SixtyThousandByteFileWrittenAndReadBack) {
  SetUpEmulator();
  OpenInDiagMode();
  Bytes data(60000);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);  // 0x7D and 0x7E included
  }
  ASSERT_TRUE(WriteFile(*library, "nvm/media/media_0042", data)) << library->LastFailure();
  Bytes back;
  std::uint32_t total = 0;
  ASSERT_TRUE(ReadFile(*library, "nvm/media/media_0042", back, total)) << library->LastFailure();
  EXPECT_EQ(total, 60000u);
  EXPECT_TRUE(back == data);
  EXPECT_TRUE(emulator->ReadStateBytes("files", "nvm/media/media_0042") == data);
}

TEST_F(SerialHandsetLibraryTest, MediaListHasTheModelsSize) {
  for (const auto& [model, size] : {std::pair{"rx3100", 8221u}, std::pair{"rx2100", 3469u}}) {
    RunningEmulator::Options options;
    options.model = model;
    SetUpEmulator(options);
    OpenInDiagMode();
    Bytes list;
    std::uint32_t total = 0;
    ASSERT_TRUE(ReadFile(*library, "nvm/info/media_info", list, total)) << model;
    EXPECT_EQ(total, size) << model;
    EXPECT_EQ(list.size(), size) << model;
  }
}

TEST_F(SerialHandsetLibraryTest, MissingFileGivesAFileSystemStatus) {
  SetUpEmulator();
  OpenInDiagMode();
  const std::string name = "nvm/media/media_0098";
  Bytes request = {0x59, 4, 0, static_cast<std::uint8_t>(name.size() + 1)};
  request.insert(request.end(), name.begin(), name.end());
  request.push_back(0);
  ASSERT_TRUE(library->XrsSendFrame(request));
  Bytes reply(267, 0);
  ASSERT_TRUE(library->XrsRecvFrame(reply));
  EXPECT_EQ(reply[0], 0x59);
  EXPECT_NE(reply[2], 0);
}

TEST_F(SerialHandsetLibraryTest, RecordsWrittenAreStoredAndReadBack) {
  SetUpEmulator();
  OpenInDiagMode();
  std::array<std::uint8_t, 222> entry{};
  entry[0] = 0x2A;  // slot 298
  entry[1] = 0x01;
  for (std::size_t i = 2; i < entry.size(); ++i) {
    entry[i] = static_cast<std::uint8_t>(i);
  }
  EXPECT_GT(library->XrsNvWriteAddress_rx310(entry), 0);
  std::array<std::uint8_t, 222> back{};
  back[0] = 0x2A;
  back[1] = 0x01;
  EXPECT_GT(library->XrsNvReadAddress_rx310(back), 0);
  EXPECT_EQ(back, entry);
  const Bytes stored = emulator->ReadStateBytes("entries", "298");
  EXPECT_TRUE(stored == Bytes(entry.begin(), entry.end()));

  std::array<std::uint8_t, 100> flags{};
  flags.fill(0x81);
  EXPECT_GT(library->XrsNvWriteAddressList_rx310(4, flags), 0);
  const Bytes block = emulator->ReadStateBytes("slotFlags");
  ASSERT_EQ(block.size(), 500u);
  EXPECT_EQ(block[400], 0x81);
  EXPECT_EQ(block[499], 0x81);
  EXPECT_EQ(block[399], 0x00);
}

TEST_F(SerialHandsetLibraryTest, ChangesReachTheStateFileWhenTheLineIsQuietAndAtExit) {
  SetUpEmulator();
  OpenInDiagMode();
  std::array<std::uint8_t, 27> group{};
  group[0] = 19;
  group[1] = 'Q';
  EXPECT_GT(library->XrsNvWriteDialGroup_rx310(group), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  auto readFile = [this] {
    std::ifstream in(emulator->StateFile());
    return nlohmann::json::parse(in, nullptr, false);
  };
  EXPECT_EQ(readFile()["groups"]["19"], "1351" + std::string(50, '0'));
  group[1] = 'R';
  EXPECT_GT(library->XrsNvWriteDialGroup_rx310(group), 0);
  EXPECT_TRUE(emulator->Stop());
  EXPECT_EQ(readFile()["groups"]["19"], "1352" + std::string(50, '0'));
}

TEST_F(SerialHandsetLibraryTest, UnknownKeyGivesAnItemError) {
  SetUpEmulator();
  OpenInDiagMode();
  std::array<std::uint8_t, 100> block{};
  EXPECT_LE(library->XrsNvReadAddressList_rx310(5, block), 0);
  EXPECT_EQ(library->XrsGetError(), 106);
}

TEST_F(SerialHandsetLibraryTest, RetriesSucceedAfterInjectedFaults) {
  RunningEmulator::Options options;
  options.args = {"--fault",    "fail:read-address:1",
                  "--fault",    "drop:version:1",
                  "--fault",    "corrupt:read-schedule:1",
                  "--fault",    "fail:offline:1:2",
                  "--nv-error", "7"};
  SetUpEmulator(options);
  OpenInDiagMode();

  std::array<std::uint8_t, 222> entry{};
  entry[0] = 1;
  EXPECT_EQ(library->XrsNvReadAddress_rx310(entry), 0);
  EXPECT_EQ(library->XrsGetError(), 106);
  EXPECT_EQ(library->XrsGetNvError(), 7);
  EXPECT_GT(library->XrsNvReadAddress_rx310(entry), 0);
  EXPECT_EQ(ReadU16(entry, 0), 1);

  std::array<std::uint8_t, 56> version{};
  const auto start = Clock::now();
  EXPECT_FALSE(library->DiagGetVer(version));
  EXPECT_EQ(library->XrsGetError(), kLibraryErrorNoReply);
  EXPECT_LT(MillisecondsSince(start), 1000);
  EXPECT_TRUE(library->DiagGetVer(version));

  std::array<std::uint8_t, 95> schedule{};
  EXPECT_LT(library->XrsNvReadSchedule_rx310(schedule), 0);
  EXPECT_EQ(library->XrsGetError(), kLibraryErrorBadReply);
  EXPECT_GT(library->XrsNvReadSchedule_rx310(schedule), 0);

  PhoneLink link(Context());
  ASSERT_TRUE(link.Open("COM11", 115200));
  EXPECT_EQ(link.SetOffline(), LinkOfflineFailed);  // both tries fail
  EXPECT_EQ(link.SetOffline(), LinkOk);
}

TEST_F(SerialHandsetLibraryTest, ResetThenReconnect) {
  SetUpEmulator();  // silent for 300 ms after a reset
  OpenInDiagMode();
  library->DiagPhoneReset();
  std::array<std::uint8_t, 56> version{};
  EXPECT_FALSE(library->DiagGetVer(version));  // restarting
  library->DiagClosePort();
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  PhoneLink link(Context());
  EXPECT_FALSE(link.ProbeModel("COM11", 115200));  // back in data mode
  EXPECT_TRUE(link.IsMakerHandset("COM11", 115200));
  ASSERT_TRUE(link.Open("COM11", 115200));
  EXPECT_EQ(link.EnterDiagMode(), LinkOk);
  EXPECT_EQ(link.CheckModel(), LinkOk);
}

TEST(RunningEmulatorTest, BadCommandLineOrStateFileKeepsItFromStarting) {
  const std::vector<std::vector<std::string>> cases = {
      {"--fault", "explode:version:1"},
      {"--com", "COM17"},
      {"--model", "rx9999"},
      {"--phone", "12345"},
      {"--no-such-option"},
  };
  for (const auto& args : cases) {
    RunningEmulator::Options options;
    options.args = args;
    RunningEmulator emulator(options);
    EXPECT_FALSE(emulator.IsRunning()) << args[0];
    EXPECT_FALSE(emulator.Error().empty()) << args[0];
  }
  RunningEmulator::Options options;
  options.state = nlohmann::json{{"entries", {{"1", "00"}}}};  // an entry of one byte
  RunningEmulator broken(options);
  EXPECT_FALSE(broken.IsRunning());
}

TEST_F(SerialHandsetLibraryTest, StateGivenByTheTestIsWhatTheHandsetHolds) {
  RunningEmulator::Options options;
  nlohmann::json handset = {
      {"model", "rx2100"}, {"lockCode", "5555"}, {"phoneNumber", "0189998888"}};
  handset["schedules"]["0"] = std::string(190, 'f');  // next = -1 and every other byte 0xFF
  options.state = handset;
  options.model = "rx2100";
  SetUpEmulator(options);
  OpenInDiagMode();
  std::array<std::uint8_t, 95> schedule{};
  ASSERT_GT(library->XrsNvReadSchedule_rx310(schedule), 0);
  EXPECT_EQ(schedule[0], 0xFF);
  EXPECT_EQ(schedule[94], 0xFF);
  std::array<std::uint8_t, 4> code{};
  ASSERT_GT(library->XrsNvReadUserLock_rx310(code), 0);
  EXPECT_EQ(std::string(code.begin(), code.end()), "5555");
  EXPECT_EQ(emulator->ReadState()["phoneNumber"], "0189998888");
}

TEST_F(SerialHandsetLibraryTest, EmulatorStopsCleanlyAndRemovesItsLink) {
  SetUpEmulator();
  const auto link = emulator->PortsDir() / "COM11";
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_TRUE(emulator->Stop());
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  EXPECT_FALSE(library->DiagOpenPort("COM11", 115200));
  EXPECT_TRUE(emulator->Restart()) << emulator->Error();
  EXPECT_TRUE(library->DiagOpenPort("COM11", 115200));
}

TEST_F(SerialHandsetLibraryTest, EmulatorRemovesLinkAndPidFileOnEveryCaughtSignal) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SetUpEmulator();
    const auto link = emulator->PortsDir() / "COM11";
    const auto pidFile = emulator->PortsDir() / "COM11.pid";
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadPidFile(pidFile), emulator->Pid());
    EXPECT_TRUE(emulator->Stop(signal)) << signal;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << signal;
    EXPECT_FALSE(std::filesystem::exists(pidFile)) << signal;
  }
}

TEST_F(SerialHandsetLibraryTest, LinkOfAKilledEmulatorIsNeverOpened) {
  SetUpEmulator();
  const std::string device = emulator->Device();
  emulator->Stop(SIGKILL);
  ASSERT_TRUE(std::filesystem::is_symlink(emulator->PortsDir() / "COM11"));
  // A terminal opened now is likely to get the emulator's old number.
  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  const bool sameNumber = device == ::ptsname(terminal);
  PhoneLink link(Context());
  const auto start = Clock::now();
  EXPECT_FALSE(link.IsMakerHandset("COM11", 115200));
  EXPECT_LT(MillisecondsSince(start), 100);
  EXPECT_NE(library->LastFailure().find("emulator that has ended"), std::string::npos)
      << library->LastFailure();
  std::array<char, 16> typed{};
  EXPECT_LT(::read(terminal, typed.data(), typed.size()), 1) << "reused number: " << sameNumber;
  ::close(terminal);
}

// A handset that answers with whatever bytes a test gives it.
class ScriptedLine {
 public:
  explicit ScriptedLine(const std::filesystem::path& link) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ::grantpt(master_);
    ::unlockpt(master_);
    test::LinkPseudoTerminal(::ptsname(master_), link);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedLine() {
    stop_ = true;
    thread_.join();
    ::close(master_);
  }
  std::atomic<const Bytes*> reply{nullptr};

 private:
  void Serve() {
    std::array<std::uint8_t, 2048> buffer{};
    while (!stop_) {
      pollfd pfd{master_, POLLIN, 0};
      if (::poll(&pfd, 1, 20) > 0 && (pfd.revents & POLLIN) != 0) {
        if (::read(master_, buffer.data(), buffer.size()) > 0 && reply.load() != nullptr) {
          const Bytes* bytes = reply.load();
          [[maybe_unused]] const ssize_t n = ::write(master_, bytes->data(), bytes->size());
        }
      }
    }
  }
  int master_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(SerialHandsetLibraryTest, BadBytesFromTheHandsetGiveAClearErrorQuickly) {
  SetUpEmulator();
  ScriptedLine line(emulator->PortsDir() / "COM5");
  auto frame = [](const Bytes& payload) { return EncodeFrame(payload); };
  Bytes longFrame(3000, 0x11);
  longFrame.push_back(0x7E);
  Bytes badCrc = frame({0x26, 11, 0, 1, 0, 1, 0});
  badCrc[badCrc.size() - 2] ^= 0x40;
  struct Case {
    const char* name;
    Bytes reply;
    int error;
  };
  const std::vector<Case> cases = {
      {"garbage without a flag", Bytes(40, 'x'), kLibraryErrorNoReply},
      {"frame longer than any reply", longFrame, kLibraryErrorBadReply},
      {"bad CRC", badCrc, kLibraryErrorBadReply},
      {"short frame", {0x11, 0x7E}, kLibraryErrorBadReply},
      {"reply for another item", frame({0x26, 12, 0, 1, 0, 1, 0}), kLibraryErrorBadReply},
      {"reply to another request", frame({0x00}), kLibraryErrorBadReply},
      {"error reply", frame({0x13, 0x26}), kLibraryErrorRefused},
      {"NV header cut short", frame({0x26, 11, 0}), kLibraryErrorBadReply},
      {"record longer than the buffer", frame([] {
         Bytes b = {0x26, 11, 0, 1, 0, 1, 0};
         b.resize(7 + 300, 0x55);
         return b;
       }()),
       kLibraryErrorBadReply},
  };
  ASSERT_TRUE(library->DiagOpenPort("COM5", 115200));
  for (const Case& c : cases) {
    line.reply = &c.reply;
    std::array<std::uint8_t, 222> entry{};
    entry[0] = 1;
    const auto start = Clock::now();
    EXPECT_LT(library->XrsNvReadAddress_rx310(entry), 0) << c.name;
    EXPECT_EQ(library->XrsGetError(), c.error) << c.name;
    EXPECT_LT(MillisecondsSince(start), 1000) << c.name;
    line.reply = nullptr;
  }
  // A frame longer than the caller's buffer is refused, not copied.
  const Bytes big = frame(Bytes(300, 0x59));
  line.reply = &big;
  ASSERT_TRUE(library->XrsSendFrame(Bytes{0x59, 4, 1}));
  Bytes small(267, 0);
  EXPECT_FALSE(library->XrsRecvFrame(small));
  EXPECT_EQ(library->XrsGetError(), kLibraryErrorBadArgument);
  line.reply = nullptr;
}

TEST_F(SerialHandsetLibraryTest, ProtocolLogRecordsBytesAndFrames) {
  SetUpEmulator();
  const auto logPath = emulator->PortsDir().parent_path() / "protocol.log";
  SerialHandsetLibrary::Options options = emulator->LibraryOptions();
  options.protocolLogPath = logPath.string();
  {
    SerialHandsetLibrary logged(options);
    test::RecordingSleep quiet;
    SessionState session;
    PhoneLink link({logged, quiet, session});
    ASSERT_TRUE(link.Open("COM11", 115200));
    link.EnterDiagMode();
    link.CheckModel();
  }
  std::ifstream in(logPath);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_THAT(text, ::testing::HasSubstr("COM11 TX"));
  EXPECT_THAT(text, ::testing::HasSubstr("41 54 24 51 43 44 4D 47 0D 0A"));  // AT$QCDMG CR LF
  EXPECT_THAT(text, ::testing::HasSubstr("7E 00 78 F0 7E"));                 // the version request
  EXPECT_THAT(text, ::testing::HasSubstr("version reply, model \"RX310K"));
}

}  // namespace
}  // namespace linkora
