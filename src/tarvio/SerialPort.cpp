#include "tarvio/SerialPort.h"

#include "common/StopRequest.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace linkora {

unsigned BaudConstant(int baudRate) {
  switch (baudRate) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    default:
      return 0;
  }
}

std::string DeviceGroup(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0 ||
      (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
    return "";
  }
  std::vector<char> buffer(4096);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr) {
    return std::to_string(info.st_gid);
  }
  return found->gr_name;
}

SerialPort::~SerialPort() {
  Close();
}

bool SerialPort::Fail(PortRefusal refusal, std::string& error, std::string why) {
  refusal_ = std::move(refusal);
  error = std::move(why);
  lock_.Release();
  return false;
}

bool SerialPort::Open(const std::string& device, int baudRate, std::string& error) {
  Close();
  refusal_ = {};
  const speed_t speed = BaudConstant(baudRate);
  if (speed == 0) {
    error = device + ": unsupported baud rate " + std::to_string(baudRate);
    return false;
  }
  PortHolder holder;
  if (lock_.Acquire(device, holder) == PortLock::Result::kBusy) {
    return Fail(
        {PortRefusal::Kind::kBusy, holder, ""}, error,
        device + ": locked by pid " + std::to_string(holder.pid) + " (" + holder.program + ")");
  }
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int cause = errno;
    const std::string why = device + ": " + std::strerror(cause);
    if (cause == EBUSY) {
      return Fail({PortRefusal::Kind::kBusy, {}, ""}, error, why);
    }
    if (cause == EACCES || cause == EPERM) {
      return Fail({PortRefusal::Kind::kDenied, {}, DeviceGroup(device)}, error, why);
    }
    return Fail({}, error, why);
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    const std::string why = device + ": not a serial device (" + std::strerror(errno) + ")";
    ::close(fd);
    return Fail({}, error, why);
  }
  // Whatever was opened gets its own settings back when it is closed.
  saved_ = tio;
  // Programs that take no lock file are kept out by the terminal itself.
  ::ioctl(fd, TIOCEXCL);
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    const std::string why = device + ": cannot set the line (" + std::strerror(errno) + ")";
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return Fail({}, error, why);
  }
  ::tcflush(fd, TCIOFLUSH);
  fd_ = fd;
  return true;
}

void SerialPort::Close() {
  if (fd_ >= 0) {
    // The flag belongs to the terminal, not to this descriptor: a line that
    // stays open elsewhere (the emulator's) would refuse the next open.
    ::ioctl(fd_, TIOCNXCL);
    ::tcsetattr(fd_, TCSANOW, &saved_);
    ::close(fd_);
    fd_ = -1;
  }
  lock_.Release();
}

bool SerialPort::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
  if (fd_ < 0) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (StopRequested()) {
      return false;
    }
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return false;
    }
    pollfd pfd{fd_, POLLOUT, 0};
    ::poll(&pfd, 1, static_cast<int>(left.count()));
  }
  return true;
}

int SerialPort::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
  if (fd_ < 0) {
    return -1;
  }
  if (buffer.empty()) {
    return 0;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (StopRequested()) {
      return -1;  // the user stopped the run: the exchange ends here
    }
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n > 0) {
      return static_cast<int>(n);
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return 0;
    }
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
    if (ready > 0 && (pfd.revents & (POLLERR | POLLNVAL)) != 0) {
      return -1;
    }
    if (ready > 0 && (pfd.revents & POLLHUP) != 0 && (pfd.revents & POLLIN) == 0) {
      return -1;  // the other end is gone (a pulled cable, a stopped emulator)
    }
  }
}

void SerialPort::DiscardInput() {
  if (fd_ >= 0) {
    ::tcflush(fd_, TCIFLUSH);
  }
}

}  // namespace linkora
