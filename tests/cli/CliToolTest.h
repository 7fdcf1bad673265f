#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "tests/support/FakeHandsetLibrary.h"

namespace linkora::cli::test_support {

// The tool run in-process against the fake handset, with a scratch folder of
// its own and its output kept for the test to read.
class CliToolTest : public testing::Test {
 protected:
  explicit CliToolTest(std::string folderName) : folderName_(std::move(folderName)) {}

  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() / (folderName_ + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    CliEnvironment env{in_, out_, err_, false, library_, library_.sleep, ""};
    return RunCli(args, env);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  test::FakeHandsetLibrary library_;
  std::istringstream in_;
  std::ostringstream out_;
  std::ostringstream err_;

 private:
  std::string folderName_;
};

}  // namespace linkora::cli::test_support
