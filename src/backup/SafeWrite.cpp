#include "backup/SafeWrite.h"

#include <fmt/printf.h>

#include <memory>
#include <string>

#include "backup/BackupManifest.h"
#include "backup/SafetyCopy.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/PhoneLink.h"
#include "link/SessionState.h"
#include "link/TransferHost.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookTransfer.h"
#include "resources/BackupTexts.h"
#include "resources/PhonebookTexts.h"
#include "resources/Texts.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleSync.h"

namespace linkora {
namespace {

constexpr int kDone = 1;
constexpr int kFailed = 2;

// Saves `content` (its model, number and port filled in here) as a safety
// copy; after a failure says why and ends the visit.
bool KeepCopy(LinkContext context, TransferHost& host, PhoneLink& link, SafetyContent content,
              const ConnectSettings& settings, const std::filesystem::path& dataDir,
              std::optional<std::filesystem::path>& safetyCopy) {
  content.model = BackupModelName(context.state.ModelIndex);
  if (std::string number; link.ReadPhoneNumber(number) == LinkOk) {
    content.phoneNumber = number;
  }
  content.port = settings.portName;
  std::string error;
  safetyCopy = SaveSafetyCopy(dataDir, content, error);
  if (!safetyCopy) {
    host.ShowMessage(fmt::sprintf(std::string(texts::kSafetyCopyFailed), error));
    link.LeaveDiagMode();
    link.Close();
    return false;
  }
  return true;
}

}  // namespace

int WritePhonebookKeepingCopy(LinkContext context, TransferHost& host,
                              const ConnectSettings& settings, const Phonebook& phonebook,
                              const std::filesystem::path& dataDir,
                              std::optional<std::filesystem::path>& safetyCopy) {
  safetyCopy.reset();
  if (dataDir.empty()) {
    return WritePhonebook(context, host, settings, phonebook);
  }
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Writer, OfflineStep::Deferred);
  if (!link) {
    return kFailed;
  }
  if (phonebook.Flags().UsedCount() == 0) {
    link->Close();
    host.ShowMessage(texts::kNothingToWrite);
    return kDone;
  }
  auto before = std::make_unique<Phonebook>();
  if (ReadPhonebookOnLink(context, host, *link, *before) != kPhonebookTransferDone) {
    return kFailed;
  }
  SafetyContent content;
  content.phonebook = before.get();
  if (!KeepCopy(context, host, *link, content, settings, dataDir, safetyCopy) ||
      !GoOffline(*link, host) ||
      WritePhonebookOnLink(context, host, *link, phonebook) != kPhonebookTransferDone) {
    return kFailed;
  }
  context.library.DiagPhoneReset();
  link->Close();
  host.ShowMessage(texts::kHandsetResets);
  return kDone;
}

int WriteSchedulesKeepingCopy(LinkContext context, TransferHost& host,
                              const ConnectSettings& settings, const ScheduleStore& store,
                              const std::filesystem::path& dataDir,
                              std::optional<std::filesystem::path>& safetyCopy) {
  safetyCopy.reset();
  if (dataDir.empty()) {
    return WriteSchedules(context, host, settings, store) ? kDone : kFailed;
  }
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Writer, OfflineStep::Deferred);
  if (!link) {
    return kFailed;
  }
  auto before = std::make_unique<ScheduleStore>();
  if (!ReadSchedulesOnLink(context, host, *link, *before)) {
    return kFailed;
  }
  before->SortAndRelink();
  SafetyContent content;
  content.schedules = before.get();
  if (!KeepCopy(context, host, *link, content, settings, dataDir, safetyCopy) ||
      !GoOffline(*link, host) || !WriteSchedulesOnLink(context, host, *link, store)) {
    return kFailed;
  }
  context.library.DiagPhoneReset();
  host.ShowMessage(texts::kHandsetResets);
  link->Close();
  return kDone;
}

std::optional<std::filesystem::path> KeepLastReadCopy(const std::filesystem::path& dataDir,
                                                      const SessionState& state,
                                                      const ConnectSettings& settings,
                                                      const Phonebook* phonebook,
                                                      const ScheduleStore* store,
                                                      std::string& error) {
  SafetyContent content;
  content.phonebook = phonebook;
  content.schedules = store;
  content.model = BackupModelName(state.ModelIndex);
  content.phoneNumber = state.RememberedPhoneNumber;
  content.port = settings.portName;
  return SaveSafetyCopy(dataDir, content, error);
}

}  // namespace linkora
