#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Cp949.h"
#include "fsxfer/MediaTransferDialog.h"
#include "link/SessionState.h"
#include "media/MediaManagerDialog.h"
#include "shell/Profile.h"
#include "shell/WindowPicture.h"
#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/ScriptedPromptService.h"

namespace linkora::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

const char* const kReset = "단말기가 리셋됩니다.";
const char* const kSaved = "Media Data를 PC에 저장하였습니다.";

std::string Cp949Of(const char* utf8) {
  const auto bytes = cp949::FromUtf8(utf8);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::vector<std::string> Texts(const QListWidget& list) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.count(); ++row) {
    texts.push_back(list.item(row)->text().toStdString());
  }
  return texts;
}

std::vector<int> Slots(const QListWidget& list) {
  std::vector<int> found;
  for (int row = 0; row < list.count(); ++row) {
    found.push_back(list.item(row)->data(Qt::UserRole).toInt());
  }
  return found;
}

class MediaManagerWindowTest : public ::testing::Test {
 protected:
  MediaManagerWindowTest() {
    fake.handsetPort = "COM3";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    state.ModelIndex = 1;
    files.Attach(fake);
    files.files["nvm/info/media_info"] = EmptyList(8221);
    // The title of the transfer window each time it changes while frames go out.
    files.onRequest = [this](const Bytes&) {
      QWidget* shown = QApplication::activeModalWidget();
      const std::string title = shown != nullptr ? shown->windowTitle().toStdString() : "";
      if (titles.empty() || titles.back() != title) {
        titles.push_back(title);
      }
    };
    window.show();
  }

  Bytes& HandsetList() { return files.files["nvm/info/media_info"]; }

  FakeHandsetLibrary fake;
  FakeFileSystem files;
  SessionState state;
  ScriptedPromptService prompts;
  TempFolder folder;
  Profile profile{folder.path / "linkora.ini"};
  MediaManagerDialog window{ConnectSettings{"COM3", 115200, "472913"},
                            LinkContext{fake, fake.sleep, state}, prompts, profile};
  std::vector<std::string> titles;
};

TEST_F(MediaManagerWindowTest, TwoListsSideBySideWithTheirButtonsAndNothingClipped) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Linkora 미디어 관리"));
  struct Case {
    QPushButton* button;
    const char* text;
  };
  const Case buttons[] = {{window.ReadButton(), "(&D)폰에서 불러오기"},
                          {window.DownloadButton(), "(&S)PC에 저장"},
                          {window.ChooseButton(), "(&L)PC에서 불러오기"},
                          {window.UploadButton(), "(&U)폰에 저장하기"}};
  const QRect inside = window.rect();
  for (const Case& c : buttons) {
    SCOPED_TRACE(c.text);
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(c.button->text(), text);
    EXPECT_TRUE(c.button->isEnabled());
    EXPECT_TRUE(inside.contains(c.button->geometry()));
    // The shown text (mnemonic mark dropped) fits with room for the frame.
    const QFontMetrics metrics(c.button->font());
    EXPECT_LE(metrics.horizontalAdvance(QString(text).remove('&')) + 12, c.button->width());
    EXPECT_GE(c.button->height(), metrics.height() + 4);
    for (const QChar ch : text) {
      EXPECT_TRUE(metrics.inFontUcs4(ch.unicode())) << static_cast<int>(ch.unicode());
    }
  }
  std::vector<std::string> groups;
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
    groups.push_back(group->title().toStdString());
    const QFontMetrics metrics(group->font());
    EXPECT_LE(metrics.horizontalAdvance(group->title()) + 20, group->width());
  }
  EXPECT_THAT(groups, UnorderedElementsAre("Phone Media 목록", "PC Media 목록"));

  QListWidget* phone = window.PhoneList();
  QListWidget* pc = window.PcList();
  EXPECT_EQ(phone->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(pc->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(phone->size(), pc->size());
  EXPECT_EQ(phone->y(), pc->y());
  EXPECT_LT(phone->geometry().right(), pc->x());
  EXPECT_TRUE(inside.contains(pc->geometry()));
  EXPECT_EQ(phone->count(), 0);
  EXPECT_EQ(pc->count(), 0);
  // The download button sits under the phone list, the choice of PC files under the PC list.
  EXPECT_GT(window.DownloadButton()->y(), phone->geometry().bottom());
  EXPECT_GT(window.ChooseButton()->y(), pc->geometry().bottom());
  EXPECT_LT(window.UploadButton()->geometry().bottom(), pc->y());
}

TEST_F(MediaManagerWindowTest, ListReadShowsTheStoredItemsInSlotOrder) {
  UseSlot(HandsetList(), 5, 300, 0x002, 0x23, 1, "face");
  UseSlot(HandsetList(), 2, 900, 0x002, 0x23, 0, Cp949Of("벨소리"));
  window.ReadButton()->click();
  EXPECT_THAT(Texts(*window.PhoneList()), ElementsAre("벨소리", "face"));
  EXPECT_THAT(Slots(*window.PhoneList()), ElementsAre(2, 5));
  EXPECT_THAT(titles, ElementsAre("목록 내려받기중.."));
  EXPECT_EQ(window.DiagPortName(), "COM3");
  EXPECT_THAT(prompts.prompts, IsEmpty());

  // A second read that fails leaves the list empty.
  files.files.erase("nvm/info/media_info");
  window.ReadButton()->click();
  EXPECT_EQ(window.PhoneList()->count(), 0);
  EXPECT_THAT(prompts.Messages(), Contains("파일전송중 오류가 발생하였습니다. 재시도하세요."));
}

TEST_F(MediaManagerWindowTest, ChoosingAndRemovingPcFiles) {
  const auto one = folder.path / "one";
  const auto two = folder.path / "two";
  std::filesystem::create_directories(one);
  std::filesystem::create_directories(two);
  prompts.SetNextFileNames({(one / "a.mmf").string(), (two / "b.jpg").string()});
  window.ChooseButton()->click();
  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.requests[0].filter,
            "All Media Files (*.sis *.mmf *.jpg *.nmf);;Sis Files (*.sis);;Jpeg Files "
            "(*.jpg);;Mmf Files (*.mmf);;Norvane Media Files (*.nmf)");
  EXPECT_THAT(Texts(*window.PcList()), ElementsAre("a.mmf", "b.jpg"));

  // A name already chosen, from another folder, stops the rest of the selection.
  prompts.SetNextFileNames({(two / "a.mmf").string(), (one / "c.mmf").string()});
  window.ChooseButton()->click();
  EXPECT_THAT(prompts.Messages(), ElementsAre("이미 예약되어있습니다."));
  EXPECT_THAT(Texts(*window.PcList()), ElementsAre("a.mmf", "b.jpg"));

  // Letter case counts; Cancel adds nothing and says nothing.
  prompts.SetNextFileNames({(one / "A.mmf").string()});
  window.ChooseButton()->click();
  window.ChooseButton()->click();
  EXPECT_THAT(Texts(*window.PcList()), ElementsAre("a.mmf", "b.jpg", "A.mmf"));
  EXPECT_EQ(prompts.Messages().size(), 1u);

  // A double-click removes the item and frees its folder entry.
  QListWidget* pc = window.PcList();
  emit pc->itemDoubleClicked(pc->item(0));
  EXPECT_THAT(Texts(*pc), ElementsAre("b.jpg", "A.mmf"));
  ASSERT_EQ(window.PcFiles().Items().size(), 2u);
  prompts.SetNextFileNames({(two / "a.mmf").string()});
  window.ChooseButton()->click();
  EXPECT_THAT(Texts(*pc), ElementsAre("b.jpg", "A.mmf", "a.mmf"));
  EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST_F(MediaManagerWindowTest, UploadSendsEachFileThenResetsAndEmptiesThePcList) {
  UseSlot(HandsetList(), 0, 500, 0x002, 0x23, 0, "old");
  prompts.SetNextFileNames({folder.Write("ring.tone.mmf", Smaf(100)).string(),
                            folder.Write("notes.txt", Bytes{'h', 'i'}).string(),
                            folder.Write("face.jpg", Jpeg(128, 160)).string()});
  window.ChooseButton()->click();
  window.UploadButton()->click();

  EXPECT_THAT(titles, ElementsAre("목록 내려받기중..", "파일 전송중 Step 1.. (1 of 3)",
                                  "파일 전송중 Step 2.. (1 of 3)", "파일 전송중 Step 1.. (3 of 3)",
                                  "파일 전송중 Step 2.. (3 of 3)"));
  EXPECT_THAT(prompts.Messages(), ElementsAre("잘못된 파일 형식입니다.", kReset));
  EXPECT_THAT(Texts(*window.PhoneList()), ElementsAre("old", "ring.tone", "face"));
  EXPECT_THAT(Slots(*window.PhoneList()), ElementsAre(0, 1, 2));
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 1);
  EXPECT_EQ(window.PcList()->count(), 0);
  EXPECT_TRUE(window.PcFiles().Items().empty());
  EXPECT_THAT(files.written, ElementsAre("nvm/media/media_0001", "nvm/info/media_info",
                                         "nvm/media/media_0002", "nvm/info/media_info"));
  EXPECT_TRUE(window.isVisible());
}

TEST_F(MediaManagerWindowTest, UploadOfRefusedFilesOnlyStillEmptiesThePcList) {
  prompts.SetNextFileNames({folder.Write("empty.mmf", {}).string()});
  window.ChooseButton()->click();
  window.UploadButton()->click();
  EXPECT_THAT(prompts.Messages(),
              ElementsAre("노르반 단말기에서 가져올 데이타가 없습니다.", "데이타가 없습니다."));
  EXPECT_EQ(fake.CountOf("DiagPhoneReset"), 0);
  EXPECT_EQ(window.PcList()->count(), 0);
}

TEST_F(MediaManagerWindowTest, FailedListReadLeavesThePcListForLater) {
  files.files.erase("nvm/info/media_info");
  prompts.SetNextFileNames({folder.Write("a.mmf", Smaf(100)).string()});
  window.ChooseButton()->click();
  window.UploadButton()->click();
  EXPECT_THAT(Texts(*window.PcList()), ElementsAre("a.mmf"));
  EXPECT_TRUE(files.written.empty());
}

class MediaDownloadWindowTest : public MediaManagerWindowTest {
 protected:
  MediaDownloadWindowTest() {
    UseSlot(HandsetList(), 1, 40, 0x001, 0x15, 0, "face");
    UseSlot(HandsetList(), 4, 40, 0x002, 0x23, 1, "bell");
    picture = Jpeg(120, 100, 0xC0, 64);
    tone = Smaf(48);
    files.files["nvm/media/media_0001"] = SlotFile(0x15, "face", picture);
    files.files["nvm/media/media_0004"] = SlotFile(0x23, "bell", tone);
    out = folder.path / "saved";
    std::filesystem::create_directories(out);
  }

  void Select(const std::vector<int>& rows) {
    window.PhoneList()->clearSelection();
    for (const int row : rows) {
      window.PhoneList()->item(row)->setSelected(true);
    }
  }

  std::string DataPath() const {
    return profile.ReadString("Norvane Linkora", "DataPath", "<none>");
  }

  Bytes picture;
  Bytes tone;
  std::filesystem::path out;
};

TEST_F(MediaDownloadWindowTest, NothingHappensWithoutASelection) {
  window.DownloadButton()->click();  // before any list read
  EXPECT_TRUE(fake.log.empty());
  window.ReadButton()->click();
  prompts.prompts.clear();
  const auto calls = fake.log.size();
  window.DownloadButton()->click();
  EXPECT_EQ(fake.log.size(), calls);
  EXPECT_THAT(prompts.prompts, IsEmpty());
}

TEST_F(MediaDownloadWindowTest, FirstFileChoosesTheFolderForTheRunAndTheProfile) {
  window.ReadButton()->click();
  ASSERT_THAT(Texts(*window.PhoneList()), ElementsAre("face", "bell"));
  Select({0, 1});
  prompts.SetNextFileName((out / "my face.jpg").string());
  window.DownloadButton()->click();

  ASSERT_EQ(prompts.requests.size(), 1u);
  EXPECT_EQ(prompts.requests[0].fileName, "face.jpg");
  EXPECT_EQ(prompts.requests[0].directory, "");
  EXPECT_EQ(prompts.requests[0].filter, "JPEG Files (*.jpg)");
  EXPECT_EQ(prompts.requests[0].defaultSuffix, "jpg");
  EXPECT_EQ(TempFolder::Read(out / "my face.jpg"), picture);
  // The second item goes to the same folder under its own name, as a media file.
  const Bytes nmf = TempFolder::Read(out / "bell.nmf");
  ASSERT_EQ(nmf.size(), 243 + tone.size());
  EXPECT_EQ(Bytes(nmf.begin() + 243, nmf.end()), tone);
  EXPECT_EQ(DataPath(), out.string());
  EXPECT_THAT(prompts.Messages(), ElementsAre(kSaved));
  EXPECT_THAT(titles, ElementsAre("목록 내려받기중..", "파일 내려받기중.."));

  // The next run opens its dialog in that folder with the item's name.
  prompts.prompts.clear();
  Select({0});
  window.DownloadButton()->click();
  ASSERT_EQ(prompts.requests.size(), 2u);
  EXPECT_EQ(prompts.requests[1].directory, out.string());
  EXPECT_EQ(prompts.requests[1].fileName, "face.jpg");
  EXPECT_THAT(prompts.Messages(), ElementsAre("취소되었습니다."));
  EXPECT_EQ(DataPath(), out.string());
}

TEST_F(MediaDownloadWindowTest, ReplacingAFileInTheRunsFolderIsAskedFirst) {
  UseSlot(HandsetList(), 6, 40, 0x001, 0x15, 2, "face");
  files.files["nvm/media/media_0006"] = SlotFile(0x15, "face", Jpeg(64, 64, 0xC0, 50));
  window.ReadButton()->click();
  Select({0, 2});
  prompts.SetNextFileName((out / "face.jpg").string());
  window.DownloadButton()->click();
  const std::string path = (out / "face.jpg").string();
  ASSERT_EQ(prompts.prompts.size(), 3u);
  EXPECT_EQ(prompts.prompts[1].kind, "YesNo");
  EXPECT_EQ(prompts.prompts[1].text, path + "은(는) 이미 있습니다. \r\n바꾸시겠습니까?");
  EXPECT_EQ(prompts.prompts[1].caption, "Linkora");
  EXPECT_EQ(TempFolder::Read(out / "face.jpg"), picture);  // answered No
}

TEST_F(MediaManagerWindowTest, EscapeEndsTheVisitOnTheFoundPortEnterClosesAtOnce) {
  struct Case {
    const char* name;
    bool readFirst;
    Qt::Key key;
    QDialog::DialogCode result;
    std::vector<std::string> closing;  // ports opened and frames sent on the way out
  };
  const Case cases[] = {
      {"escape, nothing read", false, Qt::Key_Escape, QDialog::Rejected, {}},
      {"escape after a read",
       true,
       Qt::Key_Escape,
       QDialog::Rejected,
       {"DiagOpenPort(COM3, 115200)", "XrsSendFrame(44)"}},
      {"enter after a read", true, Qt::Key_Return, QDialog::Accepted, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHandsetLibrary library;
    library.handsetPort = "COM3";
    library.lockFlag = false;
    FakeFileSystem handset;
    handset.Attach(library);
    handset.files["nvm/info/media_info"] = EmptyList(8221);
    ScriptedPromptService asked;
    MediaManagerDialog media(ConnectSettings{"COM3", 115200, "472913"},
                             LinkContext{library, library.sleep, state}, asked, profile);
    media.show();
    if (c.readFirst) {
      media.ReadList();
    }
    const auto before = library.log.size();
    media.PhoneList()->setFocus();
    QTest::keyClick(media.PhoneList(), c.key);
    EXPECT_FALSE(media.isVisible());
    EXPECT_EQ(media.result(), c.result);
    std::vector<std::string> closing;
    for (auto call = library.log.begin() + static_cast<long>(before); call != library.log.end();
         ++call) {
      if (call->starts_with("DiagOpenPort") || call->starts_with("XrsSendFrame")) {
        closing.push_back(*call);
      }
    }
    EXPECT_EQ(closing, c.closing);
  }
}

// Pictures of the media window with sample items and of a transfer window,
// written only when LINKORA_SCREENSHOT_DIR names a folder (scripts/screenshots.sh).
TEST_F(MediaManagerWindowTest, Pictures) {
  const char* target = std::getenv("LINKORA_SCREENSHOT_DIR");
  if (target == nullptr || *target == '\0') {
    GTEST_SKIP() << "LINKORA_SCREENSHOT_DIR is not set";
  }
  const std::filesystem::path out(target);
  std::filesystem::create_directories(out);
  const std::vector<std::pair<int, const char*>> items = {
      {0, "벨소리 01"}, {1, "우리집 강아지"}, {2, "face"},           {3, "생일 축하 멜로디"},
      {5, "바다.jpg"},  {6, "ring.tone"},     {7, "아침 알람 소리"}, {9, "가을 하늘 사진"}};
  for (const auto& [slot, name] : items) {
    window.AddPhoneItem(slot, name);
  }
  window.PhoneList()->scrollToTop();
  window.PhoneList()->item(1)->setSelected(true);
  window.PhoneList()->item(3)->setSelected(true);
  prompts.SetNextFileNames(
      {folder.Write("새 벨소리.mmf", Smaf(100)).string(),
       folder.Write("가족사진_2026_여름휴가_바닷가에서.jpg", Jpeg(128, 160)).string(),
       folder.Write("ring.tone.mmf", Smaf(100)).string(),
       folder.Write("알람.nmf", Nmf(1, 400)).string()});
  window.ChooseButton()->click();
  window.PcList()->scrollToTop();
  QApplication::processEvents();
  EXPECT_TRUE(FramedWindowPicture(window).save(
      QString::fromStdString((out / "media-window.png").string())));

  MediaTransferJob job;
  job.mode = MediaTransferMode::Write;
  job.stepIndex = 2;
  job.stepCount = 3;
  MediaTransferDialog transfer(LinkContext{fake, fake.sleep, state}, prompts, job, &window);
  transfer.SetTitle("파일 전송중 Step 2.. (2 of 3)");
  transfer.SetProgress(42);
  transfer.ensurePolished();
  EXPECT_TRUE(FramedWindowPicture(transfer).save(
      QString::fromStdString((out / "media-transfer-window.png").string())));
}

}  // namespace
}  // namespace linkora::test
