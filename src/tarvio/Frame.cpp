#include "tarvio/Frame.h"

#include <algorithm>
#include <utility>

namespace linkora {

namespace {
// Bytes of a dropped frame kept for the protocol log.
constexpr std::size_t kRawKept = 300;
}  // namespace

std::uint16_t Crc16X25(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408)
                           : static_cast<std::uint16_t>(crc >> 1);
    }
  }
  return static_cast<std::uint16_t>(crc ^ 0xFFFF);
}

std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> out;
  out.reserve(payload.size() + payload.size() / 8 + 5);
  auto put = [&out](std::uint8_t byte) {
    if (byte == kFrameFlag || byte == kFrameEscape) {
      out.push_back(kFrameEscape);
      out.push_back(static_cast<std::uint8_t>(byte ^ kFrameEscapeXor));
    } else {
      out.push_back(byte);
    }
  };
  for (std::uint8_t byte : payload) {
    put(byte);
  }
  const std::uint16_t crc = Crc16X25(payload);
  put(static_cast<std::uint8_t>(crc & 0xFF));
  put(static_cast<std::uint8_t>(crc >> 8));
  out.push_back(kFrameFlag);
  return out;
}

std::string_view FrameErrorText(FrameError error) {
  switch (error) {
    case FrameError::kNone:
      return "ok";
    case FrameError::kBadCrc:
      return "bad CRC";
    case FrameError::kTooShort:
      return "frame too short";
    case FrameError::kTooLong:
      return "frame too long";
    case FrameError::kBadEscape:
      return "escape byte before the closing flag";
  }
  return "unknown";
}

void FrameDecoder::Feed(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    if (byte == kFrameFlag) {
      Finish();
      continue;
    }
    if (overflow_) {
      continue;  // the rest of a frame already too long
    }
    if (byte == kFrameEscape && !escaped_) {
      escaped_ = true;
      continue;
    }
    const std::uint8_t value = escaped_ ? static_cast<std::uint8_t>(byte ^ kFrameEscapeXor) : byte;
    escaped_ = false;
    if (current_.size() >= maxPayload_ + 2) {
      overflow_ = true;
      continue;
    }
    current_.push_back(value);
  }
}

void FrameDecoder::Finish() {
  if (current_.empty() && !escaped_ && !overflow_) {
    return;  // an empty frame: a leading or repeated flag
  }
  ReceivedFrame frame;
  if (overflow_) {
    frame.error = FrameError::kTooLong;
  } else if (escaped_) {
    frame.error = FrameError::kBadEscape;
  } else if (current_.size() < 3) {
    frame.error = FrameError::kTooShort;
  } else {
    const std::size_t length = current_.size() - 2;
    const std::uint16_t expected =
        static_cast<std::uint16_t>(current_[length] | (current_[length + 1] << 8));
    const std::span<const std::uint8_t> payload(current_.data(), length);
    if (Crc16X25(payload) == expected) {
      frame.payload.assign(payload.begin(), payload.end());
    } else {
      frame.error = FrameError::kBadCrc;
    }
  }
  if (frame.error != FrameError::kNone) {
    frame.raw.assign(current_.begin(), current_.begin() + static_cast<std::ptrdiff_t>(
                                                              std::min(current_.size(), kRawKept)));
  }
  ready_.push_back(std::move(frame));
  current_.clear();
  escaped_ = false;
  overflow_ = false;
}

bool FrameDecoder::Next(ReceivedFrame& frame) {
  if (ready_.empty()) {
    return false;
  }
  frame = std::move(ready_.front());
  ready_.pop_front();
  return true;
}

void FrameDecoder::Reset() {
  current_.clear();
  escaped_ = false;
  overflow_ = false;
  ready_.clear();
}

}  // namespace linkora
