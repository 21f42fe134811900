#include "link/ImageWriter.h"

#include "link/Protocol.h"

void CImageWriter::Put(char c) {
    if (position_ >= 0 && position_ < static_cast<int>(image_.size())) {
        image_[static_cast<std::size_t>(position_)] = c;
    }
    ++position_;
}

void CImageWriter::WriteByte(int value) {
    Put(devlink::HexDigit(static_cast<unsigned>(value), 1));
    Put(devlink::HexDigit(static_cast<unsigned>(value), 0));
}

void CImageWriter::WriteWord(int value) {
    const int word = value & devlink::kWordMask;
    WriteByte(word / devlink::kByteValues);
    WriteByte(word % devlink::kByteValues);
}

void CImageWriter::WriteNameChar(int code) { WriteByte(devlink::NameCodeToWire(code)); }

void CImageWriter::WriteName(const std::string& text, int length) {
    for (const int wire : devlink::EncodeWireName(text, length)) {
        WriteByte(wire);
    }
}

void CImageWriter::FillTo(int chars, int value) {
    if (chars <= 0 || position_ < 0) {
        return;
    }
    const int end = (position_ + chars - 1) / chars * chars;
    while (position_ < end) {
        WriteByte(value);
    }
}
