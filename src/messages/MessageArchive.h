#pragma once

#include <vector>

#include "messages/MessageSync.h"

namespace linkora {

// Every message one read delivered, in reading order and without the message
// window's table limits (the handset may list up to 40 sent messages): what
// the whole-message exports write.
class MessageArchive final : public MessageSink {
 public:
  void Clear() {
    received_.clear();
    sent_.clear();
  }
  void AddReceived(const ReceivedMessage& message) override { received_.push_back(message); }
  void AddSent(const SentMessage& message) override { sent_.push_back(message); }

  const std::vector<ReceivedMessage>& Received() const { return received_; }
  const std::vector<SentMessage>& Sent() const { return sent_; }
  bool Empty() const { return received_.empty() && sent_.empty(); }

 private:
  std::vector<ReceivedMessage> received_;
  std::vector<SentMessage> sent_;
};

}  // namespace linkora
