// Exclusive use of a serial port: the UUCP lock file other serial programs
// read, TIOCEXCL on the line, and the words a user gets for a busy or
// forbidden port.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tarvio/PortLock.h"
#include "tarvio/SerialHandsetLibrary.h"
#include "tarvio/SerialPort.h"
#include "tests/support/ChildProcess.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

// The pid of a process that has ended.
pid_t EndedPid() {
  test::OtherProgram program;
  program.End();
  return program.Pid();
}

std::string Read(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string LockText(int pid) {
  const std::string digits = std::to_string(pid);
  return std::string(10 - digits.size(), ' ') + digits + "\n";
}

class PortLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("linkora-lock-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    device = ::ptsname(master);
    lockFile = dir / ("LCK.." + fs::path(device).filename().string());
  }
  void TearDown() override {
    ::close(master);
    fs::remove_all(dir);
  }

  fs::path dir;
  int master = -1;
  std::string device;
  fs::path lockFile;
};

TEST_F(PortLockTest, PidFileReadsTheAsciiFormsOnly) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"      1234\n", 1234}, {"1234", 1234}, {"", 0},         {"   ", 0},
      {"12a4\n", 0},          {"-5\n", 0},    {"1234\n\n", 0}, {"99999999999\n", 0}};
  for (const auto& [text, pid] : cases) {
    std::ofstream(lockFile) << text;
    EXPECT_EQ(ReadPidFile(lockFile), pid) << '"' << text << '"';
  }
}

TEST_F(PortLockTest, OpenPortHoldsALockNamingThisProcessUntilClosed) {
  SerialPort port(dir);
  std::string error;
  ASSERT_TRUE(port.Open(device, 115200, error)) << error;
  EXPECT_EQ(Read(lockFile), LockText(::getpid()));
  EXPECT_EQ(fs::status(lockFile).permissions() & fs::perms::all, fs::perms(0644));
  port.Close();
  EXPECT_FALSE(fs::exists(lockFile));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 0);
}

TEST_F(PortLockTest, LockOfARunningProgramRefusesTheOpenAndNamesIt) {
  test::OtherProgram other;
  ASSERT_GT(other.Pid(), 0);
  std::ofstream(lockFile) << LockText(other.Pid());
  SerialPort port(dir);
  std::string error;
  EXPECT_FALSE(port.Open(device, 115200, error));
  EXPECT_EQ(port.Refusal().kind, PortRefusal::Kind::kBusy);
  EXPECT_EQ(port.Refusal().holder.pid, other.Pid());
  EXPECT_EQ(port.Refusal().holder.program, "sleep");
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(Read(lockFile), LockText(other.Pid()));  // the holder's lock stays
}

TEST_F(PortLockTest, StaleLockIsTakenOver) {
  const pid_t ended = EndedPid();
  ASSERT_GT(ended, 0);
  struct Case {
    std::string name;
    std::string text;
    int ageSeconds;
  };
  const std::vector<Case> cases = {
      {"ended process", LockText(ended), 0},
      {"no pid, old", "garbage\n", 60},
  };
  for (const Case& c : cases) {
    std::ofstream(lockFile) << c.text;
    fs::last_write_time(lockFile,
                        fs::file_time_type::clock::now() - std::chrono::seconds(c.ageSeconds));
    SerialPort port(dir);
    std::string error;
    EXPECT_TRUE(port.Open(device, 115200, error)) << c.name << ": " << error;
    EXPECT_EQ(Read(lockFile), LockText(::getpid())) << c.name;
  }
  // A lock without a pid that was made a moment ago may still be being written.
  std::ofstream(lockFile) << "";
  SerialPort port(dir);
  std::string error;
  EXPECT_FALSE(port.Open(device, 115200, error));
  EXPECT_EQ(port.Refusal().kind, PortRefusal::Kind::kBusy);
}

TEST_F(PortLockTest, LineIsExclusiveWhileOpenAndFreedOnClose) {
  const int keeper = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(keeper, 0);
  SerialPort port(dir);
  std::string error;
  ASSERT_TRUE(port.Open(device, 115200, error)) << error;
  // Another program that takes no lock file cannot open the line either
  // (only a privileged one gets past TIOCEXCL; it sees the flag instead).
  const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (other < 0) {
    EXPECT_EQ(errno, EBUSY);
  } else {
    ::close(other);
  }
  int exclusive = 0;
  ASSERT_EQ(::ioctl(keeper, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);
  port.Close();
  ASSERT_EQ(::ioctl(keeper, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  ::close(keeper);
}

TEST_F(PortLockTest, WithoutALockFolderThePortStillOpens) {
  SerialPort port(dir / "missing");
  std::string error;
  EXPECT_TRUE(port.Open(device, 115200, error)) << error;
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(PortRefusalTextTest, SaysWhoHoldsThePortOrWhatToJoin) {
  using Kind = PortRefusal::Kind;
  const std::vector<std::pair<PortRefusal, std::string>> cases = {
      {{Kind::kBusy, {4321, "minicom"}, ""},
       "COM3 포트(/dev/null)를 다른 프로그램(minicom, pid 4321)이 사용하고 있습니다. 그 프로그램을 "
       "닫은 뒤 다시 시도하세요."},
      {{Kind::kBusy, {}, ""},
       "COM3 포트(/dev/null)를 다른 프로그램이 사용하고 있습니다. 그 프로그램을 닫은 뒤 다시 "
       "시도하세요."},
      {{Kind::kDenied, {}, "dialout"},
       "COM3 포트(/dev/null)를 열 권한이 없습니다. 사용자를 'dialout' 그룹에 넣고(sudo usermod "
       "-aG dialout $USER) 다시 로그인하세요."},
      {{Kind::kDenied, {}, ""},
       "COM3 포트(/dev/null)를 열 권한이 없습니다. 장치의 접근 권한을 확인하세요."},
  };
  for (const auto& [refusal, text] : cases) {
    EXPECT_EQ(RefusalText("COM3", "/dev/null", refusal), text);
  }
}

}  // namespace
}  // namespace linkora
