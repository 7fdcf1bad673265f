#include "tarvio/SerialPort.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace linkora {
namespace {

using Clock = std::chrono::steady_clock;

// A pseudo-terminal whose far end the test holds.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master);
    ::unlockpt(master);
    device = ::ptsname(master);
  }
  ~PseudoTerminal() { CloseMaster(); }
  void CloseMaster() {
    if (master >= 0) {
      ::close(master);
      master = -1;
    }
  }
  int master = -1;
  std::string device;
};

TEST(SerialPortTest, OpensRaw8N1WithoutFlowControl) {
  PseudoTerminal pty;
  SerialPort port;
  std::string error;
  ASSERT_TRUE(port.Open(pty.device, 115200, error)) << error;
  // Read through the master: the port is open exclusively (the master's
  // settings calls reach the line's own).
  termios tio{};
  ASSERT_EQ(::tcgetattr(pty.master, &tio), 0);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
  EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
}

TEST(SerialPortTest, BytesBothWays) {
  PseudoTerminal pty;
  SerialPort port;
  std::string error;
  ASSERT_TRUE(port.Open(pty.device, 115200, error)) << error;
  const std::vector<std::uint8_t> out = {0x7E, 0x00, 0x0D, 0x0A, 0xFF};
  ASSERT_TRUE(port.Write(out));
  std::array<std::uint8_t, 16> got{};
  ASSERT_EQ(::read(pty.master, got.data(), got.size()), 5);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), got.begin()));  // no CR/LF translation
  ASSERT_EQ(::write(pty.master, "\r\nOK\r\n", 6), 6);
  std::array<std::uint8_t, 16> in{};
  EXPECT_EQ(port.Read(in, 500), 6);
  EXPECT_EQ(std::string(in.begin(), in.begin() + 6), "\r\nOK\r\n");
}

TEST(SerialPortTest, ReadWaitsNoLongerThanAsked) {
  PseudoTerminal pty;
  SerialPort port;
  std::string error;
  ASSERT_TRUE(port.Open(pty.device, 115200, error)) << error;
  std::array<std::uint8_t, 8> buffer{};
  const auto start = Clock::now();
  EXPECT_EQ(port.Read(buffer, 120), 0);
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(waited, 100);
  EXPECT_LT(waited, 400);
}

TEST(SerialPortTest, FarEndGoneIsAFailureNotAWait) {
  PseudoTerminal pty;
  SerialPort port;
  std::string error;
  ASSERT_TRUE(port.Open(pty.device, 115200, error)) << error;
  pty.CloseMaster();
  std::array<std::uint8_t, 8> buffer{};
  const auto start = Clock::now();
  EXPECT_EQ(port.Read(buffer, 2000), -1);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
}

TEST(SerialPortTest, OpenFailuresSayWhy) {
  struct Case {
    std::string device;
    int baud;
  };
  PseudoTerminal pty;
  const std::vector<Case> cases = {
      {"/dev/does-not-exist", 115200},
      {"/dev/null", 115200},  // not a serial device
      {pty.device, 12345},    // no such rate
  };
  for (const Case& c : cases) {
    SerialPort port;
    std::string error;
    EXPECT_FALSE(port.Open(c.device, c.baud, error)) << c.device;
    EXPECT_NE(error.find(c.device), std::string::npos) << error;
    EXPECT_FALSE(port.IsOpen());
  }
}

TEST(SerialPortTest, ClosedPortNeitherReadsNorWrites) {
  SerialPort port;
  std::array<std::uint8_t, 4> buffer{};
  EXPECT_FALSE(port.Write(buffer));
  EXPECT_EQ(port.Read(buffer, 10), -1);
}

}  // namespace
}  // namespace linkora
