#include "framework/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace framework {

namespace {

// The text without blanks around it, and without a leading "+" (from_chars takes only "-").
std::string_view NumberPart(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    std::string_view part(text.data() + first, text.find_last_not_of(' ') + 1 - first);
    if (part.front() == '+' && part.size() > 1 && part[1] != '-') {
        part.remove_prefix(1);
    }
    return part;
}

template <typename Number> std::optional<Number> ParseWhole(const std::string& text) {
    const std::string_view part = NumberPart(text);
    Number value{};
    const char* end = part.data() + part.size();
    const auto [stop, error] = std::from_chars(part.data(), end, value);
    if (part.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> ParseInteger(const std::string& text) { return ParseWhole<int>(text); }

std::optional<double> ParseDecimal(const std::string& text) {
    std::string withPoint = text;
    std::replace(withPoint.begin(), withPoint.end(), ',', '.');
    const std::optional<double> value = ParseWhole<double>(withPoint);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

} // namespace framework
