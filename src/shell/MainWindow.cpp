#include "shell/MainWindow.h"

#include <fmt/printf.h>

#include <QDateTime>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "backup/BackupManifest.h"
#include "backup/HandsetVisitDialog.h"
#include "backup/SafetyCopy.h"
#include "common/DataFolder.h"
#include "link/ConnectAndVerify.h"
#include "link/SessionState.h"
#include "media/MediaManagerDialog.h"
#include "messages/MessageWindow.h"
#include "phonebook/PhonebookWindow.h"
#include "resources/BackupTexts.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "schedule/SchedulerWindow.h"
#include "shell/AboutDialog.h"
#include "shell/FunctionButton.h"
#include "shell/HandsetSearchDialog.h"
#include "shell/HelpDialog.h"
#include "shell/Profile.h"
#include "shell/PromptService.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

constexpr int kPortCount = 16;
constexpr int kServiceBaud = 115200;
constexpr const char* kServiceCode = "472913";

std::string PortName(int n) {
  return fmt::sprintf(std::string(texts::kPortNameFormat), n);
}

// A menu bar puts the popups after a separator at its right end when its
// style asks for separators; the separator itself is never drawn.
class HelpAtRightStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_DrawMenuBarSeparator) {
      return 1;
    }
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

}  // namespace

MainWindow::MainWindow(LinkContext context, PromptService& prompts, Profile& profile,
                       QWidget* parent)
    : QDialog(parent), context_(context), prompts_(prompts), profile_(profile) {
  // A new main window starts without remembered access data.
  context_.state.RememberedPhoneNumber.clear();
  context_.state.RememberedLockCode.clear();

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQt(context_.state.VersionText));
  setWindowIcon(ProgramIcon());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildMenu();
  layout->setMenuBar(menuBar_);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("mainPicture"));
  picture->setPixmap(QPixmap::fromImage(MainPicture()));
  picture->setFixedSize(kMainPictureWidth, kMainPictureHeight);
  layout->addWidget(picture);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  const std::array<FunctionPicture, 4> pictures{FunctionPicture::Phonebook,
                                                FunctionPicture::Scheduler,
                                                FunctionPicture::Messages, FunctionPicture::Media};
  const std::array<std::string_view, 4> names{texts::kPhonebookButton, texts::kSchedulerButton,
                                              texts::kMessagesButton, texts::kMediaButton};
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    auto* button = new linkora::FunctionButton(this);  // the class, not the accessor
    button->setIcon(QIcon(QPixmap::fromImage(ButtonPicture(pictures[i]))));
    button->setIconSize(QSize(kButtonPictureWidth, kButtonPictureHeight));
    button->setFixedSize(kButtonPictureWidth, kButtonPictureHeight);
    button->setToolTip(ToQt(names[i]));
    button->setAccessibleName(ToQt(names[i]));
    const FunctionPicture which = pictures[i];
    connect(button, &QPushButton::clicked, this, [this, which] { OpenFunction(which); });
    buttons_[i] = button;
    row->addWidget(button);
  }
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  RestorePort();
  settings_.baudRate = kServiceBaud;
  settings_.serviceCode = kServiceCode;
}

void MainWindow::BuildMenu() {
  menuBar_ = new QMenuBar(this);

  QMenu* file = menuBar_->addMenu(ToQt(texts::kMenuFile));
  QAction* backup = file->addAction(ToQt(texts::kBackupMenuItem));
  connect(backup, &QAction::triggered, this, &MainWindow::BackupHandset);
  QAction* restore = file->addAction(ToQt(texts::kRestoreMenuItem));
  connect(restore, &QAction::triggered, this, &MainWindow::RestoreHandset);
  file->addSeparator();
  QAction* exit = file->addAction(ToQt(texts::kMenuExit));
  connect(exit, &QAction::triggered, this, &MainWindow::reject);

  portMenu_ = menuBar_->addMenu(ToQt(texts::kMenuPort));
  for (int n = 1; n <= kPortCount; ++n) {
    QAction* item = portMenu_->addAction(ToQt(texts::kMenuPortItems[n - 1]));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, n] { SelectPort(n); });
    portItems_[static_cast<std::size_t>(n - 1)] = item;
  }
  portMenu_->addSeparator();
  QAction* search = portMenu_->addAction(ToQt(texts::kMenuSearch));
  connect(search, &QAction::triggered, this, &MainWindow::SearchHandset);

  // The help popup sits at the right end of the same menu bar, so the arrow
  // keys reach it from the other popups.
  auto* style = new HelpAtRightStyle;
  style->setParent(menuBar_);
  menuBar_->setStyle(style);
  menuBar_->addSeparator();
  QMenu* helpMenu = menuBar_->addMenu(ToQt(texts::kMenuHelp));
  QAction* contents = helpMenu->addAction(ToQt(texts::kMenuHelpContents));
  connect(contents, &QAction::triggered, this, &MainWindow::ShowHelp);
  QAction* about = helpMenu->addAction(ToQt(texts::kMenuAbout));
  connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::RestorePort() {
  long long port = profile_.ReadInt(texts::kProfileSection, texts::kProfilePortKey, 0);
  if (port < 1 || port > kPortCount) {
    port = 1;
    profile_.WriteInt(texts::kProfileSection, texts::kProfilePortKey, port);
  }
  SelectPort(static_cast<int>(port));
}

void MainWindow::SelectPort(int n) {
  if (n < 1 || n > kPortCount) {
    return;
  }
  for (QAction* item : portItems_) {
    item->setChecked(false);
  }
  portItems_[static_cast<std::size_t>(n - 1)]->setChecked(true);
  settings_.portName = PortName(n);
  profile_.WriteInt(texts::kProfileSection, texts::kProfilePortKey, n);
}

void MainWindow::SearchHandset() {
  HandsetSearchDialog search(context_, prompts_, this);
  if (search.exec() == SyncProgressDialog::kDone) {
    SelectPort(search.FoundPort());
    prompts_.ShowMessage(fmt::sprintf(std::string(texts::kSearchFound), search.FoundPort()));
  } else {
    prompts_.ShowMessage(texts::kSearchNotFound);
  }
}

void MainWindow::ShowHelp() {
  HelpDialog::ShowOverActiveWindow();
}

void MainWindow::ShowAbout() {
  AboutDialog about(ToQt(context_.state.VersionText), this);
  about.exec();
}

void MainWindow::BackupHandset() {
  FileDialogRequest request;
  request.caption = texts::kBackupFolderCaption;
  request.folderKey = std::string(texts::kProfileBackupFolderKey);
  const std::optional<std::string> chosen = prompts_.AskFolder(request);
  if (!chosen) {
    return;
  }
  // A folder that holds files gets a new dated folder for the backup.
  std::filesystem::path folder = *chosen;
  if (!HoldsNoFile(folder)) {
    folder /=
        "Linkora-" +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
  }
  TellUnfinishedRestores();
  HandsetVisitDialog dialog(HandsetVisitDialog::Job::Backup, context_, settings_, folder, prompts_,
                            this);
  dialog.exec();
}

void MainWindow::RestoreHandset() {
  FileDialogRequest request;
  request.caption = texts::kRestoreFolderCaption;
  request.folderKey = std::string(texts::kProfileBackupFolderKey);
  const std::optional<std::string> chosen = prompts_.AskFolder(request);
  if (!chosen) {
    return;
  }
  TellUnfinishedRestores();
  HandsetVisitDialog dialog(HandsetVisitDialog::Job::Restore, context_, settings_, *chosen,
                            prompts_, this);
  dialog.exec();
}

void MainWindow::TellUnfinishedRestores() {
  for (const RestoreMark& mark : FindRestoreMarks(DefaultDataFolder())) {
    if (toldRestoreMarks_.insert(mark.safetyCopy.string()).second) {
      prompts_.ShowMessage(UnfinishedRestoreText(mark));
    }
  }
}

void MainWindow::OpenFunction(FunctionPicture picture) {
  TellUnfinishedRestores();
  switch (picture) {
    case FunctionPicture::Phonebook: {
      PhonebookWindow window(settings_, context_, prompts_, this);
      window.exec();
      break;
    }
    case FunctionPicture::Scheduler: {
      SchedulerWindow window(settings_, context_, prompts_);
      window.exec();
      break;
    }
    case FunctionPicture::Messages: {
      MessageWindow window(settings_, context_, prompts_);
      window.exec();
      break;
    }
    case FunctionPicture::Media: {
      MediaManagerDialog window(settings_, context_, prompts_, profile_);
      window.exec();
      break;
    }
  }
}

void MainWindow::reject() {
  if (!prompts_.AskYesNo(texts::kExitQuestion, texts::kAppTitle)) {
    return;
  }
  // The handset leaves diagnostic mode; whether anything answered is not told.
  SendModeReturn(context_, settings_.portName);
  QDialog::reject();
}

}  // namespace linkora
