// CSimTcpLine: a device's line over one accepted TCP connection.
#pragma once

#include "sim/SimLine.h"

#include <QTimer>

#include <functional>
#include <memory>

class QTcpSocket;

namespace sim {

class CSimTcpLine : public CSimLine {
public:
    // Takes the connection over; closes it `closeAfterSeconds` after now when that is above 0.
    CSimTcpLine(CSimDevice& device, const LineOptions& options, std::unique_ptr<QTcpSocket> socket,
                double closeAfterSeconds);
    ~CSimTcpLine() override;

    // The connection has ended, from either side.
    bool IsClosed() const { return closed_; }
    // Called once the connection has ended.
    void OnClosed(std::function<void()> handler) { onClosed_ = std::move(handler); }

private:
    std::size_t WriteRaw(std::string_view chars) override;
    void Closed();

    std::unique_ptr<QTcpSocket> socket_;
    QTimer closeTimer_;
    std::function<void()> onClosed_;
    bool closed_ = false;
};

} // namespace sim
