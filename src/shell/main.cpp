#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "shell/HandsetLibraryFactory.h"
#include "shell/SyncApp.h"

namespace {

bool HasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

int main(int argc, char* argv[]) {
  // Without a display Qt would stop the process hard; say why instead.
  if (!HasEnv("DISPLAY") && !HasEnv("WAYLAND_DISPLAY") && !HasEnv("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "linkora: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("linkora"));
  linkora::SyncApp app(linkora::CreateHandsetLibrary());
  return app.Run();
}
