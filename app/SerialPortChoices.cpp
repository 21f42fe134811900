#include "app/SerialPortChoices.h"

#include "dialogs/SetupCom.h"
#include "link/ComPorts.h"

#include <filesystem>

namespace app {

namespace {

// "ttyUSB0: FT232R USB UART, FTDI"; as much of it as the system tells.
std::string PortLabel(const devlink::SerialPortInfo& port) {
    std::string label = std::filesystem::path(port.path).filename().string();
    if (!port.description.empty()) {
        label += ": " + port.description;
    }
    if (!port.manufacturer.empty() && port.manufacturer != port.description) {
        label += (port.description.empty() ? ": " : ", ") + port.manufacturer;
    }
    return label;
}

} // namespace

void FillSerialPortChoices(CSetupCom& dialog) {
    dialog.portOptions.clear();
    for (const devlink::SerialPortInfo& port : devlink::SystemSerialPorts()) {
        dialog.portOptions.push_back({port.PreferredName(), port.path, PortLabel(port)});
    }
    for (int com = 1; com <= CSetupCom::kComPortCount; ++com) {
        const devlink::ComPortTarget target = devlink::ComPortTargetOf(com);
        const bool fromEnvironment = target.source == devlink::ComPortSource::Environment;
        dialog.comTargets[static_cast<std::size_t>(com)] = {target.path, devlink::DeviceExists(target.path),
                                                            fromEnvironment};
    }
}

void StoreSerialPortChoices(const CSetupCom& dialog) {
    for (int com = 1; com <= CSetupCom::kComPortCount; ++com) {
        const CSetupCom::ComTarget& target = dialog.comTargets[static_cast<std::size_t>(com)];
        if (!target.fixed && target.path != devlink::ComPortDevicePath(com)) {
            devlink::SetComPortDevicePath(com, target.path);
        }
    }
}

} // namespace app
