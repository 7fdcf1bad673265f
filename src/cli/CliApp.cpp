#include "cli/CliApp.h"

#include <fcntl.h>
#include <fmt/printf.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>

#include "backup/BackupManifest.h"
#include "backup/SafetyCopy.h"
#include "cli/CliCommand.h"
#include "cli/WatchedLibrary.h"
#include "common/Sleep.h"
#include "common/StopRequest.h"
#include "common/Version.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetSearch.h"
#include "link/PhoneLink.h"
#include "resources/BackupTexts.h"
#include "resources/CliTexts.h"
#include "resources/ShellTexts.h"
#include "shell/Profile.h"

namespace linkora::cli {
namespace {

std::vector<const CliCommand*> AllCommands() {
  std::vector<const CliCommand*> all;
  for (const auto subject : {HandsetCommands(), PhonebookCommands(), ScheduleCommands(),
                             MessageCommands(), MediaCommands(), BackupCommands()}) {
    for (const CliCommand& command : subject) {
      all.push_back(&command);
    }
  }
  return all;
}

std::string NameOf(const CliCommand& command) {
  std::string name;
  for (const std::string& word : command.name) {
    name += (name.empty() ? "" : " ") + word;
  }
  return name;
}

// The commands whose first name word is `group` ("phonebook", "media", ...).
std::vector<const CliCommand*> GroupCommands(const std::string& group) {
  std::vector<const CliCommand*> found;
  for (const CliCommand* command : AllCommands()) {
    if (command->name.size() > 1 && command->name[0] == group) {
      found.push_back(command);
    }
  }
  return found;
}

void PrintCommandLines(std::ostream& out, const std::vector<const CliCommand*>& commands) {
  for (const CliCommand* command : commands) {
    std::string line = "  " + NameOf(*command);
    if (!command->operands.empty()) {
      line += " " + command->operands;
    }
    line.resize(std::max<std::size_t>(line.size() + 1, 40), ' ');
    out << line << command->summary << '\n';
  }
}

void PrintUsage(std::ostream& out) {
  out << texts::kCliUsageHead;
  PrintCommandLines(out, AllCommands());
  out << '\n' << texts::kCliUsageOptions << '\n' << texts::kCliExitCodes;
}

void PrintGroupHelp(std::ostream& out, const std::string& group) {
  out << "usage: linkora-cli " << group << " COMMAND [OPERANDS] [options]\n\ncommands:\n";
  PrintCommandLines(out, GroupCommands(group));
  out << "\n'linkora-cli " << group << " COMMAND --help' shows a command's options.\n";
}

constexpr std::pair<unsigned, std::string_view> kOptionNames[] = {
    {kOptPort, "--port"},
    {kOptPhone, "--phone"},
    {kOptLockCode, "--lock-code"},
    {kOptModel, "--model"},
    {kOptFormat, "--format"},
    {kOptFrom, "--from"},
    {kOptInto, "--into"},
    {kOptYes, "--yes"},
    {kOptDryRun, "--dry-run"},
    {kOptNoSafetyCopy, "--no-safety-copy"},
    {kOptOtherHandset, "--other-handset"},
    {kOptKeepPartial, "--keep-partial"},
    {kOptJson, "--json"},
    {kOptQuiet, "--quiet"}};

void PrintCommandHelp(std::ostream& out, const CliCommand& command) {
  out << "usage: linkora-cli " << NameOf(command);
  if (!command.operands.empty()) {
    out << ' ' << command.operands;
  }
  out << " [options]\n\n" << command.summary << "\n\noptions:\n";
  for (const auto& [bit, name] : kOptionNames) {
    if ((command.options & bit) != 0) {
      for (const auto& [option, line] : texts::kCliOptionLines) {
        if (option == name) {
          out << line << '\n';
        }
      }
    }
  }
  out << texts::kCliHelpOptionLine << "\n\n" << texts::kCliExitCodes;
}

// The command whose name words begin the command line, longest name first.
const CliCommand* FindCommand(const std::vector<std::string>& words) {
  const CliCommand* best = nullptr;
  for (const CliCommand* command : AllCommands()) {
    const auto& name = command->name;
    if (name.size() <= words.size() && std::equal(name.begin(), name.end(), words.begin()) &&
        (best == nullptr || name.size() > best->name.size())) {
      best = command;
    }
  }
  return best;
}

// The words of a command line that could not be parsed: what does not look
// like an option, so that the usage printed is the command's own.
std::vector<std::string> LooseWords(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  for (const std::string& arg : args) {
    if (arg.empty() || arg[0] != '-') {
      words.push_back(arg);
    }
  }
  return words;
}

// The step of a transfer that a failed library call belongs to.
std::string_view StepOfOperation(std::string_view operation) {
  if (operation.empty()) {
    return {};
  }
  if (operation == "XrsNvReadLock_rx310") {
    return "lock-flag";
  }
  if (operation == "XrsNvReadUserLock_rx310") {
    return "lock-code";
  }
  if (operation == "DiagGetMin1" || operation == "DiagGetMin2") {
    return "phone-number";
  }
  if (operation == "DiagSetOfflineMode") {
    return "offline";
  }
  if (operation == "DiagOpenPort" || operation == "XrsSyncSend" || operation == "XrsSyncRecv" ||
      operation == "DiagGetVer" || operation == "DiagSendSPCReq") {
    return "connect";
  }
  return "transfer";
}

// The line of the tool's own for a failure that showed no message.
std::string SilentFailureLine(const std::string& command, std::string_view step, int code) {
  if (code == kExitCancelled) {
    return std::string(texts::kCliCancelled);
  }
  for (const auto& [known, line] : texts::kCliStepFailures) {
    if (known == step) {
      return std::string(line);
    }
  }
  return fmt::sprintf(std::string(texts::kCliCommandFailed), command,
                      step.empty() ? std::string("transfer") : std::string(step));
}

void PrintJsonError(std::ostream& out, int code, std::string_view message, std::string_view step,
                    const std::string& partial) {
  nlohmann::json error = {{"error", {{"code", code}, {"message", message}, {"step", step}}}};
  if (!partial.empty()) {
    error["result"] = nlohmann::json::parse(partial, nullptr, false);
  }
  out << error.dump(2) << '\n';
}

bool WantsJson(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--json") != args.end();
}

int UsageError(CliEnvironment& env, bool json, const std::string& problem,
               const std::function<void(std::ostream&)>& usage) {
  const std::string line = "linkora-cli: " + problem;
  env.err << line << "\n\n";
  usage(env.err);
  if (json) {
    PrintJsonError(env.out, kExitUsage, line, "arguments", "");
  }
  return kExitUsage;
}

// Answers `help`, `help GROUP`, `help COMMAND...`, `GROUP --help` and a group
// alone. Gives nothing when the words name no help.
std::optional<int> RunHelp(const CliArguments& parsed, CliEnvironment& env) {
  std::vector<std::string> words = parsed.words;
  const bool asked = parsed.help || (!words.empty() && words[0] == "help");
  if (!words.empty() && words[0] == "help") {
    words.erase(words.begin());
  }
  if (words.empty()) {
    if (!asked) {
      return std::nullopt;
    }
    PrintUsage(env.out);
    return kExitDone;
  }
  if (const CliCommand* command = FindCommand(words)) {
    if (!asked) {
      return std::nullopt;
    }
    PrintCommandHelp(env.out, *command);
    return kExitDone;
  }
  if (!GroupCommands(words[0]).empty() && words.size() == 1) {
    // A group alone is a command line without its command.
    PrintGroupHelp(asked ? env.out : env.err, words[0]);
    return asked ? kExitDone : kExitUsage;
  }
  if (asked) {
    env.err << "linkora-cli: no help for '" << words[0] << "'\n\n";
    PrintUsage(env.err);
    return kExitUsage;
  }
  return std::nullopt;
}

}  // namespace

bool CommandRun::KeepSafetyCopy(const Phonebook* phonebook, const ScheduleStore* schedules) {
  const std::filesystem::path dataDir = SafetyDataDir();
  if (dataDir.empty()) {
    return true;
  }
  SafetyContent content;
  content.phonebook = phonebook;
  content.schedules = schedules;
  content.model = BackupModelName(state.ModelIndex);
  content.phoneNumber = state.RememberedPhoneNumber;
  content.port = host.DiagPortName();
  std::string error;
  safetyCopy = SaveSafetyCopy(dataDir, content, error);
  if (!safetyCopy) {
    Fail(kExitFileError, "safety-copy", fmt::sprintf(std::string(texts::kSafetyCopyFailed), error));
    return false;
  }
  return true;
}

namespace {

// A restore that stopped part-way is said before the next connect, with the
// two commands that finish or undo it.
void TellUnfinishedRestores(CliEnvironment& env, TerminalHost& host) {
  if (env.dataDir.empty()) {
    return;
  }
  for (const RestoreMark& mark : FindRestoreMarks(env.dataDir)) {
    host.FinishLine();
    std::string sections;
    for (const std::string& section : mark.sections) {
      sections += (sections.empty() ? "" : ", ") + section;
    }
    env.err << fmt::sprintf(std::string(texts::kCliUnfinishedRestore),
                            mark.started.empty() ? std::string("?") : mark.started,
                            sections.empty() ? std::string("phonebook") : sections,
                            mark.backup.empty() ? std::string("BACKUP") : mark.backup,
                            mark.safetyCopy.string());
  }
}

}  // namespace

std::optional<ConnectSettings> CommandRun::Settings() {
  TellUnfinishedRestores(env, host);
  ConnectSettings settings;
  if (args.port) {
    settings.portName = *args.port;
    settings.onlyThisPort = true;  // that handset, never another that answers first
    return settings;
  }
  const long long stored =
      env.profilePath.empty()
          ? 0
          : Profile(env.profilePath).ReadInt(texts::kProfileSection, texts::kProfilePortKey, 0);
  if (stored >= 1 && stored <= 16) {
    settings.portName = "COM" + std::to_string(stored);
    return settings;
  }
  host.SetTitle(texts::kSearchTitle);
  const int found = SearchHandset(Link(), host);
  host.FinishLine();
  if (found == 0) {
    failedStep = "search";
    host.ShowMessage(texts::kSearchNotFound);
    return std::nullopt;
  }
  settings.portName = "COM" + std::to_string(found);
  return settings;
}

int CommandRun::Finish(int transferResult) const {
  if (transferResult == 1) {
    return kExitDone;
  }
  return host.Cancelled() ? kExitCancelled : kExitFailed;
}

bool CommandRun::Confirm(std::span<const std::string_view> questions) {
  if (args.yes) {
    return true;
  }
  host.FinishLine();
  for (const std::string_view question : questions) {
    env.err << question << '\n';
  }
  failedStep = "confirm";
  if (!env.interactive) {
    host.ShowMessage(texts::kCliConfirmNeedsYes);
    return false;
  }
  env.err << texts::kCliConfirmPrompt << std::flush;
  std::string answer;
  std::getline(env.in, answer);
  if (answer == "y" || answer == "Y" || answer == "yes") {
    failedStep.clear();
    return true;
  }
  return false;
}

bool CommandRun::WaitForRestart(const std::string& portName) {
  // At most 30 s in all: the probes' own waits and the time the port takes
  // both count.
  constexpr int kBudgetMs = 30000;
  constexpr int kProbeWaitMs = 1000;
  constexpr int kProbeCostMs = kProbeWaitMs + 500;  // the wait, then the probe's reply wait
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBudgetMs);
  for (int spent = 0; spent + kProbeCostMs <= kBudgetMs; spent += kProbeCostMs) {
    env.sleep.Wait(kProbeWaitMs);
    PhoneLink link(Link());
    if (link.IsMakerHandset(portName, kLinkBaudRate)) {
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      break;
    }
  }
  host.ShowMessage(texts::kCliWrittenButNoAnswer);
  return false;
}

bool CommandRun::MakeFolder(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  std::error_code statError;
  if (std::filesystem::is_directory(dir, statError)) {
    return true;
  }
  if (!error || std::filesystem::exists(dir, statError)) {
    error = std::make_error_code(std::errc::not_a_directory);
  }
  Fail(kExitFileError, "file",
       fmt::sprintf(std::string(texts::kCliCannotMakeFolder), dir.string(), error.message()));
  return false;
}

int CommandRun::CannotRead(const std::filesystem::path& path) {
  int error = EINVAL;
  std::error_code statError;
  if (std::filesystem::is_directory(path, statError)) {
    error = EISDIR;
  } else if (const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); fd < 0) {
    error = errno;
  } else {
    ::close(fd);
  }
  return Fail(kExitFileError, "file",
              fmt::sprintf(std::string(texts::kCliCannotReadFileBecause), path.string(),
                           std::strerror(error)));
}

int CommandRun::Fail(int code, std::string_view step, std::string_view line) {
  failedStep = step;
  host.ShowMessage(line);
  return code;
}

void CommandRun::PrintJson(const std::string& dumped) {
  jsonResult = dumped;
}

int RunCli(const std::vector<std::string>& args, CliEnvironment& env) {
  std::string error;
  const std::optional<CliArguments> parsed = ParseCliArguments(args, error);
  if (!parsed) {
    const CliCommand* command = FindCommand(LooseWords(args));
    return UsageError(env, WantsJson(args), error, [command](std::ostream& out) {
      command != nullptr ? PrintCommandHelp(out, *command) : PrintUsage(out);
    });
  }
  if (parsed->version) {
    env.out << "linkora-cli " << kProgramVersion << '\n';
    return kExitDone;
  }
  if (const auto helped = RunHelp(*parsed, env)) {
    return *helped;
  }
  if (parsed->words.empty()) {
    return UsageError(env, parsed->json, "no command given", PrintUsage);
  }
  const CliCommand* command = FindCommand(parsed->words);
  if (command == nullptr) {
    const std::string& word = parsed->words[0];
    if (!GroupCommands(word).empty()) {
      return UsageError(env, parsed->json,
                        "unknown command '" + word + " " + parsed->words[1] + "'",
                        [&word](std::ostream& out) { PrintGroupHelp(out, word); });
    }
    return UsageError(env, parsed->json, "unknown command '" + word + "'", PrintUsage);
  }
  const auto usage = [command](std::ostream& out) { PrintCommandHelp(out, *command); };
  for (const auto& [bit, name] : kOptionNames) {
    if ((parsed->given & bit) != 0 && (command->options & bit) == 0) {
      return UsageError(env, parsed->json, NameOf(*command) + " does not take " + std::string(name),
                        usage);
    }
  }
  std::vector<std::string> operands(parsed->words.begin() + static_cast<long>(command->name.size()),
                                    parsed->words.end());
  const int count = static_cast<int>(operands.size());
  if (count < command->minOperands || (command->maxOperands >= 0 && count > command->maxOperands)) {
    return UsageError(env, parsed->json, "wrong number of operands", usage);
  }

  WatchedLibrary library(env.library);
  TerminalHost host(env.in, env.err,
                    {.interactive = env.interactive,
                     .quiet = parsed->quiet,
                     .inputFd = env.inputFd,
                     .columns = env.columns,
                     .phone = parsed->phone,
                     .lockCode = parsed->lockCode});
  SessionState state;
  CommandRun run{env, *parsed, std::move(operands), host, state, library, false, {}, {}, {}};
  int code = command->handler(run);
  host.FinishLine();
  // Ctrl-C ended the exchange under way; the port works again for the
  // mode return below.
  const bool interrupted = StopRequested();
  if (interrupted) {
    ClearStopRequest();
    code = kExitInterrupted;
    run.failedStep = "interrupted";
  }
  std::string step = run.failedStep;
  if (step.empty()) {
    step = host.DeclinedStep();
  }
  if (step.empty()) {
    step = StepOfOperation(library.LastFailure());
  }
  // The end of a handset visit, as when a function window closes: the
  // handset goes back to data mode unless a write restarted it.
  if (!run.handsetRestarted) {
    EndHandsetVisit(run.Link(), host.DiagPortName());
  } else {
    // The write itself went through; a handset slow to come back is said plainly.
    run.WaitForRestart(host.DiagPortName());
  }
  if (run.safetyCopy) {
    host.ShowMessage(
        fmt::sprintf(std::string(texts::kCliSafetyCopyKept), run.safetyCopy->string()));
    if (parsed->json) {
      nlohmann::json result = run.jsonResult.empty()
                                  ? nlohmann::json::object()
                                  : nlohmann::json::parse(run.jsonResult, nullptr, false);
      if (result.is_object()) {
        result["safetyCopy"] = run.safetyCopy->string();
        run.jsonResult = result.dump(2);
      }
    }
  }
  if (code == kExitDone) {
    if (parsed->json && !run.jsonResult.empty()) {
      env.out << run.jsonResult << '\n';
    }
    return code;
  }
  if (interrupted) {
    TellUnfinishedRestores(env, host);
    host.ShowMessage(texts::kCliInterrupted);
    if (parsed->json) {
      PrintJsonError(env.out, code, host.LastMessage(), "interrupted", run.jsonResult);
    }
    return code;
  }
  if (step.empty()) {
    step = code == kExitRefused || code == kExitFileError ? "file" : "transfer";
  }
  // Every failure ends with a line that says what failed.
  if (host.MessageCount() == 0) {
    host.ShowMessage(SilentFailureLine(NameOf(*command), step, code));
  }
  if (parsed->json) {
    PrintJsonError(env.out, code, host.LastMessage(), step, run.jsonResult);
  }
  return code;
}

}  // namespace linkora::cli
