#pragma once

#include <QLocale>
#include <QTranslator>

namespace linkora {

// Qt's own texts in Korean: the file dialogs, the edit fields' menus and the
// standard buttons, from the translations installed with Qt. While it lives
// the translation is installed in the application, and Korean is the
// default locale, so the file dialogs show their dates in Korean too; both
// end with it.
class QtTranslation final {
 public:
  QtTranslation();
  ~QtTranslation();
  QtTranslation(const QtTranslation&) = delete;
  QtTranslation& operator=(const QtTranslation&) = delete;

  // False when Qt's Korean translation is not installed; Qt's texts then stay English.
  bool Loaded() const { return loaded_; }

 private:
  QLocale previousLocale_;
  QTranslator translator_;
  bool loaded_ = false;
};

}  // namespace linkora
