#include "app/CommandLine.h"
#include "app/QuitOnSignal.h"
#include "app/TonraApp.h"
#include "framework/GdiObjects.h"
#include "framework/QtUiService.h"

#include <QApplication>

#include <iostream>
#include <vector>

namespace {

constexpr int kExitUsage = 2;

} // namespace

int main(int argc, char* argv[]) {
    // The command line is read before any window exists, so that --help, --version and a
    // mistake are answered without a display.
    app::CommandLine commandLine;
    std::string message;
    if (!app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), commandLine, message)) {
        std::cerr << "veltrix: " << message << "\nTry veltrix --help.\n";
        return kExitUsage;
    }
    if (commandLine.help) {
        std::cout << app::UsageText();
        return 0;
    }
    if (commandLine.version) {
        std::cout << app::VersionText();
        return 0;
    }
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    // Outlives the application object, so that a take-down that hangs is still ended.
    app::CQuitOnSignal quitOnSignal;
    CQtUiService uiService;
    CScopedUiService installed(uiService);
    CTonraApp theApp;
    quitOnSignal.SetBeforeQuit([&theApp] {
        if (const std::string kept = theApp.KeepUnsavedChanges(); !kept.empty()) {
            std::cerr << "veltrix: " << kept << std::endl;
        }
    });
    const bool started = theApp.InitInstance(commandLine.setupFile, commandLine.demoDevices);
    if (quitOnSignal.Received()) {
        return quitOnSignal.ExitCode(); // ended while a start-up message was shown
    }
    if (!started) {
        return 1;
    }
    if (CDemoNetwork* demo = theApp.GetDemoNetwork()) {
        std::cout << demo->Description() << std::endl;
    }
    return QApplication::exec();
}
