#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/ImportReport.h"

namespace linkora {

class Phonebook;

// Adds the contacts of a vCard file (2.1, 3.0 or 4.0) to a phonebook. Each
// contact becomes an entry in the lowest free slot; a card written by
// VcardWriter goes back to its own slot (replacing what is there) and, in an
// empty phonebook, brings the group table with it, so such a file gives the
// same phonebook back byte for byte. Texts are cut to their fields in CP949,
// numbers keep their digits, a group is found by its name or takes a free
// group. Everything that did not fit as it was is noted in Report(), card by
// card. docs/formats.md lists the mapping.
class VcardReader {
 public:
  // Adds the contacts to `book`. A file that holds no vCard, or is too
  // large, is refused: false, errorString() says why, `book` is unchanged.
  bool Read(std::span<const std::uint8_t> bytes, Phonebook& book);
  bool Load(const std::filesystem::path& path, Phonebook& book);

  const ImportReport& Report() const { return report_; }
  const std::string& errorString() const { return error_; }

 private:
  ImportReport report_;
  std::string error_;
};

}  // namespace linkora
