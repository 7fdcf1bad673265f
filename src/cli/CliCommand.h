#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliArguments.h"
#include "cli/TerminalHost.h"
#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "link/SessionState.h"

namespace linkora {
class Phonebook;
class ScheduleStore;
}  // namespace linkora

namespace linkora::cli {

// Everything one command needs while it runs.
struct CommandRun {
  CliEnvironment& env;
  const CliArguments& args;
  std::vector<std::string> operands;  // the words after the command's name
  TerminalHost& host;
  SessionState& state;
  HandsetLibrary& library;  // env.library, watched for the step that failed
  // Set by a write that ended with the handset's restart: the handset has
  // left diagnostic mode by itself, so no mode return is sent afterwards.
  bool handsetRestarted = false;
  // What PrintJson was given: printed at the end when the command succeeds.
  std::string jsonResult;
  // The step a failure happened in, when the command knows it better than
  // the handset library's last failed call ("file", "search", ...).
  std::string failedStep;
  // The safety copy this run kept of what it replaced on the handset.
  std::optional<std::filesystem::path> safetyCopy;

  LinkContext Link() { return {library, env.sleep, state}; }
  // Where a write keeps what it replaces: empty with --no-safety-copy.
  std::filesystem::path SafetyDataDir() const {
    return args.noSafetyCopy ? std::filesystem::path() : env.dataDir;
  }
  // Keeps records already read from the handset as a safety copy before a
  // write (no exchange). False after a message when it could not be saved.
  bool KeepSafetyCopy(const Phonebook* phonebook, const ScheduleStore* schedules);
  // The port to switch the handset on: --port, else the profile's, else a search.
  // Gives nothing (after a message) when no port could be found.
  std::optional<ConnectSettings> Settings();
  // The exit code of a transfer's result: 1 done; a declined prompt is a
  // cancellation; any other failure has shown its message.
  int Finish(int transferResult) const;
  // One confirmation before a write: prints the window's questions and asks
  // once on the terminal. True with --yes; false (a cancellation) when the
  // answer is not yes or there is no terminal to ask on.
  bool Confirm(std::span<const std::string_view> questions);
  // After a write the handset restarts; waits (a probe a second, at most 30)
  // until it answers on the port again, so that the next command finds it.
  bool WaitForRestart(const std::string& portName);
  // Creates a folder for output files; false (after a message naming the
  // folder and the system's reason) when it cannot.
  bool MakeFolder(const std::filesystem::path& dir);
  // A file that could not be opened for reading: says why (the system's
  // reason) and gives kExitFileError.
  int CannotRead(const std::filesystem::path& path);
  // Shows a failure's one line, records its step and gives `code`.
  int Fail(int code, std::string_view step, std::string_view line);
  // The JSON result of the command; stdout gets it at the end when the
  // command succeeds, else the error object (so stdout always holds one document).
  void PrintJson(const std::string& dumped);
};

using CommandHandler = int (*)(CommandRun& run);

// One command of the tool: its name words, the operands it takes, a line of
// help and the function that runs it.
struct CliCommand {
  std::vector<std::string> name;
  std::string operands;  // e.g. "FILE.ndf"
  int minOperands = 0;
  int maxOperands = 0;  // -1: any number
  std::string summary;
  CommandHandler handler = nullptr;
  unsigned options = kAllOptions;  // the CliOption bits it takes
};

// The option sets of the usual kinds of command.
inline constexpr unsigned kHandsetReadOptions =
    kOptPort | kOptPhone | kOptLockCode | kOptQuiet | kOptJson;
inline constexpr unsigned kHandsetWriteOptions = kHandsetReadOptions | kOptYes;

// The commands of each subject, defined next to the code they drive.
std::span<const CliCommand> HandsetCommands();
std::span<const CliCommand> MessageCommands();
std::span<const CliCommand> PhonebookCommands();
std::span<const CliCommand> ScheduleCommands();
std::span<const CliCommand> MediaCommands();
std::span<const CliCommand> BackupCommands();

}  // namespace linkora::cli
