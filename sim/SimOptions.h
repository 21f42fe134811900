// What the device simulator serves and how it misbehaves: the devices with their models and
// identities, where they listen, the pacing of the serial line, and the faults it injects.
// Every random decision comes from the seed, so a run can be repeated exactly.
#pragma once

#include <string>
#include <vector>

namespace sim {

// A model the simulator knows, with its channel counts.
struct DeviceModel {
    std::string name;
    int inputs;
    int outputs;
};

// "RLT-1448" (4 in / 8 out), "KVA-1326" (2 / 6), "NQVE-1888" (8 / 8), "ZE-1113" (1 / 3).
const std::vector<DeviceModel>& KnownModels();
// The known model of that name, or a model of that name with 4 inputs and 8 outputs.
DeviceModel ModelNamed(const std::string& name);

// The serial line's character rate: 115200 baud, each character 11 bits long with 8N2.
constexpr double kLineCharsPerSecond = 115200.0 / 11.0;

struct SimOptions {
    int deviceCount = 1; // 1..16, in device slots 0 .. deviceCount-1
    // Models given to the devices in turn.
    std::vector<std::string> models = {"RLT-1448"};
    int inputs = 0; // overrides the model's counts when 1..8
    int outputs = 0;
    std::string password; // up to 4 characters of the device set; empty: none (4 blanks)
    int oemPrograms = 0;  // 0..30
    bool factoryEq = false;

    bool network = true;
    std::string address = "127.0.0.2"; // device slot d listens on this address + d
    int port = 10001;                  // 0: a free port for each device
    bool pty = false;

    bool pace = false;            // send and read no faster than the serial line
    double frontPanelSeconds = 0; // a front-panel change every so often; 0: none
    double dropShare = 0;         // share of reply frames not sent
    double corruptShare = 0;      // share of reply frames and blocks with a wrong checksum
    double garbageShare = 0;      // share of frames preceded by junk characters
    double stopAfterSeconds = 0;  // stop answering this long after the start; 0: never
    double closeAfterSeconds = 0; // close each connection this long after it opened; 0: never
    // Switch every device off this long after the start (its connections end, nothing listens,
    // its pseudo-terminal falls silent) and on again offForSeconds later; 0: never, stay off.
    double offAfterSeconds = 0;
    double offForSeconds = 0;
    unsigned seed = 1;
};

// Reads the program's arguments (without the program name) into options; false with a
// message for anything it does not understand. `help` is set for --help.
bool ParseArguments(const std::vector<std::string>& arguments, SimOptions& options, std::string& message,
                    bool& help);
// The text of --help.
std::string UsageText();

} // namespace sim
