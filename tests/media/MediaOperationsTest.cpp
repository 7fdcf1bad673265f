#include "media/MediaOperations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "tests/media/MediaBytes.h"
#include "tests/media/TempFolder.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using test::Bytes;
using test::EmptyList;
using test::Jpeg;
using test::Smaf;
using test::UseSlot;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const char* const kReset = "단말기가 리셋됩니다.";
const char* const kSaved = "Media Data를 PC에 저장하였습니다.";

// The media window as a test sees it: transfers run for real against the
// fake handset; answers to questions and dialogs come from queues.
class FakeMediaWindow final : public MediaWindow {
 public:
  FakeMediaWindow(test::FakeHandsetLibrary& fake, SessionState& state)
      : fake_(fake), state_(state) {}

  int RunTransfer(MediaTransferJob& job) override {
    ++transfers;
    modes.push_back(static_cast<int>(job.mode));
    if (failTransfer == transfers) {
      return kMediaTransferFailed;
    }
    test::RecordingTransferHost host;
    if (!StartMediaTransfer(host, job)) {
      return kMediaTransferFailed;
    }
    const int result = RunMediaTransfer({fake_, fake_.sleep, state_}, host, job);
    titles.insert(titles.end(), host.titles.begin(), host.titles.end());
    messages.insert(messages.end(), host.messages.begin(), host.messages.end());
    return result;
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view question) override {
    questions.emplace_back(question);
    const bool yes = !yesNoAnswers.empty() && yesNoAnswers.front();
    if (!yesNoAnswers.empty()) {
      yesNoAnswers.pop_front();
    }
    return yes;
  }
  void ClearPhoneList() override { phoneItems.clear(); }
  void AddPhoneItem(int slot, const std::string& name) override {
    phoneItems.emplace_back(slot, name);
  }
  int PhoneItemCount() const override { return static_cast<int>(phoneItems.size()); }
  std::vector<int> SelectedSlots() const override { return selected; }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& initial,
                                                      std::string_view defaultExtension,
                                                      std::string_view filter) override {
    dialogs.push_back(initial.string() + " | " + std::string(defaultExtension) + " | " +
                      std::string(filter));
    if (saveAnswers.empty()) {
      return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
  std::string DataPath() const override { return dataPath; }
  void SetDataPath(const std::string& folder) override { dataPath = folder; }

  int transfers = 0;
  int failTransfer = 0;  // 1-based transfer that fails without running
  std::vector<int> modes;
  std::vector<std::string> titles;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> yesNoAnswers;
  std::vector<std::pair<int, std::string>> phoneItems;
  std::vector<int> selected;
  std::vector<std::string> dialogs;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  std::string dataPath;

 private:
  test::FakeHandsetLibrary& fake_;
  SessionState& state_;
};

class MediaOperationsTest : public ::testing::Test {
 protected:
  MediaOperationsTest() {
    fake.handsetPort = "COM5";
    fake.lockFlag = false;
    state.RememberedLockCode = fake.lockCode;
    settings.portName = "COM5";
    files.Attach(fake);
    files.files["nvm/info/media_info"] = EmptyList(8221);
  }

  Bytes& HandsetList() { return files.files["nvm/info/media_info"]; }

  test::FakeHandsetLibrary fake;
  test::FakeFileSystem files;
  SessionState state;
  ConnectSettings settings;
  FakeMediaWindow window{fake, state};
  MediaLists lists;
  PcFileList pcFiles;
  test::TempFolder folder;
};

TEST_F(MediaOperationsTest, ListReadOutcomes) {
  struct Case {
    const char* name;
    const char* model;
    std::size_t listSize;
    bool read;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"nothing stored", "RX310K", 8221, true, {"노르반 단말기에서 가져올 데이타가 없습니다."}},
      {"small model, small list",
       "RX210K",
       3469,
       true,
       {"노르반 단말기에서 가져올 데이타가 없습니다."}},
      {"small model, large list",
       "RX210K",
       8221,
       false,
       {"미디어 리스트정보가 올바르지 않습니다."}},
      {"no list on the handset",
       "RX310K",
       0,
       false,
       {"[통신장애] 다시 시도하여 주시기 바랍니다. [(0) FS ERROR: 10]",
        "파일전송중 오류가 발생하였습니다. 재시도하세요."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.messages.clear();
    window.phoneItems = {{1, "stale"}};
    fake.modelText = c.model;
    fake.diagMode = false;
    if (c.listSize == 0) {
      files.files.erase("nvm/info/media_info");
    } else {
      HandsetList() = EmptyList(c.listSize);
    }
    EXPECT_EQ(ReadMediaList(window, lists, settings, state), c.read);
    EXPECT_EQ(window.messages, c.messages);
    EXPECT_THAT(window.phoneItems, IsEmpty());
  }
}

TEST_F(MediaOperationsTest, UploadThenDownloadByteForByte) {
  const Bytes picture = Jpeg(128, 160, 0xC0, 5032);
  const Bytes tone = Smaf(3000);
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  gif.resize(64, 0);
  ASSERT_EQ(pcFiles.Add({folder.Write("face.jpg", picture), folder.Write("anim.gif", gif),
                         folder.Write("ring.tone.mmf", tone)}),
            std::nullopt);
  UseSlot(HandsetList(), 0, 500, 2, 0x23, 0, "old");

  const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, state);
  EXPECT_EQ(summary.stored, 2);
  EXPECT_TRUE(summary.reset);
  EXPECT_TRUE(summary.completed);
  EXPECT_TRUE(pcFiles.Items().empty());
  EXPECT_THAT(window.messages, ElementsAre("잘못된 파일 형식입니다.", kReset));
  EXPECT_THAT(window.titles,
              ElementsAre("목록 내려받기중..", "파일 전송중 Step 1.. (1 of 3)",
                          "파일 전송중 Step 1.. (1 of 3)", "파일 전송중 Step 2.. (1 of 3)",
                          "파일 전송중 Step 1.. (3 of 3)", "파일 전송중 Step 1.. (3 of 3)",
                          "파일 전송중 Step 2.. (3 of 3)", "파일 전송을 마쳤습니다."));
  EXPECT_THAT(window.phoneItems,
              ElementsAre(std::pair(0, std::string("old")), std::pair(1, std::string("face")),
                          std::pair(2, std::string("ring.tone"))));
  EXPECT_THAT(fake.log, Contains("DiagPhoneReset()"));

  // On the handset: record header, name, data.
  Bytes face{0x95, 0x00, 0x40, 0x13, 0xA8, 'f', 'a', 'c', 'e'};  // 0x15 | 0x80, 5,032 bytes
  face.insert(face.end(), picture.begin(), picture.end());
  EXPECT_EQ(files.files["nvm/media/media_0001"], face);
  const Bytes& list = HandsetList();
  EXPECT_EQ(list[895], 2);
  EXPECT_EQ(list[896], 1);
  EXPECT_EQ(list[897], 0);

  // Download both new items into a folder chosen once.
  window.messages.clear();
  window.selected = {1, 2};
  window.saveAnswers = {folder.path / "out" / "face.jpg"};
  std::filesystem::create_directories(folder.path / "out");
  ASSERT_TRUE(ReadMediaList(window, lists, settings, state));
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 2);
  EXPECT_THAT(window.messages, ElementsAre(kSaved));
  EXPECT_THAT(window.dialogs, ElementsAre("face.jpg | jpg | JPEG Files (*.jpg)|*.jpg||"));
  EXPECT_EQ(window.dataPath, (folder.path / "out").string());
  EXPECT_EQ(test::TempFolder::Read(folder.path / "out" / "face.jpg"), picture);
  const Bytes nmf = test::TempFolder::Read(folder.path / "out" / "ring.tone.nmf");
  ASSERT_EQ(nmf.size(), 243 + tone.size());
  EXPECT_EQ(nmf[50], 1);
  EXPECT_EQ(Bytes(nmf.begin() + 243, nmf.end()), tone);

  // The downloaded `.nmf` goes back as the same slot file.
  const UploadStep again = PrepareUploadFile(folder.path / "out" / "ring.tone.nmf", lists, 1);
  ASSERT_EQ(again.status, UploadStepStatus::Ready);
  EXPECT_EQ(again.slotFile, files.files["nvm/media/media_0002"]);
}

TEST_F(MediaOperationsTest, FailedTransferIsTakenBackFromTheList) {
  ASSERT_EQ(pcFiles.Add({folder.Write("a.mmf", Smaf(100)), folder.Write("b.mmf", Smaf(200))}),
            std::nullopt);
  window.failTransfer = 2;  // the list read is the first transfer, file a the second
  const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, state);
  EXPECT_EQ(summary.stored, 1);
  // File b takes slot 0 and the list written with it knows nothing of file a.
  EXPECT_THAT(window.phoneItems, ElementsAre(std::pair(0, std::string("b"))));
  const Bytes& list = HandsetList();
  EXPECT_EQ(list[895], 0);
  EXPECT_EQ(list[896], 0xFF);
  EXPECT_EQ(list[0] | (list[1] << 8), 4 + 1 + 200);
  EXPECT_EQ(list[994], 'b');
}

TEST_F(MediaOperationsTest, UploadRunsThatStoreNothing) {
  struct Case {
    const char* name;
    int usedSlots;
    std::string firstFile;
    Bytes firstBytes;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"every file refused",
       0,
       "t.txt",
       Bytes{'h', 'i'},
       {"노르반 단말기에서 가져올 데이타가 없습니다.", "잘못된 파일 형식입니다.",
        "데이타가 없습니다."}},
      // The limit ends the run: the empty file is not looked at.
      {"no free slot", 99, "a.mmf", Smaf(100), {"최대 저장 파일수를 초과하였습니다."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.messages.clear();
    fake.diagMode = false;
    HandsetList() = EmptyList(8221);
    for (int slot = 0; slot < c.usedSlots; ++slot) {
      UseSlot(HandsetList(), slot, 10, 2, 0x23, static_cast<std::uint8_t>(slot), "x");
    }
    ASSERT_EQ(pcFiles.Add({folder.Write(c.firstFile, c.firstBytes), folder.Write("e.mmf", {})}),
              std::nullopt);
    const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, state);
    EXPECT_EQ(window.messages, c.messages);
    EXPECT_FALSE(summary.reset);
    EXPECT_TRUE(summary.completed);
    EXPECT_TRUE(pcFiles.Items().empty());
    EXPECT_THAT(fake.log, Not(Contains("DiagPhoneReset()")));
  }
}

TEST_F(MediaOperationsTest, FailedResetKeepsThePcList) {
  ASSERT_EQ(pcFiles.Add({folder.Write("a.mmf", Smaf(100))}), std::nullopt);
  window.failTransfer = 3;  // list read, file, reset
  const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, state);
  EXPECT_EQ(summary.stored, 1);
  EXPECT_FALSE(summary.completed);
  EXPECT_EQ(pcFiles.Items().size(), 1u);
}

TEST_F(MediaOperationsTest, UploadStopsWhenTheListCannotBeRead) {
  files.files.erase("nvm/info/media_info");
  ASSERT_EQ(pcFiles.Add({folder.Write("a.mmf", Smaf(100))}), std::nullopt);
  const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, state);
  EXPECT_FALSE(summary.completed);
  EXPECT_EQ(window.transfers, 1);
  EXPECT_EQ(pcFiles.Items().size(), 1u);
}

class DownloadRunTest : public MediaOperationsTest {
 protected:
  DownloadRunTest() {
    // Slots 1 and 2 hold GIFs of the same name, slot 3 an item of an unknown kind.
    UseSlot(HandsetList(), 1, 14, 0x001, 0x14, 0, "dup");
    UseSlot(HandsetList(), 2, 14, 0x001, 0x14, 1, "dup");
    UseSlot(HandsetList(), 3, 14, 0x008, 0x14, 2, "odd");
    files.files["nvm/media/media_0001"] = {0x14, 0x00, 0x30, 0x04, 'd', 'u', 'p', 1, 2, 3, 4};
    files.files["nvm/media/media_0002"] = {0x14, 0x00, 0x30, 0x04, 'd', 'u', 'p', 5, 6, 7, 8};
    files.files["nvm/media/media_0003"] = {0x14, 0x00, 0x30, 0x01, 'o', 'd', 'd', 9};
    EXPECT_TRUE(ReadMediaList(window, lists, settings, state));
    // Slot 3's type word becomes a kind the PC cannot save.
    Bytes list = HandsetList();
    list[400 + 6] = 0x04;
    std::string message;
    EXPECT_TRUE(lists.Load(list, 8221, 1, message));
    window.messages.clear();
  }
};

TEST_F(DownloadRunTest, SecondItemOfTheSameNameAsksBeforeReplacing) {
  window.selected = {1, 2};
  window.saveAnswers = {folder.path / "dup.gif"};
  window.yesNoAnswers = {false};
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 1);
  const std::string path = (folder.path / "dup.gif").string();
  EXPECT_THAT(window.questions, ElementsAre(path + "은(는) 이미 있습니다. \r\n바꾸시겠습니까?"));
  EXPECT_EQ(test::TempFolder::Read(folder.path / "dup.gif"), (Bytes{1, 2, 3, 4}));
  EXPECT_THAT(window.messages, ElementsAre(kSaved));

  window.messages.clear();
  window.questions.clear();
  window.yesNoAnswers = {true};
  window.selected = {2};
  // The next run opens its save dialog with the remembered folder.
  window.saveAnswers = {folder.path / "dup.gif"};
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 1);
  EXPECT_EQ(window.dialogs.back(), path + " | gif | GIF Files (*.gif)|*.gif||");
  EXPECT_EQ(test::TempFolder::Read(folder.path / "dup.gif"), (Bytes{5, 6, 7, 8}));
}

TEST_F(DownloadRunTest, CancelEndsTheRun) {
  window.selected = {1, 2};
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 0);
  EXPECT_THAT(window.messages, ElementsAre("취소되었습니다."));
  EXPECT_EQ(window.dialogs.size(), 1u);
  EXPECT_EQ(window.transfers, 2);  // the list read and the first item
}

TEST_F(DownloadRunTest, ItemsThatFailBeforeTheirDialogLeaveItToTheNext) {
  window.selected = {3, 1};
  window.saveAnswers = {folder.path / "first.gif"};
  window.failTransfer = 0;
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 1);
  EXPECT_THAT(window.messages, ElementsAre("잘못된 형식입니다. 4", kSaved));
  EXPECT_EQ(window.dialogs.size(), 1u);
  EXPECT_EQ(test::TempFolder::Read(folder.path / "first.gif"), (Bytes{1, 2, 3, 4}));
}

TEST_F(DownloadRunTest, UnwritableFileAndNoSelection) {
  window.selected = {1};
  window.saveAnswers = {folder.path / "no" / "such" / "dup.gif"};
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 0);
  EXPECT_THAT(window.messages, ElementsAre("파일 쓰기도중 오류가 발생하였습니다."));
  EXPECT_EQ(window.dataPath, "");

  window.messages.clear();
  window.selected = {};
  const int before = window.transfers;
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 0);
  EXPECT_THAT(window.messages, IsEmpty());
  EXPECT_EQ(window.transfers, before);
}

}  // namespace
}  // namespace linkora
