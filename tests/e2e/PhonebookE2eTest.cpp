// The phonebook read and write, and the phonebook file between them, run by
// the core over the serial library against the emulated handset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "common/Cp949.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookEditor.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookTransfer.h"
#include "tests/e2e/E2eTest.h"

namespace linkora {
namespace {

using test::AsBytes;
using test::Bytes;
using test::Cp949;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PhonebookE2eTest : public test::E2eTest {
 protected:
  Bytes StateEntry(int slot) const {
    return emulator->ReadStateBytes("entries", std::to_string(slot));
  }
};

TEST_F(PhonebookE2eTest, ReadGivesTheSampleEntries) {
  Start();
  Phonebook phonebook;
  ASSERT_EQ(ReadPhonebook(Context(), host, settings, phonebook), kPhonebookTransferDone) << Shown();
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(phonebook.Flags().UsedCount(), 10);

  struct Case {
    int slot;
    const char* name;
    const char* mobile;
    const char* office;
    const char* email;
    int group;
    std::uint8_t flags;
  };
  const Case cases[] = {
      // mobile, home, e-mail, group, avatar and ringtone
      {1, "김민준", "0161234567", "", "minjun@example.com", 1, 0xF3},
      {2, "이서연", "0189876543", "", "", 2, 0x21},
      {3, "박지호", "01612340001", "0312345678", "jiho.park@example.co.kr", 3, 0xB5},
      {7, "강서준", "0187778888", "", "", 0, 0x01},
      {21, "우리집", "", "", "", 1, 0x22},
      {499, "회사 대표번호", "", "0215881234", "", 3, 0x24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    const PhonebookEntry& entry = phonebook.Entry(c.slot);
    EXPECT_EQ(entry.Slot(), c.slot);
    EXPECT_EQ(cp949::ToUtf8(entry.Name()), c.name);
    EXPECT_EQ(cp949::ToUtf8(entry.Number(NumberKind::Mobile)), c.mobile);
    EXPECT_EQ(cp949::ToUtf8(entry.Number(NumberKind::Office)), c.office);
    EXPECT_EQ(cp949::ToUtf8(entry.Email()), c.email);
    EXPECT_EQ(entry.Group(), c.group);
    EXPECT_EQ(phonebook.Flags().Flags(c.slot), c.flags);
  }
  EXPECT_FALSE(phonebook.Flags().IsUsed(6));
  EXPECT_EQ(phonebook.Entry(1).BellCode(), 84);
  EXPECT_EQ(phonebook.Entry(1).AvatarFlag(), 1);
  const auto groups = GroupListTexts(phonebook.Groups());
  ASSERT_GE(groups.size(), 6u);
  EXPECT_THAT(std::vector<std::string>(groups.begin(), groups.begin() + 6),
              ElementsAre("지정안됨", "가족", "친구", "회사", "학교", "동호회"));
  // Every record arrived as the handset holds it.
  for (const int slot : {1, 3, 12, 499}) {
    EXPECT_EQ(AsBytes(phonebook.Entry(slot).Bytes()), StateEntry(slot)) << slot;
  }
}

TEST_F(PhonebookE2eTest, ChangedEntryIsOnTheHandsetAndReadsBackTheSame) {
  Start();
  Phonebook phonebook;
  ASSERT_EQ(ReadPhonebook(Context(), host, settings, phonebook), kPhonebookTransferDone) << Shown();

  PhonebookEditor editor(phonebook);
  editor.AfterRead();
  EXPECT_EQ(editor.OpenEntry(2), std::nullopt);
  ASSERT_TRUE(editor.SetText(EditorField::Name, "이서연 팀장"));
  ASSERT_TRUE(editor.SetText(EditorField::Office, "0212345678"));
  ASSERT_EQ(editor.Apply(), std::nullopt);

  ASSERT_EQ(WritePhonebook(Context(), host, settings, phonebook), kPhonebookTransferDone)
      << Shown();
  // The write ends with the handset's restart, announced.
  EXPECT_THAT(host.messages, ElementsAre("단말기가 리셋됩니다."));

  // The handset has restarted; its state holds the changed entry.
  const Bytes stored = StateEntry(2);
  ASSERT_EQ(stored.size(), 222u);
  EXPECT_EQ(stored, AsBytes(phonebook.Entry(2).Bytes()));
  Bytes name(stored.begin() + 10, stored.begin() + 22);
  EXPECT_EQ(name, test::WithZero(Cp949("이서연 팀장")));
  EXPECT_EQ(stored[146], 10);  // the office number's length byte
  EXPECT_EQ(Bytes(stored.begin() + 147, stored.begin() + 158), test::WithZero(Cp949("0212345678")));
  const Bytes flags = emulator->ReadStateBytes("slotFlags");
  ASSERT_EQ(flags.size(), 500u);
  EXPECT_EQ(flags[2], 0x25);  // mobile, office and group
  // The other entries are unchanged.
  EXPECT_EQ(StateEntry(499), AsBytes(phonebook.Entry(499).Bytes()));

  // A fresh connect after the restart reads the same phonebook.
  WaitOutResetSilence();
  Phonebook again;
  ASSERT_EQ(ReadPhonebook(Context(), host, settings, again), kPhonebookTransferDone) << Shown();
  EXPECT_EQ(AsBytes(again.Entry(2).Bytes()), stored);
  EXPECT_EQ(again.Flags().Flags(2), 0x25);
  EXPECT_TRUE(again == phonebook);
}

TEST_F(PhonebookE2eTest, FileRoundTripWritesTheSameBytes) {
  Start();
  const nlohmann::json before = emulator->ReadState();
  Phonebook phonebook;
  ASSERT_EQ(ReadPhonebook(Context(), host, settings, phonebook), kPhonebookTransferDone) << Shown();

  test::ScratchFolder folder;
  const auto file = folder.path / "주소록.ndf";
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(file, phonebook, error)) << error;
  Phonebook loaded;
  ASSERT_EQ(LoadPhonebookFile(file, loaded), PhonebookFileLoad::Loaded);
  EXPECT_TRUE(loaded == phonebook);

  ASSERT_EQ(WritePhonebook(Context(), host, settings, loaded), kPhonebookTransferDone) << Shown();
  const nlohmann::json after = emulator->ReadState();
  EXPECT_EQ(after.at("slotFlags"), before.at("slotFlags"));
  EXPECT_EQ(after.at("entries"), before.at("entries"));
  EXPECT_EQ(after.at("groups"), before.at("groups"));
}

}  // namespace
}  // namespace linkora
