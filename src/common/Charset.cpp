#include "common/Charset.h"

#include <algorithm>
#include <cctype>

#include "common/Iconv.h"

namespace linkora {

std::optional<std::string> CharsetToUtf8(std::string_view charset,
                                         std::span<const std::uint8_t> bytes) {
  // A name comes from a file: only what charset names are made of reaches iconv.
  if (charset.empty() || charset.size() > 40 ||
      !std::all_of(charset.begin(), charset.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' ||
               c == '.' || c == ':';
      })) {
    return std::nullopt;
  }
  std::string name(charset);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  // Windows calls its Korean code page by the name of the older standard.
  if (name == "KS_C_5601-1987" || name == "KS_C_5601" || name == "UHC") {
    name = "CP949";
  }
  Iconv converter("UTF-8", name.c_str());
  if (!converter.ok()) {
    return std::nullopt;
  }
  std::string out;
  const char* in = reinterpret_cast<const char*>(bytes.data());
  std::size_t left = bytes.size();
  if (converter.Run(in, left, out) != 0) {
    return std::nullopt;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  return CharsetToUtf8("UTF-8",
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))
      .has_value();
}

}  // namespace linkora
