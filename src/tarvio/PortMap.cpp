#include "tarvio/PortMap.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>

#include "tarvio/PortLock.h"

namespace linkora {

namespace fs = std::filesystem;

int ComNumber(const std::string& portName) {
  constexpr std::string_view kPrefix = "COM";
  if (portName.size() < 4 || portName.size() > 5 || portName.compare(0, 3, kPrefix) != 0) {
    return 0;
  }
  int n = 0;
  for (std::size_t i = 3; i < portName.size(); ++i) {
    if (portName[i] < '0' || portName[i] > '9') {
      return 0;
    }
    n = n * 10 + (portName[i] - '0');
  }
  if (portName[3] == '0' || n < 1 || n > 16) {
    return 0;
  }
  return n;
}

fs::path PortMap::DefaultPortsDir() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
    return fs::path(runtime) / "linkora" / "ports";
  }
  return fs::path("/tmp") / ("linkora-ports-" + std::to_string(::getuid()));
}

PortMap PortMap::FromEnvironment() {
  Options options;
  if (const char* dir = std::getenv("LINKORA_PORTS_DIR"); dir != nullptr && *dir) {
    options.portsDir = dir;
    options.useSystemDevices = false;
  } else {
    options.portsDir = DefaultPortsDir();
  }
  return PortMap(options);
}

namespace {

std::vector<fs::path> Sorted(const fs::path& dir, std::string_view prefix) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    const std::string x = a.filename().string();
    const std::string y = b.filename().string();
    // Natural order for the numbered devices: ttyS2 before ttyS10.
    return x.size() != y.size() ? x.size() < y.size() : x < y;
  });
  return found;
}

bool IsPseudoTerminal(const fs::path& device) {
  const std::string text = device.string();
  return text.rfind("/dev/pts/", 0) == 0;
}

}  // namespace

std::vector<fs::path> PortMap::SystemDevices() {
  std::vector<fs::path> devices;
  std::vector<fs::path> byId = Sorted("/dev/serial/by-id", "");
  std::sort(byId.begin(), byId.end());
  devices.insert(devices.end(), byId.begin(), byId.end());
  std::vector<fs::path> targets;
  for (const fs::path& link : byId) {
    std::error_code ec;
    targets.push_back(fs::canonical(link, ec));
  }
  for (std::string_view prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
    for (const fs::path& device : Sorted("/dev", prefix)) {
      // A device already listed under its stable name keeps that one place.
      if (std::find(targets.begin(), targets.end(), device) == targets.end()) {
        devices.push_back(device);
      }
    }
  }
  return devices;
}

fs::path PortMap::PidFile(const std::string& portName) const {
  return options_.portsDir / (portName + ".pid");
}

bool PortMap::FolderIsSafe(const fs::path& dir, std::string* why) {
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0) {
    return true;  // no folder: no links to trust
  }
  const auto refuse = [&](const std::string& reason) {
    if (why != nullptr) {
      *why = "the ports folder " + dir.string() + " " + reason;
    }
    return false;
  };
  if (!S_ISDIR(info.st_mode)) {
    return refuse("is not a folder");
  }
  if (info.st_uid != ::getuid()) {
    return refuse("belongs to another user; remove it or set LINKORA_PORTS_DIR");
  }
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return refuse("may be changed by other users; make it yours alone (chmod go-w)");
  }
  return true;
}

fs::path FollowLinks(const fs::path& start) {
  // The whole chain, as the system follows it when the path is opened.
  constexpr int kMaxHops = 40;
  fs::path path = start;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) {
      break;
    }
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) {
      break;
    }
    path = (target.is_absolute() ? target : path.parent_path() / target).lexically_normal();
  }
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(path, ec);
  return ec ? path : real;
}

namespace {

bool IsPseudoTerminalDevice(const fs::path& device) {
  if (IsPseudoTerminal(device)) {
    return true;
  }
  struct stat info {};
  // Unix98 pseudo-terminal slaves have majors 136 to 143, wherever their node is.
  return ::stat(device.c_str(), &info) == 0 && S_ISCHR(info.st_mode) &&
         major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143;
}

// A terminal that is not a serial port: the virtual consoles, /dev/tty,
// /dev/console, /dev/ptmx. The kernel lists every terminal under
// /sys/class/tty; only the ones on a real port have a "device" there.
bool IsConsoleTerminal(const fs::path& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) {
    return false;
  }
  const unsigned majorNumber = major(info.st_rdev);
  const unsigned minorNumber = minor(info.st_rdev);
  if (majorNumber == 5 || (majorNumber == 4 && minorNumber < 64)) {
    return true;
  }
  std::error_code ec;
  const fs::path entry = fs::path("/sys/class/tty") / device.filename();
  return fs::exists(entry, ec) && !fs::exists(entry / "device", ec);
}

}  // namespace

namespace {

std::mutex ownLinesMutex;
std::set<fs::path>& OwnLines() {
  static std::set<fs::path> lines;
  return lines;
}

bool IsOwnLine(const fs::path& device) {
  const std::lock_guard lock(ownLinesMutex);
  return OwnLines().count(device) != 0;
}

}  // namespace

void TrustOwnPseudoTerminal(const fs::path& device) {
  const std::lock_guard lock(ownLinesMutex);
  OwnLines().insert(device);
}

bool IsEmulatorHolding(int pid, const fs::path& device, std::string* why) {
  if (IsOwnLine(device)) {
    return true;
  }
  const auto refuse = [why](std::string reason) {
    if (why != nullptr) {
      *why = std::move(reason);
    }
    return false;
  };
  if (!ProcessRuns(pid)) {
    return refuse(pid == 0 ? "no pid file" : "pid " + std::to_string(pid) + " has ended");
  }
  const fs::path proc = fs::path("/proc") / std::to_string(pid);
  struct stat info {};
  if (::stat(proc.c_str(), &info) != 0 || info.st_uid != ::getuid()) {
    return refuse("pid " + std::to_string(pid) + " belongs to another user");
  }
  std::error_code ec;
  std::string exe = fs::read_symlink(proc / "exe", ec).filename().string();
  if (const auto deleted = exe.find(" (deleted)"); deleted != std::string::npos) {
    exe.erase(deleted);  // the emulator was rebuilt while it ran
  }
  if (ec || exe != kEmulatorProgram) {
    return refuse("pid " + std::to_string(pid) + " is not " + std::string(kEmulatorProgram));
  }
  for (fs::directory_iterator it(proc / "fd", ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code linkError;
    if (fs::read_symlink(it->path(), linkError) == device) {
      return true;
    }
  }
  return refuse("pid " + std::to_string(pid) + " does not hold " + device.string());
}

std::optional<fs::path> PortMap::Resolve(const std::string& portName, std::string* why) const {
  auto nothing = [why](std::string reason) -> std::optional<fs::path> {
    if (why != nullptr) {
      *why = std::move(reason);
    }
    return std::nullopt;
  };
  // Every way in reaches the same checks of where it ends: a terminal is
  // used only when it is a serial port, or a pseudo-terminal that our
  // emulator of this user holds under this name.
  const auto checked = [&](const fs::path& opened,
                           const std::optional<fs::path>& pidFile) -> std::optional<fs::path> {
    const fs::path device = FollowLinks(opened);
    if (IsPseudoTerminalDevice(device)) {
      std::string reason;
      if (!IsOwnLine(device) &&
          (!pidFile || !IsEmulatorHolding(ReadPidFile(*pidFile), device, &reason))) {
        return nothing("the link to " + device.string() +
                       " is not held by a running emulator (an emulator that has ended left it, "
                       "or it was made by hand): " +
                       (pidFile ? reason : std::string("no pid file")));
      }
    } else if (IsConsoleTerminal(device)) {
      return nothing(device.string() + " is a console, not a serial port");
    }
    // Opened by its end, so a link changed after this check is not followed.
    std::error_code ec;
    return fs::exists(device, ec) ? device : opened;
  };
  if (!portName.empty() && portName.front() == '/') {
    return checked(fs::path(portName), std::nullopt);
  }
  const int n = ComNumber(portName);
  if (n == 0) {
    return nothing("not a port name");
  }
  std::error_code ec;
  const fs::path link = options_.portsDir / portName;
  if (fs::is_symlink(link, ec) || fs::exists(link, ec)) {
    std::string unsafe;
    if (!FolderIsSafe(options_.portsDir, &unsafe)) {
      return nothing(unsafe);
    }
    return checked(link, PidFile(portName));
  }
  if (!options_.useSystemDevices) {
    return nothing("no device is mapped to this name");
  }
  const auto devices = SystemDevices();
  if (static_cast<std::size_t>(n) <= devices.size()) {
    return checked(devices[static_cast<std::size_t>(n - 1)], std::nullopt);
  }
  return nothing("no device is mapped to this name");
}

}  // namespace linkora
