#include "media/MediaManagerDialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "fsxfer/MediaTransferDialog.h"
#include "resources/MediaTexts.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/FileFilter.h"
#include "shell/Profile.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// The window is laid out in dialog units of its 9-point font: a unit is 7/4
// pixels across and 13/8 pixels down.
int AcrossDu(int units) {
  return (units * 7 + 2) / 4;
}
int DownDu(int units) {
  return (units * 13 + 4) / 8;
}
QRect DuRect(int x, int y, int w, int h) {
  return QRect(AcrossDu(x), DownDu(y), AcrossDu(w), DownDu(h));
}

QPushButton* Button(QWidget* parent, const char* name, std::string_view text, QRect place) {
  auto* button = new QPushButton(ToQt(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  return button;
}

QListWidget* ListBox(QWidget* parent, const char* name, QRect place) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(place);
  list->setSortingEnabled(false);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setUniformItemSizes(true);
  return list;
}

}  // namespace

MediaManagerDialog::MediaManagerDialog(const ConnectSettings& settings, LinkContext context,
                                       PromptService& prompts, Profile& profile, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent), profile_(profile) {
  setWindowTitle(ToQt(texts::kMediaWindowTitle));
  setFixedSize(AcrossDu(335), DownDu(259));

  // In the order of the keyboard's tab stops.
  readButton_ = Button(this, "readList", texts::kReadListButton, DuRect(15, 22, 80, 14));
  auto* phoneGroup = new QGroupBox(ToQt(texts::kPhoneMediaGroup), this);
  phoneGroup->setGeometry(DuRect(7, 7, 158, 244));
  phoneList_ = ListBox(this, "phoneList", DuRect(13, 44, 143, 179));
  phoneList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  phoneList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  downloadButton_ = Button(this, "download", texts::kDownloadButton, DuRect(13, 231, 73, 14));
  auto* pcGroup = new QGroupBox(ToQt(texts::kPcMediaGroup), this);
  pcGroup->setGeometry(DuRect(170, 7, 158, 244));
  pcList_ = ListBox(this, "pcList", DuRect(177, 44, 143, 179));
  pcList_->setSelectionMode(QAbstractItemView::SingleSelection);
  pcList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  chooseButton_ =
      Button(this, "choosePcFiles", texts::kChoosePcFilesButton, DuRect(177, 231, 73, 14));
  uploadButton_ = Button(this, "upload", texts::kUploadButton, DuRect(178, 22, 73, 14));
  // The group frames lie beneath the controls they surround.
  phoneGroup->lower();
  pcGroup->lower();

  connect(readButton_, &QPushButton::clicked, this, &MediaManagerDialog::ReadList);
  connect(downloadButton_, &QPushButton::clicked, this, &MediaManagerDialog::Download);
  connect(chooseButton_, &QPushButton::clicked, this, &MediaManagerDialog::ChoosePcFiles);
  connect(uploadButton_, &QPushButton::clicked, this, &MediaManagerDialog::Upload);
  connect(pcList_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { RemovePcFile(pcList_->row(item)); });
}

void MediaManagerDialog::ReadList() {
  ReadMediaList(*this, lists_, Settings(), Context().state);
}

void MediaManagerDialog::Download() {
  DownloadMediaItems(*this, lists_, Settings());
}

void MediaManagerDialog::ChoosePcFiles() {
  FileDialogRequest request;
  request.caption = std::string(texts::kOpenCaption);
  request.folderKey = std::string(texts::kProfileMediaFolderKey);
  request.filter = DialogFilter(texts::kUploadFilter);
  const std::vector<std::string> chosen = Prompts().AskOpenFileNames(request);
  if (chosen.empty()) {
    return;  // Cancel
  }
  const std::size_t before = pcFiles_.Items().size();
  const std::optional<std::string> message =
      pcFiles_.Add(std::vector<std::filesystem::path>(chosen.begin(), chosen.end()));
  const std::size_t after = pcFiles_.Items().size();
  ShowPcFiles(after > before ? static_cast<int>(after) - 1 : -1);
  if (message) {
    ShowMessage(*message);
  }
}

void MediaManagerDialog::Upload() {
  UploadMediaFiles(*this, pcFiles_, lists_, Settings(), Context().state);
  ShowPcFiles(-1);
}

void MediaManagerDialog::RemovePcFile(int row) {
  if (row < 0) {
    return;
  }
  const std::optional<std::string> message = pcFiles_.Remove(static_cast<std::size_t>(row));
  const int scrolled = pcList_->verticalScrollBar()->value();
  ShowPcFiles(-1);
  pcList_->verticalScrollBar()->setValue(scrolled);
  if (message) {
    ShowMessage(*message);
  }
}

void MediaManagerDialog::ShowPcFiles(int top) {
  pcList_->clear();
  for (const PcFileList::Item& item : pcFiles_.Items()) {
    pcList_->addItem(ToQt(item.name));
  }
  if (top >= 0 && top < pcList_->count()) {
    pcList_->scrollToItem(pcList_->item(top), QAbstractItemView::PositionAtTop);
  }
}

int MediaManagerDialog::RunTransfer(MediaTransferJob& job) {
  MediaTransferDialog transfer(Context(), Prompts(), job, this);
  return RunProgress(transfer) == SyncProgressDialog::kDone ? kMediaTransferDone
                                                            : kMediaTransferFailed;
}

void MediaManagerDialog::ShowMessage(std::string_view text) {
  Prompts().ShowMessage(text);
}

bool MediaManagerDialog::AskYesNo(std::string_view question) {
  return Prompts().AskYesNo(question, texts::kAppTitle);
}

void MediaManagerDialog::ClearPhoneList() {
  phoneList_->clear();
}

void MediaManagerDialog::AddPhoneItem(int slot, const std::string& name) {
  auto* item = new QListWidgetItem(ToQt(name), phoneList_);
  item->setData(Qt::UserRole, slot);
  phoneList_->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

int MediaManagerDialog::PhoneItemCount() const {
  return phoneList_->count();
}

std::vector<int> MediaManagerDialog::SelectedSlots() const {
  std::vector<int> selected;
  for (int row = 0; row < phoneList_->count(); ++row) {
    const QListWidgetItem* item = phoneList_->item(row);
    if (item->isSelected()) {
      selected.push_back(item->data(Qt::UserRole).toInt());
    }
  }
  return selected;
}

std::optional<std::filesystem::path> MediaManagerDialog::ChooseSaveFile(
    const std::filesystem::path& initial, std::string_view defaultExtension,
    std::string_view filter) {
  FileDialogRequest request;
  request.caption = std::string(texts::kSaveAsCaption);
  request.filter = DialogFilter(filter);
  request.directory = initial.parent_path().string();
  request.fileName = initial.filename().string();
  request.defaultSuffix = std::string(defaultExtension);
  const std::optional<std::string> chosen = Prompts().AskSaveFileName(request);
  if (!chosen) {
    return std::nullopt;
  }
  return std::filesystem::path(*chosen);
}

std::string MediaManagerDialog::DataPath() const {
  return profile_.ReadString(texts::kProfileSection, texts::kProfileDataPathKey, "");
}

void MediaManagerDialog::SetDataPath(const std::string& folder) {
  profile_.WriteString(texts::kProfileSection, texts::kProfileDataPathKey, folder);
}

void MediaManagerDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
    accept();
    return;
  }
  FunctionWindow::keyPressEvent(event);
}

}  // namespace linkora
