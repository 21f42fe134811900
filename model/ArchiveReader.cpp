#include "model/ArchiveReader.h"

#include "framework/Format.h"

namespace {

constexpr qsizetype kIntSize = 4;
constexpr qsizetype kWideCharSize = 2;
constexpr std::uint64_t kLongerByteLength = 0xFF;
constexpr std::uint64_t kWideMarker = 0xFFFE;
constexpr std::uint64_t kLongerWordLength = 0xFFFF;
constexpr char kUnmappedChar = '?';
constexpr unsigned kLastNarrowChar = 0xFF;

} // namespace

bool CArchiveReader::Take(qsizetype count, QByteArrayView& taken) {
    if (Failed()) {
        return false;
    }
    if (count > bytes_.size() - position_) {
        Fail(Format("The file ends at byte %lld, before all of its settings were read.",
                    static_cast<long long>(bytes_.size())));
        return false;
    }
    taken = bytes_.sliced(position_, count);
    position_ += count;
    return true;
}

bool CArchiveReader::Unsigned(qsizetype size, std::uint64_t& value) {
    QByteArrayView taken;
    if (!Take(size, taken)) {
        return false;
    }
    value = 0;
    for (qsizetype i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(taken[i]);
    }
    return true;
}

void CArchiveReader::Int(int& value) {
    std::uint64_t raw = 0;
    if (Unsigned(kIntSize, raw)) {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    }
}

bool CArchiveReader::ShortLength(std::uint64_t& length) {
    return Unsigned(1, length) && (length < kLongerByteLength || Unsigned(2, length));
}

bool CArchiveReader::TextLength(std::uint64_t& length, bool& wide) {
    wide = false;
    if (!ShortLength(length)) {
        return false;
    }
    if (length == kWideMarker) {
        wide = true;
        if (!ShortLength(length)) {
            return false;
        }
    }
    return length < kLongerWordLength || Unsigned(kIntSize, length);
}

void CArchiveReader::Text(std::string& text, int /*width*/) {
    const qsizetype start = position_;
    std::uint64_t length = 0;
    bool wide = false;
    if (!TextLength(length, wide)) {
        return;
    }
    // Checked against what is left before anything is taken: a damaged length cannot make
    // the reader ask for more memory than the file holds.
    const std::uint64_t byteCount = length * (wide ? kWideCharSize : 1);
    if (byteCount > static_cast<std::uint64_t>(bytes_.size() - position_)) {
        Fail(Format("The text at byte %lld is longer than the rest of the file.",
                    static_cast<long long>(start)));
        return;
    }
    QByteArrayView taken;
    Take(static_cast<qsizetype>(byteCount), taken);
    if (!wide) {
        text.assign(taken.data(), static_cast<std::size_t>(taken.size()));
        return;
    }
    text.clear();
    text.reserve(static_cast<std::size_t>(length));
    for (qsizetype i = 0; i < taken.size(); i += kWideCharSize) {
        const unsigned unit = static_cast<std::uint8_t>(taken[i]) | static_cast<std::uint8_t>(taken[i + 1])
                                                                        << 8;
        text += unit <= kLastNarrowChar ? static_cast<char>(unit) : kUnmappedChar;
    }
}

void CArchiveReader::Fail(const std::string& problem) {
    if (!Failed()) {
        problem_ = problem;
    }
}
