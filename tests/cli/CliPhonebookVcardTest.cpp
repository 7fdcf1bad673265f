#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "common/Cp949.h"
#include "common/FileIo.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "tests/cli/CliToolTest.h"

namespace linkora::cli {
namespace {

class CliPhonebookVcardTest : public test_support::CliToolTest {
 protected:
  CliPhonebookVcardTest() : CliToolTest("linkora-cli-vcard") {}
  static std::string Data(const std::string& name) {
    return (std::filesystem::path(LINKORA_VCARD_DATA_DIR) / name).string();
  }
  std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, 1 << 20, bytes, error)) << error;
    return bytes;
  }
};

TEST_F(CliPhonebookVcardTest, ExportFromAFileAndImportBackGiveTheSameFile) {
  auto book = std::make_unique<Phonebook>();
  book->Flags().SetFlags(7, 0x81);
  PhonebookEntry& entry = book->Entry(7);
  ASSERT_TRUE(entry.SetName(cp949::FromUtf8("김철수").value()));
  ASSERT_TRUE(entry.SetNumber(NumberKind::Mobile, std::vector<std::uint8_t>{'0', '1', '6'}));
  entry.SetBellCode(84);
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(Path("book.ndf"), *book, error)) << error;

  ASSERT_EQ(Run({"phonebook", "export", Path("book.vcf"), "--from", Path("book.ndf"), "--json"}), 0)
      << err_.str();
  EXPECT_EQ(nlohmann::json::parse(out_.str()),
            nlohmann::json({{"file", Path("book.vcf")}, {"entries", 1}}));
  const auto vcf = Bytes(Path("book.vcf"));
  const std::string text(vcf.begin(), vcf.end());
  EXPECT_NE(text.find("FN:김철수\r\nN:김철수;;;;\r\nTEL;TYPE=CELL:016\r\n"), std::string::npos);

  ASSERT_EQ(Run({"phonebook", "import", Path("book.vcf"), "--into", Path("back.ndf")}), 0)
      << err_.str();
  EXPECT_EQ(out_.str(), Path("book.vcf") + ": 1 entries imported into " + Path("back.ndf") + "\n");
  EXPECT_EQ(Bytes(Path("back.ndf")), Bytes(Path("book.ndf")));
  EXPECT_TRUE(library_.log.empty()) << "files only, without the handset";
}

TEST_F(CliPhonebookVcardTest, ImportIntoAFileGivesTheReportAsJson) {
  ASSERT_EQ(
      Run({"phonebook", "import", Data("android-2.1.vcf"), "--into", Path("new.ndf"), "--json"}), 0)
      << err_.str();
  const auto json = nlohmann::json::parse(out_.str());
  EXPECT_EQ(json["imported"], 3);
  EXPECT_EQ(json["into"], Path("new.ndf"));
  ASSERT_EQ(json["notes"].size(), 4u);
  EXPECT_EQ(json["notes"][0]["kind"], "cut");
  EXPECT_EQ(json["notes"][0]["item"], "김수한무거북이와두루미삼천갑자");
  EXPECT_EQ(json["notes"][1]["kind"], "changed");
  EXPECT_EQ(json["notes"][2]["kind"], "lost");
  EXPECT_EQ(json["notes"][3]["kind"], "skipped");
  EXPECT_EQ(json["notes"][3]["text"], "이름도 번호도 없어 넣지 않았습니다.");

  // A second import adds to the file: the entries take the next free slots.
  ASSERT_EQ(Run({"phonebook", "import", Data("google-3.0.vcf"), "--into", Path("new.ndf")}), 0);
  EXPECT_EQ(out_.str().substr(out_.str().find('\n') + 1),
            "  skipped: 윤지우: 그룹은 하나만 지정할 수 있어 그룹 '동호회'만 지정했습니다.\n"
            "  cut: 강서준: EMail이 길어 "
            "'seojun.kang.with.a.very.long.address@example-comp'(으)로 줄였습니다.\n"
            "  skipped: 이름만: 번호도 EMail도 없어 넣지 않았습니다.\n");
  auto book = std::make_unique<Phonebook>();
  ASSERT_EQ(LoadPhonebookFile(Path("new.ndf"), *book), PhonebookFileLoad::Loaded);
  EXPECT_EQ(book->Flags().UsedCount(), 6);
  EXPECT_EQ(cp949::ToUtf8(book->Entry(4).Name()), "정도윤");
}

TEST_F(CliPhonebookVcardTest, ANonVcardFileIsRefusedBeforeAnythingElse) {
  std::ofstream(Path("notes.txt")) << "just some text\n";
  EXPECT_EQ(Run({"phonebook", "import", Path("notes.txt"), "--into", Path("new.ndf")}), 3);
  EXPECT_EQ(err_.str(), "vCard 파일이 아닙니다.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("new.ndf")));

  EXPECT_EQ(Run({"phonebook", "import", Path("notes.txt"), "--yes"}), 3);
  EXPECT_TRUE(library_.log.empty()) << "refused before the handset is reached";

  // Into the handset, the write's confirmation comes first.
  EXPECT_EQ(Run({"phonebook", "import", Data("vcard-4.0.vcf")}), 4);
  EXPECT_NE(err_.str().find("현재 화면의 데이타로 단말기에 덮어쓰게 됩니다."), std::string::npos);
  EXPECT_TRUE(library_.log.empty());
}

}  // namespace
}  // namespace linkora::cli
