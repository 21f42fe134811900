// veltrix-sim: the device simulator as a program. It serves the devices until it is stopped
// (Ctrl+C).
#include "sim/SimOptions.h"
#include "sim/Simulator.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    sim::SimOptions options;
    std::string message;
    bool help = false;
    if (!sim::ParseArguments(arguments, options, message, help)) {
        std::cerr << "veltrix-sim: " << message << "\nTry veltrix-sim --help.\n";
        return 2;
    }
    if (help) {
        std::cout << sim::UsageText();
        return 0;
    }
    sim::CSimulator simulator(options);
    if (!simulator.Start(message)) {
        std::cerr << "veltrix-sim: " << message << "\n";
        return 1;
    }
    // With pseudo-terminals the standard output carries only the COM<n>=<path> lines, ready
    // for the environment of the program; the devices are listed on the error output.
    std::ostream& listing = options.pty ? std::cerr : std::cout;
    for (const std::string& line : simulator.Description()) {
        listing << line << std::endl;
    }
    for (const std::string& line : simulator.ComLines()) {
        std::cout << line << std::endl;
    }
    return application.exec();
}
