#include "phonebook/PhonebookWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QValidator>
#include <filesystem>

#include "phonebook/AvatarArt.h"
#include "phonebook/AvatarLayout.h"
#include "phonebook/AvatarPickerDialog.h"
#include "phonebook/AvatarPreview.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookSyncDialog.h"
#include "phonebook/PhonebookTransfer.h"
#include "phonebook/VcardReader.h"
#include "phonebook/VcardWriter.h"
#include "resources/PhonebookTexts.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/ImportReportDialog.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// Window layout in pixels. The list and the file buttons on the left, the
// editor on the right with the avatar preview at its foot.
constexpr int kWindowWidth = 756;
constexpr int kWindowHeight = 480;
constexpr int kLabelX = 594;
constexpr int kLabelWidth = 44;
constexpr int kFieldX = 640;
constexpr int kFieldWidth = 100;
constexpr int kFieldHeight = 22;
constexpr int kFirstRowY = 24;
constexpr int kRowStep = 27;

// Refuses an edit that the entry's field cannot hold: too many CP949 bytes,
// a character CP949 lacks, or a non-digit in a number.
class FieldValidator final : public QValidator {
 public:
  FieldValidator(EditorField field, QObject* parent) : QValidator(parent), field_(field) {}
  State validate(QString& input, int& /*position*/) const override {
    return PhonebookEditor::Accepts(field_, FromQt(input)) ? Acceptable : Invalid;
  }

 private:
  EditorField field_;
};

struct FieldRow {
  EditorField field;
  std::string_view label;
  const char* name;
};
constexpr std::array<FieldRow, kEditorFieldCount> kFieldRows = {{
    {EditorField::Name, texts::kNameLabel, "name"},
    {EditorField::Mobile, texts::kMobileLabel, "mobile"},
    {EditorField::Home, texts::kHomeLabel, "home"},
    {EditorField::Office, texts::kOfficeLabel, "office"},
    {EditorField::Fax, texts::kFaxLabel, "fax"},
    {EditorField::Email, texts::kEmailLabel, "email"},
}};

QPushButton* Button(std::string_view text, const char* name, QRect place, QWidget* parent) {
  auto* button = new QPushButton(ToQt(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  // No button answers Enter: Enter in the editor neither applies nor closes.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QLabel* Label(std::string_view text, int row, QWidget* parent) {
  auto* label = new QLabel(ToQt(text), parent);
  label->setGeometry(kLabelX, kFirstRowY + kRowStep * row, kLabelWidth, kFieldHeight);
  return label;
}

QRect FieldPlace(int row) {
  return {kFieldX, kFirstRowY + kRowStep * row, kFieldWidth, kFieldHeight};
}

// The phonebook file stays the first type of the file dialogs; vCard follows.
std::string PhonebookFileFilters() {
  return std::string(texts::kPhonebookFileFilter) + ";;" + std::string(texts::kVcardFileFilter);
}

// Chosen by the name's extension: the file dialogs offer both types.
bool IsVcardPath(const std::string& path) {
  return QString::fromStdString(path).endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive);
}

QStringList ToQtList(const std::vector<std::string>& items) {
  QStringList out;
  for (const std::string& item : items) {
    out.append(ToQt(item));
  }
  return out;
}

}  // namespace

PhonebookWindow::PhonebookWindow(const ConnectSettings& settings, LinkContext context,
                                 PromptService& prompts, QWidget* parent)
    : FunctionWindow(settings, context, prompts, parent),
      saved_(std::make_unique<Phonebook>(book_)) {
  setWindowTitle(ToQt(texts::kPhonebookWindowTitle));
  setFixedSize(kWindowWidth, kWindowHeight);
  BuildControls();
  RefreshAllRows();
  UpdateControlStates();
}

void PhonebookWindow::BuildControls() {
  // ---- Slot list ----
  auto* listFrame = new QGroupBox(ToQt(texts::kListFrame), this);
  listFrame->setGeometry(8, 4, 568, 404);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("slots"));
  list_->setGeometry(16, 24, 552, 376);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setColumnCount(PhonebookEditor::kColumnCount);
  QStringList titles;
  for (const PhonebookColumn& column : PhonebookEditor::Columns()) {
    titles.append(ToQt(column.title));
  }
  list_->setHeaderLabels(titles);
  list_->header()->setStretchLastSection(false);
  for (int c = 0; c < PhonebookEditor::kColumnCount; ++c) {
    list_->setColumnWidth(c, PhonebookEditor::Columns()[static_cast<std::size_t>(c)].width);
  }
  QList<QTreeWidgetItem*> rows;
  for (int row = 0; row < PhonebookEditor::kRowCount; ++row) {
    rows.append(new QTreeWidgetItem());
  }
  list_->addTopLevelItems(rows);
  connect(list_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { ActivateRow(list_->indexOfTopLevelItem(item)); });

  // ---- Handset and file buttons ----
  read_ = Button(texts::kReadFromHandsetButton, "read", {16, 430, 132, 28}, this);
  write_ = Button(texts::kWriteToHandsetButton, "write", {154, 430, 132, 28}, this);
  auto* fileFrame = new QGroupBox(ToQt(texts::kFileFrame), this);
  fileFrame->setGeometry(296, 410, 280, 62);
  load_ = Button(texts::kLoadFileButton, "load", {306, 430, 128, 28}, this);
  save_ = Button(texts::kSaveFileButton, "save", {440, 430, 128, 28}, this);
  connect(read_, &QPushButton::clicked, this, &PhonebookWindow::ReadFromHandset);
  connect(write_, &QPushButton::clicked, this, &PhonebookWindow::WriteToHandset);
  connect(load_, &QPushButton::clicked, this, &PhonebookWindow::LoadFile);
  connect(save_, &QPushButton::clicked, this, &PhonebookWindow::SaveFile);

  // ---- Editor ----
  auto* editorFrame = new QGroupBox(ToQt(texts::kEditorFrame), this);
  editorFrame->setGeometry(584, 4, 164, 468);
  Label(texts::kSlotLabel, 0, this);
  slotList_ = new QComboBox(this);
  slotList_->setObjectName(QStringLiteral("slotList"));
  slotList_->setGeometry(FieldPlace(0));
  slotList_->addItems(ToQtList(PhonebookEditor::SlotListTexts()));
  slotList_->setCurrentIndex(0);
  slotList_->setEnabled(false);  // shows the open slot; never chosen by hand

  for (std::size_t i = 0; i < kFieldRows.size(); ++i) {
    const FieldRow& row = kFieldRows[i];
    Label(row.label, static_cast<int>(i) + 1, this);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(row.name));
    edit->setGeometry(FieldPlace(static_cast<int>(i) + 1));
    edit->setValidator(new FieldValidator(row.field, edit));
    connect(edit, &QLineEdit::textEdited, this, [this, field = row.field] { TakeText(field); });
    edits_[static_cast<std::size_t>(row.field)] = edit;
  }

  Label(texts::kRingtoneLabel, 7, this);
  ringtoneList_ = new QComboBox(this);
  ringtoneList_->setObjectName(QStringLiteral("ringtone"));
  ringtoneList_->setGeometry(FieldPlace(7));
  ringtoneList_->addItems(ToQtList(PhonebookRingtoneTexts()));
  ringtoneList_->setCurrentIndex(0);
  connect(ringtoneList_, &QComboBox::activated, this,
          [this](int index) { editor_.SetRingtonePosition(index); });

  Label(texts::kGroupLabel, 8, this);
  groupList_ = new QComboBox(this);
  groupList_->setObjectName(QStringLiteral("group"));
  groupList_->setGeometry(FieldPlace(8));
  groupList_->addItem(ToQt(texts::kNoGroup));
  groupList_->setCurrentIndex(0);
  connect(groupList_, &QComboBox::activated, this,
          [this](int index) { editor_.SetGroupPosition(index); });
  // The drop-downs open wide enough for their longest name.
  for (QComboBox* box : {ringtoneList_, groupList_}) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  }

  lockBox_ = new QCheckBox(ToQt(texts::kLockBox), this);
  lockBox_->setObjectName(QStringLiteral("lock"));
  lockBox_->setGeometry(kLabelX, 268, 120, 20);
  connect(lockBox_, &QCheckBox::clicked, this,
          [this](bool ticked) { editor_.SetLockMark(ticked); });

  avatarBox_ = new QCheckBox(ToQt(texts::kAvatarUseBox), this);
  avatarBox_->setObjectName(QStringLiteral("avatarUse"));
  avatarBox_->setGeometry(kLabelX, 294, 88, 22);
  connect(avatarBox_, &QCheckBox::clicked, this, &PhonebookWindow::AvatarBoxClicked);
  avatarEdit_ = Button(texts::kAvatarEditButton, "avatarEdit", {686, 292, 54, 26}, this);
  connect(avatarEdit_, &QPushButton::clicked, this, &PhonebookWindow::EditAvatar);

  // Shown only while the entry uses its avatar.
  preview_ = new AvatarPreview(this);
  preview_->move(kAvatarFrame.windowX, kAvatarFrame.windowY);
  preview_->hide();

  apply_ = Button(texts::kApplyButton, "apply", {kLabelX, 322, 70, 26}, this);
  delete_ = Button(texts::kDeleteButton, "delete", {670, 322, 70, 26}, this);
  connect(apply_, &QPushButton::clicked, this, &PhonebookWindow::ApplyEntry);
  connect(delete_, &QPushButton::clicked, this, &PhonebookWindow::DeleteEntry);
}

void PhonebookWindow::TakeText(EditorField field) {
  QLineEdit* edit = edits_[static_cast<std::size_t>(field)];
  if (!editor_.SetText(field, FromQt(edit->text()))) {
    // The validator lets nothing through that the field cannot hold; should
    // anything slip past, the control shows what the entry holds.
    edit->setText(ToQt(editor_.Text(field)));
  }
}

void PhonebookWindow::ShowEditorValues() {
  for (const FieldRow& row : kFieldRows) {
    QLineEdit* edit = edits_[static_cast<std::size_t>(row.field)];
    edit->setText(ToQt(editor_.Text(row.field)));
    edit->setCursorPosition(0);  // a long address shows from its start
  }
  slotList_->setCurrentIndex(editor_.SlotListIndex());
  ringtoneList_->setCurrentIndex(std::max(editor_.RingtonePosition(), 0));
  groupList_->setCurrentIndex(std::max(editor_.GroupPosition(), 0));
  lockBox_->setChecked(editor_.LockMark());
  avatarBox_->setChecked(editor_.AvatarUse());
  UpdateControlStates();
  ShowAvatar();
}

void PhonebookWindow::ShowAvatar() {
  preview_->SetParts(editor_.AvatarPartValues());
  preview_->setVisible(editor_.AvatarUse());
}

void PhonebookWindow::UpdateControlStates() {
  const bool editing = editor_.EditorEnabled();
  for (QLineEdit* edit : edits_) {
    edit->setEnabled(editing);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{ringtoneList_, groupList_, lockBox_,
                                                          avatarBox_, apply_, delete_}) {
    control->setEnabled(editing);
  }
  avatarEdit_->setEnabled(editor_.AvatarEditEnabled());
  write_->setEnabled(editor_.TransfersEnabled());
  save_->setEnabled(editor_.TransfersEnabled());
}

void PhonebookWindow::RefreshRow(int slot) {
  QTreeWidgetItem* item = list_->topLevelItem(PhonebookEditor::RowOfSlot(slot));
  const auto texts = editor_.RowTexts(slot);
  for (int c = 0; c < PhonebookEditor::kColumnCount; ++c) {
    item->setText(c, ToQt(texts[static_cast<std::size_t>(c)]));
  }
}

void PhonebookWindow::RefreshAllRows() {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    // No events are handled between rows: filling all of them takes
    // milliseconds, and a queued event run half-way would meet a list that
    // shows part old, part new data.
    RefreshRow(slot);
  }
}

void PhonebookWindow::FillGroupList() {
  groupList_->clear();
  groupList_->addItems(ToQtList(GroupListTexts(book_.Groups())));
  // An entry still open keeps showing the group it will be applied with.
  groupList_->setCurrentIndex(editor_.EditorEnabled() ? std::max(editor_.GroupPosition(), 0) : 0);
}

void PhonebookWindow::TakePhonebook(const Phonebook& phonebook) {
  book_ = phonebook;
  RefreshAllRows();
  FillGroupList();
  editor_.AfterLoad();
  UpdateControlStates();
  MarkSaved();
}

void PhonebookWindow::MarkSaved() {
  *saved_ = book_;
}

bool PhonebookWindow::HasUnsavedEdits() const {
  return !(book_ == *saved_);
}

void PhonebookWindow::ActivateRow(int row) {
  if (row < 0 || row >= PhonebookEditor::kRowCount) {
    return;
  }
  const int slot = PhonebookEditor::SlotOfRow(row);
  if (editor_.IsSlotUsed(slot)) {
    const std::optional<std::string_view> message = editor_.OpenEntry(slot);
    if (message) {
      Prompts().ShowMessage(*message);
    }
    ShowEditorValues();
    return;
  }
  if (!Prompts().AskYesNo(texts::kAddEntryQuestion, texts::kPhonebookQuestionTitle)) {
    return;
  }
  editor_.StartNewEntry(slot);
  ShowEditorValues();
  edits_[static_cast<std::size_t>(EditorField::Name)]->setFocus();
  Prompts().ShowMessage(texts::kFillThenApply);
}

void PhonebookWindow::ApplyEntry() {
  const std::optional<std::string_view> refused = editor_.Apply();
  if (refused) {
    Prompts().ShowMessage(*refused);
    return;
  }
  RefreshRow(editor_.OpenSlot());
  UpdateControlStates();
}

void PhonebookWindow::DeleteEntry() {
  if (!Prompts().AskYesNo(texts::kDeleteEntryQuestion, texts::kPhonebookQuestionTitle)) {
    return;
  }
  const int slot = editor_.OpenSlot();
  editor_.Delete();
  if (slot >= kFirstSlot) {
    RefreshRow(slot);
  }
  ShowEditorValues();
}

void PhonebookWindow::AvatarBoxClicked(bool ticked) {
  if (editor_.OpenSlot() < kFirstSlot) {
    return;
  }
  editor_.SetAvatarUse(ticked);
  avatarBox_->setChecked(editor_.AvatarUse());
  UpdateControlStates();
  ShowAvatar();
}

void PhonebookWindow::EditAvatar() {
  AvatarPickerDialog picker(editor_.AvatarPartsForPicker(), this);
  if (picker.exec() == QDialog::Accepted) {
    editor_.TakePickedAvatar(picker.Parts());
  }
  ShowAvatar();
}

void PhonebookWindow::ReadFromHandset() {
  PhonebookSyncDialog progress(static_cast<int>(PhonebookSyncMode::Read), Context(), Settings(),
                               book_, Prompts(), this);
  if (RunProgress(progress) != kPhonebookTransferDone) {
    return;
  }
  lastRead_ = std::make_unique<Phonebook>(book_);
  RefreshAllRows();
  // The editor closes before the group list refills, so the list starts again
  // at its first item ("지정안됨") rather than at the closed entry's group.
  editor_.AfterRead();
  FillGroupList();
  UpdateControlStates();
  MarkSaved();
}

void PhonebookWindow::WriteToHandset() {
  const bool confirmed = ConfirmPhonebookWrite(
      [this](std::string_view question) { return Prompts().AskYesNo(question, texts::kAppTitle); });
  if (!confirmed || !KeepSafetyCopy(lastRead_.get(), nullptr)) {
    return;
  }
  PhonebookSyncDialog progress(static_cast<int>(PhonebookSyncMode::Write), Context(), Settings(),
                               book_, Prompts(), this);
  const int result = RunProgress(progress);
  TellSafetyCopy();
  if (result == kPhonebookTransferDone) {
    CloseAfterReset();  // the handset restarts; no mode return
  }
}

void PhonebookWindow::LoadFile() {
  FileDialogRequest request;
  request.caption = std::string(texts::kLoadFileCaption);
  request.filter = PhonebookFileFilters();
  request.defaultSuffix = std::string(texts::kPhonebookFileExtension);
  request.folderKey = std::string(texts::kProfilePhonebookFolderKey);
  const std::optional<std::string> path = Prompts().AskOpenFileName(request);
  if (!path) {
    return;
  }
  if (IsVcardPath(*path)) {
    ImportVcard(*path);
    return;
  }
  switch (LoadPhonebookFile(std::filesystem::path(*path), book_)) {
    case PhonebookFileLoad::Loaded:
      RefreshAllRows();
      FillGroupList();
      editor_.AfterLoad();
      UpdateControlStates();
      MarkSaved();
      Prompts().ShowMessage(texts::kPhonebookFileLoaded);
      break;
    case PhonebookFileLoad::BadFormat:
      Prompts().ShowMessage(texts::kFileBadFormat);
      break;
    case PhonebookFileLoad::CannotOpen:
      break;
  }
}

void PhonebookWindow::SaveFile() {
  FileDialogRequest request;
  request.caption = std::string(texts::kSaveFileCaption);
  request.filter = PhonebookFileFilters();
  request.defaultSuffix = std::string(texts::kPhonebookFileExtension);
  request.folderKey = std::string(texts::kProfilePhonebookFolderKey);
  const std::optional<std::string> path = Prompts().AskSaveFileName(request);
  if (!path) {
    return;
  }
  if (IsVcardPath(*path)) {
    ExportVcard(*path);
    return;
  }
  std::string error;
  if (SavePhonebookFile(std::filesystem::path(*path), book_, error)) {
    MarkSaved();
    Prompts().ShowMessage(texts::kPhonebookFileSaved);
  } else {
    Prompts().ShowMessage(std::string(texts::kFileWriteFailed) + "\n" + error);
  }
}

// Adds the file's contacts to the window's phonebook (free slots; a card of
// ours goes back to its own slot) and shows what did not fit. A refused file
// changes nothing.
void PhonebookWindow::ImportVcard(const std::string& path) {
  VcardReader reader;
  if (!reader.Load(std::filesystem::path(path), book_)) {
    Prompts().ShowMessage(reader.errorString());
    return;
  }
  RefreshAllRows();
  FillGroupList();
  editor_.AfterLoad();
  UpdateControlStates();
  ImportReportDialog dialog(reader.Report(), this);
  if (showReport_) {
    showReport_(dialog);
  } else {
    dialog.exec();
  }
}

void PhonebookWindow::ExportVcard(const std::string& path) {
  VcardWriter writer;
  if (writer.Save(std::filesystem::path(path), book_)) {
    Prompts().ShowMessage(texts::kVcardSaved);
  } else {
    Prompts().ShowMessage(writer.errorString());
  }
}

void PhonebookWindow::keyPressEvent(QKeyEvent* event) {
  // Enter applies nothing and does not close the window.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  FunctionWindow::keyPressEvent(event);
}

}  // namespace linkora
