#include "shell/QtPromptService.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "link/LockCodeDialog.h"
#include "link/PhoneNumberDialog.h"
#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

QWidget* ActiveWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return modal;
  }
  return QApplication::activeWindow();
}

QString CaptionOrTitle(std::string_view caption) {
  return ToQt(caption.empty() ? texts::kAppTitle : caption);
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) {
    return std::nullopt;
  }
  return FromQt(path);
}

// The start folder with the proposed name, as the file dialogs take them.
QString StartPath(const FileDialogRequest& request) {
  if (request.fileName.empty()) {
    return ToQt(request.directory);
  }
  if (request.directory.empty()) {
    return ToQt(request.fileName);
  }
  return ToQt(request.directory) + '/' + ToQt(request.fileName);
}

}  // namespace

void QtPromptService::ShowMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, CaptionOrTitle(caption), ToQt(text), QMessageBox::Ok,
                  ActiveWindow());
  box.button(QMessageBox::Ok)->setText(ToQt(texts::kOk));
  box.exec();
}

bool QtPromptService::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Question, CaptionOrTitle(caption), ToQt(text),
                  QMessageBox::Yes | QMessageBox::No, ActiveWindow());
  box.button(QMessageBox::Yes)->setText(ToQt(texts::kYes));
  box.button(QMessageBox::No)->setText(ToQt(texts::kNo));
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPromptService::AskOpenFileName(const FileDialogRequest& request) {
  return Chosen(QFileDialog::getOpenFileName(ActiveWindow(), ToQt(request.caption),
                                             StartPath(request), ToQt(request.filter)));
}

std::vector<std::string> QtPromptService::AskOpenFileNames(const FileDialogRequest& request) {
  std::vector<std::string> paths;
  for (const QString& path : QFileDialog::getOpenFileNames(
           ActiveWindow(), ToQt(request.caption), StartPath(request), ToQt(request.filter))) {
    paths.push_back(FromQt(path));
  }
  return paths;
}

std::optional<std::string> QtPromptService::AskSaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(ActiveWindow(), ToQt(request.caption), StartPath(request),
                     ToQt(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.defaultSuffix.empty()) {
    dialog.setDefaultSuffix(ToQt(request.defaultSuffix));
    // A name typed without an extension gets the one of the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                       const QRegularExpressionMatch match =
                           QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
                       if (match.hasMatch()) {
                         dialog.setDefaultSuffix(match.captured(1));
                       }
                     });
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return Chosen(dialog.selectedFiles().front());
}

std::optional<std::string> QtPromptService::AskPhoneNumber() {
  PhoneNumberDialog dialog(*this, ActiveWindow());
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.Number();
}

std::optional<std::string> QtPromptService::AskLockCode() {
  LockCodeDialog dialog(*this, ActiveWindow());
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.Code();
}

}  // namespace linkora
