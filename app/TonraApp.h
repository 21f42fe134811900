// CTonraApp: the application object. InitInstance starts the program: the network layer, the
// document, the main frame with its view, New or the setup file named on the command line,
// and the main window on screen. The file commands (New, Open, Save, Save As) arrive here
// from the frame's standard keys.
#pragma once

#include "app/DemoNetwork.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "model/TonraDoc.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The file commands.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;

// CTonraApp is the application object; CTonraDoc is its document and CTonraView its view.
class CTonraApp {
public:
    static constexpr const char* kAppTitle = "Veltrix";
    static constexpr const char* kMainCaption = "Veltrix Loudspeaker Controller";
    // The name a setup is offered under before it was ever saved.
    static constexpr const char* kNewFileName = "Tonra";
    // What the questions call a setup that has no file yet.
    static constexpr const char* kUnnamedSetup = "this setup";
    static constexpr const char* kSetupFilter = "Setup Files (*.dat)|*.dat||";
    static constexpr const char* kSetupExtension = ".dat";

    CTonraApp();
    ~CTonraApp();
    CTonraApp(const CTonraApp&) = delete;
    CTonraApp& operator=(const CTonraApp&) = delete;

    // Returns false when the program must end. With `demoDevices` the program starts that
    // many simulated devices inside itself and connects them, as a demo network.
    bool InitInstance(const std::optional<std::string>& setupFile,
                      std::optional<int> demoDevices = std::nullopt);

    // The network start, replaceable for tests; returns false when the network cannot start.
    void SetNetworkStarter(std::function<bool()> starter) { networkStarter_ = std::move(starter); }

    CTonraDoc& GetDocument() { return *document_; }
    // Null until InitInstance created the main window.
    CMainFrame* GetMainWnd() { return mainFrame_.get(); }
    // Null unless the program runs a demo network.
    CDemoNetwork* GetDemoNetwork() { return demo_.get(); }
    // Empty until InitInstance read it.
    const std::vector<std::string>& GetRecentFiles() const;

    // Runs one of the file commands; false for any other id.
    bool OnCommand(UINT id);
    // Open of the setup file at `path` into the current device, after offering to save
    // unsaved changes. False when it was not opened; the user has been told why.
    bool OpenDocumentFile(const std::string& path);
    // When the document has unsaved changes: asks whether to save them and does so. False
    // when the user cancelled or saving failed, so the change of document must not happen.
    bool SaveModified();
    // The program is being ended from outside and nobody can be asked: unsaved changes go to
    // the recovery file, offered at the next start. Returns what happened as a sentence for
    // the error output, or "" when there were no unsaved changes.
    std::string KeepUnsavedChanges();

private:
    // Opens a setup file into the current device as one step of the device's history.
    bool OpenAsStep(const std::string& path);
    // With no file: New. With a file: New for the other devices and the connection settings,
    // then the file into the current device.
    bool ProcessShellCommand(const std::optional<std::string>& setupFile);
    // The frame's standard keys for New, Open, Save and Save As.
    void InstallAccelerators();
    void OnFileNew();
    void OnFileOpen();
    // Saves to the document's file, or asks for one first when it has none or `askForName`.
    bool DoSave(bool askForName);
    // The setup file's name, or "this setup".
    std::string DocumentTitle() const;
    // Changes kept in the recovery file when the program was last ended from outside: offered
    // for restoring as unsaved changes, or discarded.
    void OfferRecoveredChanges();

    // Starts the demo network's devices before New reads the connection file; false (the
    // operator told why) when they cannot start.
    bool StartDemoNetwork(int deviceCount);
    // Connects the demo network's devices as a confirmed Connection Setup dialog would.
    void ConnectDemoNetwork();

    std::function<bool()> networkStarter_;
    // The demo devices outlive the frame, so that no engine talks to a device that is gone.
    std::unique_ptr<CDemoNetwork> demo_;
    // The document outlives the frame and its view.
    std::unique_ptr<CTonraDoc> document_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<CRecentFileList> recentFiles_;
};
