#include "shell/HelpDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPointer>
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

void HelpDialog::ShowOverActiveWindow() {
  static QPointer<HelpDialog> shown;
  QWidget* over = QApplication::activeModalWidget();
  if (over == nullptr) {
    over = QApplication::activeWindow();
  }
  if (shown != nullptr && over != nullptr && (over == shown || shown->parentWidget() == over)) {
    shown->raise();
    shown->activateWindow();
    return;
  }
  // A help window of an earlier window would be blocked by the modal one now
  // active; a new one belongs to the active window and so takes input.
  delete shown;
  shown = new HelpDialog(over);
  shown->setAttribute(Qt::WA_DeleteOnClose);
  shown->show();
}

}  // namespace linkora
