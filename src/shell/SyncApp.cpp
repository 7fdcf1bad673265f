#include "shell/SyncApp.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "link/LinkContext.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/Artwork.h"
#include "shell/MainWindow.h"
#include "shell/QtText.h"

namespace linkora {

SyncApp::SyncApp(std::unique_ptr<HandsetLibrary> library)
    : library_(std::move(library)), state_(InitialState()), profile_(DefaultProfilePath()) {}

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

  MainWindow window(LinkContext{*library_, sleep_, state_}, prompts_, profile_);
  window.exec();
  return 0;
}

}  // namespace linkora
