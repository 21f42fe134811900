#include "link/BulkTransfer.h"

#include "link/Protocol.h"

#include <array>

namespace devlink {

namespace {

struct TransferKind {
    TransferMode mode;
    char letter;
    int blocks;
    bool deviceSends;
};

// The four transfers in the order of their mode numbers.
constexpr std::array<TransferKind, 4> kTransfers = {{
    {TransferMode::Sync, '<', kSyncBlocks, true},
    {TransferMode::DownSync, '>', kDownSyncBlocks, false},
    {TransferMode::Upload, 'U', kProgramImageBlocks, true},
    {TransferMode::Download, 'D', kProgramImageBlocks, false},
}};

const TransferKind* KindOf(TransferMode mode) {
    for (const TransferKind& kind : kTransfers) {
        if (kind.mode == mode) {
            return &kind;
        }
    }
    return nullptr;
}

constexpr std::size_t kHeaderLength = kBlockHeader.size();
constexpr std::size_t kChecksumAt = kHeaderLength + kBlockChars;
constexpr std::size_t kTrailerAt = kChecksumAt + kBlockChecksumChars;
constexpr char kPadChar = '0';

} // namespace

char ModeLetter(TransferMode mode) {
    const TransferKind* kind = KindOf(mode);
    return kind ? kind->letter : '\0';
}

std::optional<TransferMode> ModeOfLetter(char letter) {
    for (const TransferKind& kind : kTransfers) {
        if (kind.letter == letter) {
            return kind.mode;
        }
    }
    return std::nullopt;
}

int TransferBlockCount(TransferMode mode) {
    const TransferKind* kind = KindOf(mode);
    return kind ? kind->blocks : 0;
}

bool DeviceSends(TransferMode mode) {
    const TransferKind* kind = KindOf(mode);
    return kind && kind->deviceSends;
}

std::string StartSequence(TransferMode mode) {
    std::string start(kStartSequence);
    start += ModeLetter(mode);
    return start;
}

bool FindToken(std::string& buffer, std::string_view token) {
    // Dropping the leading characters in one go is the same as dropping them one by one.
    std::size_t skip = 0;
    while (buffer.size() - skip >= token.size()) {
        if (std::string_view(buffer).substr(skip, token.size()) == token) {
            buffer.erase(0, skip + token.size());
            return true;
        }
        ++skip;
    }
    buffer.erase(0, skip);
    return false;
}

int BlockChecksum(std::string_view chars) { return CharSum(chars); }

std::string BuildBlock(std::string_view image, int block) {
    const std::size_t from = static_cast<std::size_t>(block) * kBlockChars;
    std::string data(from < image.size() ? image.substr(from, kBlockChars) : std::string_view());
    data.resize(kBlockChars, kPadChar);
    std::string frame(kBlockHeader);
    frame.reserve(kBlockFrameLength);
    frame += data;
    AppendHexByte(frame, static_cast<unsigned>(BlockChecksum(data)));
    frame += kBlockTrailer;
    return frame;
}

std::optional<std::string_view> CheckBlock(std::string_view chars) {
    if (chars.size() < static_cast<std::size_t>(kBlockFrameLength) || !chars.starts_with(kBlockHeader) ||
        chars.substr(kTrailerAt, kBlockTrailer.size()) != kBlockTrailer) {
        return std::nullopt;
    }
    const std::string_view data = chars.substr(kHeaderLength, kBlockChars);
    if (BlockChecksum(data) != HexPairToByte(chars[kChecksumAt], chars[kChecksumAt + 1])) {
        return std::nullopt;
    }
    return data;
}

} // namespace devlink
