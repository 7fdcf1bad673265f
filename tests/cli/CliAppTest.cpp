#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

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

TEST(CliAppTest, VersionGoesToStdoutBeforeAnyCommand) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"}, {"phonebook", "show", "x.ndf", "--version"}}) {
    ToolRun tool;
    EXPECT_EQ(tool.Run(args), 0);
    EXPECT_TRUE(std::regex_match(tool.out.str(), std::regex("linkora-cli \\d+\\.\\d+\\.\\d+\n")))
        << tool.out.str();
    EXPECT_TRUE(tool.library.log.empty());
  }
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

TEST(CliAppTest, PortComesFromOptionThenProfileThenSearch) {
  const auto dir = std::filesystem::temp_directory_path() / "linkora-cli-port-test";
  std::filesystem::create_directories(dir);
  const std::string profile = (dir / "linkora.ini").string();
  struct PortCase {
    const char* profileText;  // nullptr: no profile file
    std::vector<std::string> args;
    const char* switchedOn;  // where "AT$QCDMG" went
  };
  const PortCase cases[] = {
      {"[Norvane Linkora]\nPort=13\n", {"--port", "COM4"}, "COM4"},
      {"[Norvane Linkora]\nPort=13\n", {}, "COM13"},
      {"[Norvane Linkora]\nPort=17\n", {}, "COM11"},
      {nullptr, {}, "COM11"},
  };
  for (const PortCase& c : cases) {
    std::filesystem::remove(profile);
    if (c.profileText != nullptr) {
      std::ofstream(profile) << c.profileText;
    }
    ToolRun tool;
    tool.profilePath = profile;
    std::vector<std::string> args = {"messages", "list", "-q"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    tool.Run(args);
    // The port opened just before "AT$QCDMG" is the one the handset is switched on.
    std::string lastOpen;
    std::string switchedOn;
    for (const std::string& call : tool.library.log) {
      if (call.rfind("DiagOpenPort(", 0) == 0) {
        lastOpen = call;
      } else if (call.rfind("XrsSyncSend(\"AT$QCDMG", 0) == 0 && switchedOn.empty()) {
        switchedOn = lastOpen;
      }
    }
    EXPECT_EQ(switchedOn, std::string("DiagOpenPort(") + c.switchedOn + ", 115200)")
        << (c.profileText ? c.profileText : "no profile");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace linkora::cli
