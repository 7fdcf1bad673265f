#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace linkora {

// SHA-256 of a byte string, for the checksums a backup's manifest lists.
std::array<std::uint8_t, 32> Sha256(std::span<const std::uint8_t> bytes);

// The same as 64 lower-case hex digits.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace linkora
