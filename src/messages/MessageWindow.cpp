#include "messages/MessageWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/Cp949.h"
#include "messages/MessageSyncDialog.h"
#include "resources/MessageTexts.h"
#include "resources/ShellTexts.h"
#include "shell/FileFilter.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// The window is laid out in dialog units of its 9-point font: a quarter of
// the average character width across, an eighth of the character height down.
constexpr int kUnitX = 7;   // average character width in pixels
constexpr int kUnitY = 13;  // character height in pixels

int Across(int units) {
  return (units * kUnitX + 2) / 4;
}

int Down(int units) {
  return (units * kUnitY + 4) / 8;
}

QRect Units(int x, int y, int width, int height) {
  return QRect(Across(x), Down(y), Across(width), Down(height));
}

QString FromCp949(std::string_view bytes) {
  return ToQt(
      cp949::ToUtf8(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
}

QListWidget* MakeList(QWidget* parent, const char* name, QRect where) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines are cut
  list->setGeometry(where);
  return list;
}

// Appends a line and scrolls so that it is the topmost visible one; nothing
// is selected by it.
void AppendLine(QListWidget& list, std::string_view line) {
  auto* item = new QListWidgetItem(FromCp949(line), &list);
  item->setToolTip(item->text());
  list.scrollToItem(item, QAbstractItemView::PositionAtTop);
}

}  // namespace

MessageWindow::MessageWindow(const ConnectSettings& settings, LinkContext context,
                             PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent) {
  setWindowTitle(ToQt(texts::kMessageWindowTitle));
  setFixedSize(Across(311), Down(249));

  auto* listGroup = new QGroupBox(ToQt(texts::kMessageListGroup), this);
  listGroup->setGeometry(Units(7, 7, 142, 232));
  auto* contentGroup = new QGroupBox(ToQt(texts::kMessageContentGroup), this);
  contentGroup->setGeometry(Units(162, 7, 142, 232));

  load_ = new QPushButton(ToQt(texts::kLoadMessagesButton), this);
  load_->setObjectName(QStringLiteral("load"));
  load_->setGeometry(Units(13, 22, 89, 14));
  save_ = new QPushButton(ToQt(texts::kSaveMessageButton), this);
  save_->setObjectName(QStringLiteral("save"));
  save_->setGeometry(Units(169, 22, 77, 14));
  for (QPushButton* button : {load_, save_}) {
    button->setAutoDefault(false);  // Enter closes nothing
  }

  auto* receivedLabel = new QLabel(ToQt(texts::kReceivedListLabel), this);
  receivedLabel->move(Across(13), Down(43));
  auto* sentLabel = new QLabel(ToQt(texts::kSentListLabel), this);
  sentLabel->move(Across(13), Down(141));
  received_ = MakeList(this, "received", Units(13, 55, 128, 75));
  sent_ = MakeList(this, "sent", Units(13, 153, 128, 75));

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("text"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);  // scrolls sideways instead
  text_->setGeometry(Units(169, 55, 128, 173));

  connect(load_, &QPushButton::clicked, this, [this] { LoadMessages(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveMessage(); });
  connect(received_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { ShowReceived(received_->row(item)); });
  connect(sent_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { ShowSent(sent_->row(item)); });

  save_->setEnabled(false);

  // Saving every message adds no control: it is in the lists' context menu.
  const auto addExport = [this](std::string_view text, QKeySequence keys, const char* name,
                                MessageExport::Format format) {
    auto* action = new QAction(ToQt(text), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, format] { SaveAllMessages(format); });
    addAction(action);
    for (QListWidget* list : {received_, sent_}) {
      list->addAction(action);
    }
    return action;
  };
  saveAllAsText_ = addExport(texts::kSaveAllAsTextAction, QKeySequence(Qt::CTRL | Qt::Key_E),
                             "saveAllAsText", MessageExport::Format::Text);
  saveAllAsCsv_ =
      addExport(texts::kSaveAllAsCsvAction, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                "saveAllAsCsv", MessageExport::Format::Csv);
  for (QListWidget* list : {received_, sent_}) {
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
  }
}

void MessageWindow::LoadMessages() {
  MessageSyncDialog progress(Context(), Settings(), *this, Prompts(), this);
  received_->clear();
  sent_->clear();
  book_.Clear();
  archive_.Clear();
  text_->clear();
  save_->setEnabled(false);
  // Whatever the result, the messages handed over so far stay listed.
  RunProgress(progress);
  saveAllAsText_->setEnabled(!archive_.Empty());
  saveAllAsCsv_->setEnabled(!archive_.Empty());
}

void MessageWindow::AddReceived(const ReceivedMessage& message) {
  const auto lines = book_.ReceivedLines().size();
  archive_.AddReceived(message);
  book_.AddReceived(message);
  if (book_.ReceivedLines().size() > lines) {
    AppendLine(*received_, book_.ReceivedLines().back());
  }
}

void MessageWindow::AddSent(const SentMessage& message) {
  const auto lines = book_.SentLines().size();
  archive_.AddSent(message);
  book_.AddSent(message);
  if (book_.SentLines().size() > lines) {
    AppendLine(*sent_, book_.SentLines().back());
  }
}

void MessageWindow::ShowReceived(int line) {
  sent_->clearSelection();
  if (book_.ShowReceived(line)) {
    ShowText();
  }
}

void MessageWindow::ShowSent(int line) {
  received_->clearSelection();
  if (book_.ShowSent(line)) {
    ShowText();
  }
}

void MessageWindow::ShowText() {
  QString shown = FromCp949(book_.ShownText());
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_->setPlainText(shown);
  save_->setEnabled(true);
}

void MessageWindow::SaveMessage() {
  const std::optional<std::string> name = book_.SuggestedFileName();
  if (!name) {
    Prompts().ShowMessage(texts::kNoMessageSelected);
    return;
  }
  FileDialogRequest request;
  request.caption = std::string(texts::kSaveAsCaption);
  request.folderKey = std::string(texts::kProfileMessageFolderKey);
  request.filter = DialogFilter(texts::kExportFilter);
  request.fileName = *name;
  request.defaultSuffix = std::string(texts::kExportExtension);
  const std::optional<std::string> path = Prompts().AskSaveFileName(request);
  if (!path) {
    return;
  }
  const MessageExportResult result = ExportSelectedMessage(book_, *path);
  if (!result.saved) {
    Prompts().ShowMessage(result.message);
  }
}

void MessageWindow::SaveAllMessages(MessageExport::Format format) {
  const bool csv = format == MessageExport::Format::Csv;
  FileDialogRequest request;
  request.caption = std::string(csv ? texts::kSaveAllAsCsvCaption : texts::kSaveAllAsTextCaption);
  request.filter = DialogFilter(csv ? texts::kCsvExportFilter : texts::kTextExportFilter);
  request.fileName = MessageExport::DefaultFileName(format);
  request.defaultSuffix = csv ? "csv" : "txt";
  const std::optional<std::string> path = Prompts().AskSaveFileName(request);
  if (!path) {
    return;
  }
  MessageExport exporter(format);
  if (!exporter.Save(*path, archive_)) {
    Prompts().ShowMessage(exporter.errorString());
  }
}

}  // namespace linkora
