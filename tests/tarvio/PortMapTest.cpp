#include "tarvio/PortMap.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace linkora {
namespace {

namespace fs = std::filesystem;

TEST(ComNumberTest, OnlyComOneToSixteen) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"COM1", 1},  {"COM9", 9}, {"COM10", 10}, {"COM16", 16}, {"COM17", 0}, {"COM0", 0},
      {"COM01", 0}, {"com1", 0}, {"COM", 0},    {"COM1 ", 0},  {"LPT1", 0},  {"", 0}};
  for (const auto& [name, number] : cases) {
    EXPECT_EQ(ComNumber(name), number) << name;
  }
}

class PortMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("linkora-portmap-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(PortMapTest, LinkInTheFolderNamesTheDevice) {
  fs::create_symlink("/dev/null", dir / "COM7");
  const PortMap map(PortMap::Options{dir, false});
  const auto device = map.Resolve("COM7");
  ASSERT_TRUE(device.has_value());
  EXPECT_EQ(*device, fs::path("/dev/null"));  // the end of the chain, which is what opens
}

TEST_F(PortMapTest, WithoutALinkAndWithoutSystemDevicesNothingIsMapped) {
  const PortMap map(PortMap::Options{dir, false});
  for (int n = 1; n <= 16; ++n) {
    EXPECT_FALSE(map.Resolve("COM" + std::to_string(n)).has_value()) << n;
  }
  EXPECT_FALSE(map.Resolve("COM17").has_value());
}

TEST_F(PortMapTest, StaleLinkStillResolvesSoTheOpenReportsIt) {
  fs::create_symlink(dir / "gone", dir / "COM2");
  const PortMap map(PortMap::Options{dir, false});
  EXPECT_TRUE(map.Resolve("COM2").has_value());
}

TEST_F(PortMapTest, PseudoTerminalLinkCountsOnlyWhileItsEmulatorRuns) {
  test::OtherProgram program;
  program.End();
  const pid_t ended = program.Pid();
  struct Case {
    std::string target;
    std::optional<std::string> pidFile;  // nothing: no pid file
    bool mapped;
  };
  const std::vector<Case> cases = {
      {"/dev/pts/77", std::to_string(::getpid()) + "\n", false},  // not the emulator
      {"/dev/pts/77", "1\n", false},                              // any live process
      {"/dev/pts/77", std::to_string(ended) + "\n", false},
      {"/dev/pts/77", std::nullopt, false},
      {"../../dev/pts/77", std::nullopt, false},  // relative, still a pseudo-terminal
      {"/dev/null", std::nullopt, true},          // not a pseudo-terminal: no pid file needed
  };
  const PortMap map(PortMap::Options{dir, true});
  for (const Case& c : cases) {
    fs::remove(dir / "COM5");
    fs::remove(dir / "COM5.pid");
    fs::create_symlink(c.target, dir / "COM5");
    if (c.pidFile) {
      std::ofstream(dir / "COM5.pid") << *c.pidFile;
    }
    std::string why;
    const auto device = map.Resolve("COM5", &why);
    EXPECT_EQ(device.has_value(), c.mapped) << c.target << " " << c.pidFile.value_or("-");
    if (!c.mapped) {
      EXPECT_NE(why.find("emulator that has ended"), std::string::npos) << why;
    }
  }
}

TEST_F(PortMapTest, AbsolutePathIsTheDeviceItself) {
  const PortMap map(PortMap::Options{dir, false});
  EXPECT_EQ(map.Resolve("/dev/ttyUSB0"), fs::path("/dev/ttyUSB0"));
}

TEST_F(PortMapTest, SystemDevicesFillTheNamesWithoutLinks) {
  const auto devices = PortMap::SystemDevices();
  const PortMap map(PortMap::Options{dir, true});
  for (std::size_t n = 1; n <= 16; ++n) {
    const auto device = map.Resolve("COM" + std::to_string(n));
    if (n <= devices.size()) {
      ASSERT_TRUE(device.has_value());
      EXPECT_EQ(*device, devices[n - 1]);
    } else {
      EXPECT_FALSE(device.has_value());
    }
  }
}

TEST_F(PortMapTest, EnvironmentFolderDecidesAlone) {
  ::setenv("LINKORA_PORTS_DIR", dir.c_str(), 1);
  const PortMap map = PortMap::FromEnvironment();
  ::unsetenv("LINKORA_PORTS_DIR");
  EXPECT_EQ(map.options().portsDir, dir);
  EXPECT_FALSE(map.options().useSystemDevices);
}

}  // namespace
}  // namespace linkora
