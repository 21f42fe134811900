// CArchiveWriter builds the bytes of the document's binary files: 32-bit little-endian
// integers and texts padded or cut to a fixed width behind a one-byte length.
#pragma once

#include <QByteArray>

#include <string>

class CArchiveWriter {
public:
    void Int(int value);
    // `text` padded with blanks or cut to `width` characters (below 255), after a length byte.
    void Text(const std::string& text, int width);

    const QByteArray& Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};
