#pragma once

#include <sys/types.h>

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

// Another program that runs while the object lives (`sleep 60`): the
// holder of a port's lock in tests. End() stops it; its pid then names a
// process that has ended.
class OtherProgram {
 public:
  OtherProgram();
  ~OtherProgram() { End(); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  pid_t Pid() const { return pid_; }
  void End();

 private:
  pid_t pid_ = -1;
  bool running_ = false;
};

}  // namespace linkora::test
