// linkora-cli run as a user runs it, against the handset emulator on a
// pseudo-terminal: every command a separate process, its exit code, output
// and files checked.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>

#include "common/Cp949.h"
#include "link/PhoneLink.h"
#include "link/SessionState.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "tests/media/MediaBytes.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PseudoTerminalLink.h"
#include "tests/support/RecordingSleep.h"
#include "tests/support/RunningEmulator.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class CliEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    test::RunningEmulator::Options options;
    options.args = {"--lock", "1", "--lock-code", "2580", "--phone", "01612345678"};
    emulator_ = std::make_unique<test::RunningEmulator>(options);
    ASSERT_TRUE(emulator_->IsRunning()) << emulator_->Error();
    dir_ =
        fs::temp_directory_path() / ("linkora-cli-e2e-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool on the emulator's port with the handset's access data.
  test::ChildResult Cli(std::vector<std::string> args, bool withAccess = true) {
    if (withAccess) {
      args.insert(args.end(), {"--phone", "016-1234-5678", "--lock-code", "2580"});
    }
    return test::RunChild(LINKORA_CLI_PATH, args,
                          {"LINKORA_PORTS_DIR=" + emulator_->PortsDir().string(),
                           "LINKORA_PROFILE=" + (dir_ / "profile.ini").string()});
  }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  std::unique_ptr<test::RunningEmulator> emulator_;
  fs::path dir_;
};

TEST_F(CliEndToEndTest, PhonebookPullEditPushAndPullAgain) {
  const auto pulled = Cli({"phonebook", "pull", Path("book.ndf").string(), "--json", "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  EXPECT_EQ(nlohmann::json::parse(pulled.out)["usedSlots"], 10);  // the sample phonebook

  // The user edits the file elsewhere: slot 2 gets a new name.
  Phonebook book;
  ASSERT_EQ(LoadPhonebookFile(Path("book.ndf"), book), PhonebookFileLoad::Loaded);
  const auto name = cp949::FromUtf8("홍길동");
  ASSERT_TRUE(name && book.Entry(2).SetName(*name));
  std::string error;
  ASSERT_TRUE(SavePhonebookFile(Path("edited.ndf"), book, error)) << error;

  const auto pushed = Cli({"phonebook", "push", Path("edited.ndf").string(), "--yes", "-q"});
  ASSERT_EQ(pushed.exitCode, 0) << pushed.err;
  EXPECT_THAT(pushed.err,
              testing::StartsWith("단말기가 리셋됩니다.\n"
                                  "linkora-cli: what the handset held before is kept in "));
  const auto stored = emulator_->ReadStateBytes("entries", "2");
  ASSERT_EQ(stored.size(), 222u);
  EXPECT_TRUE(std::equal(name->begin(), name->end(), stored.begin() + 10));
  EXPECT_EQ(stored[10 + name->size()], 0);

  const auto again = Cli({"phonebook", "pull", Path("again.ndf").string(), "-q"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(FileBytes(Path("again.ndf")), FileBytes(Path("edited.ndf")));

  const auto shown = Cli({"phonebook", "show", Path("again.ndf").string(), "--json"}, false);
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const auto json = nlohmann::json::parse(shown.out);
  bool found = false;
  for (const auto& entry : json["entries"]) {
    if (entry["slot"] == 2) {
      found = true;
      EXPECT_EQ(entry["name"], "홍길동");
      EXPECT_EQ(std::string(entry["raw"]).size(), 444u);
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(CliEndToEndTest, ScheduleRoundTripKeepsEveryByte) {
  const auto pulled = Cli({"schedule", "pull", Path("s.nsf").string(), "--json", "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  const auto counts = nlohmann::json::parse(pulled.out);
  EXPECT_GT(counts["schedules"], 0);
  EXPECT_GT(counts["ddays"], 0);
  const auto pushed = Cli({"schedule", "push", Path("s.nsf").string(), "--yes", "-q"});
  ASSERT_EQ(pushed.exitCode, 0) << pushed.err;
  const auto again = Cli({"schedule", "pull", Path("s2.nsf").string(), "-q"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(FileBytes(Path("s2.nsf")), FileBytes(Path("s.nsf")));
}

TEST_F(CliEndToEndTest, ScheduleExportAndImportWithTheHandset) {
  const auto exported = Cli({"schedule", "export", Path("h.ics").string(), "--json", "-q"});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const int schedules = nlohmann::json::parse(exported.out)["schedules"];
  const int ddays = nlohmann::json::parse(exported.out)["ddays"];
  ASSERT_GT(schedules, 0);

  // Our own file: every event is there already, so nothing is written.
  const auto same = Cli({"schedule", "import", Path("h.ics").string(), "--json", "-q"});
  ASSERT_EQ(same.exitCode, 0) << same.err;
  const auto sameReport = nlohmann::json::parse(same.out);
  EXPECT_EQ(sameReport["imported"], 0);
  EXPECT_EQ(sameReport["notes"].size(), static_cast<std::size_t>(schedules + ddays));

  std::ofstream(Path("new.ics"), std::ios::binary)
      << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\nBEGIN:VEVENT\r\n"
         "UID:n\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20270321T153000\r\n"
         "SUMMARY:새 일정\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  const auto added = Cli({"schedule", "import", Path("new.ics").string(), "--yes", "--json", "-q"});
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const auto report = nlohmann::json::parse(added.out);
  EXPECT_EQ(report["imported"], 1);
  EXPECT_EQ(report["into"], "handset");
  EXPECT_EQ(report["schedules"], schedules + 1);

  const auto pulled = Cli({"schedule", "pull", Path("s.nsf").string(), "--json", "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  EXPECT_EQ(nlohmann::json::parse(pulled.out)["schedules"], schedules + 1);
  EXPECT_EQ(nlohmann::json::parse(pulled.out)["ddays"], ddays);
}

TEST_F(CliEndToEndTest, MessagesPulledUnderTheirListedNames) {
  const auto listed = Cli({"messages", "list", "--json", "-q"});
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  const auto json = nlohmann::json::parse(listed.out);
  std::multiset<std::string> expected;
  for (const char* list : {"received", "sent"}) {
    for (const auto& message : json[list]) {
      expected.insert(message["file"]);
    }
  }
  ASSERT_FALSE(expected.empty());
  // Times in ISO 8601 without the year ("--MM-DDThh:mm") beside the display text.
  for (const char* list : {"received", "sent"}) {
    for (const auto& message : json[list]) {
      if (message["time"].is_null()) {
        EXPECT_EQ(message["timeText"], "");
        continue;
      }
      const std::string time = message["time"];
      ASSERT_EQ(time.size(), 13u) << time;
      EXPECT_EQ(time.substr(0, 2) + time[4] + time[7] + time[10], "---T:") << time;
      // The export name holds the same month, day, hour and minute.
      const std::string file = message["file"];
      EXPECT_EQ(file.substr(2, 8),
                time.substr(2, 2) + time.substr(5, 2) + time.substr(8, 2) + time.substr(11, 2));
    }
  }

  const auto pulled = Cli({"messages", "pull", Path("msgs").string(), "--json", "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(Path("msgs"))) {
    written.insert(entry.path().filename().string());
    EXPECT_FALSE(FileBytes(entry.path()).empty());
  }
  EXPECT_EQ(written.size(), expected.size());
  // A name taken twice gets "-2"; every other name is the listed one.
  for (const std::string& name : written) {
    const std::string base =
        name.find('-') == std::string::npos ? name : name.substr(0, name.find('-')) + ".txt";
    EXPECT_EQ(expected.count(base) > 0, true) << name;
  }
}

TEST_F(CliEndToEndTest, MediaPushedAndPulledBackByteForByte) {
  const auto picture = test::Jpeg(128, 160);
  WriteBytes(Path("photo.jpg"), picture);
  const auto inspected = Cli({"media", "inspect", Path("photo.jpg").string(), "--json"}, false);
  ASSERT_EQ(inspected.exitCode, 0) << inspected.err;
  EXPECT_EQ(nlohmann::json::parse(inspected.out)["kind"], "jpeg");

  const auto pushed = Cli({"media", "push", Path("photo.jpg").string(), "-q"});
  ASSERT_EQ(pushed.exitCode, 0) << pushed.err;
  const auto listed = Cli({"media", "list", "--json", "-q"});
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  int slot = -1;
  const auto list = nlohmann::json::parse(listed.out);
  for (const auto& item : list["items"]) {
    if (item["name"] == "photo") {
      slot = item["slot"];
    }
  }
  ASSERT_GE(slot, 0) << listed.out;
  const auto pulled = Cli({"media", "pull", Path("out").string(), std::to_string(slot), "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  EXPECT_EQ(FileBytes(Path("out") / "photo.jpg"), picture);
}

TEST_F(CliEndToEndTest, RefusedFilesExitWithThreeAndTheExactText) {
  WriteBytes(Path("note.txt"), {'h', 'e', 'l', 'l', 'o'});
  WriteBytes(Path("photo.jpg"), test::Jpeg(64, 64));
  WriteBytes(Path("empty.gif"), {});
  const auto media = Cli({"media", "push", Path("note.txt").string(), Path("photo.jpg").string(),
                          Path("empty.gif").string(), "-q"});
  EXPECT_EQ(media.exitCode, 3);
  // Each refused file named with its reason; the summary counts both kinds.
  EXPECT_NE(media.err.find(Path("note.txt").string() + ": 잘못된 파일 형식입니다.\n"),
            std::string::npos)
      << media.err;
  EXPECT_NE(media.err.find(Path("empty.gif").string() + ": "), std::string::npos) << media.err;
  EXPECT_EQ(media.out, "1 of 3 files stored on the handset, 2 refused\n");
  EXPECT_TRUE(media.err.ends_with("linkora-cli: 2 of 3 files refused (the reasons are above)\n"))
      << media.err;

  WriteBytes(Path("bad.ndf"), std::vector<std::uint8_t>(1200, 'x'));
  const auto book = Cli({"phonebook", "push", Path("bad.ndf").string(), "--yes", "-q"});
  EXPECT_EQ(book.exitCode, 3);
  EXPECT_EQ(book.err, "파일 형식이 잘못되었습니다.\n");
}

TEST_F(CliEndToEndTest, WrongLockCodeFailsWithOneAndTheExactText) {
  const auto result = Cli({"phonebook", "pull", Path("x.ndf").string(), "--phone", "016-1234-5678",
                           "--lock-code", "1111", "-q"},
                          false);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "입력된 잠금번호가 일치하지 않습니다.\n");
  EXPECT_FALSE(fs::exists(Path("x.ndf")));
}

TEST_F(CliEndToEndTest, BackupThenRestoreRoundTrip) {
  const auto before = emulator_->ReadState();
  const auto backup = Cli({"backup", Path("bk").string(), "--json", "-q"});
  ASSERT_EQ(backup.exitCode, 0) << backup.err;
  const auto manifest = nlohmann::json::parse(backup.out);
  EXPECT_EQ(manifest["model"], "RX-3100");
  EXPECT_EQ(manifest, nlohmann::json::parse(FileBytes(Path("bk") / "manifest.json")));
  std::set<std::string> paths;
  for (const auto& file : manifest["files"]) {
    paths.insert(file["path"]);
    EXPECT_EQ(std::string(file["sha256"]).size(), 64u);
    EXPECT_EQ(file["size"], fs::file_size(Path("bk") / std::string(file["path"])));
  }
  EXPECT_TRUE(paths.count("phonebook.ndf") && paths.count("schedule.nsf"));

  const auto restore = Cli({"restore", Path("bk").string(), "--yes", "-q"});
  ASSERT_EQ(restore.exitCode, 0) << restore.err;
  const auto after = emulator_->ReadState();
  for (const char* field : {"slotFlags", "entries", "groups", "schedules", "ddays"}) {
    EXPECT_EQ(after[field], before[field]) << field;
  }

  // A backup folder changed since is refused before anything is sent.
  std::ofstream(Path("bk") / "schedule.nsf", std::ios::app) << 'x';
  const auto changed = Cli({"restore", Path("bk").string(), "--yes", "-q"});
  EXPECT_EQ(changed.exitCode, 3);
  EXPECT_NE(changed.err.find("is not the file the backup's manifest lists"), std::string::npos);
}

TEST_F(CliEndToEndTest, MessagesExportedAsOneTextOrCsvFile) {
  const auto text = Cli({"messages", "export", Path("out").string(), "-q"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, (Path("out") / "messages.txt").string() + "\n");
  const auto txt = FileBytes(Path("out") / "messages.txt");
  const std::string written(txt.begin(), txt.end());
  EXPECT_EQ(written.substr(0, written.find('\n')), "받은 메시지 6개, 보낸 메시지 3개");
  EXPECT_NE(written.find("\n==== 보낸 메시지 1 ====\n보낸시간: 11월 30일 오후 11시 59분\n"
                         "수신번호: 0161112222\n\n고마워~\n"),
            std::string::npos)
      << written;

  // The file is there now: without --yes and without a terminal nothing is replaced.
  const auto again = Cli({"messages", "export", Path("out").string(), "--format", "txt", "-q"});
  EXPECT_EQ(again.exitCode, 4);
  EXPECT_EQ(FileBytes(Path("out") / "messages.txt"), txt);

  const auto csv = Cli({"messages", "export", Path("all.csv").string(), "--json", "-q"});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(
      nlohmann::json::parse(csv.out),
      nlohmann::json(
          {{"file", Path("all.csv").string()}, {"format", "csv"}, {"received", 6}, {"sent", 3}}));
  const auto table = FileBytes(Path("all.csv"));
  const std::string rows(table.begin(), table.end());
  EXPECT_EQ(rows.rfind("\xEF\xBB\xBF메시지함,시간,번호,내용\r\n", 0), 0u) << rows;
  EXPECT_NE(rows.find("\r\n보낸 메시지,12월 3일 오전 9시 10분,0161234567,"
                      "\"네, 알겠습니다. 3시에 뵙겠습니다.\"\r\n"),
            std::string::npos)
      << rows;
}

TEST_F(CliEndToEndTest, DownloadedNmfFilesExportedAsPlainFiles) {
  const auto pulled = Cli({"media", "pull", Path("out").string(), "-q"});
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  const auto bell = FileBytes(Path("out") / "봄바람.nmf");
  ASSERT_GT(bell.size(), 243u);

  const auto exported =
      Cli({"media", "export", Path("out/봄바람.nmf").string(), Path("out/바다풍경.nmf").string(),
           Path("out/우리강아지.gif").string(), Path("plain").string(), "-q"},
          false);
  EXPECT_EQ(exported.exitCode, 3);
  EXPECT_EQ(exported.err, "우리강아지.gif: 미디어 파일(.nmf)이 아닙니다.\n");
  EXPECT_EQ(exported.out, (Path("plain") / "봄바람.mmf").string() + "\n" +
                              (Path("plain") / "바다풍경.sis").string() + "\n");
  EXPECT_EQ(FileBytes(Path("plain") / "봄바람.mmf"),
            std::vector<std::uint8_t>(bell.begin() + 243, bell.end()));
  const auto picture = FileBytes(Path("plain") / "바다풍경.sis");
  ASSERT_GE(picture.size(), 3u);
  EXPECT_EQ(std::string(picture.begin(), picture.begin() + 3), "SAF");
}

// Two handsets on two ports: --port reaches the one asked for, never the
// other that would answer first in a search. Each has its own lock code, so
// talking to the wrong one fails.
TEST(CliTwoHandsetsTest, PortOptionReachesThatHandsetOnly) {
  const fs::path dir =
      fs::temp_directory_path() / ("linkora-cli-two-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "ports");
  std::vector<std::unique_ptr<test::RunningEmulator>> handsets;
  for (const auto& [com, code] : {std::pair{"COM11", "1111"}, std::pair{"COM12", "2222"}}) {
    test::RunningEmulator::Options options;
    options.com = com;
    options.portsDir = dir / "ports";
    options.args = {"--lock", "0", "--lock-code", code};
    handsets.push_back(std::make_unique<test::RunningEmulator>(options));
    ASSERT_TRUE(handsets.back()->IsRunning()) << handsets.back()->Error();
  }
  // Both handsets in diagnostic mode, as after a visit that did not end
  // cleanly: a search now takes COM11, the first that answers.
  SerialHandsetLibrary library(handsets[0]->LibraryOptions());
  test::RecordingSleep sleep;
  SessionState session;
  for (const char* com : {"COM11", "COM12"}) {
    PhoneLink link({library, sleep, session});
    ASSERT_TRUE(link.Open(com, 115200));
    ASSERT_EQ(link.EnterDiagMode(), LinkOk);
  }
  const std::vector<std::string> env = {"LINKORA_PORTS_DIR=" + (dir / "ports").string(),
                                        "LINKORA_PROFILE=" + (dir / "profile.ini").string()};
  for (const auto& [com, code] : {std::pair{"COM12", "2222"}, std::pair{"COM11", "1111"}}) {
    SCOPED_TRACE(com);
    const auto pulled =
        test::RunChild(LINKORA_CLI_PATH,
                       {"phonebook", "pull", (dir / (std::string(com) + ".ndf")).string(), "--port",
                        com, "--lock-code", code, "-q"},
                       env);
    EXPECT_EQ(pulled.exitCode, 0) << pulled.err;
  }
  // A line with no handset behind it: the handsets on COM11 and COM12 are not tried.
  const int silent = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_EQ(::grantpt(silent), 0);
  ASSERT_EQ(::unlockpt(silent), 0);
  test::LinkPseudoTerminal(::ptsname(silent), dir / "ports" / "COM3");
  const auto none = test::RunChild(LINKORA_CLI_PATH,
                                   {"phonebook", "pull", (dir / "y.ndf").string(), "--port", "COM3",
                                    "--lock-code", "1111", "-q"},
                                   env);
  ::close(silent);
  EXPECT_EQ(none.exitCode, 1);
  // The line is not held by an emulator, so it is refused before a byte goes out.
  EXPECT_THAT(none.err, testing::HasSubstr("시리얼포트를 열수 없습니다. 포트설정을 확인하세요.\n"));
  EXPECT_FALSE(fs::exists(dir / "y.ndf"));
  handsets.clear();
  fs::remove_all(dir);
}

TEST_F(CliEndToEndTest, SavesThatFailNameThePathAndTheReason) {
  // A folder standing where a media file goes: the others are saved, the
  // failed one is named with the system's reason.
  fs::create_directories(Path("out") / "봄바람.nmf");
  const auto pulled = Cli({"media", "pull", Path("out").string(), "--yes", "-q", "--json"});
  EXPECT_EQ(pulled.exitCode, 5) << pulled.err;
  EXPECT_NE(pulled.err.find("linkora-cli: " + (Path("out") / "봄바람.nmf").string() +
                            ": Is a directory\n"),
            std::string::npos)
      << pulled.err;
  const auto error = nlohmann::json::parse(pulled.out)["error"];
  EXPECT_EQ(error["code"], 5);
  EXPECT_EQ(error["step"], "file");
  EXPECT_EQ(error["message"],
            "linkora-cli: 1 of 6 media files were not saved (the reasons are above)");
  EXPECT_TRUE(fs::exists(Path("out") / "가을하늘.gif"));
}

// Every kind of fault on the reads of the handset's access data ends the
// run with a line saying which read failed.
TEST(CliFaultTest, AccessReadFaultsEndWithALine) {
  const struct {
    const char* fault;
    const char* what;
  } cases[] = {
      {"fail:read-lock:1:2", "lock flag"},
      {"drop:read-userlock:1:2", "lock code"},
      {"corrupt:read-min1:1:2", "phone number"},
  };
  for (const auto& c : cases) {
    test::RunningEmulator::Options options;
    options.args = {"--lock",  "1",           "--lock-code", "2580",
                    "--phone", "01612345678", "--fault",     c.fault};
    test::RunningEmulator emulator(options);
    ASSERT_TRUE(emulator.IsRunning()) << emulator.Error();
    const auto result = test::RunChild(
        LINKORA_CLI_PATH,
        {"messages", "list", "--port", "COM11", "--phone", "01612345678", "--lock-code", "2580",
         "--json"},
        {"LINKORA_PORTS_DIR=" + emulator.PortsDir().string(), "LINKORA_PROFILE=/nonexistent"});
    EXPECT_EQ(result.exitCode, 1) << c.fault;
    const std::string line = std::string("linkora-cli: the handset did not give its ") + c.what +
                             "; check the cable and that the handset is on, then try again\n";
    EXPECT_TRUE(result.err.ends_with(line)) << c.fault << ":\n" << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["error"]["code"], 1) << result.out;
  }
}

TEST(EmulatorOptionsTest, InvalidValuesExitWithTwoAndSayWhich) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"--fault", "fail:read-frob:1"}, "unknown fault operation \"read-frob\""},
      {{"--fault", "explode:version:1"}, "fault kind must be fail, drop or corrupt"},
      {{"--fault", "fail:version:0"}, "fault counts must be whole numbers from 1"},
      {{"--nv-error", "999"}, "--nv-error takes an NV status from 1 to 255, not \"999\""},
      {{"--nv-error", "0"}, "--nv-error takes an NV status from 1 to 255"},
      {{"--reset-silence", "-5"}, "--reset-silence takes milliseconds from 0 to 600000"},
      {{"--spc", "12ab56"}, "--spc takes six digits"},
      {{"--spc", "1234567"}, "--spc takes six digits"},
      {{"--lock", "2"}, "--lock takes 0 or 1, not \"2\""},
      {{"--lock-code", "12345"}, "--lock-code takes four digits"},
      {{"--lock-code", "12a4"}, "--lock-code takes four digits"},
  };
  const auto ports = fs::temp_directory_path() / ("linkora-emu-opts-" + std::to_string(::getpid()));
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--ports-dir", ports.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto result = test::RunChild(LINKORA_EMULATOR_PATH, args, {}, 10000);
    EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(c.args);
    EXPECT_EQ(result.err.rfind("linkora-emulator: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
  }
  fs::remove_all(ports);
}

}  // namespace
}  // namespace linkora
