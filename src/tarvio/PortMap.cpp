#include "tarvio/PortMap.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
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

std::optional<fs::path> PortMap::Resolve(const std::string& portName, std::string* why) const {
  auto nothing = [why](std::string reason) -> std::optional<fs::path> {
    if (why != nullptr) {
      *why = std::move(reason);
    }
    return std::nullopt;
  };
  if (!portName.empty() && portName.front() == '/') {
    return fs::path(portName);
  }
  const int n = ComNumber(portName);
  if (n == 0) {
    return nothing("not a port name");
  }
  std::error_code ec;
  const fs::path link = options_.portsDir / portName;
  if (fs::is_symlink(link, ec)) {
    fs::path target = fs::read_symlink(link, ec);
    if (target.is_relative()) {
      target = link.parent_path() / target;
    }
    if (IsPseudoTerminal(target.lexically_normal())) {
      const int pid = ReadPidFile(PidFile(portName));
      if (!ProcessRuns(pid)) {
        return nothing("the link to " + target.string() +
                       " was left by an emulator that has ended (" +
                       (pid == 0 ? "no pid file" : "pid " + std::to_string(pid)) + ")");
      }
    }
  }
  if (fs::is_symlink(link, ec) || fs::exists(link, ec)) {
    return link;  // opened through the link, so a replaced target is followed
  }
  if (!options_.useSystemDevices) {
    return nothing("no device is mapped to this name");
  }
  const auto devices = SystemDevices();
  if (static_cast<std::size_t>(n) <= devices.size()) {
    return devices[static_cast<std::size_t>(n - 1)];
  }
  return nothing("no device is mapped to this name");
}

}  // namespace linkora
