#include "app/CommandLine.h"

#include "model/ModelTypes.h"
#include "model/SetupFile.h"
#include "res/Version.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>
#include <string_view>

namespace app {

namespace {

// Options Qt reads itself: those that take a value, then the switches.
constexpr std::array<std::string_view, 12> kWindowSystemOptionsWithValue = {
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin",  "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-display", "-name",
    "-style",       "-stylesheet",
};
constexpr std::array<std::string_view, 5> kWindowSystemSwitches = {
    "-reverse", "-widgetcount", "-nograb", "-dograb", "-sync",
};

bool IsOneOf(std::string_view argument, std::span<const std::string_view> options) {
    return std::find(options.begin(), options.end(), argument) != options.end();
}

std::optional<int> DeviceCount(std::string_view text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return count;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& message) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (line.setupFile) {
                message = "only one setup file can be opened; \"" + *line.setupFile + "\" and \"" + argument +
                          "\" were given";
                return false;
            }
            line.setupFile = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--demo") {
            line.demoDevices = kDefaultDemoDevices;
            if (i + 1 < arguments.size()) {
                if (const std::optional<int> count = DeviceCount(arguments[i + 1])) {
                    if (*count < 1 || *count > model::kDeviceCount) {
                        message = "--demo takes a number of devices from 1 to 16, not " + arguments[i + 1];
                        return false;
                    }
                    line.demoDevices = *count;
                    ++i;
                }
            }
        } else if (IsOneOf(argument, kWindowSystemOptionsWithValue) && i + 1 < arguments.size()) {
            line.windowSystemArguments.push_back(argument);
            line.windowSystemArguments.push_back(arguments[++i]);
        } else if (IsOneOf(argument, kWindowSystemSwitches)) {
            line.windowSystemArguments.push_back(argument);
        } else {
            message = "unknown option " + argument;
            return false;
        }
    }
    return true;
}

std::string UsageText() {
    return "Usage: veltrix [SETUP-FILE.dat]\n"
           "       veltrix --demo [N]\n"
           "\n"
           "Veltrix controls a network of up to 16 loudspeaker management processors over\n"
           "serial ports or TCP.\n"
           "\n"
           "  SETUP-FILE.dat  open this setup file into the current device at start-up\n"
           "  --demo [N]      try the program without hardware: N simulated devices (1..16,\n"
           "                  default 4) on free loopback addresses, connected at start;\n"
           "                  nothing is left behind when the program ends\n"
           "  --help, -h      show this text and end\n"
           "  --version       show the program's version and end\n"
           "\n"
           "The connection settings are kept in ~/.config/Veltrix/tonra.sys\n"
           "(VELTRIX_CONNECTION_FILE names another file). Unsaved changes of a program\n"
           "ended by SIGTERM, SIGHUP or Ctrl+C are kept in ~/.config/Veltrix/recovery.dat\n"
           "and offered at the next start.\n";
}

std::string VersionText() {
    return "Veltrix " + std::string(res::kVersion) + " (setup file version " +
           std::string(model::kSetupFileVersion) + ")\n";
}

} // namespace app
