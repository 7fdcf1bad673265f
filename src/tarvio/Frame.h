#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string_view>
#include <vector>

namespace linkora {

// Framing of the diagnostic mode: the payload, its CRC-16/X-25 appended
// little-endian, the bytes 0x7D and 0x7E escaped as 0x7D followed by the byte
// xor 0x20, and 0x7E closing the frame. A sender may put an extra 0x7E in
// front of a frame; the receiver skips empty frames, so that flag only cuts
// off whatever stray bytes came before it.
inline constexpr std::uint8_t kFrameFlag = 0x7E;
inline constexpr std::uint8_t kFrameEscape = 0x7D;
inline constexpr std::uint8_t kFrameEscapeXor = 0x20;

// Largest payload either side accepts; a longer frame is dropped as an error.
inline constexpr std::size_t kMaxFramePayload = 1024;

// CRC-16/X-25 (reflected polynomial 0x1021, initial 0xFFFF, final xor 0xFFFF).
std::uint16_t Crc16X25(std::span<const std::uint8_t> bytes);

// The bytes on the line for one payload (without a leading flag).
std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> payload);

enum class FrameError {
  kNone,
  kBadCrc,     // the CRC does not match the bytes
  kTooShort,   // fewer than one payload byte and the two CRC bytes
  kTooLong,    // more than kMaxFramePayload payload bytes
  kBadEscape,  // an escape byte right before the closing flag
};

std::string_view FrameErrorText(FrameError error);

// One frame taken off the line: its payload, or the reason it was dropped
// (then `raw` holds the unescaped bytes seen, at most a few hundred).
struct ReceivedFrame {
  FrameError error = FrameError::kNone;
  std::vector<std::uint8_t> payload;
  std::vector<std::uint8_t> raw;
};

// Takes the bytes of a serial line as they arrive, in pieces of any size, and
// gives the complete frames in order. A frame split across reads, several
// frames in one read and an escape byte at the end of a read all decode as
// one whole stream would.
class FrameDecoder {
 public:
  explicit FrameDecoder(std::size_t maxPayload = kMaxFramePayload) : maxPayload_(maxPayload) {}

  void Feed(std::span<const std::uint8_t> bytes);
  // Takes the next complete frame (good or bad); false when none is ready.
  bool Next(ReceivedFrame& frame);
  bool HasFrame() const { return !ready_.empty(); }
  // True while bytes of an unfinished frame are held.
  bool InFrame() const { return !current_.empty() || escaped_ || overflow_; }
  // Forgets held bytes and frames not yet taken.
  void Reset();

 private:
  void Finish();

  std::size_t maxPayload_;
  std::vector<std::uint8_t> current_;
  bool escaped_ = false;
  bool overflow_ = false;
  std::deque<ReceivedFrame> ready_;
};

}  // namespace linkora
