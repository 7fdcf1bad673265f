// Backup and restore with linkora-cli, each command its own process, against
// the handset emulator.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>

#include "common/ByteRecord.h"
#include "emulator/HandsetState.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RunningEmulator.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BackupRestoreE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    emulator_ = std::make_unique<test::RunningEmulator>();
    ASSERT_TRUE(emulator_->IsRunning()) << emulator_->Error();
    dir_ =
        fs::temp_directory_path() / ("linkora-backup-e2e-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  test::ChildResult Cli(std::vector<std::string> args) {
    args.insert(args.end(),
                {"--port", "COM11", "--phone", "016-1234-5678", "--lock-code", "1234", "-q"});
    return test::RunChild(LINKORA_CLI_PATH, args,
                          {"LINKORA_PORTS_DIR=" + emulator_->PortsDir().string(),
                           "LINKORA_PROFILE=" + (dir_ / "profile.ini").string()});
  }

  // Changes the handset while the emulator is stopped: slot 3 deleted, slot 5
  // renamed, the first schedule moved to another place, media slot 0 gone.
  void ChangeHandset() {
    emulator::HandsetState state;
    std::string error;
    ASSERT_TRUE(emulator::HandsetState::FromJson(emulator_->ReadState(), state, error)) << error;
    state.entries.erase(3);
    state.slotFlags[3] = 0;
    state.entries.at(5)[10] = 'Z';
    state.schedules.at(0)[48] = 'X';
    auto& info = state.files.at("nvm/info/media_info");
    WriteU32(info, 0, ReadU32(info, 0) - ReadU32(info, 4 + 4 * 0));
    WriteU32(info, 4 + 4 * 0, 0);
    WriteU16(info, 400 + 2 * 0, 0);
    info[796 + 0] = 0;
    info[895 + 0] = 0xFF;
    std::fill_n(info.begin() + 994 + 20 * 0, 20, 0);
    info[2974 + 0] = 0;
    state.files.erase("nvm/media/media_0000");
    ASSERT_TRUE(emulator_->Stop());
    ASSERT_TRUE(state.Save(emulator_->StateFile(), error)) << error;
    ASSERT_TRUE(emulator_->Restart()) << emulator_->Error();
  }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  std::unique_ptr<test::RunningEmulator> emulator_;
  fs::path dir_;
};

TEST_F(BackupRestoreE2eTest, BackupChangeRestoreAndBackupAgainGiveTheSameNativeFiles) {
  const auto first = Cli({"backup", Path("one").string()});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const auto manifest = nlohmann::json::parse(FileBytes(Path("one") / "manifest.json"));
  EXPECT_EQ(manifest["phoneNumber"], "01612345678");
  EXPECT_EQ(manifest["media"].size(), 6u);
  // The open copies other programs read.
  const auto text = [&](const char* name) {
    const auto bytes = FileBytes(Path("one") / name);
    return std::string(bytes.begin(), bytes.end());
  };
  EXPECT_EQ(text("contacts.vcf").rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
  EXPECT_EQ(text("messages.csv").rfind("\xEF\xBB\xBF메시지함,시간,번호,내용\r\n", 0), 0u);
  EXPECT_FALSE(text("messages.txt").empty());
  int plain = 0;
  for (const auto& entry : fs::directory_iterator(Path("one") / "media-files")) {
    plain += entry.path().extension() != ".nmf" ? 1 : 0;
  }
  EXPECT_GE(plain, 1);

  const auto same = Cli({"restore", Path("one").string(), "--dry-run"});
  ASSERT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out,
            "전화번호: 추가 0, 변경 0, 삭제 0\n스케줄: 추가 0, 변경 0, 삭제 0\n"
            "D-day: 추가 0, 변경 0, 삭제 0\n올릴 미디어: 0개\n");

  ChangeHandset();
  const auto dryRun = Cli({"restore", Path("one").string(), "--dry-run", "--json"});
  ASSERT_EQ(dryRun.exitCode, 0) << dryRun.err;
  const auto plan = nlohmann::json::parse(dryRun.out);
  EXPECT_EQ(plan["entries"], (nlohmann::json{{"added", 1}, {"changed", 1}, {"removed", 0}}));
  EXPECT_EQ(plan["schedules"], (nlohmann::json{{"added", 0}, {"changed", 1}, {"removed", 0}}));
  EXPECT_EQ(plan["ddays"], (nlohmann::json{{"added", 0}, {"changed", 0}, {"removed", 0}}));
  EXPECT_EQ(plan["mediaToUpload"], (nlohmann::json{"media/봄바람.nmf"}));
  EXPECT_EQ(plan["changes"].size(), 4u);

  const auto restore = Cli({"restore", Path("one").string(), "--yes"});
  ASSERT_EQ(restore.exitCode, 0) << restore.err;

  const auto second = Cli({"backup", Path("two").string()});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  const auto again = nlohmann::json::parse(FileBytes(Path("two") / "manifest.json"));
  // The native files; the open copies carry the time they were made.
  const auto native = [](nlohmann::json files) {
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const auto& file) { return file["path"] == "calendar.ics"; }),
                files.end());
    return files;
  };
  EXPECT_EQ(native(again["files"]), native(manifest["files"]));
}

TEST_F(BackupRestoreE2eTest, AManifestMismatchIsRefusedBeforeAnythingIsSent) {
  const auto backup = Cli({"backup", Path("bk").string()});
  ASSERT_EQ(backup.exitCode, 0) << backup.err;
  std::ofstream(Path("bk") / "media" / "봄바람.nmf", std::ios::app) << 'x';
  const auto before = emulator_->ReadState();
  const auto refused = Cli({"restore", Path("bk").string(), "--yes"});
  EXPECT_EQ(refused.exitCode, 3);
  EXPECT_EQ(refused.err, "linkora-cli: " + (Path("bk") / "media" / "봄바람.nmf").string() +
                             " is not the file the backup's manifest lists\n");
  EXPECT_EQ(emulator_->ReadState(), before);
}

}  // namespace
}  // namespace linkora
