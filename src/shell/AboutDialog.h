#pragma once

#include <QDialog>

class QLabel;

namespace linkora {

// "Linkora 정보": the icon, the version line, a notice and OK.
class AboutDialog final : public QDialog {
 public:
  explicit AboutDialog(const QString& versionText, QWidget* parent = nullptr);

  QString VersionLine() const;

 private:
  QLabel* version_;
};

}  // namespace linkora
