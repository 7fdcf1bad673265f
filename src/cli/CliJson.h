#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "common/Cp949.h"
#include "common/Hex.h"

namespace linkora::cli {

// A CP949 text of a record as UTF-8 for printing.
inline std::string Utf8Text(std::span<const std::uint8_t> cp949Bytes) {
  return cp949::ToUtf8(cp949Bytes);
}

// A CP949 text of a record in JSON: its UTF-8 reading (invalid bytes show as
// U+FFFD); the record's raw hex keeps the bytes themselves.
inline nlohmann::json TextJson(std::span<const std::uint8_t> cp949Bytes) {
  return Utf8Text(cp949Bytes);
}

}  // namespace linkora::cli
