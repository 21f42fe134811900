// What veltrix-cli is asked to do: the command, the device it talks to and the command's own
// arguments, read from the command line.
#pragma once

#include "cli/CliCommands.h"
#include "cli/EqCommand.h"
#include "cli/Response.h"
#include "cli/SetParameter.h"
#include "model/ModelTypes.h"

#include <array>
#include <string>
#include <vector>

namespace cli {

// Exit codes of the program.
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;   // a transfer failed or timed out, a file could not be read or written
constexpr int kExitUsage = 2;    // bad usage
constexpr int kExitPassword = 3; // the device did not accept the password

constexpr double kDefaultTimeoutSeconds = 120;
constexpr int kMaxComPort = 255;
constexpr int kDevicePort = 10001; // the devices' TCP port
constexpr int kMaxPort = 65535;

struct CliOptions {
    Command command = Command::Dump;
    // The target: a network address, or a COM port when comPort is above 0.
    bool network = false;
    std::array<int, model::kIpOctetCount> ipAddress{};
    int port = kDevicePort;
    int comPort = 0;
    int slot = 0;
    std::string password;
    double timeoutSeconds = kDefaultTimeoutSeconds;
    // --out, --in or --list, or the file of dump and response.
    std::string file;
    // set: the parameter kind, the channel, the band/input/filter index and the value.
    int kind = 0;
    // With a kind number as PARAM: the channel number, and VALUE read as the stored index
    // (`value`), or a name for kind 9 (`text`).
    bool byKind = false;
    int channel = 0;
    int index = 0;
    int value = 0;
    std::string text;
    // With a parameter name: the channel as given, VALUE as typed (in its unit, or the index
    // with --raw); both are resolved once the device's counts are known.
    ChannelRef channelRef;
    bool raw = false;
    // recall: the program 1..30.
    int program = 0;
    // monitor: how long to watch, and one JSON object per line instead of text.
    double seconds = 0;
    bool json = false;
    // response: the grid, the output, FRD, and a measurement to predict.
    ResponseRequest response;
    // eq: export or import, and their files, channel and format.
    EqOptions eq;
    // help: the command asked about, empty for the whole usage.
    std::string helpTopic;
};

enum class ParseResult { Run, Help, Bad };

// The line that follows the reason of a usage error.
constexpr const char* kUsageHint = "run veltrix-cli --help";

// Reads the arguments (without the program name). Bad comes with a message saying what is
// wrong.
ParseResult ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                           std::string& message);
// What --help or `help COMMAND` prints for the parsed options.
std::string HelpText(const CliOptions& options);

// Whether the command talks to a device (every command but dump and response).
bool NeedsDevice(Command command);

} // namespace cli
