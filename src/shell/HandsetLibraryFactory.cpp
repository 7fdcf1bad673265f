#include "shell/HandsetLibraryFactory.h"

namespace linkora {
namespace {

// Stands in until the serial library is part of the program: no port opens
// and every call fails, so every transfer reports that the port cannot be
// opened.
class UnavailableHandsetLibrary final : public HandsetLibrary {
 public:
  bool DiagOpenPort(const std::string&, int) override { return false; }
  void DiagClosePort() override {}
  bool XrsSyncSend(std::span<const std::uint8_t>, int& sent) override {
    sent = 0;
    return false;
  }
  bool XrsSyncRecv(std::span<std::uint8_t>, int& received) override {
    received = 0;
    return false;
  }
  bool DiagGetVer(std::span<std::uint8_t, kVersionReplySize>) override { return false; }
  int DiagSendSPCReq(const std::string&) override { return -1; }
  int XrsGetError() override { return 0; }
  int XrsGetNvError() override { return 0; }
  int XrsNvReadLock_rx310(std::span<std::uint8_t, 1>) override { return 0; }
  int XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4>) override { return 0; }
  bool DiagGetMin1(std::uint32_t&) override { return false; }
  bool DiagGetMin2(std::uint32_t&) override { return false; }
  bool DiagSetOfflineMode() override { return false; }
  void DiagPhoneReset() override {}
  bool XrsSendFrame(std::span<const std::uint8_t>) override { return false; }
  bool XrsRecvFrame(std::span<std::uint8_t>) override { return false; }
  int XrsNvReadAddressList_rx310(int, std::span<std::uint8_t, kSlotFlagPartSize>) override {
    return 0;
  }
  int XrsNvWriteAddressList_rx310(int, std::span<const std::uint8_t, kSlotFlagPartSize>) override {
    return 0;
  }
  int XrsNvReadAddress_rx310(std::span<std::uint8_t, kAddressRecordSize>) override { return 0; }
  int XrsNvWriteAddress_rx310(std::span<const std::uint8_t, kAddressRecordSize>) override {
    return 0;
  }
  int XrsNvReadDialGroup_rx310(std::span<std::uint8_t, kDialGroupRecordSize>) override { return 0; }
  int XrsNvWriteDialGroup_rx310(std::span<const std::uint8_t, kDialGroupRecordSize>) override {
    return 0;
  }
  int XrsNvReadSchedule_rx310(std::span<std::uint8_t, kScheduleRecordSize>) override { return 0; }
  int XrsNvWriteSchedule_rx310(std::span<const std::uint8_t, kScheduleRecordSize>) override {
    return 0;
  }
  int XrsNvReadDday_rx310(std::span<std::uint8_t, kDdayRecordSize>) override { return 0; }
  int XrsNvWriteDday_rx310(std::span<const std::uint8_t, kDdayRecordSize>) override { return 0; }
  int XrsNvReadSmsList_rx310(std::span<std::uint8_t>) override { return 0; }
  int XrsNvReadSmsMoList_rx310(std::span<std::uint8_t>) override { return 0; }
  int XrsNvReadSmsRx_rx310(std::span<std::uint8_t>) override { return 0; }
  int XrsNvReadSmsTx_rx310(std::span<std::uint8_t>) override { return 0; }
};

}  // namespace

std::unique_ptr<HandsetLibrary> CreateHandsetLibrary() {
  return std::make_unique<UnavailableHandsetLibrary>();
}

}  // namespace linkora
