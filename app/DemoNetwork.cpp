#include "app/DemoNetwork.h"

#include "model/ParamScales.h"
#include "model/TonraDoc.h"
#include "sim/Simulator.h"

#include <QHostAddress>

#include <algorithm>
#include <array>

namespace {

const char* const kConnectionFileName = "tonra.sys";
// 127.0.0.0 is the network's own address and 127.0.0.1 the usual local host: the devices
// start at .2, as veltrix-sim's do.
constexpr quint32 kLoopbackBase = (127u << 24) | 2u;
constexpr int kRangeShift = 8;

// The demo show: the first two outputs of each device feed subwoofers, the others tops.
constexpr int kSubOutputs = 2;
constexpr int kCrossoverHz = 100;
constexpr int kTopsLowPassHz = 18000;
constexpr int kFrequencyOffsetHz = 20; // a frequency index is the frequency less 20 Hz
constexpr int kLinkwitzRiley = 2;
constexpr int kSlope24dB = 3;
constexpr int kHighPass = 0;
constexpr int kLowPass = 1;
constexpr int kQuarterDbPerDb = 4;

struct DemoBand {
    int band;
    int hz;
    double db;
};
// Per input: a little warmth and a presence dip. Per output: a tuning of the boxes.
constexpr std::array<DemoBand, 2> kInputBands = {{{0, 80, 3.0}, {3, 2500, -4.0}}};
constexpr std::array<DemoBand, 2> kOutputBands = {{{1, 60, 4.5}, {4, 6300, -2.5}}};

std::string DottedAddress(quint32 address) { return QHostAddress(address).toString().toStdString(); }

} // namespace

CDemoNetwork::CDemoNetwork(int deviceCount) : deviceCount_(std::clamp(deviceCount, 1, model::kDeviceCount)) {}

CDemoNetwork::~CDemoNetwork() {
    // The devices stop before the connection file setting is given back.
    simulator_.reset();
    if (previousConnectionFile_) {
        qputenv(model::kConnectionFileVariable, *previousConnectionFile_);
    } else {
        qunsetenv(model::kConnectionFileVariable);
    }
}

quint32 CDemoNetwork::Address(int range, int slot) {
    return kLoopbackBase + (static_cast<quint32>(range) << kRangeShift) + static_cast<quint32>(slot);
}

bool CDemoNetwork::Start(std::string& error) {
    if (!folder_.isValid()) {
        error = "The demo network cannot make its temporary folder: " + folder_.errorString().toStdString();
        return false;
    }
    sim::SimOptions options;
    options.deviceCount = deviceCount_;
    options.models = {"RLT-1448", "KVA-1326", "NQVE-1888"};
    options.port = kDevicePort;
    for (range_ = 0; range_ < kAddressRanges; ++range_) {
        options.address = DottedAddress(Address(range_, 0));
        simulator_ = std::make_unique<sim::CSimulator>(options);
        std::string reason;
        if (simulator_->Start(reason)) {
            if (qEnvironmentVariableIsSet(model::kConnectionFileVariable)) {
                previousConnectionFile_ = qgetenv(model::kConnectionFileVariable);
            }
            qputenv(model::kConnectionFileVariable, folder_.filePath(kConnectionFileName).toLocal8Bit());
            ShapeDevices();
            return true;
        }
        simulator_.reset();
    }
    error = "The demo network found no free loopback addresses for its devices at port " +
            std::to_string(kDevicePort) + " (tried 127.0.0.2 to " +
            DottedAddress(Address(kAddressRanges - 1, 0)) + " and on).";
    return false;
}

void CDemoNetwork::ShapeDevices() {
    CTonraDoc& doc = simulator_->Doc();
    const auto setBand = [&](int device, int slot, const DemoBand& b) {
        const auto d = static_cast<std::size_t>(device);
        doc.eqFreq[d][static_cast<std::size_t>(slot)][static_cast<std::size_t>(b.band)] =
            b.hz - kFrequencyOffsetHz;
        doc.eqGain[d][static_cast<std::size_t>(slot)][static_cast<std::size_t>(b.band)] =
            model::kEqGainZeroIndex + static_cast<int>(b.db * kQuarterDbPerDb);
    };
    const auto setFilter = [&](int device, int output, int filter, int type, int hz) {
        const auto d = static_cast<std::size_t>(device);
        const auto o = static_cast<std::size_t>(output);
        const auto f = static_cast<std::size_t>(filter);
        doc.xoverType[d][o][f] = type;
        doc.xoverFreq[d][o][f] = hz - kFrequencyOffsetHz;
        doc.xoverSlope[d][o][f] = kSlope24dB;
    };
    for (int device = 0; device < simulator_->DeviceCount(); ++device) {
        for (int input = 0; input < doc.GetInputCount(device); ++input) {
            for (const DemoBand& band : kInputBands) {
                setBand(device, input, band);
            }
        }
        for (int output = 0; output < doc.GetOutputCount(device); ++output) {
            const bool sub = output < kSubOutputs;
            setFilter(device, output, kHighPass, sub ? 0 : kLinkwitzRiley, kCrossoverHz);
            setFilter(device, output, kLowPass, kLinkwitzRiley, sub ? kCrossoverHz : kTopsLowPassHz);
            if (!sub) {
                for (const DemoBand& band : kOutputBands) {
                    setBand(device, model::kOutputSlotBase + output, band);
                }
            }
            doc.gain[static_cast<std::size_t>(device)]
                    [static_cast<std::size_t>(model::kOutputSlotBase + output)] =
                model::kGainZeroIndex - kQuarterDbPerDb * (output % 3);
        }
        doc.ValidateDevice(device);
    }
}

model::ConnectionSettings CDemoNetwork::Settings() const {
    model::ConnectionSettings settings;
    settings.connectionMode = 1;
    for (int slot = 0; slot < deviceCount_; ++slot) {
        const quint32 address = Address(range_, slot);
        settings.ipAddress[static_cast<std::size_t>(slot)] = {
            static_cast<int>(address >> 24), static_cast<int>((address >> 16) & 0xFF),
            static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF)};
    }
    return settings;
}

std::string CDemoNetwork::Description() const {
    std::string text = "Demo network: " + std::to_string(deviceCount_) + " simulated device" +
                       (deviceCount_ == 1 ? "" : "s") + " on " + DottedAddress(Address(range_, 0));
    if (deviceCount_ > 1) {
        text += " .. " + DottedAddress(Address(range_, deviceCount_ - 1));
    }
    text += ", port " + std::to_string(kDevicePort);
    if (range_ > 0) {
        text += " (" + DottedAddress(Address(0, 0)) + " and on are taken by another program)";
    }
    return text;
}
