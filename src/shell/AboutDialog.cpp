#include "shell/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <fmt/printf.h>

#include "common/Version.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/Artwork.h"
#include "shell/QtText.h"

namespace linkora {

AboutDialog::AboutDialog(const QString& versionText, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQt(texts::kAboutTitle));
  setWindowIcon(ProgramIcon());

  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(ProgramIconImage(48)));
  icon->setAlignment(Qt::AlignTop);

  version_ = new QLabel(versionText, this);
  version_->setObjectName(QStringLiteral("version"));
  programVersion_ = new QLabel(
      ToQt(fmt::sprintf(std::string(texts::kAboutProgramVersion), std::string(kProgramVersion))),
      this);
  programVersion_->setObjectName(QStringLiteral("programVersion"));
  auto* notice = new QLabel(ToQt(texts::kAboutNotice), this);
  notice->setWordWrap(true);
  notice->setMinimumWidth(300);

  auto* lines = new QVBoxLayout;
  lines->addWidget(version_);
  lines->addWidget(programVersion_);
  lines->addWidget(notice);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(lines, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQt(texts::kOk));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::VersionLine() const {
  return version_->text();
}

QString AboutDialog::ProgramVersionLine() const {
  return programVersion_->text();
}

}  // namespace linkora
