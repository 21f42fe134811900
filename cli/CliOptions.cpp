#include "cli/CliOptions.h"

#include "model/TonraDoc.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

namespace cli {

namespace {

constexpr double kMaxSeconds = 1e6; // about eleven days
constexpr int kMaxOctet = 255;
constexpr int kMaxWireValue = 0xFFFF; // values travel as 16 bits
constexpr int kMaxChannel = model::kSlotCount - 1;

struct CommandInfo {
    const char* name;
    Command command;
    int positionals;        // arguments after the command name, besides the options
    const char* fileOption; // the option naming the command's file, or null
};

constexpr std::array<CommandInfo, 9> kCommands = {{
    {"dump", Command::Dump, 1, nullptr},
    {"sync", Command::Sync, 0, "out"},
    {"downsync", Command::DownSync, 0, "in"},
    {"upload", Command::Upload, 0, "list"},
    {"download", Command::Download, 0, "list"},
    {"set", Command::Set, 4, nullptr},
    {"recall", Command::Recall, 1, nullptr},
    {"monitor", Command::Monitor, 0, nullptr},
    {"response", Command::Response, 1, nullptr},
}};

constexpr std::array<const char*, 6> kTargetOptions = {"ip", "port", "com", "slot", "password", "timeout"};

const CommandInfo* FindCommand(const std::string& name) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const CommandInfo& info) { return name == info.name; });
    return found == kCommands.end() ? nullptr : &*found;
}

bool IsOptionOf(const std::string& name, const CommandInfo& info) {
    if (info.fileOption && name == info.fileOption) {
        return true;
    }
    if (info.command == Command::Response) {
        return name == "points";
    }
    if (info.command == Command::Dump) {
        return false;
    }
    if (info.command == Command::Monitor && name == "seconds") {
        return true;
    }
    return std::find(kTargetOptions.begin(), kTargetOptions.end(), name) != kTargetOptions.end();
}

std::optional<int> ReadInt(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ReadSeconds(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !(value > 0) || value > kMaxSeconds) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::array<int, model::kIpOctetCount>> ReadAddress(const std::string& text) {
    std::array<int, model::kIpOctetCount> octets{};
    std::size_t start = 0;
    for (int i = 0; i < model::kIpOctetCount; ++i) {
        const std::size_t dot = i + 1 < model::kIpOctetCount ? text.find('.', start) : text.size();
        if (dot == std::string::npos) {
            return std::nullopt;
        }
        const std::optional<int> octet = ReadInt(text.substr(start, dot - start), 0, kMaxOctet);
        if (!octet) {
            return std::nullopt;
        }
        octets[static_cast<std::size_t>(i)] = *octet;
        start = dot + 1;
    }
    // A device with the address 0.0.0.0 has no address at all.
    if (std::all_of(octets.begin(), octets.end(), [](int octet) { return octet == 0; })) {
        return std::nullopt;
    }
    return octets;
}

bool InDeviceCharacterSet(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return CTonraDoc::NameCharTable.find(c) != std::string_view::npos; });
}

// The band, mix input or filter range of a kind; kinds without one take index 0 only.
int MaxIndexOf(int kind) {
    switch (kind) {
    case model::kEqType:
    case model::kEqGain:
    case model::kEqFreq:
    case model::kEqWidth:
        return model::kBandCount - 1;
    case model::kMixLevel:
        return model::kMaxInputs - 1;
    case model::kXoverType:
    case model::kXoverFreq:
    case model::kXoverSlope:
        return model::kXoverFilterCount - 1;
    default:
        return 0;
    }
}

// The kinds the link sends: not the meter, and not amplifier gain and impedance, which stay
// on the PC.
bool IsSentKind(int kind) { return kind >= model::kMute && kind <= model::kLimRelease; }

class Parser {
public:
    Parser(CliOptions& options, std::string& message) : options_(options), message_(message) {}

    ParseResult Parse(const std::vector<std::string>& arguments) {
        if (std::find_if(arguments.begin(), arguments.end(), [](const std::string& argument) {
                return argument == "--help" || argument == "-h";
            }) != arguments.end()) {
            return ParseResult::Help;
        }
        if (arguments.empty()) {
            return Bad("no command given");
        }
        const CommandInfo* info = FindCommand(arguments.front());
        if (!info) {
            return Bad("unknown command \"" + arguments.front() + "\"");
        }
        options_.command = info->command;
        if (!Split(arguments, *info)) {
            return ParseResult::Bad;
        }
        if (static_cast<int>(positionals_.size()) != info->positionals) {
            return Bad(std::string(info->name) + " takes " + std::to_string(info->positionals) +
                       " argument(s) besides its options, not " + std::to_string(positionals_.size()));
        }
        if (info->fileOption && !values_.contains(info->fileOption)) {
            return Bad(std::string(info->name) + " needs --" + info->fileOption + " FILE");
        }
        const bool read = ReadTarget() && ReadCommandArguments(*info);
        return read ? ParseResult::Run : ParseResult::Bad;
    }

private:
    ParseResult Bad(const std::string& message) {
        message_ = message;
        return ParseResult::Bad;
    }

    // Sorts the arguments after the command into options with their values and positionals.
    bool Split(const std::vector<std::string>& arguments, const CommandInfo& info) {
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            const std::string& argument = arguments[i];
            if (argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
                positionals_.push_back(argument);
                continue;
            }
            const std::size_t equals = argument.find('=');
            const std::string name =
                argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            if (!IsOptionOf(name, info)) {
                Bad("--" + name + " is not an option of " + info.name);
                return false;
            }
            if (values_.contains(name)) {
                Bad("--" + name + " is given twice");
                return false;
            }
            if (equals != std::string::npos) {
                values_[name] = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                values_[name] = arguments[++i];
            } else {
                Bad("--" + name + " needs a value");
                return false;
            }
        }
        return true;
    }

    bool ReadTarget() {
        if (!NeedsDevice(options_.command)) {
            return true;
        }
        const bool ip = values_.contains("ip");
        const bool com = values_.contains("com");
        if (ip == com) {
            Bad("give the device as either --ip A.B.C.D or --com N");
            return false;
        }
        options_.network = ip;
        if (ip) {
            const auto address = ReadAddress(values_["ip"]);
            if (!address) {
                Bad("--ip takes an IPv4 address A.B.C.D other than 0.0.0.0");
                return false;
            }
            options_.ipAddress = *address;
            if (values_.contains("port") && !ReadIntOption("port", 1, kMaxPort, options_.port)) {
                return false;
            }
        } else if (values_.contains("port")) {
            Bad("--port goes with --ip only");
            return false;
        } else if (!ReadIntOption("com", 1, kMaxComPort, options_.comPort)) {
            return false;
        }
        if (values_.contains("slot") && !ReadIntOption("slot", 0, model::kDeviceCount - 1, options_.slot)) {
            return false;
        }
        if (values_.contains("password")) {
            options_.password = values_["password"];
            if (options_.password.size() > model::kPasswordLength ||
                !InDeviceCharacterSet(options_.password)) {
                Bad("--password takes up to 4 characters of the device's character set");
                return false;
            }
        }
        return ReadSecondsOption("timeout", options_.timeoutSeconds);
    }

    bool ReadCommandArguments(const CommandInfo& info) {
        if (info.fileOption) {
            options_.file = values_[info.fileOption];
        }
        switch (options_.command) {
        case Command::Dump:
            options_.file = positionals_[0];
            return true;
        case Command::Response:
            options_.file = positionals_[0];
            return !values_.contains("points") ||
                   ReadIntOption("points", kMinResponsePoints, kMaxResponsePoints, options_.points);
        case Command::Set:
            return ReadSetArguments();
        case Command::Recall:
            if (const auto program = ReadInt(positionals_[0], 1, model::kProgramCount)) {
                options_.program = *program;
                return true;
            }
            Bad("PROGRAM is a program number from 1 to 30");
            return false;
        case Command::Monitor:
            if (!values_.contains("seconds")) {
                Bad("monitor needs --seconds S");
                return false;
            }
            if (!ReadSecondsOption("seconds", options_.seconds)) {
                return false;
            }
            // The watch itself must fit into the time the command may take.
            if (!values_.contains("timeout")) {
                options_.timeoutSeconds += options_.seconds;
            }
            return true;
        default:
            return true;
        }
    }

    bool ReadSetArguments() {
        const auto kind = ReadInt(positionals_[0], 0, model::kParamKindCount - 1);
        if (!kind || !IsSentKind(*kind)) {
            Bad("KIND is a parameter kind the device keeps, 1 to 16");
            return false;
        }
        options_.kind = *kind;
        const auto channel = ReadInt(positionals_[1], 0, kMaxChannel);
        if (!channel) {
            Bad("CHANNEL is a channel number from 0 to 15, inputs first");
            return false;
        }
        options_.channel = *channel;
        const auto index = ReadInt(positionals_[2], 0, MaxIndexOf(*kind));
        if (!index) {
            Bad("INDEX of kind " + std::to_string(*kind) + " runs from 0 to " +
                std::to_string(MaxIndexOf(*kind)));
            return false;
        }
        options_.index = *index;
        if (*kind == model::kChannelName) {
            options_.text = positionals_[3];
            if (options_.text.size() > model::kChannelNameLength || !InDeviceCharacterSet(options_.text)) {
                Bad("a channel name (kind 9) is up to 6 characters of the device's character set");
                return false;
            }
            return true;
        }
        const auto value = ReadInt(positionals_[3], 0, kMaxWireValue);
        if (!value) {
            Bad("VALUE is an index from 0 to 65535 (the device's range applies)");
            return false;
        }
        options_.value = *value;
        return true;
    }

    bool ReadIntOption(const char* name, int low, int high, int& target) {
        if (const auto value = ReadInt(values_[name], low, high)) {
            target = *value;
            return true;
        }
        Bad("--" + std::string(name) + " takes a whole number from " + std::to_string(low) + " to " +
            std::to_string(high));
        return false;
    }

    bool ReadSecondsOption(const char* name, double& target) {
        if (!values_.contains(name)) {
            return true;
        }
        if (const auto value = ReadSeconds(values_[name])) {
            target = *value;
            return true;
        }
        Bad("--" + std::string(name) + " takes a number of seconds above 0");
        return false;
    }

    CliOptions& options_;
    std::string& message_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positionals_;
};

} // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                           std::string& message) {
    return Parser(options, message).Parse(arguments);
}

bool NeedsDevice(Command command) { return command != Command::Dump && command != Command::Response; }

std::string UsageText() {
    return R"(Usage:
  veltrix-cli dump FILE.dat
  veltrix-cli response FILE.dat [--points N]
  veltrix-cli sync TARGET --out FILE.dat
  veltrix-cli downsync TARGET --in FILE.dat
  veltrix-cli upload TARGET --list FILE.lst
  veltrix-cli download TARGET --list FILE.lst
  veltrix-cli set TARGET KIND CHANNEL INDEX VALUE
  veltrix-cli recall TARGET PROGRAM
  veltrix-cli monitor TARGET --seconds S

Commands:
  dump       print the data sheet of a setup file as tab-separated text
  response   print the frequency response of every output of a setup file as tab-separated
             text: a line "Hz Out1 .. OutN", then per frequency the level of every output in
             dB (gains, EQ and crossovers summed as the plot sums them, limited to +20 .. -40)
  sync       read the device and save its setup file
  downsync   write a setup file to the device
  upload     save the device's 30 programs as program files beside the list file, and the list
  download   write the 30 programs of a list file (program files beside it) to the device
  set        change one parameter on the device
  recall     recall a program (1 to 30) stored in the device
  monitor    print the link status and the meter levels for S seconds

TARGET:
  --ip A.B.C.D     the device's network address
  --port P         with --ip: the device's TCP port (default 10001)
  --com N          the device's serial port COM N (115200 baud, 8N2)
  --slot D         the device slot 0..15 the device answers to (default 0)
  --password PASS  the device password, up to 4 characters (default none)
  --timeout S      the most the whole command may take, in seconds (default 120; for
                   monitor 120 plus its --seconds)

response: --points N is the plot's grid width, 2 to 100000 (default 960): N - 1 frequencies
  from 20 Hz upwards, f = 20 x 10^(3k / N).

set: KIND 1 mute, 2 level, 3 polarity, 4 delay, 5 EQ type, 6 EQ level, 7 EQ frequency,
  8 EQ width, 9 channel name (VALUE is the name), 10 source level, 11 crossover type,
  12 crossover frequency, 13 crossover slope, 14 limiter threshold, 15 attack, 16 release.
  CHANNEL counts inputs first, then outputs. INDEX is the EQ band 0..5 (kinds 5-8), the
  input 0..7 (kind 10), the crossover filter 0 high-pass or 1 low-pass (kinds 11-13), else 0.
  VALUE is the stored index of the value; values outside the parameter's range are limited.

Status texts of the link go to the error output, one per line. Exit codes: 0 done,
1 a transfer failed or timed out or a file could not be read or written, 2 bad usage,
3 the device did not accept the password.
)";
}

} // namespace cli
