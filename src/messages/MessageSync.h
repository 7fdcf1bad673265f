#pragma once

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "messages/MessageDecode.h"

namespace linkora {

class PhoneLink;
class TransferHost;

// Where the read hands each decoded message, in reading order: the message
// window (through MessageBook) or a command-line tool.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void AddReceived(const ReceivedMessage& message) = 0;
  virtual void AddSent(const SentMessage& message) = 0;
};

// The sent list holds 40 slot bytes; a larger count byte is read as 40.
inline constexpr int kMaxSentListed = TxList::kMaxSlots;

// Reads every listed received message (by state 1, 2, 3, then descending
// order number, then descending slot) and every sent message (last list
// position first) and hands each to `sink`. True when the read ran to its end,
// also without messages ("메시지가 없습니다." shown); false after a failure has
// been shown and the link closed. Messages handed over before a failure stay
// with the sink. Nothing is ever written to the handset.
bool ReadMessages(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                  MessageSink& sink);

// The same read on a link that is already open and verified; the link stays
// open when the read succeeds and is closed after a failure's message. Shows
// nothing when there are no messages.
bool ReadMessagesOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        MessageSink& sink);

// The whole run of the message progress window: its title, then the read.
// Gives 1 (done) or 2 (failed).
int RunMessageSync(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   MessageSink& sink);

}  // namespace linkora
