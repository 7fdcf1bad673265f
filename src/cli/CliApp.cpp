#include "cli/CliApp.h"

#include <fmt/printf.h>

#include <algorithm>
#include <ostream>

#include "cli/CliCommand.h"
#include "common/Sleep.h"
#include "common/Version.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetSearch.h"
#include "link/PhoneLink.h"
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

void PrintUsage(std::ostream& out) {
  out << texts::kCliUsageHead;
  for (const CliCommand* command : AllCommands()) {
    std::string line = "  " + NameOf(*command);
    if (!command->operands.empty()) {
      line += " " + command->operands;
    }
    line.resize(std::max<std::size_t>(line.size() + 1, 40), ' ');
    out << line << command->summary << '\n';
  }
  out << '\n' << texts::kCliUsageOptions;
}

void PrintCommandHelp(std::ostream& out, const CliCommand& command) {
  out << "usage: linkora-cli " << NameOf(command);
  if (!command.operands.empty()) {
    out << ' ' << command.operands;
  }
  out << " [options]\n\n" << command.summary << "\n\n" << texts::kCliUsageOptions;
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

}  // namespace

std::optional<ConnectSettings> CommandRun::Settings() {
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
  for (const std::string_view question : questions) {
    env.err << question << '\n';
  }
  if (!env.interactive) {
    env.err << texts::kCliConfirmNeedsYes << '\n';
    return false;
  }
  env.err << texts::kCliConfirmPrompt << std::flush;
  std::string answer;
  std::getline(env.in, answer);
  return answer == "y" || answer == "Y" || answer == "yes";
}

bool CommandRun::WaitForRestart(const std::string& portName) {
  constexpr int kProbes = 30;
  constexpr int kProbeWaitMs = 1000;
  for (int probe = 0; probe < kProbes; ++probe) {
    env.sleep.Wait(kProbeWaitMs);
    PhoneLink link(Link());
    if (link.IsMakerHandset(portName, kLinkBaudRate)) {
      return true;
    }
  }
  host.ShowMessage(texts::kCliHandsetDidNotReturn);
  return false;
}

bool CommandRun::MakeFolder(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (std::filesystem::is_directory(dir, error)) {
    return true;
  }
  host.ShowMessage(fmt::sprintf(std::string(texts::kCliCannotMakeFolder), dir.string()));
  return false;
}

void CommandRun::PrintJson(const std::string& dumped) const {
  env.out << dumped << '\n';
}

int RunCli(const std::vector<std::string>& args, CliEnvironment& env) {
  std::string error;
  const std::optional<CliArguments> parsed = ParseCliArguments(args, error);
  if (!parsed) {
    env.err << "linkora-cli: " << error << "\n\n";
    PrintUsage(env.err);
    return kExitUsage;
  }
  if (parsed->version) {
    env.out << "linkora-cli " << kProgramVersion << '\n';
    return kExitDone;
  }
  if (parsed->words.empty()) {
    PrintUsage(parsed->help ? env.out : env.err);
    return parsed->help ? kExitDone : kExitUsage;
  }
  const CliCommand* command = FindCommand(parsed->words);
  if (command == nullptr) {
    env.err << "linkora-cli: unknown command '" << parsed->words[0] << "'\n\n";
    PrintUsage(env.err);
    return kExitUsage;
  }
  if (parsed->help) {
    PrintCommandHelp(env.out, *command);
    return kExitDone;
  }
  std::vector<std::string> operands(parsed->words.begin() + static_cast<long>(command->name.size()),
                                    parsed->words.end());
  const int count = static_cast<int>(operands.size());
  if (count < command->minOperands || (command->maxOperands >= 0 && count > command->maxOperands)) {
    env.err << "linkora-cli: wrong number of operands\n\n";
    PrintCommandHelp(env.err, *command);
    return kExitUsage;
  }

  TerminalHost host(env.in, env.err,
                    {.interactive = env.interactive,
                     .quiet = parsed->quiet,
                     .phone = parsed->phone,
                     .lockCode = parsed->lockCode});
  SessionState state;
  CommandRun run{env, *parsed, std::move(operands), host, state};
  const int code = command->handler(run);
  host.FinishLine();
  // The end of a handset visit, as when a function window closes: the
  // handset goes back to data mode unless a write restarted it.
  if (!run.handsetRestarted) {
    EndHandsetVisit(run.Link(), host.DiagPortName());
  } else if (!run.WaitForRestart(host.DiagPortName()) && code == kExitDone) {
    return kExitFailed;
  }
  return code;
}

}  // namespace linkora::cli
