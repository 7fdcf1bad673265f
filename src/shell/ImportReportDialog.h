#pragma once

#include <QDialog>

#include "common/ImportReport.h"

class QLabel;
class QListWidget;

namespace linkora {

// Shows what an import did: how many items came in, and a scrollable list of
// every item that was cut, skipped or changed on the way.
class ImportReportDialog final : public QDialog {
 public:
  ImportReportDialog(const ImportReport& report, QWidget* parent = nullptr);

  QLabel* Summary() const { return summary_; }
  QListWidget* List() const { return list_; }

 private:
  QLabel* summary_;
  QListWidget* list_;
};

}  // namespace linkora
