#include "pages/WndDevice.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "model/EditGesture.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <type_traits>

using namespace controls;
using pages::kLinkButtonCount;
using pages::PanelLayout;
using pages::StripRects;

namespace {

// ---- Controls ----

// A strip button: its caption and its look.
struct StripButton {
    const char* caption;
    ButtonLook look;
};

constexpr StripButton kMuteButton{
    "Mute", {false, true, RGB(128, 0, 0), RGB(128, 128, 128), RGB(255, 0, 0), RGB(255, 192, 192)}};
constexpr StripButton kPolarityButton{
    "+ Pol", {false, true, RGB(0, 0, 128), RGB(0, 192, 255), RGB(128, 64, 64), RGB(255, 255, 255)}};
constexpr StripButton kEqButton{
    "EQ", {false, false, RGB(0, 0, 128), RGB(0, 192, 255), RGB(0, 0, 255), RGB(255, 255, 255)}};
constexpr StripButton kSignalButton{
    "Signal", {false, false, RGB(0, 0, 128), RGB(0, 192, 255), RGB(0, 0, 255), RGB(255, 255, 255)}};
// Link buttons are captioned with their group number.
constexpr ButtonLook kInputLinkLook{false, false, RGB(0, 128, 0), RGB(0, 255, 0), RGB(0, 192, 0), kWhite};
constexpr ButtonLook kOutputLinkLook{false, false, RGB(0, 128, 128), RGB(0, 255, 255), RGB(0, 192, 192),
                                     kWhite};

constexpr const char* kPolarityInvertedCaption = "- Pol";

constexpr COLORREF kFieldTextColour = kValueColour;
constexpr int kFieldMaxChars = 6;

constexpr int kFaderMaxValue = 220;
constexpr int kFaderMarkValue = 160;
constexpr int kFaderDivisions = 22;
constexpr COLORREF kInputFaderColour = RGB(0, 0, 192);

const CRect kInitialMeterRect(0, 0, 8, 135);

// ---- Layout ----

constexpr int kPlotBottomMargin = 295;
constexpr int kStripAreaHeight = 290;
constexpr int kStripMargins = 72; // the scale labels left of the inputs and the right edge
constexpr int kGapMargins = 42;
constexpr int kRightMargin = 8;
constexpr CPoint kPlotOrigin{10, 20};

// ---- Popups ----

// The popups come up at the screen y of the panel's height minus 256, over the upper part of
// the strips, so that the strips' buttons stay in sight.
constexpr int kPopupAboveBottom = 256;

// ---- Painting ----

constexpr CPoint kEtchedLineOrigin{8, 9};
constexpr int kEtchedLineMargins = 20;
constexpr int kWindowFrameInset = 4;
constexpr int kGroupFrameTop = 17;
constexpr int kGroupFrameHeight = 262;
constexpr int kStripFrameTop = 18;
constexpr int kStripFrameHeight = 260;
constexpr int kStripLabelHeight = 20;

// The scale left of each group of strips, relative to the group's left edge and the top of the
// strip area.
struct ScaleLabel {
    const char* text;
    int dx;
    int dy;
};
constexpr ScaleLabel kScaleLabels[] = {
    {"Name", -31, 3},    {"dB", -16, 22},     {"-6dB", -24, 56},   {"-12dB", -30, 74},  {"-18dB", -30, 92},
    {"-24dB", -30, 110}, {"-30dB", -30, 128}, {"-36dB", -30, 146}, {"-42dB", -30, 164}, {"Link", -23, 253},
};
// The top of the meter warns of clipping on inputs and of the limiter on outputs.
constexpr ScaleLabel kInputMeterTopLabel{"Over", -26, 38};
constexpr ScaleLabel kOutputMeterTopLabel{"Limit", -24, 38};

// The substitute of "MS Sans Serif" is wider than the original face: a label that would reach
// into the strips right of it is drawn smaller until it ends before them.
void PaintScaleLabel(CDC& dc, const ScaleLabel& label, int groupLeft, int top) {
    CFont font;
    SelectFittingPageFont(dc, font, label.text, -label.dx - 1);
    dc.TextOut(groupLeft + label.dx, top + label.dy, label.text);
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}

bool CreateButton(CModButton& button, UINT id, const StripButton& row, CWnd* parent) {
    return button.Create(id, CRect(), row.look, row.caption, parent);
}

void SetColours(CModButton& button, const ButtonLook& look) {
    button.SetColours(look.back, look.text, look.litBack, look.litText);
}

// Repaints when the control reports a change; returns whether it did.
template <typename Control> bool RepaintIfChanged(Control& control) {
    if (!control.HasChanged()) {
        return false;
    }
    control.Invalidate();
    return true;
}

} // namespace

namespace pages {

PanelLayout ComputePanelLayout(int width, int height, int inputCount, int channelCount) {
    PanelLayout layout;
    const int n = std::clamp(channelCount, 0, model::kSlotCount);
    const int nIn = std::clamp(inputCount, 0, n);
    const int y0 = height - kStripAreaHeight;
    layout.inputCount = nIn;
    layout.channelCount = n;
    layout.plotArea = CRect(0, 0, width, height - kPlotBottomMargin);
    layout.stripArea = CRect(0, y0, width, height);
    layout.plotWindow = CRect(kPlotOrigin.x, kPlotOrigin.y, width, height - kPlotBottomMargin);
    const int cw = n > 0 ? std::max(0, (width - kStripMargins) / n) : 0;
    layout.stripWidth = cw;
    layout.groupGap = width - n * cw - kGapMargins;
    layout.stripLeft = width - n * cw - layout.groupGap - kRightMargin;

    for (int c = 0; c < n; ++c) {
        const int L = c * cw + layout.stripLeft + (c < nIn ? 0 : layout.groupGap);
        const int R = L + cw;
        layout.stripLeftEdges[c] = L;
        StripRects& s = layout.strips[c];
        s.nameField = CRect(L, y0 + 2, R, y0 + 17);
        s.gainFader = CRect(L + cw / 2 - 5, y0 + 40, L + cw / 2 + 25, y0 + 175);
        s.gainField = CRect(L + 10, y0 + 20, R - 10, y0 + 35);
        s.levelMeter = CRect(L + cw / 8, y0 + 40, L + cw / 8 + 15, y0 + 175);
        s.muteButton = CRect(L + 5, y0 + 180, R - 5, y0 + 195);
        s.polarityButton = CRect(L + 5, y0 + 198, R - 5, y0 + 213);
        s.eqButton = CRect(L + 5, y0 + 216, R - 5, y0 + 231);
        s.signalButton = CRect(L + 5, y0 + 234, R - 5, y0 + 249);
        for (int k = 0; k < kLinkButtonCount; ++k) {
            s.linkButtons[k] =
                CRect(L + 5 + (cw - 10) * k / 4, y0 + 252, L + 5 + (cw - 10) * (k + 1) / 4, y0 + 267);
        }
    }
    return layout;
}

} // namespace pages

CWndDevice::CWndDevice() = default;
CWndDevice::~CWndDevice() = default;

int CWndDevice::ChannelCount() const { return std::clamp(document->GetChannelCount(), 0, model::kSlotCount); }

int CWndDevice::InputCount() const { return std::clamp(document->GetInputCount(), 0, ChannelCount()); }

bool CWndDevice::Create(const CRect& rect, CWnd* parent, CTonraDoc* documentIn) {
    document = documentIn;
    if (!parent || !document || !CreateChild(*parent, rect)) {
        return false;
    }
    for (int slot = 0; slot < model::kSlotCount; ++slot) {
        if (!CreateStrip(slot)) {
            return false;
        }
    }
    if (!CreateLinkButtons() || !plot.Create(this, document)) {
        return false;
    }
    CRect client;
    GetClientRect(&client);
    LayOut(client.Width(), client.Height());
    return true;
}

bool CWndDevice::CreateStrip(int slot) {
    Strip& s = strips[slot];
    const UINT c = static_cast<UINT>(slot);
    if (!s.nameField.Create(CRect(), this, kNameFieldIdBase + c, kFieldTextColour, true, kFieldMaxChars) ||
        !s.gainFader.Create(CRect(), this, kFaderIdBase + c, kFaderMaxValue, kFaderMarkValue, kFaderDivisions,
                            kInputFaderColour)) {
        return false;
    }
    s.gainFader.SetInitialValue(model::kGainZeroIndex);
    return s.gainField.Create(CRect(), this, kGainFieldIdBase + c, kFieldTextColour, true, kFieldMaxChars) &&
           s.levelMeter.Create(kInitialMeterRect, this, kMeterIdBase + c) &&
           CreateButton(s.muteButton, kMuteIdBase + c, kMuteButton, this) &&
           CreateButton(s.polarityButton, kPolarityIdBase + c, kPolarityButton, this) &&
           CreateButton(s.eqButton, kEqIdBase + c, kEqButton, this) &&
           CreateButton(s.signalButton, kSignalIdBase + c, kSignalButton, this);
}

bool CWndDevice::CreateLinkButtons() {
    const int nIn = InputCount();
    for (int slot = 0; slot < model::kSlotCount; ++slot) {
        const ButtonLook& look = slot < nIn ? kInputLinkLook : kOutputLinkLook;
        for (int k = 0; k < kLinkButtonCount; ++k) {
            const UINT id = kLinkIdBase + static_cast<UINT>(kLinkButtonCount * slot + k);
            if (!strips[slot].linkButtons[k].Create(id, CRect(), look, Format("%u", k + 1), this)) {
                return false;
            }
        }
    }
    return true;
}

// ---- Layout ----

void CWndDevice::OnSize(UINT, int cx, int cy) { LayOut(cx, cy); }

void CWndDevice::LayOut(int width, int height) {
    if (!document) {
        return; // the first size arrives while the window is being created
    }
    const int n = ChannelCount();
    const int nIn = InputCount();
    layout = pages::ComputePanelLayout(width, height, nIn, n);
    plot.MoveWindow(layout.plotWindow);
    for (int slot = 0; slot < model::kSlotCount; ++slot) {
        Strip& s = strips[slot];
        const StripRects& r = layout.strips[slot]; // all empty beyond the channel count
        s.nameField.MoveWindow(r.nameField);
        s.gainFader.MoveWindow(r.gainFader);
        s.gainField.MoveWindow(r.gainField);
        s.levelMeter.MoveWindow(r.levelMeter);
        s.muteButton.MoveWindow(r.muteButton);
        s.polarityButton.MoveWindow(r.polarityButton);
        s.eqButton.MoveWindow(r.eqButton);
        s.signalButton.MoveWindow(r.signalButton);
        for (int k = 0; k < kLinkButtonCount; ++k) {
            s.linkButtons[k].MoveWindow(r.linkButtons[k]);
        }
    }
    Refresh();
    // The input count may have changed: every strip takes the colours of what it now shows.
    for (int slot = 0; slot < model::kSlotCount; ++slot) {
        const bool input = slot < nIn;
        const int output = slot - nIn;
        strips[slot].gainFader.SetThumbColour(input || output >= model::kMaxOutputs ? kInputFaderColour
                                                                                    : kOutputColours[output]);
        for (CModButton& button : strips[slot].linkButtons) {
            SetColours(button, input ? kInputLinkLook : kOutputLinkLook);
        }
    }
    Invalidate();
}

// ---- Painting ----

void CWndDevice::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(0, 0, w + 1, h + 1);
    dc.Draw3dRect(CRect(0, 0, w - kWindowFrameInset, h), kWhite, kGrey);
    dc.Draw3dRect(kEtchedLineOrigin.x, kEtchedLineOrigin.y, w - kEtchedLineMargins, 2, kBlack, kWhite);

    // Painted as laid out: a change of the channel counts arrives with the next WM_SIZE.
    dc.SetTextColor(kLabelColour);
    const int top = layout.stripArea.top;
    const int nIn = layout.inputCount;
    const int cw = layout.stripWidth;
    const int groupCounts[2] = {nIn, layout.channelCount - nIn};
    for (int g = 0; g < 2; ++g) {
        const bool outputs = g == 1;
        const int x = g * nIn * cw + layout.stripLeft + (outputs ? layout.groupGap : 0);
        PaintGroupScale(dc, x, top, outputs);
        dc.Draw3dRect(x, top + kGroupFrameTop, groupCounts[g] * cw + 2, kGroupFrameHeight, kBlack, kWhite);
    }
    PaintStripFrames(dc);
}

void CWndDevice::PaintGroupScale(CDC& dc, int x, int top, bool outputs) {
    // Frames are filled rectangles, which change the background colour.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kLightGrey);
    for (const ScaleLabel& label : kScaleLabels) {
        PaintScaleLabel(dc, label, x, top);
    }
    PaintScaleLabel(dc, outputs ? kOutputMeterTopLabel : kInputMeterTopLabel, x, top);
}

void CWndDevice::PaintStripFrames(CDC& dc) {
    const int top = layout.stripArea.top;
    const int bottom = layout.stripArea.bottom;
    const int nIn = layout.inputCount;
    const int cw = layout.stripWidth;
    for (int c = 0; c < layout.channelCount; ++c) {
        const int L = layout.stripLeftEdges[c];
        dc.Draw3dRect(L + 1, top + kStripFrameTop, cw, kStripFrameHeight, kWhite, kBlack);
        const bool input = c < nIn;
        const int number = input ? c : c - nIn;
        const std::string label = std::string(" ") + (input ? "In" : "Out") + Format(" %c ", '1' + number);
        // Frames are filled rectangles, which change the background colour.
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(kLightGrey);
        CFont font;
        SelectFittingPageFont(dc, font, label, cw);
        dc.DrawText(label, CRect(L, bottom - kStripLabelHeight, L + cw, bottom),
                    DT_CENTER | DT_TOP | DT_SINGLELINE);
        dc.SelectObject(static_cast<const CFont*>(nullptr));
    }
}

// ---- Refresh ----

void CWndDevice::Refresh() {
    if (!document || !GetSafeHwnd()) {
        return;
    }
    bool changed = false;
    for (int c = 0; c < ChannelCount(); ++c) {
        changed = RefreshStrip(c) || changed;
    }
    if (changed) {
        SetFocus();
    }
    // Whatever changed the document (an edit, a file, a copy, a sync, the engine), every page
    // that shows it and the plot follow from here.
    plot.RefreshCurves();
    if (eqEditor.GetSafeHwnd()) {
        eqEditor.Refresh();
    }
    if (signalPage.GetSafeHwnd()) {
        signalPage.Refresh();
    }
    if (dataSheet.GetSafeHwnd()) {
        dataSheet.Invalidate();
    }
}

bool CWndDevice::RefreshStrip(int c) {
    Strip& s = strips[c];
    bool changed = false;

    s.nameField.text = document->GetParamText(model::kChannelName, c);
    changed = RepaintIfChanged(s.nameField) || changed;

    s.gainFader.value = document->GetParam(model::kGain, c, 0);
    s.gainField.text = document->FormatParam(model::kGain, c, 0);
    const bool faderChanged = s.gainFader.HasChanged();
    const bool fieldChanged = s.gainField.HasChanged();
    if (faderChanged || fieldChanged) {
        s.gainFader.Invalidate();
        s.gainField.Invalidate();
        changed = true;
    }

    s.muteButton.lit = document->GetParam(model::kMute, c, 0) != 0;
    changed = RepaintIfChanged(s.muteButton) || changed;

    s.polarityButton.lit = document->GetParam(model::kPolarity, c, 0) != 0;
    if (s.polarityButton.HasChanged()) {
        s.polarityButton.caption = s.polarityButton.lit ? kPolarityInvertedCaption : kPolarityButton.caption;
        s.polarityButton.HasChanged(); // the caption follows the state; only the state is news
        s.polarityButton.Invalidate();
        changed = true;
    }

    // Link groups steer edits only: a changed group is shown but does not modify the document.
    const int group = document->linkGroup[document->currentDevice][c];
    for (int k = 0; k < kLinkButtonCount; ++k) {
        s.linkButtons[k].lit = group != 0 && group == k + 1;
        RepaintIfChanged(s.linkButtons[k]);
    }
    return changed;
}

void CWndDevice::UpdateMeters() {
    if (!document || !GetSafeHwnd()) {
        return;
    }
    for (int c = 0; c < ChannelCount(); ++c) {
        CModMeter& meter = strips[c].levelMeter;
        meter.level = document->GetParam(model::kMeterLevel, c, 0);
        if (meter.HasChanged()) {
            meter.Invalidate(false);
        }
    }
}

void CWndDevice::ResetPopupButtons() {
    for (Strip& s : strips) {
        s.eqButton.lit = false;
        s.signalButton.lit = false;
    }
    plot.ResetMarkers();
}

// ---- Reports ----

void CWndDevice::OnMouseMove(UINT, CPoint) {
    ReportToParent(*this, UM_CTRL_HOVER, 0);
    Default();
}

void CWndDevice::OnLButtonDown(UINT, CPoint) {
    ReportToParent(*this, UM_CTRL_PRESS, 0);
    Default();
}

void CWndDevice::OnLButtonUp(UINT, CPoint) {
    ReportToParent(*this, UM_CTRL_RELEASE, 0);
    Default();
}

LRESULT CWndDevice::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_EQ_CLOSED:
        PopupClosed(&Strip::eqButton, plot.eqMarkersShown);
        return 1;
    case UM_SIGNAL_CLOSED:
        PopupClosed(&Strip::signalButton, plot.xoMarkersShown);
        return 1;
    default:
        return CPageWnd::OnMessage(message, wParam, lParam);
    }
}

void CWndDevice::ControlHovered(UINT id) { ReportToParent(*this, UM_CTRL_HOVER, id); }

void CWndDevice::EndTracking(UINT id) {
    Refresh();
    plot.SendMessage(UM_END_TRACKING, id, 0);
    if (eqEditor.GetSafeHwnd()) {
        eqEditor.SendMessage(UM_END_TRACKING, id, 0);
    }
    if (signalPage.GetSafeHwnd()) {
        signalPage.SendMessage(UM_END_TRACKING, id, 0);
    }
}

// ---- Button presses ----

void CWndDevice::PressButton(UINT id) {
    const model::EditGesture click(*document);
    const int n = ChannelCount();
    const IdRange muteIds{kMuteIdBase, n};
    const IdRange polarityIds{kPolarityIdBase, n};
    const IdRange linkIds{kLinkIdBase, kLinkButtonCount * n};
    const IdRange eqIds{kEqIdBase, n};
    const IdRange signalIds{kSignalIdBase, n};
    if (muteIds.Contains(id)) {
        ToggleParam(model::kMute, muteIds.Offset(id));
    } else if (polarityIds.Contains(id)) {
        ToggleParam(model::kPolarity, polarityIds.Offset(id));
    } else if (linkIds.Contains(id)) {
        const int offset = linkIds.Offset(id);
        PressLinkButton(offset / kLinkButtonCount, offset % kLinkButtonCount);
    } else if (eqIds.Contains(id)) {
        PressEqButton(eqIds.Offset(id));
    } else if (signalIds.Contains(id)) {
        PressSignalButton(signalIds.Offset(id));
    }
}

void CWndDevice::ToggleParam(int kind, int c) {
    document->SetParam(kind, document->GetParam(kind, c, 0) != 0 ? 0 : 1, c, 0);
    Refresh();
}

void CWndDevice::PressLinkButton(int c, int k) {
    const int group = document->linkGroup[document->currentDevice][c];
    document->SetLinkGroup(group == k + 1 ? 0 : k + 1, c);
    Refresh();
}

// ---- Popups ----

void CWndDevice::PressEqButton(int c) {
    PressPopupButton(eqEditor, &Strip::eqButton, plot.eqMarkersShown, plot.eqMarkerChannel, c);
}

void CWndDevice::PressSignalButton(int c) {
    PressPopupButton(signalPage, &Strip::signalButton, plot.xoMarkersShown, plot.xoMarkerChannel, c);
}

// The lit button of a popup marks the channel it shows: pressing it again closes the popup,
// any other button of the kind opens the popup or switches it to that channel.
template <typename Popup>
void CWndDevice::PressPopupButton(Popup& popup, CModButton Strip::*button, bool& markersShown,
                                  int& markerChannel, int c) {
    const bool open = !(strips[c].*button).lit;
    if (!open) {
        popup.DestroyWindow();
    } else if (!popup.GetSafeHwnd()) {
        popup.OpenForChannel(layout.stripArea.bottom - kPopupAboveBottom, this, document, c);
    } else {
        popup.ShowWindow(SW_SHOW);
        if constexpr (std::is_same_v<Popup, CWndSignal>) {
            popup.Refresh();
        }
        popup.SetChannel(c);
    }
    if (open) {
        popup.SetFocus();
    }
    markersShown = open;
    markerChannel = c;
    DarkenAll(button);
    (strips[c].*button).lit = open;
}

// A popup closed with its close box: none of its buttons is lit, the plot drops its markers.
void CWndDevice::PopupClosed(CModButton Strip::*button, bool& markersShown) {
    DarkenAll(button);
    markersShown = false;
    plot.ComputeCurves(-1);
}

void CWndDevice::DarkenAll(CModButton Strip::*button) {
    for (Strip& s : strips) {
        (s.*button).lit = false;
        (s.*button).Invalidate();
    }
}

// ---- Fader and text edits ----

void CWndDevice::ValueChanged(UINT) {
    for (int c = 0; c < ChannelCount(); ++c) {
        const int value = strips[c].gainFader.value;
        if (value != document->GetParam(model::kGain, c, 0)) {
            document->SetParam(model::kGain, value, c, 0); // linked channels follow
            plot.ComputeCurves(c); // before the refresh, which then finds the curves current
            Refresh();
        }
    }
}

void CWndDevice::TextEntered(UINT id) {
    const model::EditGesture typed(*document);
    const IdRange names{kNameFieldIdBase, ChannelCount()};
    const IdRange gains{kGainFieldIdBase, ChannelCount()};
    if (names.Contains(id)) {
        const int c = names.Offset(id);
        document->SetParamText(model::kChannelName, strips[c].nameField.text, c);
    } else if (gains.Contains(id)) {
        const int c = gains.Offset(id);
        model::SetParamFromField(*document, model::kGain, {strips[c].gainField.text}, c);
    }
}
