// The media list, an upload of a picture and a ringtone and their download,
// run by the core's media operations over the serial library against the
// emulated handset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <string>
#include <utility>

#include "common/FileIo.h"
#include "common/Hex.h"
#include "fsxfer/MediaTransfer.h"
#include "media/MediaInfo.h"
#include "media/MediaOperations.h"
#include "media/MediaUpload.h"
#include "tarvio/Protocol.h"
#include "tests/e2e/E2eTest.h"

namespace linkora {
namespace {

using test::Bytes;
using test::Cp949;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

// A baseline JPEG of 128 x 160 grey pixels, one component: every block is a
// DC difference of category 0 and an end of block, each a one-bit code 0.
Bytes GreyJpeg() {
  Bytes b = {0xFF, 0xD8,                                                       // start of image
             0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F', 0x00, 0x01, 0x01,  // JFIF 1.1
             0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,  // aspect 1:1, no thumbnail
             0xFF, 0xDB, 0x00, 0x43, 0x00};             // quantisation table 0
  b.insert(b.end(), 64, 0x01);
  const Bytes frame = {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0xA0, 0x00, 0x80,  // 160 high, 128 wide
                       0x01, 0x01, 0x11, 0x00};
  b.insert(b.end(), frame.begin(), frame.end());
  for (const std::uint8_t tableClass : {0x00, 0x10}) {  // DC table 0, AC table 0
    b.insert(b.end(), {0xFF, 0xC4, 0x00, 0x14, tableClass, 0x01});
    b.insert(b.end(), 15, 0x00);
    b.push_back(0x00);  // the one symbol: category 0 / end of block
  }
  b.insert(b.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
  b.insert(b.end(), (128 / 8) * (160 / 8) * 2 / 8, 0x00);  // two zero bits per block
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

// A ringtone in the handset's sound container: "MMMD", the length of what
// follows, a content block and notes.
Bytes Ringtone(std::size_t size) {
  Bytes r = {'M',
             'M',
             'M',
             'D',
             0x00,
             0x00,
             static_cast<std::uint8_t>((size - 8) >> 8),
             static_cast<std::uint8_t>((size - 8) & 0xFF)};
  r.insert(r.end(), {'C', 'N', 'T', 'I', 0x00, 0x00, 0x00, 0x05, 0x00, 0x01, 0x02, 0x03, 0x00});
  while (r.size() < size) {
    r.push_back(static_cast<std::uint8_t>(0x30 + r.size() % 0x30));
  }
  return r;
}

// The media window of a test: each transfer runs at once against the emulated
// handset; the save dialog takes the file it is opened on.
class TestMediaWindow final : public MediaWindow {
 public:
  explicit TestMediaWindow(LinkContext context) : context_(context) {}

  int RunTransfer(MediaTransferJob& job) override {
    test::RecordingTransferHost host;
    if (!StartMediaTransfer(host, job)) {
      return kMediaTransferFailed;
    }
    const int result = RunMediaTransfer(context_, host, job);
    modes.push_back(static_cast<int>(job.mode));
    messages.insert(messages.end(), host.messages.begin(), host.messages.end());
    return result;
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view question) override {
    messages.emplace_back(question);
    return true;
  }
  void ClearPhoneList() override { phoneItems.clear(); }
  void AddPhoneItem(int slot, const std::string& name) override {
    phoneItems.emplace_back(slot, name);
  }
  int PhoneItemCount() const override { return static_cast<int>(phoneItems.size()); }
  std::vector<int> SelectedSlots() const override { return selected; }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& initial,
                                                      std::string_view, std::string_view) override {
    dialogs.push_back(initial);
    return initial;
  }
  std::string DataPath() const override { return dataPath; }
  void SetDataPath(const std::string& folder) override { dataPath = folder; }

  std::vector<int> modes;
  std::vector<std::string> messages;
  std::vector<std::pair<int, std::string>> phoneItems;
  std::vector<int> selected;
  std::vector<std::filesystem::path> dialogs;
  std::string dataPath;

 private:
  LinkContext context_;
};

class MediaE2eTest : public test::E2eTest {
 protected:
  static void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }
  static Bytes ReadFile(const std::filesystem::path& path) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, 100000, bytes, error)) << error;
    return bytes;
  }
  static unsigned U16At(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
  static unsigned U32At(const Bytes& b, std::size_t at) {
    return U16At(b, at) | (U16At(b, at + 2) << 16);
  }
};

TEST_F(MediaE2eTest, ListShowsTheSampleItems) {
  Start();
  TestMediaWindow window(Context());
  MediaLists lists;
  ASSERT_TRUE(ReadMediaList(window, lists, settings, session));
  EXPECT_THAT(window.messages, IsEmpty());
  EXPECT_EQ(session.ModelIndex, 1);
  EXPECT_THAT(window.phoneItems,
              UnorderedElementsAre(std::pair(0, "봄바람"), std::pair(1, "생일축하"),
                                   std::pair(2, "아침알람"), std::pair(3, "우리강아지"),
                                   std::pair(4, "바다풍경"), std::pair(5, "가을하늘")));
}

TEST_F(MediaE2eTest, UploadedPictureAndRingtoneAreStoredAndDownloadAsTheRulesSay) {
  Start();
  test::ScratchFolder pc;
  const Bytes jpeg = GreyJpeg();
  const Bytes ringtone = Ringtone(1000);
  ASSERT_EQ(jpeg.size(), 238u);
  WriteFile(pc.path / "풍경.jpg", jpeg);
  WriteFile(pc.path / "알림음.mmf", ringtone);

  TestMediaWindow window(Context());
  MediaLists lists;
  ASSERT_TRUE(ReadMediaList(window, lists, settings, session));
  PcFileList pcFiles;
  ASSERT_EQ(pcFiles.Add({pc.path / "풍경.jpg", pc.path / "알림음.mmf"}), std::nullopt);

  const UploadSummary summary = UploadMediaFiles(window, pcFiles, lists, settings, session);
  EXPECT_EQ(summary.stored, 2);
  EXPECT_TRUE(summary.reset);
  EXPECT_TRUE(summary.completed);
  // List, list, two writes, reset.
  EXPECT_THAT(window.modes, ElementsAre(0, 0, 2, 2, 3));

  // The handset holds each file behind its record header: subtype, name
  // length and data size in 12 bits each, then the CP949 name.
  const nlohmann::json state = emulator->ReadState();
  const auto stateFile = [&state](const std::string& path) {
    Bytes bytes;
    ParseHex(state.at("files").value(path, std::string()), bytes);
    return bytes;
  };
  Bytes pictureFile = {0x15, 0x00, 0x40, 0xEE};  // four name bytes, 238 data bytes
  const Bytes pictureName = Cp949("풍경");
  pictureFile.insert(pictureFile.end(), pictureName.begin(), pictureName.end());
  pictureFile.insert(pictureFile.end(), jpeg.begin(), jpeg.end());
  EXPECT_EQ(stateFile("nvm/media/media_0006"), pictureFile);
  Bytes soundFile = {0x23, 0x00, 0x63, 0xE8};  // six name bytes, 1,000 data bytes
  const Bytes soundName = Cp949("알림음");
  soundFile.insert(soundFile.end(), soundName.begin(), soundName.end());
  soundFile.insert(soundFile.end(), ringtone.begin(), ringtone.end());
  EXPECT_EQ(stateFile("nvm/media/media_0007"), soundFile);
  // ... and lists them: size, type word and name of each slot.
  const Bytes info = stateFile("nvm/info/media_info");
  ASSERT_EQ(info.size(), 8221u);
  EXPECT_EQ(U32At(info, 4 + 4 * 6), pictureFile.size());
  EXPECT_EQ(U16At(info, 400 + 2 * 6), 0x0201u);
  EXPECT_EQ(Bytes(info.begin() + 994 + 20 * 6, info.begin() + 994 + 20 * 6 + 5),
            test::WithZero(pictureName));
  EXPECT_EQ(U32At(info, 4 + 4 * 7), soundFile.size());
  EXPECT_EQ(U16At(info, 400 + 2 * 7), 0x0002u);

  // Download both after the handset's restart.
  WaitOutResetSilence();
  test::ScratchFolder saved;
  window.dataPath = saved.path.string();
  window.selected = {6, 7};
  window.messages.clear();
  EXPECT_EQ(DownloadMediaItems(window, lists, settings), 2);
  EXPECT_THAT(window.messages, ElementsAre("Media Data를 PC에 저장하였습니다."));
  ASSERT_EQ(window.dialogs.size(), 1u);
  EXPECT_EQ(window.dialogs[0], saved.path / "풍경.jpg");

  // A JPEG is saved as the picture bytes alone.
  EXPECT_EQ(ReadFile(saved.path / "풍경.jpg"), jpeg);
  // A sound gets the 243-byte media header: magic text, format code 1 (SMAF
  // sound), no flags, the data size, the name; then the data.
  Bytes nmf(243, 0);
  const std::string magic = "NORVANE MEDIA HEADER V1.1";
  std::copy(magic.begin(), magic.end(), nmf.begin());
  nmf[50] = 1;
  nmf[55] = 0xE8;
  nmf[56] = 0x03;
  std::copy(soundName.begin(), soundName.end(), nmf.begin() + 67);
  nmf.insert(nmf.end(), ringtone.begin(), ringtone.end());
  EXPECT_EQ(ReadFile(saved.path / "알림음.nmf"), nmf);

  // A fresh list read shows the two new items beside the sample's six.
  MediaLists again;
  ASSERT_TRUE(ReadMediaList(window, again, settings, session));
  EXPECT_EQ(window.PhoneItemCount(), 8);
  EXPECT_THAT(window.phoneItems, ::testing::Contains(std::pair(6, std::string("풍경"))));
  EXPECT_THAT(window.phoneItems, ::testing::Contains(std::pair(7, std::string("알림음"))));
}

}  // namespace
}  // namespace linkora
