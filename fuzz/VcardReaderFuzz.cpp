// Feeds arbitrary bytes to the vCard reader: into an empty phonebook and into
// one in use, and writes what came in back out.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "phonebook/Phonebook.h"
#include "phonebook/VcardReader.h"
#include "phonebook/VcardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  auto book = std::make_unique<linkora::Phonebook>();
  linkora::VcardReader reader;
  if (reader.Read(bytes, *book)) {
    linkora::VcardWriter().Write(*book);
    // A second read fills the phonebook further; nothing may run past a record.
    reader.Read(bytes, *book);
  }
  return 0;
}
