#include "tests/support/RunningEmulator.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/Hex.h"
#include "tarvio/Protocol.h"

extern char** environ;

namespace linkora::test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
// The emulator under the sanitizers can take a while to start on a busy machine.
constexpr int kStartTimeoutMs = 20000;
}  // namespace

RunningEmulator::RunningEmulator() : RunningEmulator(Options{}) {}

RunningEmulator::RunningEmulator(Options options) : options_(std::move(options)) {
  std::string pattern = (fs::temp_directory_path() / "linkora-emulator-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    error_ = "cannot make a temporary folder";
    return;
  }
  dir_ = pattern;
  portsDir_ = options_.portsDir.empty() ? dir_ / "ports" : options_.portsDir;
  stateFile_ = dir_ / "handset.json";
  if (options_.state) {
    std::ofstream(stateFile_) << options_.state->dump(1);
  }
  Start();
}

RunningEmulator::~RunningEmulator() {
  Stop();
  if (exported_) {
    if (savedPortsDirEnv_) {
      ::setenv("LINKORA_PORTS_DIR", savedPortsDirEnv_->c_str(), 1);
    } else {
      ::unsetenv("LINKORA_PORTS_DIR");
    }
  }
  if (!dir_.empty()) {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
}

bool RunningEmulator::Start() {
  std::vector<std::string> args = {LINKORA_EMULATOR_PATH,
                                   "--com",
                                   options_.com,
                                   "--ports-dir",
                                   portsDir_.string(),
                                   "--state",
                                   stateFile_.string(),
                                   "--model",
                                   options_.model,
                                   "--reset-silence",
                                   std::to_string(options_.resetSilenceMs)};
  if (!options_.pacing) {
    args.push_back("--no-pacing");
  }
  args.push_back("--exit-with-parent");
  args.insert(args.end(), options_.args.begin(), options_.args.end());
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    error_ = "cannot make a pipe";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  output_ = pipeFds[0];
  if (spawned != 0) {
    error_ = std::string("cannot start ") + argv[0];
    ::close(output_);
    output_ = -1;
    return false;
  }
  pid_ = pid;

  // Wait for "linkora-emulator: COM11 -> /dev/pts/N (...)".
  const std::string marker = "linkora-emulator: " + options_.com + " -> ";
  std::string line;
  if (WaitForLine(marker, line, kStartTimeoutMs)) {
    device_ = line.substr(marker.size());
    device_ = device_.substr(0, device_.find(' '));
    return true;
  }
  error_ = "the emulator did not report ready (" + pending_ + ")";
  Stop();
  return false;
}

bool RunningEmulator::WaitForLine(const std::string& prefix, std::string& line,
                                  int timeoutMs) const {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto newline = pending_.find('\n');
    if (newline != std::string::npos) {
      line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      if (line.rfind(prefix, 0) == 0) {
        return true;
      }
      continue;
    }
    if (output_ < 0 || Clock::now() >= deadline) {
      return false;
    }
    pollfd pfd{output_, POLLIN, 0};
    if (::poll(&pfd, 1, 50) > 0) {
      char buffer[256];
      const ssize_t n = ::read(output_, buffer, sizeof buffer);
      if (n <= 0) {
        return false;  // the emulator has ended
      }
      pending_.append(buffer, static_cast<std::size_t>(n));
    }
  }
}

bool RunningEmulator::Stop(int signal) {
  if (pid_ <= 0) {
    return false;
  }
  ::kill(pid_, signal);
  int status = 0;
  bool ended = false;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (Clock::now() < deadline) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      ended = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!ended) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    error_ = "the emulator did not stop on SIGTERM";
  }
  pid_ = -1;
  pending_.clear();
  if (output_ >= 0) {
    ::close(output_);
    output_ = -1;
  }
  return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool RunningEmulator::Restart() {
  Stop();
  return Start();
}

nlohmann::json RunningEmulator::ReadState() const {
  if (pid_ > 0) {
    // The emulator saves once its line is quiet; ask for the save now.
    ::kill(pid_, SIGUSR1);
    std::string line;
    if (!WaitForLine("linkora-emulator: save", line, 5000) || line != "linkora-emulator: saved") {
      return nlohmann::json::object();
    }
  }
  std::ifstream in(stateFile_);
  std::stringstream text;
  text << in.rdbuf();
  nlohmann::json doc = nlohmann::json::parse(text.str(), nullptr, false);
  return doc.is_discarded() ? nlohmann::json::object() : doc;
}

std::vector<std::uint8_t> RunningEmulator::ReadStateBytes(const std::string& field,
                                                          const std::string& key) const {
  const nlohmann::json state = ReadState();
  std::vector<std::uint8_t> bytes;
  if (!state.contains(field)) {
    return bytes;
  }
  const nlohmann::json& value =
      key.empty() ? state.at(field) : state.at(field).value(key, nlohmann::json());
  if (value.is_string()) {
    ParseHex(value.get<std::string>(), bytes);
  }
  return bytes;
}

PortMap RunningEmulator::Ports() const {
  return PortMap(PortMap::Options{portsDir_, false});
}

SerialHandsetLibrary::Options RunningEmulator::LibraryOptions() const {
  SerialHandsetLibrary::Options options;
  options.ports = Ports();
  options.protocolLogPath = SerialHandsetLibrary::EnvironmentLogPath();
  return options;
}

void RunningEmulator::ExportPortsDir() {
  if (!exported_) {
    if (const char* old = std::getenv("LINKORA_PORTS_DIR"); old != nullptr) {
      savedPortsDirEnv_ = old;
    }
    exported_ = true;
  }
  ::setenv("LINKORA_PORTS_DIR", portsDir_.c_str(), 1);
}

}  // namespace linkora::test
