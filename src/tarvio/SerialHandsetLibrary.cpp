#include "tarvio/SerialHandsetLibrary.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fmt/printf.h>

#include "common/ByteRecord.h"
#include "resources/PortTexts.h"
#include "tarvio/Protocol.h"

namespace linkora {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using protocol::NvItem;

// After the first byte of a data-mode reply, the text ends after this much quiet.
constexpr int kTextQuietMs = 30;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool IsErrorReply(std::uint8_t code) {
  return code == protocol::kBadCommand || code == protocol::kBadParameters ||
         code == protocol::kBadLength;
}

std::uint16_t Item(NvItem item) {
  return static_cast<std::uint16_t>(item);
}

}  // namespace

std::string RefusalText(const std::string& portName, const std::filesystem::path& device,
                        const PortRefusal& refusal) {
  std::error_code ec;
  const fs::path real = fs::canonical(device, ec);
  const std::string shown = (ec ? device : real).string();
  switch (refusal.kind) {
    case PortRefusal::Kind::kBusy:
      if (refusal.holder.pid > 0) {
        const std::string program = refusal.holder.program.empty() ? "?" : refusal.holder.program;
        return fmt::sprintf(std::string(texts::kPortBusyBy), portName, shown, program,
                            refusal.holder.pid);
      }
      return fmt::sprintf(std::string(texts::kPortBusy), portName, shown);
    case PortRefusal::Kind::kDenied:
      if (!refusal.group.empty()) {
        return fmt::sprintf(std::string(texts::kPortDeniedGroup), portName, shown, refusal.group,
                            refusal.group);
      }
      return fmt::sprintf(std::string(texts::kPortDenied), portName, shown);
    case PortRefusal::Kind::kNone:
      break;
  }
  return "";
}

std::string SerialHandsetLibrary::EnvironmentLogPath() {
  const char* path = std::getenv("LINKORA_PROTOCOL_LOG");
  return path != nullptr ? path : "";
}

SerialHandsetLibrary::SerialHandsetLibrary() : SerialHandsetLibrary(Options{}) {}

SerialHandsetLibrary::SerialHandsetLibrary(Options options) : options_(std::move(options)) {
  log_.Open(options_.protocolLogPath);
}

SerialHandsetLibrary::~SerialHandsetLibrary() {
  DiagClosePort();
}

bool SerialHandsetLibrary::Fail(int error, std::string why) {
  lastError_ = error;
  lastFailure_ = std::move(why);
  log_.Line("--", "failure: " + lastFailure_);
  return false;
}

bool SerialHandsetLibrary::DiagOpenPort(const std::string& portName, int baudRate) {
  DiagClosePort();
  log_.SetPort(portName);
  portProblem_.clear();
  std::string why;
  const auto device = options_.ports.Resolve(portName, &why);
  if (!device) {
    return Fail(kLibraryErrorNotOpen, portName + ": " + why);
  }
  std::string error;
  if (!port_.Open(device->string(), baudRate, error)) {
    portProblem_ = RefusalText(portName, *device, port_.Refusal());
    return Fail(kLibraryErrorNotOpen, portName + " -> " + error);
  }
  decoder_.Reset();
  lastError_ = 0;
  nvError_ = 0;
  log_.Line("--",
            "open " + portName + " -> " + device->string() + " at " + std::to_string(baudRate));
  return true;
}

void SerialHandsetLibrary::DiagClosePort() {
  if (port_.IsOpen()) {
    log_.Line("--", "close");
  }
  port_.Close();
  decoder_.Reset();
}

bool SerialHandsetLibrary::WriteRaw(std::span<const std::uint8_t> bytes) {
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  log_.Bytes("TX", bytes);
  if (!port_.Write(bytes)) {
    return Fail(kLibraryErrorSendFailed, "the port did not take the bytes");
  }
  bytesSent_ += bytes.size();
  return true;
}

int SerialHandsetLibrary::ReadRaw(std::span<std::uint8_t> buffer, int timeoutMs) {
  const int n = port_.Read(buffer, timeoutMs);
  if (n > 0) {
    bytesReceived_ += static_cast<std::uint64_t>(n);
    log_.Bytes("RX", buffer.first(static_cast<std::size_t>(n)));
  }
  return n;
}

bool SerialHandsetLibrary::XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) {
  sent = 0;
  if (!WriteRaw(bytes)) {
    return false;
  }
  sent = static_cast<int>(bytes.size());
  return true;
}

bool SerialHandsetLibrary::XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) {
  received = 0;
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  std::size_t got = 0;
  int wait = options_.textTimeoutMs;
  while (got < buffer.size()) {
    const int n = ReadRaw(buffer.subspan(got), wait);
    if (n < 0) {
      return Fail(kLibraryErrorNoReply, "the port failed while reading text");
    }
    if (n == 0) {
      break;
    }
    got += static_cast<std::size_t>(n);
    wait = kTextQuietMs;
  }
  received = static_cast<int>(got);
  if (got == 0) {
    return Fail(kLibraryErrorNoReply, "no text came back");
  }
  return true;
}

bool SerialHandsetLibrary::SendPayload(std::span<const std::uint8_t> payload) {
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  // A leading flag closes off whatever stray bytes the handset holds (an "AT"
  // line it ignored in diagnostic mode, say), so they cannot spoil this frame.
  std::vector<std::uint8_t> line{kFrameFlag};
  const auto frame = EncodeFrame(payload);
  line.insert(line.end(), frame.begin(), frame.end());
  log_.Line("TX", protocol::Describe(payload, false));
  return WriteRaw(line);
}

bool SerialHandsetLibrary::ReceivePayload(std::vector<std::uint8_t>& payload, int timeoutMs) {
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::array<std::uint8_t, 512> chunk{};
  for (;;) {
    ReceivedFrame frame;
    if (decoder_.Next(frame)) {
      if (frame.error != FrameError::kNone) {
        log_.Line("RX", std::string("dropped frame: ") + std::string(FrameErrorText(frame.error)));
        return Fail(kLibraryErrorBadReply,
                    std::string("a garbled reply: ") + std::string(FrameErrorText(frame.error)));
      }
      log_.Line("RX", protocol::Describe(frame.payload, true));
      payload = std::move(frame.payload);
      return true;
    }
    const int n = ReadRaw(chunk, MillisecondsLeft(deadline));
    if (n < 0) {
      return Fail(kLibraryErrorNoReply, "the port failed while waiting for a reply");
    }
    if (n == 0) {
      return Fail(kLibraryErrorNoReply, "no reply in time");
    }
    decoder_.Feed(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(n)));
  }
}

bool SerialHandsetLibrary::Exchange(std::span<const std::uint8_t> request,
                                    std::vector<std::uint8_t>& reply) {
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  // Whatever came before this request (a late reply to an earlier one) is stale.
  port_.DiscardInput();
  decoder_.Reset();
  if (!SendPayload(request)) {
    return false;
  }
  if (!ReceivePayload(reply, options_.replyTimeoutMs)) {
    return false;
  }
  if (reply.empty()) {
    return Fail(kLibraryErrorBadReply, "an empty reply");
  }
  if (IsErrorReply(reply[0])) {
    return Fail(kLibraryErrorRefused, protocol::Describe(reply, true));
  }
  if (reply[0] != request[0]) {
    return Fail(kLibraryErrorBadReply, "a reply to another request");
  }
  return true;
}

bool SerialHandsetLibrary::DiagGetVer(std::span<std::uint8_t, kVersionReplySize> out) {
  const std::uint8_t request[] = {protocol::kVersion};
  std::vector<std::uint8_t> reply;
  if (!Exchange(request, reply)) {
    return false;
  }
  if (reply.size() != protocol::kVersionReplySize) {
    return Fail(kLibraryErrorBadReply, "a version reply of the wrong length");
  }
  std::copy(reply.begin(), reply.end(), out.begin());
  return true;
}

int SerialHandsetLibrary::DiagSendSPCReq(const std::string& code) {
  std::vector<std::uint8_t> request{protocol::kServiceCode};
  request.insert(request.end(), code.begin(), code.end());
  std::vector<std::uint8_t> reply;
  if (!Exchange(request, reply)) {
    return -1;
  }
  if (reply.size() < 2) {
    Fail(kLibraryErrorBadReply, "a short service code reply");
    return -1;
  }
  if (reply[1] == 0) {
    Fail(kLibraryErrorCodeRefused, "the service code was refused");
    return -1;
  }
  return 0;
}

int SerialHandsetLibrary::NvRead(std::uint16_t item, std::uint16_t key,
                                 std::span<std::uint8_t> out) {
  const auto request = protocol::NvReadRequest(item, key);
  std::vector<std::uint8_t> reply;
  if (!Exchange(request, reply)) {
    return -1;
  }
  if (reply.size() < protocol::kNvReplyHeader || ReadU16(reply, 1) != item ||
      ReadU16(reply, 3) != key) {
    Fail(kLibraryErrorBadReply, "an NV reply for another item");
    return -1;
  }
  const int result = static_cast<std::int8_t>(reply[protocol::kNvResultOffset]);
  if (result <= 0) {
    nvError_ = reply[protocol::kNvStatusOffset];
    Fail(kLibraryErrorNvItem,
         "the handset could not read the item (NV status " + std::to_string(nvError_) + ")");
    return result;
  }
  const std::size_t size = reply.size() - protocol::kNvReplyHeader;
  if (size > out.size()) {
    Fail(kLibraryErrorBadReply, "an NV record longer than the buffer");
    return -1;
  }
  std::copy(reply.begin() + protocol::kNvReplyHeader, reply.end(), out.begin());
  return result;
}

int SerialHandsetLibrary::NvWrite(std::uint16_t item, std::uint16_t key,
                                  std::span<const std::uint8_t> record) {
  const auto request = protocol::NvWriteRequest(item, key, record);
  std::vector<std::uint8_t> reply;
  if (!Exchange(request, reply)) {
    return -1;
  }
  if (reply.size() < protocol::kNvReplyHeader || ReadU16(reply, 1) != item ||
      ReadU16(reply, 3) != key) {
    Fail(kLibraryErrorBadReply, "an NV reply for another item");
    return -1;
  }
  const int result = static_cast<std::int8_t>(reply[protocol::kNvResultOffset]);
  if (result <= 0) {
    nvError_ = reply[protocol::kNvStatusOffset];
    Fail(kLibraryErrorNvItem,
         "the handset could not write the item (NV status " + std::to_string(nvError_) + ")");
  }
  return result;
}

int SerialHandsetLibrary::XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) {
  return NvRead(Item(NvItem::kLockFlag), 0, flag);
}

int SerialHandsetLibrary::XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) {
  return NvRead(Item(NvItem::kUserLock), 0, code);
}

bool SerialHandsetLibrary::DiagGetMin1(std::uint32_t& min1) {
  std::array<std::uint8_t, 4> bytes{};
  if (NvRead(Item(NvItem::kMin1), 0, bytes) <= 0) {
    return false;
  }
  min1 = ReadU32(bytes, 0);
  return true;
}

bool SerialHandsetLibrary::DiagGetMin2(std::uint32_t& min2) {
  std::array<std::uint8_t, 4> bytes{};
  if (NvRead(Item(NvItem::kMin2), 0, bytes) <= 0) {
    return false;
  }
  min2 = ReadU32(bytes, 0);
  return true;
}

bool SerialHandsetLibrary::DiagSetOfflineMode() {
  const std::uint8_t request[] = {protocol::kControl, protocol::kControlOffline};
  std::vector<std::uint8_t> reply;
  if (!Exchange(request, reply)) {
    return false;
  }
  if (reply.size() < 2 || reply[1] != protocol::kControlOffline) {
    return Fail(kLibraryErrorBadReply, "the offline request was not confirmed");
  }
  return true;
}

void SerialHandsetLibrary::DiagPhoneReset() {
  const std::uint8_t request[] = {protocol::kControl, protocol::kControlReset};
  std::vector<std::uint8_t> reply;
  Exchange(request, reply);
}

bool SerialHandsetLibrary::XrsSendFrame(std::span<const std::uint8_t> payload) {
  if (payload.empty() || payload.size() > kMaxFramePayload) {
    return Fail(kLibraryErrorBadArgument, "a frame of no bytes or too many bytes");
  }
  if (!port_.IsOpen()) {
    return Fail(kLibraryErrorNotOpen, "no port open");
  }
  port_.DiscardInput();
  decoder_.Reset();
  return SendPayload(payload);
}

bool SerialHandsetLibrary::XrsRecvFrame(std::span<std::uint8_t> buffer) {
  std::vector<std::uint8_t> payload;
  if (!ReceivePayload(payload, options_.frameTimeoutMs)) {
    return false;
  }
  if (payload.size() > buffer.size()) {
    return Fail(kLibraryErrorBadArgument,
                "a frame longer than the buffer (" + std::to_string(payload.size()) + " bytes)");
  }
  std::copy(payload.begin(), payload.end(), buffer.begin());
  return true;
}

int SerialHandsetLibrary::XrsNvReadAddressList_rx310(
    int part, std::span<std::uint8_t, kSlotFlagPartSize> block) {
  return NvRead(Item(NvItem::kAddressList), static_cast<std::uint16_t>(part), block);
}

int SerialHandsetLibrary::XrsNvWriteAddressList_rx310(
    int part, std::span<const std::uint8_t, kSlotFlagPartSize> block) {
  return NvWrite(Item(NvItem::kAddressList), static_cast<std::uint16_t>(part), block);
}

int SerialHandsetLibrary::XrsNvReadAddress_rx310(
    std::span<std::uint8_t, kAddressRecordSize> entry) {
  return NvRead(Item(NvItem::kAddress), ReadU16(entry, 0), entry);
}

int SerialHandsetLibrary::XrsNvWriteAddress_rx310(
    std::span<const std::uint8_t, kAddressRecordSize> entry) {
  return NvWrite(Item(NvItem::kAddress), ReadU16(entry, 0), entry);
}

int SerialHandsetLibrary::XrsNvReadDialGroup_rx310(
    std::span<std::uint8_t, kDialGroupRecordSize> group) {
  return NvRead(Item(NvItem::kDialGroup), group[0], group);
}

int SerialHandsetLibrary::XrsNvWriteDialGroup_rx310(
    std::span<const std::uint8_t, kDialGroupRecordSize> group) {
  return NvWrite(Item(NvItem::kDialGroup), group[0], group);
}

int SerialHandsetLibrary::XrsNvReadSchedule_rx310(
    std::span<std::uint8_t, kScheduleRecordSize> entry) {
  return NvRead(Item(NvItem::kSchedule), entry[0], entry);
}

int SerialHandsetLibrary::XrsNvWriteSchedule_rx310(
    std::span<const std::uint8_t, kScheduleRecordSize> entry) {
  return NvWrite(Item(NvItem::kSchedule), entry[0], entry);
}

int SerialHandsetLibrary::XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize> entry) {
  return NvRead(Item(NvItem::kDday), entry[0], entry);
}

int SerialHandsetLibrary::XrsNvWriteDday_rx310(
    std::span<const std::uint8_t, kDdayRecordSize> entry) {
  return NvWrite(Item(NvItem::kDday), entry[0], entry);
}

int SerialHandsetLibrary::XrsNvReadSmsList_rx310(std::span<std::uint8_t> list) {
  return NvRead(Item(NvItem::kSmsList), 0, list);
}

int SerialHandsetLibrary::XrsNvReadSmsMoList_rx310(std::span<std::uint8_t> list) {
  return NvRead(Item(NvItem::kSmsMoList), 0, list);
}

int SerialHandsetLibrary::XrsNvReadSmsRx_rx310(std::span<std::uint8_t> record) {
  if (record.size() < 2) {
    Fail(kLibraryErrorBadArgument, "a received-message buffer without its slot number");
    return -1;
  }
  return NvRead(Item(NvItem::kSmsRx), ReadU16(record, 0), record);
}

int SerialHandsetLibrary::XrsNvReadSmsTx_rx310(std::span<std::uint8_t> record) {
  if (record.empty()) {
    Fail(kLibraryErrorBadArgument, "a sent-message buffer without its slot byte");
    return -1;
  }
  return NvRead(Item(NvItem::kSmsTx), record[0], record);
}

}  // namespace linkora
