#include "cli/CliLine.h"

#include "link/BulkTransfer.h"
#include "link/Port.h"
#include "link/Protocol.h"

using namespace devlink;

namespace {
constexpr int kEverySlot = 0xFFFF;
}

CCliLine::CCliLine(CPort& engine, bool network) : engine_(engine), network_(network) {
    lastReceived_.start();
}

void CCliLine::Send(const std::string& chars) { engine_.Transport().Send(chars); }

std::string CCliLine::Receive() {
    std::string chars = engine_.Transport().Receive();
    if (network_ && engine_.NetworkTransport().IsConnected()) {
        wasConnected_ = true;
    }
    if (!chars.empty()) {
        charsReceived_ += static_cast<long long>(chars.size());
        lastReceived_.start();
        WatchReplies(chars);
        WatchBlocks(chars);
    }
    return chars;
}

void CCliLine::Purge() { engine_.Transport().Purge(); }

bool CCliLine::IsDown() const { return engine_.Transport().IsDown(); }

bool CCliLine::IsConnecting() const { return engine_.Transport().IsConnecting(); }

bool CCliLine::Reconnect() { return engine_.Transport().Reconnect(); }

std::string CCliLine::ErrorText() const { return engine_.Transport().ErrorText(); }

void CCliLine::AskEverySlot() { Send(BuildCommandFrame({kEverySlot, kCmdPoll, 0, 0, 0, 0, 0, 0})); }

std::string CCliLine::ConnectionProblem() const {
    if (!network_) {
        return {};
    }
    if (engine_.NetworkTransport().IsConnected()) {
        wasConnected_ = true;
    }
    return engine_.NetworkTransport().ErrorText();
}

void CCliLine::WatchReplies(const std::string& chars) {
    replyScan_ += chars;
    std::size_t at = 0;
    while ((at = replyScan_.find(kDc1, at)) != std::string::npos &&
           replyScan_.size() - at >= static_cast<std::size_t>(kReplyFrameLength)) {
        const std::optional<ReplyFrame> reply = CheckReplyFrame(std::string_view(replyScan_).substr(at));
        if (reply && reply->device != engine_.Device()) {
            otherSlot_ = reply->device;
        }
        at += reply ? kReplyFrameLength : 1;
    }
    // Keep only what may still begin a frame.
    replyScan_.erase(0, at == std::string::npos ? replyScan_.size() : at);
}

void CCliLine::WatchBlocks(const std::string& chars) {
    blockScan_ += chars;
    std::size_t at = 0;
    while ((at = blockScan_.find(kBlockHeader, at)) != std::string::npos &&
           blockScan_.size() - at >= static_cast<std::size_t>(kBlockFrameLength)) {
        if (!CheckBlock(std::string_view(blockScan_).substr(at))) {
            ++damagedBlocks_;
        }
        at += kBlockHeader.size();
    }
    if (at == std::string::npos) {
        // A header may have arrived in part.
        blockScan_.erase(
            0, blockScan_.size() > kBlockHeader.size() ? blockScan_.size() - kBlockHeader.size() + 1 : 0);
    } else {
        blockScan_.erase(0, at);
    }
}
