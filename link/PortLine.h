// CPortLine: a line that carries an engine's characters instead of its serial or network
// transport. Tests and benchmarks put a device of their own on it, so that they can drive the
// engine tick by tick and know exactly what arrived when; veltrix-cli puts one in front of the
// engine's own transport to watch the traffic and explain a failure. The GUI never sets one.
#pragma once

#include <string>

class CPortLine {
public:
    virtual ~CPortLine() = default;
    // Characters from the engine; never waits.
    virtual void Send(const std::string& chars) = 0;
    // What has arrived since the last call; empty when nothing has.
    virtual std::string Receive() = 0;
};
