#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
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
  // Plain progress: the step's title once, no percentages.
  EXPECT_EQ(tool.err.str(), "연결된 노르반 단말기 찾는중...\n");

  ToolRun json;
  json.library.handsetPort = "COM11";
  EXPECT_EQ(json.Run({"search", "--json", "--quiet"}), 0);
  EXPECT_EQ(json.out.str(), "{\n  \"port\": \"COM11\"\n}\n");
  EXPECT_EQ(json.err.str(), "");
}

TEST(CliAppTest, SearchWithoutHandsetFails) {
  ToolRun tool;
  tool.library.handsetPort.clear();
  EXPECT_EQ(tool.Run({"search", "-q"}), 1);
  EXPECT_EQ(tool.err.str(), "연결된 노르반 단말기를 찾지못했습니다.\n");
  EXPECT_EQ(tool.out.str(), "");
}

// The library's account of a refused port (busy, forbidden) reaches the
// terminal through the tool's own watch on the library.
TEST(CliAppTest, RefusedPortSaysWhy) {
  ToolRun tool;
  tool.library.missingPorts = {"COM5"};
  tool.library.portProblems["COM5"] = "COM5 is held by process 4242 (minicom).";
  EXPECT_EQ(tool.Run({"phonebook", "pull", "x.ndf", "--port", "COM5", "-q"}), 1);
  EXPECT_NE(tool.err.str().find("COM5 is held by process 4242 (minicom).\n"), std::string::npos)
      << tool.err.str();
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

std::string LastLine(const std::string& text) {
  const auto end = text.find_last_not_of('\n');
  const auto start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

// The windows end silently when the handset's access data cannot be read;
// the tool must say which read failed, on stderr and in the JSON error.
TEST(CliAppTest, FailedAccessReadsEndWithALineSayingSo) {
  const struct {
    const char* operation;
    bool locked;
    const char* line;
    const char* step;
  } cases[] = {
      {"XrsNvReadLock_rx310", true,
       "linkora-cli: the handset did not give its lock flag; check the cable and that the handset "
       "is on, then try again",
       "lock-flag"},
      {"DiagGetMin1", true,
       "linkora-cli: the handset did not give its phone number; check the cable and that the "
       "handset is on, then try again",
       "phone-number"},
      {"DiagGetMin2", true,
       "linkora-cli: the handset did not give its phone number; check the cable and that the "
       "handset is on, then try again",
       "phone-number"},
      {"XrsNvReadUserLock_rx310", false,
       "linkora-cli: the handset did not give its lock code; check the cable and that the handset "
       "is on, then try again",
       "lock-code"},
  };
  for (const auto& c : cases) {
    for (const bool json : {false, true}) {
      ToolRun tool;
      tool.library.lockFlag = c.locked;
      tool.library.FailCall(c.operation, 1, 2);
      std::vector<std::string> args = {"messages", "list",        "--port",
                                       "COM11",    "--lock-code", "1234"};
      if (json) {
        args.push_back("--json");
      }
      EXPECT_EQ(tool.Run(args), 1) << c.operation;
      EXPECT_EQ(LastLine(tool.err.str()), c.line) << tool.err.str();
      if (json) {
        const auto error = nlohmann::json::parse(tool.out.str());
        EXPECT_EQ(
            error,
            (nlohmann::json{{"error", {{"code", 1}, {"message", c.line}, {"step", c.step}}}}));
      } else {
        EXPECT_EQ(tool.out.str(), "");
      }
    }
  }
}

TEST(CliAppTest, GroupsAndHelpListTheirCommands) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
    bool onStdout;
    std::vector<std::string> shown;
    std::vector<std::string> notShown;
  } cases[] = {
      {{"phonebook", "--help"}, 0, true, {"phonebook pull", "phonebook show"}, {"media list"}},
      {{"help", "phonebook"}, 0, true, {"phonebook push"}, {"schedule pull"}},
      {{"media", "-h"}, 0, true, {"media push", "media inspect"}, {"phonebook"}},
      {{"help"}, 0, true, {"phonebook pull", "media push", "backup DIR"}, {}},
      {{"help", "media", "inspect"}, 0, true, {"--model", "--json"}, {"--port", "--yes"}},
      {{"phonebook", "show", "--help"}, 0, true, {"--json"}, {"--port", "--phone", "--lock-code"}},
      {{"phonebook", "push", "--help"}, 0, true, {"--port", "--yes", "--lock-code"}, {"--model"}},
      {{"phonebook"}, 2, false, {"phonebook pull", "phonebook show"}, {"media list"}},
      {{"phonebook", "frob"},
       2,
       false,
       {"unknown command 'phonebook frob'", "phonebook pull"},
       {"media list"}},
      {{"--version"}, 0, true, {"linkora-cli 0."}, {}},
  };
  for (const auto& c : cases) {
    ToolRun tool;
    EXPECT_EQ(tool.Run(c.args), c.exitCode) << testing::PrintToString(c.args);
    const std::string text = c.onStdout ? tool.out.str() : tool.err.str();
    EXPECT_EQ((c.onStdout ? tool.err : tool.out).str(), "") << testing::PrintToString(c.args);
    for (const std::string& wanted : c.shown) {
      EXPECT_NE(text.find(wanted), std::string::npos) << wanted << " in\n" << text;
    }
    for (const std::string& unwanted : c.notShown) {
      EXPECT_EQ(text.find(unwanted), std::string::npos) << unwanted << " in\n" << text;
    }
    EXPECT_TRUE(tool.library.log.empty());
  }
}

TEST(CliAppTest, OptionErrorsShowTheCommandsOwnUsage) {
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{"phonebook", "pull", "x.ndf", "--port", "COM99"},
       "linkora-cli: --port takes COM1 to COM16, not COM99"},
      {{"phonebook", "pull", "x.ndf", "--frob"}, "linkora-cli: unknown option --frob"},
      {{"phonebook", "show", "x.ndf", "--port", "COM3"},
       "linkora-cli: phonebook show does not take --port"},
      {{"phonebook", "pull"}, "linkora-cli: wrong number of operands"},
  };
  for (const auto& c : cases) {
    for (const bool json : {false, true}) {
      ToolRun tool;
      std::vector<std::string> args = c.args;
      if (json) {
        args.push_back("--json");
      }
      EXPECT_EQ(tool.Run(args), 2);
      const std::string err = tool.err.str();
      EXPECT_EQ(err.rfind(std::string(c.reason) + "\n\nusage: linkora-cli " + c.args[0] + " " +
                              c.args[1] + " ",
                          0),
                0u)
          << err;
      EXPECT_EQ(err.find("commands:"), std::string::npos) << "not the whole usage";
      if (json) {
        EXPECT_EQ(nlohmann::json::parse(tool.out.str()),
                  (nlohmann::json{
                      {"error", {{"code", 2}, {"message", c.reason}, {"step", "arguments"}}}}));
      }
    }
  }
}

TEST(CliAppTest, FilesThatCannotBeReadOrWrittenSayWhy) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("linkora-cli-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "folder");
  std::ofstream(dir / "plain") << "x";
  const struct {
    std::vector<std::string> args;
    std::string line;
  } cases[] = {
      {{"phonebook", "show", (dir / "folder").string()},
       "linkora-cli: cannot read " + (dir / "folder").string() + ": Is a directory"},
      {{"schedule", "show", (dir / "missing.nsf").string()},
       "linkora-cli: cannot read " + (dir / "missing.nsf").string() +
           ": No such file or directory"},
      {{"messages", "pull", (dir / "plain").string(), "--port", "COM11"},
       "linkora-cli: cannot make the folder " + (dir / "plain").string() +
           ": Not a directory; give a folder you may write to"},
      {{"media", "pull", (dir / "plain" / "sub").string(), "--port", "COM11"},
       "linkora-cli: cannot make the folder " + (dir / "plain" / "sub").string() +
           ": Not a directory; give a folder you may write to"},
  };
  for (const auto& c : cases) {
    ToolRun tool;
    EXPECT_EQ(tool.Run(c.args), 5) << testing::PrintToString(c.args);
    EXPECT_EQ(tool.err.str(), c.line + "\n");
  }
  // A phonebook read into a folder's name: the handset is read, the save refused.
  ToolRun tool;
  tool.library.lockFlag = false;
  EXPECT_EQ(tool.Run({"phonebook", "pull", (dir / "folder").string(), "--port", "COM11",
                      "--lock-code", "1234", "-q", "--json"}),
            5);
  EXPECT_EQ(LastLine(tool.err.str()),
            "linkora-cli: " + (dir / "folder").string() + ": Is a directory");
  EXPECT_EQ(nlohmann::json::parse(tool.out.str())["error"]["step"], "file");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace linkora::cli
