#include "app/TonraView.h"

#include "app/ProblemBoxes.h"
#include "controls/Look.h"
#include "dialogs/PasswordPrompt.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "framework/GdiObjects.h"
#include "framework/UiService.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cctype>

namespace {

// Navigation captions by page mode and button; an empty caption hides the button.
constexpr std::array<std::array<const char*, CTonraView::kNavButtonCount>, 2> kNavCaptions = {{
    {"Connection", "Version", "", "", "", "", "", "", "", ""},
    {"Program", "Copy", "Security", "View Data", "All Programs", "Password", "Sync Device", "Home", "", ""},
}};

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
constexpr int kStatusTextMargins = 12;

// Beside the status box, where the always hidden buttons 8 and 9 would be: why the shown
// device cannot be reached.
constexpr int kFirstNoteButton = 8;
constexpr int kLastNoteButton = 9;
constexpr int kNoteRightMargin = 4;
constexpr int kNoteTopInset = 5;
constexpr COLORREF kNoteText = RGB(255, 192, 0);

// The status box follows time (texts held, changes counted, silent seconds) on this timer.
constexpr UINT_PTR kStatusTimerId = 1;
constexpr UINT kStatusTimerMs = 100;

const char* const kDeviceWord = "Device";
const char* const kCaptionSeparator = " - ";

// Why the shown device cannot be reached, beside the status box.
const char* const kNoAddressNote = "No IP address set (Connection)";
const char* const kNoComPortNote = "No COM port set (Connection)";
const char* const kNotOpenedNote = "The port could not be opened";
const char* const kNoAnswerNote = "No answer for %d s";
const char* const kFailedWord = "Failed";
constexpr long long kMsPerSecond = 1000;

const char* const kUnsentHead = "Changes not yet sent to the devices:";
const char* const kUnsentTail = "They may be lost if you continue. Do you want to continue?";
const char* const kLinkBackQuestion =
    "Device %d answers again. It was changed here while its link was down.\n\n"
    "Yes: send these changes to the device, then read it.\n"
    "No: read the device; the changes made here are dropped.";

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
    const ButtonLook navLook{true, false, kNavBack, kNavText, kNavLitBack, kNavLitText}; // lit while hovered
    for (int i = 0; i < kNavButtonCount; ++i) {
        if (!NavButton(i).Create(kFirstNavButtonId + static_cast<UINT>(i), CRect(), navLook, "", this)) {
            return -1;
        }
    }
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        CPort& engine = Engine(slot);
        engine.SetPasswordPrompt(dialogs::AskDevicePassword);
        engine.SetNoticeHandler(app::ShowEngineNotice);
        engine.SetLinkBackQuestion([this, slot] { return AskLinkBack(slot); });
        if (!engine.Create(this, &document_, slot)) {
            return -1;
        }
    }
    if (!networkPage_.Create(CRect(), this, &document_) || !devicePanel_.Create(CRect(), this, &document_)) {
        return -1;
    }
    devicePanel_.ShowWindow(SW_HIDE);
    SetPageMode(kHomePage);
    SetTimer(kStatusTimerId, kStatusTimerMs);
    InstallEditKeys();
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
    PaintStatusNote(dc);
}

void CTonraView::PaintStatusBox(CDC& dc, int width, int height) {
    CFont font;
    controls::CreateStatusFont(font);
    const CFont* previous = dc.SelectObject(&font);
    paintedStatus_ = StatusLineText();
    // A text wider than the box (what an undo took back) widens it to the left, over the room of
    // the note beside it, so that it is read whole.
    CRect box = StatusBoxRect(width, height);
    const int needed = dc.GetTextExtent(paintedStatus_).cx + kStatusTextMargins;
    statusWidened_ = needed > box.Width();
    if (statusWidened_) {
        box.left = std::max(StatusNoteRect().left, box.right - needed);
    }
    dc.FillSolidRect(box, kStatusBack);
    dc.Draw3dRect(box, kFrameLight, kFrameShadow);
    dc.Draw3dRect(CRect(box.left + 1, box.top - 1, box.right - 1, box.bottom - 1), kFrameShadow, kFrameLight);

    dc.SetTextColor(kStatusText);
    dc.SetBkColor(kStatusBack);
    const CRect textRect(box.left, height - 29, width - 10, height - 14);
    dc.DrawText(paintedStatus_, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(previous);
}

void CTonraView::PaintStatusNote(CDC& dc) {
    paintedNote_ = statusWidened_ ? std::string() : StatusNote();
    if (paintedNote_.empty()) {
        return;
    }
    CFont font;
    controls::CreateStatusFont(font);
    const CFont* previous = dc.SelectObject(&font);
    dc.SetTextColor(kNoteText);
    dc.SetBkColor(kViewBack);
    CRect rect = StatusNoteRect();
    rect.right -= kNoteRightMargin;
    if (dc.GetTextExtent(paintedNote_).cx <= rect.Width()) {
        // One line, level with the buttons.
        rect.top = rect.bottom - kNavTopFromBottom;
        rect.bottom -= kNavBottomFromBottom;
        dc.DrawText(paintedNote_, rect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    } else {
        dc.DrawText(paintedNote_, rect, DT_RIGHT | DT_WORDBREAK);
    }
    dc.SelectObject(previous);
}

CRect CTonraView::StatusNoteRect() const {
    CRect client;
    GetClientRect(&client);
    // A long note takes two lines, over the whole height of the navigation bar.
    const CRect first = NavButtonRect(kFirstNoteButton, client.Width(), client.Height());
    const CRect last = NavButtonRect(kLastNoteButton, client.Width(), client.Height());
    return {first.left, client.Height() - kNavBarHeight + kNoteTopInset, last.right, client.Height()};
}

std::string CTonraView::StatusLineText() const {
    if (document_.pageMode != kDevicePage) {
        return document_.statusText;
    }
    const int device = document_.currentDevice;
    CStatusLine::LinkState link;
    link.statusText = document_.statusText;
    link.offline = !DeviceConnected();
    link.linkDown = engines_.at(static_cast<std::size_t>(device)).LinkError();
    link.unsentChanges = UnsentChanges(device);
    return statusLine_.Shown(link, CStatusLine::Clock::now());
}

std::string CTonraView::StatusNote(const std::string& shownStatus) const {
    if (document_.pageMode != kDevicePage) {
        return {};
    }
    const auto d = static_cast<std::size_t>(document_.currentDevice);
    if (!DeviceConnected()) {
        const auto& ip = document_.ipAddress[d];
        if (document_.connectionMode != 0 &&
            std::all_of(ip.begin(), ip.end(), [](int o) { return o == 0; })) {
            return kNoAddressNote;
        }
        if (document_.connectionMode == 0 && document_.comPort[d] <= 0) {
            return kNoComPortNote;
        }
        return kNotOpenedNote;
    }
    const CPort& engine = engines_[d];
    if (engine.LinkError()) {
        const std::string problem = engine.LinkProblem();
        return Format(kNoAnswerNote, static_cast<int>(engine.SilentMs() / kMsPerSecond)) +
               (problem.empty() ? "" : ": " + problem);
    }
    if (shownStatus.find(kFailedWord) != std::string::npos) {
        std::string problem = engine.TransferProblem();
        if (!problem.empty()) {
            problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
        }
        return problem;
    }
    return {};
}

int CTonraView::UnsentChanges(int slot) const {
    return engines_.at(static_cast<std::size_t>(slot)).PendingChangeCount();
}

bool CTonraView::AskLinkBack(int slot) {
    return AfxMessageBox(Format(kLinkBackQuestion, slot + 1), MB_YESNO | MB_ICONQUESTION, kConfirmCaption) ==
           IDYES;
}

bool CTonraView::DeviceConnected() const {
    return document_.deviceOnline[static_cast<std::size_t>(document_.currentDevice)] != 0;
}

void CTonraView::OnTimer(UINT_PTR id) {
    if (id == kStatusTimerId) {
        UpdateStatusLine();
    }
}

void CTonraView::UpdateStatusLine() {
    if (!GetSafeHwnd()) {
        return;
    }
    // Both look at every unsent change of the device: the text is made once.
    const std::string shownStatus = StatusLineText();
    if (shownStatus != paintedStatus_) {
        CRect client;
        GetClientRect(&client);
        CRect status = StatusFrameRect(client.Width(), client.Height());
        if (statusWidened_ || shownStatus.size() > paintedStatus_.size()) {
            status.left = StatusNoteRect().left; // as far as a widened box reaches
        }
        InvalidateRect(&status, true);
    }
    if (StatusNote(shownStatus) != paintedNote_) {
        const CRect note = StatusNoteRect();
        InvalidateRect(&note, true);
    }
}

bool CTonraView::ConfirmUnsentChanges() {
    std::string list;
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        if (const int count = UnsentChanges(slot); count > 0) {
            list += Format("\n%s %d: ", kDeviceWord, slot + 1) + CStatusLine::ChangesText(count);
        }
    }
    return list.empty() || AfxMessageBox(kUnsentHead + list + "\n" + kUnsentTail, MB_YESNO | MB_ICONQUESTION,
                                         kConfirmCaption) == IDYES;
}

void CTonraView::OnMouseMove(UINT, CPoint) {
    // Over the view's own background: every hover-lit button goes dark.
    SendMessageToDescendants(UM_HOVER_MOVED, 0, 0);
}

void CTonraView::OnLButtonUp(UINT, CPoint) { EndTracking(0); }

void CTonraView::EndTracking(WPARAM id) {
    SendMessageToDescendants(UM_END_TRACKING, id, 0);
    document_.EndOpenGesture();
}

LRESULT CTonraView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_CTRL_HOVER:
        SendMessageToDescendants(UM_HOVER_MOVED, wParam, 0);
        return 1;
    case UM_CTRL_RELEASE:
        EndTracking(wParam);
        return 1;
    case UM_CTRL_PRESS:
        OnCommand(static_cast<UINT>(wParam));
        return 1;
    case UM_REFRESH:
        OnLinkRefresh(wParam);
        return 1;
    case UM_EQ_FILTERS:
        OnEqFilters(static_cast<UINT>(wParam), static_cast<int>(lParam));
        return 1;
    case UM_MEASUREMENT:
        OnMeasurement(static_cast<UINT>(wParam), static_cast<int>(lParam));
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
    case CPort::StatusChanged:
        statusLine_.Observe(document_.statusText, CStatusLine::Clock::now());
        UpdateStatusLine();
        break;
    case CPort::PendingChanged:
        UpdateStatusLine();
        break;
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

void CTonraView::RelayoutDevicePanel() {
    for (CWnd* window : {static_cast<CWnd*>(&devicePanel_), static_cast<CWnd*>(&devicePanel_.GetPlot())}) {
        if (window->GetSafeHwnd()) {
            CRect client;
            window->GetClientRect(&client);
            window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
        }
    }
}
