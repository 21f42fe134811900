// CSimulator: the simulated device network. It holds 1 to 16 devices in consecutive device
// slots (their live settings in a document of its own), serves each on its own loopback
// address and port or on a pseudo-terminal, and makes front-panel changes when asked to. It
// runs on the event loop of the thread that owns it: tests start it in-process and look
// into the devices; the veltrix-sim program wraps it.
#pragma once

#include "sim/SimOptions.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class CTonraDoc;

namespace sim {

class CSimDevice;
class CSimServer;

class CSimulator {
public:
    explicit CSimulator(const SimOptions& options);
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    // Starts listening and opens the pseudo-terminals; false with the reason when any of
    // them fails.
    bool Start(std::string& error);

    int DeviceCount() const { return static_cast<int>(devices_.size()); }
    CSimDevice& Device(int slot) { return *devices_.at(static_cast<std::size_t>(slot)); }
    CSimServer& Server(int slot) { return *servers_.at(static_cast<std::size_t>(slot)); }
    // The devices' live settings: device slot d is device d.
    CTonraDoc& Doc() { return *doc_; }

    // Changes a field on the front panel of device `slot` and reports it on all its lines;
    // false when there is no such field.
    bool FrontPanelChange(int slot, int code, int index, int subIndex, int value);

    // What the devices serve, one line each: "Device 1: RLT-1448, 4 in / 8 out, on
    // 127.0.0.2:10001", and with pseudo-terminals "COM1=/dev/pts/3".
    std::vector<std::string> Description() const;
    std::vector<std::string> ComLines() const;

private:
    void RandomFrontPanelChanges();
    void SwitchAll(bool on);

    SimOptions options_;
    std::unique_ptr<CTonraDoc> doc_;
    std::vector<std::unique_ptr<CSimDevice>> devices_;
    std::vector<std::unique_ptr<CSimServer>> servers_;
    QElapsedTimer clock_;
    QTimer frontPanel_;
    QTimer switchOff_;
    QTimer switchOn_;
};

} // namespace sim
