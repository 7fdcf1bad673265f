#include "tarvio/PortLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/printf.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace linkora {

namespace fs = std::filesystem;

namespace {
// A lock left by a process that ended is removed and the lock made again;
// a few rounds cover another program doing the same at the same moment.
constexpr int kAttempts = 3;
constexpr std::size_t kPidFileMax = 32;
// A lock without a pid this young may still be being written by its owner.
constexpr std::chrono::seconds kBeingWritten{2};
}  // namespace

fs::path PortLock::DefaultDir() {
  if (const char* dir = std::getenv("LINKORA_LOCK_DIR"); dir != nullptr && *dir) {
    return dir;
  }
  for (const char* dir : {"/run/lock", "/var/lock"}) {
    std::error_code ec;
    if (fs::is_directory(dir, ec)) {
      return dir;
    }
  }
  return {};
}

std::string PortLock::FileName(const fs::path& device) {
  std::error_code ec;
  const fs::path real = fs::canonical(device, ec);
  return "LCK.." + (ec ? device : real).filename().string();
}

int ReadPidFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(kPidFileMax, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) {
    return 0;
  }
  long long pid = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 10; ++i, ++digits) {
    pid = pid * 10 + (text[i] - '0');
  }
  const bool ends = i == text.size() || (text[i] == '\n' && i + 1 == text.size());
  return digits > 0 && ends && pid <= 0x7FFFFFFF ? static_cast<int>(pid) : 0;
}

bool ProcessRuns(int pid) {
  return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string ProgramName(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

bool PortLock::Create(const fs::path& path, bool& mayWrite) const {
  std::string temporary = (dir_ / ".LCK.XXXXXX").string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    mayWrite = false;
    return false;
  }
  const std::string text = fmt::sprintf("%10d\n", ::getpid());
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  // Others read the lock to learn who holds the port.
  ::fchmod(fd, 0644);
  ::close(fd);
  const bool linked = written && ::link(temporary.c_str(), path.c_str()) == 0;
  const int linkError = errno;
  ::unlink(temporary.c_str());
  if (!linked && linkError != EEXIST) {
    mayWrite = false;
  }
  return linked;
}

PortLock::Result PortLock::Acquire(const fs::path& device, PortHolder& holder) {
  Release();
  holder = {};
  if (dir_.empty()) {
    return Result::kUnlocked;
  }
  const fs::path path = dir_ / FileName(device);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    bool mayWrite = true;
    if (Create(path, mayWrite)) {
      held_ = path;
      return Result::kLocked;
    }
    const int pid = ReadPidFile(path);
    // Our own pid counts too: the port is open elsewhere in this program.
    if (ProcessRuns(pid)) {
      holder = {pid, ProgramName(pid)};
      return Result::kBusy;
    }
    if (!mayWrite) {
      return Result::kUnlocked;
    }
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    if (ec) {
      continue;  // released in the meantime
    }
    if (pid == 0 && fs::file_time_type::clock::now() - written < kBeingWritten) {
      return Result::kBusy;  // another program is still writing its pid
    }
    // The holder has ended (or wrote no pid): the lock is stale.
    ::unlink(path.c_str());
  }
  return Result::kBusy;
}

void PortLock::Release() {
  if (held_.empty()) {
    return;
  }
  if (ReadPidFile(held_) == ::getpid()) {
    ::unlink(held_.c_str());
  }
  held_.clear();
}

}  // namespace linkora
