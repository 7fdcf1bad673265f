#pragma once

#include <filesystem>

namespace linkora {

// Where the program keeps what it makes for the user by itself (safety
// copies, backups): $LINKORA_DATA_DIR when set, else $XDG_DATA_HOME/linkora,
// else ~/.local/share/linkora.
std::filesystem::path DefaultDataFolder();

}  // namespace linkora
