// CArchiveReader reads the document's binary files: 32-bit little-endian integers and texts
// with a length prefix. It never reads beyond the bytes it was given and never makes a text
// longer than the bytes that are left: the first read that does not fit marks the reader as
// failed, and every read after that leaves its target alone.
#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <string>

class CArchiveReader {
public:
    explicit CArchiveReader(QByteArrayView bytes) : bytes_(bytes) {}

    void Int(int& value);
    // A length-prefixed text: a length byte below 255, or 0xFF and a 16-bit length below
    // 0xFFFF, or 0xFF, 0xFFFF and a 32-bit length; 0xFF 0xFFFE before the length announces
    // 16-bit characters, which become 8-bit text. `width` is the width the writer pads to;
    // the reader takes a text of any length.
    void Text(std::string& text, int width);

    qsizetype Position() const { return position_; }
    void Seek(qsizetype position) { position_ = position; }
    bool Failed() const { return !problem_.empty(); }
    // Why reading failed, as a sentence; empty while it has not.
    const std::string& Problem() const { return problem_; }

private:
    // The next `count` bytes, or false (and failed) when fewer are left.
    bool Take(qsizetype count, QByteArrayView& taken);
    bool Unsigned(qsizetype size, std::uint64_t& value);
    // A length byte below 255, or 255 and a 16-bit length.
    bool ShortLength(std::uint64_t& length);
    // The character count of a text and whether its characters are 16-bit.
    bool TextLength(std::uint64_t& length, bool& wide);
    void Fail(const std::string& problem);

    QByteArrayView bytes_;
    qsizetype position_ = 0;
    std::string problem_;
};
