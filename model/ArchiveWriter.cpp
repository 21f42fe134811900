#include "model/ArchiveWriter.h"

#include "model/SetupFile.h"

#include <cstdint>

namespace {
constexpr int kIntSize = 4;
constexpr int kLongestShortText = 254; // a length byte of 255 announces a longer form
} // namespace

void CArchiveWriter::Int(int value) {
    auto raw = static_cast<std::uint32_t>(value);
    for (int i = 0; i < kIntSize; ++i, raw >>= 8) {
        bytes_.append(static_cast<char>(raw & 0xFF));
    }
}

void CArchiveWriter::Text(const std::string& text, int width) {
    Q_ASSERT(width >= 0 && width <= kLongestShortText);
    const std::string padded = model::PadText(text, width);
    bytes_.append(static_cast<char>(width));
    bytes_.append(padded.data(), static_cast<qsizetype>(padded.size()));
}
