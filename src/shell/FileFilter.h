#pragma once

#include <string>
#include <string_view>

namespace linkora {

// The file dialogs take filters as "description (*.a *.b)", several joined
// by ";;". The program's texts keep them as "description|patterns|...||"
// pairs with the patterns separated by ';'. An entry without a description
// or without patterns ends the filter.
std::string DialogFilter(std::string_view pairs);

}  // namespace linkora
