#include "common/Cp949.h"

#include "common/Iconv.h"

namespace linkora::cp949 {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

std::string ToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  Iconv converter("UTF-8", "CP949");
  if (!converter.ok()) {
    return out;
  }
  const char* in = reinterpret_cast<const char*>(bytes.data());
  std::size_t left = bytes.size();
  while (left > 0) {
    const int error = converter.Run(in, left, out);
    if (error == 0) {
      break;
    }
    // EILSEQ: an invalid sequence; EINVAL: a lead byte cut off at the end.
    // Either way one byte is replaced and decoding goes on after it.
    out.append(kReplacement);
    if (left == 0) {
      break;
    }
    ++in;
    --left;
  }
  return out;
}

std::string FieldToUtf8(std::span<const std::uint8_t> field) {
  std::size_t length = 0;
  while (length < field.size() && field[length] != 0) {
    ++length;
  }
  return ToUtf8(field.first(length));
}

std::optional<std::vector<std::uint8_t>> FromUtf8(std::string_view utf8) {
  Iconv converter("CP949", "UTF-8");
  if (!converter.ok()) {
    return std::nullopt;
  }
  std::string out;
  const char* in = utf8.data();
  std::size_t left = utf8.size();
  if (converter.Run(in, left, out) != 0) {
    return std::nullopt;
  }
  return std::vector<std::uint8_t>(out.begin(), out.end());
}

std::optional<std::size_t> EncodedLength(std::string_view utf8) {
  const auto bytes = FromUtf8(utf8);
  if (!bytes) {
    return std::nullopt;
  }
  return bytes->size();
}

}  // namespace linkora::cp949
