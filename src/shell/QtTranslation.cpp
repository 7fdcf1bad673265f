#include "shell/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace linkora {

QtTranslation::QtTranslation() : previousLocale_(QLocale()) {
  // The program speaks Korean whatever the system's language is.
  QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
  loaded_ = translator_.load(QStringLiteral("qtbase_ko"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(&translator_);
}

QtTranslation::~QtTranslation() {
  if (loaded_) {
    QCoreApplication::removeTranslator(&translator_);
  }
  QLocale::setDefault(previousLocale_);
}

}  // namespace linkora
