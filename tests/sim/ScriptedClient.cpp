#include "tests/sim/ScriptedClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace devlink;

namespace simtest {

bool CScriptedClient::OpenSerial(int comPort) {
    serial_ = port_.Open(comPort - 1, kSerialSettings);
    return serial_;
}

void CScriptedClient::SendRaw(const std::string& chars) { serial_ ? port_.Send(chars) : socket_.Send(chars); }

void CScriptedClient::Read() {
    // Unlike an engine, the client takes everything that has arrived at once.
    for (std::string chunk = Receive(); !chunk.empty(); chunk = Receive()) {
        buffer_ += chunk;
    }
}

std::string CScriptedClient::Receive() { return serial_ ? port_.Receive() : socket_.Receive(); }

bool CScriptedClient::WaitFor(const std::function<bool()>& done, int waitMs) {
    // Wakes up as soon as something arrives, rather than polling at a fixed pace.
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(kWakeMs);
    for (;;) {
        Read();
        if (done()) {
            return true;
        }
        if (clock.elapsed() >= waitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

std::optional<ReplyFrame> CScriptedClient::NextReply(int waitMs) {
    std::optional<ReplyFrame> reply;
    WaitFor(
        [&] {
            // As the engine does: skip to a DC1, check 16 characters, drop them either way.
            while (!reply && buffer_.size() >= static_cast<std::size_t>(kReplyFrameLength)) {
                if (buffer_.front() != kDc1) {
                    buffer_.erase(0, 1);
                    continue;
                }
                reply = CheckReplyFrame(buffer_);
                buffer_.erase(0, kReplyFrameLength);
            }
            return reply.has_value();
        },
        waitMs);
    return reply;
}

std::optional<ReplyFrame> CScriptedClient::Command(CommandFrame frame, int waitMs) {
    frame.deviceMask = DeviceBit(device_);
    SendRaw(BuildCommandFrame(frame));
    return NextReply(waitMs);
}

bool CScriptedClient::Begin(TransferMode mode) {
    buffer_.clear();
    SendRaw(BuildCommandFrame({.deviceMask = DeviceBit(device_), .code = kCmdBeginTransfer}) +
            StartSequence(mode));
    return WaitFor([&] { return FindToken(buffer_, kAckToken); }, kWaitMs);
}

std::optional<std::string> CScriptedClient::ReceiveImage(TransferMode mode) {
    if (!Begin(mode)) {
        return std::nullopt;
    }
    std::string image;
    for (int block = 0; block < TransferBlockCount(mode); ++block) {
        std::optional<std::string_view> data;
        const bool received = WaitFor(
            [&] {
                const std::size_t header = buffer_.find(kBlockHeader);
                if (header == std::string::npos ||
                    buffer_.size() - header < static_cast<std::size_t>(kBlockFrameLength)) {
                    return false;
                }
                buffer_.erase(0, header);
                data = CheckBlock(buffer_);
                return true;
            },
            kWaitMs);
        if (!received || !data) {
            return std::nullopt;
        }
        image.append(*data);
        buffer_.erase(0, kBlockFrameLength);
        SendRaw(std::string(kAckToken));
    }
    return image;
}

bool CScriptedClient::SendImage(TransferMode mode, const std::string& image, int corrupt) {
    if (!Begin(mode)) {
        return false;
    }
    for (int block = 0; block < TransferBlockCount(mode); ++block) {
        std::string frame = BuildBlock(image, block);
        if (block == corrupt) {
            frame[kBlockHeader.size()] ^= 1; // the checksum no longer matches the data
        }
        SendRaw(frame);
        const int waitMs = block == corrupt ? kNoAckWaitMs : kWaitMs;
        if (!WaitFor([&] { return FindToken(buffer_, kAckToken); }, waitMs)) {
            return false;
        }
    }
    return true;
}

bool CScriptedClient::StaysSilent(int ms) {
    buffer_.clear();
    QTest::qWait(ms);
    Read();
    return buffer_.empty();
}

} // namespace simtest
