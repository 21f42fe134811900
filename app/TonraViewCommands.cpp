// The commands of the main view: the navigation bar's buttons on the home and the device
// page, the device tiles, and the dialogs they run.
#include "app/TonraView.h"

#include "app/ProblemBoxes.h"
#include "app/SerialPortChoices.h"
#include "dialogs/AboutBox.h"
#include "dialogs/SetupCom.h"
#include "dialogs/SetupCopy.h"
#include "dialogs/SetupPassword.h"
#include "dialogs/SetupProgram.h"
#include "dialogs/SetupPrograms.h"
#include "dialogs/SetupSecurity.h"
#include "framework/UiService.h"
#include "link/Protocol.h"
#include "model/DeviceText.h"
#include "model/EditGesture.h"
#include "model/EditText.h"
#include "model/TonraDoc.h"
#include "pages/PageWnd.h"

#include <algorithm>
#include <filesystem>

namespace {

const char* const kRememberPasswordText = "Make sure the password is well remembered or documented";
const char* const kHomeQuestion =
    "Returning to home page in offline mode will discard changes.\nMake sure to save "
    "program first. Do you want to continue?";
const char* const kStoreLockedText = "Program is store locked!";
const char* const kNotConnectedText =
    "This device is not connected.\nSet its address or COM port with Connection on the home page.";
const std::string kControlRefusedText =
    std::string(CPort::kIncorrectPasswordText) + "\nClick Sync Device to read the device and enter its password again.";
const char* const kBusyText =
    "This device is busy with another transfer.\nTry again when the status line shows that it ended.";
const char* const kSetupFileFilter = "(*.dat)|*.dat||";
const char* const kSetupFileExtension = ".dat";
// What the history calls a copy of channels and a setup recalled from the PC.
const std::string kCopyLabel = "Copy ";
const std::string kRecallLabel = "Recall ";

} // namespace

void CTonraView::StartTransfer(CPort::TransferMode mode) {
    switch (CurrentEngine().RequestTransfer(mode)) {
    case CPort::TransferStart::Busy:
        AfxMessageBox(kBusyText, MB_OK | MB_ICONEXCLAMATION);
        break;
    case CPort::TransferStart::NoControl:
        AfxMessageBox(kControlRefusedText, MB_OK | MB_ICONEXCLAMATION);
        break;
    default:
        break;
    }
}

bool CTonraView::RefusedWithoutControl() {
    // An offline device is edited on the document alone.
    if (!DeviceConnected() || CurrentEngine().HasControl()) {
        return false;
    }
    AfxMessageBox(kControlRefusedText, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void CTonraView::OnCommand(UINT id) {
    const IdRange tiles{kFirstDeviceTileId, model::kDeviceCount};
    if (tiles.Contains(id)) {
        SelectDevice(tiles.Offset(id));
    } else if (IdRange{kFirstNavButtonId, kNavButtonCount}.Contains(id)) {
        document_.pageMode == kHomePage ? OnHomeCommand(id) : OnDeviceCommand(id);
    }
}

void CTonraView::SelectDevice(int device) {
    if (saveQuery_ && !saveQuery_()) {
        return;
    }
    networkPage_.ShowWindow(SW_HIDE);
    devicePanel_.ShowWindow(SW_SHOW);
    document_.currentDevice = device;
    SetPageMode(kDevicePage);
    // Every parameter at its default until the sync brings the device's own values: strips
    // as many as the defaults have, meters at rest. Nothing of the page shown before stays,
    // whether or not the device answers.
    document_.OnNewDocument();
    statusLine_.Reset();
    devicePanel_.ResetPopupButtons();
    RelayoutDevicePanel();
    devicePanel_.UpdateMeters();
    document_.SetModifiedFlag(false);
    Invalidate();
    if (DeviceConnected()) {
        CurrentEngine().RequestTransfer(CPort::TransferMode::Sync);
    }
}

void CTonraView::OnHomeCommand(UINT id) {
    switch (id) {
    case kConnection:
        OnConnection();
        break;
    case kVersion:
        OnVersion();
        break;
    default:
        break;
    }
    networkPage_.RefreshDeviceTiles();
}

void CTonraView::ApplyConnectionSettings(const model::ConnectionSettings& settings) {
    document_.connectionMode = settings.connectionMode;
    if (!document_.WriteConnectionFile(settings)) {
        app::ShowFileProblem(document_.FileProblem());
    }
    for (CPort& engine : engines_) {
        engine.Disconnect();
    }
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        document_.comPort[s] = settings.comPort[s];
        document_.ipAddress[s] = settings.ipAddress[s];
        if (CPort& engine = Engine(slot); !engine.Connect()) {
            app::ShowConnectProblem(engine.ConnectProblem());
        }
    }
    networkPage_.RefreshDeviceTiles();
}

void CTonraView::OnConnection() {
    CSetupCom dialog;
    dialog.connectionMode = document_.connectionMode;
    dialog.portChoices = document_.comPort;
    dialog.octets = document_.ipAddress;
    app::FillSerialPortChoices(dialog);
    if (dialog.DoModal() != IDOK || !ConfirmUnsentChanges()) {
        return;
    }
    app::StoreSerialPortChoices(dialog);
    model::ConnectionSettings settings;
    settings.connectionMode = dialog.connectionMode;
    settings.comPort = dialog.portChoices;
    settings.ipAddress = dialog.octets;
    ApplyConnectionSettings(settings);
}

void CTonraView::OnVersion() {
    CAboutBox dialog;
    dialog.productText = document_.productName;
    dialog.versionText = CAboutBox::VersionText();
    dialog.DoModal();
}

void CTonraView::OnDeviceCommand(UINT id) {
    switch (id) {
    case kProgram:
        OnProgram();
        break;
    case kCopy:
        OnCopy();
        break;
    case kSecurity:
        OnSecurity();
        break;
    case kViewData:
        OnViewData();
        break;
    case kAllPrograms:
        OnAllPrograms();
        break;
    case kPassword:
        OnPassword();
        break;
    case kSyncDevice:
        if (CurrentEngine().Mode() != CPort::TransferMode::Sync) {
            StartTransfer(CPort::TransferMode::Sync);
        }
        break;
    case kHome:
        OnHome();
        break;
    default:
        break;
    }
}

void CTonraView::OnProgram() {
    CSetupProgram dialog;
    dialog.document = &document_;
    if (dialog.DoModal() != IDOK) {
        return;
    }
    if (dialog.action != CSetupProgram::kStoreToPc && RefusedWithoutControl()) {
        return;
    }
    switch (dialog.action) {
    case CSetupProgram::kRecallFromDevice:
        document_.currentProgram[static_cast<std::size_t>(document_.currentDevice)] =
            dialog.programNumber - 1;
        QueueCommand(devlink::kCmdRecallProgram, 0, dialog.programNumber - 1);
        Invalidate();
        break;
    case CSetupProgram::kStoreToDevice:
        StoreToDevice(dialog.programNumber, dialog.programName);
        break;
    case CSetupProgram::kRecallFromPc:
        RecallFromPc();
        break;
    case CSetupProgram::kStoreToPc:
        StoreToPc();
        break;
    default:
        break;
    }
}

void CTonraView::StoreToDevice(int number, const std::string& name) {
    if (number - 1 < document_.oemPrograms[static_cast<std::size_t>(document_.currentDevice)]) {
        AfxMessageBox(kStoreLockedText);
        return;
    }
    const std::vector<int> wire = devlink::EncodeWireName(name, model::kProgramNameLength);
    for (int position = 0; position < model::kProgramNameLength; ++position) {
        QueueCommand(devlink::kCmdProgramNameChar, position, wire[static_cast<std::size_t>(position)]);
    }
    QueueCommand(devlink::kCmdStoreProgram, 0, number - 1);
    Invalidate();
}

void CTonraView::RecallFromPc() {
    FileDialogRequest request;
    request.open = true;
    request.filter = kSetupFileFilter;
    request.defaultExtension = kSetupFileExtension;
    if (const std::optional<std::string> path = UiService().FileDialog(request)) {
        // A refused file leaves the document as it was.
        if (OpenAsStep(*path)) {
            // Offline the file is only edited here.
            if (DeviceConnected()) {
                StartTransfer(CPort::TransferMode::DownSync);
            }
        } else if (!document_.FileProblem().empty()) {
            app::ShowFileProblem(document_.FileProblem());
        } else if (document_.loadResult == CTonraDoc::kLoadCountsDiffer) {
            AfxMessageBox(document_.CountsDifferText());
        }
    }
    OnLinkRefresh(CPort::LayoutChanged);
}

bool CTonraView::OpenAsStep(const std::string& path) {
    model::EditGesture recall(document_, kRecallLabel + std::filesystem::path(path).filename().string());
    recall.WatchWholeDevice();
    return document_.OnOpenDocument(path);
}

void CTonraView::StoreToPc() {
    FileDialogRequest request;
    request.open = false;
    request.filter = kSetupFileFilter;
    request.defaultExtension = kSetupFileExtension;
    if (const std::optional<std::string> path = UiService().FileDialog(request);
        path && !document_.OnSaveDocument(*path)) {
        app::ShowFileProblem(document_.FileProblem());
    }
}

void CTonraView::OnCopy() {
    if (RefusedWithoutControl()) {
        return;
    }
    CSetupCopy dialog;
    dialog.document = &document_;
    if (dialog.DoModal() == IDOK) {
        const model::EditGesture copy(document_,
                                      kCopyLabel + model::ChannelText(document_, -1, dialog.source) + " -> " +
                                          model::ChannelText(document_, -1, dialog.target));
        document_.CopyChannel(dialog.source, dialog.target, -1);
        devicePanel_.Refresh();
    }
}

void CTonraView::OnSecurity() {
    if (RefusedWithoutControl()) {
        return;
    }
    CSetupSecurity dialog;
    auto& locks = document_.securityLocks[static_cast<std::size_t>(document_.currentDevice)];
    std::copy_n(locks.begin(), CSetupSecurity::kLockCount, dialog.locks.begin());
    if (dialog.DoModal() != IDOK) {
        return;
    }
    std::copy(dialog.locks.begin(), dialog.locks.end(), locks.begin());
    for (int lock = 0; lock < model::kLockCount; ++lock) {
        QueueCommand(devlink::kCmdSecurityLock, lock, locks[static_cast<std::size_t>(lock)]);
    }
}

void CTonraView::OnViewData() {
    CWndSheet& sheet = devicePanel_.GetDataSheet();
    if (sheet.GetSafeHwnd()) {
        sheet.ShowWindow(SW_SHOW);
        sheet.SetFocus();
    } else {
        sheet.Create(this, &document_);
    }
}

void CTonraView::OnAllPrograms() {
    if (!DeviceConnected()) {
        AfxMessageBox(kNotConnectedText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (RefusedWithoutControl()) {
        return;
    }
    CSetupPrograms dialog;
    dialog.listFilePath = document_.programListFile;
    const int result = dialog.DoModal();
    document_.programListFile = dialog.listFilePath;
    if (result != IDOK) {
        return;
    }
    document_.programFiles = dialog.programFiles;
    if (dialog.uploadRequested) {
        StartTransfer(CPort::TransferMode::Upload);
    } else if (dialog.downloadRequested) {
        if (const std::string problem = CurrentEngine().BuildDownloadImage(); problem.empty()) {
            StartTransfer(CPort::TransferMode::Download);
        } else {
            AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        }
    }
}

void CTonraView::OnPassword() {
    if (RefusedWithoutControl()) {
        return;
    }
    const auto d = static_cast<std::size_t>(document_.currentDevice);
    if (document_.passwordOk[d] == 0) {
        AfxMessageBox(CPort::kIncorrectPasswordText);
        return;
    }
    AfxMessageBox(kRememberPasswordText);
    CSetupPassword dialog;
    dialog.password = document_.devicePassword[d];
    if (dialog.DoModal() != IDOK) {
        return;
    }
    if (const std::string problem = model::PasswordProblem(dialog.password); !problem.empty()) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    document_.devicePassword[d] = dialog.password;
    document_.enteredPassword[d] = dialog.password;
    const std::vector<int> wire = devlink::EncodeWireName(dialog.password, model::kPasswordLength);
    for (int position = 0; position < model::kPasswordLength; ++position) {
        QueueCommand(devlink::kCmdPasswordChar, position, wire[static_cast<std::size_t>(position)]);
    }
}

void CTonraView::OnHome() {
    if (!ConfirmUnsentChanges()) {
        return;
    }
    if (document_.IsModified() &&
        AfxMessageBox(kHomeQuestion, MB_YESNO | MB_ICONQUESTION, kConfirmCaption) != IDYES) {
        return;
    }
    ReturnHome();
}

void CTonraView::ReturnHome() {
    devicePanel_.ShowWindow(SW_HIDE);
    for (CWnd* window :
         {static_cast<CWnd*>(&devicePanel_.GetEqEditor()), static_cast<CWnd*>(&devicePanel_.GetSignalPage()),
          static_cast<CWnd*>(&devicePanel_.GetDataSheet())}) {
        if (window->GetSafeHwnd()) {
            window->DestroyWindow();
        }
    }
    networkPage_.ShowWindow(SW_SHOW);
    SetPageMode(kHomePage);
    statusLine_.Reset();
    Invalidate();
    document_.SetModifiedFlag(false);
}

CPort& CTonraView::CurrentEngine() { return Engine(document_.currentDevice); }

void CTonraView::QueueCommand(int code, int channel, int value) {
    CurrentEngine().QueueFrame(code, devlink::DeviceBit(document_.currentDevice), channel, 0, value);
}
