#include "common/Sleep.h"

#include <chrono>
#include <thread>

namespace linkora {

void ThreadSleep::Wait(int milliseconds) {
  if (milliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

}  // namespace linkora
