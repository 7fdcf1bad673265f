#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "schedule/ScheduleStore.h"

namespace linkora {

class PhoneLink;
class TransferHost;

// What the scheduler's progress window was opened for.
enum class ScheduleSyncMode : int { Read = 0, Write = 1 };

// Progress windows end with one of these; the scheduler acts only on Done.
inline constexpr int kSyncDone = 1;
inline constexpr int kSyncFailed = 2;

// Most records the read follows in one chain. Chain positions are one byte,
// so a chain that has not ended after visiting every position runs in a circle.
inline constexpr int kMaxChainSteps = 256;

// Reads every schedule and D-day of the handset. On success the store holds
// exactly what was read (unsorted, with the handset's own index and next
// values; at most 70 and 27 entries) and the result is true. On failure the
// message has been shown, the link closed, and the store is unchanged.
bool ReadSchedules(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   ScheduleStore& store);

// The same read on a link that is already open and verified; the link stays
// open when the read succeeds and is closed after a failure's message.
bool ReadSchedulesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                         ScheduleStore& store);

// Writes every entry of the store to the handset in array order (put the
// handset offline first), then resets it. False after a failure has been
// shown; records sent before it stay on the handset.
bool WriteSchedules(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                    const ScheduleStore& store);

// The records of a write on a link that is open, verified and offline; no
// reset. The link stays open when all was written and is closed after a
// failure's message.
bool WriteSchedulesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                          const ScheduleStore& store);

// The title the scheduler's progress window takes when it is first shown
// for a mode number; empty for a mode that is neither read nor write.
std::string_view ScheduleSyncStartTitle(int mode);

// The whole run of the scheduler's progress window for a mode number: its
// title, then the transfer. Gives kSyncDone or kSyncFailed; an unknown mode
// shows "잘못된 명령입니다." and fails. A read changes `store` only on success.
int RunScheduleSync(int mode, LinkContext context, TransferHost& host,
                    const ConnectSettings& settings, ScheduleStore& store);

// What the scheduler window does after a read or a load: the message to show
// and which controls change. Lists are always refilled from the store.
struct SchedulerReaction {
  std::optional<std::string> message;
  std::optional<bool> enableWriteAndSave;  // "(&W)노르반로 저장" and "(&S)파일에 저장"
  bool enableAdding = false;               // month calendar, "스케줄 추가", "DDAY 추가"
};

// After a read that ended with `result`: a done read sorts and relinks the
// store and reports the counts (or that there was no data); a failed read
// changes nothing, so the store, the lists and the buttons stay as they were.
SchedulerReaction ReactToScheduleRead(int result, ScheduleStore& store);

}  // namespace linkora
