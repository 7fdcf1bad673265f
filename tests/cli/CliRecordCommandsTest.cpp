#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"
#include "tests/cli/CliToolTest.h"

namespace linkora::cli {
namespace {

std::vector<std::uint8_t> Cp949(std::initializer_list<int> bytes) {
  std::vector<std::uint8_t> out;
  for (const int b : bytes) {
    out.push_back(static_cast<std::uint8_t>(b));
  }
  return out;
}

class CliRecordCommandsTest : public test_support::CliToolTest {
 protected:
  CliRecordCommandsTest() : CliToolTest("linkora-cli-records") {}
};

TEST_F(CliRecordCommandsTest, PhonebookShowGivesDecodedFieldsAndRawBytes) {
  Phonebook book;
  book.Flags().SetFlags(7, 1);
  PhonebookEntry& entry = book.Entry(7);
  ASSERT_TRUE(entry.SetName(Cp949({0xB1, 0xE8, 0xC3, 0xB6, 0xBC, 0xF6})));  // 김철수
  ASSERT_TRUE(entry.SetNumber(NumberKind::Mobile, Cp949({'0', '1', '6', '1', '2', '3'})));
  entry.SetBellCode(84);
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(Path("book.ndf"), book, error)) << error;

  ASSERT_EQ(Run({"phonebook", "show", Path("book.ndf"), "--json"}), 0) << err_.str();
  const auto json = nlohmann::json::parse(out_.str());
  EXPECT_EQ(json["usedSlots"], 1);
  ASSERT_EQ(json["entries"].size(), 1u);
  const auto& shown = json["entries"][0];
  EXPECT_EQ(shown["slot"], 7);
  EXPECT_EQ(shown["name"], "김철수");
  EXPECT_EQ(shown["numbers"]["mobile"], "016123");
  EXPECT_EQ(shown["ringtone"], "꽃의 왈츠");
  const std::string raw = shown["raw"];
  ASSERT_EQ(raw.size(), 444u);
  EXPECT_EQ(raw.substr(0, 4), "0700");            // slot 7, little-endian
  EXPECT_EQ(raw.substr(20, 12), "b1e8c3b6bcf6");  // the name's CP949 bytes
  EXPECT_EQ(json["groups"].size(), 20u);
  EXPECT_TRUE(library_.log.empty()) << "a file is shown without the handset";

  ASSERT_EQ(Run({"phonebook", "show", Path("book.ndf")}), 0);
  // Every field in columns; Hangul takes two cells.
  EXPECT_EQ(out_.str(),
            "slot  name    group     mobile  home  office  fax  e-mail  ringtone\n"
            "007   김철수  지정안됨  016123  -     -       -    -       꽃의 왈츠\n"
            "1 entries\n");
}

TEST_F(CliRecordCommandsTest, RefusedFilesExitWithThreeAndTheWindowsText) {
  std::ofstream(Path("bad.ndf"), std::ios::binary) << std::string(2000, 'x');
  std::ofstream(Path("bad.nsf"), std::ios::binary) << std::string(200, 'x');
  const std::vector<std::string> cases[] = {
      {"phonebook", "show", Path("bad.ndf")},
      {"phonebook", "push", "--yes", Path("bad.ndf")},
      {"schedule", "show", Path("bad.nsf")},
      {"schedule", "push", "--yes", Path("bad.nsf")},
  };
  for (const auto& args : cases) {
    EXPECT_EQ(Run(args), 3) << args[0] << " " << args[1];
    EXPECT_EQ(err_.str(), "파일 형식이 잘못되었습니다.\n");
  }
  // A file that cannot be read is not a refused one: exit 5 with the reason.
  EXPECT_EQ(Run({"phonebook", "show", Path("missing.ndf")}), 5);
  EXPECT_NE(err_.str().find("missing.ndf: No such file or directory"), std::string::npos);
  EXPECT_TRUE(library_.log.empty());
}

TEST_F(CliRecordCommandsTest, PushWithoutTerminalOrYesIsCancelledBeforeTheHandsetIsReached) {
  Phonebook book;
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(Path("book.ndf"), book, error));
  EXPECT_EQ(Run({"phonebook", "push", Path("book.ndf")}), 4);
  EXPECT_EQ(err_.str(),
            "현재 화면의 데이타로 단말기에 덮어쓰게 됩니다. 계속하시겠습니까?\n"
            "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?\n"
            "linkora-cli: not asked without a terminal; give --yes to write to the handset\n");
  EXPECT_TRUE(library_.log.empty());
}

TEST_F(CliRecordCommandsTest, WrongLockCodeFailsWithOneAndTheText) {
  library_.lockFlag = false;
  EXPECT_EQ(Run({"phonebook", "pull", Path("out.ndf"), "--lock-code", "9999", "-q"}), 1);
  EXPECT_EQ(err_.str(), "입력된 잠금번호가 일치하지 않습니다.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.ndf")));
}

TEST_F(CliRecordCommandsTest, DeclinedPromptIsACancellation) {
  library_.lockFlag = false;
  // No terminal and no --lock-code: the prompt cannot be answered.
  EXPECT_EQ(Run({"schedule", "pull", Path("out.nsf"), "-q"}), 4);
  EXPECT_EQ(err_.str(),
            "linkora-cli: the handset asks for its lock code; give it with --lock-code\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.nsf")));
}

TEST_F(CliRecordCommandsTest, ScheduleShowListsBothSections) {
  ScheduleStore store;
  ScheduleEntry schedule;
  schedule.SetYear(2026);
  schedule.SetMonth(12);
  schedule.SetDay(24);
  schedule.SetHour(19);
  schedule.SetMinute(30);
  schedule.SetContent(Cp949({0xC6, 0xC4, 0xC6, 0xBC}));  // 파티
  schedule.SetRingtone(99);
  store.AppendSchedule(schedule);
  DdayEntry dday;
  dday.SetYear(2027);
  dday.SetMonth(1);
  dday.SetDay(1);
  dday.SetTitle(Cp949({'N', 'Y'}));
  store.AppendDday(dday);
  store.SortAndRelink();
  ASSERT_TRUE(SaveScheduleFile(Path("s.nsf"), store).saved);

  ASSERT_EQ(Run({"schedule", "show", Path("s.nsf"), "--json"}), 0) << err_.str();
  const auto json = nlohmann::json::parse(out_.str());
  ASSERT_EQ(json["schedules"].size(), 1u);
  EXPECT_EQ(json["schedules"][0]["date"], "2026-12-24");
  EXPECT_EQ(json["schedules"][0]["time"], "19:30");
  EXPECT_EQ(json["schedules"][0]["content"], "파티");
  EXPECT_EQ(json["schedules"][0]["ringtone"], "춤추는 소리");
  EXPECT_EQ(std::string(json["schedules"][0]["raw"]).size(), 190u);
  ASSERT_EQ(json["ddays"].size(), 1u);
  EXPECT_EQ(json["ddays"][0]["title"], "NY");
  EXPECT_EQ(std::string(json["ddays"][0]["raw"]).size(), 184u);
}

}  // namespace
}  // namespace linkora::cli
