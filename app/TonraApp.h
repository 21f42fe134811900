// CTonraApp: the application object. InitInstance starts the program: the network layer, the
// document, the main frame with its view, New or the setup file named on the command line,
// and the main window on screen.
#pragma once

#include "app/MainFrame.h"
#include "model/TonraDoc.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QStringList>

class CTonraApp {
public:
    static constexpr const char* kAppTitle = "Veltrix";
    static constexpr const char* kMainCaption = "Veltrix Loudspeaker Controller";

    CTonraApp();
    ~CTonraApp();
    CTonraApp(const CTonraApp&) = delete;
    CTonraApp& operator=(const CTonraApp&) = delete;

    // Returns false when the program must end.
    bool InitInstance(const std::optional<std::string>& setupFile);

    // The network start, replaceable for tests; returns false when the network cannot start.
    void SetNetworkStarter(std::function<bool()> starter) { networkStarter_ = std::move(starter); }

    CTonraDoc& GetDocument() { return *document_; }
    // Null until InitInstance created the main window.
    CMainFrame* GetMainWnd() { return mainFrame_.get(); }

private:
    // With no file: New. With a file: open it.
    bool ProcessShellCommand(const std::optional<std::string>& setupFile);
    bool OpenDocumentFile(const std::string& path);

    std::function<bool()> networkStarter_;
    // The document outlives the frame and its view.
    std::unique_ptr<CTonraDoc> document_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

namespace app {

// The setup file named on the command line: the first argument after the program name.
std::optional<std::string> SetupFileArgument(const QStringList& arguments);

} // namespace app
