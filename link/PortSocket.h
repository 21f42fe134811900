// CPortSocket: the network transport of a link engine, a TCP client that is only polled.
// Connect starts connecting and returns at once; Receive hands over at most 100 characters
// per call; Send queues and never waits. A connection that fails or ends shows in IsDown, and
// Reconnect makes it again to the same address.
#pragma once

#include "link/PortLine.h"

#include <memory>
#include <string>

class QTcpSocket;

class CPortSocket : public CPortLine {
public:
    CPortSocket();
    ~CPortSocket() override;
    CPortSocket(const CPortSocket&) = delete;
    CPortSocket& operator=(const CPortSocket&) = delete;

    // Starts connecting to the dotted IPv4 address and port, dropping any earlier connection.
    // False only when no connection can be attempted (no IPv4 address, no valid port).
    bool Connect(const std::string& address, int port);
    void Close();
    // At most kReceiveChunk received characters; empty when nothing (or an error) arrived.
    std::string Receive() override;
    // Queues the characters; they leave once the connection stands. Characters beyond
    // kSendLimit waiting to leave, and characters for a connection that failed or ended, are
    // dropped.
    void Send(const std::string& text) override;

    // Starts connecting again to the address of the last Connect; false when there was none.
    bool Reconnect() override;

    // Whether the connection stands (made and not ended).
    bool IsConnected() const;
    // Whether a connection was attempted and has failed or ended (not while it is being made).
    bool IsDown() const override;
    // Whether a connection is being made.
    bool IsConnecting() const override;
    // Why the connection could not be made or ended, in the system's words; empty while it
    // stands, while it is still being made, and before Connect.
    std::string ErrorText() const override;

    static constexpr int kReceiveChunk = 100;
    // What the transport holds at most in either direction; a peer that sends faster than
    // the engine reads is held back by TCP itself.
    static constexpr int kReceiveLimit = 65536;
    static constexpr int kSendLimit = 65536;

private:
    std::unique_ptr<QTcpSocket> socket_;
    std::string address_;
    int port_ = 0;
};
