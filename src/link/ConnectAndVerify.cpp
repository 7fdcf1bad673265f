#include "link/ConnectAndVerify.h"

#include <fmt/printf.h>

#include <optional>
#include <string_view>
#include <vector>

#include "link/HandsetLibrary.h"
#include "link/SessionState.h"
#include "link/TransferHost.h"
#include "resources/Texts.h"

namespace linkora {
namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// Failure texts of the steps after the model check. A code without a text
// ends the transfer silently.
std::optional<std::string_view> AccessStepMessage(LinkResult result) {
  switch (result) {
    case LinkIoError:
      return texts::kCommunicationError;
    case LinkNotOpen:
      return texts::kPortConnectFailed;
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> ModelCheckMessage(LinkResult result) {
  switch (result) {
    case LinkUnsupportedModel:
      return texts::kUnsupportedModel;
    case LinkNoVersion:
      return texts::kNoResponse;
    case LinkNotOpen:
      return texts::kPortConnectFailed;
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> ServiceCodeMessage(LinkResult result) {
  if (result == LinkCodeRefused) {
    return texts::kServiceCodeRefused;
  }
  return AccessStepMessage(result);
}

std::optional<std::string_view> OfflineMessage(LinkResult result) {
  if (result == LinkOfflineFailed) {
    return texts::kCommunicationError;
  }
  return AccessStepMessage(result);
}

class Sequence {
 public:
  Sequence(LinkContext context, TransferHost& host, const ConnectSettings& settings)
      : context_(context),
        host_(host),
        settings_(settings),
        working_(std::make_unique<PhoneLink>(context)) {}

  std::unique_ptr<PhoneLink> Run(ConnectVariant variant, OfflineStep offline) {
    if (!SwitchToDiagMode() || !FindAndOpenHandset() || !CheckModel() || !SendServiceCode()) {
      return nullptr;
    }
    if (variant != ConnectVariant::FileWriter && !CheckAccess()) {
      return nullptr;
    }
    if (variant != ConnectVariant::Reader && offline == OfflineStep::Now &&
        !GoOffline(*working_, host_)) {
      return nullptr;
    }
    return std::move(working_);
  }

 private:
  bool Fail(std::optional<std::string_view> message) {
    if (message) {
      host_.ShowMessage(*message);
    }
    working_->Close();
    return false;
  }

  // A port that did not open: the step's message, then the library's word on
  // why, when the user can act on it (another program holds the port, ...).
  bool FailToOpen(std::string_view message, const std::string& problem) {
    host_.ShowMessage(message);
    if (!problem.empty()) {
      host_.ShowMessage(problem);
    }
    working_->Close();
    return false;
  }

  bool SwitchToDiagMode() {
    PhoneLink switchLink(context_);
    if (!switchLink.Open(settings_.portName, settings_.baudRate)) {
      return FailToOpen(texts::kSerialPortOpenFailed, context_.library.PortOpenProblem());
    }
    // A handset already in diagnostic mode gives no "OK"; the search finds it anyway.
    switchLink.EnterDiagMode();
    switchLink.Close();
    return true;
  }

  std::vector<std::string> Candidates() const {
    if (settings_.onlyThisPort) {
      return {settings_.portName};
    }
    std::vector<std::string> names;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
      names.push_back(fmt::sprintf("COM%d", n));
    }
    return names;
  }

  bool FindAndOpenHandset() {
    std::string found;
    std::string problem;  // the first port that would not open, and why
    for (const std::string& name : Candidates()) {
      if (working_->ProbeModel(name, kLinkBaudRate)) {
        found = name;
        break;
      }
      if (problem.empty()) {
        problem = context_.library.PortOpenProblem();
      }
    }
    if (found.empty()) {
      return FailToOpen(texts::kHandsetPortNotFound, problem);
    }
    if (!working_->Open(found, settings_.baudRate)) {
      return FailToOpen(texts::kHandsetPortOpenFailed, context_.library.PortOpenProblem());
    }
    host_.SetDiagPortName(found);
    return true;
  }

  bool CheckModel() {
    const LinkResult result = working_->CheckModel();
    return result >= 0 || Fail(ModelCheckMessage(result));
  }

  bool SendServiceCode() {
    working_->SetServiceCode(settings_.serviceCode);
    const LinkResult result = working_->SendServiceCode();
    return result >= 0 || Fail(ServiceCodeMessage(result));
  }

  bool CheckAccess() {
    bool locked = false;
    LinkResult result = working_->ReadLockFlag(locked);
    if (result < 0) {
      return Fail(AccessStepMessage(result));
    }
    SessionState& state = context_.state;
    if (locked) {
      std::string number;
      result = working_->ReadPhoneNumber(number);
      if (result < 0) {
        return Fail(AccessStepMessage(result));
      }
      if (!Confirm(state.RememberedPhoneNumber, number, &TransferHost::AskPhoneNumber,
                   texts::kPhoneNumberMismatch)) {
        return false;
      }
    }
    std::string code;
    result = working_->ReadLockCode(code);
    if (result < 0) {
      return Fail(AccessStepMessage(result));
    }
    return Confirm(state.RememberedLockCode, code, &TransferHost::AskLockCode,
                   texts::kLockCodeMismatch);
  }

  // Compares the remembered value with the handset's; asks the user when they
  // differ and remembers the answer, right or wrong.
  bool Confirm(std::string& remembered, const std::string& actual,
               std::optional<std::string> (TransferHost::*ask)(), std::string_view mismatch) {
    if (remembered == actual) {
      return true;
    }
    const std::optional<std::string> typed = (host_.*ask)();
    if (!typed) {
      return Fail(std::nullopt);
    }
    remembered = *typed;
    return remembered == actual || Fail(mismatch);
  }

  LinkContext context_;
  TransferHost& host_;
  const ConnectSettings& settings_;
  std::unique_ptr<PhoneLink> working_;
};

}  // namespace

std::unique_ptr<PhoneLink> ConnectAndVerify(LinkContext context, TransferHost& host,
                                            const ConnectSettings& settings, ConnectVariant variant,
                                            OfflineStep offline) {
  Sequence sequence(context, host, settings);
  return sequence.Run(variant, offline);
}

bool GoOffline(PhoneLink& link, TransferHost& host) {
  const LinkResult result = link.SetOffline();
  if (result >= 0) {
    return true;
  }
  if (const auto message = OfflineMessage(result)) {
    host.ShowMessage(*message);
  }
  link.Close();
  return false;
}

void SendModeReturn(LinkContext context, const std::string& portName) {
  PhoneLink link(context);
  if (!link.Open(portName, kLinkBaudRate)) {
    return;
  }
  link.LeaveDiagMode();
  link.Close();
}

void EndHandsetVisit(LinkContext context, const std::string& diagPortName) {
  if (diagPortName.empty()) {
    return;
  }
  SendModeReturn(context, diagPortName);
}

}  // namespace linkora
