#include "app/TonraApp.h"

#include "app/NetworkStart.h"
#include "framework/Text.h"
#include "framework/UiService.h"

#include <QCoreApplication>
#include <QStringList>

CTonraApp::CTonraApp() : networkStarter_(app::StartNetwork), document_(std::make_unique<CTonraDoc>()) {}

CTonraApp::~CTonraApp() = default;

bool CTonraApp::InitInstance(const std::optional<std::string>& setupFile) {
    AfxSetAppName(kAppTitle);
    QCoreApplication::setApplicationName(kAppTitle);
    if (!networkStarter_()) {
        // Serial links still work without the network.
        AfxMessageBox("Failed to Initialize Sockets", MB_OK | MB_ICONSTOP);
    }
    mainFrame_ = std::make_unique<CMainFrame>(*document_);
    if (!mainFrame_->Create(kAppTitle) || !ProcessShellCommand(setupFile)) {
        return false;
    }
    mainFrame_->ShowWindow(SW_SHOWNORMAL);
    mainFrame_->UpdateWindow();
    mainFrame_->SetWindowText(kMainCaption);
    return true;
}

bool CTonraApp::ProcessShellCommand(const std::optional<std::string>& setupFile) {
    return setupFile ? OpenDocumentFile(*setupFile) : document_->OnNewDocument();
}

bool CTonraApp::OpenDocumentFile(const std::string& path) {
    AfxMessageBox("Cannot open \"" + path +
                      "\": this version cannot read setup files yet. A new setup is used instead.",
                  MB_OK | MB_ICONEXCLAMATION);
    return document_->OnNewDocument();
}

namespace app {

std::optional<std::string> SetupFileArgument(const QStringList& arguments) {
    if (arguments.size() < 2) {
        return std::nullopt;
    }
    return FromQString(arguments.at(1));
}

} // namespace app
