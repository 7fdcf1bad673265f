#include "schedule/IcalendarReader.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/Cp949.h"
#include "schedule/IcalendarWriter.h"
#include "schedule/ScheduleFile.h"

namespace linkora {
namespace {

using ::testing::ElementsAreArray;

constexpr std::time_t kToday = 1796639055;  // 2026-12-07 19:24:15 in Seoul

// Local times are this PC's; the tests fix the zone so conversions are known.
class IcalendarReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    oldTz_ = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
  }
  void TearDown() override {
    if (oldTz_) {
      setenv("TZ", oldTz_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> oldTz_;
};

std::string ReadSample(const std::string& name) {
  std::ifstream in(std::string(LINKORA_ICAL_SAMPLES) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const ScheduleStore& store) {
  std::vector<std::string> lines;
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    const ScheduleEntry& e = store.Schedule(i);
    lines.push_back(fmt::format("S {}-{:02}-{:02} {:02}:{:02}|{}|{}|{}|{}|{}/{}", e.Year(),
                                e.Month(), e.Day(), e.Hour(), e.Minute(),
                                cp949::ToUtf8(e.Content()), cp949::ToUtf8(e.Place()), e.Alarm(),
                                e.Ringtone(), e.Index(), e.Next()));
  }
  for (int i = 0; i < store.DdayCount(); ++i) {
    const DdayEntry& e = store.Dday(i);
    lines.push_back(fmt::format("D {}-{:02}-{:02}|{}|{}|{}|{}/{}", e.Year(), e.Month(), e.Day(),
                                cp949::ToUtf8(e.Title()), cp949::ToUtf8(e.Content()), e.Ringtone(),
                                e.Index(), e.Next()));
  }
  return lines;
}

std::vector<std::string> Notes(const ImportReport& report) {
  std::vector<std::string> lines;
  for (const ImportReport::Note& note : report.Notes()) {
    lines.push_back(std::string(ImportReport::KindName(note.kind)) + " " + note.item + ": " +
                    note.text);
  }
  return lines;
}

TEST_F(IcalendarReaderTest, ImportsCommonExportsAndReportsWhatDidNotFit) {
  const struct {
    const char* file;
    int imported;
    std::vector<std::string> records;
    std::vector<std::string> notes;
  } cases[] = {
      {"google-style.ics",
       4,
       {"S 2026-12-24 19:30|성탄 모임|명동, 서울|2|84|0/1",
        "S 2027-01-15 23:00|Call with the New York office||1|84|1/2",
        "S 2027-03-01 09:00|Quarterly planning with the whole produc|Room 4|0|84|2/0",
        "D 2027-05-12|엄마 생일||84|0/0"},
       {"changed 성탄 모임 (2026-12-24): UTC 시각 2026-12-24 10:30을(를) 이 PC의 시각 "
        "2026-12-24 19:30(으)로 바꾸었습니다.",
        "changed Call with the New York office (2027-01-15): America/New_York 시각 2027-01-15 "
        "09:00을(를) 이 PC의 시각 2027-01-15 23:00(으)로 바꾸었습니다.",
        "changed Call with the New York office (2027-01-15): 알람 15분전을 \"10분전\"(으)로 "
        "바꾸었습니다.",
        "skipped Call with the New York office (2027-01-15): 두 번째 이후의 알람은 가져오지 "
        "않았습니다.",
        "changed 엄마 생일 (1990-05-12): 반복 일정은 오늘 이후 첫 회차(2027-05-12)만 "
        "가져왔습니다.",
        "changed Quarterly planning with the whole product team 🚀 (2027-03-01): UTC 시각 "
        "2027-03-01 00:00을(를) 이 PC의 시각 2027-03-01 09:00(으)로 바꾸었습니다.",
        "lost Quarterly planning with the whole product team 🚀 (2027-03-01): 내용의 문자 "
        "\"🚀\"은(는) 단말기에서 쓸 수 없어 뺐습니다.",
        "cut Quarterly planning with the whole product team 🚀 (2027-03-01): 내용을(를) "
        "40바이트로 잘랐습니다."}},
      {"desktop-style.ics",
       3,
       {"S 2026-12-14 18:00|Team meeting||0|84|0/1",
        "S 2027-02-10 16:30|치과|서울특별시 강남구 테헤란로 123 우리치과 |3|84|1/0",
        "D 2027-01-01|새해|해돋이 보러 가기|84|0/0"},
       {"changed Team meeting (2026-11-02): 반복 일정은 오늘 이후 첫 회차(2026-12-14)만 "
        "가져왔습니다.",
        "changed Team meeting (2026-11-02): Europe/Berlin 시각 2026-12-14 10:00을(를) 이 PC의 "
        "시각 2026-12-14 18:00(으)로 바꾸었습니다.",
        "skipped Team meeting (moved) (2026-11-16): 반복 일정의 바뀐 회차는 가져오지 "
        "않았습니다.",
        "skipped 세금 신고: 할 일(VTODO)은 단말기에 저장할 수 없어 가져오지 않았습니다.",
        "changed 치과 (2027-02-10): Europe/Berlin 시각 2027-02-10 08:30을(를) 이 PC의 시각 "
        "2027-02-10 16:30(으)로 바꾸었습니다.",
        "cut 치과 (2027-02-10): 장소을(를) 40바이트로 잘랐습니다.",
        "skipped 새해 (2027-01-01): DDAY에는 알람이 없어 알람을 가져오지 않았습니다.",
        "skipped Expo (2051-06-01): 날짜가 단말기의 범위(1997-01-01 ~ 2049-12-31) 밖이어서 "
        "가져오지 않았습니다."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ScheduleStore store;
    ImportReport report;
    IcalendarReader reader([] { return kToday; });
    ASSERT_TRUE(reader.Read(ReadSample(c.file), store, report)) << reader.errorString();
    EXPECT_EQ(report.Imported(), c.imported);
    EXPECT_THAT(Lines(store), ElementsAreArray(c.records));
    EXPECT_THAT(Notes(report), ElementsAreArray(c.notes));
  }
}

ScheduleStore OneOfEach() {
  ScheduleStore store;
  ScheduleEntry schedule;
  schedule.SetYear(2026);
  schedule.SetMonth(5);
  schedule.SetDay(1);
  schedule.SetContent(*cp949::FromUtf8("있던 일정"));
  schedule.SetRingtone(84);
  store.AppendSchedule(schedule);
  DdayEntry dday;
  dday.SetYear(2026);
  dday.SetMonth(6);
  dday.SetDay(1);
  store.AppendDday(dday);
  store.SortAndRelink();
  return store;
}

TEST_F(IcalendarReaderTest, RefusesWhatIsNotICalendarAndChangesNothing) {
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "iCalendar 파일 형식이 잘못되었습니다."},
      {"hello", "iCalendar 파일 형식이 잘못되었습니다."},
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:홍길동\r\nEND:VCARD\r\n",
       "iCalendar 파일 형식이 잘못되었습니다."},
      {std::string("BEGIN:VCALENDAR\r\n\0\r\nEND:VCALENDAR\r\n", 33),
       "iCalendar 파일 형식이 잘못되었습니다."},
      {"BEGIN:VCALENDAR\r\n" + std::string(4 * 1024 * 1024, 'x'), "iCalendar 파일이 너무 큽니다."},
  };
  for (const auto& c : cases) {
    ScheduleStore store = OneOfEach();
    ImportReport report;
    IcalendarReader reader([] { return kToday; });
    EXPECT_FALSE(reader.Read(c.text, store, report));
    EXPECT_EQ(reader.errorString(), c.error);
    EXPECT_EQ(store, OneOfEach());
    EXPECT_TRUE(report.Clean());
    EXPECT_EQ(report.Imported(), 0);
  }
  ScheduleStore store = OneOfEach();
  ImportReport report;
  IcalendarReader reader([] { return kToday; });
  EXPECT_FALSE(reader.Load("/nonexistent/plans.ics", store, report));
  EXPECT_EQ(reader.errorString(), "파일을 읽을 수 없습니다.");
  EXPECT_EQ(store, OneOfEach());
}

std::string Calendar(const std::string& events) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + events + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& start, const std::string& summary) {
  return "BEGIN:VEVENT\r\nUID:" + summary + "\r\nDTSTAMP:20261201T000000Z\r\nDTSTART" + start +
         "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

TEST_F(IcalendarReaderTest, KeepsTheCapacitiesAndAddsToWhatTheStoreHeld) {
  std::string events;
  for (int i = 0; i < 71; ++i) {
    events += Event(fmt::format(":20270101T{:02}{:02}00", i / 60, i % 60), fmt::format("s{}", i));
  }
  for (int i = 0; i < 27; ++i) {
    events += Event(fmt::format(";VALUE=DATE:202702{:02}", i + 1), fmt::format("d{}", i));
  }
  events += Event(":20260501T000000", "있던 일정");  // the same as the store's
  ScheduleStore store = OneOfEach();
  ImportReport report;
  IcalendarReader reader([] { return kToday; });
  ASSERT_TRUE(reader.Read(Calendar(events), store, report));
  EXPECT_EQ(store.ScheduleCount(), 70);
  EXPECT_EQ(store.DdayCount(), 27);
  EXPECT_EQ(report.Imported(), 69 + 26);
  EXPECT_THAT(Notes(report),
              ElementsAreArray({
                  "skipped s69 (2027-01-01): 스케줄 저장공간(70개)이 가득 차서 가져오지 "
                  "않았습니다.",
                  "skipped s70 (2027-01-01): 스케줄 저장공간(70개)이 가득 차서 가져오지 "
                  "않았습니다.",
                  "skipped d26 (2027-02-27): DDAY 저장공간(27개)이 가득 차서 가져오지 않았습니다.",
                  "skipped 있던 일정 (2026-05-01): 스케줄 저장공간(70개)이 가득 차서 가져오지 "
                  "않았습니다.",
              }));
  // Sorted and linked as the store keeps them: the old entry first.
  EXPECT_EQ(cp949::ToUtf8(store.Schedule(0).Content()), "있던 일정");
  EXPECT_EQ(store.Schedule(0).Next(), 1);
  EXPECT_EQ(store.Schedule(69).Index(), 69);
  EXPECT_EQ(store.Schedule(69).Next(), 0);

  ScheduleStore again = OneOfEach();
  ImportReport second;
  ASSERT_TRUE(reader.Read(Calendar(Event(":20260501T000000", "있던 일정")), again, second));
  EXPECT_EQ(again, OneOfEach());
  EXPECT_THAT(Notes(second), ElementsAreArray({"skipped 있던 일정 (2026-05-01): 같은 항목이 "
                                               "이미 있어 가져오지 않았습니다."}));
}

TEST_F(IcalendarReaderTest, AnEventEditedElsewhereIsTakenFromItsFields) {
  ScheduleStore store = OneOfEach();
  std::string text = IcalendarWriter([] { return kToday; }).Write(store);
  const auto at = text.find("SUMMARY:있던 일정");
  text.replace(at, std::string("SUMMARY:있던 일정").size(), "SUMMARY:바뀐 일정");
  ScheduleStore back;
  ImportReport report;
  ASSERT_TRUE(IcalendarReader([] { return kToday; }).Read(text, back, report));
  EXPECT_THAT(Lines(back),
              ElementsAreArray({"S 2026-05-01 00:00|바뀐 일정||0|84|0/0", "D 2026-06-01|||0|0/0"}));
  EXPECT_TRUE(report.Clean());
}

TEST_F(IcalendarReaderTest, TakesEveryCalendarOfAFileThatHoldsSeveral) {
  ScheduleStore store;
  ImportReport report;
  ASSERT_TRUE(IcalendarReader([] { return kToday; })
                  .Read(Calendar(Event(":20270101T090000", "first")) +
                            Calendar(Event(";VALUE=DATE:20270202", "second")),
                        store, report));
  EXPECT_THAT(Lines(store), ElementsAreArray({"S 2027-01-01 09:00|first||0|84|0/0",
                                              "D 2027-02-02|second||84|0/0"}));
  EXPECT_EQ(report.Imported(), 2);
}

TEST_F(IcalendarReaderTest, ZonesWithoutVtimezoneComeFromTheSystemOrAreTakenAsWritten) {
  ScheduleStore store;
  ImportReport report;
  ASSERT_TRUE(IcalendarReader([] { return kToday; })
                  .Read(Calendar(Event(";TZID=Asia/Tokyo:20270101T100000", "tokyo") +
                                 Event(";TZID=Mars/Olympus:20270101T100000", "mars") +
                                 Event(";TZID=Europe/London:20270701T100000", "london")),
                        store, report));
  EXPECT_THAT(Lines(store), ElementsAreArray({"S 2027-01-01 10:00|tokyo||0|84|0/1",
                                              "S 2027-01-01 10:00|mars||0|84|1/2",
                                              "S 2027-07-01 18:00|london||0|84|2/0"}));
  EXPECT_THAT(Notes(report),
              ElementsAreArray({"changed tokyo (2027-01-01): Asia/Tokyo 시각 2027-01-01 "
                                "10:00을(를) 이 PC의 시각 2027-01-01 10:00(으)로 바꾸었습니다.",
                                "changed mars (2027-01-01): 시간대 Mars/Olympus을(를) 알 수 없어 "
                                "적힌 시각 그대로 가져왔습니다.",
                                "changed london (2027-07-01): Europe/London 시각 2027-07-01 "
                                "10:00을(를) 이 PC의 시각 2027-07-01 18:00(으)로 바꾸었습니다."}));
}

// Mangled copies of the samples never crash the reader nor break the store.
TEST_F(IcalendarReaderTest, SurvivesMangledInput) {
  std::mt19937 random(11);
  for (const char* name : {"google-style.ics", "desktop-style.ics"}) {
    const std::string original = ReadSample(name);
    for (int round = 0; round < 150; ++round) {
      std::string text = original;
      const int changes = 1 + static_cast<int>(random() % 8);
      for (int k = 0; k < changes; ++k) {
        const std::size_t at = random() % text.size();
        switch (random() % 3) {
          case 0:
            text[at] = static_cast<char>(random() % 256);
            break;
          case 1:
            text.erase(at, random() % 40);
            break;
          default:
            text.insert(at, text.substr(random() % text.size(), random() % 60));
        }
      }
      ScheduleStore store;
      ImportReport report;
      IcalendarReader([] { return kToday; }).Read(text, store, report);
      EXPECT_LE(store.ScheduleCount(), 70);
      EXPECT_LE(store.DdayCount(), 27);
    }
  }
}

}  // namespace
}  // namespace linkora
