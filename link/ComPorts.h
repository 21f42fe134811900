// Where a numbered COM port lives on this system, and which serial ports the system has.
//
// COM n is /dev/ttyS<n-1> (the usual numbering), unless the program's settings name another
// device under "SerialPorts/COM<n>", or the environment variable VELTRIX_COM<n> does (it wins:
// the simulator's pseudo-terminals and the tests use it). The settings live in
// ~/.config/Veltrix/Veltrix.conf, beside the connection file, so that the GUI and veltrix-cli
// read the same mapping; the connection file itself keeps only the COM numbers.
//
// USB adapters get a new /dev/ttyUSB<k> at every replug; their stable names live under
// /dev/serial/by-id/, and a COM number is best pointed at that name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace devlink {

inline constexpr const char* kStableNameFolder = "/dev/serial/by-id";

// Who decided where a COM number leads.
enum class ComPortSource { Default, Settings, Environment };

struct ComPortTarget {
    std::string path;
    ComPortSource source = ComPortSource::Default;
};

// A serial port the system has.
struct SerialPortInfo {
    std::string path;       // the device file, for example /dev/ttyUSB0
    std::string stableName; // its link under /dev/serial/by-id/; empty when it has none
    std::string description;
    std::string manufacturer;
    std::optional<unsigned> vendorId;
    std::optional<unsigned> productId;

    // The name to store for it: the stable name where there is one.
    const std::string& PreferredName() const { return stableName.empty() ? path : stableName; }
};

// /dev/ttyS<n-1>; empty for a port number below 1.
std::string DefaultComPortPath(int comPort);
// Where COM `comPort` (1-based) leads and who said so; an empty path for a number below 1.
ComPortTarget ComPortTargetOf(int comPort);
// The device path of COM port `comPort`; empty for a port number below 1.
std::string ComPortDevicePath(int comPort);
// Points COM `comPort` at `path` in the settings. The default path, or an empty one, removes the
// setting, so that the number leads to its default again.
void SetComPortDevicePath(int comPort, const std::string& path);
// Every COM number that the settings or the environment lead somewhere other than its default,
// in ascending order.
std::vector<int> RedirectedComPorts();

// The serial ports the system reports, in the order of their paths, each with its stable name
// looked up in `stableNameFolder`.
std::vector<SerialPortInfo> SystemSerialPorts(const std::string& stableNameFolder = kStableNameFolder);
// The link in `stableNameFolder` that leads to the device `path`; empty when there is none.
std::string StableNameOf(const std::string& path, const std::string& stableNameFolder = kStableNameFolder);
// Whether a device file (or a link to one) exists at `path`.
bool DeviceExists(const std::string& path);

} // namespace devlink
