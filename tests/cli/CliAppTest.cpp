#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CliProfile.h"
#include "tests/support/FakeHandsetLibrary.h"

namespace linkora::cli {
namespace {

// One run of the tool against the fake handset, with its output kept.
struct ToolRun {
  test::FakeHandsetLibrary library;
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  std::string profilePath;

  int Run(const std::vector<std::string>& args) {
    CliEnvironment env{in, out, err, false, library, library.sleep, profilePath};
    return RunCli(args, env);
  }
};

TEST(CliAppTest, UsageErrorsExitWithTwo) {
  const std::vector<std::string> cases[] = {
      {},
      {"frobnicate"},
      {"search", "extra"},
      {"--port", "COM99", "search"},
  };
  for (const auto& args : cases) {
    ToolRun tool;
    EXPECT_EQ(tool.Run(args), 2) << testing::PrintToString(args);
    EXPECT_NE(tool.err.str().find("usage: linkora-cli"), std::string::npos);
    EXPECT_TRUE(tool.library.log.empty()) << "no handset call on a usage error";
  }
}

TEST(CliAppTest, HelpGoesToStdoutAndExitsWithZero) {
  ToolRun tool;
  EXPECT_EQ(tool.Run({"--help"}), 0);
  EXPECT_NE(tool.out.str().find("search"), std::string::npos);
  ToolRun perCommand;
  EXPECT_EQ(perCommand.Run({"search", "--help"}), 0);
  EXPECT_NE(perCommand.out.str().find("usage: linkora-cli search"), std::string::npos);
}

TEST(CliAppTest, SearchPrintsThePortFound) {
  ToolRun tool;
  tool.library.handsetPort = "COM16";
  EXPECT_EQ(tool.Run({"search"}), 0);
  EXPECT_EQ(tool.out.str(), "COM16\n");
  // Plain progress: the title, then a line per tenth of the way.
  EXPECT_EQ(tool.err.str(),
            "연결된 노르반 단말기 찾는중...\n6%\n12%\n25%\n31%\n43%\n50%\n62%\n75%\n81%\n93%\n100%"
            "\n");

  ToolRun json;
  json.library.handsetPort = "COM11";
  EXPECT_EQ(json.Run({"search", "--json", "--quiet"}), 0);
  EXPECT_EQ(json.out.str(), "{\"port\":\"COM11\"}\n");
  EXPECT_EQ(json.err.str(), "");
}

TEST(CliAppTest, SearchWithoutHandsetFails) {
  ToolRun tool;
  tool.library.handsetPort.clear();
  EXPECT_EQ(tool.Run({"search", "-q"}), 1);
  EXPECT_EQ(tool.err.str(), "연결된 노르반 단말기를 찾지못했습니다.\n");
  EXPECT_EQ(tool.out.str(), "");
}

TEST(CliProfileTest, ReadsPortOfItsOwnSectionOnly) {
  const auto dir = std::filesystem::temp_directory_path() / "linkora-cli-profile-test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "linkora.ini").string();
  const std::pair<const char*, int> cases[] = {
      {"[Norvane Linkora]\nPort=13\n", 13},
      {"[Norvane Linkora]\r\nDataPath=/tmp\r\nPort = 7\r\n", 7},
      {"[Other]\nPort=5\n[Norvane Linkora]\nDataPath=x\n", 0},
      {"[Norvane Linkora]\nPort=abc\n", 0},
      {"Port=4\n", 0},
  };
  for (const auto& [text, port] : cases) {
    std::ofstream(path, std::ios::trunc) << text;
    EXPECT_EQ(ReadProfilePort(path), port) << text;
  }
  EXPECT_EQ(ReadProfilePort((dir / "missing.ini").string()), 0);
  EXPECT_EQ(ReadProfilePort(""), 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace linkora::cli
