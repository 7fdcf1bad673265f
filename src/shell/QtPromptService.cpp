#include "shell/QtPromptService.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "resources/ShellTexts.h"
#include "resources/Texts.h"
#include "shell/LockCodeDialog.h"
#include "shell/PhoneNumberDialog.h"
#include "shell/Profile.h"
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

}  // namespace

QString QtPromptService::StartFolder(const FileDialogRequest& request) const {
  if (!request.directory.empty()) {
    return ToQt(request.directory);
  }
  if (profile_ != nullptr && !request.folderKey.empty()) {
    const QString remembered =
        ToQt(profile_->ReadString(texts::kProfileSection, request.folderKey, ""));
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) {
      return remembered;
    }
  }
  return QDir::homePath();
}

void QtPromptService::RememberFolder(const FileDialogRequest& request, const QString& chosen) {
  if (profile_ != nullptr && !request.folderKey.empty() && !chosen.isEmpty()) {
    profile_->WriteString(texts::kProfileSection, request.folderKey,
                          FromQt(QFileInfo(chosen).absolutePath()));
  }
}

namespace {

// The start folder with the proposed name, as the file dialogs take them.
QString StartPath(const QString& folder, const FileDialogRequest& request) {
  return request.fileName.empty() ? folder : folder + '/' + ToQt(request.fileName);
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
  const QString path =
      QFileDialog::getOpenFileName(ActiveWindow(), ToQt(request.caption),
                                   StartPath(StartFolder(request), request), ToQt(request.filter));
  RememberFolder(request, path);
  return Chosen(path);
}

std::vector<std::string> QtPromptService::AskOpenFileNames(const FileDialogRequest& request) {
  const QStringList chosen =
      QFileDialog::getOpenFileNames(ActiveWindow(), ToQt(request.caption),
                                    StartPath(StartFolder(request), request), ToQt(request.filter));
  std::vector<std::string> paths;
  for (const QString& path : chosen) {
    paths.push_back(FromQt(path));
  }
  if (!chosen.isEmpty()) {
    RememberFolder(request, chosen.front());
  }
  return paths;
}

std::optional<std::string> QtPromptService::AskFolder(const FileDialogRequest& request) {
  const QString folder = QFileDialog::getExistingDirectory(ActiveWindow(), ToQt(request.caption),
                                                           StartFolder(request));
  // The folder itself is the one to start in next time, not its parent.
  RememberFolder(request, folder.isEmpty() ? folder : folder + QStringLiteral("/."));
  return Chosen(folder);
}

std::optional<std::string> QtPromptService::AskSaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(ActiveWindow(), ToQt(request.caption),
                     StartPath(StartFolder(request), request), ToQt(request.filter));
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
  RememberFolder(request, dialog.selectedFiles().front());
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
