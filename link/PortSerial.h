// CPortSerial: the serial transport of a link engine. It drives one COM port through its
// serial communications control; the engine opens it, polls Receive from its timer and hands
// characters to Send, which never waits. Framing and pacing are the engine's.
#pragma once

#include "link/Mscomm1.h"
#include "link/PortLine.h"

#include <string>

class CPortSerial : public CPortLine {
public:
    CPortSerial() = default;
    CPortSerial(const CPortSerial&) = delete;
    CPortSerial& operator=(const CPortSerial&) = delete;

    // The device slot (0..15) whose engine owns the transport, named in its messages.
    void SetDeviceSlot(int slot) { deviceSlot_ = slot; }

    // Configures and opens COM port portIndex + 1 with the settings ("115200,n,8,2"). Opening
    // the port this transport already has open is refused with "Selected COM port
    // unavailable"; when the system refuses the port the text names the device row, the
    // port, its device path, the reason and what helps. False in both cases, with the text in
    // OpenProblem(). A port that vanishes later stays open and is opened again by itself when
    // it comes back (CMscomm1).
    bool Open(int portIndex, const std::string& settings);
    // Why the last Open failed, for the operator; empty after a success.
    const std::string& OpenProblem() const { return openProblem_; }
    // Closes the port if it is open.
    void ClosePort();
    // Discards every received character not yet read.
    void Purge() override;
    // Everything received so far; empty when nothing waits.
    std::string Receive() override;
    // Queues the characters for sending.
    void Send(const std::string& text) override;

    bool IsOpen() const { return comm_.GetPortOpen(); }
    // Whether the open port's device is there (false while an adapter is pulled out).
    bool IsDevicePresent() const { return comm_.IsDevicePresent(); }
    // The 0-based index of the port last passed to Open.
    int PortIndex() const { return portIndex_; }
    CMscomm1& Comm() { return comm_; }

    static constexpr int kBufferSize = 4096;

private:
    int portIndex_ = 0;
    int deviceSlot_ = -1;
    std::string openProblem_;
    CMscomm1 comm_;
};
