// CSimLine: one connection of a simulated device, a session plus the carrier under it. The
// line feeds the session what arrives and hands the session's output to the carrier, at
// once or, paced, no faster than the serial line's character rate in either direction, and
// it falls silent for good once the simulator's stop-answering time has come, and for as long
// as the device is switched off.
#pragma once

#include "sim/SimPace.h"
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
    const bool* switchedOff = nullptr;    // while true the device is off: the line is silent
};

class CSimLine {
public:
    CSimLine(CSimDevice& device, const LineOptions& options);
    virtual ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    CSimSession& Session() { return session_; }
    // Characters that have crossed the line so far, in both directions.
    std::size_t CharsCarried() const { return charsCarried_; }
    // A reply the device sends by itself.
    void Report(const devlink::ReplyFrame& reply);

protected:
    // Characters from the program.
    void Arrived(std::string_view chars);
    // Moves what is due across the line: paced input to the session, output to the carrier.
    void Flush();
    // Writes what the carrier accepts now and returns how many characters that was.
    virtual std::size_t WriteRaw(std::string_view chars) = 0;
    // Asks the carrier to call Flush when it can take more.
    virtual void WantWrite(bool) {}

private:
    bool Stopped() const;
    // Paced: hands the session what has crossed the line from the program.
    void TakeIncoming();
    void SendOutgoing();
    // Paced: wakes up when the characters on their way in either direction are through.
    void ScheduleFlush();

    LineOptions options_;
    CSimSession session_;
    QTimer paceTimer_;
    CSimPace incomingPace_;
    CSimPace outgoingPace_;
    std::string incoming_; // paced: arrived from the carrier, still crossing the line
    std::string pending_;  // taken from the session, not yet accepted by the carrier
    std::size_t charsCarried_ = 0;
};

} // namespace sim
