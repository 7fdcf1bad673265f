#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace linkora {

class Phonebook;

// Writes the used entries of a phonebook as vCard 3.0 (one card per entry,
// in slot order): UTF-8, CRLF, folded at 75 octets, escaped values. What a
// vCard has no property for (slot, ringtone code, avatar, lock mark, group
// index, the group table, and the raw record where its bytes would not come
// back from the text) goes into X-LINKORA- properties, so VcardReader gives
// the same records back. docs/formats.md lists the mapping.
class VcardWriter {
 public:
  // The file's text for every used entry.
  std::string Write(const Phonebook& book);
  // Writes the file atomically; false (errorString says why) when it cannot.
  bool Save(const std::filesystem::path& path, const Phonebook& book);

  // Cards written by the last Write or Save.
  int WrittenCount() const { return written_; }
  const std::string& errorString() const { return error_; }

 private:
  int written_ = 0;
  std::string error_;
};

// Escapes a text value: backslash, comma, semicolon and line breaks.
std::string EscapeVcardText(std::string_view text);

// One content line with its CRLF, folded so that no line exceeds 75 octets
// and no UTF-8 character is split.
std::string FoldVcardLine(std::string_view line);

}  // namespace linkora
