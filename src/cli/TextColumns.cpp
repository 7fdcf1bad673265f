#include "cli/TextColumns.h"

#include <cstdint>

namespace linkora::cli {
namespace {

// One UTF-8 character at `i`: its code point and length (a bad byte counts
// as one character of one byte).
char32_t Decode(std::string_view text, std::size_t i, std::size_t& length) {
  const auto byte = static_cast<unsigned char>(text[i]);
  length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
  if (i + length > text.size()) {
    length = 1;
    return byte;
  }
  if (length == 1) {
    return byte;
  }
  char32_t code = byte & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
  }
  return code;
}

int CellsOf(char32_t c) {
  if (c == 0 || (c >= 0x300 && c <= 0x36F) || (c >= 0x1160 && c <= 0x11FF) || c == 0x200B) {
    return 0;
  }
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                    (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                    (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA960 && c <= 0xA97F) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                    (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
  return wide ? 2 : 1;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int cells = 0;
  for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
    cells += CellsOf(Decode(utf8, i, length));
  }
  return cells;
}

std::string PadToWidth(std::string_view utf8, int cells) {
  std::string padded(utf8);
  const int width = DisplayWidth(utf8);
  if (width < cells) {
    padded.append(static_cast<std::size_t>(cells - width), ' ');
  }
  return padded;
}

std::string CutToWidth(std::string_view utf8, int cells) {
  int used = 0;
  std::size_t i = 0;
  for (std::size_t length = 0; i < utf8.size(); i += length) {
    const int next = CellsOf(Decode(utf8, i, length));
    if (used + next > cells) {
      break;
    }
    used += next;
  }
  return std::string(utf8.substr(0, i));
}

}  // namespace linkora::cli
