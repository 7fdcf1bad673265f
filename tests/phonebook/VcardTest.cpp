#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "emulator/HandsetState.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/VcardReader.h"
#include "phonebook/VcardWriter.h"

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cp949(const std::string& utf8) {
  return cp949::FromUtf8(utf8).value();
}
Bytes Raw(const std::string& text) {
  return Bytes(text.begin(), text.end());
}
std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

Bytes ReadData(const std::string& name) {
  Bytes bytes;
  std::string error;
  EXPECT_TRUE(
      ReadWholeFile(std::filesystem::path(LINKORA_VCARD_DATA_DIR) / name, 1 << 20, bytes, error))
      << error;
  return bytes;
}

void SetGroup(Phonebook& book, int index, const std::string& name) {
  DialGroup& group = book.Groups()[static_cast<std::size_t>(index)];
  group.SetNumber(static_cast<std::uint8_t>(index));
  const Bytes bytes = Cp949(name);
  std::copy(bytes.begin(), bytes.end(), group.Bytes().begin() + DialGroup::kName);
}

// A phonebook with every field in use and the odd bytes a handset may hold.
std::unique_ptr<Phonebook> FullBook() {
  auto book = std::make_unique<Phonebook>();
  for (int g = 0; g < kGroupCount; ++g) {
    book->Groups()[static_cast<std::size_t>(g)].SetNumber(static_cast<std::uint8_t>(g));
  }
  SetGroup(*book, 1, "가족");
  SetGroup(*book, 2, "친구;회사,동료");  // escapes in CATEGORIES
  SetGroup(*book, 7, "안쓰는 그룹");     // no entry uses it
  book->Groups()[3].Bytes()[DialGroup::kReserved] = 0x5A;
  book->Flags().SetFlags(0, 0x11);  // slot 0's byte travels with the book

  // Every field, avatar and ringtone: a record the properties give back alone.
  PhonebookEntry& full = book->Entry(1);
  EXPECT_TRUE(full.SetName(Cp949("김민준")));
  EXPECT_TRUE(full.SetEmail(Raw("minjun@example.com")));
  EXPECT_TRUE(full.SetNumber(NumberKind::Mobile, Raw("01012345678")));
  EXPECT_TRUE(full.SetNumber(NumberKind::Home, Raw("027771234")));
  EXPECT_TRUE(full.SetNumber(NumberKind::Office, Raw("0212345678")));
  EXPECT_TRUE(full.SetNumber(NumberKind::Fax, Raw("0212345679")));
  full.SetGroup(1);
  full.SetLockMark(1);
  full.SetBellCode(113);
  full.SetAvatarFlag(1);
  full.SetAvatarPartValues({16, 17, 7, 20, 20, 22, 17});
  book->Flags().SetFlags(1, 0xFF);

  // A name with a backslash, comma, semicolon and line break; group with escapes.
  PhonebookEntry& escaped = book->Entry(2);
  EXPECT_TRUE(escaped.SetName(Raw("a\\b,c;d\ne")));
  EXPECT_TRUE(escaped.SetNumber(NumberKind::Mobile, Raw("0161234")));
  escaped.SetGroup(2);
  escaped.Bytes()[PhonebookEntry::kAvatarParts] = 1;  // a new entry's part 3
  book->Flags().SetFlags(2, 0x21);

  // Bytes behind the texts' ends, reserved bytes, a hidden number, a slot
  // field of 0, a name of 20 bytes without terminator, a downloaded ringtone.
  PhonebookEntry& odd = book->Entry(3);
  odd.SetSlot(0);
  for (std::size_t i = 0; i < PhonebookEntry::kSize; ++i) {
    if (i >= PhonebookEntry::kReserved && i < PhonebookEntry::kName + PhonebookEntry::kNameSize) {
      odd.Bytes()[i] = static_cast<std::uint8_t>(0xB0 + i % 16);
    }
  }
  EXPECT_TRUE(odd.SetEmail(Raw("x@y")));
  odd.Bytes()[PhonebookEntry::kEmail + 10] = 'Q';
  EXPECT_TRUE(odd.SetNumber(NumberKind::Home, Raw("0331")));  // flag bit not set
  EXPECT_TRUE(odd.SetNumber(NumberKind::Mobile, Raw("010")));
  odd.Bytes()[PhonebookEntry::NumberLengthOffset(NumberKind::Mobile)] = 40;
  odd.SetBellCode(120);
  book->Flags().SetFlags(3, 0x91);

  // Name bytes that are not valid CP949, a group beyond 19, lock byte 7.
  PhonebookEntry& invalid = book->Entry(250);
  EXPECT_TRUE(invalid.SetName(Bytes{0xB1, 0xE8, 0xFF, 0x41, 0x81}));
  EXPECT_TRUE(invalid.SetNumber(NumberKind::Fax, Raw("12#34")));
  invalid.SetGroup(25);
  invalid.SetLockMark(7);
  book->Flags().SetFlags(250, 0x08);

  // A long name of Hangul and Latin letters: folding within characters.
  PhonebookEntry& last = book->Entry(499);
  EXPECT_TRUE(last.SetName(Cp949("가나다라마바사아자A")));
  EXPECT_TRUE(last.SetEmail(Raw("a.very.long.address.for.folding@example.co.kr")));
  book->Flags().SetFlags(499, 0x10);
  return book;
}

TEST(VcardTest, OurFileGivesTheSamePhonebookFileBackByteForByte) {
  const auto book = FullBook();
  VcardWriter writer;
  const std::string text = writer.Write(*book);
  EXPECT_EQ(writer.WrittenCount(), 5);

  auto back = std::make_unique<Phonebook>();
  VcardReader reader;
  ASSERT_TRUE(reader.Read(AsBytes(text), *back)) << reader.errorString();
  EXPECT_EQ(reader.Report().Imported(), 5);
  EXPECT_TRUE(reader.Report().Clean()) << reader.Report().Lines().front();
  EXPECT_EQ(EncodePhonebookFile(*back), EncodePhonebookFile(*book));

  // Read again into the same phonebook: every card goes back to its slot.
  ASSERT_TRUE(reader.Read(AsBytes(text), *back));
  EXPECT_EQ(EncodePhonebookFile(*back), EncodePhonebookFile(*book));
  EXPECT_TRUE(reader.Report().Clean());
}

TEST(VcardTest, WritesFoldedEscapedVcard30) {
  const auto book = FullBook();
  const std::string text = VcardWriter().Write(*book);
  // Every line ends with CRLF and has at most 75 octets.
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = text.find("\r\n", from);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - from, 75u) << text.substr(from, end - from);
    from = end + 2;
  }
  const std::string first = text.substr(0, text.find("END:VCARD"));
  EXPECT_EQ(first.substr(0, first.find("X-LINKORA-BOOK")),
            "BEGIN:VCARD\r\n"
            "VERSION:3.0\r\n"
            "PRODID:-//Linkora//Phonebook//KO\r\n"
            "FN:김민준\r\n"
            "N:김민준;;;;\r\n"
            "TEL;TYPE=CELL:01012345678\r\n"
            "TEL;TYPE=HOME:027771234\r\n"
            "TEL;TYPE=WORK:0212345678\r\n"
            "TEL;TYPE=FAX:0212345679\r\n"
            "EMAIL;TYPE=INTERNET:minjun@example.com\r\n"
            "CATEGORIES:가족\r\n"
            "X-LINKORA-SLOT:1\r\n"
            "X-LINKORA-GROUP:1\r\n"
            "X-LINKORA-RINGTONE:113\r\n"
            "X-LINKORA-LOCK:1\r\n"
            "X-LINKORA-AVATAR:1\r\n"
            "X-LINKORA-AVATAR-PARTS:16 17 7 20 20 22 17\r\n");
  EXPECT_NE(text.find("FN:a\\\\b\\,c\\;d\\ne\r\n"), std::string::npos);
  EXPECT_NE(text.find("CATEGORIES:친구\\;회사\\,동료\r\n"), std::string::npos);
  // 가 to 자 take three octets each: the fold falls between two characters.
  EXPECT_NE(text.find("X-LINKORA-SLOT:499"), std::string::npos);
  EXPECT_EQ(FoldVcardLine("FN:" + std::string(24, 'x') + "가나다라마바사아자차카타파하가나다"),
            "FN:" + std::string(24, 'x') + "가나다라마바사아자차카타파하가나\r\n 다\r\n");
}

struct Expected {
  int slot;
  std::string name;
  std::array<std::string, 4> numbers;  // mobile, home, office, fax
  std::string email;
  std::string group;
};

struct SampleCase {
  std::string file;
  int imported;
  std::vector<Expected> entries;
  std::vector<std::string> notes;  // "kind | item: text"
};

std::string GroupName(const Phonebook& book, const PhonebookEntry& entry) {
  return entry.Group() == 0 ? "" : cp949::FieldToUtf8(book.Groups()[entry.Group()].NameField());
}

std::vector<std::string> NoteLines(const ImportReport& report) {
  std::vector<std::string> lines;
  for (const ImportReport::Note& note : report.Notes()) {
    lines.push_back(std::string(ImportReport::KindName(note.kind)) + " | " + note.item + ": " +
                    note.text);
  }
  return lines;
}

void ExpectEntries(const Phonebook& book, const std::vector<Expected>& entries) {
  EXPECT_EQ(book.Flags().UsedCount(), static_cast<int>(entries.size()));
  for (const Expected& want : entries) {
    SCOPED_TRACE(want.name);
    ASSERT_TRUE(book.Flags().IsUsed(want.slot));
    const PhonebookEntry& entry = book.Entry(want.slot);
    EXPECT_EQ(entry.Slot(), want.slot);
    EXPECT_EQ(cp949::ToUtf8(entry.Name()), want.name);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(cp949::ToUtf8(entry.Number(static_cast<NumberKind>(k))),
                want.numbers[static_cast<std::size_t>(k)]);
      EXPECT_EQ(entry.NumberLength(static_cast<NumberKind>(k)),
                want.numbers[static_cast<std::size_t>(k)].size());
    }
    EXPECT_EQ(cp949::ToUtf8(entry.Email()), want.email);
    EXPECT_EQ(GroupName(book, entry), want.group);
  }
}

TEST(VcardTest, ImportsFilesShapedLikeCommonExporters) {
  const std::vector<SampleCase> cases = {
      {"android-2.1.vcf",
       3,
       {{1, "김민준", {"01012345678", "027771234", "", "027779999"}, "minjun@example.com", ""},
        {2, "김수한무거북이와두", {"01011112222", "01033334444", "", ""}, "", ""},
        {3, "이서연", {"01098765432", "", "", ""}, "", ""}},
       {"cut | 김수한무거북이와두루미삼천갑자: 이름이 길어 "
        "'김수한무거북이와두'(으)로 줄였습니다.",
        "changed | 김수한무거북이와두루미삼천갑자: 휴대폰 번호 010-3333-4444을(를) 집 칸에 "
        "넣었습니다.",
        "lost | 이서연😀: 이름에서 단말기에 없는 글자 '😀'을(를) 뺐습니다.",
        "skipped | 4번째 연락처: 이름도 번호도 없어 넣지 않았습니다."}},
      {"iphone-3.0.vcf",
       4,
       {{1,
         "박지호",
         {"01012340001", "", "0312345678", "0312345679"},
         "jiho.park@example.co.kr",
         "친구"},
        {2, "회사 대표번호", {"0215881234", "", "", ""}, "", ""},
        {3, "최하은", {"01055550001", "025550002", "025550003", "025550004"}, "", "친구"},
        {4, "John Smith", {"0015550100100", "", "", ""}, "john@example.com", ""}},
       {"skipped | 최하은: 번호 칸 네 개가 모두 차서 02-555-0005 번호는 넣지 못했습니다.",
        "changed | John Smith: 국제 번호 +1 555-010-0100을(를) 0015550100100(으)로 넣었습니다.",
        "skipped | John Smith: EMail은 하나만 넣을 수 있어 js@example.org은(는) 넣지 "
        "못했습니다."}},
      {"google-3.0.vcf",
       3,
       {{1, "정도윤", {"01055566666", "0515551234", "", ""}, "doyun@example.com", "가족"},
        {2, "윤지우", {"01011112222", "", "", ""}, "", "동호회"},
        {3, "강서준", {"", "", "", ""}, "seojun.kang.with.a.very.long.address@example-comp", ""}},
       {"skipped | 윤지우: 그룹은 하나만 지정할 수 있어 그룹 '동호회'만 지정했습니다.",
        "cut | 강서준: EMail이 길어 "
        "'seojun.kang.with.a.very.long.address@example-comp'(으)로 줄였습니다.",
        "skipped | 이름만: 번호도 EMail도 없어 넣지 않았습니다."}},
      {"vcard-4.0.vcf",
       2,
       {{1, "한예린", {"01099990000", "0324448888", "0212345678", ""}, "yerin@example.net", ""},
        {2, "Caf 회사", {"", "", "0234567890", ""}, "", "거래처"}},
       {"cut | 한예린: 사무실 번호 tel:02-1234-5678;ext=102을(를) 0212345678(으)로 줄였습니다.",
        "lost | Café 회사: 이름에서 단말기에 없는 글자 'é'을(를) 뺐습니다."}},
  };
  for (const SampleCase& sample : cases) {
    SCOPED_TRACE(sample.file);
    auto book = std::make_unique<Phonebook>();
    VcardReader reader;
    ASSERT_TRUE(reader.Read(ReadData(sample.file), *book)) << reader.errorString();
    EXPECT_EQ(reader.Report().Imported(), sample.imported);
    ExpectEntries(*book, sample.entries);
    EXPECT_EQ(NoteLines(reader.Report()), sample.notes);
  }
}

// The emulator's sample handset phonebook, as a read from it gives it.
std::unique_ptr<Phonebook> SampleBook() {
  const emulator::HandsetState state = emulator::SampleState(emulator::Model::kRx3100);
  auto book = std::make_unique<Phonebook>();
  std::copy(state.slotFlags.begin(), state.slotFlags.end(), book->Flags().Bytes().begin());
  for (const auto& [slot, bytes] : state.entries) {
    std::copy(bytes.begin(), bytes.end(), book->Entry(slot).Bytes().begin());
  }
  for (const auto& [index, bytes] : state.groups) {
    std::copy(bytes.begin(), bytes.end(),
              book->Groups()[static_cast<std::size_t>(index)].Bytes().begin());
  }
  return book;
}

TEST(VcardTest, ImportIntoAPhonebookInUseFillsFreeSlotsAndFindsGroupsByName) {
  auto book = SampleBook();
  const auto before = std::make_unique<Phonebook>(*book);
  VcardReader reader;
  ASSERT_TRUE(reader.Read(ReadData("google-3.0.vcf"), *book));
  EXPECT_EQ(reader.Report().Imported(), 3);
  // The sample uses slots 1-5, 7, 12, 20, 21 and 499; groups 1-5 are named.
  EXPECT_EQ(cp949::ToUtf8(book->Entry(6).Name()), "정도윤");
  EXPECT_EQ(book->Entry(6).Group(), 1);  // 가족
  EXPECT_EQ(cp949::ToUtf8(book->Entry(8).Name()), "윤지우");
  EXPECT_EQ(book->Entry(8).Group(), 5);  // 동호회, no group made
  EXPECT_EQ(cp949::ToUtf8(book->Entry(9).Name()), "강서준");
  EXPECT_EQ(book->Groups(), before->Groups());
  for (const int slot : {1, 2, 3, 4, 5, 7, 12, 20, 21, 499}) {
    EXPECT_EQ(book->Entry(slot), before->Entry(slot));
  }

  // Our own export of it read back changes nothing and reports nothing.
  const std::string ours = VcardWriter().Write(*book);
  const auto exported = std::make_unique<Phonebook>(*book);
  ASSERT_TRUE(reader.Read(AsBytes(ours), *book));
  EXPECT_EQ(EncodePhonebookFile(*book), EncodePhonebookFile(*exported));
  EXPECT_TRUE(reader.Report().Clean());
}

TEST(VcardTest, ContactsBeyondTheFreeSlotsAndGroupsAreReported) {
  auto book = std::make_unique<Phonebook>();
  for (int slot = kFirstSlot; slot < kLastSlot; ++slot) {
    book->Flags().SetFlags(slot, 0x01);
  }
  for (int g = 1; g < kGroupCount; ++g) {
    SetGroup(*book, g, "그룹" + std::to_string(g));
  }
  VcardReader reader;
  ASSERT_TRUE(reader.Read(ReadData("google-3.0.vcf"), *book));
  EXPECT_EQ(reader.Report().Imported(), 1);
  EXPECT_EQ(cp949::ToUtf8(book->Entry(499).Name()), "정도윤");
  EXPECT_EQ(book->Entry(499).Group(), 0);
  EXPECT_EQ(NoteLines(reader.Report()),
            (std::vector<std::string>{
                "skipped | 정도윤: 빈 그룹이 없어 그룹 '가족'을(를) 지정하지 못했습니다.",
                "skipped | 윤지우: 빈 번지가 없어 넣지 못했습니다.",
                "skipped | 강서준: 빈 번지가 없어 넣지 못했습니다.",
                "skipped | 이름만: 번호도 EMail도 없어 넣지 않았습니다."}));
}

TEST(VcardTest, RefusesWhatIsNotVcardAndChangesNothing) {
  const auto original = FullBook();
  const std::vector<std::string> refused = {
      "", "hello\r\n", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n",
      std::string("Norvane Directory File RX-210/310 QTL REV 0.1\0", 46)};
  for (const std::string& text : refused) {
    auto book = std::make_unique<Phonebook>(*original);
    VcardReader reader;
    EXPECT_FALSE(reader.Read(AsBytes(text), *book));
    EXPECT_EQ(reader.errorString(), "vCard 파일이 아닙니다.");
    EXPECT_EQ(*book, *original);
  }
  // Too large a file is refused before it is read.
  const auto path = std::filesystem::temp_directory_path() / "linkora-vcard-large.vcf";
  std::ofstream(path) << "BEGIN:VCARD\r\n";
  std::filesystem::resize_file(path, 16 * 1024 * 1024 + 1);
  auto book = std::make_unique<Phonebook>(*original);
  VcardReader reader;
  EXPECT_FALSE(reader.Load(path, *book));
  EXPECT_EQ(reader.errorString(), "파일이 너무 큽니다. vCard 파일은 16MB까지 읽을 수 있습니다.");
  EXPECT_EQ(*book, *original);
  std::filesystem::remove(path);
}

// The reader meets mangled bytes without reading past them.
TEST(VcardTest, MangledFilesNeverReadOutOfBounds) {
  std::vector<std::string> inputs;
  for (const std::string file :
       {"android-2.1.vcf", "iphone-3.0.vcf", "google-3.0.vcf", "vcard-4.0.vcf"}) {
    const Bytes bytes = ReadData(file);
    const std::string text(bytes.begin(), bytes.end());
    for (std::size_t cut = 0; cut < text.size(); cut += 13) {
      inputs.push_back(text.substr(0, cut));
      std::string flipped = text;
      flipped[cut] = static_cast<char>(flipped[cut] ^ 0x5A);
      inputs.push_back(flipped);
    }
  }
  inputs.push_back("BEGIN:VCARD\nFN;ENCODING=QUOTED-PRINTABLE:=\n=\n=E");
  inputs.push_back(
      "BEGIN:VCARD\nTEL:+\nTEL:tel:;\nN:\\\nX-LINKORA-SLOT:99999\n"
      "X-LINKORA-RECORD-HEX:zz\nX-LINKORA-BOOK-GROUPS-HEX:00\nEND:VCARD");
  inputs.push_back("\xFF\xFE" + std::string("B\0E\0", 4));
  inputs.push_back("BEGIN:VCARD\n" + std::string(300000, 'A') + "\nFN:x\nTEL:1\nEND:VCARD");
  for (const std::string& input : inputs) {
    auto book = std::make_unique<Phonebook>();
    VcardReader reader;
    reader.Read(AsBytes(input), *book);
  }
}

}  // namespace
}  // namespace linkora
