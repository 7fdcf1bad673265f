#include "link/PhoneLink.h"

#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "common/Sleep.h"
#include "link/HandsetLibrary.h"
#include "link/SessionState.h"

namespace linkora {
namespace {

constexpr int kMakerReplyWaitMs = 500;
constexpr int kModeSwitchWaitMs = 2000;
constexpr int kOfflineRetryWaitMs = 500;
constexpr int kModeReturnWaitMs = 150;
constexpr std::uint8_t kModeReturnCode = 0x44;

constexpr std::size_t kMakerReplySize = 64;
constexpr std::size_t kModeSwitchReplySize = 32;
constexpr std::size_t kModelTextOffset = 39;
constexpr std::size_t kModelTextLength = 8;

// The text in a buffer up to its first zero byte, never past its end.
std::string_view TextIn(std::span<const std::uint8_t> buffer) {
  const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
  return {reinterpret_cast<const char*>(buffer.data()),
          static_cast<std::size_t>(end - buffer.begin())};
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(prefix[i]);
    if (std::toupper(a) != std::toupper(b)) {
      return false;
    }
  }
  return true;
}

struct SupportedModel {
  std::string_view prefix;
  int modelIndex;
};

// Checked in this order; the first match wins.
constexpr std::array<SupportedModel, 4> kSupportedModels{{
    {"R310K", 1},
    {"R210K", 0},
    {"RX310K", 1},
    {"RX210K", 0},
}};

// A three-digit field: each decimal digit of the 10-bit value is a code, 0..8
// standing for the digits 1..9 and 9 or more for the digit 0.
void AppendThreeDigits(std::string& out, unsigned value) {
  for (const unsigned code : {value / 100, (value % 100) / 10, value % 10}) {
    out.push_back(code < 9 ? static_cast<char>('1' + code) : '0');
  }
}

}  // namespace

std::string DecodePhoneNumber(unsigned min1, unsigned min2) {
  std::string number;
  AppendThreeDigits(number, min2 & 0x3FFu);
  AppendThreeDigits(number, (min1 >> 14) & 0x3FFu);
  const unsigned thousands = (min1 >> 10) & 0xFu;
  number.push_back(thousands <= 9 ? static_cast<char>('0' + thousands) : '0');
  AppendThreeDigits(number, min1 & 0x3FFu);
  if (number.front() != '0') {
    number.insert(number.begin(), '0');
  }
  return number;
}

PhoneLink::PhoneLink(LinkContext context) : context_(context) {}

PhoneLink::~PhoneLink() {
  Close();
}

bool PhoneLink::Open(const std::string& portName, int baudRate) {
  open_ = context_.library.DiagOpenPort(portName, baudRate);
  return open_;
}

void PhoneLink::Close() {
  context_.library.DiagClosePort();
  open_ = false;
}

bool PhoneLink::IsMakerHandset(const std::string& portName, int baudRate) {
  HandsetLibrary& library = context_.library;
  if (!library.DiagOpenPort(portName, baudRate)) {
    return false;
  }
  open_ = true;
  const std::string command = fmt::sprintf("AT+GMI%c%c", 13, 10);
  int sent = 0;
  library.XrsSyncSend({reinterpret_cast<const std::uint8_t*>(command.data()), command.size()},
                      sent);
  if (sent != static_cast<int>(command.size())) {
    Close();
    return false;
  }
  context_.sleep.Wait(kMakerReplyWaitMs);
  std::array<std::uint8_t, kMakerReplySize> reply{};
  int received = 0;
  library.XrsSyncRecv(reply, received);
  Close();
  return TextIn(reply).find("Norvane") != std::string_view::npos;
}

bool PhoneLink::ProbeModel(const std::string& portName, int baudRate) {
  if (!Open(portName, baudRate)) {
    return false;
  }
  const LinkResult result = CheckModel();
  Close();
  return result == LinkOk;
}

LinkResult PhoneLink::EnterDiagMode() {
  if (!open_) {
    return LinkNotOpen;
  }
  const std::string command = fmt::sprintf("AT$QCDMG%c%c", 13, 10);
  int sent = 0;
  context_.library.XrsSyncSend(
      {reinterpret_cast<const std::uint8_t*>(command.data()), command.size()}, sent);
  if (sent != static_cast<int>(command.size())) {
    return LinkIoError;
  }
  context_.sleep.Wait(kModeSwitchWaitMs);
  std::array<std::uint8_t, kModeSwitchReplySize> reply{};
  int received = 0;
  context_.library.XrsSyncRecv(reply, received);
  return TextIn(reply).find("OK") != std::string_view::npos ? LinkOk : LinkNoOk;
}

LinkResult PhoneLink::CheckModel() {
  if (!open_) {
    return LinkNotOpen;
  }
  std::array<std::uint8_t, kVersionReplySize> version{};
  if (!context_.library.DiagGetVer(version)) {
    return LinkNoVersion;
  }
  const std::string_view model =
      TextIn(std::span<const std::uint8_t>(version).subspan(kModelTextOffset, kModelTextLength));
  for (const SupportedModel& supported : kSupportedModels) {
    if (StartsWithIgnoringCase(model, supported.prefix)) {
      context_.state.ModelIndex = supported.modelIndex;
      return LinkOk;
    }
  }
  return LinkUnsupportedModel;
}

LinkResult PhoneLink::SendServiceCode() {
  if (!open_) {
    return LinkNotOpen;
  }
  if (context_.library.DiagSendSPCReq(serviceCode_) >= 0) {
    return LinkOk;
  }
  return context_.library.XrsGetError() == kLibraryErrorCodeRefused ? LinkCodeRefused : LinkIoError;
}

LinkResult PhoneLink::SetOffline() {
  if (!open_) {
    return LinkNotOpen;
  }
  if (context_.library.DiagSetOfflineMode()) {
    return LinkOk;
  }
  context_.sleep.Wait(kOfflineRetryWaitMs);
  return context_.library.DiagSetOfflineMode() ? LinkOk : LinkOfflineFailed;
}

LinkResult PhoneLink::LeaveDiagMode() {
  if (!open_) {
    return LinkNotOpen;
  }
  const std::array<std::uint8_t, 1> request{kModeReturnCode};
  context_.library.XrsSendFrame(request);
  context_.sleep.Wait(kModeReturnWaitMs);
  std::array<std::uint8_t, 2> echo{};
  if (!context_.library.XrsRecvFrame(echo)) {
    return LinkIoError;
  }
  return echo[0] == kModeReturnCode ? LinkOk : LinkEchoMismatch;
}

LinkResult PhoneLink::ReadLockFlag(bool& locked) {
  if (!open_) {
    return LinkNotOpen;
  }
  std::array<std::uint8_t, 1> flag{};
  if (context_.library.XrsNvReadLock_rx310(flag) <= 0 &&
      context_.library.XrsNvReadLock_rx310(flag) <= 0) {
    return LinkReadFailed;
  }
  locked = flag[0] != 0;
  return LinkOk;
}

LinkResult PhoneLink::ReadLockCode(std::string& code) {
  if (!open_) {
    return LinkNotOpen;
  }
  std::array<std::uint8_t, 4> digits{};
  if (context_.library.XrsNvReadUserLock_rx310(digits) <= 0 &&
      context_.library.XrsNvReadUserLock_rx310(digits) <= 0) {
    return LinkReadFailed;
  }
  code = std::string(TextIn(digits));
  return LinkOk;
}

LinkResult PhoneLink::ReadPhoneNumber(std::string& number) {
  if (!open_) {
    return LinkNotOpen;
  }
  HandsetLibrary& library = context_.library;
  std::uint32_t min1 = 0;
  if (!library.DiagGetMin1(min1) && !library.DiagGetMin1(min1)) {
    return LinkReadFailed;
  }
  std::uint32_t min2 = 0;
  if (!library.DiagGetMin2(min2) && !library.DiagGetMin2(min2)) {
    return LinkReadFailed;
  }
  number = DecodePhoneNumber(min1, min2);
  return LinkOk;
}

}  // namespace linkora
