#include "common/Cp949.h"

#include <iconv.h>

#include <cerrno>

namespace linkora::cp949 {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Owns one iconv conversion descriptor.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) {
      iconv_close(cd_);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + inLeft) as it can into out. Returns the
  // errno of the stop (0 when everything was converted).
  int Run(const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[256];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      // iconv's input is declared non-const but is only read.
      char* src = const_cast<char*>(in);
      const std::size_t rc = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
      const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
      in = src;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (error == E2BIG) {
        continue;
      }
      if (error != 0) {
        return error;
      }
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string ToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  Converter converter("UTF-8", "CP949");
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
  Converter converter("CP949", "UTF-8");
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
