#include <QApplication>

#include "shell/HandsetLibraryFactory.h"
#include "shell/SyncApp.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("linkora"));
  linkora::SyncApp app(linkora::CreateHandsetLibrary());
  return app.Run();
}
