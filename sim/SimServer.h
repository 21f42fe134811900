// CSimServer: where one simulated device can be reached: a TCP server on the device's own
// address and the connections it accepted, and a pseudo-terminal.
#pragma once

#include "sim/SimLine.h"

#include <QHostAddress>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QTcpServer;

namespace sim {

class CSimDevice;
class CSimPtyLine;
class CSimTcpLine;

class CSimServer {
public:
    CSimServer(CSimDevice& device, const LineOptions& options, double closeAfterSeconds);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Listens on address:port (port 0: any free port); false with the reason on failure.
    bool Listen(const QHostAddress& address, quint16 port, std::string& error);
    // Creates the device's pseudo-terminal.
    bool OpenPty(std::string& error);

    // Switches the device off as a power cut would: its connections end, nothing listens and
    // the pseudo-terminal falls silent. SwitchOn brings it back on the same address and port;
    // false with the reason when that address cannot be had again.
    void SwitchOff();
    bool SwitchOn(std::string& error);

    bool IsListening() const;
    QHostAddress Address() const;
    quint16 Port() const;
    // The pseudo-terminal's path; empty without one.
    std::string PtyPath() const;

    // Sends a reply the device makes by itself on every line.
    void Report(const devlink::ReplyFrame& reply);
    // The sessions of the open connections and of the pseudo-terminal.
    std::vector<CSimSession*> Sessions();
    int ConnectionCount() const;
    // Characters that have crossed the connections and the pseudo-terminal so far, both ways;
    // a closed connection takes its count along.
    std::size_t CharsCarried() const;

    // Connections a device serves at once; more are closed as they come.
    static constexpr std::size_t kMaxConnections = 4;

private:
    void Accept();
    void RemoveClosed();

    CSimDevice& device_;
    LineOptions options_;
    double closeAfterSeconds_;
    std::unique_ptr<QTcpServer> server_;
    QHostAddress address_;
    quint16 port_ = 0;
    bool switchedOff_ = false;
    std::vector<std::unique_ptr<CSimTcpLine>> connections_;
    std::unique_ptr<CSimPtyLine> pty_;
    QTimer cleanup_; // removes closed connections outside their own handlers
};

} // namespace sim
