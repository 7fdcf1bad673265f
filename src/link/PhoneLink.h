#pragma once

#include <string>

#include "link/LinkContext.h"

namespace linkora {

// Results of the link's operations.
enum LinkResult : int {
  LinkOk = 1,
  LinkNotOpen = -1,
  LinkIoError = -2,
  LinkNoOk = -4,
  LinkNoVersion = -5,
  LinkUnsupportedModel = -6,
  LinkCodeRefused = -7,
  LinkEchoMismatch = -8,
  LinkOfflineFailed = -9,
  LinkReadFailed = -10,
};

inline constexpr int kLinkBaudRate = 115200;

// One use of the library's single port: opening it, identifying the handset
// and reading its access data, with the fixed waits and retries the handset
// needs. Always a local object of the operation that uses it; destroying it
// closes the port.
class PhoneLink {
 public:
  explicit PhoneLink(LinkContext context);
  virtual ~PhoneLink();
  PhoneLink(const PhoneLink&) = delete;
  PhoneLink& operator=(const PhoneLink&) = delete;

  bool Open(const std::string& portName, int baudRate);
  void Close();
  bool IsOpen() const { return open_; }

  // Data-mode probe: does a handset of our maker answer "AT+GMI" on the port?
  bool IsMakerHandset(const std::string& portName, int baudRate);
  // Opens the port, checks the model and closes again; true only for a supported model.
  bool ProbeModel(const std::string& portName, int baudRate);

  LinkResult EnterDiagMode();
  LinkResult CheckModel();
  LinkResult SendServiceCode();
  LinkResult SetOffline();
  LinkResult LeaveDiagMode();
  LinkResult ReadLockFlag(bool& locked);
  LinkResult ReadLockCode(std::string& code);
  LinkResult ReadPhoneNumber(std::string& number);

  void SetServiceCode(const std::string& code) { serviceCode_ = code; }
  const std::string& ServiceCode() const { return serviceCode_; }

 private:
  LinkContext context_;
  bool open_ = false;
  std::string serviceCode_;
};

// Turns the two number words of the handset into its phone number: ten
// digits, with a 0 put in front when they do not begin with 0.
std::string DecodePhoneNumber(unsigned min1, unsigned min2);

}  // namespace linkora
