#pragma once

#include "link/LinkContext.h"

namespace linkora {

class TransferHost;

// Looks for a handset of our maker on COM1 to COM16, in that order: before
// each probe the bar shows n * 100 / 16 and the window is pumped. Gives the
// number of the first port that answers, or 0 when none does. No port stays
// open afterwards.
int SearchHandset(LinkContext context, TransferHost& host);

}  // namespace linkora
