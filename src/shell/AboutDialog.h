#pragma once

#include <QDialog>

class QLabel;

namespace linkora {

// "Linkora 정보": the icon, the version line, the program's own version, a
// notice and OK.
class AboutDialog final : public QDialog {
 public:
  explicit AboutDialog(const QString& versionText, QWidget* parent = nullptr);

  QString VersionLine() const;
  QString ProgramVersionLine() const;

 private:
  QLabel* version_;
  QLabel* programVersion_;
};

}  // namespace linkora
