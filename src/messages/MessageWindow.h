#pragma once

#include "messages/MessageArchive.h"
#include "messages/MessageBook.h"
#include "messages/MessageExport.h"
#include "shell/FunctionWindow.h"

class QAction;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace linkora {

// The message window: loads every text message of the handset, lists the
// received and the sent ones, shows a double-clicked message with its time
// and number, and saves the shown message as a text file. The context menu
// of both lists (and Ctrl+E, Ctrl+Shift+E) saves every message read as one
// UTF-8 text or CSV file.
class MessageWindow final : public FunctionWindow, public MessageSink {
 public:
  MessageWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                QWidget* parent = nullptr);

  const MessageBook& Book() const { return book_; }
  const MessageArchive& Archive() const { return archive_; }

  // MessageSink: the read hands each message over as it is decoded.
  void AddReceived(const ReceivedMessage& message) override;
  void AddSent(const SentMessage& message) override;

  // Enter does nothing; the window closes only through Escape or its close box.
  void accept() override {}

 private:
  void LoadMessages();
  void SaveMessage();
  void SaveAllMessages(MessageExport::Format format);
  void ShowReceived(int line);
  void ShowSent(int line);
  void ShowText();

  MessageBook book_;
  MessageArchive archive_;
  QPushButton* load_;
  QPushButton* save_;
  QListWidget* received_;
  QListWidget* sent_;
  QPlainTextEdit* text_;
  QAction* saveAllAsText_;
  QAction* saveAllAsCsv_;
};

}  // namespace linkora
