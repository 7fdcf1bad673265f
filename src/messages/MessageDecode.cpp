#include "messages/MessageDecode.h"

#include <fmt/printf.h>

#include <algorithm>
#include <span>

#include "common/ByteRecord.h"
#include "common/Cp949.h"
#include "resources/MessageTexts.h"

namespace linkora {
namespace {

constexpr std::uint16_t kTeleserviceText1 = 0x1001;
constexpr std::uint16_t kTeleserviceText2 = 0x1002;
constexpr std::uint16_t kTeleserviceMultimedia = 0x8004;
constexpr std::uint16_t kTeleserviceMagicn = 0xB322;
constexpr std::size_t kCallbackSkip = 4;
constexpr std::size_t kTimeStampSize = 5;

// The bytes of a text that ends at its stated length or at its first zero,
// kept within `area`.
std::string TextAt(std::span<const std::uint8_t> area, std::size_t offset, std::size_t length) {
  if (offset >= area.size()) {
    return {};
  }
  const auto field = area.subspan(offset, std::min(length, area.size() - offset));
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return {field.begin(), end};
}

std::string Timed(int month, int day, int hour, int minute) {
  return ToCp949(FormatMessageTime(month, day, hour, minute));
}

}  // namespace

std::string ToCp949(std::string_view utf8) {
  const auto bytes = cp949::FromUtf8(utf8);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::string FormatMessageTime(int month, int day, int hour, int minute) {
  const std::string_view halfDay = hour < 12 ? texts::kMorning : texts::kAfternoon;
  int hour12 = hour > 12 ? hour - 12 : hour;
  if (hour12 == 0) {
    hour12 = 12;
  }
  return fmt::sprintf(texts::kMessageTimeFormat, month, day, halfDay, hour12, minute);
}

ReceivedMessage DecodeRxRecord(const RxRecord& record) {
  ReceivedMessage message;
  const std::span<const std::uint8_t> packed = record.Packed();
  const std::uint32_t mask = record.FieldMask();
  const std::uint8_t selector = packed[RxRecord::kHeaderSelector];
  std::size_t offset = (selector == 4 || selector == 5) ? 12 : 8;
  if (mask & RxRecord::kExtraHeaderByte) {
    offset += 1;
  }
  if (mask & RxRecord::kUserData) {
    const std::uint16_t teleservice = ReadU16(packed, RxRecord::kTeleservice);
    switch (teleservice) {
      case kTeleserviceText1:
      case kTeleserviceText2:
        message.text = TextAt(packed, offset, record.UserDataLength());
        break;
      case kTeleserviceMultimedia:
        message.text = ToCp949(texts::kMultimediaMessage);
        break;
      case kTeleserviceMagicn:
        message.text = ToCp949(texts::kMagicnMessage);
        break;
      default:
        message.text = fmt::sprintf(texts::kTeleserviceFormat, teleservice);
        break;
    }
    offset += record.UserDataLength();
  }
  if (mask & RxRecord::kCallbackNumber) {
    offset += kCallbackSkip;
    message.callbackNumber = TextAt(packed, offset, record.CallbackLength());
    offset += record.CallbackLength();
  }
  if (mask & RxRecord::kTwoSpareBytes) {
    offset += 2;
  }
  if (mask & RxRecord::kOneSpareByte) {
    offset += 1;
  }
  if ((mask & RxRecord::kTimeStamp) && offset + kTimeStampSize <= packed.size()) {
    // Byte 0 holds the year, which is not shown.
    const int month = FromBcd(packed[offset + 1]);
    const int day = FromBcd(packed[offset + 2]);
    const int hour = FromBcd(packed[offset + 3]);
    const int minute = FromBcd(packed[offset + 4]);
    message.timeText = Timed(month, day, hour, minute);
    message.timeKey = MessageTimeKey(static_cast<unsigned>(month), static_cast<unsigned>(day),
                                     static_cast<unsigned>(hour), static_cast<unsigned>(minute));
  }
  return message;
}

SentMessage DecodeTxRecord(const TxRecord& record) {
  SentMessage message;
  message.timeText = Timed(record.Month(), record.Day(), record.Hour(), record.Minute());
  message.timeKey = MessageTimeKey(record.Month(), record.Day(), record.Hour(), record.Minute());
  message.recipientNumber = TextAt(record.Recipient(), 0, record.RecipientLength());
  message.text = TextAt(record.Text(), 0, record.TextLength());
  return message;
}

}  // namespace linkora
