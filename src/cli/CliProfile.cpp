#include "cli/CliProfile.h"

#include <charconv>
#include <fstream>
#include <string_view>

namespace linkora::cli {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

int ReadProfilePort(const std::string& profilePath) {
  if (profilePath.empty()) {
    return 0;
  }
  std::ifstream file(profilePath);
  std::string line;
  bool inSection = false;
  while (std::getline(file, line)) {
    const std::string_view text = Trim(line);
    if (!text.empty() && text.front() == '[') {
      inSection = text == "[Norvane Linkora]";
      continue;
    }
    const auto eq = text.find('=');
    if (!inSection || eq == std::string_view::npos || Trim(text.substr(0, eq)) != "Port") {
      continue;
    }
    const std::string_view value = Trim(text.substr(eq + 1));
    int port = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
    return error == std::errc{} && end == value.data() + value.size() ? port : 0;
  }
  return 0;
}

}  // namespace linkora::cli
