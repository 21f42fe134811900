#include "link/PortSerial.h"

#include "framework/Format.h"

namespace {
constexpr const char* kPortUnavailable = "Selected COM port unavailable";
constexpr int kReadEverything = 0;
constexpr int kNoHandshaking = 0;
} // namespace

bool CPortSerial::Open(int portIndex, const std::string& settings) {
    portIndex_ = portIndex;
    openProblem_.clear();
    const int port = portIndex + 1;
    if (comm_.GetPortOpen() && comm_.GetCommPort() == port) {
        openProblem_ = kPortUnavailable;
        return false;
    }
    comm_.SetCommPort(port);
    const bool configured = comm_.SetSettings(settings);
    comm_.SetInBufferSize(kBufferSize);
    comm_.SetOutBufferSize(kBufferSize);
    // The control raises no events and hands input over as received: there are no receive or
    // send thresholds, no end-of-file detection and no input mode to set.
    comm_.SetInputLen(kReadEverything);
    comm_.SetDTREnable(false);
    comm_.SetRTSEnable(false);
    comm_.SetNullDiscard(true);
    comm_.SetHandshaking(kNoHandshaking);
    if (!configured || !comm_.SetPortOpen(true)) {
        const std::string row = deviceSlot_ >= 0 ? Format("Device %d: ", deviceSlot_ + 1) : std::string();
        openProblem_ = Format("%sCOM%d (%s) cannot be opened:\n%s", row.c_str(), port,
                              comm_.DevicePath().c_str(), comm_.LastError().c_str());
        return false;
    }
    return true;
}

void CPortSerial::ClosePort() {
    if (comm_.GetPortOpen()) {
        comm_.SetPortOpen(false);
    }
}

void CPortSerial::Purge() { comm_.SetInBufferCount(0); }

std::string CPortSerial::Receive() { return comm_.GetInBufferCount() > 0 ? comm_.GetInput() : std::string(); }

void CPortSerial::Send(const std::string& text) { comm_.SetOutput(text); }
