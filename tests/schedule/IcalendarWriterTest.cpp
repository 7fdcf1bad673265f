#include "schedule/IcalendarWriter.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Cp949.h"
#include "emulator/HandsetState.h"
#include "schedule/IcalendarReader.h"
#include "schedule/ScheduleFile.h"

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::time_t kStamp = 1796639055;  // 2026-12-07 10:24:15 UTC

Bytes Cp949(const char* utf8) {
  return *cp949::FromUtf8(utf8);
}

ScheduleEntry Schedule(int year, int month, int day, int hour, int minute, const Bytes& content,
                       const Bytes& place, int alarm, int ringtone) {
  ScheduleEntry entry;
  entry.SetYear(static_cast<std::uint16_t>(year));
  entry.SetMonth(static_cast<std::uint8_t>(month));
  entry.SetDay(static_cast<std::uint8_t>(day));
  entry.SetHour(static_cast<std::uint8_t>(hour));
  entry.SetMinute(static_cast<std::uint8_t>(minute));
  entry.SetContent(content);
  entry.SetPlace(place);
  entry.SetAlarm(static_cast<std::uint8_t>(alarm));
  entry.SetRingtone(static_cast<std::uint8_t>(ringtone));
  return entry;
}

DdayEntry Dday(int year, int month, int day, const Bytes& title, const Bytes& content,
               int ringtone) {
  DdayEntry entry;
  entry.SetYear(static_cast<std::uint16_t>(year));
  entry.SetMonth(static_cast<std::uint8_t>(month));
  entry.SetDay(static_cast<std::uint8_t>(day));
  entry.SetTitle(title);
  entry.SetContent(content);
  entry.SetRingtone(static_cast<std::uint8_t>(ringtone));
  return entry;
}

ScheduleStore SmallStore() {
  ScheduleStore store;
  store.AppendSchedule(
      Schedule(2026, 12, 24, 19, 30, Cp949("성탄 모임, 저녁; 7시"), Cp949("명동"), 2, 99));
  store.AppendDday(Dday(2027, 1, 1, Cp949("새해"), Cp949("해돋이"), 84));
  store.SortAndRelink();
  return store;
}

// Records with everything a handset or an old file may hold: bytes that are
// no CP949, remains after a text's zero, values out of range, codes the
// editors never give, full 40-byte texts and two equal records.
ScheduleStore OddStore() {
  ScheduleStore store = SmallStore();
  ScheduleEntry odd = Schedule(2031, 13, 0, 24, 61, Bytes{0x81, 0xFF, 'a', 0xC7}, Bytes{}, 7, 200);
  odd.Bytes()[40] = 0x5A;  // remains of an earlier text
  store.AppendSchedule(odd);
  store.AppendSchedule(Schedule(0, 0, 0, 0, 0, Bytes{}, Bytes{}, 0, 0));
  store.AppendSchedule(
      Schedule(65535, 255, 255, 255, 255, Bytes(40, 'x'), Bytes(40, 0xB0), 3, 113));
  store.AppendSchedule(
      Schedule(2026, 12, 24, 19, 30, Cp949("성탄 모임, 저녁; 7시"), Cp949("명동"), 2, 99));
  store.AppendSchedule(
      Schedule(2027, 2, 3, 8, 0, Cp949("\"따옴표\"\\ 그리고\n줄"), Cp949("장소"), 1, 130));
  DdayEntry dday = Dday(1996, 2, 30, Bytes{0xA4, 0x00, 0xFE}, Bytes(40, 0xA1), 255);
  dday.Bytes()[80] = 0x33;
  store.AppendDday(dday);
  store.AppendDday(Dday(2049, 12, 31, Bytes{}, Bytes{}, 0));
  store.SortAndRelink();
  return store;
}

ScheduleStore SampleHandsetStore() {
  const emulator::HandsetState state = emulator::SampleState(emulator::Model::kRx3100);
  ScheduleStore store;
  for (const auto& [position, bytes] : state.schedules) {
    ScheduleEntry entry;
    std::copy(bytes.begin(), bytes.end(), entry.Bytes().begin());
    store.AppendSchedule(entry);
  }
  for (const auto& [position, bytes] : state.ddays) {
    DdayEntry entry;
    std::copy(bytes.begin(), bytes.end(), entry.Bytes().begin());
    store.AppendDday(entry);
  }
  store.SortAndRelink();
  return store;
}

std::string Export(const ScheduleStore& store) {
  return IcalendarWriter([] { return kStamp; }).Write(store);
}

TEST(IcalendarWriterTest, WritesEventsAsTheStandardWants) {
  const std::string expected =
      "BEGIN:VCALENDAR\r\n"
      "VERSION:2.0\r\n"
      "PRODID:-//Linkora//Linkora Scheduler//KO\r\n"
      "CALSCALE:GREGORIAN\r\n"
      "BEGIN:VEVENT\r\n"
      "UID:schedule-42dd59b70de91d3c2d9de541@linkora\r\n"
      "DTSTAMP:20261207T102415Z\r\n"
      "DTSTART:20261224T193000\r\n"
      "SUMMARY:성탄 모임\\, 저녁\\; 7시\r\n"
      "LOCATION:명동\r\n"
      "X-LINKORA-KIND:SCHEDULE\r\n"
      "X-LINKORA-ALARM:2\r\n"
      "X-LINKORA-RINGTONE:99\r\n"
      "X-LINKORA-RECORD:\r\n"
      " 00ea070c18131ebcbac5ba20b8f0c0d32c20c0fab3e13b2037bdc300000000000000000000\r\n"
      " 0000000000000000000000b8edb5bf00000000000000000000000000000000000000000000\r\n"
      " 000000000000000000000000000000026300000000\r\n"
      "BEGIN:VALARM\r\n"
      "ACTION:DISPLAY\r\n"
      "DESCRIPTION:성탄 모임\\, 저녁\\; 7시\r\n"
      "TRIGGER:-PT30M\r\n"
      "END:VALARM\r\n"
      "END:VEVENT\r\n"
      "BEGIN:VEVENT\r\n"
      "UID:dday-93163a975cbf71b752d344d9@linkora\r\n"
      "DTSTAMP:20261207T102415Z\r\n"
      "DTSTART;VALUE=DATE:20270101\r\n"
      "SUMMARY:새해\r\n"
      "DESCRIPTION:해돋이\r\n"
      "X-LINKORA-KIND:DDAY\r\n"
      "X-LINKORA-RINGTONE:84\r\n"
      "X-LINKORA-RECORD:\r\n"
      " 00eb070101bbf5c7d800000000000000000000000000000000000000000000000000000000\r\n"
      " 000000000000000000c7d8b5b8c0cc00000000000000000000000000000000000000000000\r\n"
      " 000000000000000000000000005400000000\r\n"
      "END:VEVENT\r\n"
      "END:VCALENDAR\r\n";
  EXPECT_EQ(Export(SmallStore()), expected);
}

TEST(IcalendarWriterTest, ScheduleFileComesBackByteForByteThroughICalendar) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "ical-round";
  std::filesystem::create_directories(dir);
  for (const ScheduleStore& original : {SmallStore(), OddStore(), SampleHandsetStore()}) {
    ASSERT_TRUE(SaveScheduleFile(dir / "before.nsf", original).saved);
    ScheduleStore loaded;
    ASSERT_EQ(LoadScheduleFile(dir / "before.nsf", loaded).status, ScheduleFileStatus::Loaded);

    IcalendarWriter writer([] { return kStamp; });
    ASSERT_TRUE(writer.Save(dir / "plans.ics", loaded)) << writer.errorString();
    ScheduleStore back;
    ImportReport report;
    IcalendarReader reader([] { return kStamp; });
    ASSERT_TRUE(reader.Load(dir / "plans.ics", back, report)) << reader.errorString();
    EXPECT_TRUE(report.Clean()) << report.Lines().front();
    EXPECT_EQ(report.Imported(), loaded.ScheduleCount() + loaded.DdayCount());
    EXPECT_EQ(EncodeScheduleFile(back), EncodeScheduleFile(loaded));
  }
  std::filesystem::remove_all(dir);
}

TEST(IcalendarWriterTest, ExportsPassLibicalsOwnChecks) {
  for (const ScheduleStore& store : {SmallStore(), OddStore(), SampleHandsetStore()}) {
    const std::string text = Export(store);
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0) << icalcomponent_as_ical_string(calendar);
    EXPECT_EQ(icalrestriction_check(calendar), 1);
    EXPECT_EQ(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT),
              store.ScheduleCount() + store.DdayCount());
    icalcomponent_free(calendar);
  }
}

TEST(IcalendarWriterTest, ExportsPassAnIndependentParser) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "ical-python";
  std::filesystem::create_directories(dir);
  const struct {
    ScheduleStore store;
    const char* counts;
  } cases[] = {{SmallStore(), "1 1"}, {OddStore(), "6 3"}, {SampleHandsetStore(), nullptr}};
  for (const auto& c : cases) {
    const std::string counts = c.counts != nullptr ? c.counts
                                                   : std::to_string(c.store.ScheduleCount()) + " " +
                                                         std::to_string(c.store.DdayCount());
    ASSERT_TRUE(IcalendarWriter([] { return kStamp; }).Save(dir / "plans.ics", c.store));
    const std::string command = std::string(LINKORA_PYTHON) + " " + LINKORA_CHECK_ICS + " " +
                                (dir / "plans.ics").string() + " " + counts + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
      output += buffer.data();
    }
    EXPECT_EQ(pclose(pipe), 0) << output;
    EXPECT_EQ(output, "ok " + counts + "\n");
  }
  std::filesystem::remove_all(dir);
}

TEST(IcalendarWriterTest, UidsStayWhenOtherRecordsChangeAndDifferForEqualRecords) {
  ScheduleStore store = SmallStore();
  store.AppendSchedule(Schedule(2026, 1, 1, 9, 0, Cp949("먼저"), Bytes{}, 0, 84));
  store.AppendSchedule(Schedule(2026, 1, 1, 9, 0, Cp949("먼저"), Bytes{}, 0, 84));
  store.SortAndRelink();
  const std::string after = Export(store);
  EXPECT_NE(after.find("UID:schedule-42dd59b70de91d3c2d9de541@linkora\r\n"), std::string::npos);
  const auto first = after.find("UID:schedule-");
  const std::string firstUid = after.substr(first, after.find('@', first) - first);
  EXPECT_NE(after.find(firstUid + "@linkora\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find(firstUid + "-2@linkora\r\n"), std::string::npos) << after;
}

TEST(IcalendarWriterTest, SaveReportsAFolderThatDoesNotExist) {
  IcalendarWriter writer([] { return kStamp; });
  EXPECT_FALSE(writer.Save("/nonexistent-folder/plans.ics", SmallStore()));
  EXPECT_NE(writer.errorString().find("/nonexistent-folder/plans.ics"), std::string::npos);
}

}  // namespace
}  // namespace linkora
