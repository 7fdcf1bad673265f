#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace linkora {

// One serial device opened through POSIX termios: raw 8N1, no flow control,
// the requested baud rate. It serves a USB cable and a pseudo-terminal alike.
// Reads wait at most the time given; nothing ever blocks without a bound.
class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device without waiting for a carrier. On failure gives false
  // and a message naming the device and the cause.
  bool Open(const std::string& device, int baudRate, std::string& error);
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
  int fd_ = -1;
};

// The termios speed constant for a baud rate, or 0 when there is none.
unsigned BaudConstant(int baudRate);

}  // namespace linkora
