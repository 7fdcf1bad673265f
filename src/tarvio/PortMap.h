#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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
// Links are followed to their end. A pseudo-terminal at the end is the
// emulator's and counts only while the process named in the pid file beside
// the link (COMn.pid) is our emulator, of this user, holding that terminal:
// otherwise the number may belong to somebody's shell. A console (/dev/tty,
// a virtual console) is never a port. The ports folder is trusted only
// when it belongs to the user and nobody else may change it.
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

  // True when `dir` is missing, or a folder of this user that others may not
  // change; otherwise false and, given `why`, a sentence naming it.
  static bool FolderIsSafe(const std::filesystem::path& dir, std::string* why = nullptr);

  // The system devices in the order of step 2.
  static std::vector<std::filesystem::path> SystemDevices();

  const Options& options() const { return options_; }

 private:
  Options options_;
};

// The number n of "COMn" for n from 1 to 16, or 0.
int ComNumber(const std::string& portName);

// The program name of the handset emulator, as /proc/PID/exe shows it.
inline constexpr std::string_view kEmulatorProgram = "linkora-emulator";

// Where a path ends once every symbolic link on the way is followed (also
// when the end does not exist).
std::filesystem::path FollowLinks(const std::filesystem::path& start);

// A pseudo-terminal whose other end this very process holds, as a program
// that plays the handset on a line of its own does; such a line passes the
// check for a running emulator. Nothing outside the process can add one.
void TrustOwnPseudoTerminal(const std::filesystem::path& device);

// True when `pid` runs as this user, is the emulator and holds `device` open.
bool IsEmulatorHolding(int pid, const std::filesystem::path& device, std::string* why = nullptr);

}  // namespace linkora
