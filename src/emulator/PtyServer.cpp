#include "emulator/PtyServer.h"

#include "tarvio/PortMap.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/FileIo.h"
#include "tarvio/PortLock.h"

namespace linkora::emulator {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
// Bytes written at a time when pacing: few wake-ups per reply, so a busy
// machine does not slow the line down, and small enough to keep the rate even.
constexpr std::size_t kPacedChunk = 64;

// A published line: the COM link, the device it names and its pid file.
struct PublishedLine {
  fs::path link;
  fs::path device;
  fs::path pidFile;
};

// The lines this process publishes, for the exit handler: exit() skips the
// destructors of main's locals.
std::mutex publishedMutex;
std::vector<PublishedLine>& Published() {
  static std::vector<PublishedLine> lines;
  return lines;
}

// Removes the files while they are still ours (a newer emulator may have
// taken the name over).
void Unpublish(const PublishedLine& line) {
  std::error_code ec;
  if (fs::read_symlink(line.link, ec) == line.device) {
    fs::remove(line.link, ec);
  }
  if (ReadPidFile(line.pidFile) == ::getpid()) {
    fs::remove(line.pidFile, ec);
  }
}

void UnpublishAll() {
  const std::lock_guard lock(publishedMutex);
  for (const PublishedLine& line : Published()) {
    Unpublish(line);
  }
  Published().clear();
}

}  // namespace

PtyServer::~PtyServer() {
  if (linked_) {
    const std::lock_guard lock(publishedMutex);
    auto& lines = Published();
    const PublishedLine line{LinkPath(), devicePath_, PidPath()};
    Unpublish(line);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const PublishedLine& l) { return l.link == line.link; }),
                lines.end());
  }
  if (slaveKeeper_ >= 0) {
    ::close(slaveKeeper_);
  }
  if (master_ >= 0) {
    ::close(master_);
  }
}

bool PtyServer::Start(std::string& error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ::ptsname(master_);
  if (name == nullptr) {
    error = "cannot name the pseudo-terminal";
    return false;
  }
  devicePath_ = name;
  slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slaveKeeper_ < 0) {
    error = devicePath_ + ": " + std::strerror(errno);
    return false;
  }
  termios tio{};
  ::tcgetattr(slaveKeeper_, &tio);
  ::cfmakeraw(&tio);
  ::cfsetispeed(&tio, B115200);
  ::cfsetospeed(&tio, B115200);
  ::tcsetattr(slaveKeeper_, TCSANOW, &tio);

  if (!Publish(error)) {
    return false;
  }
  log_.Open(options_.logPath);
  log_.SetPort(options_.portName);
  log_.Line("--", "emulator on " + devicePath_);
  return true;
}

bool PtyServer::Publish(std::string& error) {
  std::error_code ec;
  // A folder made here is the user's alone (it may sit in the shared /tmp).
  if (fs::create_directories(options_.portsDir, ec)) {
    fs::permissions(options_.portsDir, fs::perms::owner_all, ec);
  }
  if (ec) {
    error = options_.portsDir.string() + ": " + ec.message();
    return false;
  }
  // The program would not trust links in a folder others may change.
  if (!PortMap::FolderIsSafe(options_.portsDir, &error)) {
    return false;
  }
  // The pid file first: a link is never seen without it.
  const std::string pid = std::to_string(::getpid()) + "\n";
  const std::span<const std::uint8_t> pidBytes(reinterpret_cast<const std::uint8_t*>(pid.data()),
                                               pid.size());
  if (!WriteFileAtomically(PidPath(), pidBytes, error)) {
    return false;
  }
  // Replace any old link in one step: a new link under a temporary name, renamed.
  const fs::path temporary =
      options_.portsDir / ("." + options_.portName + "." + std::to_string(::getpid()));
  fs::remove(temporary, ec);
  fs::create_symlink(devicePath_, temporary, ec);
  if (!ec) {
    fs::rename(temporary, LinkPath(), ec);
  }
  if (ec) {
    fs::remove(temporary, ec);
    fs::remove(PidPath(), ec);
    error = LinkPath().string() + ": " + ec.message();
    return false;
  }
  linked_ = true;
  {
    const std::lock_guard lock(publishedMutex);
    Published().push_back({LinkPath(), devicePath_, PidPath()});
  }
  // Registered once the list exists, so the handler runs before the list ends.
  [[maybe_unused]] static const bool handlerSet = std::atexit(UnpublishAll) == 0;
  return true;
}

void PtyServer::Send(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t n = bytes.size() - done;
    if (options_.pacing) {
      n = std::min(n, kPacedChunk);
      const auto now = Clock::now();
      if (sendFreeAt_ < now) {
        sendFreeAt_ = now;
      }
      // A chunk is handed over when a real line would have carried its last byte.
      sendFreeAt_ += std::chrono::microseconds(1000000LL * static_cast<long long>(n) /
                                               options_.bytesPerSecond);
      std::this_thread::sleep_until(sendFreeAt_);
    }
    const ssize_t written = ::write(master_, bytes.data() + done, n);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    }
    pollfd pfd{master_, POLLOUT, 0};
    if (::poll(&pfd, 1, 200) <= 0) {
      return;  // nobody reads the line: the rest of the reply is lost, as on a cable
    }
  }
}

void PtyServer::Run(EmulatedHandset& handset, const volatile std::sig_atomic_t& stop,
                    volatile std::sig_atomic_t* save, void (*onSaved)(bool)) {
  std::array<std::uint8_t, 4096> buffer{};
  Clock::time_point receiveFreeAt{};
  while (stop == 0) {
    if (save != nullptr && *save != 0) {
      *save = 0;
      const bool saved = handset.SaveIfChanged();
      if (onSaved != nullptr) {
        onSaved(saved);
      }
    }
    pollfd pfd{master_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, 100);
    if (ready <= 0 || (pfd.revents & POLLIN) == 0) {
      if (ready > 0 && (pfd.revents & POLLIN) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      continue;
    }
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    if (n <= 0) {
      continue;
    }
    const std::span<const std::uint8_t> bytes(buffer.data(), static_cast<std::size_t>(n));
    if (options_.pacing) {
      // The bytes are complete only when a real line would have carried them.
      const auto now = Clock::now();
      if (receiveFreeAt < now) {
        receiveFreeAt = now;
      }
      receiveFreeAt += std::chrono::microseconds(1000000LL * n / options_.bytesPerSecond);
      std::this_thread::sleep_until(receiveFreeAt);
    }
    log_.Bytes("RX", bytes);
    const auto reply = handset.Receive(bytes, Clock::now());
    // What a reply acknowledges is on disk before the reply leaves, so an
    // emulator killed at any moment remembers exactly what it acknowledged
    // (the save is atomic: the file is the old state or the new one).
    handset.SaveIfChanged(false);
    if (!reply.empty()) {
      log_.Bytes("TX", reply);
      Send(reply);
    }
  }
  handset.SaveIfChanged();
}

}  // namespace linkora::emulator
