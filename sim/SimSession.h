// CSimSession: the device side of one connection. It takes the characters the program sends,
// finds the command frames, transfer openings, blocks and acknowledgements among them, lets
// the device act on them, and collects what the device answers, with the faults asked for.
// It knows nothing of sockets or terminals and never waits: the line that owns it feeds it
// and takes its output.
#pragma once

#include "link/BulkTransfer.h"
#include "link/Protocol.h"

#include <string>
#include <string_view>

namespace sim {

class CSimDevice;

// Faults injected into what a device sends.
struct SimFaults {
    double dropShare = 0;    // reply frames not sent
    double corruptShare = 0; // reply frames and blocks with a wrong checksum
    double garbageShare = 0; // frames, tokens and blocks preceded by junk characters
};

class CSimSession {
public:
    CSimSession(CSimDevice& device, const SimFaults& faults);

    // Characters from the program.
    void Receive(std::string_view chars);
    // A reply frame the device sends by itself (a front-panel change); not sent in the middle
    // of a transfer.
    void Report(const devlink::ReplyFrame& reply);

    // Takes up to `count` characters of the output (all of them for a negative count).
    std::string TakeOutput(int count = -1);
    bool HasOutput() const { return !output_.empty(); }

    devlink::TransferMode Transfer() const { return mode_; }
    int BlocksDone() const { return block_; }
    // Counters for tests and the program's report.
    int BlocksRejected() const { return blocksRejected_; }
    int FramesRejected() const { return framesRejected_; }

    // What the session holds at most: input that forms no complete frame yet, and output the
    // line has not taken (more is dropped).
    static constexpr std::size_t kInputLimit = 2 * devlink::kBlockFrameLength;
    static constexpr std::size_t kOutputLimit = 65536;

private:
    // Tries to act on what starts the unparsed input; returns false when more characters are
    // needed.
    bool ParseOne();
    bool ParseFrame(std::string_view rest);
    bool ParseToken(std::string_view rest);
    void ReceiveBlock(std::string_view rest);
    void HandleCommand(const devlink::CommandFrame& frame);
    void StartTransfer(devlink::TransferMode mode);
    void SendBlock();
    void Acknowledged();
    void FinishReceiving();
    void Drop(std::size_t count);

    // Output with the faults applied.
    void SendReply(const devlink::ReplyFrame& reply);
    void SendBlockFrame(std::string block);
    void SendToken(std::string_view token);
    void Emit(std::string_view chars);
    bool Chance(double share);
    void CorruptChecksum(std::string& frame, std::size_t checksumAt);

    CSimDevice& device_;
    SimFaults faults_;
    std::string input_;
    std::size_t parsed_ = 0; // characters of input_ already dealt with
    std::string output_;
    devlink::TransferMode mode_ = devlink::TransferMode::Idle;
    std::string image_;
    int block_ = 0;
    bool armed_ = false; // a begin-transfer command arrived: a start sequence may follow
    int blocksRejected_ = 0;
    int framesRejected_ = 0;
};

} // namespace sim
