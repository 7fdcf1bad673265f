#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace linkora::test {

// Publishes a pseudo-terminal under a COM link as the emulator does: the
// link, and beside it the pid file of the process that keeps the line open
// (here the test itself), without which the link counts as stale.
inline void LinkPseudoTerminal(const std::filesystem::path& device,
                               const std::filesystem::path& link) {
  std::filesystem::create_symlink(device, link);
  std::ofstream(link.string() + ".pid") << ::getpid() << '\n';
}

}  // namespace linkora::test
