// Numbers typed into fields: the whole text must be the number, blanks around it allowed.
// "12abc", "" and "1e" are not numbers; the decimal point is "." or ",", so "2,5" is 2.5.
#pragma once

#include <optional>
#include <string>

namespace framework {

std::optional<int> ParseInteger(const std::string& text);
std::optional<double> ParseDecimal(const std::string& text);

} // namespace framework
