#pragma once

#include <string>
#include <vector>

#include "common/Sleep.h"

namespace linkora::test {

// Records each wait and returns at once. With a log, each wait is also
// written there as "Sleep(ms)", between the calls it separates.
class RecordingSleep final : public Sleep {
 public:
  explicit RecordingSleep(std::vector<std::string>* log = nullptr) : log_(log) {}

  void Wait(int milliseconds) override {
    waits.push_back(milliseconds);
    if (log_ != nullptr) {
      log_->push_back("Sleep(" + std::to_string(milliseconds) + ")");
    }
  }

  std::vector<int> waits;

 private:
  std::vector<std::string>* log_;
};

}  // namespace linkora::test
