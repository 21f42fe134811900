// CDemoNetwork: a network to try the program on without hardware. It runs simulated devices
// inside the program (the three models in turn, with named channels, stored programs and
// meters that move like programme material), each on its own loopback address at the devices'
// port, and points the program's connection file at a temporary file. When it ends nothing is
// left: the devices stop with it, the temporary folder goes and the program's connection file
// setting is put back.
#pragma once

#include "model/ConnectionFile.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>

namespace sim {
class CSimulator;
}

class CDemoNetwork {
public:
    // The port every device serves, as real devices do.
    static constexpr int kDevicePort = 10001;
    // Address ranges tried in turn: device d of range r listens on 127.0.r.(d + 2).
    static constexpr int kAddressRanges = 32;

    explicit CDemoNetwork(int deviceCount);
    ~CDemoNetwork();
    CDemoNetwork(const CDemoNetwork&) = delete;
    CDemoNetwork& operator=(const CDemoNetwork&) = delete;

    // Starts the devices on the first range of loopback addresses that is free and points the
    // connection file at the temporary folder. False with the reason when no range is free or
    // the folder cannot be made.
    bool Start(std::string& error);

    int DeviceCount() const { return deviceCount_; }
    // Network mode, device d at its simulated device's address; the other slots empty.
    model::ConnectionSettings Settings() const;
    // "Demo network: 4 simulated devices on 127.0.0.2 .. 127.0.0.5", and when the usual range
    // was taken by another program, a word saying so.
    std::string Description() const;
    // The short note the main window's caption carries.
    static constexpr const char* kCaptionNote = " - Demo network";
    sim::CSimulator& Simulator() { return *simulator_; }

private:
    // Gives the devices' live settings the shape of a small show: a sub and tops split by
    // crossovers, a few EQ bands, levels that differ, so the plot has something to show.
    void ShapeDevices();
    // The address of device `slot` in address range `range`, as a 32-bit IPv4 number.
    static quint32 Address(int range, int slot);

    int deviceCount_;
    int range_ = 0;
    QTemporaryDir folder_;
    std::unique_ptr<sim::CSimulator> simulator_;
    std::optional<QByteArray> previousConnectionFile_;
};
