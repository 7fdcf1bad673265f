#include <ostream>

#include "cli/CliCommand.h"
#include "link/HandsetSearch.h"
#include "resources/CliTexts.h"
#include "resources/ShellTexts.h"

namespace linkora::cli {
namespace {

int Search(CommandRun& run) {
  run.host.SetTitle(texts::kSearchTitle);
  const int found = SearchHandset(run.Link(), run.host);
  run.host.FinishLine();
  if (found == 0) {
    run.host.ShowMessage(texts::kSearchNotFound);
    return kExitFailed;
  }
  if (run.args.json) {
    run.env.out << "{\"port\":\"COM" << found << "\"}\n";
  } else {
    run.env.out << "COM" << found << '\n';
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"search"}, "", 0, 0, "find the port the handset answers on (COM1 to COM16)", &Search},
};

}  // namespace

std::span<const CliCommand> HandsetCommands() {
  return kCommands;
}

}  // namespace linkora::cli
