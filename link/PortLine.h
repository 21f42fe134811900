// CPortLine: what carries an engine's characters to its device and back. The serial and the
// network transport are lines; tests and benchmarks put a device of their own on a line, so
// that they can drive the engine tick by tick and know exactly what arrived when; veltrix-cli
// puts one in front of the engine's own transport to watch the traffic and explain a failure.
// A line that is never down, never being made and has nothing to purge keeps the defaults.
#pragma once

#include <string>

class CPortLine {
public:
    virtual ~CPortLine() = default;
    // Characters from the engine; never waits.
    virtual void Send(const std::string& chars) = 0;
    // What has arrived since the last call; empty when nothing has.
    virtual std::string Receive() = 0;
    // Discards what has arrived and was not yet read.
    virtual void Purge() {}
    // Whether the line was made and has failed or ended (not while it is being made).
    virtual bool IsDown() const { return false; }
    // Whether the line is being made.
    virtual bool IsConnecting() const { return false; }
    // Makes the line again as it was last made; false when it never was.
    virtual bool Reconnect() { return false; }
    // Why the line could not be made or ended, in the system's words; empty while it stands.
    virtual std::string ErrorText() const { return {}; }
};
