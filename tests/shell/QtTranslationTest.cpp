#include "shell/QtTranslation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "shell/Profile.h"
#include "shell/QtPromptService.h"
#include "tests/media/TempFolder.h"

namespace linkora::test {
namespace {

QStringList Texts(const QList<QPushButton*>& buttons) {
  QStringList texts;
  for (const QPushButton* button : buttons) {
    if (button->isVisible()) {
      texts.append(button->text());
    }
  }
  return texts;
}

// Runs `act` on the file dialog a prompt opens, once its modal loop runs.
void WhenFileDialogOpens(std::function<void(QFileDialog&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(QtTranslationTest, FileDialogsAndEditMenusSpeakKorean) {
  const QtTranslation translation;
  ASSERT_TRUE(translation.Loaded());

  QtPromptService prompts;
  FileDialogRequest request;
  request.caption = "다른 이름으로 저장";
  request.filter = "Norvane Schedule File (*.nsf)";
  QString title;
  QStringList buttons;
  QStringList labels;
  WhenFileDialogOpens([&](QFileDialog& dialog) {
    title = dialog.windowTitle();
    buttons = Texts(dialog.findChildren<QPushButton*>());
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      labels.append(label->text());
    }
    dialog.reject();
  });
  EXPECT_FALSE(prompts.AskSaveFileName(request).has_value());
  EXPECT_EQ(title, QStringLiteral("다른 이름으로 저장"));
  EXPECT_TRUE(buttons.contains(QStringLiteral("저장(&S)"))) << buttons.join('|').toStdString();
  EXPECT_TRUE(buttons.contains(QStringLiteral("취소"))) << buttons.join('|').toStdString();
  EXPECT_TRUE(labels.contains(QStringLiteral("파일 이름(&N):")));
  EXPECT_TRUE(labels.contains(QStringLiteral("파일 형식:")));

  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList items;
  for (const QAction* action : menu->actions()) {
    items.append(action->text().section('\t', 0, 0));
  }
  EXPECT_EQ(items, (QStringList{QStringLiteral("실행 취소(&U)"), QStringLiteral("다시 실행(&R)"),
                                QString(), QStringLiteral("잘라내기(&T)"),
                                QStringLiteral("복사(&C)"), QStringLiteral("붙여넣기(&P)"),
                                QStringLiteral("삭제"), QString(), QStringLiteral("모두 선택")}));
}

TEST(QtTranslationTest, EndingItBringsBackQtsOwnTexts) {
  { const QtTranslation translation; }
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  EXPECT_TRUE(menu->actions().front()->text().startsWith(QStringLiteral("&Undo")));
}

// The folder of each kind of file is remembered in the profile; a dialog
// without one starts at home.
TEST(QtPromptServiceFolderTest, DialogsStartWhereThatKindOfFileWasLastChosen) {
  TempFolder folder;
  const std::filesystem::path books = folder.path / "books";
  std::filesystem::create_directories(books);
  std::ofstream(books / "family.ndf") << "x";
  Profile profile(folder.path / "linkora.ini");
  QtPromptService prompts(&profile);
  FileDialogRequest request;
  request.caption = "파일에서 불러오기";
  request.folderKey = "PhonebookPath";

  QString started;
  WhenFileDialogOpens([&](QFileDialog& dialog) {
    started = dialog.directory().absolutePath();
    dialog.selectFile(QString::fromStdString((books / "family.ndf").string()));
    static_cast<QDialog&>(dialog).accept();  // as the open button does
  });
  EXPECT_EQ(prompts.AskOpenFileName(request), (books / "family.ndf").string());
  EXPECT_EQ(started, QDir::homePath());
  EXPECT_EQ(profile.ReadString("Norvane Linkora", "PhonebookPath", ""), books.string());

  WhenFileDialogOpens([&](QFileDialog& dialog) {
    started = dialog.directory().absolutePath();
    dialog.reject();
  });
  EXPECT_FALSE(prompts.AskSaveFileName(request).has_value());
  EXPECT_EQ(started, QString::fromStdString(books.string()));

  // Another kind of file, and a remembered folder that is gone, start at home.
  request.folderKey = "SchedulePath";
  EXPECT_EQ(prompts.StartFolder(request), QDir::homePath());
  profile.WriteString("Norvane Linkora", "SchedulePath", (folder.path / "gone").string());
  EXPECT_EQ(prompts.StartFolder(request), QDir::homePath());
  // A request's own folder comes first.
  request.directory = books.string();
  EXPECT_EQ(prompts.StartFolder(request), QString::fromStdString(books.string()));
  // The profile keeps its section and its other keys.
  EXPECT_EQ(profile.ReadString("Norvane Linkora", "PhonebookPath", ""), books.string());
}

}  // namespace
}  // namespace linkora::test
