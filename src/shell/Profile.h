#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace linkora {

// The program's private settings: an INI file with sections in square
// brackets and "key=value" lines. Section and key names compare without
// regard to case; everything else in the file is kept as it was when a value
// is written. Every write rewrites the whole file atomically.
class Profile {
 public:
  explicit Profile(std::filesystem::path file) : file_(std::move(file)) {}

  // The value's leading decimal number, 0 when the value holds none, or the
  // fallback when the key is missing. A negative number, or one too large
  // for the settings' unsigned range, gives a value larger than any valid one.
  long long ReadInt(std::string_view section, std::string_view key, long long fallback) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;

  // False when the file could not be written; the old file then stays whole.
  bool WriteInt(std::string_view section, std::string_view key, long long value);
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
};

// Where the program keeps its profile: the file named by LINKORA_PROFILE when
// that is set, otherwise "linkora.ini" in the user's configuration folder
// ($XDG_CONFIG_HOME, or ~/.config).
std::filesystem::path DefaultProfilePath();

}  // namespace linkora
