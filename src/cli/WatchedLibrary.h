#pragma once

#include <string_view>

#include "link/HandsetLibrary.h"

namespace linkora::cli {

// The handset library as the tool uses it: every call goes through to the
// real one, and the last call that failed is remembered, so that a transfer
// that ends without a message (the windows are silent in a few places) can
// still be reported with the step that failed.
class WatchedLibrary final : public HandsetLibrary {
 public:
  explicit WatchedLibrary(HandsetLibrary& inner) : inner_(inner) {}

  // The operation that failed last, cleared by any later call that succeeds;
  // empty when nothing failed.
  std::string_view LastFailure() const { return lastFailure_; }

  bool DiagOpenPort(const std::string& portName, int baudRate) override {
    return Note("DiagOpenPort", inner_.DiagOpenPort(portName, baudRate));
  }
  // Why a port could not be opened (busy, forbidden, a stale link) comes
  // from the library underneath, not from the watch.
  std::string PortOpenProblem() override { return inner_.PortOpenProblem(); }
  void DiagClosePort() override { inner_.DiagClosePort(); }
  bool XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) override {
    return Note("XrsSyncSend", inner_.XrsSyncSend(bytes, sent));
  }
  bool XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) override {
    return Note("XrsSyncRecv", inner_.XrsSyncRecv(buffer, received));
  }
  bool DiagGetVer(std::span<std::uint8_t, kVersionReplySize> reply) override {
    return Note("DiagGetVer", inner_.DiagGetVer(reply));
  }
  int DiagSendSPCReq(const std::string& code) override {
    const int result = inner_.DiagSendSPCReq(code);
    Note("DiagSendSPCReq", result >= 0);
    return result;
  }
  int XrsGetError() override { return inner_.XrsGetError(); }
  int XrsGetNvError() override { return inner_.XrsGetNvError(); }
  int XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) override {
    return Count("XrsNvReadLock_rx310", inner_.XrsNvReadLock_rx310(flag));
  }
  int XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) override {
    return Count("XrsNvReadUserLock_rx310", inner_.XrsNvReadUserLock_rx310(code));
  }
  bool DiagGetMin1(std::uint32_t& min1) override {
    return Note("DiagGetMin1", inner_.DiagGetMin1(min1));
  }
  bool DiagGetMin2(std::uint32_t& min2) override {
    return Note("DiagGetMin2", inner_.DiagGetMin2(min2));
  }
  bool DiagSetOfflineMode() override {
    return Note("DiagSetOfflineMode", inner_.DiagSetOfflineMode());
  }
  void DiagPhoneReset() override { inner_.DiagPhoneReset(); }
  bool XrsSendFrame(std::span<const std::uint8_t> payload) override {
    return Note("XrsSendFrame", inner_.XrsSendFrame(payload));
  }
  bool XrsRecvFrame(std::span<std::uint8_t> buffer) override {
    return Note("XrsRecvFrame", inner_.XrsRecvFrame(buffer));
  }
  int XrsNvReadAddressList_rx310(int part,
                                 std::span<std::uint8_t, kSlotFlagPartSize> block) override {
    return Count("XrsNvReadAddressList_rx310", inner_.XrsNvReadAddressList_rx310(part, block));
  }
  int XrsNvWriteAddressList_rx310(int part,
                                  std::span<const std::uint8_t, kSlotFlagPartSize> block) override {
    return Count("XrsNvWriteAddressList_rx310", inner_.XrsNvWriteAddressList_rx310(part, block));
  }
  int XrsNvReadAddress_rx310(std::span<std::uint8_t, kAddressRecordSize> entry) override {
    return Count("XrsNvReadAddress_rx310", inner_.XrsNvReadAddress_rx310(entry));
  }
  int XrsNvWriteAddress_rx310(std::span<const std::uint8_t, kAddressRecordSize> entry) override {
    return Count("XrsNvWriteAddress_rx310", inner_.XrsNvWriteAddress_rx310(entry));
  }
  int XrsNvReadDialGroup_rx310(std::span<std::uint8_t, kDialGroupRecordSize> group) override {
    return Count("XrsNvReadDialGroup_rx310", inner_.XrsNvReadDialGroup_rx310(group));
  }
  int XrsNvWriteDialGroup_rx310(
      std::span<const std::uint8_t, kDialGroupRecordSize> group) override {
    return Count("XrsNvWriteDialGroup_rx310", inner_.XrsNvWriteDialGroup_rx310(group));
  }
  int XrsNvReadSchedule_rx310(std::span<std::uint8_t, kScheduleRecordSize> entry) override {
    return Count("XrsNvReadSchedule_rx310", inner_.XrsNvReadSchedule_rx310(entry));
  }
  int XrsNvWriteSchedule_rx310(std::span<const std::uint8_t, kScheduleRecordSize> entry) override {
    return Count("XrsNvWriteSchedule_rx310", inner_.XrsNvWriteSchedule_rx310(entry));
  }
  int XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize> entry) override {
    return Count("XrsNvReadDday_rx310", inner_.XrsNvReadDday_rx310(entry));
  }
  int XrsNvWriteDday_rx310(std::span<const std::uint8_t, kDdayRecordSize> entry) override {
    return Count("XrsNvWriteDday_rx310", inner_.XrsNvWriteDday_rx310(entry));
  }
  int XrsNvReadSmsList_rx310(std::span<std::uint8_t> list) override {
    return Count("XrsNvReadSmsList_rx310", inner_.XrsNvReadSmsList_rx310(list));
  }
  int XrsNvReadSmsMoList_rx310(std::span<std::uint8_t> list) override {
    return Count("XrsNvReadSmsMoList_rx310", inner_.XrsNvReadSmsMoList_rx310(list));
  }
  int XrsNvReadSmsRx_rx310(std::span<std::uint8_t> record) override {
    return Count("XrsNvReadSmsRx_rx310", inner_.XrsNvReadSmsRx_rx310(record));
  }
  int XrsNvReadSmsTx_rx310(std::span<std::uint8_t> record) override {
    return Count("XrsNvReadSmsTx_rx310", inner_.XrsNvReadSmsTx_rx310(record));
  }

 private:
  bool Note(std::string_view operation, bool ok) {
    lastFailure_ = ok ? std::string_view() : operation;
    return ok;
  }
  int Count(std::string_view operation, int count) {
    Note(operation, count > 0);
    return count;
  }

  HandsetLibrary& inner_;
  std::string_view lastFailure_;
};

}  // namespace linkora::cli
