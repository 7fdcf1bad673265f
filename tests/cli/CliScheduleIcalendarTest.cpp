#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "common/Cp949.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"
#include "tests/cli/CliToolTest.h"

namespace linkora::cli {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliScheduleIcalendarTest : public test_support::CliToolTest {
 protected:
  CliScheduleIcalendarTest() : CliToolTest("linkora-cli-ical") {}
  void SetUp() override {
    CliToolTest::SetUp();
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
  }
  void TearDown() override {
    CliToolTest::TearDown();
    unsetenv("TZ");
    tzset();
  }
};

TEST_F(CliScheduleIcalendarTest, ExportFromAFileAndImportIntoAFileGiveTheSameRecords) {
  ScheduleStore store;
  ScheduleEntry schedule;
  schedule.SetYear(2026);
  schedule.SetMonth(12);
  schedule.SetDay(24);
  schedule.SetHour(19);
  schedule.SetMinute(30);
  schedule.SetContent(*cp949::FromUtf8("파티"));
  schedule.SetAlarm(3);
  schedule.SetRingtone(99);
  store.AppendSchedule(schedule);
  DdayEntry dday;
  dday.SetYear(2027);
  dday.SetMonth(1);
  dday.SetDay(1);
  dday.SetTitle(std::vector<std::uint8_t>{0xC7, 0xFF, 'x'});  // no valid CP949
  store.AppendDday(dday);
  store.SortAndRelink();
  ASSERT_TRUE(SaveScheduleFile(Path("plans.nsf"), store).saved);

  ASSERT_EQ(Run({"schedule", "export", Path("plans.ics"), "--from", Path("plans.nsf"), "--json"}),
            0)
      << err_.str();
  EXPECT_EQ(nlohmann::json::parse(out_.str()),
            nlohmann::json({{"file", Path("plans.ics")}, {"schedules", 1}, {"ddays", 1}}));
  const std::string ics = Slurp(Path("plans.ics"));
  EXPECT_NE(ics.find("DTSTART:20261224T193000\r\n"), std::string::npos);
  EXPECT_NE(ics.find("TRIGGER:-PT1H\r\n"), std::string::npos);
  EXPECT_NE(ics.find("DTSTART;VALUE=DATE:20270101\r\n"), std::string::npos);

  ASSERT_EQ(Run({"schedule", "import", Path("plans.ics"), "--into", Path("new.nsf"), "--json"}), 0)
      << err_.str();
  EXPECT_EQ(nlohmann::json::parse(out_.str()), nlohmann::json({{"file", Path("plans.ics")},
                                                               {"into", Path("new.nsf")},
                                                               {"imported", 2},
                                                               {"notes", nlohmann::json::array()},
                                                               {"schedules", 1},
                                                               {"ddays", 1}}));
  EXPECT_EQ(Slurp(Path("new.nsf")), Slurp(Path("plans.nsf")));
  EXPECT_TRUE(library_.log.empty()) << "files only, no handset";
}

TEST_F(CliScheduleIcalendarTest, ImportIntoAFileReportsWhatDidNotFit) {
  std::ofstream(Path("other.ics"), std::ios::binary)
      << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n"
         "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261224T103000Z\r\n"
         "SUMMARY:모임\r\nEND:VEVENT\r\n"
         "BEGIN:VTODO\r\nUID:b\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:장보기\r\nEND:VTODO\r\n"
         "END:VCALENDAR\r\n";
  ASSERT_EQ(Run({"schedule", "import", Path("other.ics"), "--into", Path("new.nsf")}), 0)
      << err_.str();
  EXPECT_EQ(out_.str(), Path("other.ics") +
                            ": 1 imported, 2 notes\n"
                            "  changed: 모임 (2026-12-24): UTC 시각 2026-12-24 10:30을(를) 이 "
                            "PC의 시각 2026-12-24 19:30(으)로 바꾸었습니다.\n"
                            "  skipped: 장보기: 할 일(VTODO)은 단말기에 저장할 수 없어 가져오지 "
                            "않았습니다.\n");

  ASSERT_EQ(Run({"schedule", "import", Path("other.ics"), "--into", Path("new.nsf"), "--json"}), 0);
  const auto json = nlohmann::json::parse(out_.str());
  EXPECT_EQ(json["imported"], 0);
  EXPECT_EQ(json["schedules"], 1);
  ASSERT_EQ(json["notes"].size(), 2u);
  EXPECT_EQ(json["notes"][0]["kind"], "skipped");
  EXPECT_EQ(json["notes"][0]["item"], "모임 (2026-12-24)");
  EXPECT_EQ(json["notes"][0]["text"], "같은 항목이 이미 있어 가져오지 않았습니다.");
}

TEST_F(CliScheduleIcalendarTest, AFileThatIsNotICalendarIsRefusedBeforeAnythingChanges) {
  std::ofstream(Path("card.ics"), std::ios::binary) << "BEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\n";
  std::ofstream(Path("keep.nsf"), std::ios::binary) << "unchanged";
  EXPECT_EQ(Run({"schedule", "import", Path("card.ics"), "--into", Path("new.nsf")}), 3);
  EXPECT_EQ(err_.str(), "iCalendar 파일 형식이 잘못되었습니다.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("new.nsf")));
  EXPECT_EQ(Run({"schedule", "import", Path("card.ics"), "--yes"}), 3);
  EXPECT_EQ(err_.str(), "iCalendar 파일 형식이 잘못되었습니다.\n");
  EXPECT_TRUE(library_.log.empty()) << "a refused file never reaches the handset";
  EXPECT_EQ(Run({"schedule", "import", Path("card.ics"), "--into", Path("keep.nsf")}), 3);
  EXPECT_EQ(Slurp(Path("keep.nsf")), "unchanged");
}

}  // namespace
}  // namespace linkora::cli
