#include "link/Protocol.h"

#include "model/ModelTypes.h"
#include "model/TonraDoc.h"

namespace devlink {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr int kNibbleBits = 4;
constexpr int kNibbleMask = 0xF;
constexpr int kHexLetterBase = 10;

const int kNameCharCount = static_cast<int>(CTonraDoc::NameCharTable.size());

int Nibble(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + kHexLetterBase;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + kHexLetterBase;
    }
    return 0;
}

// Offsets of the command frame.
constexpr int kCmdDeviceMaskAt = 1;
constexpr int kCmdCodeAt = 5;
constexpr int kCmdChannelAt = 7;
constexpr int kCmdIndexAt = 11;
constexpr int kCmdValueAt = 13;
constexpr int kCmdExtra1At = 17;
constexpr int kCmdExtra2At = 19;
constexpr int kCmdExtra3At = 21;
constexpr int kCmdChecksumAt = 23;

// Offsets of the reply frame.
constexpr int kReplyDeviceAt = 1;
constexpr int kReplyCodeAt = 3;
constexpr int kReplyIndexAt = 5;
constexpr int kReplySubIndexAt = 7;
constexpr int kReplyValueAt = 9;
constexpr int kReplyChecksumAt = 13;

int ByteAt(std::string_view chars, int at) {
    return HexPairToByte(chars[static_cast<std::size_t>(at)], chars[static_cast<std::size_t>(at) + 1]);
}

int WordAt(std::string_view chars, int at) { return ByteAt(chars, at) * 256 + ByteAt(chars, at + 2); }

// Appends the checksum of everything so far and the closing DC2.
void Seal(std::string& frame) {
    AppendHexByte(frame, static_cast<unsigned>(CharSum(frame)));
    frame += kDc2;
}

// A frame of `length` characters that opens with DC1, closes with DC2 and whose checksum at
// `checksumAt` matches the characters before it.
bool IsSealed(std::string_view chars, int length, int checksumAt) {
    if (static_cast<int>(chars.size()) < length || chars[0] != kDc1 ||
        chars[static_cast<std::size_t>(length) - 1] != kDc2) {
        return false;
    }
    return CharSum(chars.substr(0, static_cast<std::size_t>(checksumAt))) == ByteAt(chars, checksumAt);
}

} // namespace

char HexDigit(unsigned value, int position) {
    return kHexDigits[(value >> (kNibbleBits * position)) & kNibbleMask];
}

int HexPairToByte(char high, char low) { return (Nibble(high) << kNibbleBits) | Nibble(low); }

void AppendHexByte(std::string& text, unsigned value) {
    text += HexDigit(value, 1);
    text += HexDigit(value, 0);
}

void AppendHexWord(std::string& text, unsigned value) {
    for (int position = 3; position >= 0; --position) {
        text += HexDigit(value, position);
    }
}

int CharSum(std::string_view chars) {
    unsigned sum = 0;
    for (const char c : chars) {
        sum += static_cast<unsigned char>(c);
    }
    return static_cast<int>(sum & kByteMask);
}

int NameCodeToWire(int code) { return code >= 1 && code <= kNameCharCount ? code - 1 : 0; }

int WireToNameCode(int wireByte) {
    return wireByte >= 0 && wireByte < kNameCharCount ? wireByte + 1 : CTonraDoc::kBlankCode;
}

std::vector<int> EncodeWireName(const std::string& text, int length) {
    std::vector<int> wire = CTonraDoc::EncodeNameChars(text, length);
    for (int& code : wire) {
        code = NameCodeToWire(code);
    }
    return wire;
}

std::string DecodeWireName(std::span<const int> wireBytes) {
    std::vector<int> codes;
    codes.reserve(wireBytes.size());
    for (const int b : wireBytes) {
        codes.push_back(WireToNameCode(b));
    }
    return CTonraDoc::DecodeNameChars(codes);
}

std::string BuildCommandFrame(const CommandFrame& f) {
    std::string frame;
    frame.reserve(kCommandFrameLength);
    frame += kDc1;
    AppendHexWord(frame, static_cast<unsigned>(f.deviceMask));
    AppendHexByte(frame, static_cast<unsigned>(f.code));
    AppendHexWord(frame, static_cast<unsigned>(f.channel));
    AppendHexByte(frame, static_cast<unsigned>(f.index));
    AppendHexWord(frame, static_cast<unsigned>(f.value));
    AppendHexByte(frame, static_cast<unsigned>(f.extra1));
    AppendHexByte(frame, static_cast<unsigned>(f.extra2));
    AppendHexByte(frame, static_cast<unsigned>(f.extra3));
    Seal(frame);
    return frame;
}

std::optional<CommandFrame> ParseCommandFrame(std::string_view chars) {
    if (!IsSealed(chars, kCommandFrameLength, kCmdChecksumAt)) {
        return std::nullopt;
    }
    CommandFrame f;
    f.deviceMask = WordAt(chars, kCmdDeviceMaskAt);
    f.code = ByteAt(chars, kCmdCodeAt);
    f.channel = WordAt(chars, kCmdChannelAt);
    f.index = ByteAt(chars, kCmdIndexAt);
    f.value = WordAt(chars, kCmdValueAt);
    f.extra1 = ByteAt(chars, kCmdExtra1At);
    f.extra2 = ByteAt(chars, kCmdExtra2At);
    f.extra3 = ByteAt(chars, kCmdExtra3At);
    return f;
}

int DeviceBit(int device) { return device >= 0 && device < model::kDeviceCount ? 1 << device : 0; }

std::string BuildReplyFrame(const ReplyFrame& f) {
    std::string frame;
    frame.reserve(kReplyFrameLength);
    frame += kDc1;
    AppendHexByte(frame, static_cast<unsigned>(f.device));
    AppendHexByte(frame, static_cast<unsigned>(f.code));
    AppendHexByte(frame, static_cast<unsigned>(f.index));
    AppendHexByte(frame, static_cast<unsigned>(f.subIndex));
    AppendHexWord(frame, static_cast<unsigned>(f.value));
    Seal(frame);
    return frame;
}

std::optional<ReplyFrame> CheckReplyFrame(std::string_view chars) {
    if (!IsSealed(chars, kReplyFrameLength, kReplyChecksumAt)) {
        return std::nullopt;
    }
    ReplyFrame f;
    f.device = ByteAt(chars, kReplyDeviceAt);
    f.code = ByteAt(chars, kReplyCodeAt);
    f.index = ByteAt(chars, kReplyIndexAt);
    f.subIndex = ByteAt(chars, kReplySubIndexAt);
    f.value = WordAt(chars, kReplyValueAt);
    return f;
}

int PackMeterLevels(std::span<const int, kMetersPerGroup> levels) {
    int value = 0;
    for (const int level : levels) {
        value = (value << kNibbleBits) | (level & kNibbleMask);
    }
    return value;
}

int MeterLevelOf(int value, int position) {
    const int shift = kNibbleBits * (kMetersPerGroup - 1 - position);
    return (value >> shift) & kNibbleMask;
}

} // namespace devlink
