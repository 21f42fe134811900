#include "app/TonraView.h"

#include "dialogs/PasswordPrompt.h"
#include "dialogs/SetupPassword.h"
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
    if (CWnd* frame = GetParent()) {
        frame->SetWindowText(WindowCaption());
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
    CRect panel;
    devicePanel_.GetClientRect(&panel);
    devicePanel_.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(panel.Width(), panel.Height()));
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
        break;
    case kVersion:
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

void CTonraView::OnDeviceCommand(UINT id) {
    switch (id) {
    case kSecurity: {
        CSetupSecurity dialog;
        auto& locks = document_.securityLocks[static_cast<std::size_t>(document_.currentDevice)];
        std::copy_n(locks.begin(), CSetupSecurity::kLockCount, dialog.locks.begin());
        if (dialog.DoModal() == IDOK) {
            std::copy(dialog.locks.begin(), dialog.locks.end(), locks.begin());
            for (int lock = 0; lock < model::kLockCount; ++lock) {
                CurrentEngine().QueueFrame(devlink::kCmdSecurityLock, CurrentDeviceBit(), lock, 0,
                                           locks[static_cast<std::size_t>(lock)]);
            }
        }
        break;
    }
    case kPassword: {
        const auto d = static_cast<std::size_t>(document_.currentDevice);
        if (document_.passwordOk[d] == 0) {
            AfxMessageBox(kIncorrectPasswordText);
            break;
        }
        AfxMessageBox(kRememberPasswordText);
        CSetupPassword dialog;
        dialog.password = document_.devicePassword[d];
        if (dialog.DoModal() == IDOK) {
            document_.devicePassword[d] = dialog.password;
            document_.enteredPassword[d] = dialog.password;
            const std::vector<int> wire = devlink::EncodeWireName(dialog.password, model::kPasswordLength);
            for (int position = 0; position < model::kPasswordLength; ++position) {
                CurrentEngine().QueueFrame(devlink::kCmdPasswordChar, CurrentDeviceBit(), position, 0,
                                           wire[static_cast<std::size_t>(position)]);
            }
        }
        break;
    }
    case kSyncDevice:
        CurrentEngine().RequestTransfer(CPort::TransferMode::Sync);
        break;
    case kHome:
        if (document_.IsModified() &&
            AfxMessageBox(kHomeQuestion, MB_YESNO | MB_ICONQUESTION, kConfirmCaption) != IDYES) {
            break;
        }
        ReturnHome();
        break;
    default:
        break;
    }
}

void CTonraView::ReturnHome() {
    devicePanel_.ShowWindow(SW_HIDE);
    networkPage_.ShowWindow(SW_SHOW);
    SetPageMode(kHomePage);
    Invalidate();
    document_.SetModifiedFlag(false);
}

CPort& CTonraView::CurrentEngine() { return Engine(document_.currentDevice); }

int CTonraView::CurrentDeviceBit() const { return devlink::DeviceBit(document_.currentDevice); }
