#include "shell/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace linkora::test {
namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("linkora-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = folder_ / "linkora.ini";
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(const std::string& text) {
    std::ofstream out(file_, std::ios::binary);
    out << text;
  }
  std::string Text() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  fs::path folder_;
  fs::path file_;
};

TEST_F(ProfileTest, ReadsTheLeadingNumberOfAValue) {
  struct Case {
    const char* value;
    long long expected;
  };
  const Case cases[] = {
      {"7", 7}, {"16", 16}, {" 12 ", 12},         {"13abc", 13}, {"abc", 0},
      {"", 0},  {"+4", 4},  {"-3", 0xFFFFFFFFLL}, {"0", 0},      {"99999999999", 0xFFFFFFFFLL},
  };
  for (const Case& c : cases) {
    Put(std::string("[Norvane Linkora]\nPort=") + c.value + "\n");
    EXPECT_EQ(Profile(file_).ReadInt("Norvane Linkora", "Port", 42), c.expected) << c.value;
  }
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheFallback) {
  Profile profile(file_);
  EXPECT_EQ(profile.ReadInt("Norvane Linkora", "Port", 0), 0);
  Put("[Other]\nPort=5\n");
  EXPECT_EQ(profile.ReadInt("Norvane Linkora", "Port", 9), 9);
  Put("[Norvane Linkora]\nDataPath=/home/a\n");
  EXPECT_EQ(profile.ReadInt("Norvane Linkora", "Port", 3), 3);
  EXPECT_EQ(profile.ReadString("Norvane Linkora", "DataPath", ""), "/home/a");
}

TEST_F(ProfileTest, NamesCompareWithoutCase) {
  Put("[norvane linkora]\nPORT=11\n");
  EXPECT_EQ(Profile(file_).ReadInt("Norvane Linkora", "Port", 0), 11);
}

TEST_F(ProfileTest, FirstWriteCreatesTheSectionLiterally) {
  Profile profile(file_);
  ASSERT_TRUE(profile.WriteInt("Norvane Linkora", "Port", 1));
  EXPECT_EQ(Text(), "[Norvane Linkora]\nPort=1\n");
}

TEST_F(ProfileTest, WriteReplacesTheValueAndKeepsEverythingElse) {
  Put("; settings\n[Other]\nPort=5\n\n[Norvane Linkora]\nPort=3\nDataPath=/data\n");
  Profile profile(file_);
  ASSERT_TRUE(profile.WriteInt("Norvane Linkora", "Port", 13));
  EXPECT_EQ(Text(), "; settings\n[Other]\nPort=5\n\n[Norvane Linkora]\nPort=13\nDataPath=/data\n");
}

TEST_F(ProfileTest, NewKeyGoesIntoItsOwnSection) {
  Put("[Norvane Linkora]\nPort=3\n\n[Other]\nX=1\n");
  Profile profile(file_);
  ASSERT_TRUE(profile.WriteString("Norvane Linkora", "DataPath", "/home/u/미디어"));
  EXPECT_EQ(Text(), "[Norvane Linkora]\nPort=3\nDataPath=/home/u/미디어\n\n[Other]\nX=1\n");
  EXPECT_EQ(profile.ReadString("Norvane Linkora", "DataPath", ""), "/home/u/미디어");
}

TEST_F(ProfileTest, WriteCreatesMissingFoldersAndLeavesNoTemporaryFile) {
  Profile profile(folder_ / "deeper" / "linkora.ini");
  ASSERT_TRUE(profile.WriteInt("Norvane Linkora", "Port", 2));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_ / "deeper")) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(ProfileTest, FailedWriteIsReported) {
  fs::create_directories(file_);  // a folder where the file should be
  EXPECT_FALSE(Profile(file_).WriteInt("Norvane Linkora", "Port", 2));
}

TEST(DefaultProfilePathTest, EnvironmentChoosesTheFile) {
  const char* oldProfile = std::getenv("LINKORA_PROFILE");
  const std::string savedProfile = oldProfile != nullptr ? oldProfile : "";
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = oldConfig != nullptr ? oldConfig : "";

  setenv("LINKORA_PROFILE", "/tmp/x/test.ini", 1);
  EXPECT_EQ(DefaultProfilePath(), fs::path("/tmp/x/test.ini"));
  unsetenv("LINKORA_PROFILE");
  setenv("XDG_CONFIG_HOME", "/tmp/conf", 1);
  EXPECT_EQ(DefaultProfilePath(), fs::path("/tmp/conf/linkora.ini"));

  if (oldProfile != nullptr) {
    setenv("LINKORA_PROFILE", savedProfile.c_str(), 1);
  }
  if (oldConfig != nullptr) {
    setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace linkora::test
