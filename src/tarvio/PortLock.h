#pragma once

#include <filesystem>
#include <string>

namespace linkora {

// The process that holds a serial device.
struct PortHolder {
  int pid = 0;          // 0: unknown
  std::string program;  // its name (/proc/PID/comm); empty when unknown
};

// A UUCP lock file for a serial device, the one other Linux serial programs
// use: <lock dir>/LCK..<device name> holding the owner's pid as "%10d\n".
// It is made whole under a temporary name and linked into place, so no
// reader ever sees it half written. A lock whose process has ended is taken
// over. Without a lock folder we may write in, the lock is only checked.
class PortLock {
 public:
  enum class Result {
    kLocked,    // ours until Release
    kBusy,      // a running process holds it
    kUnlocked,  // no lock folder we may write in: go on without a lock
  };

  // $LINKORA_LOCK_DIR when set, else /run/lock or /var/lock (the first that
  // exists), else none.
  static std::filesystem::path DefaultDir();
  // "LCK..ttyUSB0" for /dev/ttyUSB0 or a link to it.
  static std::string FileName(const std::filesystem::path& device);

  explicit PortLock(std::filesystem::path dir = DefaultDir()) : dir_(std::move(dir)) {}
  ~PortLock() { Release(); }
  PortLock(const PortLock&) = delete;
  PortLock& operator=(const PortLock&) = delete;

  Result Acquire(const std::filesystem::path& device, PortHolder& holder);
  // Removes the lock file while it still names this process.
  void Release();

 private:
  bool Create(const std::filesystem::path& path, bool& mayWrite) const;

  std::filesystem::path dir_;
  std::filesystem::path held_;
};

// The pid written in a lock or pid file ("%10d\n" or "%d\n"), or 0.
int ReadPidFile(const std::filesystem::path& path);
// True while the process exists (also when it belongs to another user).
bool ProcessRuns(int pid);
// The process's name as the system shows it, or "".
std::string ProgramName(int pid);

}  // namespace linkora
