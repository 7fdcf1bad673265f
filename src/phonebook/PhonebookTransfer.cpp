#include "phonebook/PhonebookTransfer.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include <memory>
#include <string>

#include "common/Sleep.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/PhoneLink.h"
#include "link/TransferHost.h"
#include "phonebook/Phonebook.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

// Waits before the second try of a record call.
constexpr int kEntryRetryWaitMs = 200;
constexpr int kGroupReadRetryWaitMs = 200;
constexpr int kGroupWriteRetryWaitMs = 500;

// Steps counted besides the entries: the 20 groups when reading; the five
// flag parts and the 20 groups when writing.
constexpr int kReadFixedSteps = kGroupCount;
constexpr int kWriteFixedSteps = SlotFlagList::kPartCount + kGroupCount;

std::string Format(std::string_view format, int value) {
  return fmt::sprintf(std::string(format), value);
}

std::string FormatPercent(std::string_view format, int value) {
  return fmt::sprintf(std::string(format), value, '%');
}

std::string FormatPercentOnly(std::string_view format) {
  return fmt::sprintf(std::string(format), '%');
}

// The progress window's side of one transfer: titles (each followed by one
// pump), the step count with its bar, and the failure ending.
class Progress {
 public:
  Progress(TransferHost& host, PhoneLink& link) : host_(host), link_(link) {}

  void Title(std::string_view title) {
    host_.SetTitle(title);
    host_.PumpMessages();
  }

  void SetTotal(int total) { total_ = total; }

  void Step() {
    ++done_;
    host_.SetProgress(Percent(done_, total_));
    host_.PumpMessages();
  }

  int Fail(const std::string& message) {
    link_.Close();
    host_.ShowMessage(message);
    return kPhonebookTransferFailed;
  }

 private:
  TransferHost& host_;
  PhoneLink& link_;
  int total_ = 0;
  int done_ = 0;
};

// A record call retried once: at once when `waitMs` is 0, else after the wait.
template <typename Call>
bool CallWithRetry(Sleep& sleep, int waitMs, Call&& call, bool* secondPass = nullptr) {
  if (call() > 0) {
    return true;
  }
  if (waitMs > 0) {
    sleep.Wait(waitMs);
  }
  const bool ok = call() > 0;
  if (secondPass != nullptr) {
    *secondPass = ok;
  }
  return ok;
}

}  // namespace

int ReadPhonebookOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        Phonebook& phonebook) {
  HandsetLibrary& library = context.library;
  Progress progress(host, link);
  auto scratch = std::make_unique<Phonebook>(phonebook);

  SlotFlagList flags;
  for (int part = 0; part < SlotFlagList::kPartCount; ++part) {
    progress.Title(FormatPercent(texts::kFlagPartReceiveTitle, 20 * (part + 1)));
    const auto block = flags.Part(part);
    if (!CallWithRetry(context.sleep, 0,
                       [&] { return library.XrsNvReadAddressList_rx310(part, block); })) {
      return progress.Fail(Format(texts::kFlagPartReceiveFailed, part + 1));
    }
  }
  progress.Title(FormatPercentOnly(texts::kFlagReceiveDoneTitle));

  const int used = flags.UsedCount();
  progress.SetTotal(used + kReadFixedSteps);

  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!flags.IsUsed(slot)) {
      continue;
    }
    progress.Title(Format(texts::kEntryReceiveTitle, slot));
    PhonebookEntry entry;
    const auto read = [&] {
      entry.Clear();
      entry.SetSlot(static_cast<std::uint16_t>(slot));
      return library.XrsNvReadAddress_rx310(entry.Bytes());
    };
    if (!CallWithRetry(context.sleep, kEntryRetryWaitMs, read)) {
      return progress.Fail(Format(texts::kEntryReceiveFailed, slot));
    }
    scratch->StoreReceivedEntry(entry);
    progress.Step();
  }

  for (int g = 0; g < kGroupCount; ++g) {
    progress.Title(FormatPercent(texts::kGroupReceiveTitle, 5 * (g + 1)));
    DialGroup& target = scratch->Groups()[static_cast<std::size_t>(g)];
    target.Clear();
    DialGroup group;
    const auto read = [&] {
      group.Clear();
      group.SetNumber(static_cast<std::uint8_t>(g));
      return library.XrsNvReadDialGroup_rx310(group.Bytes());
    };
    if (!CallWithRetry(context.sleep, kGroupReadRetryWaitMs, read)) {
      return progress.Fail(Format(texts::kGroupReceiveFailed, g + 1));
    }
    group.TerminateName();
    target = group;
    progress.Step();
  }
  progress.Title(FormatPercentOnly(texts::kGroupReceiveDoneTitle));
  scratch->Flags() = flags;
  scratch->ClearUnusedRecords();
  phonebook = *scratch;
  return kPhonebookTransferDone;
}

int ReadPhonebook(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                  Phonebook& phonebook) {
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Reader);
  if (!link) {
    return kPhonebookTransferFailed;
  }
  if (ReadPhonebookOnLink(context, host, *link, phonebook) != kPhonebookTransferDone) {
    return kPhonebookTransferFailed;
  }
  link->Close();
  if (phonebook.Flags().UsedCount() == 0) {
    host.ShowMessage(texts::kPhonebookEmpty);
  }
  return kPhonebookTransferDone;
}

int WritePhonebook(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   const Phonebook& phonebook) {
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Writer, OfflineStep::Deferred);
  if (!link) {
    return kPhonebookTransferFailed;
  }
  HandsetLibrary& library = context.library;
  const SlotFlagList& flags = phonebook.Flags();
  if (flags.UsedCount() == 0) {
    link->Close();
    host.ShowMessage(texts::kNothingToWrite);
    return kPhonebookTransferDone;
  }
  if (!GoOffline(*link, host)) {
    return kPhonebookTransferFailed;
  }
  if (WritePhonebookOnLink(context, host, *link, phonebook) != kPhonebookTransferDone) {
    return kPhonebookTransferFailed;
  }
  library.DiagPhoneReset();
  link->Close();
  host.ShowMessage(texts::kHandsetResets);
  return kPhonebookTransferDone;
}

int WritePhonebookOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                         const Phonebook& phonebook) {
  HandsetLibrary& library = context.library;
  Progress progress(host, link);
  const SlotFlagList flags = phonebook.Flags();
  const Phonebook::GroupTable groups = phonebook.Groups();
  const int used = flags.UsedCount();
  progress.SetTotal(used + kWriteFixedSteps);

  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!flags.IsUsed(slot)) {
      continue;
    }
    progress.Title(Format(texts::kEntrySendTitle, slot));
    // A record made again in a slot deleted earlier holds slot number 0; it
    // goes out with the number of its place.
    PhonebookEntry entry = phonebook.Entry(slot);
    entry.SetSlot(static_cast<std::uint16_t>(slot));
    bool secondPass = false;
    if (!CallWithRetry(
            context.sleep, kEntryRetryWaitMs,
            [&] { return library.XrsNvWriteAddress_rx310(entry.Bytes()); }, &secondPass)) {
      return progress.Fail(Format(texts::kEntrySendFailed, slot));
    }
    if (secondPass) {
      progress.Title(texts::kPassedInSecondPass);
    }
    progress.Step();
  }

  progress.Title(texts::kFlagsSendStartTitle);
  for (int part = 0; part < SlotFlagList::kPartCount; ++part) {
    progress.Title(FormatPercent(texts::kFlagPartSendTitle, 20 * (part + 1)));
    // The flag block is sent once; a part that fails is not sent again.
    if (library.XrsNvWriteAddressList_rx310(part, flags.Part(part)) <= 0) {
      return progress.Fail(Format(texts::kFlagPartSendFailed, part + 1));
    }
    progress.Step();
  }
  progress.Title(FormatPercentOnly(texts::kFlagSendDoneTitle));

  for (int g = 0; g < kGroupCount; ++g) {
    progress.Title(FormatPercent(texts::kGroupSendTitle, 5 * (g + 1)));
    const DialGroup& group = groups[static_cast<std::size_t>(g)];
    if (!CallWithRetry(context.sleep, kGroupWriteRetryWaitMs,
                       [&] { return library.XrsNvWriteDialGroup_rx310(group.Bytes()); })) {
      return progress.Fail(Format(texts::kGroupSendFailed, g + 1));
    }
    progress.Step();
  }
  return kPhonebookTransferDone;
}

int RunPhonebookSync(int mode, LinkContext context, TransferHost& host,
                     const ConnectSettings& settings, Phonebook& phonebook) {
  switch (mode) {
    case static_cast<int>(PhonebookSyncMode::Read):
      return ReadPhonebook(context, host, settings, phonebook);
    case static_cast<int>(PhonebookSyncMode::Write):
      return WritePhonebook(context, host, settings, phonebook);
    default:
      host.ShowMessage(texts::kInvalidCommand);
      return kPhonebookTransferFailed;
  }
}

std::string_view PhonebookSyncStartTitle(int mode) {
  switch (mode) {
    case static_cast<int>(PhonebookSyncMode::Read):
      return texts::kPhonebookReadStartTitle;
    case static_cast<int>(PhonebookSyncMode::Write):
      return texts::kPhonebookWriteStartTitle;
    default:
      return {};
  }
}

bool ConfirmPhonebookWrite(const std::function<bool(std::string_view question)>& askYesNo) {
  return askYesNo(texts::kWriteOverwriteQuestion) && askYesNo(texts::kResetAfterWriteQuestion);
}

}  // namespace linkora
