#pragma once

#include <string>

namespace linkora::cli {

// The "Port" value the desktop program stored in its profile (section
// "Norvane Linkora"), or 0 when the file, the section or the key is missing.
int ReadProfilePort(const std::string& profilePath);

}  // namespace linkora::cli
