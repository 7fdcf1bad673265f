#include "shell/FileFilter.h"

#include <vector>

namespace linkora {

std::string DialogFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  std::size_t from = 0;
  while (from <= filter.size()) {
    const std::size_t bar = filter.find('|', from);
    const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
    parts.push_back(filter.substr(from, end - from));
    from = end + 1;
  }
  std::string result;
  // An entry without a description or without patterns ends the filter.
  for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty() && !parts[i + 1].empty();
       i += 2) {
    std::string_view description = parts[i];
    // The description's own pattern list is replaced by the real one.
    if (description.ends_with(')')) {
      const std::size_t open = description.rfind('(');
      if (open != std::string_view::npos) {
        description = description.substr(0, open);
      }
    }
    while (!description.empty() && description.back() == ' ') {
      description.remove_suffix(1);
    }
    std::string patterns(parts[i + 1]);
    for (char& c : patterns) {
      if (c == ';') {
        c = ' ';
      }
    }
    if (!result.empty()) {
      result += ";;";
    }
    result += std::string(description) + " (" + patterns + ")";
  }
  return result;
}

}  // namespace linkora
