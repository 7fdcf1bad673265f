#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/HandsetLibrary.h"
#include "tests/support/RecordingSleep.h"

namespace linkora::test {

// One call as a handler sees it.
struct FakeCall {
  std::string_view operation;
  int number = 0;                      // 1 for the first call of this operation
  int part = 0;                        // slot-flag part, where the operation takes one
  std::span<std::uint8_t> buffer;      // what a read fills
  std::span<const std::uint8_t> data;  // what a write or send carries
};

// A scriptable stand-in for the handset library. Out of the box it behaves
// like one handset on `handsetPort` in data mode; tests change its state,
// make the n-th call of an operation fail, or replace an operation with a
// handler. Every call, and every wait of `sleep`, goes into one log.
class FakeHandsetLibrary final : public HandsetLibrary {
 public:
  using Handler = std::function<int(FakeCall&)>;

  // The emulated handset.
  std::string handsetPort = "COM11";   // empty: no handset anywhere
  std::set<std::string> missingPorts;  // ports that fail to open
  // Why a missing port failed, in the user's words (PortOpenProblem).
  std::map<std::string, std::string> portProblems;
  bool diagMode = false;
  std::string makerReply = "Norvane Mobile RX-3100\r\n";
  std::string modelText = "RX310K";  // bytes 39.. of the version reply
  std::string serviceCode = "472913";
  bool lockFlag = true;
  std::string lockCode = "1234";
  std::uint32_t min1 = 0;
  std::uint32_t min2 = 0;
  int lastError = 0;
  int nvError = 0;

  // Sets MIN1 and MIN2 from the raw number fields.
  void SetNumberFields(unsigned area, unsigned exchange, unsigned thousands, unsigned line);

  // The nth call (1-based) of the operation fails, and the `times - 1` calls
  // after it too. A failing call sets the last error to `error`.
  void FailCall(std::string_view operation, int nth, int times = 1, int error = 0);
  // Replaces an operation. The handler's result is the count (or, for an
  // operation giving true or false, non-zero for true).
  void On(std::string_view operation, Handler handler);

  // The log of calls, e.g. "DiagOpenPort(COM11, 115200)", "Sleep(500)".
  std::vector<std::string> log;
  RecordingSleep sleep{&log};

  // Calls of one operation, in order, as logged.
  std::vector<std::string> CallsOf(std::string_view operation) const;
  int CountOf(std::string_view operation) const;
  const std::string& OpenPort() const { return openPort_; }

  bool DiagOpenPort(const std::string& portName, int baudRate) override;
  void DiagClosePort() override;
  std::string PortOpenProblem() override { return portProblem_; }
  bool XrsSyncSend(std::span<const std::uint8_t> bytes, int& sent) override;
  bool XrsSyncRecv(std::span<std::uint8_t> buffer, int& received) override;
  bool DiagGetVer(std::span<std::uint8_t, kVersionReplySize> reply) override;
  int DiagSendSPCReq(const std::string& code) override;
  int XrsGetError() override;
  int XrsGetNvError() override;
  int XrsNvReadLock_rx310(std::span<std::uint8_t, 1> flag) override;
  int XrsNvReadUserLock_rx310(std::span<std::uint8_t, 4> code) override;
  bool DiagGetMin1(std::uint32_t& value) override;
  bool DiagGetMin2(std::uint32_t& value) override;
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

 private:
  struct Failure {
    int first;
    int last;
    int error;
  };

  // Logs the call, counts it and decides its outcome: the injected failure,
  // the handler, or `normal` (the built-in behaviour).
  int Dispatch(std::string_view operation, std::string arguments, FakeCall call,
               const std::function<int(FakeCall&)>& normal);
  bool AtHandset() const;
  int RecordRead(std::string_view operation, std::string arguments, int part,
                 std::span<std::uint8_t> buffer);
  int RecordWrite(std::string_view operation, std::string arguments, int part,
                  std::span<const std::uint8_t> data);

  std::map<std::string, int, std::less<>> counts_;
  std::map<std::string, std::vector<Failure>, std::less<>> failures_;
  std::map<std::string, Handler, std::less<>> handlers_;
  std::string openPort_;
  std::string portProblem_;
  std::vector<std::uint8_t> pendingText_;
  std::vector<std::uint8_t> pendingFrame_;
};

}  // namespace linkora::test
