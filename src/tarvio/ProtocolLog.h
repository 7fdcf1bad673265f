#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace linkora {

// The protocol log: every byte each way with a timestamp, and one decoded
// line per frame, so a failing handset session can be read back from a file.
// Off unless a path is given (the library takes it from LINKORA_PROTOCOL_LOG).
class ProtocolLog {
 public:
  ProtocolLog() = default;
  ~ProtocolLog();
  ProtocolLog(const ProtocolLog&) = delete;
  ProtocolLog& operator=(const ProtocolLog&) = delete;

  // Appends to the file at `path`; an empty path keeps the log off.
  void Open(const std::string& path);
  bool IsOn() const { return file_ != nullptr; }
  void SetPort(std::string port) { port_ = std::move(port); }

  // "TX" for bytes to the handset, "RX" for bytes from it.
  void Bytes(std::string_view direction, std::span<const std::uint8_t> bytes);
  void Line(std::string_view direction, std::string_view text);

 private:
  std::FILE* file_ = nullptr;
  std::string port_;
};

}  // namespace linkora
