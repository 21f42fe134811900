#include "app/TonraView.h"

#include "app/SerialPortChoices.h"
#include "dialogs/AboutBox.h"
#include "dialogs/PasswordPrompt.h"
#include "dialogs/SetupCom.h"
#include "dialogs/SetupCopy.h"
#include "dialogs/SetupPassword.h"
#include "dialogs/SetupProgram.h"
#include "dialogs/SetupPrograms.h"
#include "dialogs/SetupSecurity.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "framework/GdiObjects.h"
#include "framework/UiService.h"
#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <algorithm>

namespace {

// Navigation captions by page mode and button; an empty caption hides the button.
constexpr std::array<std::array<const char*, CTonraView::kNavButtonCount>, 2> kNavCaptions = {{
    {"Connection", "Version", "", "", "", "", "", "", "", ""},
    {"Program", "Copy", "Security", "View Data", "All Programs", "Password", "Sync Device", "Home", "", ""},
}};
// Always hidden on the home page.
constexpr std::array<int, 2> kDevicePageOnlyButtons = {2, 3};

// Navigation buttons.
constexpr COLORREF kNavBack = RGB(0, 0, 192);
constexpr COLORREF kNavText = RGB(192, 192, 192);
constexpr COLORREF kNavLitBack = RGB(255, 0, 0);
constexpr COLORREF kNavLitText = RGB(0, 0, 0);
constexpr int kNavLeft = 5;
constexpr int kNavTopFromBottom = 32;
constexpr int kNavBottomFromBottom = 12;

// The view and its status box.
constexpr COLORREF kViewBack = RGB(0, 0, 0);
constexpr COLORREF kStatusBack = RGB(0, 192, 0);
constexpr COLORREF kStatusText = RGB(32, 32, 32);
constexpr COLORREF kFrameLight = RGB(255, 255, 255);
constexpr COLORREF kFrameShadow = RGB(128, 128, 128);
constexpr int kStatusRightInset = 8;
constexpr int kStatusFontHeight = 12;
constexpr int kStatusFontWeight = 500;

const char* const kDeviceWord = "Device";
const char* const kCaptionSeparator = " - ";

const char* const kIncorrectPasswordText = "Incorrect device password.\nControl capability disabled.";
const char* const kRememberPasswordText = "Make sure the password is well remembered or documented";
const char* const kHomeQuestion =
    "Returning to home page in offline mode will discard changes.\nMake sure to save "
    "program first. Do you want to continue?";
const char* const kConfirmCaption = "Confirm";
const char* const kStoreLockedText = "Program is store locked!";
const char* const kFileListErrorText = "File List Error";
const char* const kSetupFileFilter = "(*.dat)|*.dat||";
const char* const kSetupFileExtension = ".dat";

// The messages for the results of loading a setup file, by result (0 is success).
constexpr std::array<const char*, 4> kLoadResultTexts = {
    nullptr,
    "Error: File Version is different",
    "Error: Product Name is different",
    "Error: Channel numbers are different",
};

} // namespace

CTonraView::CTonraView(CTonraDoc& document) : document_(document) {}

CTonraView::~CTonraView() {
    if (document_.GetView() == this) {
        document_.SetView(nullptr);
    }
}

CRect CTonraView::NavButtonRect(int button, int width, int height) {
    const int span = width - kStatusBoxWidth - kNavLeft;
    return {span * button / kNavButtonCount + kNavLeft, height - kNavTopFromBottom,
            span * (button + 1) / kNavButtonCount, height - kNavBottomFromBottom};
}

CRect CTonraView::StatusBoxRect(int width, int height) {
    return {width - kStatusBoxWidth, height - kNavTopFromBottom, width - kStatusRightInset,
            height - kNavBottomFromBottom};
}

CRect CTonraView::StatusFrameRect(int width, int height) {
    // The inner frame reaches one pixel above the box.
    CRect rect = StatusBoxRect(width, height);
    rect.top -= 1;
    return rect;
}

CRect CTonraView::PageRect(int width, int height) { return {0, 0, width, height - kNavBarHeight}; }

int CTonraView::OnCreate() {
    document_.SetView(this);
    for (int i = 0; i < kNavButtonCount; ++i) {
        if (!NavButton(i).Create(kFirstNavButtonId + static_cast<UINT>(i), CRect(), true, false, kNavBack,
                                 kNavText, kNavLitBack, kNavLitText, 0, 0, "", this)) {
            return -1;
        }
    }
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        CPort& engine = Engine(slot);
        engine.SetPasswordPrompt(dialogs::AskDevicePassword);
        if (!engine.Create(this, &document_, slot)) {
            return -1;
        }
    }
    if (!networkPage_.Create(CRect(), this, &document_) || !devicePanel_.Create(CRect(), this, &document_)) {
        return -1;
    }
    devicePanel_.ShowWindow(SW_HIDE);
    SetPageMode(kHomePage);
    return 0;
}

void CTonraView::SetPageMode(int mode) {
    document_.pageMode = mode;
    const auto& captions = kNavCaptions.at(mode == kHomePage ? 0 : 1);
    for (int i = 0; i < kNavButtonCount; ++i) {
        CModButton& button = NavButton(i);
        button.caption = captions[static_cast<std::size_t>(i)];
        button.ShowWindow(button.caption.empty() ? SW_HIDE : SW_SHOW);
        button.Invalidate();
    }
    for (const int i : kDevicePageOnlyButtons) {
        NavButton(i).ShowWindow(mode == kHomePage ? SW_HIDE : SW_SHOW);
    }
    document_.statusText.clear();
    CRect client;
    GetClientRect(&client);
    const CRect status = StatusFrameRect(client.Width(), client.Height());
    InvalidateRect(&status);
}

void CTonraView::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    const CRect page = PageRect(cx, cy);
    networkPage_.MoveWindow(page);
    devicePanel_.MoveWindow(page);
    for (int i = 0; i < kNavButtonCount; ++i) {
        NavButton(i).MoveWindow(NavButtonRect(i, cx, cy));
    }
}

std::string CTonraView::WindowCaption() const {
    std::string caption = document_.productName + captionNote_;
    if (document_.pageMode == kDevicePage) {
        // The document caption is shown as it is, never used as a format.
        caption += kCaptionSeparator;
        caption += kDeviceWord;
        caption += Format(" %u - ", static_cast<unsigned>(document_.currentDevice + 1));
        caption += document_.documentCaption;
    }
    return caption;
}

void CTonraView::OnPaint() {
    // Setting the same caption again would repaint the frame, and with it this view, forever.
    CWnd* frame = GetParent();
    if (const std::string caption = WindowCaption(); frame && frame->GetWindowText() != caption) {
        frame->SetWindowText(caption);
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, kViewBack);
    PaintStatusBox(dc, client.Width(), client.Height());
}

void CTonraView::PaintStatusBox(CDC& dc, int width, int height) const {
    const CRect box = StatusBoxRect(width, height);
    dc.FillSolidRect(box, kStatusBack);
    dc.Draw3dRect(box, kFrameLight, kFrameShadow);
    dc.Draw3dRect(CRect(box.left + 1, box.top - 1, box.right - 1, box.bottom - 1), kFrameShadow, kFrameLight);

    CFont font;
    font.CreateFont(kStatusFontHeight, 0, 0, 0, kStatusFontWeight, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    const CFont* previous = dc.SelectObject(&font);
    dc.SetTextColor(kStatusText);
    dc.SetBkColor(kStatusBack);
    const CRect textRect(width - kStatusBoxWidth, height - 29, width - 10, height - 14);
    dc.DrawText(document_.statusText, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(previous);
}

void CTonraView::OnMouseMove(UINT, CPoint) {
    // Over the view's own background: every hover-lit button goes dark.
    SendMessageToDescendants(UM_HOVER_MOVED, 0, 0);
}

void CTonraView::OnLButtonUp(UINT, CPoint) { SendMessageToDescendants(UM_END_TRACKING, 0, 0); }

LRESULT CTonraView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_CTRL_HOVER:
        SendMessageToDescendants(UM_HOVER_MOVED, wParam, 0);
        return 1;
    case UM_CTRL_RELEASE:
        SendMessageToDescendants(UM_END_TRACKING, wParam, 0);
        return 1;
    case UM_CTRL_PRESS:
        OnCommand(static_cast<UINT>(wParam));
        return 1;
    case UM_REFRESH:
        OnLinkRefresh(wParam);
        return 1;
    default:
        return CWnd::OnMessage(message, wParam, lParam);
    }
}

void CTonraView::OnLinkRefresh(WPARAM code) {
    switch (code) {
    case CPort::SyncDone:
        devicePanel_.Refresh();
        Invalidate(false);
        break;
    case CPort::ParamsChanged:
        devicePanel_.Refresh();
        devicePanel_.GetPlot().ComputeCurves(-1);
        break;
    case CPort::StatusChanged: {
        CRect client;
        GetClientRect(&client);
        const CRect status = StatusFrameRect(client.Width(), client.Height());
        InvalidateRect(&status, true);
        break;
    }
    case CPort::MetersChanged:
        devicePanel_.UpdateMeters();
        break;
    case CPort::LayoutChanged:
        devicePanel_.Refresh();
        Invalidate();
        RelayoutDevicePanel();
        break;
    default:
        break;
    }
}

void CTonraView::OnCommand(UINT id) {
    if (id >= kFirstDeviceTileId && id < kFirstDeviceTileId + model::kDeviceCount) {
        SelectDevice(static_cast<int>(id - kFirstDeviceTileId));
    } else if (id >= kFirstNavButtonId && id < kFirstNavButtonId + kNavButtonCount) {
        document_.pageMode == kHomePage ? OnHomeCommand(id) : OnDeviceCommand(id);
    }
}

void CTonraView::RelayoutDevicePanel() {
    for (CWnd* window : {static_cast<CWnd*>(&devicePanel_), static_cast<CWnd*>(&devicePanel_.GetPlot())}) {
        if (window->GetSafeHwnd()) {
            CRect client;
            window->GetClientRect(&client);
            window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
        }
    }
}

void CTonraView::SelectDevice(int device) {
    networkPage_.ShowWindow(SW_HIDE);
    devicePanel_.ShowWindow(SW_SHOW);
    document_.currentDevice = device;
    SetPageMode(kDevicePage);
    // Every parameter at its default until the sync brings the device's own values.
    document_.OnNewDocument();
    devicePanel_.ResetPopupButtons();
    Invalidate();
    CurrentEngine().RequestTransfer(CPort::TransferMode::Sync);
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
    document_.SetModifiedFlag(false);
    networkPage_.RefreshDeviceTiles();
}

void CTonraView::ApplyConnectionSettings(const model::ConnectionSettings& settings) {
    document_.connectionMode = settings.connectionMode;
    document_.WriteConnectionFile(settings);
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        CPort& engine = Engine(slot);
        engine.Disconnect();
        engine.KillTimer(static_cast<UINT_PTR>(slot));
        document_.deviceOnline[static_cast<std::size_t>(slot)] = 0;
    }
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        document_.comPort[s] = settings.comPort[s];
        document_.ipAddress[s] = settings.ipAddress[s];
        Engine(slot).Connect();
    }
    networkPage_.RefreshDeviceTiles();
}

void CTonraView::OnConnection() {
    CSetupCom dialog;
    dialog.connectionMode = document_.connectionMode;
    dialog.portChoices = document_.comPort;
    dialog.octets = document_.ipAddress;
    app::FillSerialPortChoices(dialog);
    if (dialog.DoModal() != IDOK) {
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
        CurrentEngine().RequestTransfer(CPort::TransferMode::Sync);
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
        // A refused file leaves the document as it was; the document names a file it cannot
        // read itself.
        if (document_.OnOpenDocument(*path)) {
            CurrentEngine().RequestTransfer(CPort::TransferMode::DownSync);
        } else if (document_.loadResult > 0 &&
                   document_.loadResult < static_cast<int>(kLoadResultTexts.size())) {
            AfxMessageBox(kLoadResultTexts[static_cast<std::size_t>(document_.loadResult)]);
        }
    }
    OnLinkRefresh(CPort::LayoutChanged);
}

void CTonraView::StoreToPc() {
    FileDialogRequest request;
    request.open = false;
    request.filter = kSetupFileFilter;
    request.defaultExtension = kSetupFileExtension;
    if (const std::optional<std::string> path = UiService().FileDialog(request)) {
        document_.OnSaveDocument(*path);
    }
}

void CTonraView::OnCopy() {
    CSetupCopy dialog;
    dialog.document = &document_;
    if (dialog.DoModal() == IDOK) {
        document_.CopyChannel(dialog.source, dialog.target, -1);
        devicePanel_.Refresh();
    }
}

void CTonraView::OnSecurity() {
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
    CSetupPrograms dialog;
    dialog.listFilePath = document_.programListFile;
    const int result = dialog.DoModal();
    document_.programListFile = dialog.listFilePath;
    if (result != IDOK) {
        return;
    }
    document_.programFiles = dialog.programFiles;
    if (dialog.uploadRequested) {
        CurrentEngine().RequestTransfer(CPort::TransferMode::Upload);
    } else if (dialog.downloadRequested) {
        if (CurrentEngine().BuildDownloadImage()) {
            CurrentEngine().RequestTransfer(CPort::TransferMode::Download);
        } else {
            AfxMessageBox(kFileListErrorText);
        }
    }
}

void CTonraView::OnPassword() {
    const auto d = static_cast<std::size_t>(document_.currentDevice);
    if (document_.passwordOk[d] == 0) {
        AfxMessageBox(kIncorrectPasswordText);
        return;
    }
    AfxMessageBox(kRememberPasswordText);
    CSetupPassword dialog;
    dialog.password = document_.devicePassword[d];
    if (dialog.DoModal() != IDOK) {
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
    Invalidate();
    document_.SetModifiedFlag(false);
}

CPort& CTonraView::CurrentEngine() { return Engine(document_.currentDevice); }

void CTonraView::QueueCommand(int code, int channel, int value) {
    CurrentEngine().QueueFrame(code, devlink::DeviceBit(document_.currentDevice), channel, 0, value);
}
