#include "link/ComPorts.h"

#include <QSerialPortInfo>
#include <QSettings>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace devlink {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEnvironmentPrefix = "VELTRIX_COM";
constexpr const char* kSettingsGroup = "SerialPorts";
constexpr std::string_view kComKeyPrefix = "COM";
constexpr const char* kDefaultDevicePrefix = "/dev/ttyS";
// The settings file, beside the connection file: ~/.config/Veltrix/Veltrix.conf.
constexpr const char* kSettingsFolder = "Veltrix";
constexpr const char* kSettingsName = "Veltrix";
// Earlier versions kept the mapping in the GUI's default settings file, which the command-line
// tool never read; a mapping found only there still counts.
constexpr const char* kLegacySettingsFolder = "Unknown Organization";

QString ComKey(int comPort) { return QString::fromLatin1(kComKeyPrefix.data()) + QString::number(comPort); }

std::string SettingOf(const char* folder, int comPort) {
    QSettings settings(folder, kSettingsName);
    settings.beginGroup(kSettingsGroup);
    return settings.value(ComKey(comPort)).toString().toStdString();
}

std::optional<int> ComNumber(std::string_view text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 1) {
        return std::nullopt;
    }
    return number;
}

void AddSettingsNumbers(const char* folder, std::set<int>& numbers) {
    QSettings settings(folder, kSettingsName);
    settings.beginGroup(kSettingsGroup);
    for (const QString& key : settings.childKeys()) {
        const std::string name = key.toStdString();
        if (name.starts_with(kComKeyPrefix)) {
            if (const std::optional<int> number =
                    ComNumber(std::string_view(name).substr(kComKeyPrefix.size()))) {
                numbers.insert(*number);
            }
        }
    }
}

void AddEnvironmentNumbers(std::set<int>& numbers) {
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::size_t equals = text.find('=');
        if (text.starts_with(kEnvironmentPrefix) && equals != std::string_view::npos) {
            const std::string_view digits =
                text.substr(kEnvironmentPrefix.size(), equals - kEnvironmentPrefix.size());
            if (const std::optional<int> number = ComNumber(digits)) {
                numbers.insert(*number);
            }
        }
    }
}

std::optional<unsigned> IdOf(bool has, quint16 id) {
    return has ? std::optional<unsigned>(id) : std::nullopt;
}

} // namespace

std::string DefaultComPortPath(int comPort) {
    return comPort < 1 ? std::string() : kDefaultDevicePrefix + std::to_string(comPort - 1);
}

ComPortTarget ComPortTargetOf(int comPort) {
    if (comPort < 1) {
        return {};
    }
    const std::string variable = std::string(kEnvironmentPrefix) + std::to_string(comPort);
    if (const char* path = std::getenv(variable.c_str()); path && *path) {
        return {path, ComPortSource::Environment};
    }
    for (const char* folder : {kSettingsFolder, kLegacySettingsFolder}) {
        if (std::string configured = SettingOf(folder, comPort); !configured.empty()) {
            return {std::move(configured), ComPortSource::Settings};
        }
    }
    return {DefaultComPortPath(comPort), ComPortSource::Default};
}

std::string ComPortDevicePath(int comPort) { return ComPortTargetOf(comPort).path; }

void SetComPortDevicePath(int comPort, const std::string& path) {
    if (comPort < 1) {
        return;
    }
    for (const char* folder : {kSettingsFolder, kLegacySettingsFolder}) {
        QSettings settings(folder, kSettingsName);
        settings.beginGroup(kSettingsGroup);
        if (folder == kSettingsFolder && !path.empty() && path != DefaultComPortPath(comPort)) {
            settings.setValue(ComKey(comPort), QString::fromStdString(path));
        } else if (settings.contains(ComKey(comPort))) {
            settings.remove(ComKey(comPort));
        }
    }
}

std::vector<int> RedirectedComPorts() {
    std::set<int> numbers;
    AddSettingsNumbers(kSettingsFolder, numbers);
    AddSettingsNumbers(kLegacySettingsFolder, numbers);
    AddEnvironmentNumbers(numbers);
    std::vector<int> redirected;
    std::copy_if(numbers.begin(), numbers.end(), std::back_inserter(redirected),
                 [](int number) { return ComPortDevicePath(number) != DefaultComPortPath(number); });
    return redirected;
}

std::string StableNameOf(const std::string& path, const std::string& stableNameFolder) {
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    if (error) {
        return {};
    }
    for (const fs::directory_entry& link : fs::directory_iterator(stableNameFolder, error)) {
        std::error_code linkError;
        if (fs::canonical(link.path(), linkError) == device && !linkError) {
            return link.path().string();
        }
    }
    return {};
}

bool DeviceExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

std::vector<SerialPortInfo> SystemSerialPorts(const std::string& stableNameFolder) {
    std::vector<SerialPortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortInfo port;
        port.path = info.systemLocation().toStdString();
        port.stableName = StableNameOf(port.path, stableNameFolder);
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        port.vendorId = IdOf(info.hasVendorIdentifier(), info.vendorIdentifier());
        port.productId = IdOf(info.hasProductIdentifier(), info.productIdentifier());
        ports.push_back(std::move(port));
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.path < b.path; });
    return ports;
}

} // namespace devlink
