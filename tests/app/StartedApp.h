// An application started headless, with a scripted UI service and a network start that
// answers as told.
#pragma once

#include "app/TonraApp.h"
#include "framework/ScriptedUiService.h"

#include <QSettings>

#include <optional>
#include <string>

struct StartedApp {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CTonraApp app;
    bool started = false;

    explicit StartedApp(std::optional<std::string> setupFile = std::nullopt, bool networkStarts = true,
                        std::optional<int> demoDevices = std::nullopt) {
        app.SetNetworkStarter([networkStarts] { return networkStarts; });
        started = app.InitInstance(setupFile, demoDevices);
    }

    CTonraDoc& doc() { return app.GetDocument(); }
};

// Empties the list of recent files that earlier tests of the program left.
inline void ForgetRecentFiles() { QSettings(CRecentFileList::kSettingsKey, CTonraApp::kAppTitle).clear(); }
