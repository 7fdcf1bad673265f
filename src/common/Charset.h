#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace linkora {

// Text in a named character set ("UTF-8", "EUC-KR", "ISO-8859-1", "UTF-16",
// any name iconv knows) as UTF-8. Gives nothing for an unknown or malformed
// name, or bytes that are not valid in that set.
std::optional<std::string> CharsetToUtf8(std::string_view charset,
                                         std::span<const std::uint8_t> bytes);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace linkora
