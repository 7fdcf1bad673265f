#pragma once

#include <QDialog>

class QTextBrowser;

namespace linkora {

// The user help, shipped inside the program, opened at its contents.
class HelpDialog final : public QDialog {
 public:
  explicit HelpDialog(QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace linkora
