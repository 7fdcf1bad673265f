// linkora-emulator: an emulated RX-3100 or RX-2100 handset on a
// pseudo-terminal, published under a COM name. See docs/protocol.md.
#include <sys/prctl.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/Version.h"
#include "emulator/EmulatedHandset.h"
#include "emulator/HandsetState.h"
#include "emulator/PtyServer.h"
#include "tarvio/PortMap.h"
#include "tarvio/Protocol.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t saveRequested = 0;

void OnStopSignal(int) {
  stopRequested = 1;
}
void OnSaveSignal(int) {
  saveRequested = 1;
}

// The answer to SIGUSR1, for scripts and tests that read the state file.
void ReportSaved(bool saved) {
  std::cout << (saved ? "linkora-emulator: saved" : "linkora-emulator: save failed") << std::endl;
}

constexpr const char* kUsage = R"(usage: linkora-emulator [options]
  --com COMn            COM name to publish (default COM11)
  --ports-dir DIR       folder of the COM links (default: as the program finds it)
  --model rx3100|rx2100 handset model (default rx3100, or the state file's)
  --state FILE.json     load the handset from FILE and save every change to it
                        (before the reply to each write, at once on SIGUSR1,
                        which answers "linkora-emulator: saved", and at exit);
                        a missing FILE starts from the built-in sample content
  --no-pacing           deliver bytes at once instead of at 115200 baud
  --exit-with-parent    stop when the process that started it ends (tests)
  --log FILE            append every byte each way to FILE
  --spc CODE            service code the handset accepts (default 472913)
  --lock 0|1            lock flag
  --lock-code NNNN      four-digit lock code
  --phone NUMBER        phone number (e.g. 01612345678)
  --reset-silence MS    silent time after a reset (default 3000)
  --fault KIND:OP:N[:TIMES]
                        answer the N-th request of OP wrongly (TIMES times);
                        KIND is fail, drop or corrupt; OP is version, spc,
                        offline, reset, mode, fs-read, fs-write, gmi, qcdmg,
                        read-ITEM or write-ITEM (ITEM: lock, userlock, min1,
                        min2, addresslist, address, dialgroup, schedule, dday,
                        smslist, smsmolist, smsrx, smstx)
  --nv-error STATUS     NV status of an injected item failure (default 5)
  --help, -h            this help
  --version             the emulator's version
)";

int Usage(const std::string& problem) {
  std::cerr << "linkora-emulator: " << problem << "\n" << kUsage;
  return 2;
}

// A whole number within [low, high] written in plain digits, else nothing.
std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
      })) {
    return std::nullopt;
  }
  const int value = std::stoi(text);
  if (value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace linkora;
  using namespace linkora::emulator;

  PtyServer::Options server;
  server.portsDir = PortMap::FromEnvironment().options().portsDir;
  EmulatedHandset::Config config;
  std::filesystem::path stateFile;
  std::string modelName, spc, lock, lockCode, phone;

  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "linkora-emulator " << kProgramVersion << '\n';
      return 0;
    } else if (arg == "--no-pacing") {
      server.pacing = false;
    } else if (arg == "--exit-with-parent") {
      // A test that dies half-way must not leave its handset running.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
    } else if (arg == "--com" && value(v)) {
      if (ComNumber(v) == 0) {
        return Usage("--com takes COM1 to COM16");
      }
      server.portName = v;
    } else if (arg == "--log" && value(v)) {
      server.logPath = v;
    } else if (arg == "--ports-dir" && value(v)) {
      server.portsDir = v;
    } else if (arg == "--model" && value(modelName)) {
    } else if (arg == "--state" && value(v)) {
      stateFile = v;
    } else if (arg == "--spc" && value(spc)) {
    } else if (arg == "--lock" && value(lock)) {
    } else if (arg == "--lock-code" && value(lockCode)) {
    } else if (arg == "--phone" && value(phone)) {
    } else if (arg == "--reset-silence" && value(v)) {
      const auto ms = WholeNumber(v, 0, 600000);
      if (!ms) {
        return Usage("--reset-silence takes milliseconds from 0 to 600000, not \"" + v + "\"");
      }
      config.resetSilenceMs = *ms;
    } else if (arg == "--nv-error" && value(v)) {
      // 0 is the status of success, so it cannot stand for a failure.
      const auto status = WholeNumber(v, 1, 255);
      if (!status) {
        return Usage("--nv-error takes an NV status from 1 to 255, not \"" + v + "\"");
      }
      config.nvErrorStatus = static_cast<std::uint8_t>(*status);
    } else if (arg == "--fault" && value(v)) {
      Fault fault;
      std::string error;
      if (!ParseFault(v, fault, error)) {
        return Usage(error);
      }
      config.faults.push_back(fault);
    } else {
      return Usage("unknown or incomplete option " + arg);
    }
  }

  Model model = Model::kRx3100;
  if (!modelName.empty() && !ParseModel(modelName, model)) {
    return Usage("--model takes rx3100 or rx2100");
  }
  HandsetState state;
  std::string error;
  if (!stateFile.empty() && std::filesystem::exists(stateFile)) {
    if (!HandsetState::Load(stateFile, state, error)) {
      std::cerr << "linkora-emulator: " << error << "\n";
      return 1;
    }
    if (!modelName.empty()) {
      state.model = model;
    }
  } else {
    state = SampleState(model);
  }
  if (!spc.empty()) {
    if (spc.size() != protocol::kServiceCodeDigits || !WholeNumber(spc, 0, 999999)) {
      return Usage("--spc takes six digits, not \"" + spc + "\"");
    }
    state.serviceCode = spc;
  }
  if (!lock.empty()) {
    if (lock != "0" && lock != "1") {
      return Usage("--lock takes 0 or 1, not \"" + lock + "\"");
    }
    state.lockFlag = lock == "0" ? 0 : 1;
  }
  if (!lockCode.empty()) {
    if (lockCode.size() != 4 || !WholeNumber(lockCode, 0, 9999)) {
      return Usage("--lock-code takes four digits, not \"" + lockCode + "\"");
    }
    state.lockCode = lockCode;
  }
  if (!phone.empty()) {
    std::uint32_t min1 = 0;
    std::uint32_t min2 = 0;
    if (!EncodePhoneNumber(phone, min1, min2)) {
      return Usage("--phone takes ten digits beginning with 0, or eleven beginning with 0");
    }
    state.phoneNumber = phone;
  }
  if (!stateFile.empty() && !state.Save(stateFile, error)) {
    std::cerr << "linkora-emulator: " << error << "\n";
    return 1;
  }
  config.stateFile = stateFile;

  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // its terminal closed: the link goes too
  struct sigaction saveAction {};
  saveAction.sa_handler = OnSaveSignal;
  sigemptyset(&saveAction.sa_mask);
  sigaction(SIGUSR1, &saveAction, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  PtyServer pty(server);
  if (!pty.Start(error)) {
    std::cerr << "linkora-emulator: " << error << "\n";
    return 1;
  }
  EmulatedHandset handset(config, std::move(state));
  std::cout << "linkora-emulator: " << server.portName << " -> " << pty.DevicePath() << " ("
            << ModelName(handset.state().model) << ", " << pty.LinkPath().string() << ")"
            << std::endl;
  pty.Run(handset, stopRequested, &saveRequested, ReportSaved);
  if (!handset.SaveError().empty()) {
    std::cerr << "linkora-emulator: " << handset.SaveError() << "\n";
  }
  std::cout << "linkora-emulator: stopped" << std::endl;
  return 0;
}
