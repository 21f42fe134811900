// The connection file: how every device slot is reached, kept between runs of the program.
// 324 bytes of 32-bit little-endian integers: the connection mode, the COM port of devices
// 0..15, then the four address octets of devices 0..15.
//
// It lives in the user's configuration folder as Veltrix/tonra.sys
// ($XDG_CONFIG_HOME/Veltrix/tonra.sys, by default ~/.config/Veltrix/tonra.sys); the
// environment variable VELTRIX_CONNECTION_FILE names another file instead (tests, the demo
// network and the simulator use it).
#pragma once

#include "model/ModelTypes.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>
#include <string>

namespace model {

constexpr int kConnectionFileSize = 324;
constexpr const char* kConnectionFileVariable = "VELTRIX_CONNECTION_FILE";

struct ConnectionSettings {
    int connectionMode = 0; // 0 COM ports, non-zero network addresses
    DeviceArray<int> comPort{};
    DeviceArray<std::array<int, kIpOctetCount>> ipAddress{};

    bool operator==(const ConnectionSettings&) const = default;
};

QByteArray WriteConnectionBytes(const ConnectionSettings& settings);
// Nothing when the bytes are too few to hold every setting.
std::optional<ConnectionSettings> ReadConnectionBytes(QByteArrayView bytes);

// Where the connection file is kept.
std::string ConnectionFilePath();
// The settings in the file at `path`; nothing when there is no such file or it is incomplete.
std::optional<ConnectionSettings> ReadConnectionFile(const std::string& path);
// Creates or replaces the file at `path`, and its folder when missing. False, with the reason
// in `problem`, when that fails.
bool WriteConnectionFile(const std::string& path, const ConnectionSettings& settings, std::string& problem);

} // namespace model
