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

constexpr std::array<const char*, 6> kTargetOptions = {"ip", "port", "com", "slot", "password", "timeout"};

// Options without a value, and the command that takes each.
struct Flag {
    const char* name;
    Command command;
};
constexpr std::array<Flag, 3> kFlags = {
    {{"raw", Command::Set}, {"json", Command::Monitor}, {"json", Command::Ports}}};

bool IsFlag(const std::string& name) {
    return std::any_of(kFlags.begin(), kFlags.end(), [&](const Flag& flag) { return name == flag.name; });
}

bool IsOptionOf(const std::string& name, const CommandInfo& info) {
    if (info.fileOption && name == info.fileOption) {
        return true;
    }
    if (std::any_of(kFlags.begin(), kFlags.end(),
                    [&](const Flag& flag) { return name == flag.name && info.command == flag.command; })) {
        return true;
    }
    if (info.command == Command::Response) {
        return name == "points" || name == "output" || name == "format" || name == "measured" ||
               name == "baseline";
    }
    if (info.command == Command::Eq) {
        return name == "format" || name == "out";
    }
    if (!info.talksToDevice) {
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
        if (!arguments.empty() && arguments.front() == "help") {
            return Help(arguments);
        }
        if (std::find_if(arguments.begin(), arguments.end(), [](const std::string& argument) {
                return argument == "--help" || argument == "-h";
            }) != arguments.end()) {
            if (!arguments.empty() && FindCommand(arguments.front())) {
                options_.helpTopic = arguments.front();
            }
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
        const int given = static_cast<int>(positionals_.size());
        if (given < info->minPositionals || given > info->maxPositionals) {
            return Bad(std::string(info->name) + " takes " + PositionalCount(*info) +
                       " argument(s) besides its options, not " + std::to_string(given));
        }
        if (info->fileOption && !values_.contains(info->fileOption)) {
            return Bad(std::string(info->name) + " needs --" + info->fileOption + " FILE");
        }
        const bool read = ReadTarget(*info) && ReadCommandArguments(*info);
        return read ? ParseResult::Run : ParseResult::Bad;
    }

private:
    ParseResult Bad(const std::string& message) {
        message_ = message;
        return ParseResult::Bad;
    }

    // `help` or `help COMMAND`.
    ParseResult Help(const std::vector<std::string>& arguments) {
        if (arguments.size() > 2) {
            return Bad("help takes one command name at most");
        }
        if (arguments.size() == 2) {
            if (!FindCommand(arguments[1])) {
                return Bad("unknown command \"" + arguments[1] + "\"");
            }
            options_.helpTopic = arguments[1];
        }
        return ParseResult::Help;
    }

    static std::string PositionalCount(const CommandInfo& info) {
        return info.minPositionals == info.maxPositionals
                   ? std::to_string(info.minPositionals)
                   : std::to_string(info.minPositionals) + " or " + std::to_string(info.maxPositionals);
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
                Bad("--" + name + " is not an option of " + std::string(info.name));
                return false;
            }
            if (values_.contains(name)) {
                Bad("--" + name + " is given twice");
                return false;
            }
            if (IsFlag(name)) {
                if (equals != std::string::npos) {
                    Bad("--" + name + " takes no value");
                    return false;
                }
                values_[name] = "";
            } else if (equals != std::string::npos) {
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

    bool ReadTarget(const CommandInfo& info) {
        if (!info.talksToDevice) {
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
            return ReadResponseOptions();
        case Command::Set:
            return ReadSetArguments();
        case Command::Eq:
            return ReadEqArguments(positionals_, values_, options_.eq, message_);
        case Command::Recall:
            if (const auto program = ReadInt(positionals_[0], 1, model::kProgramCount)) {
                options_.program = *program;
                return true;
            }
            Bad("PROGRAM is a program number from 1 to 30");
            return false;
        case Command::Ports:
            options_.json = values_.contains("json");
            return true;
        case Command::Monitor:
            if (!values_.contains("seconds")) {
                Bad("monitor needs --seconds S");
                return false;
            }
            if (!ReadSecondsOption("seconds", options_.seconds)) {
                return false;
            }
            options_.json = values_.contains("json");
            // The watch itself must fit into the time the command may take.
            if (!values_.contains("timeout")) {
                options_.timeoutSeconds += options_.seconds;
            }
            return true;
        default:
            return true;
        }
    }

    // --points N, --output N, --format text|frd, --measured FILE [--baseline FILE].
    bool ReadResponseOptions() {
        ResponseRequest& request = options_.response;
        if ((values_.contains("points") &&
             !ReadIntOption("points", kMinResponsePoints, kMaxResponsePoints, request.points)) ||
            (values_.contains("output") && !ReadIntOption("output", 1, model::kMaxOutputs, request.output))) {
            return false;
        }
        const bool measured = values_.contains("measured");
        const bool baseline = values_.contains("baseline");
        const std::string format = values_.contains("format") ? values_["format"] : "text";
        request.frd = format == "frd";
        request.measured = measured ? values_["measured"] : "";
        request.baseline = baseline ? values_["baseline"] : "";
        const char* wrong = nullptr;
        if (format != "text" && format != "frd") {
            wrong = "--format is text or frd";
        } else if ((request.frd || measured) && request.output == 0) {
            wrong = request.frd ? "--format frd needs --output N" : "--measured needs --output N";
        } else if (measured && (request.frd || values_.contains("points"))) {
            wrong = "--measured prints at the measured frequencies: no --format frd, no --points";
        } else if (baseline && !measured) {
            wrong = "--baseline goes with --measured";
        }
        if (wrong) {
            Bad(wrong);
        }
        return !wrong;
    }

    bool ReadSetArguments() {
        options_.raw = values_.contains("raw");
        if (const NamedParam* param = FindNamedParam(positionals_[0])) {
            return ReadNamedSet(*param);
        }
        const auto kind = ReadInt(positionals_[0], 0, model::kParamKindCount - 1);
        if (!kind) {
            Bad("PARAM \"" + positionals_[0] + "\" is neither a parameter name nor a kind number (see " +
                "veltrix-cli help set)");
            return false;
        }
        return ReadKindSet(*kind);
    }

    // PARAM CHANNEL [INDEX] VALUE with a parameter name.
    bool ReadNamedSet(const NamedParam& param) {
        options_.kind = param.kind;
        const bool hasIndex = param.index != IndexKind::None;
        if (static_cast<int>(positionals_.size()) != (hasIndex ? 4 : 3)) {
            Bad(std::string(param.name) +
                (hasIndex ? " takes CHANNEL, INDEX (" + std::string(IndexHelp(param.index)) + ") and VALUE"
                          : " takes CHANNEL and VALUE, no INDEX"));
            return false;
        }
        const auto channel = ReadChannel(positionals_[1]);
        if (!channel) {
            Bad("CHANNEL is in1..in8, out1..out8 or a channel number from 0 to 15, not \"" + positionals_[1] +
                "\"");
            return false;
        }
        if (param.outputOnly && channel->side == ChannelRef::Side::Input) {
            Bad(std::string(param.name) + " belongs to the outputs: CHANNEL is out1..out8");
            return false;
        }
        options_.channelRef = *channel;
        if (hasIndex) {
            const auto index = ReadIndex(param.index, positionals_[2]);
            if (!index) {
                Bad("INDEX of " + std::string(param.name) + " is " + std::string(IndexHelp(param.index)) +
                    ", not \"" + positionals_[2] + "\"");
                return false;
            }
            options_.index = *index;
        }
        options_.text = positionals_.back();
        if (param.kind == model::kChannelName) {
            return ReadName();
        }
        return true;
    }

    // KIND CHANNEL INDEX VALUE: numbers, VALUE the stored index.
    bool ReadKindSet(int kind) {
        if (!IsSentKind(kind)) {
            Bad("KIND is a parameter kind the device keeps, 1 to 16");
            return false;
        }
        if (positionals_.size() != 4) {
            Bad("with a kind number, set takes KIND CHANNEL INDEX VALUE");
            return false;
        }
        if (options_.raw) {
            Bad("--raw goes with a parameter name; with a kind number VALUE is the index already");
            return false;
        }
        options_.byKind = true;
        options_.kind = kind;
        const auto channel = ReadInt(positionals_[1], 0, kMaxChannel);
        if (!channel) {
            Bad("CHANNEL is a channel number from 0 to 15, inputs first");
            return false;
        }
        options_.channel = *channel;
        const auto index = ReadInt(positionals_[2], 0, MaxIndexOf(kind));
        if (!index) {
            Bad("INDEX of kind " + std::to_string(kind) + " runs from 0 to " +
                std::to_string(MaxIndexOf(kind)));
            return false;
        }
        options_.index = *index;
        options_.text = positionals_[3];
        if (kind == model::kChannelName) {
            return ReadName();
        }
        const auto value = ReadInt(positionals_[3], 0, kMaxWireValue);
        if (!value) {
            Bad("VALUE is an index from 0 to 65535 (the device's range applies)");
            return false;
        }
        options_.value = *value;
        return true;
    }

    bool ReadName() {
        if (options_.text.size() > model::kChannelNameLength || !InDeviceCharacterSet(options_.text)) {
            Bad("a channel name is up to 6 characters of the device's character set");
            return false;
        }
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

bool NeedsDevice(Command command) { return InfoOf(command).talksToDevice; }

std::string HelpText(const CliOptions& options) {
    const CommandInfo* info = FindCommand(options.helpTopic);
    return info ? CommandHelpText(*info) : UsageText();
}

} // namespace cli
