#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookEditor.h"
#include "shell/FunctionWindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace linkora {

class AvatarPreview;
class ImportReportDialog;

// The phonebook window: the 499 slots in a list, an editor for one entry at
// a time with its avatar, and the buttons that read the phonebook from the
// handset, write it back, and load and save phonebook files. What the
// controls do to the phonebook is PhonebookEditor's; this class shows its
// values, passes the user's changes in and asks the questions.
class PhonebookWindow final : public FunctionWindow {
 public:
  PhonebookWindow(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                  QWidget* parent = nullptr);

  const Phonebook& Book() const { return book_; }
  // Puts a phonebook in the window as a file load does (rows, group list,
  // handset and save buttons), without a file.
  void TakePhonebook(const Phonebook& phonebook);

  // How the report of a vCard import is shown: by default modally; a test
  // answers or inspects the dialog here.
  using ReportShower = std::function<void(ImportReportDialog&)>;
  void SetReportShower(ReportShower shower) { showReport_ = std::move(shower); }

  // The user's commands, as the controls give them.
  void ActivateRow(int row);
  void ApplyEntry();
  void DeleteEntry();
  void AvatarBoxClicked(bool ticked);
  void EditAvatar();
  void ReadFromHandset();
  void WriteToHandset();
  void LoadFile();
  void SaveFile();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Edits since the last read, load or save.
  bool HasUnsavedEdits() const override;

 private:
  void BuildControls();
  void ShowEditorValues();
  void ShowAvatar();
  void UpdateControlStates();
  void RefreshRow(int slot);
  void RefreshAllRows();
  void FillGroupList();
  void TakeText(EditorField field);
  void MarkSaved();
  void ImportVcard(const std::string& path);
  void ExportVcard(const std::string& path);

  Phonebook book_;
  std::unique_ptr<Phonebook> saved_;     // as it was last read, loaded or saved
  std::unique_ptr<Phonebook> lastRead_;  // as the handset last gave it, for the safety copy
  PhonebookEditor editor_{book_};
  ReportShower showReport_;

  QTreeWidget* list_ = nullptr;
  QComboBox* slotList_ = nullptr;
  std::array<QLineEdit*, kEditorFieldCount> edits_{};
  QComboBox* ringtoneList_ = nullptr;
  QComboBox* groupList_ = nullptr;
  QCheckBox* lockBox_ = nullptr;
  QCheckBox* avatarBox_ = nullptr;
  QPushButton* avatarEdit_ = nullptr;
  AvatarPreview* preview_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* read_ = nullptr;
  QPushButton* write_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace linkora
