#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "common/DataFolder.h"
#include "common/Sleep.h"
#include "common/StopRequest.h"
#include "shell/Profile.h"
#include "tarvio/SerialHandsetLibrary.h"

namespace {

void OnStopSignal(int) {
  linkora::RequestStop();
}

// Ctrl-C and SIGTERM end the exchange under way instead of the process, so
// the handset is sent back to its normal mode and the port's settings are
// put back. A second Ctrl-C ends the tool at once (SA_RESETHAND).
void HandleStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // no SA_RESTART: a blocked read returns at once
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  HandleStopSignals();
  linkora::SerialHandsetLibrary library;
  linkora::ThreadSleep sleep;
  const bool interactive = isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
  linkora::cli::CliEnvironment env{std::cin,
                                   std::cout,
                                   std::cerr,
                                   interactive,
                                   library,
                                   sleep,
                                   linkora::DefaultProfilePath().string()};
  env.dataDir = linkora::DefaultDataFolder();
  env.inputFd = interactive ? STDIN_FILENO : -1;
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    env.columns = size.ws_col;
  }
  return linkora::cli::RunCli(args, env);
}
