// CSimLine: one connection of a simulated device, a session plus the carrier under it. The
// line feeds the session what arrives and hands the session's output to the carrier, at
// once or paced at the serial line's character rate, and it falls silent for good once the
// simulator's stop-answering time has come.
#pragma once

#include "sim/SimSession.h"

#include <QElapsedTimer>
#include <QTimer>

#include <string>
#include <string_view>

namespace sim {

class CSimDevice;

struct LineOptions {
    SimFaults faults;
    bool pace = false;
    const QElapsedTimer* clock = nullptr; // the simulator's, started when it started
    qint64 stopAfterMs = 0;               // 0: never
};

class CSimLine {
public:
    CSimLine(CSimDevice& device, const LineOptions& options);
    virtual ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    CSimSession& Session() { return session_; }
    // A reply the device sends by itself.
    void Report(const devlink::ReplyFrame& reply);

protected:
    // Characters from the program.
    void Arrived(std::string_view chars);
    // Hands what is due to the carrier.
    void Flush();
    // Writes what the carrier accepts now and returns how many characters that was.
    virtual std::size_t WriteRaw(std::string_view chars) = 0;
    // Asks the carrier to call Flush when it can take more.
    virtual void WantWrite(bool) {}

private:
    bool Stopped() const;
    // Characters the pacing lets out now.
    std::size_t Allowance();

    LineOptions options_;
    CSimSession session_;
    QTimer paceTimer_;
    QElapsedTimer paceClock_;
    double budget_ = 0;
    std::string pending_; // taken from the session, not yet accepted by the carrier
};

} // namespace sim
