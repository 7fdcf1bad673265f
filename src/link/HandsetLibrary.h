#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace linkora {

// Sizes of the buffers the library fills or sends unchanged.
inline constexpr std::size_t kVersionReplySize = 56;
inline constexpr std::size_t kSlotFlagPartSize = 100;
inline constexpr std::size_t kAddressRecordSize = 222;
inline constexpr std::size_t kDialGroupRecordSize = 27;
inline constexpr std::size_t kScheduleRecordSize = 95;
inline constexpr std::size_t kDdayRecordSize = 92;

// Error codes reported by XrsGetError.
inline constexpr int kLibraryErrorCodeRefused = 108;
inline constexpr int kLibraryErrorNvItem = 106;

// The handset communication library, operation for operation. It holds one
// serial link and the last error for the whole process; no call takes a
// handle. Open first, close last; every other call is made only while open.
// A count result means success only when it is greater than 0. A read fills
// the caller's zeroed buffer; a write sends the buffer unchanged.
class HandsetLibrary {
 public:
  virtual ~HandsetLibrary() = default;

  // Link
  virtual bool DiagOpenPort(const std::string& portName, int baudRate) = 0;
  virtual void DiagClosePort() = 0;  // allowed when nothing is open
  // Beyond the maker's operations: why the last DiagOpenPort failed, in the
  // user's words, when the user can act on it (another program holds the
  // port, the user may not use the device); "" otherwise.
  virtual std::string PortOpenProblem() { return {}; }

  // Data-mode text exchange ("AT" commands)
  virtual bool XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) = 0;
  virtual bool XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) = 0;

  // Identification and access
  virtual bool DiagGetVer(std::span<std::uint8_t, kVersionReplySize> reply) = 0;
  virtual int DiagSendSPCReq(const std::string& code) = 0;  // >= 0 accepted
  virtual int XrsGetError() = 0;
  virtual int XrsGetNvError() = 0;
  virtual int XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) = 0;
  virtual int XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) = 0;
  virtual bool DiagGetMin1(std::uint32_t& min1) = 0;
  virtual bool DiagGetMin2(std::uint32_t& min2) = 0;
  virtual bool DiagSetOfflineMode() = 0;
  virtual void DiagPhoneReset() = 0;

  // Raw diagnostic frames (the library adds and strips the link framing)
  virtual bool XrsSendFrame(std::span<const std::uint8_t> payload) = 0;
  virtual bool XrsRecvFrame(std::span<std::uint8_t> buffer) = 0;

  // Phonebook: slot-flag block parts 0..4, entries (slot in bytes 0-1), dial groups (index in byte
  // 0)
  virtual int XrsNvReadAddressList_rx310(int part,
                                         std::span<std::uint8_t, kSlotFlagPartSize> block) = 0;
  virtual int XrsNvWriteAddressList_rx310(
      int part, std::span<const std::uint8_t, kSlotFlagPartSize> block) = 0;
  virtual int XrsNvReadAddress_rx310(std::span<std::uint8_t, kAddressRecordSize> entry) = 0;
  virtual int XrsNvWriteAddress_rx310(std::span<const std::uint8_t, kAddressRecordSize> entry) = 0;
  virtual int XrsNvReadDialGroup_rx310(std::span<std::uint8_t, kDialGroupRecordSize> group) = 0;
  virtual int XrsNvWriteDialGroup_rx310(
      std::span<const std::uint8_t, kDialGroupRecordSize> group) = 0;

  // Schedules and D-days (chain position in byte 0)
  virtual int XrsNvReadSchedule_rx310(std::span<std::uint8_t, kScheduleRecordSize> entry) = 0;
  virtual int XrsNvWriteSchedule_rx310(
      std::span<const std::uint8_t, kScheduleRecordSize> entry) = 0;
  virtual int XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize> entry) = 0;
  virtual int XrsNvWriteDday_rx310(std::span<const std::uint8_t, kDdayRecordSize> entry) = 0;

  // Text messages: received and sent lists, one received or sent record
  virtual int XrsNvReadSmsList_rx310(std::span<std::uint8_t> list) = 0;
  virtual int XrsNvReadSmsMoList_rx310(std::span<std::uint8_t> list) = 0;
  virtual int XrsNvReadSmsRx_rx310(std::span<std::uint8_t> record) = 0;
  virtual int XrsNvReadSmsTx_rx310(std::span<std::uint8_t> record) = 0;
};

}  // namespace linkora
