#pragma once

#include <string>
#include <string_view>

namespace linkora::cli {

// Terminal cells a UTF-8 text takes: two for Hangul and the other wide East
// Asian characters, none for combining marks, one otherwise.
int DisplayWidth(std::string_view utf8);

// The text padded with spaces to `cells` cells (never cut).
std::string PadToWidth(std::string_view utf8, int cells);

// The text cut to at most `cells` cells, on a character boundary.
std::string CutToWidth(std::string_view utf8, int cells);

}  // namespace linkora::cli
