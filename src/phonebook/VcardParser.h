#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace linkora {

// One property line of a vCard after unfolding and decoding: `item1.TEL;
// TYPE=CELL:+82 10-1234-5678` gives group "item1", name "TEL", the parameter
// TYPE=CELL and the value. Names are upper case; the value is UTF-8 with the
// vCard escapes (\, \; \n) still in it.
struct VcardProperty {
  std::string group;
  std::string name;
  std::vector<std::pair<std::string, std::string>> params;  // upper-case names
  std::string value;

  // Every TYPE value in upper case: TYPE=a,b, TYPE="a,b", repeated TYPE
  // parameters and the bare words of vCard 2.1 (TEL;CELL;PREF).
  std::vector<std::string> Types() const;
  bool HasType(std::string_view type) const;
  // The value of a parameter, empty when it is absent.
  std::string Param(std::string_view name) const;
  // The value without its escapes.
  std::string Text() const;
  // A structured value (N) or a list (CATEGORIES) split at its unescaped
  // separators, each part without its escapes.
  std::vector<std::string> Parts(char separator) const;
};

struct Vcard {
  std::vector<VcardProperty> properties;
};

// The syntax of vCard 2.1, 3.0 and 4.0 files as common programs write them:
// folded lines (CRLF or LF), quoted-printable values with soft line breaks,
// CHARSET parameters, grouped properties, a UTF-8 or UTF-16 byte order mark.
// Values without a CHARSET are UTF-8; bytes that are not are read as CP949,
// as older Korean programs wrote them. Knows nothing of the phonebook.
class VcardParser {
 public:
  static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;
  // A longer logical line (a large photo) is left out; the rest is read.
  static constexpr std::size_t kMaxLineLength = 256 * 1024;
  static constexpr std::size_t kMaxCards = 10000;

  // False when the bytes hold no vCard at all, or too many bytes.
  bool Parse(std::span<const std::uint8_t> bytes);

  const std::vector<Vcard>& Cards() const { return cards_; }
  const std::string& errorString() const { return error_; }

 private:
  std::vector<Vcard> cards_;
  std::string error_;
};

// Unescapes a vCard text value: \\ \, \; \: and \n (or \N) as a line break.
std::string UnescapeVcardText(std::string_view value);

}  // namespace linkora
