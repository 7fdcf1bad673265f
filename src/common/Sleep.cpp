#include "common/Sleep.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/StopRequest.h"

namespace linkora {

void ThreadSleep::Wait(int milliseconds) {
  // In short slices, so that a stop (Ctrl-C) is not kept waiting.
  constexpr int kSliceMs = 20;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!StopRequested()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, kSliceMs)));
  }
}

}  // namespace linkora
