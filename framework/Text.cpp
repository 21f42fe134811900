#include "framework/Text.h"

namespace {

// The stand-in of byte b (0x80 .. 0xFF) is U+DC00 + b: a lone low surrogate, which no valid
// UTF-8 text can contain, so it never meets a real character.
constexpr char16_t kStandInBase = 0xDC00;
constexpr char16_t kFirstStandIn = 0xDC80;
constexpr char16_t kLastStandIn = 0xDCFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
std::size_t ValidSequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t left = text.size() - at;
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80; // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i))) {
            return 0;
        }
    }
    return length;
}

} // namespace

QString ToQString(const std::string& text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    std::size_t runStart = 0;
    const auto flushRun = [&](std::size_t end) {
        result += QString::fromUtf8(text.data() + runStart, static_cast<qsizetype>(end - runStart));
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = ValidSequenceAt(text, at);
        if (length > 0) {
            at += length;
            continue;
        }
        flushRun(at);
        result += QChar(static_cast<char16_t>(kStandInBase + static_cast<unsigned char>(text[at])));
        runStart = ++at;
    }
    flushRun(at);
    return result;
}

std::string FromQString(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) { result += text.mid(runStart, end - runStart).toStdString(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool paired = i > 0 && text.at(i - 1).isHighSurrogate();
        if (unit >= kFirstStandIn && unit <= kLastStandIn && !paired) {
            flushRun(i);
            result += static_cast<char>(unit - kStandInBase);
            runStart = i + 1;
        }
    }
    flushRun(text.size());
    return result;
}

QString ToDisplayString(const std::string& text) {
    QString shown = ToQString(text);
    for (QChar& c : shown) {
        if (c.unicode() >= kFirstStandIn && c.unicode() <= kLastStandIn) {
            c = QChar(static_cast<char16_t>(c.unicode() - kStandInBase));
        }
    }
    return shown;
}
