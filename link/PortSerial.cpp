#include "link/PortSerial.h"

#include "framework/Format.h"
#include "framework/UiService.h"

namespace {
constexpr const char* kErrorCaption = "Error";
constexpr const char* kPortUnavailable = "Selected COM port unavailable";
constexpr int kTextMode = 0;
constexpr int kReadEverything = 0;
constexpr int kNoEvents = 0;
constexpr int kNoHandshaking = 0;
} // namespace

bool CPortSerial::Open(int portIndex, const std::string& settings) {
    portIndex_ = portIndex;
    const int port = portIndex + 1;
    if (comm_.GetPortOpen() && comm_.GetCommPort() == port) {
        AfxMessageBox(kPortUnavailable, MB_OK, kErrorCaption);
        return false;
    }
    comm_.SetCommPort(port);
    const bool configured = comm_.SetSettings(settings);
    comm_.SetInBufferSize(kBufferSize);
    comm_.SetOutBufferSize(kBufferSize);
    comm_.SetInputMode(kTextMode);
    comm_.SetInputLen(kReadEverything);
    comm_.SetDTREnable(false);
    comm_.SetRTSEnable(false);
    comm_.SetEOFEnable(false);
    comm_.SetNullDiscard(true);
    comm_.SetRThreshold(kNoEvents);
    comm_.SetSThreshold(kNoEvents);
    comm_.SetHandshaking(kNoHandshaking);
    if (!configured || !comm_.SetPortOpen(true)) {
        const std::string row = deviceSlot_ >= 0 ? Format("Device %d: ", deviceSlot_ + 1) : std::string();
        AfxMessageBox(Format("%sCOM%d (%s) cannot be opened:\n%s", row.c_str(), port,
                             comm_.DevicePath().c_str(), comm_.LastError().c_str()),
                      MB_OK, kErrorCaption);
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
