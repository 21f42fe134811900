#include "sim/SimSession.h"

#include "sim/SimDevice.h"

#include <array>
#include <random>

using namespace devlink;

namespace sim {

namespace {

constexpr std::size_t kReplyChecksumAt = 13;
constexpr std::size_t kBlockChecksumAt = kBlockHeader.size() + kBlockChars;
constexpr std::size_t kBlockTrailerAt = kBlockChecksumAt + kBlockChecksumChars;
constexpr int kMaxJunk = 8;
constexpr std::array<std::string_view, 3> kTokens = {kAckToken, kBlockHeader, kStartSequence};

bool IsReceiving(TransferMode mode) { return mode != TransferMode::Idle && !DeviceSends(mode); }

} // namespace

CSimSession::CSimSession(CSimDevice& device, const SimFaults& faults) : device_(device), faults_(faults) {}

void CSimSession::Receive(std::string_view chars) {
    input_.append(chars);
    while (parsed_ < input_.size() && ParseOne()) {
    }
    input_.erase(0, parsed_);
    parsed_ = 0;
    if (input_.size() > kInputLimit) {
        input_.erase(0, input_.size() - kInputLimit);
    }
}

void CSimSession::Drop(std::size_t count) { parsed_ = std::min(parsed_ + count, input_.size()); }

bool CSimSession::ParseOne() {
    const std::string_view rest = std::string_view(input_).substr(parsed_);
    switch (rest.front()) {
    case kDc1:
        return ParseFrame(rest);
    case kTokenLead:
        return ParseToken(rest);
    default:
        Drop(1);
        return true;
    }
}

bool CSimSession::ParseFrame(std::string_view rest) {
    if (rest.size() < static_cast<std::size_t>(kCommandFrameLength)) {
        return false;
    }
    const std::optional<CommandFrame> frame = ParseCommandFrame(rest);
    if (!frame) {
        ++framesRejected_;
        Drop(1);
        return true;
    }
    Drop(kCommandFrameLength);
    HandleCommand(*frame);
    return true;
}

bool CSimSession::ParseToken(std::string_view rest) {
    if (rest.starts_with(kAckToken)) {
        Drop(kAckToken.size());
        Acknowledged();
        return true;
    }
    if (rest.starts_with(kBlockHeader)) {
        if (rest.size() < static_cast<std::size_t>(kBlockFrameLength)) {
            return false;
        }
        ReceiveBlock(rest);
        return true;
    }
    if (rest.starts_with(kStartSequence)) {
        if (rest.size() < static_cast<std::size_t>(kStartLength)) {
            return false;
        }
        const std::optional<TransferMode> mode = ModeOfLetter(rest[kStartSequence.size()]);
        Drop(kStartLength);
        if (mode && armed_) {
            StartTransfer(*mode);
        }
        armed_ = false;
        return true;
    }
    for (const std::string_view token : kTokens) {
        if (rest.size() < token.size() && token.starts_with(rest)) {
            return false;
        }
    }
    Drop(1);
    return true;
}

void CSimSession::HandleCommand(const CommandFrame& frame) {
    if (!device_.IsAddressed(frame)) {
        return;
    }
    // A command in the middle of a transfer means the program gave the transfer up.
    mode_ = TransferMode::Idle;
    if (frame.code == kCmdBeginTransfer) {
        armed_ = true;
        return;
    }
    armed_ = false;
    SendReply(device_.Apply(frame));
}

void CSimSession::StartTransfer(TransferMode mode) {
    mode_ = mode;
    block_ = 0;
    SendToken(kAckToken);
    if (DeviceSends(mode)) {
        image_ = mode == TransferMode::Sync ? device_.SyncImage() : device_.ProgramImage();
        SendBlock();
    } else {
        image_.assign(static_cast<std::size_t>(TransferBlockCount(mode)) * kBlockChars, '0');
    }
}

void CSimSession::SendBlock() { SendBlockFrame(BuildBlock(image_, block_)); }

void CSimSession::Acknowledged() {
    if (!DeviceSends(mode_)) {
        return;
    }
    ++block_;
    if (block_ < TransferBlockCount(mode_)) {
        SendBlock();
    } else {
        mode_ = TransferMode::Idle;
    }
}

void CSimSession::ReceiveBlock(std::string_view rest) {
    if (!IsReceiving(mode_)) {
        Drop(1);
        return;
    }
    if (const std::optional<std::string_view> data = CheckBlock(rest)) {
        image_.replace(static_cast<std::size_t>(block_) * kBlockChars, kBlockChars, *data);
        Drop(kBlockFrameLength);
        ++block_;
        SendToken(kAckToken);
        if (block_ == TransferBlockCount(mode_)) {
            FinishReceiving();
        }
    } else if (rest.substr(kBlockTrailerAt, kBlockTrailer.size()) == kBlockTrailer) {
        // A complete block with a wrong checksum: not stored, not acknowledged.
        ++blocksRejected_;
        Drop(kBlockFrameLength);
    } else {
        Drop(1);
    }
}

void CSimSession::FinishReceiving() {
    if (mode_ == TransferMode::DownSync) {
        device_.TakeDownSyncImage(image_);
    } else {
        device_.TakeProgramImage(image_);
    }
    mode_ = TransferMode::Idle;
}

void CSimSession::Report(const ReplyFrame& reply) {
    if (mode_ == TransferMode::Idle) {
        SendReply(reply);
    }
}

std::string CSimSession::TakeOutput(int count) {
    const std::size_t n =
        count < 0 ? output_.size() : std::min(output_.size(), static_cast<std::size_t>(count));
    std::string taken = output_.substr(0, n);
    output_.erase(0, n);
    return taken;
}

void CSimSession::SendReply(const ReplyFrame& reply) {
    if (Chance(faults_.dropShare)) {
        return;
    }
    std::string frame = BuildReplyFrame(reply);
    if (Chance(faults_.corruptShare)) {
        CorruptChecksum(frame, kReplyChecksumAt);
    }
    Emit(frame);
}

void CSimSession::SendBlockFrame(std::string block) {
    if (Chance(faults_.corruptShare)) {
        CorruptChecksum(block, kBlockChecksumAt);
    }
    Emit(block);
}

void CSimSession::SendToken(std::string_view token) { Emit(token); }

void CSimSession::Emit(std::string_view chars) {
    std::string junk;
    if (Chance(faults_.garbageShare)) {
        std::uniform_int_distribution<int> count(1, kMaxJunk);
        std::uniform_int_distribution<int> byte(0, kByteMask);
        for (int n = count(device_.Random()); n > 0;) {
            const char c = static_cast<char>(byte(device_.Random()));
            if (c != kDc1 && c != kTokenLead) {
                junk += c;
                --n;
            }
        }
    }
    if (output_.size() + junk.size() + chars.size() > kOutputLimit) {
        return;
    }
    output_ += junk;
    output_.append(chars);
}

bool CSimSession::Chance(double share) {
    return share > 0 && std::uniform_real_distribution<double>(0, 1)(device_.Random()) < share;
}

void CSimSession::CorruptChecksum(std::string& frame, std::size_t checksumAt) {
    const unsigned wrong =
        static_cast<unsigned>(HexPairToByte(frame[checksumAt], frame[checksumAt + 1])) ^ 1u;
    frame[checksumAt] = HexDigit(wrong, 1);
    frame[checksumAt + 1] = HexDigit(wrong, 0);
}

} // namespace sim
