#include "shell/HelpDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/Artwork.h"
#include "shell/QtText.h"

namespace linkora {

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQt(texts::kHelpTitle));
  setWindowIcon(ProgramIcon());
  resize(560, 600);

  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(false);
  QFile page(QStringLiteral(":/help/index.html"));
  if (page.open(QIODevice::ReadOnly)) {
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
  } else {
    browser_->setPlainText(ToQt(texts::kHelpMissing));
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQt(texts::kOk));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
}

}  // namespace linkora
