#pragma once

#include <string>
#include <vector>

namespace linkora::test {

// What a program run to its end gave back.
struct ChildResult {
  int exitCode = -1;  // -1 when it did not start or ended by a signal
  std::string out;
  std::string err;
};

// Runs a program with arguments and an empty stdin, as a user would from a
// script, and gives its exit code and everything it wrote. The environment
// is the test's own plus `extraEnv` ("NAME=value"). Killed after `timeoutMs`.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& extraEnv = {}, int timeoutMs = 120000);

}  // namespace linkora::test
