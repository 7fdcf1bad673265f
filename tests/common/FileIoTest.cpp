#include "common/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace linkora {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("linkora-fileio-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
};

TEST_F(FileIoTest, WritesAndReadsBack) {
  const std::vector<std::uint8_t> bytes{0x00, 0xC7, 0xD1, 0xFF};
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "a.bin", bytes, error)) << error;
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(ReadWholeFile(dir / "a.bin", 4, back, error)) << error;
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);
}

TEST_F(FileIoTest, FailedWriteKeepsOldFileAndSaysWhy) {
  // A folder standing where the temporary file's folder should be a
  // directory makes the write fail even for root.
  std::string error;
  const std::vector<std::uint8_t> old{1, 2, 3};
  ASSERT_TRUE(WriteFileAtomically(dir / "keep.bin", old, error));
  std::ofstream(dir / "notadir") << "x";
  EXPECT_FALSE(WriteFileAtomically(dir / "notadir" / "f.bin", old, error));
  EXPECT_NE(error.find("notadir"), std::string::npos) << error;

  // Renaming over a directory fails after the temporary was written: the
  // temporary is removed and nothing else changes.
  fs::create_directory(dir / "target");
  EXPECT_FALSE(WriteFileAtomically(dir / "target", std::vector<std::uint8_t>{9}, error));
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(ReadWholeFile(dir / "keep.bin", 100, back, error));
  EXPECT_EQ(back, old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 3);
}

TEST_F(FileIoTest, ReadRefusesMissingAndOversizedFiles) {
  std::string error;
  std::vector<std::uint8_t> bytes{7};
  EXPECT_FALSE(ReadWholeFile(dir / "missing", 10, bytes, error));
  EXPECT_EQ(bytes, std::vector<std::uint8_t>{7});
  ASSERT_TRUE(WriteFileAtomically(dir / "big", std::vector<std::uint8_t>(11, 0), error));
  EXPECT_FALSE(ReadWholeFile(dir / "big", 10, bytes, error));
  EXPECT_NE(error.find("10"), std::string::npos);
  EXPECT_EQ(bytes, std::vector<std::uint8_t>{7});
}

TEST_F(FileIoTest, FoldersGivenForFilesAreNamedAsFolders) {
  fs::create_directory(dir / "folder");
  std::string error;
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(ReadWholeFile(dir / "folder", 64u << 20, bytes, error));
  EXPECT_EQ(error, (dir / "folder").string() + ": Is a directory");
  EXPECT_FALSE(WriteFileAtomically(dir / "folder", std::vector<std::uint8_t>{1}, error));
  EXPECT_EQ(error, (dir / "folder").string() + ": Is a directory");
}

TEST_F(FileIoTest, NextWriteRemovesTemporariesOfEndedWritersOnly) {
  // pid 1 always runs; a pid beyond pid_max never does.
  const struct {
    const char* name;
    bool removed;
  } cases[] = {
      {"a.ndf.linkora-tmp-999999999-Ab12Cd", true},
      {"b.ndf.linkora-tmp-1-Ab12Cd", false},
      {"c.ndf.XXXXXX", false},
      {"d.ndf.linkora-tmp-999999999-short", false},
      {"user.linkora-tmp-notes", false},
  };
  for (const auto& c : cases) {
    std::ofstream(dir / c.name) << "half";
  }
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "a.ndf", std::vector<std::uint8_t>{1}, error)) << error;
  for (const auto& c : cases) {
    EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 5);
}

}  // namespace
}  // namespace linkora
