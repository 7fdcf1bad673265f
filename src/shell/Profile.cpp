#include "shell/Profile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "common/FileIo.h"

namespace linkora {
namespace {

// A profile holds two short values; anything larger is not ours.
constexpr std::size_t kMaxProfileSize = 1 << 20;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  std::vector<std::string> lines;
  if (!ReadWholeFile(file, kMaxProfileSize, bytes, error)) {
    return lines;
  }
  std::string current;
  for (const std::uint8_t byte : bytes) {
    if (byte == '\n') {
      lines.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(byte));
    }
  }
  if (!current.empty()) {
    lines.push_back(current);
  }
  return lines;
}

// The section name when the line opens a section.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.size() >= 2 && line.front() == '[') {
    const auto close = line.find(']');
    if (close != std::string_view::npos) {
      return Trim(line.substr(1, close - 1));
    }
  }
  return std::nullopt;
}

// Key and value when the line is a "key=value" line.
std::optional<std::pair<std::string_view, std::string_view>> EntryOf(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || SectionOf(line)) {
    return std::nullopt;
  }
  return std::pair{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::optional<std::string> Find(const std::filesystem::path& file, std::string_view section,
                                std::string_view key) {
  bool inSection = false;
  for (const std::string& line : ReadLines(file)) {
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      if (const auto entry = EntryOf(line); entry && SameName(entry->first, key)) {
        return std::string(entry->second);
      }
    }
  }
  return std::nullopt;
}

}  // namespace

long long Profile::ReadInt(std::string_view section, std::string_view key,
                           long long fallback) const {
  const auto value = Find(file_, section, key);
  if (!value) {
    return fallback;
  }
  std::string_view text = *value;
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // The settings are unsigned: a negative or oversized number lands above
  // every valid value, so range checks of the caller refuse it.
  constexpr long long kOutOfRange = 0xFFFFFFFFLL;
  long long number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      break;
    }
    number = number * 10 + (c - '0');
    if (number > kOutOfRange) {
      return kOutOfRange;
    }
  }
  return negative && number != 0 ? kOutOfRange : number;
}

std::string Profile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  return Find(file_, section, key).value_or(std::string(fallback));
}

bool Profile::WriteInt(std::string_view section, std::string_view key, long long value) {
  return WriteString(section, key, std::to_string(value));
}

bool Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<std::string> lines = ReadLines(file_);
  const std::string newLine = std::string(key) + "=" + std::string(value);
  bool inSection = false;
  std::optional<std::size_t> sectionEnd;  // where a new key of the section goes
  bool written = false;
  for (std::size_t i = 0; i < lines.size() && !written; ++i) {
    if (const auto name = SectionOf(lines[i])) {
      inSection = SameName(*name, section);
      if (inSection) {
        sectionEnd = i + 1;
      }
    } else if (inSection) {
      if (const auto entry = EntryOf(lines[i]); entry && SameName(entry->first, key)) {
        lines[i] = newLine;
        written = true;
      } else if (!Trim(lines[i]).empty()) {
        sectionEnd = i + 1;
      }
    }
  }
  if (!written) {
    if (sectionEnd) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), newLine);
    } else {
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(newLine);
    }
  }
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  std::error_code ignored;
  if (file_.has_parent_path()) {
    std::filesystem::create_directories(file_.parent_path(), ignored);
  }
  std::string error;
  return WriteFileAtomically(
      file_, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, error);
}

std::filesystem::path DefaultProfilePath() {
  if (const char* file = std::getenv("LINKORA_PROFILE"); file != nullptr && *file != '\0') {
    return file;
  }
  std::filesystem::path folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    folder = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    folder = std::filesystem::path(home) / ".config";
  } else {
    folder = ".";
  }
  return folder / "linkora.ini";
}

}  // namespace linkora
