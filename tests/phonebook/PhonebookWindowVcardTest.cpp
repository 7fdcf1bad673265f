#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>

#include "link/SessionState.h"
#include "phonebook/PhonebookWindow.h"
#include "shell/ImportReportDialog.h"
#include "tests/phonebook/WindowTestSupport.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/support/WindowPictures.h"

namespace linkora::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Data(const std::string& name) {
  return std::string(LINKORA_VCARD_DATA_DIR) + "/" + name;
}

class PhonebookWindowVcardTest : public ::testing::Test {
 protected:
  PhonebookWindowVcardTest() {
    window.show();
    window.SetReportShower([this](ImportReportDialog& dialog) {
      shown.push_back(dialog.Summary()->text().toStdString());
      for (int i = 0; i < dialog.List()->count(); ++i) {
        shown.push_back(dialog.List()->item(i)->text().toStdString());
      }
      if (const auto out = ScreenshotFolder(); out && dialog.List()->count() > 0) {
        dialog.show();
        SaveWindowPicture(dialog, *out, QStringLiteral("phonebook-vcard-report.png"));
      }
    });
    Phonebook book;
    book.Flags().SetFlags(1, 0x01);
    book.Entry(1).SetName(Cp949("엄마"));
    book.Entry(1).SetNumber(NumberKind::Mobile, Cp949("0111234567"));
    window.TakePhonebook(book);
  }

  QPushButton* Push(const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  std::string RowName(int slot) {
    return window.findChild<QTreeWidget*>(QStringLiteral("slots"))
        ->topLevelItem(slot - 1)
        ->text(1)
        .toStdString();
  }

  FakeHandsetLibrary library;
  SessionState state;
  ConnectSettings settings;
  ScriptedPromptService prompts;
  PhonebookWindow window{settings, LinkContext{library, library.sleep, state}, prompts};
  std::vector<std::string> shown;
  QTemporaryDir folder;
};

TEST_F(PhonebookWindowVcardTest, LoadingAVcardFileAddsItsContactsAndShowsTheReport) {
  prompts.SetNextFileName(Data("android-2.1.vcf"));
  QTest::mouseClick(Push("load"), Qt::LeftButton);
  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.requests[0].filter, "Norvane Directory File (*.ndf);;vCard (*.vcf)");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "ndf");
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_THAT(shown,
              ElementsAre("3개 항목을 가져왔습니다.\n아래 4개 항목은 그대로 가져오지 못했습니다:",
                          "김수한무거북이와두루미삼천갑자: 이름이 길어 "
                          "'김수한무거북이와두'(으)로 줄였습니다.",
                          "김수한무거북이와두루미삼천갑자: 휴대폰 번호 010-3333-4444을(를) 집 "
                          "칸에 넣었습니다.",
                          "이서연😀: 이름에서 단말기에 없는 글자 '😀'을(를) 뺐습니다.",
                          "4번째 연락처: 이름도 번호도 없어 넣지 않았습니다."));
  EXPECT_EQ(RowName(1), "엄마");
  EXPECT_EQ(RowName(2), "김민준");
  EXPECT_EQ(RowName(3), "김수한무거북이와두");
  EXPECT_EQ(RowName(4), "이서연");
  EXPECT_EQ(window.Book().Flags().UsedCount(), 4);
}

TEST_F(PhonebookWindowVcardTest, ARefusedFileChangesNothing) {
  const std::string path = folder.filePath(QStringLiteral("notes.vcf")).toStdString();
  std::ofstream(path) << "this is not a contact\n";
  const Phonebook before = window.Book();
  prompts.SetNextFileName(path);
  QTest::mouseClick(Push("load"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), ElementsAre("vCard 파일이 아닙니다."));
  EXPECT_THAT(shown, IsEmpty());
  EXPECT_TRUE(window.Book() == before);
}

TEST_F(PhonebookWindowVcardTest, SavingAsVcardWritesTheUsedEntries) {
  const std::string path = folder.filePath(QStringLiteral("book.vcf")).toStdString();
  prompts.SetNextFileName(path);
  QTest::mouseClick(Push("save"), Qt::LeftButton);
  EXPECT_THAT(prompts.Messages(), ElementsAre("현재 전화번호부를 vCard 파일에 저장하였습니다."));
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text.substr(0, 71),
            "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Linkora//Phonebook//KO\r\nFN:엄마\r\n");

  // Loaded back into the same window, the card goes back to its slot.
  prompts.SetNextFileName(path);
  QTest::mouseClick(Push("load"), Qt::LeftButton);
  EXPECT_THAT(shown, ElementsAre("1개 항목을 가져왔습니다.\n모든 항목을 그대로 가져왔습니다."));
  EXPECT_EQ(window.Book().Flags().UsedCount(), 1);
}

}  // namespace
}  // namespace linkora::test
