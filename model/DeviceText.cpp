#include "model/DeviceText.h"

#include "model/TonraDoc.h"

#include <algorithm>

namespace model {

namespace {

constexpr char kBlank = ' ';
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';

template <typename Keep> std::string KeepTo(std::string_view text, int width, Keep keep) {
    std::string kept(text.substr(0, static_cast<std::size_t>(std::max(width, 0))));
    std::replace_if(
        kept.begin(), kept.end(), [&](char c) { return !keep(c); }, kBlank);
    return kept;
}

} // namespace

std::string KeepToDeviceChars(std::string_view text, int width) {
    return KeepTo(text, width,
                  [](char c) { return CTonraDoc::NameCharTable.find(c) != std::string_view::npos; });
}

std::string KeepToPrintable(std::string_view text, int width) {
    return KeepTo(text, width, [](char c) { return c >= kFirstPrintable && c <= kLastPrintable; });
}

} // namespace model
