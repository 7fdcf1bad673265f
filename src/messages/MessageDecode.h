#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "messages/MessageRecords.h"

namespace linkora {

// Every text of a message is kept as the handset's CP949 bytes, the fixed
// texts of the decoder included, so that wrapping and the text export work on
// the bytes the handset sent. Windows decode them for display.

// A received message as the message window keeps it.
struct ReceivedMessage {
  std::string timeText;        // CP949; empty without a time stamp
  std::string text;            // CP949
  std::string callbackNumber;  // CP949
  std::uint32_t timeKey = 0;   // MessageTimeKey; 0 without a time stamp
};

// A sent message as the message window keeps it.
struct SentMessage {
  std::string timeText;
  std::string text;
  std::string recipientNumber;
  std::uint32_t timeKey = 0;
};

// month << 24 | day << 16 | hour << 8 | minute; names the export files.
constexpr std::uint32_t MessageTimeKey(unsigned month, unsigned day, unsigned hour,
                                       unsigned minute) {
  return (month & 0xFFu) << 24 | (day & 0xFFu) << 16 | (hour & 0xFFu) << 8 | (minute & 0xFFu);
}

// "3월 5일 오후 2시 7분" for month 3, day 5, hour 14, minute 7 (UTF-8): the
// half-day word and a 12-hour hour (12 for hours 0 and 12).
std::string FormatMessageTime(int month, int day, int hour, int minute);

// Two decimal digits of a BCD byte, high nibble first.
constexpr int FromBcd(std::uint8_t value) {
  return (value >> 4) * 10 + (value & 0x0F);
}

// Decodes a received record. Fields whose stated length runs past the
// record are cut at its end; a field that starts past it is taken as absent.
ReceivedMessage DecodeRxRecord(const RxRecord& record);

// Decodes a sent record. A recipient length above 32 is cut to 32.
SentMessage DecodeTxRecord(const TxRecord& record);

// UTF-8 text to CP949 bytes (empty when it cannot be encoded; the program's
// own texts always can).
std::string ToCp949(std::string_view utf8);

}  // namespace linkora
