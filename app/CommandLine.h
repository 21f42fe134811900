// The program's command line: an optional setup file, the demo network, --help and
// --version. It is read before any window exists, so that --help, --version and a mistake
// are answered on a terminal without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

constexpr int kDefaultDemoDevices = 4;

struct CommandLine {
    std::optional<std::string> setupFile;
    std::optional<int> demoDevices; // --demo [N]: N simulated devices, 1..16
    bool help = false;
    bool version = false;
    // Options of the window system (-platform offscreen, -display :1, ...), left for Qt.
    std::vector<std::string> windowSystemArguments;
};

// Reads the arguments after the program name. False, with a message naming the mistake,
// for an unknown option, a second file or a device count outside 1..16.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& message);

// The text of --help and of --version.
std::string UsageText();
std::string VersionText();

} // namespace app
