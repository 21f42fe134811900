#include "sim/SimOptions.h"

#include "model/ModelTypes.h"

#include <QCommandLineParser>
#include <QHostAddress>

#include <algorithm>

namespace sim {

namespace {

constexpr int kLastOctetMask = 0xFF;
constexpr int kMaxPort = 65535;
constexpr double kMaxSeconds = 1e6; // about eleven days

QCommandLineOption Option(const char* name, const char* description, const char* valueName = nullptr) {
    return valueName ? QCommandLineOption(name, description, valueName)
                     : QCommandLineOption(name, description);
}

// The options of the program, in the order --help lists them.
void AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Simulates up to 16 loudspeaker management processors for Veltrix: each device answers on its own\n"
        "loopback address (127.0.0.2, 127.0.0.3, ...) at port 10001, or on a pseudo-terminal with --pty.");
    parser.addHelpOption();
    parser.addOptions({
        Option("devices", "Number of devices, 1 to 16 (default 1).", "n"),
        Option("model",
               "Models given to the devices in turn, separated by commas: RLT-1448 (default), "
               "KVA-1326, NQVE-1888, ZE-1113.",
               "names"),
        Option("inputs", "Inputs of every device, 1 to 8 (default: the model's).", "n"),
        Option("outputs", "Outputs of every device, 1 to 8 (default: the model's).", "n"),
        Option("password", "Device password, up to 4 characters (default: none).", "text"),
        Option("oem-programs", "Number of OEM programs, 0 to 30 (default 0).", "n"),
        Option("factory-eq", "Set the factory EQ flag."),
        Option("address", "Address of the first device; the others follow (default 127.0.0.2).", "ip"),
        Option("port", "TCP port of every device; 0 picks a free one per device (default 10001).", "port"),
        Option("pty", "Serve each device on a pseudo-terminal and print COM<n>=<path> lines."),
        Option("tcp", "With --pty, serve TCP as well."),
        Option("pace",
               "Send and read no faster than a 115200 baud 8N2 line (10472.7 characters per second)."),
        Option("front-panel", "Change a parameter on the front panel every so many seconds.", "seconds"),
        Option("drop", "Share of reply frames not sent, 0 to 1.", "share"),
        Option("corrupt", "Share of reply frames and blocks sent with a wrong checksum, 0 to 1.", "share"),
        Option("garbage", "Share of frames preceded by junk characters, 0 to 1.", "share"),
        Option("stop-after", "Stop answering so many seconds after the start.", "seconds"),
        Option("close-after", "Close each TCP connection so many seconds after it opened.", "seconds"),
        Option("off-after", "Switch every device off so many seconds after the start.", "seconds"),
        Option("off-for", "Switch them on again after so many seconds off (default: stay off).", "seconds"),
        Option("seed", "Seed of every random choice (default 1).", "n"),
    });
}

bool ReadInt(const QCommandLineParser& parser, const char* name, int low, int high, int& value,
             std::string& message) {
    if (!parser.isSet(name)) {
        return true;
    }
    bool ok = false;
    const int read = parser.value(name).toInt(&ok);
    if (!ok || read < low || read > high) {
        message = "--" + std::string(name) + " takes a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high);
        return false;
    }
    value = read;
    return true;
}

bool ReadDouble(const QCommandLineParser& parser, const char* name, double high, double& value,
                std::string& message) {
    if (!parser.isSet(name)) {
        return true;
    }
    bool ok = false;
    const double read = parser.value(name).toDouble(&ok);
    if (!ok || read < 0 || read > high) {
        message =
            "--" + std::string(name) + " takes a number from 0 to " + QString::number(high).toStdString();
        return false;
    }
    value = read;
    return true;
}

bool ReadAddress(const QCommandLineParser& parser, const SimOptions& options, std::string& address,
                 std::string& message) {
    const std::string text = parser.isSet("address") ? parser.value("address").toStdString() : address;
    const QHostAddress host(QString::fromStdString(text));
    const bool ipv4 = host.protocol() == QAbstractSocket::IPv4Protocol;
    if (!ipv4 ||
        static_cast<int>(host.toIPv4Address() & kLastOctetMask) + options.deviceCount - 1 > kLastOctetMask) {
        message = "--address takes an IPv4 address with room for every device after it";
        return false;
    }
    address = text;
    return true;
}

} // namespace

const std::vector<DeviceModel>& KnownModels() {
    static const std::vector<DeviceModel> models = {
        {"RLT-1448", 4, 8},
        {"KVA-1326", 2, 6},
        {"NQVE-1888", 8, 8},
        {"ZE-1113", 1, 3},
    };
    return models;
}

DeviceModel ModelNamed(const std::string& name) {
    const auto& models = KnownModels();
    const auto known =
        std::find_if(models.begin(), models.end(), [&](const DeviceModel& m) { return m.name == name; });
    return known != models.end() ? *known : DeviceModel{name, models.front().inputs, models.front().outputs};
}

bool ParseArguments(const std::vector<std::string>& arguments, SimOptions& options, std::string& message,
                    bool& help) {
    QCommandLineParser parser;
    AddOptions(parser);
    QStringList list = {"veltrix-sim"};
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    if (!parser.parse(list)) {
        message = parser.errorText().toStdString();
        return false;
    }
    help = parser.isSet("help");
    if (!parser.positionalArguments().isEmpty()) {
        message = "unexpected argument " + parser.positionalArguments().front().toStdString();
        return false;
    }
    SimOptions read = options;
    if (parser.isSet("model")) {
        read.models.clear();
        for (const QString& part : parser.value("model").split(',', Qt::SkipEmptyParts)) {
            const std::string name = part.trimmed().toStdString();
            if (name.size() > static_cast<std::size_t>(model::kModelNameLength)) {
                message = "a model name has at most 16 characters";
                return false;
            }
            read.models.push_back(name);
        }
        if (read.models.empty()) {
            message = "--model needs a model name";
            return false;
        }
    }
    if (parser.isSet("password")) {
        read.password = parser.value("password").toStdString();
        if (read.password.size() > model::kPasswordLength) {
            message = "--password takes up to 4 characters";
            return false;
        }
    }
    read.factoryEq = read.factoryEq || parser.isSet("factory-eq");
    read.pty = read.pty || parser.isSet("pty");
    read.network = !read.pty || parser.isSet("tcp");
    read.pace = read.pace || parser.isSet("pace");
    const bool valid = ReadInt(parser, "devices", 1, model::kDeviceCount, read.deviceCount, message) &&
                       ReadInt(parser, "inputs", 1, model::kMaxInputs, read.inputs, message) &&
                       ReadInt(parser, "outputs", 1, model::kMaxOutputs, read.outputs, message) &&
                       ReadInt(parser, "oem-programs", 0, model::kProgramCount, read.oemPrograms, message) &&
                       ReadInt(parser, "port", 0, kMaxPort, read.port, message) &&
                       ReadAddress(parser, read, read.address, message) &&
                       ReadDouble(parser, "front-panel", kMaxSeconds, read.frontPanelSeconds, message) &&
                       ReadDouble(parser, "drop", 1, read.dropShare, message) &&
                       ReadDouble(parser, "corrupt", 1, read.corruptShare, message) &&
                       ReadDouble(parser, "garbage", 1, read.garbageShare, message) &&
                       ReadDouble(parser, "stop-after", kMaxSeconds, read.stopAfterSeconds, message) &&
                       ReadDouble(parser, "close-after", kMaxSeconds, read.closeAfterSeconds, message) &&
                       ReadDouble(parser, "off-after", kMaxSeconds, read.offAfterSeconds, message) &&
                       ReadDouble(parser, "off-for", kMaxSeconds, read.offForSeconds, message);
    if (!valid) {
        return false;
    }
    if (parser.isSet("seed")) {
        bool ok = false;
        read.seed = parser.value("seed").toUInt(&ok);
        if (!ok) {
            message = "--seed takes a whole number";
            return false;
        }
    }
    options = read;
    return true;
}

std::string UsageText() {
    QCommandLineParser parser;
    AddOptions(parser);
    return parser.helpText().toStdString();
}

} // namespace sim
