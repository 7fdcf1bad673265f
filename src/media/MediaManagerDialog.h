#pragma once

#include "media/MediaInfo.h"
#include "media/MediaOperations.h"
#include "media/MediaUpload.h"
#include "shell/FunctionWindow.h"

class QListWidget;
class QPushButton;

namespace linkora {

class Profile;

// The media window: the media stored on the handset and the PC files waiting
// to be sent, side by side, with the list read, download, choice of PC files
// and upload. The operations themselves are the media core's; the window
// only supplies their controls, prompts and transfer windows.
class MediaManagerDialog final : public FunctionWindow, public MediaWindow {
 public:
  MediaManagerDialog(const ConnectSettings& settings, LinkContext context, PromptService& prompts,
                     Profile& profile, QWidget* parent = nullptr);

  // The four buttons.
  void ReadList();
  void Download();
  void ChoosePcFiles();
  void Upload();
  // A double-click in the PC list.
  void RemovePcFile(int row);

  QListWidget* PhoneList() const { return phoneList_; }
  QListWidget* PcList() const { return pcList_; }
  QPushButton* ReadButton() const { return readButton_; }
  QPushButton* DownloadButton() const { return downloadButton_; }
  QPushButton* ChooseButton() const { return chooseButton_; }
  QPushButton* UploadButton() const { return uploadButton_; }
  const PcFileList& PcFiles() const { return pcFiles_; }

  // MediaWindow
  int RunTransfer(MediaTransferJob& job) override;
  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view question) override;
  void ClearPhoneList() override;
  void AddPhoneItem(int slot, const std::string& name) override;
  int PhoneItemCount() const override;
  std::vector<int> SelectedSlots() const override;
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& initial,
                                                      std::string_view defaultExtension,
                                                      std::string_view filter) override;
  std::string DataPath() const override;
  void SetDataPath(const std::string& folder) override;

 protected:
  // Enter while no button has the focus closes the window at once, without
  // the end of the handset visit.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Shows the PC list as the PC files hold it; `top` is scrolled to the top.
  void ShowPcFiles(int top);

  Profile& profile_;
  MediaLists lists_;
  PcFileList pcFiles_;
  QListWidget* phoneList_ = nullptr;
  QListWidget* pcList_ = nullptr;
  QPushButton* readButton_ = nullptr;
  QPushButton* downloadButton_ = nullptr;
  QPushButton* chooseButton_ = nullptr;
  QPushButton* uploadButton_ = nullptr;
};

}  // namespace linkora
