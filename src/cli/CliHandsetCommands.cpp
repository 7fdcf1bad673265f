#include <ostream>

#include <filesystem>
#include <nlohmann/json.hpp>
#include "cli/CliCommand.h"

#include "link/HandsetSearch.h"
#include "resources/CliTexts.h"
#include "resources/ShellTexts.h"
#include "tarvio/PortMap.h"

namespace linkora::cli {
namespace {

int Search(CommandRun& run) {
  run.host.SetTitle(texts::kSearchTitle);
  const int found = SearchHandset(run.Link(), run.host);
  run.host.FinishLine();
  if (found == 0) {
    return run.Fail(kExitFailed, "search", texts::kSearchNotFound);
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"port", "COM" + std::to_string(found)}}.dump(2));
  } else {
    run.env.out << "COM" << found << '\n';
  }
  return kExitDone;
}

// COM1 to COM16 with the device each maps to and whether it is there.
int Ports(CommandRun& run) {
  const PortMap map = PortMap::FromEnvironment();
  nlohmann::json ports = nlohmann::json::array();
  for (int n = 1; n <= 16; ++n) {
    const std::string name = "COM" + std::to_string(n);
    const auto device = map.Resolve(name);
    std::error_code error;
    const bool present = device && std::filesystem::exists(*device, error);
    if (run.args.json) {
      ports.push_back({{"port", name},
                       {"device", device ? nlohmann::json(device->string()) : nullptr},
                       {"present", present}});
    } else {
      run.env.out << name << (n < 10 ? "   " : "  ")
                  << (device ? device->string() : std::string("-"))
                  << (device && !present ? "  (missing)" : "") << '\n';
    }
  }
  if (run.args.json) {
    run.PrintJson(
        nlohmann::json{{"portsDir", map.options().portsDir.string()}, {"ports", ports}}.dump(2));
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"ports"}, "", 0, 0, "show the device behind each of COM1 to COM16", &Ports, kOptJson},
    {{"search"},
     "",
     0,
     0,
     "find the port the handset answers on (COM1 to COM16)",
     &Search,
     kOptQuiet | kOptJson},
};

}  // namespace

std::span<const CliCommand> HandsetCommands() {
  return kCommands;
}

}  // namespace linkora::cli
