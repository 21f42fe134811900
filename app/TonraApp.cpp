#include "app/TonraApp.h"

#include "app/NetworkStart.h"
#include "app/ProblemBoxes.h"
#include "app/RecoveryFile.h"
#include "app/TonraView.h"
#include "framework/Text.h"
#include "framework/UiService.h"
#include "model/EditGesture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include <array>

namespace {

// The standard keys of the file commands, as the platform defines them.
struct Accelerator {
    QKeySequence::StandardKey key;
    UINT command;
};
constexpr std::array<Accelerator, 4> kAccelerators = {{
    {QKeySequence::New, ID_FILE_NEW},
    {QKeySequence::Open, ID_FILE_OPEN},
    {QKeySequence::Save, ID_FILE_SAVE},
    {QKeySequence::SaveAs, ID_FILE_SAVE_AS},
}};

std::string FileName(const std::string& path) { return FromQString(QFileInfo(ToQString(path)).fileName()); }

// How an opened setup file reads in the device's history.
const std::string kOpenLabel = "Open ";

} // namespace

CTonraApp::CTonraApp() : networkStarter_(app::StartNetwork), document_(std::make_unique<CTonraDoc>()) {}

CTonraApp::~CTonraApp() = default;

bool CTonraApp::InitInstance(const std::optional<std::string>& setupFile, std::optional<int> demoDevices) {
    AfxSetAppName(kAppTitle);
    QCoreApplication::setApplicationName(kAppTitle);
    if (!networkStarter_()) {
        // Serial links still work without the network.
        AfxMessageBox("Failed to Initialize Sockets", MB_OK | MB_ICONSTOP);
    }
    if (demoDevices && !StartDemoNetwork(*demoDevices)) {
        return false;
    }
    recentFiles_ = std::make_unique<CRecentFileList>(kAppTitle);
    mainFrame_ = std::make_unique<CMainFrame>(*document_);
    if (!mainFrame_->Create(kAppTitle) || !ProcessShellCommand(setupFile)) {
        return false;
    }
    InstallAccelerators();
    mainFrame_->SetCloseQuery([this] { return SaveModified(); });
    mainFrame_->GetView().SetSaveQuery([this] { return SaveModified(); });
    mainFrame_->ShowStartWindow();
    mainFrame_->UpdateWindow();
    mainFrame_->SetWindowText(kMainCaption);
    OfferRecoveredChanges();
    if (demo_) {
        ConnectDemoNetwork();
    }
    return true;
}

bool CTonraApp::StartDemoNetwork(int deviceCount) {
    demo_ = std::make_unique<CDemoNetwork>(deviceCount);
    std::string problem;
    if (!demo_->Start(problem)) {
        AfxMessageBox(problem, MB_OK | MB_ICONSTOP);
        demo_.reset();
        return false;
    }
    return true;
}

void CTonraApp::ConnectDemoNetwork() {
    CTonraView& view = mainFrame_->GetView();
    view.SetCaptionNote(CDemoNetwork::kCaptionNote);
    view.ApplyConnectionSettings(demo_->Settings());
}

bool CTonraApp::ProcessShellCommand(const std::optional<std::string>& setupFile) {
    // New also for a file: the other devices get their defaults and the connection settings
    // come from the connection file, as after any start.
    return document_->OnNewDocument() && (!setupFile || OpenDocumentFile(*setupFile));
}

const std::vector<std::string>& CTonraApp::GetRecentFiles() const {
    static const std::vector<std::string> none;
    return recentFiles_ ? recentFiles_->Files() : none;
}

void CTonraApp::InstallAccelerators() {
    QWidget* window = mainFrame_->GetWidget();
    for (const Accelerator& accelerator : kAccelerators) {
        // Owned by the main window's widget.
        auto* shortcut = new QShortcut(accelerator.key, window);
        QObject::connect(shortcut, &QShortcut::activated, window,
                         [this, command = accelerator.command] { OnCommand(command); });
    }
}

bool CTonraApp::OnCommand(UINT id) {
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_SAVE:
        DoSave(false);
        return true;
    case ID_FILE_SAVE_AS:
        DoSave(true);
        return true;
    default:
        return false;
    }
}

void CTonraApp::OnFileNew() {
    if (SaveModified()) {
        document_->OnNewDocument();
    }
}

void CTonraApp::OnFileOpen() {
    FileDialogRequest request;
    request.open = true;
    request.filter = kSetupFilter;
    request.defaultExtension = kSetupExtension;
    if (const std::optional<std::string> path = UiService().FileDialog(request)) {
        OpenDocumentFile(*path);
    }
}

// A setup file opened into the current device is one step of its history, as a recall from
// the PC is: the operator can take it back.
bool CTonraApp::OpenAsStep(const std::string& path) {
    model::EditGesture open(*document_, kOpenLabel + FileName(path));
    open.WatchWholeDevice();
    return document_->OnOpenDocument(path);
}

bool CTonraApp::OpenDocumentFile(const std::string& path) {
    if (!SaveModified()) {
        return false;
    }
    if (OpenAsStep(path)) {
        recentFiles_->Add(path);
        return true;
    }
    app::ShowFileProblem(document_->FileProblem());
    if (document_->loadResult == CTonraDoc::kLoadCountsDiffer) {
        AfxMessageBox(document_->CountsDifferText());
    }
    return false;
}

bool CTonraApp::SaveModified() {
    if (!document_->IsModified()) {
        return true;
    }
    switch (AfxMessageBox("Save changes to " + DocumentTitle() + "?", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return DoSave(false);
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CTonraApp::DoSave(bool askForName) {
    std::string path = document_->GetPathName();
    if (askForName || path.empty()) {
        FileDialogRequest request;
        request.open = false;
        request.filter = kSetupFilter;
        request.defaultExtension = kSetupExtension;
        request.initialPath = path.empty() ? std::string(kNewFileName) + kSetupExtension : path;
        const std::optional<std::string> chosen = UiService().FileDialog(request);
        if (!chosen) {
            return false;
        }
        path = *chosen;
    }
    if (!document_->OnSaveDocument(path)) {
        app::ShowFileProblem(document_->FileProblem());
        return false;
    }
    document_->SetPathName(path);
    recentFiles_->Add(path);
    return true;
}

std::string CTonraApp::DocumentTitle() const {
    const std::string& path = document_->GetPathName();
    return path.empty() ? kUnnamedSetup : FileName(path);
}

std::string CTonraApp::KeepUnsavedChanges() {
    if (!document_->IsModified()) {
        return {};
    }
    std::string problem = "No device is selected.";
    const QByteArray setup = document_->StoreSetup();
    if (setup.isEmpty() || !app::WriteRecoveryFile(setup, document_->GetPathName(), problem)) {
        return "the unsaved changes to " + DocumentTitle() + " could not be kept. " + problem;
    }
    return "the unsaved changes to " + DocumentTitle() + " were written to " + app::RecoveryFilePath() +
           "; the next start offers to restore them.";
}

void CTonraApp::OfferRecoveredChanges() {
    const std::optional<app::RecoveredSetup> recovered = app::FindRecoveryFile();
    if (!recovered) {
        return;
    }
    const std::string what =
        recovered->setupFile.empty() ? "a setup that was never saved" : FileName(recovered->setupFile);
    const std::string question = "Restore the unsaved changes to " + what +
                                 "?\n\nVeltrix was ended before they were saved; they were kept in\n" +
                                 recovered->path + "\n\nYes opens them as unsaved changes, No deletes them.";
    switch (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION, CTonraView::kConfirmCaption)) {
    case IDYES:
        // A file that cannot be read stays for the operator to look at; they were told why.
        if (document_->OnOpenDocument(recovered->path)) {
            document_->SetPathName(recovered->setupFile);
            if (!recovered->setupFile.empty()) {
                document_->documentCaption = recovered->setupFile;
            }
            document_->SetModifiedFlag();
            app::RemoveRecoveryFile();
        } else {
            app::ShowFileProblem(document_->FileProblem());
        }
        break;
    case IDNO:
        app::RemoveRecoveryFile();
        break;
    default:
        break; // not answered: the program is being ended; the changes stay for the next start
    }
}
