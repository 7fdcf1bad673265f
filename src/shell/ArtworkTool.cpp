// Writes the program's pictures as PNG files:
//   linkora-artwork icon SIZE FILE     the program icon at SIZE x SIZE
//   linkora-artwork all FOLDER         the main picture, the four buttons and the icon
//   linkora-artwork screens FOLDER     pictures of the main window, its port menu
//                                      and the handset search window, the
//                                      access dialogs, About, the help and a
//                                      file dialog in Korean
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFont>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QString>
#include <cstdio>

#include "link/SessionState.h"
#include "shell/AboutDialog.h"
#include "shell/Artwork.h"
#include "shell/HandsetLibraryFactory.h"
#include "shell/HandsetSearchDialog.h"
#include "shell/HelpDialog.h"
#include "shell/LockCodeDialog.h"
#include "shell/MainWindow.h"
#include "shell/PhoneNumberDialog.h"
#include "shell/Profile.h"
#include "shell/PumpingSleep.h"
#include "shell/QtPromptService.h"
#include "shell/QtTranslation.h"
#include "shell/SyncApp.h"
#include "shell/WindowPicture.h"

namespace {

int Screens(const QString& folder) {
  QDir().mkpath(folder);
  QFont font(QStringLiteral("NanumGothic"));
  font.setPointSize(9);
  QApplication::setFont(font);
  const linkora::QtTranslation translation;

  auto library = linkora::CreateHandsetLibrary();
  linkora::PumpingSleep sleep;
  linkora::SessionState state = linkora::SyncApp::InitialState();
  linkora::QtPromptService prompts;
  linkora::Profile profile((folder + "/linkora.ini").toStdString());
  linkora::MainWindow window(linkora::LinkContext{*library, sleep, state}, prompts, profile);
  window.SelectPort(11);
  window.show();
  QApplication::processEvents();
  const QImage main = linkora::FramedWindowPicture(window);
  bool ok = linkora::SavePicture(main, folder + "/main-window.png");

  // The port menu, opened under its title.
  QMenu* menu = window.PortMenu();
  menu->ensurePolished();
  menu->adjustSize();
  menu->setActiveAction(menu->actions()[10]);
  const QPixmap popup = menu->grab();
  const QRect title = window.MenuBar()->actionGeometry(window.MenuBar()->actions()[1]);
  QImage withMenu = main;
  withMenu = withMenu.copy(0, 0, std::max(main.width(), title.left() + popup.width() + 8),
                           std::max(main.height(), 27 + title.bottom() + popup.height() + 8));
  {
    QPainter p(&withMenu);
    p.fillRect(QRect(title.left() + 1, title.top() + 27, title.width(), title.height()),
               QColor(0xCC, 0xE0, 0xFF));
    p.setPen(Qt::black);
    p.drawText(QRect(title.left() + 1, title.top() + 27, title.width(), title.height()),
               Qt::AlignCenter | Qt::TextShowMnemonic, window.MenuBar()->actions()[1]->text());
    p.fillRect(QRect(title.left() + 5, title.bottom() + 32, popup.width(), popup.height()),
               QColor(0, 0, 0, 60));
    p.drawPixmap(title.left() + 1, title.bottom() + 28, popup);
  }
  ok = linkora::SavePicture(withMenu, folder + "/port-menu.png") && ok;

  linkora::HandsetSearchDialog search(linkora::LinkContext{*library, sleep, state}, prompts);
  search.SetProgress(7 * 100 / 16);
  search.ensurePolished();
  ok = linkora::SavePicture(linkora::FramedWindowPicture(search), folder + "/search-window.png") &&
       ok;

  linkora::PhoneNumberDialog phoneNumber(prompts);
  ok = linkora::SavePicture(linkora::FramedWindowPicture(phoneNumber),
                            folder + "/phone-number-dialog.png") &&
       ok;
  linkora::LockCodeDialog lockCode(prompts);
  ok = linkora::SavePicture(linkora::FramedWindowPicture(lockCode),
                            folder + "/lock-code-dialog.png") &&
       ok;
  linkora::AboutDialog about(QString::fromStdString(state.VersionText));
  ok =
      linkora::SavePicture(linkora::FramedWindowPicture(about), folder + "/about-dialog.png") && ok;

  // The keyboard focus on the second function button.
  window.FunctionButton(linkora::FunctionPicture::Scheduler)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ok = linkora::SavePicture(linkora::FramedWindowPicture(window),
                            folder + "/main-window-focus.png") &&
       ok;

  linkora::HelpDialog help;
  help.show();
  QApplication::processEvents();
  ok = linkora::SavePicture(linkora::FramedWindowPicture(help), folder + "/help-window.png") && ok;
  help.hide();

  // A save dialog as the phonebook opens it, with Qt's own texts in Korean.
  QFileDialog files(nullptr, QStringLiteral("다른 이름으로 저장"), folder,
                    QStringLiteral("Norvane Directory File (*.ndf)"));
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.setAcceptMode(QFileDialog::AcceptSave);
  files.setViewMode(QFileDialog::Detail);
  files.selectFile(QStringLiteral("전화번호부.ndf"));
  files.resize(640, 400);
  files.show();
  QElapsedTimer listing;
  listing.start();
  while (listing.elapsed() < 500) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  ok = linkora::SavePicture(linkora::FramedWindowPicture(files), folder + "/file-dialog.png") && ok;
  files.hide();
  window.hide();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() == 4 && args[1] == QStringLiteral("icon")) {
    bool ok = false;
    const int size = args[2].toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
      std::fprintf(stderr, "linkora-artwork: icon size must be 16..1024\n");
      return 2;
    }
    return linkora::SavePicture(linkora::ProgramIconImage(size), args[3]) ? 0 : 1;
  }
  if (args.size() == 3 && args[1] == QStringLiteral("all")) {
    const QString folder = args[2] + '/';
    QDir().mkpath(folder);
    using linkora::FunctionPicture;
    const bool ok = linkora::SavePicture(linkora::MainPicture(), folder + "main.png") &&
                    linkora::SavePicture(linkora::ButtonPicture(FunctionPicture::Phonebook),
                                         folder + "phonebook.png") &&
                    linkora::SavePicture(linkora::ButtonPicture(FunctionPicture::Scheduler),
                                         folder + "scheduler.png") &&
                    linkora::SavePicture(linkora::ButtonPicture(FunctionPicture::Messages),
                                         folder + "messages.png") &&
                    linkora::SavePicture(linkora::ButtonPicture(FunctionPicture::Media),
                                         folder + "media.png") &&
                    linkora::SavePicture(linkora::ProgramIconImage(256), folder + "icon.png");
    return ok ? 0 : 1;
  }
  if (args.size() == 3 && args[1] == QStringLiteral("screens")) {
    return Screens(args[2]);
  }
  std::fprintf(stderr, "usage: linkora-artwork icon SIZE FILE | all FOLDER | screens FOLDER\n");
  return 2;
}
