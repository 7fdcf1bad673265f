#include "tarvio/Protocol.h"

#include <fmt/format.h>

#include "common/ByteRecord.h"

namespace linkora::protocol {

std::size_t NvItemSize(std::uint16_t item) {
  switch (static_cast<NvItem>(item)) {
    case NvItem::kLockFlag:
      return 1;
    case NvItem::kUserLock:
    case NvItem::kMin1:
    case NvItem::kMin2:
      return 4;
    case NvItem::kAddressList:
      return 100;
    case NvItem::kAddress:
      return 222;
    case NvItem::kDialGroup:
      return 27;
    case NvItem::kSchedule:
      return 95;
    case NvItem::kDday:
      return 92;
    case NvItem::kSmsList:
      return 532;
    case NvItem::kSmsMoList:
      return 295;
    case NvItem::kSmsRx:
      return 532;
    case NvItem::kSmsTx:
      return 296;
  }
  return 0;
}

std::string_view NvItemName(std::uint16_t item) {
  switch (static_cast<NvItem>(item)) {
    case NvItem::kLockFlag:
      return "lock";
    case NvItem::kUserLock:
      return "userlock";
    case NvItem::kMin1:
      return "min1";
    case NvItem::kMin2:
      return "min2";
    case NvItem::kAddressList:
      return "addresslist";
    case NvItem::kAddress:
      return "address";
    case NvItem::kDialGroup:
      return "dialgroup";
    case NvItem::kSchedule:
      return "schedule";
    case NvItem::kDday:
      return "dday";
    case NvItem::kSmsList:
      return "smslist";
    case NvItem::kSmsMoList:
      return "smsmolist";
    case NvItem::kSmsRx:
      return "smsrx";
    case NvItem::kSmsTx:
      return "smstx";
  }
  return "";
}

bool NvItemWritable(std::uint16_t item) {
  switch (static_cast<NvItem>(item)) {
    case NvItem::kAddressList:
    case NvItem::kAddress:
    case NvItem::kDialGroup:
    case NvItem::kSchedule:
    case NvItem::kDday:
      return true;
    default:
      return false;
  }
}

namespace {
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
}  // namespace

std::vector<std::uint8_t> NvReadRequest(std::uint16_t item, std::uint16_t key) {
  std::vector<std::uint8_t> out{kNvRead};
  PutU16(out, item);
  PutU16(out, key);
  return out;
}

std::vector<std::uint8_t> NvWriteRequest(std::uint16_t item, std::uint16_t key,
                                         std::span<const std::uint8_t> record) {
  std::vector<std::uint8_t> out{kNvWrite};
  PutU16(out, item);
  PutU16(out, key);
  out.insert(out.end(), record.begin(), record.end());
  return out;
}

std::vector<std::uint8_t> NvReply(std::uint8_t code, std::uint16_t item, std::uint16_t key,
                                  int result, std::uint8_t status,
                                  std::span<const std::uint8_t> record) {
  std::vector<std::uint8_t> out{code};
  PutU16(out, item);
  PutU16(out, key);
  out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(result)));
  out.push_back(status);
  out.insert(out.end(), record.begin(), record.end());
  return out;
}

std::string Describe(std::span<const std::uint8_t> p, bool reply) {
  if (p.empty()) {
    return "empty payload";
  }
  switch (p[0]) {
    case kVersion:
      if (reply && p.size() >= kModelTextOffset + kModelTextSize) {
        std::string model;
        for (std::size_t i = 0; i < kModelTextSize; ++i) {
          const char c = static_cast<char>(p[kModelTextOffset + i]);
          model += (c >= 0x20 && c < 0x7F) ? c : '.';
        }
        return fmt::format("version reply, model \"{}\"", model);
      }
      return "version request";
    case kBadCommand:
      return "error reply: bad command";
    case kBadParameters:
      return "error reply: bad parameters";
    case kBadLength:
      return "error reply: bad length";
    case kNvRead:
    case kNvWrite: {
      const char* what = p[0] == kNvRead ? "NV read" : "NV write";
      if (p.size() < kNvRequestHeader) {
        return fmt::format("{} (short, {} bytes)", what, p.size());
      }
      const std::uint16_t item = ReadU16(p, 1);
      const std::string_view name = NvItemName(item);
      std::string text = fmt::format(
          "{} {} key {}", what, name.empty() ? fmt::format("item {}", item) : name, ReadU16(p, 3));
      if (reply && p.size() >= kNvReplyHeader) {
        text += fmt::format(" -> result {} status {}",
                            static_cast<int>(static_cast<std::int8_t>(p[kNvResultOffset])),
                            p[kNvStatusOffset]);
      }
      return text + fmt::format(" ({} bytes)", p.size());
    }
    case kControl:
      if (p.size() >= 2) {
        return p[1] == kControlOffline ? "control: offline"
               : p[1] == kControlReset ? "control: reset"
                                       : fmt::format("control: mode {}", p[1]);
      }
      return "control (short)";
    case kServiceCode:
      if (reply && p.size() >= 2) {
        return p[1] != 0 ? "service code accepted" : "service code refused";
      }
      return "service code request";
    case kModeReturn:
      return reply ? "mode return echoed" : "mode return";
    case kFileSystem: {
      if (p.size() < 3) {
        return "FS (short)";
      }
      if (reply) {
        return fmt::format("FS reply op {} status {}{} ({} bytes)", p[1], p[2],
                           p.size() >= 5 ? fmt::format(" seq {} more {}", p[3], p[4]) : "",
                           p.size());
      }
      return fmt::format("FS {} seq {} ({} bytes)",
                         p[1] == 4   ? "read"
                         : p[1] == 5 ? "write"
                                     : fmt::format("op {}", p[1]),
                         p[2], p.size());
    }
    default:
      return fmt::format("unknown request 0x{:02X} ({} bytes)", p[0], p.size());
  }
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) {
      out += ' ';
    }
    out += fmt::format("{:02X}", bytes[i]);
  }
  return out;
}
}  // namespace linkora::protocol
