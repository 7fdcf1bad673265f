#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace linkora {

// Maps the program's port names COM1 to COM16 to serial devices.
//
// 1. A ports folder holds symbolic links named COM1 ... COM16, made by the
//    user (`ln -s /dev/serial/by-id/usb-... COM3`) or by the handset
//    emulator. A link always wins. The folder is $LINKORA_PORTS_DIR when set,
//    else $XDG_RUNTIME_DIR/linkora/ports, else /tmp/linkora-ports-<uid>.
// 2. Without a link, COMn is the n-th device of a fixed list: the sorted
//    entries of /dev/serial/by-id (stable across replugging), then the sorted
//    /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS* devices.
//    When LINKORA_PORTS_DIR is set, this second step is skipped: the folder
//    alone decides, which keeps tests and scripted runs deterministic.
// A link to a pseudo-terminal (/dev/pts/N) is the emulator's and counts only
// while the process named in the pid file beside it (COMn.pid) runs: once the
// emulator has ended, the number may belong to somebody's terminal.
// A name that maps to nothing gives no device, so opening it fails at once.
class PortMap {
 public:
  struct Options {
    std::filesystem::path portsDir;
    bool useSystemDevices = true;
  };

  // The mapping described above, from the environment.
  static PortMap FromEnvironment();
  static std::filesystem::path DefaultPortsDir();

  PortMap() : PortMap(FromEnvironment()) {}
  explicit PortMap(Options options) : options_(std::move(options)) {}

  // The device behind a port name, or nothing (and, given `why`, the reason).
  // A name that is an absolute path is taken as the device itself.
  std::optional<std::filesystem::path> Resolve(const std::string& portName,
                                               std::string* why = nullptr) const;
  // Where the emulator notes its pid for the link of a port name.
  std::filesystem::path PidFile(const std::string& portName) const;

  // The system devices in the order of step 2.
  static std::vector<std::filesystem::path> SystemDevices();

  const Options& options() const { return options_; }

 private:
  Options options_;
};

// The number n of "COMn" for n from 1 to 16, or 0.
int ComNumber(const std::string& portName);

}  // namespace linkora
