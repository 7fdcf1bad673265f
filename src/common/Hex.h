#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace linkora {

// Bytes as lower-case hex digits, two per byte, nothing between them
// ("7e0078"): the raw records of the emulator's state and of the JSON output.
std::string ToHex(std::span<const std::uint8_t> bytes);

// Hex digits back to bytes (either case; spaces, tabs and line breaks
// allowed between digits). False on any other character or an odd digit count.
bool ParseHex(std::string_view text, std::vector<std::uint8_t>& bytes);

}  // namespace linkora
