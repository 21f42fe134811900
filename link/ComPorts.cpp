#include "link/ComPorts.h"

#include <QSettings>
#include <QString>

#include <cstdlib>

namespace devlink {

namespace {
constexpr const char* kEnvironmentPrefix = "VELTRIX_COM";
constexpr const char* kSettingsPrefix = "SerialPorts/COM";
constexpr const char* kDefaultDevicePrefix = "/dev/ttyS";
} // namespace

std::string ComPortDevicePath(int comPort) {
    if (comPort < 1) {
        return {};
    }
    const std::string number = std::to_string(comPort);
    if (const char* path = std::getenv((kEnvironmentPrefix + number).c_str()); path && *path) {
        return path;
    }
    const QSettings settings;
    const QString configured = settings.value(QString::fromStdString(kSettingsPrefix + number)).toString();
    if (!configured.isEmpty()) {
        return configured.toStdString();
    }
    return kDefaultDevicePrefix + std::to_string(comPort - 1);
}

} // namespace devlink
