#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>

namespace linkora {

// Owns one iconv conversion descriptor: the one way the core converts
// between character sets.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) {
      iconv_close(cd_);
    }
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + inLeft) as it can into out. Returns the
  // errno of the stop (0 when everything was converted).
  int Run(const char*& in, std::size_t& inLeft, std::string& out);

 private:
  iconv_t cd_;
};

}  // namespace linkora
