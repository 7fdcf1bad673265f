#pragma once

#include <QDialog>

class QTextBrowser;

namespace linkora {

// The user help, shipped inside the program, opened at its contents.
class HelpDialog final : public QDialog {
 public:
  explicit HelpDialog(QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }

  // Shows the help beside the window the user is working in, without
  // stopping it: a transfer running in a progress window goes on. There is
  // one help window at a time; a second request moves it over the window
  // now active.
  static void ShowOverActiveWindow();

 private:
  QTextBrowser* browser_;
};

}  // namespace linkora
