// CPortSerial: the serial transport of a link engine. It drives one COM port through its
// serial communications control; the engine opens it, polls Receive from its timer and hands
// characters to Send, which never waits. Framing and pacing are the engine's.
#pragma once

#include "link/Mscomm1.h"

#include <string>

class CPortSerial {
public:
    CPortSerial() = default;
    CPortSerial(const CPortSerial&) = delete;
    CPortSerial& operator=(const CPortSerial&) = delete;

    // Configures and opens COM port portIndex + 1 with the settings ("115200,n,8,2"). Opening
    // the port this transport already has open is refused with "Selected COM port
    // unavailable"; when the system refuses the port the message names the port, its device
    // path and the reason. False in both cases.
    bool Open(int portIndex, const std::string& settings);
    // Closes the port if it is open.
    void ClosePort();
    // Discards every received character not yet read.
    void Purge();
    // Everything received so far; empty when nothing waits.
    std::string Receive();
    // Queues the characters for sending.
    void Send(const std::string& text);

    bool IsOpen() const { return comm_.GetPortOpen(); }
    // The 0-based index of the port last passed to Open.
    int PortIndex() const { return portIndex_; }
    CMscomm1& Comm() { return comm_; }

    static constexpr int kBufferSize = 4096;

private:
    int portIndex_ = 0;
    CMscomm1 comm_;
};
