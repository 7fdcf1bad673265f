#include "shell/HandsetLibraryFactory.h"

#include "tarvio/SerialHandsetLibrary.h"

namespace linkora {

std::unique_ptr<HandsetLibrary> CreateHandsetLibrary() {
  return std::make_unique<SerialHandsetLibrary>();
}

}  // namespace linkora
