#include "sim/Simulator.h"

#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimServer.h"

#include <QHostAddress>

#include <algorithm>

namespace sim {

namespace {

constexpr double kMsPerSecond = 1000;
constexpr int kMinFrontPanelMs = 10; // no timer spins
// Spreads the devices' random sequences apart.
constexpr unsigned kSeedStride = 0x9E3779B9u;

DeviceSetup SetupFor(const SimOptions& options, int slot) {
    const DeviceModel model =
        ModelNamed(options.models[static_cast<std::size_t>(slot) % options.models.size()]);
    DeviceSetup setup;
    setup.model = model.name;
    setup.inputs = options.inputs > 0 ? options.inputs : model.inputs;
    setup.outputs = options.outputs > 0 ? options.outputs : model.outputs;
    setup.password = options.password;
    setup.oemPrograms = options.oemPrograms;
    setup.factoryEq = options.factoryEq;
    return setup;
}

} // namespace

CSimulator::CSimulator(const SimOptions& options) : options_(options), doc_(std::make_unique<CTonraDoc>()) {
    if (options_.models.empty()) {
        options_.models = SimOptions().models;
    }
    doc_->OnNewDocument();
    clock_.start();
    const LineOptions line{
        .faults = {options_.dropShare, options_.corruptShare, options_.garbageShare},
        .pace = options_.pace,
        .clock = &clock_,
        .stopAfterMs = static_cast<qint64>(options_.stopAfterSeconds * kMsPerSecond),
    };
    const int count = std::clamp(options_.deviceCount, 1, model::kDeviceCount);
    for (int slot = 0; slot < count; ++slot) {
        const unsigned seed = options_.seed + kSeedStride * static_cast<unsigned>(slot);
        devices_.push_back(std::make_unique<CSimDevice>(*doc_, slot, SetupFor(options_, slot), seed));
        servers_.push_back(std::make_unique<CSimServer>(*devices_.back(), line, options_.closeAfterSeconds));
    }
    frontPanel_.setSingleShot(false);
    QObject::connect(&frontPanel_, &QTimer::timeout, [this] { RandomFrontPanelChanges(); });
    switchOff_.setSingleShot(true);
    switchOn_.setSingleShot(true);
    QObject::connect(&switchOff_, &QTimer::timeout, [this] { SwitchAll(false); });
    QObject::connect(&switchOn_, &QTimer::timeout, [this] { SwitchAll(true); });
}

CSimulator::~CSimulator() {
    // The lines refer to the devices: they go first.
    servers_.clear();
}

bool CSimulator::Start(std::string& error) {
    const quint32 first = QHostAddress(QString::fromStdString(options_.address)).toIPv4Address();
    for (std::size_t slot = 0; slot < servers_.size(); ++slot) {
        CSimServer& server = *servers_[slot];
        if (options_.network && !server.IsListening() &&
            !server.Listen(QHostAddress(first + static_cast<quint32>(slot)),
                           static_cast<quint16>(options_.port), error)) {
            return false;
        }
        if (options_.pty && server.PtyPath().empty() && !server.OpenPty(error)) {
            return false;
        }
    }
    if (options_.frontPanelSeconds > 0) {
        frontPanel_.start(
            std::max(kMinFrontPanelMs, static_cast<int>(options_.frontPanelSeconds * kMsPerSecond)));
    }
    if (options_.offAfterSeconds > 0) {
        switchOff_.start(static_cast<int>(options_.offAfterSeconds * kMsPerSecond));
    }
    return true;
}

void CSimulator::SwitchAll(bool on) {
    for (const auto& server : servers_) {
        std::string error;
        if (!on) {
            server->SwitchOff();
        } else if (!server->SwitchOn(error)) {
            qWarning("veltrix-sim: %s", error.c_str());
        }
    }
    if (!on && options_.offForSeconds > 0) {
        switchOn_.start(static_cast<int>(options_.offForSeconds * kMsPerSecond));
    }
}

bool CSimulator::FrontPanelChange(int slot, int code, int index, int subIndex, int value) {
    const auto reply = Device(slot).FrontPanelChange(code, index, subIndex, value);
    if (reply) {
        Server(slot).Report(*reply);
    }
    return reply.has_value();
}

void CSimulator::RandomFrontPanelChanges() {
    for (std::size_t slot = 0; slot < devices_.size(); ++slot) {
        servers_[slot]->Report(devices_[slot]->RandomFrontPanelChange());
    }
}

std::vector<std::string> CSimulator::Description() const {
    std::vector<std::string> lines;
    for (std::size_t slot = 0; slot < devices_.size(); ++slot) {
        const int d = static_cast<int>(slot);
        std::string line = "Device " + std::to_string(slot + 1) + ": " + doc_->deviceModel[slot] + ", " +
                           std::to_string(doc_->GetInputCount(d)) + " in / " +
                           std::to_string(doc_->GetOutputCount(d)) + " out";
        const CSimServer& server = *servers_[slot];
        if (server.IsListening()) {
            line += ", on " + server.Address().toString().toStdString() + ":" + std::to_string(server.Port());
        }
        if (!server.PtyPath().empty()) {
            line += ", on COM" + std::to_string(slot + 1) + " " + server.PtyPath();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> CSimulator::ComLines() const {
    std::vector<std::string> lines;
    for (std::size_t slot = 0; slot < servers_.size(); ++slot) {
        if (!servers_[slot]->PtyPath().empty()) {
            lines.push_back("COM" + std::to_string(slot + 1) + "=" + servers_[slot]->PtyPath());
        }
    }
    return lines;
}

} // namespace sim
