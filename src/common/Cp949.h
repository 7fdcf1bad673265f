#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Conversion between the handset's CP949 bytes and the UTF-8 text the rest of
// the program works in. Bytes that came from the handset or a file are only
// ever decoded for display; they are re-encoded only when the user edits them.
namespace linkora::cp949 {

// Decodes CP949 bytes. An invalid or truncated sequence becomes U+FFFD and
// decoding goes on with the next byte, so nothing after it is lost.
std::string ToUtf8(std::span<const std::uint8_t> bytes);

// Decodes a fixed-width text field: the text ends at the first zero byte or
// at the end of the field, whichever comes first.
std::string FieldToUtf8(std::span<const std::uint8_t> field);

// Encodes UTF-8 text. Gives nothing when the text is not valid UTF-8 or holds
// a character that CP949 cannot hold (the caller refuses such an edit).
std::optional<std::vector<std::uint8_t>> FromUtf8(std::string_view utf8);

// Number of bytes the text takes in CP949, or nothing when it cannot be encoded.
std::optional<std::size_t> EncodedLength(std::string_view utf8);

}  // namespace linkora::cp949
