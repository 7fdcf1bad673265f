#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messages/MessageSync.h"

namespace linkora {

// The display form of a message text (CP949 bytes in and out): lines of at
// most 16 columns, a two-byte character counting 2 and never split, CR LF
// between lines. A lead byte (0x81 or above) and a CP949 trail byte (0x41 to
// 0x5A, 0x61 to 0x7A, 0x81 to 0xFE) are one character; a high byte without a
// valid trail byte is dropped.
std::string WrapMessageText(std::string_view text);

// The message window's tables, list lines, selection and shown text, apart
// from the controls. A loaded message goes into its table and gets its list
// line; a double-click shows one message and selects it for saving.
class MessageBook final : public MessageSink {
 public:
  static constexpr int kReceivedCapacity = 24;
  static constexpr int kSentCapacity = 20;
  static constexpr int kNoSelection = -1;
  static constexpr int kSentSelectionBase = 128;

  // Empties both tables and lines, the shown text and the selection (start of a load).
  void Clear();

  // Keeps the message and adds its list line ("%02d:%s"; line breaks shown as
  // spaces; a sent message without text shows its recipient number). A
  // message beyond the table's capacity is not kept and gets no line.
  void AddReceived(const ReceivedMessage& message) override;
  void AddSent(const SentMessage& message) override;

  int ReceivedCount() const { return static_cast<int>(received_.size()); }
  int SentCount() const { return static_cast<int>(sent_.size()); }
  const ReceivedMessage& Received(int index) const;
  const SentMessage& Sent(int index) const;
  // List lines, CP949.
  const std::vector<std::string>& ReceivedLines() const { return receivedLines_; }
  const std::vector<std::string>& SentLines() const { return sentLines_; }

  // Shows the message of a double-clicked line: selects it and makes the
  // shown text (header and wrapped message). False for a line that does not exist.
  bool ShowReceived(int line);
  bool ShowSent(int line);

  // -1 none, 0..23 received, 128 + i sent.
  int Selection() const { return selection_; }
  // The content of the message box, CP949 with CR LF, as saved.
  const std::string& ShownText() const { return shownText_; }
  // "RX%02d%02d%02d%02d.txt" or "TX..." from the selected message's time, or
  // nothing without a selection.
  std::optional<std::string> SuggestedFileName() const;

 private:
  std::vector<ReceivedMessage> received_;
  std::vector<SentMessage> sent_;
  std::vector<std::string> receivedLines_;
  std::vector<std::string> sentLines_;
  int selection_ = kNoSelection;
  std::string shownText_;
};

// The export file name of a message from its MessageTimeKey.
std::string MessageExportFileName(bool sent, std::uint32_t timeKey);

struct MessageExportResult {
  bool saved = false;
  std::string message;  // the text to show on failure; empty when saved
  std::string detail;   // for a failure: the file and the cause
};

// Writes the shown text as it is (no terminating zero, nothing added),
// through a temporary file and a rename.
MessageExportResult ExportMessageText(const std::filesystem::path& path,
                                      std::string_view shownText);

// The save command of the message window after the file name is chosen:
// without a shown message gives "선택된 메시지가 없습니다." and writes nothing;
// otherwise writes the shown text to `path`.
MessageExportResult ExportSelectedMessage(const MessageBook& book,
                                          const std::filesystem::path& path);

// Saves every message of the book as its own text file in `dir`, received
// ones first, under its export name ("RX03051407.txt", then
// "RX03051407-2.txt", ... : never over a file that exists). `written` gets
// the file names. Stops at the first file that cannot be written. Shows each
// message in turn, so the book's selection ends on the last one.
MessageExportResult SaveAllMessageFiles(MessageBook& book, const std::filesystem::path& dir,
                                        std::vector<std::string>& written);

}  // namespace linkora
