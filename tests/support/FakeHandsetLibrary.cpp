#include "tests/support/FakeHandsetLibrary.h"

#include <algorithm>
#include <cstdio>

namespace linkora::test {
namespace {

std::string Printable(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (const std::uint8_t b : bytes) {
    if (b == '\r') {
      out += "\\r";
    } else if (b == '\n') {
      out += "\\n";
    } else if (b >= 0x20 && b < 0x7F) {
      out.push_back(static_cast<char>(b));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kShown = 16;
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
    if (!out.empty()) {
      out.push_back(' ');
    }
    out += hex;
  }
  if (bytes.size() > kShown) {
    out += " ... (" + std::to_string(bytes.size()) + " bytes)";
  }
  return out;
}

int LittleEndian16(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 ? bytes[0] | (bytes[1] << 8) : 0;
}

}  // namespace

void FakeHandsetLibrary::SetNumberFields(unsigned area, unsigned exchange, unsigned thousands,
                                         unsigned line) {
  min1 = ((exchange & 0x3FFu) << 14) | ((thousands & 0xFu) << 10) | (line & 0x3FFu);
  min2 = area & 0x3FFu;
}

void FakeHandsetLibrary::FailCall(std::string_view operation, int nth, int times, int error) {
  failures_[std::string(operation)].push_back({nth, nth + times - 1, error});
}

void FakeHandsetLibrary::On(std::string_view operation, Handler handler) {
  handlers_[std::string(operation)] = std::move(handler);
}

std::vector<std::string> FakeHandsetLibrary::CallsOf(std::string_view operation) const {
  std::vector<std::string> out;
  for (const std::string& entry : log) {
    if (entry.size() > operation.size() && entry.compare(0, operation.size(), operation) == 0 &&
        entry[operation.size()] == '(') {
      out.push_back(entry);
    }
  }
  return out;
}

int FakeHandsetLibrary::CountOf(std::string_view operation) const {
  const auto it = counts_.find(operation);
  return it == counts_.end() ? 0 : it->second;
}

int FakeHandsetLibrary::Dispatch(std::string_view operation, std::string arguments, FakeCall call,
                                 const std::function<int(FakeCall&)>& normal) {
  log.push_back(std::string(operation) + "(" + arguments + ")");
  call.operation = operation;
  call.number = ++counts_[std::string(operation)];
  if (const auto it = failures_.find(operation); it != failures_.end()) {
    for (const Failure& failure : it->second) {
      if (call.number >= failure.first && call.number <= failure.last) {
        lastError = failure.error;
        // The service-code request fails with a negative result, everything else with 0.
        return operation == "DiagSendSPCReq" ? -1 : 0;
      }
    }
  }
  if (const auto it = handlers_.find(operation); it != handlers_.end()) {
    return it->second(call);
  }
  return normal(call);
}

bool FakeHandsetLibrary::AtHandset() const {
  return !openPort_.empty() && openPort_ == handsetPort && diagMode;
}

bool FakeHandsetLibrary::DiagOpenPort(const std::string& portName, int baudRate) {
  return Dispatch("DiagOpenPort", portName + ", " + std::to_string(baudRate), {}, [&](FakeCall&) {
           const auto problem = portProblems.find(portName);
           portProblem_ = problem != portProblems.end() ? problem->second : "";
           if (missingPorts.contains(portName)) {
             return 0;
           }
           openPort_ = portName;
           pendingText_.clear();
           pendingFrame_.clear();
           return 1;
         }) != 0;
}

void FakeHandsetLibrary::DiagClosePort() {
  Dispatch("DiagClosePort", "", {}, [&](FakeCall&) {
    openPort_.clear();
    return 1;
  });
}

bool FakeHandsetLibrary::XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) {
  sent = 0;
  FakeCall call;
  call.data = bytes;
  const int result = Dispatch("XrsSyncSend", "\"" + Printable(bytes) + "\"", call, [&](FakeCall&) {
    if (openPort_.empty()) {
      return 0;
    }
    const std::string text(bytes.begin(), bytes.end());
    if (openPort_ == handsetPort && !diagMode) {
      if (text == "AT+GMI\r\n") {
        pendingText_.assign(makerReply.begin(), makerReply.end());
      } else if (text == "AT$QCDMG\r\n") {
        const std::string ok = "\r\nOK\r\n";
        pendingText_.assign(ok.begin(), ok.end());
        diagMode = true;
      }
    }
    return static_cast<int>(bytes.size());
  });
  sent = result;
  return result > 0;
}

bool FakeHandsetLibrary::XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) {
  received = 0;
  FakeCall call;
  call.buffer = buffer;
  const int result = Dispatch("XrsSyncRecv", std::to_string(buffer.size()), call, [&](FakeCall&) {
    const std::size_t n = std::min(buffer.size(), pendingText_.size());
    std::copy_n(pendingText_.begin(), n, buffer.begin());
    pendingText_.clear();
    return static_cast<int>(n);
  });
  received = result;
  return result > 0;
}

bool FakeHandsetLibrary::DiagGetVer(std::span<std::uint8_t, kVersionReplySize> reply) {
  FakeCall call;
  call.buffer = reply;
  return Dispatch("DiagGetVer", "", call, [&](FakeCall&) {
           if (!AtHandset()) {
             return 0;
           }
           const std::size_t n = std::min(modelText.size(), reply.size() - 39);
           std::copy_n(modelText.begin(), n, reply.begin() + 39);
           return 1;
         }) != 0;
}

int FakeHandsetLibrary::DiagSendSPCReq(const std::string& code) {
  const int result = Dispatch("DiagSendSPCReq", code, {}, [&](FakeCall&) {
    if (!AtHandset()) {
      lastError = 0;
      return -1;
    }
    if (code != serviceCode) {
      lastError = kLibraryErrorCodeRefused;
      return -1;
    }
    return 0;
  });
  return result;
}

int FakeHandsetLibrary::XrsGetError() {
  return Dispatch("XrsGetError", "", {}, [&](FakeCall&) { return lastError; });
}

int FakeHandsetLibrary::XrsGetNvError() {
  return Dispatch("XrsGetNvError", "", {}, [&](FakeCall&) { return nvError; });
}

int FakeHandsetLibrary::XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) {
  FakeCall call;
  call.buffer = flag;
  return Dispatch("XrsNvReadLock_rx310", "", call, [&](FakeCall&) {
    if (!AtHandset()) {
      return 0;
    }
    flag[0] = lockFlag ? 1 : 0;
    return 1;
  });
}

int FakeHandsetLibrary::XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) {
  FakeCall call;
  call.buffer = code;
  return Dispatch("XrsNvReadUserLock_rx310", "", call, [&](FakeCall&) {
    if (!AtHandset()) {
      return 0;
    }
    std::copy_n(lockCode.begin(), std::min<std::size_t>(4, lockCode.size()), code.begin());
    return 4;
  });
}

bool FakeHandsetLibrary::DiagGetMin1(std::uint32_t& value) {
  return Dispatch("DiagGetMin1", "", {}, [&](FakeCall&) {
           if (!AtHandset()) {
             return 0;
           }
           value = min1;
           return 1;
         }) != 0;
}

bool FakeHandsetLibrary::DiagGetMin2(std::uint32_t& value) {
  return Dispatch("DiagGetMin2", "", {}, [&](FakeCall&) {
           if (!AtHandset()) {
             return 0;
           }
           value = min2;
           return 1;
         }) != 0;
}

bool FakeHandsetLibrary::DiagSetOfflineMode() {
  return Dispatch("DiagSetOfflineMode", "", {}, [&](FakeCall&) { return AtHandset() ? 1 : 0; }) !=
         0;
}

void FakeHandsetLibrary::DiagPhoneReset() {
  Dispatch("DiagPhoneReset", "", {}, [&](FakeCall&) {
    diagMode = false;
    return 1;
  });
}

bool FakeHandsetLibrary::XrsSendFrame(std::span<const std::uint8_t> payload) {
  FakeCall call;
  call.data = payload;
  return Dispatch("XrsSendFrame", Hex(payload), call, [&](FakeCall&) {
           if (!AtHandset()) {
             return 0;
           }
           if (payload.size() == 1 && payload[0] == 0x44) {
             pendingFrame_ = {0x44};
             diagMode = false;
           }
           return 1;
         }) != 0;
}

bool FakeHandsetLibrary::XrsRecvFrame(std::span<std::uint8_t> buffer) {
  FakeCall call;
  call.buffer = buffer;
  return Dispatch("XrsRecvFrame", std::to_string(buffer.size()), call, [&](FakeCall&) {
           if (pendingFrame_.empty() || openPort_ != handsetPort) {
             return 0;
           }
           std::copy_n(pendingFrame_.begin(), std::min(buffer.size(), pendingFrame_.size()),
                       buffer.begin());
           pendingFrame_.clear();
           return 1;
         }) != 0;
}

int FakeHandsetLibrary::RecordRead(std::string_view operation, std::string arguments, int part,
                                   std::span<std::uint8_t> buffer) {
  FakeCall call;
  call.part = part;
  call.buffer = buffer;
  return Dispatch(operation, std::move(arguments), call,
                  [&](FakeCall&) { return AtHandset() ? static_cast<int>(buffer.size()) : 0; });
}

int FakeHandsetLibrary::RecordWrite(std::string_view operation, std::string arguments, int part,
                                    std::span<const std::uint8_t> data) {
  FakeCall call;
  call.part = part;
  call.data = data;
  return Dispatch(operation, std::move(arguments), call,
                  [&](FakeCall&) { return AtHandset() ? static_cast<int>(data.size()) : 0; });
}

int FakeHandsetLibrary::XrsNvReadAddressList_rx310(
    int part, std::span<std::uint8_t, kSlotFlagPartSize> block) {
  return RecordRead("XrsNvReadAddressList_rx310", std::to_string(part), part, block);
}
int FakeHandsetLibrary::XrsNvWriteAddressList_rx310(
    int part, std::span<const std::uint8_t, kSlotFlagPartSize> block) {
  return RecordWrite("XrsNvWriteAddressList_rx310", std::to_string(part), part, block);
}
int FakeHandsetLibrary::XrsNvReadAddress_rx310(std::span<std::uint8_t, kAddressRecordSize> entry) {
  return RecordRead("XrsNvReadAddress_rx310", std::to_string(LittleEndian16(entry)), 0, entry);
}
int FakeHandsetLibrary::XrsNvWriteAddress_rx310(
    std::span<const std::uint8_t, kAddressRecordSize> entry) {
  return RecordWrite("XrsNvWriteAddress_rx310", std::to_string(LittleEndian16(entry)), 0, entry);
}
int FakeHandsetLibrary::XrsNvReadDialGroup_rx310(
    std::span<std::uint8_t, kDialGroupRecordSize> group) {
  return RecordRead("XrsNvReadDialGroup_rx310", std::to_string(group[0]), 0, group);
}
int FakeHandsetLibrary::XrsNvWriteDialGroup_rx310(
    std::span<const std::uint8_t, kDialGroupRecordSize> group) {
  return RecordWrite("XrsNvWriteDialGroup_rx310", std::to_string(group[0]), 0, group);
}
int FakeHandsetLibrary::XrsNvReadSchedule_rx310(
    std::span<std::uint8_t, kScheduleRecordSize> entry) {
  return RecordRead("XrsNvReadSchedule_rx310", std::to_string(entry[0]), 0, entry);
}
int FakeHandsetLibrary::XrsNvWriteSchedule_rx310(
    std::span<const std::uint8_t, kScheduleRecordSize> entry) {
  return RecordWrite("XrsNvWriteSchedule_rx310", std::to_string(entry[0]), 0, entry);
}
int FakeHandsetLibrary::XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize> entry) {
  return RecordRead("XrsNvReadDday_rx310", std::to_string(entry[0]), 0, entry);
}
int FakeHandsetLibrary::XrsNvWriteDday_rx310(std::span<const std::uint8_t, kDdayRecordSize> entry) {
  return RecordWrite("XrsNvWriteDday_rx310", std::to_string(entry[0]), 0, entry);
}
int FakeHandsetLibrary::XrsNvReadSmsList_rx310(std::span<std::uint8_t> list) {
  return RecordRead("XrsNvReadSmsList_rx310", std::to_string(list.size()), 0, list);
}
int FakeHandsetLibrary::XrsNvReadSmsMoList_rx310(std::span<std::uint8_t> list) {
  return RecordRead("XrsNvReadSmsMoList_rx310", std::to_string(list.size()), 0, list);
}
int FakeHandsetLibrary::XrsNvReadSmsRx_rx310(std::span<std::uint8_t> record) {
  return RecordRead("XrsNvReadSmsRx_rx310", std::to_string(LittleEndian16(record)), 0, record);
}
int FakeHandsetLibrary::XrsNvReadSmsTx_rx310(std::span<std::uint8_t> record) {
  return RecordRead("XrsNvReadSmsTx_rx310", std::to_string(record.empty() ? 0 : record[0]), 0,
                    record);
}

}  // namespace linkora::test
