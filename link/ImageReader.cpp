#include "link/ImageReader.h"

#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <vector>

char CImageReader::CharAt(int position) const {
    return position >= 0 && position < static_cast<int>(image_.size())
               ? image_[static_cast<std::size_t>(position)]
               : '0';
}

int CImageReader::ReadByte() {
    const int value = devlink::HexPairToByte(CharAt(position_), CharAt(position_ + 1));
    position_ += 2;
    return value;
}

int CImageReader::ReadWord() {
    const int high = ReadByte();
    return high * devlink::kByteValues + ReadByte();
}

int CImageReader::ReadNameChar() { return devlink::WireToNameCode(ReadByte()); }

std::string CImageReader::ReadName(int length) {
    std::vector<int> codes;
    for (int i = 0; i < length; ++i) {
        codes.push_back(ReadNameChar());
    }
    return CTonraDoc::DecodeNameChars(codes);
}
