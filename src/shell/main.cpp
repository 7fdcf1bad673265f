#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "common/Version.h"
#include "resources/ShellTexts.h"
#include "shell/HandsetLibraryFactory.h"
#include "shell/SyncApp.h"

namespace {

bool HasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so they work without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << linkora::texts::kProgramUsage;
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "linkora " << linkora::kProgramVersion << '\n';
      return 0;
    }
  }
  // Without a display Qt would stop the process hard; say why instead.
  if (!HasEnv("DISPLAY") && !HasEnv("WAYLAND_DISPLAY") && !HasEnv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "linkora: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("linkora"));
  QApplication::setApplicationVersion(
      QString::fromUtf8(linkora::kProgramVersion.data(), linkora::kProgramVersion.size()));
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.linkora.Linkora"));
  linkora::SyncApp app(linkora::CreateHandsetLibrary());
  return app.Run();
}
