#include "messages/MessageBook.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cassert>
#include <span>

#include "common/FileIo.h"
#include "resources/MessageTexts.h"

namespace linkora {
namespace {

constexpr int kLineColumns = 16;
constexpr std::string_view kLineBreak = "\r\n";

bool IsHigh(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// A CP949 two-byte character: a lead byte from 0x81 and a trail byte in
// 0x41-0x5A, 0x61-0x7A or 0x81-0xFE. The extended Hangul syllables have
// trail bytes below 0x80 (81 41 is "갂").
bool IsLead(char c) {
  return static_cast<unsigned char>(c) >= 0x81;
}

bool IsTrail(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
         (byte >= 0x81 && byte <= 0xFE);
}

std::string ListLine(std::size_t number, std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return fmt::sprintf(texts::kMessageLineFormat, static_cast<int>(number), text);
}

std::string Header(std::string_view format, const std::string& time, const std::string& number) {
  return fmt::sprintf(ToCp949(format), time, '\r', '\n', number, '\r', '\n', '\r', '\n', '\r',
                      '\n');
}

}  // namespace

std::string WrapMessageText(std::string_view text) {
  std::string out;
  int column = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      out += kLineBreak;
      column = 0;
    } else if (c == '\r') {
      out += kLineBreak;
      column = 0;
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else if (!IsHigh(c)) {
      if (column == kLineColumns) {
        out += kLineBreak;
        column = 0;
      }
      out += c;
      ++column;
    } else if (IsLead(c) && i + 1 < text.size() && IsTrail(text[i + 1])) {
      if (column > kLineColumns - 2) {
        out += kLineBreak;
        column = 0;
      }
      out += c;
      out += text[i + 1];
      column += 2;
      ++i;
    }
    // A high byte that starts no two-byte character is dropped.
  }
  return out;
}

void MessageBook::Clear() {
  received_.clear();
  sent_.clear();
  receivedLines_.clear();
  sentLines_.clear();
  selection_ = kNoSelection;
  shownText_.clear();
}

void MessageBook::AddReceived(const ReceivedMessage& message) {
  if (ReceivedCount() >= kReceivedCapacity) {
    return;
  }
  received_.push_back(message);
  receivedLines_.push_back(ListLine(receivedLines_.size() + 1, message.text));
}

void MessageBook::AddSent(const SentMessage& message) {
  if (SentCount() >= kSentCapacity) {
    return;
  }
  sent_.push_back(message);
  sentLines_.push_back(ListLine(sentLines_.size() + 1,
                                message.text.empty() ? message.recipientNumber : message.text));
}

const ReceivedMessage& MessageBook::Received(int index) const {
  assert(index >= 0 && index < ReceivedCount());
  return received_[static_cast<std::size_t>(index)];
}

const SentMessage& MessageBook::Sent(int index) const {
  assert(index >= 0 && index < SentCount());
  return sent_[static_cast<std::size_t>(index)];
}

bool MessageBook::ShowReceived(int line) {
  if (line < 0 || line >= ReceivedCount()) {
    return false;
  }
  const ReceivedMessage& m = Received(line);
  selection_ = line;
  shownText_ =
      Header(texts::kReceivedHeaderFormat, m.timeText, m.callbackNumber) + WrapMessageText(m.text);
  return true;
}

bool MessageBook::ShowSent(int line) {
  if (line < 0 || line >= SentCount()) {
    return false;
  }
  const SentMessage& m = Sent(line);
  selection_ = kSentSelectionBase + line;
  shownText_ =
      Header(texts::kSentHeaderFormat, m.timeText, m.recipientNumber) + WrapMessageText(m.text);
  return true;
}

std::optional<std::string> MessageBook::SuggestedFileName() const {
  if (selection_ == kNoSelection) {
    return std::nullopt;
  }
  if (selection_ >= kSentSelectionBase) {
    return MessageExportFileName(true, Sent(selection_ - kSentSelectionBase).timeKey);
  }
  return MessageExportFileName(false, Received(selection_).timeKey);
}

std::string MessageExportFileName(bool sent, std::uint32_t timeKey) {
  const int month = static_cast<int>(timeKey >> 24);
  const int day = static_cast<int>((timeKey >> 16) & 0xFF);
  const int hour = static_cast<int>((timeKey >> 8) & 0xFF);
  const int minute = static_cast<int>(timeKey & 0xFF);
  return fmt::sprintf(sent ? texts::kSentExportNameFormat : texts::kReceivedExportNameFormat, month,
                      day, hour, minute);
}

MessageExportResult ExportMessageText(const std::filesystem::path& path,
                                      std::string_view shownText) {
  MessageExportResult result;
  const auto bytes =
      std::span(reinterpret_cast<const std::uint8_t*>(shownText.data()), shownText.size());
  result.saved = WriteFileAtomically(path, bytes, result.detail);
  if (!result.saved) {
    result.message = std::string(texts::kFileWriteFailed);
  }
  return result;
}

MessageExportResult ExportSelectedMessage(const MessageBook& book,
                                          const std::filesystem::path& path) {
  if (book.Selection() == MessageBook::kNoSelection) {
    return {false, std::string(texts::kNoMessageSelected), {}};
  }
  return ExportMessageText(path, book.ShownText());
}

MessageExportResult SaveAllMessageFiles(MessageBook& book, const std::filesystem::path& dir,
                                        std::vector<std::string>& written) {
  const auto save = [&](bool shown) -> MessageExportResult {
    if (!shown) {
      return {true, {}, {}};
    }
    const std::filesystem::path path = UnusedPath(dir, *book.SuggestedFileName());
    MessageExportResult result = ExportSelectedMessage(book, path);
    if (result.saved) {
      written.push_back(path.filename().string());
    }
    return result;
  };
  for (int i = 0; i < book.ReceivedCount(); ++i) {
    if (MessageExportResult result = save(book.ShowReceived(i)); !result.saved) {
      return result;
    }
  }
  for (int i = 0; i < book.SentCount(); ++i) {
    if (MessageExportResult result = save(book.ShowSent(i)); !result.saved) {
      return result;
    }
  }
  return {true, {}, {}};
}

}  // namespace linkora
