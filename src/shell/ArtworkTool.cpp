// Writes the program's pictures as PNG files:
//   linkora-artwork icon SIZE FILE     the program icon at SIZE x SIZE
//   linkora-artwork all FOLDER         the main picture, the four buttons and the icon
#include <QGuiApplication>
#include <QString>
#include <cstdio>

#include "shell/Artwork.h"

namespace {

bool Save(const QImage& image, const QString& file) {
  if (!image.save(file, "PNG")) {
    std::fprintf(stderr, "linkora-artwork: cannot write %s\n", qPrintable(file));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() == 4 && args[1] == QStringLiteral("icon")) {
    bool ok = false;
    const int size = args[2].toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
      std::fprintf(stderr, "linkora-artwork: icon size must be 16..1024\n");
      return 2;
    }
    return Save(linkora::ProgramIconImage(size), args[3]) ? 0 : 1;
  }
  if (args.size() == 3 && args[1] == QStringLiteral("all")) {
    const QString folder = args[2] + '/';
    using linkora::FunctionPicture;
    const bool ok =
        Save(linkora::MainPicture(), folder + "main.png") &&
        Save(linkora::ButtonPicture(FunctionPicture::Phonebook), folder + "phonebook.png") &&
        Save(linkora::ButtonPicture(FunctionPicture::Scheduler), folder + "scheduler.png") &&
        Save(linkora::ButtonPicture(FunctionPicture::Messages), folder + "messages.png") &&
        Save(linkora::ButtonPicture(FunctionPicture::Media), folder + "media.png") &&
        Save(linkora::ProgramIconImage(256), folder + "icon.png");
    return ok ? 0 : 1;
  }
  std::fprintf(stderr, "usage: linkora-artwork icon SIZE FILE | all FOLDER\n");
  return 2;
}
