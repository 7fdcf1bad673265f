#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tarvio/PortMap.h"

namespace linkora::test {

// Publishes a pseudo-terminal under a COM link as the emulator does: the
// link, and beside it the pid file of the process that keeps the line open
// (here the test itself). The test holds the other end, so within this
// process the line counts as its own; another process refuses it.
inline void LinkPseudoTerminal(const std::filesystem::path& device,
                               const std::filesystem::path& link) {
  std::filesystem::create_symlink(device, link);
  std::ofstream(link.string() + ".pid") << ::getpid() << '\n';
  linkora::TrustOwnPseudoTerminal(device);
}

}  // namespace linkora::test
