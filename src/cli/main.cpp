#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "common/Sleep.h"
#include "shell/Profile.h"
#include "tarvio/SerialHandsetLibrary.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  linkora::SerialHandsetLibrary library;
  linkora::ThreadSleep sleep;
  linkora::cli::CliEnvironment env{std::cin,
                                   std::cout,
                                   std::cerr,
                                   isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0,
                                   library,
                                   sleep,
                                   linkora::DefaultProfilePath().string()};
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    env.columns = size.ws_col;
  }
  return linkora::cli::RunCli(args, env);
}
