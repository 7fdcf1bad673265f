// Feeds arbitrary bytes to the backup manifest reader; what it takes is
// written out and must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "backup/BackupManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto manifest = linkora::BackupManifest::FromJson(std::span(data, size), &why);
  if (manifest) {
    const std::string again = manifest->ToJson();
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(again.data()), again.size());
    if (!linkora::BackupManifest::FromJson(bytes, &why)) {
      std::abort();  // we wrote what we cannot read
    }
  }
  return 0;
}
