#include "phonebook/PhonebookFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "phonebook/Phonebook.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A phonebook file put together by hand from the layout: a 64-byte header,
// 20 groups of 27 bytes, 500 flag bytes, then 222 bytes per used slot.
struct FileBuilder {
  std::string headerText = "Norvane Directory File RX-210/310 QTL REV 0.1";
  Bytes headerRest = Bytes(18, 0);  // bytes 46..63
  std::array<Bytes, 20> groups;
  Bytes flags = Bytes(500, 0);
  std::vector<Bytes> records;

  FileBuilder() {
    for (int g = 0; g < 20; ++g) {
      groups[static_cast<std::size_t>(g)] = Bytes(27, 0);
      groups[static_cast<std::size_t>(g)][0] = static_cast<std::uint8_t>(g);
    }
  }

  // A record whose slot field holds `slotField`, with a name.
  void AddRecord(int slot, std::uint16_t slotField, const std::string& name,
                 std::uint8_t flagByte = 0x10) {
    flags[static_cast<std::size_t>(slot)] = flagByte;
    Bytes record(222, 0);
    record[0] = static_cast<std::uint8_t>(slotField & 0xFF);
    record[1] = static_cast<std::uint8_t>(slotField >> 8);
    std::copy(name.begin(), name.end(), record.begin() + 10);
    record[221] = 0x5C;  // the last byte travels too
    records.push_back(record);
  }

  Bytes Build() const {
    Bytes out(headerText.begin(), headerText.end());
    out.push_back(0);
    out.insert(out.end(), headerRest.begin(), headerRest.end());
    for (const Bytes& group : groups) {
      out.insert(out.end(), group.begin(), group.end());
    }
    out.insert(out.end(), flags.begin(), flags.end());
    for (const Bytes& record : records) {
      out.insert(out.end(), record.begin(), record.end());
    }
    return out;
  }
};

class PhonebookFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("linkora-ndf-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    // The window already holds something a failed load must keep.
    earlier.Flags().SetFlags(0, 0x44);
    earlier.Flags().SetFlags(12, 0x01);
    earlier.Entry(12).Bytes()[10] = 'E';
    earlier.Groups()[2].Bytes()[1] = 'e';
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Put(const Bytes& bytes, const std::string& name = "book.ndf") const {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return dir / name;
  }

  static Bytes Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dir;
  Phonebook earlier;
};

TEST_F(PhonebookFileTest, EmptyPhonebookSavesAs1104Bytes) {
  Phonebook book;
  for (int g = 0; g < 20; ++g) {
    book.Groups()[static_cast<std::size_t>(g)].SetNumber(static_cast<std::uint8_t>(g));
  }
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(dir / "empty.ndf", book, error)) << error;
  const Bytes saved = Get(dir / "empty.ndf");
  EXPECT_EQ(saved.size(), 1104u);
  EXPECT_EQ(saved, FileBuilder().Build());

  Phonebook loaded = earlier;
  EXPECT_EQ(LoadPhonebookFile(dir / "empty.ndf", loaded), PhonebookFileLoad::Loaded);
  EXPECT_EQ(loaded.Flags().UsedCount(), 0);
  EXPECT_EQ(loaded.Flags().Flags(0), 0);
  EXPECT_EQ(loaded.Entry(12).Slot(), 12);
  EXPECT_TRUE(loaded.Entry(12).Name().empty());
}

TEST_F(PhonebookFileTest, SaveWritesGroupsFlagsAndUsedRecordsInSlotOrder) {
  FileBuilder file;
  file.flags[0] = 0x7E;  // slot 0's byte goes out unchanged
  file.groups[3][1] = 'F';
  file.groups[3][26] = 0xAB;
  file.AddRecord(3, 3, "Ann");
  file.AddRecord(200, 0, "Bob", 0x21);  // made again after a delete: slot field 0
  file.AddRecord(499, 499, "Cho", 0x80);

  Phonebook book;
  book.SetGroupTableBytes([&] {
    std::array<std::uint8_t, 540> table{};
    for (std::size_t g = 0; g < 20; ++g) {
      std::copy(file.groups[g].begin(), file.groups[g].end(), table.begin() + 27 * g);
    }
    return table;
  }());
  std::copy(file.flags.begin(), file.flags.end(), book.Flags().Bytes().begin());
  const int slots[] = {3, 200, 499};
  for (std::size_t i = 0; i < 3; ++i) {
    std::copy(file.records[i].begin(), file.records[i].end(), book.Entry(slots[i]).Bytes().begin());
  }
  book.Entry(7).Bytes()[10] = 'x';  // an unused slot's record is not saved

  std::string error;
  ASSERT_TRUE(SavePhonebookFile(dir / "three.ndf", book, error)) << error;
  const Bytes saved = Get(dir / "three.ndf");
  EXPECT_EQ(saved.size(), 1104u + 3u * 222u);
  EXPECT_EQ(saved, file.Build());
}

TEST_F(PhonebookFileTest, LoadPlacesRecordsByTheirOrderInTheFile) {
  FileBuilder file;
  file.flags[0] = 0x3C;
  file.headerRest[5] = 0xEE;  // the bytes after the header's zero mean nothing
  file.groups[1][1] = 'A';
  file.AddRecord(4, 77, "Dee");  // slot field says 77; order says 4
  file.AddRecord(120, 0, "Eve");
  Phonebook book = earlier;
  EXPECT_EQ(LoadPhonebookFile(Put(file.Build()), book), PhonebookFileLoad::Loaded);
  EXPECT_EQ(book.Flags().Flags(0), 0x3C);
  EXPECT_EQ(book.Flags().UsedCount(), 2);
  EXPECT_EQ(book.Entry(4).Slot(), 77);
  EXPECT_EQ(book.Entry(4).Bytes()[10], 'D');
  EXPECT_EQ(book.Entry(4).Bytes()[221], 0x5C);
  EXPECT_EQ(book.Entry(120).Slot(), 0);
  EXPECT_EQ(book.Entry(77).Slot(), 77);
  EXPECT_TRUE(book.Entry(77).Name().empty());
  // The earlier entry of slot 12 is gone: its record is cleared.
  EXPECT_FALSE(book.Flags().IsUsed(12));
  EXPECT_TRUE(book.Entry(12).Name().empty());
  EXPECT_EQ(book.Entry(12).Slot(), 12);
  EXPECT_EQ(GroupListTexts(book.Groups())[1], "A");
  EXPECT_EQ(GroupListTexts(book.Groups())[2], "");
}

TEST_F(PhonebookFileTest, SaveThenLoadGivesTheSamePhonebook) {
  FileBuilder file;
  file.flags[0] = 0x99;
  file.groups[19][1] = 'Z';
  file.AddRecord(1, 1, "One", 0x01);
  file.AddRecord(250, 250, "Two", 0x7F);
  Phonebook book;
  ASSERT_EQ(DecodePhonebookFile(file.Build(), book), PhonebookFileLoad::Loaded);
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(dir / "round.ndf", book, error)) << error;
  Phonebook back = earlier;
  ASSERT_EQ(LoadPhonebookFile(dir / "round.ndf", back), PhonebookFileLoad::Loaded);
  EXPECT_EQ(back.Flags(), book.Flags());
  EXPECT_EQ(back.Groups(), book.Groups());
  EXPECT_EQ(back.Entry(1), book.Entry(1));
  EXPECT_EQ(back.Entry(250), book.Entry(250));
  EXPECT_EQ(Get(dir / "round.ndf"), file.Build());
}

TEST_F(PhonebookFileTest, ExtraBytesAtTheEndLoadNormally) {
  FileBuilder file;
  file.AddRecord(9, 9, "Nine");
  Bytes bytes = file.Build();
  bytes.insert(bytes.end(), 1000, 0xFF);
  Phonebook book;
  EXPECT_EQ(LoadPhonebookFile(Put(bytes), book), PhonebookFileLoad::Loaded);
  EXPECT_EQ(book.Entry(9).Bytes()[10], 'N');
}

struct BadFileCase {
  const char* name;
  // Changes a good file with three records into a bad one.
  void (*spoil)(Bytes&);
};

class PhonebookBadFileTest : public PhonebookFileTest,
                             public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(PhonebookBadFileTest, IsRefusedAndKeepsThePhonebook) {
  FileBuilder file;
  file.AddRecord(2, 2, "Amy");
  file.AddRecord(3, 3, "Ben");
  file.AddRecord(4, 4, "Cat");
  Bytes bytes = file.Build();
  GetParam().spoil(bytes);
  Phonebook book = earlier;
  EXPECT_EQ(LoadPhonebookFile(Put(bytes), book), PhonebookFileLoad::BadFormat);
  EXPECT_EQ(book, earlier);
}

INSTANTIATE_TEST_SUITE_P(
    Spoiled, PhonebookBadFileTest,
    ::testing::Values(
        BadFileCase{"LowerCaseHeader", [](Bytes& b) { b[0] = 'n'; }},
        BadFileCase{"HeaderWithoutItsZero", [](Bytes& b) { b[45] = 'X'; }},
        BadFileCase{"HeaderCutShort", [](Bytes& b) { b[44] = 0; }},
        BadFileCase{"CutInsideTheThirdRecord", [](Bytes& b) { b.resize(1104 + 2 * 222 + 100); }},
        BadFileCase{"CutInsideTheGroups", [](Bytes& b) { b.resize(64 + 27 * 7 + 3); }},
        BadFileCase{"CutInsideTheFlags", [](Bytes& b) { b.resize(604 + 499); }},
        BadFileCase{"ShorterThanAHeader", [](Bytes& b) { b.resize(40); }},
        BadFileCase{"MoreFlagsThanRecords", [](Bytes& b) { b[604 + 450] = 0x01; }}),
    [](const auto& bad) { return std::string(bad.param.name); });

TEST_F(PhonebookFileTest, GroupNameWithoutZeroIsTakenAsItsTwentyBytes) {
  FileBuilder file;
  std::fill(file.groups[5].begin() + 1, file.groups[5].begin() + 21, 'Q');
  file.groups[5][21] = 'r';  // reserved bytes are not part of the name
  Phonebook book;
  ASSERT_EQ(LoadPhonebookFile(Put(file.Build()), book), PhonebookFileLoad::Loaded);
  EXPECT_EQ(GroupListTexts(book.Groups())[5], std::string(20, 'Q'));
}

TEST_F(PhonebookFileTest, MissingFileCannotBeOpenedAndChangesNothing) {
  Phonebook book = earlier;
  EXPECT_EQ(LoadPhonebookFile(dir / "absent.ndf", book), PhonebookFileLoad::CannotOpen);
  EXPECT_EQ(book, earlier);
}

TEST_F(PhonebookFileTest, FailedSaveIsReportedAndKeepsTheOldFile) {
  std::string error;
  EXPECT_FALSE(SavePhonebookFile(dir / "no-such-folder" / "book.ndf", earlier, error));
  EXPECT_FALSE(error.empty());

  const Bytes old = FileBuilder().Build();
  const fs::path path = Put(old);
  fs::create_directories(dir / "blocker");
  // A folder in the place of the file: the rename fails, the folder stays.
  error.clear();
  EXPECT_FALSE(SavePhonebookFile(dir / "blocker", earlier, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Get(path), old);
}

}  // namespace
}  // namespace linkora
