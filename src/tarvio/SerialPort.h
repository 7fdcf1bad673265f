#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include <termios.h>

#include "tarvio/PortLock.h"

namespace linkora {

// Why a device did not open, where the user can do something about it.
struct PortRefusal {
  enum class Kind { kNone, kBusy, kDenied };
  Kind kind = Kind::kNone;
  PortHolder holder;  // kBusy: who holds the device, when known
  std::string group;  // kDenied: the group whose members may use it, if any
};

// One serial device opened through POSIX termios: raw 8N1, no flow control,
// the requested baud rate. It serves a USB cable and a pseudo-terminal alike.
// Reads wait at most the time given; nothing ever blocks without a bound.
// The device is held exclusively while open: a UUCP lock file, as other
// serial programs use, and TIOCEXCL against those that do not.
class SerialPort {
 public:
  explicit SerialPort(std::filesystem::path lockDir = PortLock::DefaultDir())
      : lock_(std::move(lockDir)) {}
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device without waiting for a carrier. On failure gives false
  // and a message naming the device and the cause; Refusal() then tells a
  // busy or forbidden device apart.
  bool Open(const std::string& device, int baudRate, std::string& error);
  const PortRefusal& Refusal() const { return refusal_; }
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Writes every byte (waiting for room at most timeoutMs in all).
  bool Write(std::span<const std::uint8_t> bytes, int timeoutMs = 2000);
  // Reads what is there, waiting at most timeoutMs for the first byte.
  // Gives the count read, 0 on timeout, -1 when the device failed.
  int Read(std::span<std::uint8_t> buffer, int timeoutMs);
  // Drops bytes received but not yet read.
  void DiscardInput();

 private:
  bool Fail(PortRefusal refusal, std::string& error, std::string why);

  int fd_ = -1;
  termios saved_{};  // the device's settings before Open
  PortLock lock_;
  PortRefusal refusal_;
};

// The group that may use a device by its permissions, or "" when only its
// owner may (then joining a group does not help).
std::string DeviceGroup(const std::string& device);

// The termios speed constant for a baud rate, or 0 when there is none.
unsigned BaudConstant(int baudRate);

}  // namespace linkora
