#pragma once

#include <string>
#include <string_view>

namespace linkora {

// The file dialogs take filters as "description (*.ext)", several joined by
// ";;". The texts keep them as "description|pattern|...||" pairs; this gives
// the descriptions in the dialogs' form.
inline std::string DialogFilter(std::string_view pairs) {
  std::string filter;
  bool description = true;
  std::size_t start = 0;
  while (start < pairs.size()) {
    std::size_t end = pairs.find('|', start);
    if (end == std::string_view::npos) {
      end = pairs.size();
    }
    const std::string_view part = pairs.substr(start, end - start);
    if (part.empty()) {
      break;  // "||" ends the list
    }
    if (description) {
      if (!filter.empty()) {
        filter += ";;";
      }
      filter += part;
    }
    description = !description;
    start = end + 1;
  }
  return filter;
}

}  // namespace linkora
