#include "schedule/ScheduleFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace linkora {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kMagic = "Norvane Schedule File RX-210/310 QTL REV 0.2";

// A header as the layout gives it: the magic text, a zero, then 19 bytes of anything.
Bytes Header(const std::string& text = kMagic, std::uint8_t filler = 0xCC) {
  Bytes header(64, filler);
  std::copy(text.begin(), text.end(), header.begin());
  header[text.size()] = 0;
  return header;
}

// A 95-byte schedule record laid out by hand: index 0, year 1-2, month 3, day 4,
// hour 5, minute 6, content 7.., place 48.., alarm 89, ringtone 90, next 91-94.
Bytes ScheduleRecord(int index, int year, int month, int day, int hour, int minute, char tag,
                     int next) {
  Bytes r(95, 0);
  r[0] = static_cast<std::uint8_t>(index);
  r[1] = static_cast<std::uint8_t>(year & 0xFF);
  r[2] = static_cast<std::uint8_t>(year >> 8);
  r[3] = static_cast<std::uint8_t>(month);
  r[4] = static_cast<std::uint8_t>(day);
  r[5] = static_cast<std::uint8_t>(hour);
  r[6] = static_cast<std::uint8_t>(minute);
  r[7] = static_cast<std::uint8_t>(tag);
  r[48] = 'P';
  r[89] = 2;
  r[90] = 99;
  r[91] = static_cast<std::uint8_t>(next & 0xFF);
  r[92] = static_cast<std::uint8_t>((next >> 8) & 0xFF);
  r[93] = static_cast<std::uint8_t>((next >> 16) & 0xFF);
  r[94] = static_cast<std::uint8_t>((next >> 24) & 0xFF);
  return r;
}

// A 92-byte D-day record: index 0, year 1-2, month 3, day 4, title 5.., content 46..,
// ringtone 87, next 88-91.
Bytes DdayRecord(int index, int year, int month, int day, char tag, int next) {
  Bytes r(92, 0);
  r[0] = static_cast<std::uint8_t>(index);
  r[1] = static_cast<std::uint8_t>(year & 0xFF);
  r[2] = static_cast<std::uint8_t>(year >> 8);
  r[3] = static_cast<std::uint8_t>(month);
  r[4] = static_cast<std::uint8_t>(day);
  r[5] = static_cast<std::uint8_t>(tag);
  r[46] = 'C';
  r[87] = 113;
  r[88] = static_cast<std::uint8_t>(next & 0xFF);
  return r;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

char Tag(std::span<const std::uint8_t> text) {
  return text.empty() ? '\0' : static_cast<char>(text[0]);
}

// The store a file decodes into, or the unchanged sentinel store on failure.
ScheduleStore Sentinel() {
  ScheduleStore store;
  ScheduleEntry e;
  e.SetYear(1999);
  e.SetContent(Bytes{'s'});
  store.AppendSchedule(e);
  return store;
}

TEST(ScheduleFileTest, ThreeSchedulesAndTwoDdaysAreWrittenInTheGivenLayout) {
  ScheduleStore store;
  store.AppendSchedule([] {
    ScheduleEntry e;
    e.Bytes()[0] = 0;
    return e;
  }());
  const Bytes s0 = ScheduleRecord(0, 2003, 1, 2, 3, 4, 'a', 1);
  const Bytes s1 = ScheduleRecord(1, 2003, 5, 6, 7, 8, 'b', 2);
  const Bytes s2 = ScheduleRecord(2, 2004, 1, 1, 0, 0, 'c', 0);
  const Bytes d0 = DdayRecord(0, 2005, 1, 1, 'x', 1);
  const Bytes d1 = DdayRecord(1, 2006, 2, 2, 'y', 0);
  const Bytes file = Join({Header(), s0, s1, s2, d0, d1});

  ASSERT_EQ(DecodeScheduleFile(file, store).status, ScheduleFileStatus::Loaded);
  const Bytes written = EncodeScheduleFile(store);
  ASSERT_EQ(written.size(), 64U + 3 * 95 + 2 * 92);
  // The header's text and zero; the 19 bytes after it are not significant.
  EXPECT_EQ(Bytes(written.begin(), written.begin() + 45), Bytes(file.begin(), file.begin() + 45));
  EXPECT_EQ(Bytes(written.begin() + 64, written.end()), Bytes(file.begin() + 64, file.end()));
}

TEST(ScheduleFileTest, LoadReportsTheCountsAndKeepsTheOrder) {
  const Bytes file = Join({Header(), ScheduleRecord(0, 2003, 1, 2, 3, 4, 'a', 1),
                           ScheduleRecord(1, 2003, 5, 6, 7, 8, 'b', 2),
                           ScheduleRecord(2, 2004, 1, 1, 0, 0, 'c', 0),
                           DdayRecord(0, 2005, 1, 1, 'x', 1), DdayRecord(1, 2006, 2, 2, 'y', 0)});
  ScheduleStore store = Sentinel();
  const ScheduleLoadResult result = DecodeScheduleFile(file, store);
  EXPECT_EQ(result.status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(result.message, "3개의 스케줄러와 2개의 DDAY 데이터를 읽었습니다.");
  ASSERT_EQ(store.ScheduleCount(), 3);
  ASSERT_EQ(store.DdayCount(), 2);
  EXPECT_EQ(Tag(store.Schedule(0).Content()), 'a');
  EXPECT_EQ(Tag(store.Schedule(2).Content()), 'c');
  EXPECT_EQ(store.Schedule(1).Ringtone(), 99);
  EXPECT_EQ(store.Schedule(1).Alarm(), 2);
  EXPECT_EQ(Tag(store.Dday(1).Title()), 'y');
  EXPECT_EQ(store.Dday(1).Ringtone(), 113);
}

TEST(ScheduleFileTest, LoadSortsAndRelinksWhatItRead) {
  const Bytes file =
      Join({Header(), ScheduleRecord(5, 2009, 1, 1, 0, 0, 'z', 3),
            ScheduleRecord(3, 2001, 1, 1, 0, 0, 'a', 0), DdayRecord(9, 2005, 1, 1, 'x', 0)});
  ScheduleStore store;
  ASSERT_EQ(DecodeScheduleFile(file, store).status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(Tag(store.Schedule(0).Content()), 'a');
  EXPECT_EQ(store.Schedule(0).Index(), 0);
  EXPECT_EQ(store.Schedule(0).Next(), 1);
  EXPECT_EQ(store.Schedule(1).Next(), 0);
  EXPECT_EQ(store.Dday(0).Index(), 0);
}

struct HeaderCase {
  const char* name;
  Bytes header;
  bool accepted;
};

TEST(ScheduleFileTest, HeaderIsComparedAsAZeroTerminatedText) {
  Bytes noZero(64, 'x');
  std::copy(kMagic.begin(), kMagic.end(), noZero.begin());
  const HeaderCase cases[] = {
      {"zero then zeros", Header(kMagic, 0), true},
      {"zero then arbitrary bytes", Header(kMagic, 0xA7), true},
      {"letter case differs", Header("Norvane schedule File RX-210/310 QTL REV 0.2"), false},
      {"one more character", Header(kMagic + "3"), false},
      {"one character less", Header(kMagic.substr(0, kMagic.size() - 1)), false},
      {"older revision", Header("Norvane Schedule File RX-210/310 QTL REV 0.1"), false},
      {"no zero in the header", noZero, false},
  };
  const Bytes body =
      Join({ScheduleRecord(0, 2003, 1, 1, 0, 0, 'a', 0), DdayRecord(0, 2003, 1, 1, 'b', 0)});
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleStore store = Sentinel();
    const ScheduleLoadResult result = DecodeScheduleFile(Join({c.header, body}), store);
    if (c.accepted) {
      EXPECT_EQ(result.status, ScheduleFileStatus::Loaded);
      EXPECT_EQ(result.message, "1개의 스케줄러와 1개의 DDAY 데이터를 읽었습니다.");
    } else {
      EXPECT_EQ(result.status, ScheduleFileStatus::WrongFormat);
      EXPECT_EQ(result.message, "파일 형식이 잘못되었습니다.");
      EXPECT_TRUE(store == Sentinel());
    }
  }
}

struct SectionCase {
  const char* name;
  Bytes file;
  bool loaded;
  std::string schedules;  // tags of the schedules in the store
  std::string ddays;
};

TEST(ScheduleFileTest, SectionsEndAtTheirZeroLink) {
  const Bytes s0 = ScheduleRecord(0, 2003, 1, 1, 0, 0, 'a', 1);
  const Bytes s1 = ScheduleRecord(1, 2003, 1, 2, 0, 0, 'b', 0);
  const Bytes d0 = DdayRecord(0, 2004, 1, 1, 'x', 1);
  const Bytes d1 = DdayRecord(1, 2004, 1, 2, 'y', 0);
  const Bytes lone = ScheduleRecord(0, 2003, 1, 1, 0, 0, 'a', 0);
  Bytes cutD1 = Join({Header(), s0, s1, d0, d1});
  cutD1.resize(cutD1.size() - 10);
  const Bytes header = Header();
  Bytes cutS1 = Join({Header(), s0, s1});
  cutS1.resize(cutS1.size() - 1);
  const SectionCase cases[] = {
      {"trailing bytes ignored", Join({Header(), s0, s1, d0, d1, Bytes(300, 0xEE)}), true, "ab",
       "xy"},
      {"ends inside the second D-day", cutD1, false, "", ""},
      {"ends inside the second schedule", cutS1, false, "", ""},
      {"header only: both sections empty", Header(), true, "", ""},
      {"ends after the schedules: no D-days", Join({Header(), s0, s1}), true, "ab", ""},
      {"empty schedule section", Join({Header(), Bytes(95, 0), d0, d1}), true, "", "xy"},
      {"empty D-day section", Join({Header(), s0, s1, Bytes(92, 0)}), true, "ab", ""},
      {"both sections empty", Join({Header(), Bytes(95, 0), Bytes(92, 0)}), true, "", ""},
      {"header cut short", Bytes(header.begin(), header.begin() + 40), false, "", ""},
  };
  for (const SectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleStore store = Sentinel();
    const ScheduleLoadResult result = DecodeScheduleFile(c.file, store);
    if (!c.loaded) {
      EXPECT_EQ(result.status, ScheduleFileStatus::WrongFormat);
      EXPECT_EQ(result.message, "파일 형식이 잘못되었습니다.");
      EXPECT_TRUE(store == Sentinel());
      continue;
    }
    ASSERT_EQ(result.status, ScheduleFileStatus::Loaded);
    std::string schedules;
    for (int i = 0; i < store.ScheduleCount(); ++i) {
      schedules += Tag(store.Schedule(i).Content());
    }
    std::string ddays;
    for (int i = 0; i < store.DdayCount(); ++i) {
      ddays += Tag(store.Dday(i).Title());
    }
    EXPECT_EQ(schedules, c.schedules);
    EXPECT_EQ(ddays, c.ddays);
  }
}

TEST(ScheduleFileTest, BytesAfterAScheduleWithNextZeroAreReadAsDdays) {
  const Bytes lone = ScheduleRecord(0, 2003, 1, 1, 0, 0, 'a', 0);
  Bytes second = ScheduleRecord(1, 2004, 7, 8, 9, 10, 'b', 0);
  second[89] = 0;  // bytes 88..91 of the schedule record are where a D-day keeps its link
  second[90] = 0;
  ScheduleStore store;
  ASSERT_EQ(DecodeScheduleFile(Join({Header(), lone, second}), store).status,
            ScheduleFileStatus::Loaded);
  EXPECT_EQ(store.ScheduleCount(), 1);
  ASSERT_EQ(store.DdayCount(), 1);
  EXPECT_EQ(store.Dday(0).Year(), 2004);
  EXPECT_EQ(store.Dday(0).Month(), 7);
  EXPECT_EQ(store.Dday(0).Day(), 8);
  EXPECT_EQ(store.Dday(0).Bytes()[5], 9);  // the schedule's hour is the title's first byte
}

TEST(ScheduleFileTest, SectionsEndAfterSeventyAndTwentySevenRecords) {
  // The 71st record, whatever its link, is the first D-day.
  Bytes file = Header();
  for (int i = 0; i < 70; ++i) {
    const Bytes r = ScheduleRecord(i, 2003, 1, 1, 0, i % 60, 's', i + 1);  // never next 0
    file.insert(file.end(), r.begin(), r.end());
  }
  const Bytes d = DdayRecord(0, 2003, 1, 1, 'd', 0);
  file.insert(file.end(), d.begin(), d.end());
  ScheduleStore store;
  ASSERT_EQ(DecodeScheduleFile(file, store).status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(store.ScheduleCount(), 70);
  EXPECT_EQ(store.DdayCount(), 1);

  Bytes full = Header();
  for (int i = 0; i < 70; ++i) {
    const Bytes r = ScheduleRecord(i, 2003, 1, 1, 0, i % 60, 's', i + 1);
    full.insert(full.end(), r.begin(), r.end());
  }
  for (int i = 0; i < 30; ++i) {
    const Bytes r = DdayRecord(i, 2003, 1, 1, 'd', i + 1);
    full.insert(full.end(), r.begin(), r.end());
  }
  ASSERT_EQ(DecodeScheduleFile(full, store).status, ScheduleFileStatus::Loaded);
  EXPECT_EQ(store.ScheduleCount(), 70);
  EXPECT_EQ(store.DdayCount(), 27);
}

struct EmptyWriteCase {
  const char* name;
  int schedules;
  int ddays;
  std::size_t size;
};

TEST(ScheduleFileTest, EmptySectionIsWrittenAsOneZeroRecordAndLoadsBackEmpty) {
  const EmptyWriteCase cases[] = {
      {"nothing", 0, 0, 64 + 95 + 92},
      {"no schedules", 0, 2, 64 + 95 + 2 * 92},
      {"no D-days", 1, 0, 64 + 95 + 92},
  };
  for (const EmptyWriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleStore store;
    for (int i = 0; i < c.schedules; ++i) {
      ScheduleEntry e;
      e.SetYear(2003);
      e.SetContent(Bytes{'s'});
      store.AppendSchedule(e);
    }
    for (int i = 0; i < c.ddays; ++i) {
      DdayEntry e;
      e.SetYear(2003);
      e.SetDay(static_cast<std::uint8_t>(i + 1));
      store.AppendDday(e);
    }
    store.SortAndRelink();
    const Bytes written = EncodeScheduleFile(store);
    ASSERT_EQ(written.size(), c.size);
    if (c.schedules == 0) {
      EXPECT_EQ(Bytes(written.begin() + 64, written.begin() + 64 + 95), Bytes(95, 0));
    }
    if (c.ddays == 0) {
      EXPECT_EQ(Bytes(written.end() - 92, written.end()), Bytes(92, 0));
    }
    ScheduleStore loaded = Sentinel();
    ASSERT_EQ(DecodeScheduleFile(written, loaded).status, ScheduleFileStatus::Loaded);
    EXPECT_TRUE(loaded == store);
  }
}

class ScheduleFileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        std::filesystem::temp_directory_path() /
        ("schedule-file-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(ScheduleFileOnDiskTest, SaveThenLoadGivesTheSameStore) {
  ScheduleStore store;
  ScheduleEntry e;
  e.SetYear(2003);
  e.SetMonth(4);
  e.SetContent(Bytes{0xC7, 0xD1});  // one Hangul syllable in CP949
  store.AppendSchedule(e);
  DdayEntry d;
  d.SetYear(2004);
  store.AppendDday(d);
  store.SortAndRelink();
  const auto path = dir / "plan.nsf";
  const ScheduleSaveResult saved = SaveScheduleFile(path, store);
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(saved.message, "현재 스케줄 데이터를 파일에 저장하였습니다.");
  EXPECT_EQ(std::filesystem::file_size(path), 64U + 95 + 92);

  ScheduleStore loaded;
  const ScheduleLoadResult result = LoadScheduleFile(path, loaded);
  EXPECT_EQ(result.status, ScheduleFileStatus::Loaded);
  EXPECT_TRUE(loaded == store);
}

TEST_F(ScheduleFileOnDiskTest, FailedSaveIsReportedAndLeavesWhatWasThereWhole) {
  // A folder under the chosen name cannot be replaced by the file.
  const auto path = dir / "plan.nsf";
  std::filesystem::create_directories(path);
  {
    std::ofstream inside(path / "keep.txt");
    inside << "kept";
  }
  const ScheduleSaveResult saved = SaveScheduleFile(path, ScheduleStore{});
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(saved.message, "파일 쓰기도중 오류가 발생하였습니다.");
  EXPECT_NE(saved.detail.find("plan.nsf"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(path / "keep.txt"));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);

  const ScheduleSaveResult missingFolder = SaveScheduleFile(dir / "none" / "plan.nsf", {});
  EXPECT_FALSE(missingFolder.saved);
  EXPECT_EQ(missingFolder.message, "파일 쓰기도중 오류가 발생하였습니다.");
}

TEST_F(ScheduleFileOnDiskTest, MissingFileIsPassedOverInSilence) {
  ScheduleStore store = Sentinel();
  const ScheduleLoadResult result = LoadScheduleFile(dir / "none.nsf", store);
  EXPECT_EQ(result.status, ScheduleFileStatus::NotOpened);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(store == Sentinel());
  EXPECT_EQ(LoadScheduleFile(dir, store).status, ScheduleFileStatus::NotOpened);
  EXPECT_TRUE(store == Sentinel());
}

}  // namespace
}  // namespace linkora
