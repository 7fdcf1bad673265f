#include "tarvio/ProtocolLog.h"

#include <fmt/format.h>

#include <chrono>
#include <ctime>

#include "tarvio/Protocol.h"

namespace linkora {

namespace {

std::string Timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() %
      1000000;
  std::tm parts{};
  ::gmtime_r(&seconds, &parts);
  return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}.{:06}Z", parts.tm_year + 1900,
                     parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                     micros);
}

}  // namespace

ProtocolLog::~ProtocolLog() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

void ProtocolLog::Open(const std::string& path) {
  if (file_ != nullptr || path.empty()) {
    return;
  }
  file_ = std::fopen(path.c_str(), "a");
}

void ProtocolLog::Bytes(std::string_view direction, std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr || bytes.empty()) {
    return;
  }
  const std::string line = fmt::format("{} {} {} {:4} | {}\n", Timestamp(), port_, direction,
                                       bytes.size(), protocol::HexBytes(bytes));
  std::fputs(line.c_str(), file_);
  std::fflush(file_);
}

void ProtocolLog::Line(std::string_view direction, std::string_view text) {
  if (file_ == nullptr) {
    return;
  }
  const std::string line = fmt::format("{} {} {} ---- = {}\n", Timestamp(), port_, direction, text);
  std::fputs(line.c_str(), file_);
  std::fflush(file_);
}

}  // namespace linkora
