#include "common/Iconv.h"

#include <cerrno>

namespace linkora {

int Iconv::Run(const char*& in, std::size_t& inLeft, std::string& out) {
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

}  // namespace linkora
