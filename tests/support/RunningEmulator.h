#pragma once

#include <sys/types.h>

#include <csignal>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tarvio/PortMap.h"
#include "tarvio/SerialHandsetLibrary.h"

namespace linkora::test {

// The built handset emulator, run as a child process for one test: its own
// temporary ports folder and state file, started at construction (the
// constructor returns once the emulator has printed its ready line) and
// stopped in the destructor.
//
//   RunningEmulator emulator;                 // RX-3100 with the sample content on COM11
//   ASSERT_TRUE(emulator.IsRunning()) << emulator.Error();
//   SerialHandsetLibrary library(emulator.LibraryOptions());
//   ... library.DiagOpenPort("COM11", 115200) ...
//   nlohmann::json state = emulator.ReadState();   // what the handset now holds
class RunningEmulator {
 public:
  struct Options {
    std::string com = "COM11";
    std::string model = "rx3100";
    bool pacing = false;  // tests run unpaced unless they ask
    int resetSilenceMs = 300;
    // The handset's state to start from (see HandsetState::ToJson); without
    // it the emulator starts from its sample content.
    std::optional<nlohmann::json> state;
    // More command-line options, e.g. {"--fault", "fail:read-address:1"}.
    std::vector<std::string> args;
    // A ports folder shared with other emulators; empty: one of its own.
    std::filesystem::path portsDir;
  };

  RunningEmulator();
  explicit RunningEmulator(Options options);
  ~RunningEmulator();
  RunningEmulator(const RunningEmulator&) = delete;
  RunningEmulator& operator=(const RunningEmulator&) = delete;

  bool IsRunning() const { return pid_ > 0; }
  // Why the emulator did not start or stop cleanly.
  const std::string& Error() const { return error_; }

  const std::filesystem::path& PortsDir() const { return portsDir_; }
  const std::filesystem::path& StateFile() const { return stateFile_; }
  const std::string& ComName() const { return options_.com; }
  const std::string& Device() const { return device_; }  // e.g. /dev/pts/5

  // The handset's state now: asks the emulator to save (SIGUSR1), waits for
  // its answer, and reads the file. An empty object when that fails.
  nlohmann::json ReadState() const;
  // The bytes of one hex field of the state, e.g. ReadStateBytes("entries", "12").
  std::vector<std::uint8_t> ReadStateBytes(const std::string& field,
                                           const std::string& key = "") const;

  // A port map that sees this emulator's ports folder and nothing else.
  PortMap Ports() const;
  // Library options for this emulator: its port map, short timeouts, no log.
  SerialHandsetLibrary::Options LibraryOptions() const;
  // Points LINKORA_PORTS_DIR at the ports folder, for code that builds its
  // own SerialHandsetLibrary (restored by the destructor).
  void ExportPortsDir();

  // Stops the emulator (SIGTERM or the signal given, then SIGKILL after two
  // seconds). True when it ended by itself with status 0.
  bool Stop(int signal = SIGTERM);
  pid_t Pid() const { return pid_; }
  // Starts it again on the same folder and state file.
  bool Restart();

 private:
  bool Start();
  // Waits for a line of the emulator's output that begins with `prefix`.
  bool WaitForLine(const std::string& prefix, std::string& line, int timeoutMs) const;

  Options options_;
  std::filesystem::path dir_;
  std::filesystem::path portsDir_;
  std::filesystem::path stateFile_;
  std::string device_;
  std::string error_;
  pid_t pid_ = -1;
  int output_ = -1;
  mutable std::string pending_;  // output read but not yet taken as lines
  std::optional<std::string> savedPortsDirEnv_;
  bool exported_ = false;
};

}  // namespace linkora::test
