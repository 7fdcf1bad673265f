#pragma once

#include <memory>

#include "link/HandsetLibrary.h"

namespace linkora {

// The handset library the desktop program talks through.
std::unique_ptr<HandsetLibrary> CreateHandsetLibrary();

}  // namespace linkora
