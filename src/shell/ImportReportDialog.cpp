#include "shell/ImportReportDialog.h"

#include <fmt/printf.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/Artwork.h"
#include "shell/QtText.h"

namespace linkora {

ImportReportDialog::ImportReportDialog(const ImportReport& report, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(ToQt(texts::kImportReportTitle));
  setWindowIcon(ProgramIcon());
  resize(520, 360);

  std::string summary = fmt::sprintf(std::string(texts::kImportReportSummary), report.Imported());
  summary += '\n';
  summary += report.Clean() ? std::string(texts::kImportReportClean)
                            : fmt::sprintf(std::string(texts::kImportReportNotes),
                                           static_cast<int>(report.Notes().size()));
  summary_ = new QLabel(ToQt(summary), this);
  summary_->setWordWrap(true);

  list_ = new QListWidget(this);
  for (const std::string& line : report.Lines()) {
    list_->addItem(ToQt(line));
  }
  list_->setVisible(!report.Clean());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQt(texts::kOk));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
}

}  // namespace linkora
