// CCliLine: the line veltrix-cli puts between its link engine and the engine's own transport.
// It passes every character through unchanged and watches the traffic, so that a command that
// fails can say what happened: the connection was refused or closed, nothing came back at
// all, valid frames came from another device slot, or a block arrived damaged.
#pragma once

#include "link/PortLine.h"

#include <QElapsedTimer>

#include <string>

class CPort;

class CCliLine : public CPortLine {
public:
    // Carries the characters of `engine` (not owned) over the transport its Connect chose,
    // the network one when `network`.
    CCliLine(CPort& engine, bool network);

    void Send(const std::string& chars) override;
    std::string Receive() override;
    void Purge() override;
    bool IsDown() const override;
    bool IsConnecting() const override;
    bool Reconnect() override;
    std::string ErrorText() const override;

    // Asks the devices of every slot on the line for an answer, bypassing the engine: a device
    // that answers names its slot (see OtherSlot).
    void AskEverySlot();

    long long CharsReceived() const { return charsReceived_; }
    // Milliseconds since the last character arrived, or since the line was made.
    long long MsSinceReceived() const { return lastReceived_.elapsed(); }
    // The slot of the last valid reply frame from a slot other than the engine's; -1 for none.
    int OtherSlot() const { return otherSlot_; }
    // Block frames seen so far whose checksum or trailer did not match.
    int DamagedBlocks() const { return damagedBlocks_; }
    // Network: whether the connection was made at some point, and why it failed or ended
    // (empty while it stands or is still being made). Serial lines have neither.
    bool WasConnected() const { return wasConnected_; }
    std::string ConnectionProblem() const;

private:
    void WatchReplies(const std::string& chars);
    void WatchBlocks(const std::string& chars);

    CPort& engine_;
    const bool network_;
    long long charsReceived_ = 0;
    QElapsedTimer lastReceived_;
    int otherSlot_ = -1;
    int damagedBlocks_ = 0;
    mutable bool wasConnected_ = false;
    // Received characters not yet seen as a whole reply frame or block frame.
    std::string replyScan_;
    std::string blockScan_;
};
