#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace linkora {
class HandsetLibrary;
class Sleep;
}  // namespace linkora

namespace linkora::cli {

// Exit codes of linkora-cli (documented in docs/cli.md).
enum ExitCode : int {
  kExitDone = 0,
  kExitFailed = 1,         // the handset or a transfer failed
  kExitUsage = 2,          // the command line was wrong
  kExitRefused = 3,        // a file was refused (format, size, kind)
  kExitCancelled = 4,      // a confirmation or a prompt was declined
  kExitFileError = 5,      // a file or folder on the PC could not be read or written
  kExitInterrupted = 130,  // Ctrl-C (SIGINT) or SIGTERM: 128 + SIGINT, as shells report it
};

// What the tool talks to: its streams, the handset library and the wait.
// main() gives the real ones; tests give string streams and a fake handset.
struct CliEnvironment {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;  // stdin and stderr are terminals
  HandsetLibrary& library;
  Sleep& sleep;
  // The profile holding the desktop program's "Port"; empty for none.
  std::string profilePath;
  int columns = 80;  // width of the terminal, for the redrawn progress line
  // Where safety copies are kept (DefaultDataFolder()); empty keeps none.
  std::filesystem::path dataDir = {};
  // The descriptor of the terminal the prompts read from, so the lock code
  // is read without echo; -1 when there is none.
  int inputFd = -1;
};

// Runs one command line (without the program name) and gives the exit code.
int RunCli(const std::vector<std::string>& args, CliEnvironment& env);

}  // namespace linkora::cli
