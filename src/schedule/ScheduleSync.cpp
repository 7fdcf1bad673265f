#include "schedule/ScheduleSync.h"

#include <fmt/printf.h>

#include <array>
#include <memory>
#include <string_view>

#include "common/Sleep.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/PhoneLink.h"
#include "link/TransferHost.h"
#include "resources/ScheduleTexts.h"

namespace linkora {
namespace {

constexpr int kRetryWaitMs = 500;
constexpr int kFinalWaitMs = 500;
// A record at chain position 0 with a year before this stands for an empty list.
constexpr int kFirstValidYear = 1997;
// The progress of a read counts records against both capacities together.
constexpr int kReadProgressTotal = ScheduleStore::kScheduleCapacity + ScheduleStore::kDdayCapacity;

void ShowProgress(TransferHost& host, int percent) {
  host.SetProgress(percent);
  host.PumpMessages();
}

enum class ChainEnd { Done, ReadFailed, Circular };

// Follows one chain of the handset from position 0 until a link of 0 or
// below. Every record except a terminating one goes to `take`. `step` counts
// on across both chains for the progress display.
template <typename Entry, typename ReadCall, typename Take>
ChainEnd ReadChain(LinkContext context, TransferHost& host, ReadCall read, Take take, int& step) {
  std::array<bool, kMaxChainSteps> visited{};
  int position = 0;
  for (int steps = 0;; ++steps) {
    if (steps >= kMaxChainSteps || visited[static_cast<std::size_t>(position)]) {
      return ChainEnd::Circular;
    }
    visited[static_cast<std::size_t>(position)] = true;
    Entry entry;
    entry.Bytes()[0] = static_cast<std::uint8_t>(position);
    if (read(entry.Bytes()) <= 0) {
      context.sleep.Wait(kRetryWaitMs);
      if (read(entry.Bytes()) <= 0) {
        return ChainEnd::ReadFailed;
      }
    }
    if ((entry.Index() == 0 && entry.Year() < kFirstValidYear) || entry.Next() < 0) {
      return ChainEnd::Done;
    }
    take(entry);
    if (entry.Next() == 0) {
      return ChainEnd::Done;
    }
    position = entry.Next() & 0xFF;
    ++step;
    ShowProgress(host, Percent(step, kReadProgressTotal));
  }
}

bool EndChain(ChainEnd end, PhoneLink& link, TransferHost& host, std::string_view readFailed,
              std::string_view circular) {
  if (end == ChainEnd::Done) {
    return true;
  }
  link.Close();
  host.ShowMessage(end == ChainEnd::ReadFailed ? readFailed : circular);
  return false;
}

// Sends one record, once more after a pause when the first try fails.
template <typename Write>
bool SendWithRetry(LinkContext context, Write write) {
  if (write() > 0) {
    return true;
  }
  context.sleep.Wait(kRetryWaitMs);
  return write() > 0;
}

}  // namespace

bool ReadSchedulesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                         ScheduleStore& store) {
  // Records go into a scratch store, so a failed read leaves the caller's as it was.
  auto scratch = std::make_unique<ScheduleStore>();
  int step = 0;
  const ChainEnd schedules = ReadChain<ScheduleEntry>(
      context, host,
      [&](std::span<std::uint8_t, kScheduleRecordSize> bytes) {
        return context.library.XrsNvReadSchedule_rx310(bytes);
      },
      [&](const ScheduleEntry& entry) { scratch->AppendSchedule(entry); }, step);
  if (!EndChain(schedules, link, host, texts::kScheduleReadFailed, texts::kScheduleChainBroken)) {
    return false;
  }
  const ChainEnd ddays = ReadChain<DdayEntry>(
      context, host,
      [&](std::span<std::uint8_t, kDdayRecordSize> bytes) {
        return context.library.XrsNvReadDday_rx310(bytes);
      },
      [&](const DdayEntry& entry) { scratch->AppendDday(entry); }, step);
  if (!EndChain(ddays, link, host, texts::kDdayReadFailed, texts::kDdayChainBroken)) {
    return false;
  }
  host.SetProgress(100);
  context.sleep.Wait(kFinalWaitMs);
  host.PumpMessages();
  store = *scratch;
  return true;
}

bool ReadSchedules(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   ScheduleStore& store) {
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Reader);
  if (!link || !ReadSchedulesOnLink(context, host, *link, store)) {
    return false;
  }
  link->Close();
  return true;
}

bool WriteSchedules(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                    const ScheduleStore& store) {
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Writer);
  if (!link || !WriteSchedulesOnLink(context, host, *link, store)) {
    return false;
  }
  context.library.DiagPhoneReset();
  host.ShowMessage(texts::kHandsetResets);
  link->Close();
  return true;
}

bool WriteSchedulesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                          const ScheduleStore& store) {
  const int total = store.ScheduleCount() + store.DdayCount();
  int sent = 0;
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    const ScheduleEntry& entry = store.Schedule(i);
    if (!SendWithRetry(context,
                       [&] { return context.library.XrsNvWriteSchedule_rx310(entry.Bytes()); })) {
      link.Close();
      host.ShowMessage(texts::kScheduleWriteFailed);
      return false;
    }
    ShowProgress(host, Percent(++sent, total));
  }
  for (int i = 0; i < store.DdayCount(); ++i) {
    const DdayEntry& entry = store.Dday(i);
    if (!SendWithRetry(context,
                       [&] { return context.library.XrsNvWriteDday_rx310(entry.Bytes()); })) {
      link.Close();
      host.ShowMessage(texts::kDdayWriteFailed);
      return false;
    }
    ShowProgress(host, Percent(++sent, total));
  }
  host.SetProgress(100);
  context.sleep.Wait(kFinalWaitMs);
  host.PumpMessages();
  return true;
}

std::string_view ScheduleSyncStartTitle(int mode) {
  switch (mode) {
    case static_cast<int>(ScheduleSyncMode::Read):
      return texts::kScheduleReadTitle;
    case static_cast<int>(ScheduleSyncMode::Write):
      return texts::kScheduleWriteTitle;
    default:
      return {};
  }
}

int RunScheduleSync(int mode, LinkContext context, TransferHost& host,
                    const ConnectSettings& settings, ScheduleStore& store) {
  const std::string_view title = ScheduleSyncStartTitle(mode);
  if (title.empty()) {
    host.ShowMessage(texts::kInvalidCommand);
    return kSyncFailed;
  }
  host.SetTitle(title);
  return mode == static_cast<int>(ScheduleSyncMode::Read)
             ? (ReadSchedules(context, host, settings, store) ? kSyncDone : kSyncFailed)
             : (WriteSchedules(context, host, settings, store) ? kSyncDone : kSyncFailed);
}

SchedulerReaction ReactToScheduleRead(int result, ScheduleStore& store) {
  SchedulerReaction reaction;
  if (result != kSyncDone) {
    return reaction;  // the read replaced nothing
  }
  reaction.enableAdding = true;
  reaction.enableWriteAndSave = true;
  if (store.ScheduleCount() == 0 && store.DdayCount() == 0) {
    reaction.message = std::string(texts::kNoScheduleData);
    return reaction;
  }
  store.SortAndRelink();
  reaction.message =
      fmt::sprintf(texts::kScheduleReadDoneFormat, store.ScheduleCount(), store.DdayCount());
  return reaction;
}

}  // namespace linkora
