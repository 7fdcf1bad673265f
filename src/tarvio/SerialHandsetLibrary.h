#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "link/HandsetLibrary.h"
#include "tarvio/Frame.h"
#include "tarvio/PortMap.h"
#include "tarvio/ProtocolLog.h"
#include "tarvio/SerialPort.h"

namespace linkora {

// Error codes of XrsGetError besides those of the handset library interface
// (108 code refused, 106 NV item error). 0 means no error so far.
inline constexpr int kLibraryErrorNotOpen = 101;      // no port open
inline constexpr int kLibraryErrorSendFailed = 102;   // the port took fewer bytes than sent
inline constexpr int kLibraryErrorNoReply = 103;      // nothing came back in time
inline constexpr int kLibraryErrorBadReply = 104;     // a garbled, short or foreign reply
inline constexpr int kLibraryErrorRefused = 105;      // the handset answered with an error reply
inline constexpr int kLibraryErrorBadArgument = 107;  // a buffer too small for the reply

// The user's words for a port that did not open (busy, forbidden), or "".
std::string RefusalText(const std::string& portName, const std::filesystem::path& device,
                        const PortRefusal& refusal);

// The handset library over a serial line: data-mode text for the "AT"
// commands, framed requests and replies in diagnostic mode (docs/protocol.md).
// One port open at a time. Every wait is bounded by the timeouts below, so a
// port with nothing behind it costs at most one reply timeout.
class SerialHandsetLibrary final : public HandsetLibrary {
 public:
  struct Options {
    PortMap ports = PortMap::FromEnvironment();
    int replyTimeoutMs = 400;  // a request's reply, from the end of the send
    int frameTimeoutMs = 300;  // XrsRecvFrame
    int textTimeoutMs = 200;   // XrsSyncRecv: first byte; the text ends after 30 ms of quiet
    std::string protocolLogPath = EnvironmentLogPath();
  };

  static std::string EnvironmentLogPath();  // $LINKORA_PROTOCOL_LOG or ""

  SerialHandsetLibrary();
  explicit SerialHandsetLibrary(Options options);
  ~SerialHandsetLibrary() override;

  bool DiagOpenPort(const std::string& portName, int baudRate) override;
  void DiagClosePort() override;
  std::string PortOpenProblem() override { return portProblem_; }
  bool XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) override;
  bool XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) override;
  bool DiagGetVer(std::span<std::uint8_t, kVersionReplySize> reply) override;
  int DiagSendSPCReq(const std::string& code) override;
  int XrsGetError() override { return lastError_; }
  int XrsGetNvError() override { return nvError_; }
  int XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) override;
  int XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) override;
  bool DiagGetMin1(std::uint32_t& min1) override;
  bool DiagGetMin2(std::uint32_t& min2) override;
  bool DiagSetOfflineMode() override;
  void DiagPhoneReset() override;
  bool XrsSendFrame(std::span<const std::uint8_t> payload) override;
  bool XrsRecvFrame(std::span<std::uint8_t> buffer) override;
  int XrsNvReadAddressList_rx310(int part,
                                 std::span<std::uint8_t, kSlotFlagPartSize> block) override;
  int XrsNvWriteAddressList_rx310(int part,
                                  std::span<const std::uint8_t, kSlotFlagPartSize> block) override;
  int XrsNvReadAddress_rx310(std::span<std::uint8_t, kAddressRecordSize> entry) override;
  int XrsNvWriteAddress_rx310(std::span<const std::uint8_t, kAddressRecordSize> entry) override;
  int XrsNvReadDialGroup_rx310(std::span<std::uint8_t, kDialGroupRecordSize> group) override;
  int XrsNvWriteDialGroup_rx310(std::span<const std::uint8_t, kDialGroupRecordSize> group) override;
  int XrsNvReadSchedule_rx310(std::span<std::uint8_t, kScheduleRecordSize> entry) override;
  int XrsNvWriteSchedule_rx310(std::span<const std::uint8_t, kScheduleRecordSize> entry) override;
  int XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize> entry) override;
  int XrsNvWriteDday_rx310(std::span<const std::uint8_t, kDdayRecordSize> entry) override;
  int XrsNvReadSmsList_rx310(std::span<std::uint8_t> list) override;
  int XrsNvReadSmsMoList_rx310(std::span<std::uint8_t> list) override;
  int XrsNvReadSmsRx_rx310(std::span<std::uint8_t> record) override;
  int XrsNvReadSmsTx_rx310(std::span<std::uint8_t> record) override;

  // Why the last call failed, in words (for diagnosis; not shown to users).
  const std::string& LastFailure() const { return lastFailure_; }
  // Bytes that crossed the line since construction, each way.
  std::uint64_t BytesSent() const { return bytesSent_; }
  std::uint64_t BytesReceived() const { return bytesReceived_; }
  bool IsOpen() const { return port_.IsOpen(); }

 private:
  bool Fail(int error, std::string why);
  bool WriteRaw(std::span<const std::uint8_t> bytes);
  int ReadRaw(std::span<std::uint8_t> buffer, int timeoutMs);
  bool SendPayload(std::span<const std::uint8_t> payload);
  // Waits for the next frame; a dropped (garbled) frame ends the wait as a failure.
  bool ReceivePayload(std::vector<std::uint8_t>& payload, int timeoutMs);
  // Sends a request and waits for the reply that echoes its code.
  bool Exchange(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply);
  int NvRead(std::uint16_t item, std::uint16_t key, std::span<std::uint8_t> out);
  int NvWrite(std::uint16_t item, std::uint16_t key, std::span<const std::uint8_t> record);

  Options options_;
  SerialPort port_;
  FrameDecoder decoder_;
  ProtocolLog log_;
  int lastError_ = 0;
  int nvError_ = 0;
  std::string lastFailure_;
  std::string portProblem_;
  std::uint64_t bytesSent_ = 0;
  std::uint64_t bytesReceived_ = 0;
};

}  // namespace linkora
