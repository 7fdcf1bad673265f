#include "link/HandsetSearch.h"

#include <fmt/printf.h>

#include "link/PhoneLink.h"
#include "link/TransferHost.h"

namespace linkora {

int SearchHandset(LinkContext context, TransferHost& host) {
  constexpr int kPortCount = 16;
  for (int n = 1; n <= kPortCount; ++n) {
    host.SetProgress(n * 100 / kPortCount);
    host.PumpMessages();
    PhoneLink probe(context);
    if (probe.IsMakerHandset(fmt::sprintf("COM%d", n), kLinkBaudRate)) {
      return n;
    }
  }
  return 0;
}

}  // namespace linkora
