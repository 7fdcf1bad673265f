#pragma once

#include <QDialog>
#include <array>
#include <set>
#include <string>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "shell/Artwork.h"

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;

namespace linkora {

class Profile;
class PromptService;

// The program's main window: the picture, the four function buttons and the
// menu (exit; the port COM1 to COM16 and the handset search; help and About).
// It holds the current port, restored from the profile when it is created,
// and hands its connection settings to every function window it opens.
class MainWindow final : public QDialog {
 public:
  MainWindow(LinkContext context, PromptService& prompts, Profile& profile,
             QWidget* parent = nullptr);

  // Checks the port's menu item (and no other), makes "COMn" the current
  // port and stores n in the profile. n is 1..16.
  void SelectPort(int n);
  const std::string& CurrentPortName() const { return settings_.portName; }
  const ConnectSettings& Settings() const { return settings_; }

  // The menu bar: file, port and, at its right end, help.
  QMenuBar* MenuBar() const { return menuBar_; }
  QMenu* PortMenu() const { return portMenu_; }
  QPushButton* FunctionButton(FunctionPicture picture) const {
    return buttons_[static_cast<std::size_t>(picture)];
  }

  // Menu commands.
  void SearchHandset();
  void ShowHelp();
  void ShowAbout();
  // File menu: a whole-handset backup into a folder, and a restore from one.
  void BackupHandset();
  void RestoreHandset();
  // Opens one function window modally with the current settings.
  void OpenFunction(FunctionPicture picture);

  // Enter does nothing.
  void accept() override {}
  // Exit (menu, Escape, close box): asks first; on Yes returns the handset
  // from diagnostic mode on the current port and ends the program.
  void reject() override;

 private:
  // Before anything connects: says once per run of each restore that
  // stopped part-way, and how to finish or undo it.
  void TellUnfinishedRestores();
  std::set<std::string> toldRestoreMarks_;
  void RestorePort();
  void BuildMenu();

  LinkContext context_;
  PromptService& prompts_;
  Profile& profile_;
  ConnectSettings settings_;
  QMenuBar* menuBar_ = nullptr;
  QMenu* portMenu_ = nullptr;
  std::array<QAction*, 16> portItems_{};
  std::array<QPushButton*, 4> buttons_{};
};

}  // namespace linkora
