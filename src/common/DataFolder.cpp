#include "common/DataFolder.h"

#include <cstdlib>

namespace linkora {

std::filesystem::path DefaultDataFolder() {
  const auto set = [](const char* name) -> const char* {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
  };
  if (const char* dir = set("LINKORA_DATA_DIR")) {
    return dir;
  }
  if (const char* dir = set("XDG_DATA_HOME")) {
    return std::filesystem::path(dir) / "linkora";
  }
  if (const char* home = set("HOME")) {
    return std::filesystem::path(home) / ".local" / "share" / "linkora";
  }
  return std::filesystem::path(".linkora");
}

}  // namespace linkora
