#include "common/StopRequest.h"

#include <atomic>

namespace linkora {
namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void RequestStop() noexcept {
  stopRequested.store(true);
}

bool StopRequested() noexcept {
  return stopRequested.load();
}

void ClearStopRequest() noexcept {
  stopRequested.store(false);
}

}  // namespace linkora
