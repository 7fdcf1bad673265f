#include "shell/SyncApp.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "link/LinkContext.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/Artwork.h"
#include "shell/HelpDialog.h"
#include "shell/HelpKey.h"
#include "shell/MainWindow.h"
#include "shell/QtText.h"
#include "shell/QtTranslation.h"

namespace linkora {

SyncApp::SyncApp(std::unique_ptr<HandsetLibrary> library)
    : library_(std::move(library)),
      state_(InitialState()),
      profile_(DefaultProfilePath()),
      prompts_(&profile_) {}

SessionState SyncApp::InitialState() {
  SessionState state;
  state.VersionText = std::string(texts::kVersionText);
  return state;
}

int SyncApp::Run() {
  // NanumGothic carries every Korean glyph the windows show.
  QFont font(QStringLiteral("NanumGothic"));
  font.setPointSize(9);
  QApplication::setFont(font);
  QApplication::setWindowIcon(ProgramIcon());
  const QtTranslation translation;
  HelpKey helpKey(&HelpDialog::ShowOverActiveWindow);
  QApplication::instance()->installEventFilter(&helpKey);

  MainWindow window(LinkContext{*library_, sleep_, state_}, prompts_, profile_);
  window.exec();
  return 0;
}

}  // namespace linkora
