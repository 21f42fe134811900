// A small client that speaks the program's side of the wire protocol, step by step and
// without an engine: commands with their replies, and the four bulk transfers. It waits on
// the event loop (QTest::qWaitFor), as a test may.
#pragma once

#include "link/BulkTransfer.h"
#include "link/PortSerial.h"
#include "link/PortSocket.h"
#include "link/Protocol.h"

#include <functional>
#include <optional>
#include <string>

namespace simtest {

class CScriptedClient {
public:
    explicit CScriptedClient(int device) : device_(device) {}

    bool ConnectTcp(const std::string& address, int port) { return socket_.Connect(address, port); }
    // Uses COM port `comPort` (1-based) instead of TCP.
    bool OpenSerial(int comPort);

    // Sends a command frame for this client's device and waits for the next valid reply.
    std::optional<devlink::ReplyFrame> Command(devlink::CommandFrame frame, int waitMs = kWaitMs);
    // The next valid reply frame that arrives without asking.
    std::optional<devlink::ReplyFrame> NextReply(int waitMs = kWaitMs);
    // Device to program: the whole image, every block acknowledged; nothing on a time-out.
    std::optional<std::string> ReceiveImage(devlink::TransferMode mode);
    // Program to device: every block, waiting for each acknowledgement. Block `corrupt` goes
    // with a wrong checksum; the transfer stops with false at the first block not acknowledged.
    bool SendImage(devlink::TransferMode mode, const std::string& image, int corrupt = -1);
    // Whether the connection delivers nothing at all for a while.
    bool StaysSilent(int ms);
    void SendRaw(const std::string& chars);

    static constexpr int kWaitMs = 5000;
    static constexpr int kNoAckWaitMs = 500;
    static constexpr int kWakeMs = 10;

private:
    bool Begin(devlink::TransferMode mode);
    bool WaitFor(const std::function<bool()>& done, int waitMs);
    void Read();
    std::string Receive();

    int device_;
    bool serial_ = false;
    CPortSocket socket_;
    CPortSerial port_;
    std::string buffer_;
};

} // namespace simtest
