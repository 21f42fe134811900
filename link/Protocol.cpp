#include "link/Protocol.h"

#include "model/ModelTypes.h"
#include "model/TonraDoc.h"

#include <array>

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

constexpr int kByteDigits = 2;
constexpr int kWordDigits = 4;

// One field of a frame: where its value lives and how many digits it takes. A frame is DC1,
// its fields in table order, the checksum of everything before it, and DC2.
template <typename Frame> struct FrameField {
    int Frame::*member;
    int digits;
};

constexpr std::array<FrameField<CommandFrame>, 8> kCommandFields = {{
    {&CommandFrame::deviceMask, kWordDigits},
    {&CommandFrame::code, kByteDigits},
    {&CommandFrame::channel, kWordDigits},
    {&CommandFrame::index, kByteDigits},
    {&CommandFrame::value, kWordDigits},
    {&CommandFrame::extra1, kByteDigits},
    {&CommandFrame::extra2, kByteDigits},
    {&CommandFrame::extra3, kByteDigits},
}};

constexpr std::array<FrameField<ReplyFrame>, 5> kReplyFields = {{
    {&ReplyFrame::device, kByteDigits},
    {&ReplyFrame::code, kByteDigits},
    {&ReplyFrame::index, kByteDigits},
    {&ReplyFrame::subIndex, kByteDigits},
    {&ReplyFrame::value, kWordDigits},
}};

int ByteAt(std::string_view chars, std::size_t at) { return HexPairToByte(chars[at], chars[at + 1]); }

template <typename Frame, std::size_t N>
std::string BuildFrame(const Frame& frame, const std::array<FrameField<Frame>, N>& fields, int length) {
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    text += kDc1;
    for (const FrameField<Frame>& field : fields) {
        const unsigned value = static_cast<unsigned>(frame.*field.member);
        field.digits == kWordDigits ? AppendHexWord(text, value) : AppendHexByte(text, value);
    }
    AppendHexByte(text, static_cast<unsigned>(CharSum(text)));
    text += kDc2;
    return text;
}

// The frame at the front of `chars` when it opens with DC1, closes with DC2 at `length` - 1
// and carries the checksum of the characters before it; nothing otherwise.
template <typename Frame, std::size_t N>
std::optional<Frame> ParseFrame(std::string_view chars, const std::array<FrameField<Frame>, N>& fields,
                                int length) {
    const std::size_t size = static_cast<std::size_t>(length);
    const std::size_t checksumAt = size - 1 - kByteDigits;
    if (chars.size() < size || chars[0] != kDc1 || chars[size - 1] != kDc2 ||
        CharSum(chars.substr(0, checksumAt)) != ByteAt(chars, checksumAt)) {
        return std::nullopt;
    }
    Frame frame;
    std::size_t at = 1;
    for (const FrameField<Frame>& field : fields) {
        frame.*field.member = field.digits == kWordDigits
                                  ? ByteAt(chars, at) * kByteValues + ByteAt(chars, at + kByteDigits)
                                  : ByteAt(chars, at);
        at += static_cast<std::size_t>(field.digits);
    }
    return frame;
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

std::string BuildCommandFrame(const CommandFrame& frame) {
    return BuildFrame(frame, kCommandFields, kCommandFrameLength);
}

std::optional<CommandFrame> ParseCommandFrame(std::string_view chars) {
    return ParseFrame(chars, kCommandFields, kCommandFrameLength);
}

int DeviceBit(int device) { return device >= 0 && device < model::kDeviceCount ? 1 << device : 0; }

std::string BuildReplyFrame(const ReplyFrame& frame) {
    return BuildFrame(frame, kReplyFields, kReplyFrameLength);
}

std::optional<ReplyFrame> CheckReplyFrame(std::string_view chars) {
    return ParseFrame(chars, kReplyFields, kReplyFrameLength);
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
