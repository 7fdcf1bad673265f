#include "cli/CliArguments.h"

#include <gtest/gtest.h>

namespace linkora::cli {
namespace {

struct ParseCase {
  std::vector<std::string> args;
  bool ok;
};

TEST(CliArgumentsTest, AcceptsOptionsAnywhereAndRejectsBadValues) {
  const ParseCase cases[] = {
      {{"phonebook", "pull", "a.ndf"}, true},
      {{"--port", "COM3", "phonebook", "pull", "a.ndf"}, true},
      {{"phonebook", "--port=com16", "pull", "a.ndf", "-q"}, true},
      {{"media", "pull", "out", "--", "--json"}, true},
      {{"--port"}, false},
      {{"--port", "COM17"}, false},
      {{"--port", "COM0"}, false},
      {{"--port", "COM01"}, false},
      {{"--port", "/dev/ttyUSB0"}, false},
      {{"--lock-code", "123"}, false},
      {{"--lock-code", "12a4"}, false},
      {{"--model", "rx4100"}, false},
      {{"messages", "export", "out", "--format", "csv"}, true},
      {{"messages", "export", "out", "--format=txt"}, true},
      {{"--format", "xls"}, false},
      {{"--format", "CSV"}, false},
      {{"--json=yes"}, false},
      {{"--frobnicate"}, false},
  };
  for (const ParseCase& c : cases) {
    std::string error;
    const auto parsed = ParseCliArguments(c.args, error);
    EXPECT_EQ(parsed.has_value(), c.ok) << testing::PrintToString(c.args) << " " << error;
    EXPECT_EQ(error.empty(), c.ok);
  }
}

TEST(CliArgumentsTest, SplitsWordsFromOptions) {
  std::string error;
  const auto parsed = ParseCliArguments({"phonebook", "--port=com16", "push", "--yes", "a.ndf",
                                         "--phone", "016-123-4567", "--", "--json"},
                                        error);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->words, (std::vector<std::string>{"phonebook", "push", "a.ndf", "--json"}));
  EXPECT_EQ(parsed->port, "COM16");
  EXPECT_EQ(parsed->phone, "0161234567");
  EXPECT_TRUE(parsed->yes);
  EXPECT_FALSE(parsed->json);
}

TEST(CliArgumentsTest, PhoneNumbersFollowThePromptsRules) {
  const std::pair<const char*, const char*> cases[] = {
      {"016-123-4567", "0161234567"}, {"018-1234-5678", "01812345678"},
      {"0161234567", "0161234567"},   {"01812345678", "01812345678"},
      {"017-123-4567", nullptr},      {"016-12-4567", nullptr},
      {"016-12345-6789", nullptr},    {"016-123-456", nullptr},
      {"016-12a-4567", nullptr},      {"016123456", nullptr},
      {"016-1234567", nullptr},       {"", nullptr},
  };
  for (const auto& [text, expected] : cases) {
    const auto number = NormalisePhoneNumber(text);
    if (expected == nullptr) {
      EXPECT_FALSE(number) << text;
    } else {
      EXPECT_EQ(number, expected) << text;
    }
  }
}

}  // namespace
}  // namespace linkora::cli
