#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The requests and replies of the diagnostic mode, shared by the serial
// handset library and the handset emulator. docs/protocol.md describes them
// byte for byte. All multi-byte numbers are little-endian.
namespace linkora::protocol {

// Request codes (byte 0 of every request; the reply echoes it).
inline constexpr std::uint8_t kVersion = 0x00;
inline constexpr std::uint8_t kBadCommand = 0x13;     // reply: request not understood
inline constexpr std::uint8_t kBadParameters = 0x14;  // reply: values out of range
inline constexpr std::uint8_t kBadLength = 0x15;      // reply: request of the wrong length
inline constexpr std::uint8_t kNvRead = 0x26;
inline constexpr std::uint8_t kNvWrite = 0x27;
inline constexpr std::uint8_t kControl = 0x29;
inline constexpr std::uint8_t kServiceCode = 0x41;
inline constexpr std::uint8_t kModeReturn = 0x44;
inline constexpr std::uint8_t kFileSystem = 0x59;

// Control request byte 1.
inline constexpr std::uint8_t kControlOffline = 1;
inline constexpr std::uint8_t kControlReset = 2;

// Version reply: 56 bytes; the model text is at 39..46.
inline constexpr std::size_t kVersionReplySize = 56;
inline constexpr std::size_t kModelTextOffset = 39;
inline constexpr std::size_t kModelTextSize = 8;

// Service code request: code, then six ASCII digits. Reply: code, then 1
// (accepted) or 0 (refused).
inline constexpr std::size_t kServiceCodeDigits = 6;

// The non-volatile items the handset keeps.
enum class NvItem : std::uint16_t {
  kLockFlag = 1,
  kUserLock = 2,
  kMin1 = 3,
  kMin2 = 4,
  kAddressList = 10,
  kAddress = 11,
  kDialGroup = 12,
  kSchedule = 20,
  kDday = 21,
  kSmsList = 30,
  kSmsMoList = 31,
  kSmsRx = 32,
  kSmsTx = 33,
};

// Bytes of one record of the item, or 0 for an unknown item.
std::size_t NvItemSize(std::uint16_t item);
// A short name ("address", "smsrx"), or "" for an unknown item.
std::string_view NvItemName(std::uint16_t item);
// Whether the item can be written.
bool NvItemWritable(std::uint16_t item);

// NV read request: code, item (2), key (2).
// NV write request: code, item (2), key (2), the record.
// NV reply to both: code, item (2), key (2), result (signed byte), NV status,
// then for a read with a positive result the record.
inline constexpr std::size_t kNvRequestHeader = 5;
inline constexpr std::size_t kNvReplyHeader = 7;
inline constexpr std::size_t kNvResultOffset = 5;
inline constexpr std::size_t kNvStatusOffset = 6;

// NV status values the emulated handset gives.
inline constexpr std::uint8_t kNvDone = 0;
inline constexpr std::uint8_t kNvBadItem = 4;  // unknown item, or a key out of range
inline constexpr std::uint8_t kNvFail = 5;     // the item could not be read or written

std::vector<std::uint8_t> NvReadRequest(std::uint16_t item, std::uint16_t key);
std::vector<std::uint8_t> NvWriteRequest(std::uint16_t item, std::uint16_t key,
                                         std::span<const std::uint8_t> record);
std::vector<std::uint8_t> NvReply(std::uint8_t code, std::uint16_t item, std::uint16_t key,
                                  int result, std::uint8_t status,
                                  std::span<const std::uint8_t> record = {});

// One line describing a payload, for the protocol log ("NV read address key
// 12"); `reply` tells a handset's reply from a request.
std::string Describe(std::span<const std::uint8_t> payload, bool reply);

// Hex text of bytes for the protocol log ("7E 00 78").
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace linkora::protocol
