#include "messages/MessageSync.h"

#include <fmt/printf.h>

#include <algorithm>
#include <memory>

#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/PhoneLink.h"
#include "link/TransferHost.h"
#include "resources/MessageTexts.h"

namespace linkora {
namespace {

constexpr int kStates[] = {1, 2, 3};
constexpr int kMaxOrder = 23;
// A record read that gives this found an empty slot: it is skipped.
constexpr int kRecordSkipped = 2;
// A sent record is decoded only when its read gives exactly this.
constexpr int kSentRecordRead = 1;
constexpr std::uint8_t kSentRequestOffset = 128;

// One call, repeated at once when it does not give a count above 0.
template <typename Call>
int WithImmediateRetry(Call call) {
  const int result = call();
  return result > 0 ? result : call();
}

// After a failed record read: the library's item error is fetched (not shown)
// when the handset reported one.
void FetchItemError(HandsetLibrary& library) {
  if (library.XrsGetError() == kLibraryErrorNvItem) {
    library.XrsGetNvError();
  }
}

class MessageRead {
 public:
  MessageRead(LinkContext context, TransferHost& host, MessageSink& sink)
      : library_(context.library), host_(host), sink_(sink) {}

  bool Run(PhoneLink& link) {
    RxList received;
    if (WithImmediateRetry([&] { return library_.XrsNvReadSmsList_rx310(received.Bytes()); }) < 1) {
      return Fail(link, texts::kReceivedListFailed);
    }
    TxList sent;
    if (WithImmediateRetry([&] { return library_.XrsNvReadSmsMoList_rx310(sent.Bytes()); }) < 1) {
      return Fail(link, texts::kSentListFailed);
    }
    const int sentCount = std::min<int>(sent.Count(), kMaxSentListed);
    total_ = RxList::kSlotCount + sentCount;

    bool receivedListed = false;
    auto rxRecord = std::make_unique<RxRecord>();  // bytes 2.. carry over from the previous read
    for (const int state : kStates) {
      for (int order = kMaxOrder; order >= 0; --order) {
        for (int slot = RxList::kSlotCount - 1; slot >= 0; --slot) {
          if (received.SlotState(slot) == 0 || received.SlotState(slot) != state ||
              received.SlotOrder(slot) != order) {
            continue;
          }
          receivedListed = true;
          host_.SetTitle(fmt::sprintf(texts::kReceivedReadTitleFormat, slot));
          host_.PumpMessages();
          rxRecord->SetSlot(static_cast<std::uint16_t>(slot));
          const int result =
              WithImmediateRetry([&] { return library_.XrsNvReadSmsRx_rx310(rxRecord->Bytes()); });
          if (result <= 0) {
            link.Close();
            FetchItemError(library_);
            host_.ShowMessage(fmt::sprintf(texts::kReceivedRecordFailedFormat, slot));
            return false;
          }
          if (result == kRecordSkipped) {
            continue;
          }
          sink_.AddReceived(DecodeRxRecord(*rxRecord));
          Handled();
        }
      }
    }

    for (int position = sentCount - 1; position >= 0; --position) {
      host_.SetTitle(fmt::sprintf(texts::kSentReadTitleFormat, position));
      host_.PumpMessages();
      const std::uint8_t slotByte = sent.SlotByte(position);
      TxRecord record;
      record.SetRequest(static_cast<std::uint8_t>(slotByte + kSentRequestOffset));
      const int result =
          WithImmediateRetry([&] { return library_.XrsNvReadSmsTx_rx310(record.Bytes()); });
      if (result <= 0) {
        link.Close();
        FetchItemError(library_);
        host_.ShowMessage(fmt::sprintf(texts::kSentRecordFailedFormat, int{slotByte}));
        return false;
      }
      if (result == kSentRecordRead) {
        sink_.AddSent(DecodeTxRecord(record));
      }
      Handled();
    }

    host_.SetProgress(100);
    host_.PumpMessages();
    empty_ = !receivedListed && sentCount == 0;
    return true;
  }

  // True after a read that found no message listed.
  bool Empty() const { return empty_; }

 private:
  bool Fail(PhoneLink& link, std::string_view message) {
    link.Close();
    host_.ShowMessage(message);
    return false;
  }

  void Handled() {
    ++handled_;
    host_.SetProgress(Percent(handled_, total_));
    host_.PumpMessages();
  }

  HandsetLibrary& library_;
  TransferHost& host_;
  MessageSink& sink_;
  int handled_ = 0;
  int total_ = 0;
  bool empty_ = false;
};

}  // namespace

bool ReadMessages(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                  MessageSink& sink) {
  const std::unique_ptr<PhoneLink> link =
      ConnectAndVerify(context, host, settings, ConnectVariant::Reader);
  if (!link) {
    return false;
  }
  MessageRead read(context, host, sink);
  if (!read.Run(*link)) {
    return false;
  }
  link->Close();
  if (read.Empty()) {
    host.ShowMessage(texts::kNoMessages);
  }
  return true;
}

bool ReadMessagesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        MessageSink& sink) {
  return MessageRead(context, host, sink).Run(link);
}

int RunMessageSync(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   MessageSink& sink) {
  host.SetTitle(texts::kMessageSyncTitle);
  return ReadMessages(context, host, settings, sink) ? 1 : 2;
}

}  // namespace linkora
