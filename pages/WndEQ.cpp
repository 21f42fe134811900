#include "pages/WndEQ.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "framework/Menu.h"
#include "model/EditGesture.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"
#include "pages/PopupSupport.h"

using namespace model;

namespace {

// ---- The controls of one band, in creation order; band b takes the first id + b ----

struct FieldSpec {
    UINT firstId;
    COLORREF textColour;
    int maxChars;
};
struct FaderSpec {
    UINT firstId;
    int maxValue;
    int markValue;
    int divisions;
    COLORREF thumbColour;
};
struct ButtonSpec {
    UINT firstId;
    const char* caption;
    ButtonLook look;
};

constexpr COLORREF kTypeBack = RGB(0, 0, 128);
constexpr COLORREF kTypeText = RGB(192, 192, 192);
constexpr COLORREF kTypeLitBack = RGB(0, 0, 255);
constexpr COLORREF kWidthModeColour = RGB(0, 192, 0);

constexpr FieldSpec kGainField{1700, RGB(128, 0, 0), 6};
constexpr FieldSpec kFreqField{1800, RGB(0, 0, 128), 5};
constexpr FieldSpec kWidthField{1900, RGB(0, 128, 0), 4};
constexpr FaderSpec kGainFader{1300, 180, kEqGainZeroIndex, 18, RGB(192, 0, 0)};
constexpr FaderSpec kCoarseFader{1400, 200, 0, 18, RGB(0, 0, 192)};
constexpr FaderSpec kFineFader{1500, 99, 0, 18, RGB(0, 0, 192)};
constexpr FaderSpec kWidthFader{1600, kMaxWidth, 0, 18, RGB(0, 192, 0)};
constexpr ButtonSpec kPeqButton{
    2000, "PEQ", {false, true, kTypeBack, kTypeText, kTypeLitBack, controls::kWhite}};
constexpr ButtonSpec kLoButton{
    2100, "Lo", {false, false, kTypeBack, kTypeText, kTypeLitBack, controls::kWhite}};
constexpr ButtonSpec kHiButton{
    2200, "Hi", {false, false, kTypeBack, kTypeText, kTypeLitBack, controls::kWhite}};
constexpr ButtonSpec kWidthModeButton{
    2300, "Oct", {false, false, kWidthModeColour, controls::kWhite, kWidthModeColour, controls::kWhite}};
constexpr ButtonSpec kOnButton{
    2400, "On", {false, true, RGB(0, 128, 0), kTypeText, RGB(0, 192, 0), controls::kWhite}};

constexpr int kInitialWidthFaderValue = 1;
constexpr const char* kQCaption = "Q";
constexpr const char* kOctCaption = "Oct";
constexpr UINT kIdsPerControl = 100; // band b of a control has the control's first id + b

// A shelf's width fader is a two-way switch: these values select the 6 dB slope.
constexpr int kGentleSlopeFaderBottom = 0;
constexpr int kGentleSlopeFaderTop = kMaxWidth - 1;

// ---- Layout ----

constexpr int kBandCountPx = kBandCount;
constexpr int kSideMarginPx = 20;
constexpr int kButtonInset = 5;
constexpr int kFaderHalfWidth = 12;
constexpr int kFieldHalfWidth = 19;
constexpr int kFaderTop = 28;
constexpr int kFaderBottom = 146;
constexpr int kFieldTop = 10;
constexpr int kFieldBottom = 25;
constexpr int kLoTop = 35;
constexpr int kPeqTop = 50;
constexpr int kHiTop = 65;
constexpr int kWidthModeTop = 90;
constexpr int kOnTop = 130;
constexpr int kButtonHeight = 15;

// ---- Painting ----

constexpr int kFrameTop = 5;
constexpr int kFrameHeightLess = 38;
constexpr int kBandFrameTop = 6;
constexpr int kBandFrameHeightLess = 40;
constexpr int kBandNumberHeight = 15;

bool IsIdOf(UINT id, UINT firstId) { return IdRange{firstId, kBandCount}.Contains(id); }

CRect ButtonRect(int left, int buttonColumn, int top) {
    return {left + kButtonInset, top, left + buttonColumn, top + kButtonHeight};
}
CRect FaderRect(int centre) {
    return {centre - kFaderHalfWidth, kFaderTop, centre + kFaderHalfWidth, kFaderBottom};
}
CRect FieldRect(int centre) {
    return {centre - kFieldHalfWidth, kFieldTop, centre + kFieldHalfWidth, kFieldBottom};
}

} // namespace

namespace pages {

EqLayout ComputeEqLayout(int windowWidth) {
    EqLayout layout;
    const int bw = (windowWidth - kSideMarginPx) / kBandCountPx;
    layout.bandWidthPx = bw;
    layout.bandLeft = (windowWidth - kBandCountPx * bw) / 2 - 3;
    layout.buttonColumn = bw / 4;
    const int bc = layout.buttonColumn;
    const int r = bw - bc - 20;
    layout.faderColumns = {r / 8 + bc + 10, 3 * r / 8 + bc + 10, 5 * r / 8 + bc + 10, 7 * r / 8 + bc + 10};
    return layout;
}

} // namespace pages

CWndEQ::CWndEQ() : CWndChannelPopup(UM_EQ_CLOSED) { savedGain.fill(kEqGainZeroIndex); }

CWndEQ::~CWndEQ() = default;

// ---- Opening and switching ----

void CWndEQ::SetChannel(int channelIn) {
    if (!GetSafeHwnd() || !document || !IsChannel(channelIn)) {
        return;
    }
    SetWindowText(pages::ChannelPopupTitle(*document, channelIn, "EQ"));
    channel = channelIn;
    const bool factoryOutput =
        document->factoryEq[CurrentDevice()] != 0 && channel >= document->GetInputCount();
    if (factoryOutput) {
        ShowWindow(SW_HIDE);
    } else {
        pages::ShowPopupAt(*this, popupPos, CSize(kWidth, kHeight));
    }
    Invalidate();
}

int CWndEQ::OnCreate() {
    savedGain.fill(kEqGainZeroIndex);
    for (int b = 0; b < kBandCount; ++b) {
        if (!CreateBandControls(b)) {
            return -1;
        }
    }
    return 0;
}

bool CWndEQ::CreateBandControls(int b) {
    const CRect none;
    const auto field = [&](CModText& control, const FieldSpec& row) {
        return control.Create(none, this, row.firstId + b, row.textColour, true, row.maxChars);
    };
    const auto fader = [&](CModFader& control, const FaderSpec& row) {
        return control.Create(none, this, row.firstId + b, row.maxValue, row.markValue, row.divisions,
                              row.thumbColour);
    };
    const auto button = [&](CModButton& control, const ButtonSpec& row) {
        return control.Create(row.firstId + b, none, row.look, row.caption, this);
    };
    const bool created = field(eqGainFields[b], kGainField) && field(eqFreqFields[b], kFreqField) &&
                         field(eqWidthFields[b], kWidthField) && fader(eqGainFaders[b], kGainFader) &&
                         fader(eqCoarseFaders[b], kCoarseFader) && fader(eqFineFaders[b], kFineFader) &&
                         fader(eqWidthFaders[b], kWidthFader);
    if (!created) {
        return false;
    }
    eqWidthFaders[b].SetInitialValue(kInitialWidthFaderValue);
    return button(peqButtons[b], kPeqButton) && button(loButtons[b], kLoButton) &&
           button(hiButtons[b], kHiButton) && button(widthModeButtons[b], kWidthModeButton) &&
           button(onButtons[b], kOnButton);
}

// ---- Layout ----

void CWndEQ::OnSize(UINT, int, int) {
    const CSize size = pages::WindowSize(*this);
    if (size.cx <= 0 || size.cy <= 0) {
        return; // not placed yet
    }
    LayOut();
    Refresh();
}

void CWndEQ::LayOut() {
    const pages::EqLayout layout = pages::ComputeEqLayout(pages::WindowSize(*this).cx);
    bandWidthPx = layout.bandWidthPx;
    bandLeft = layout.bandLeft;
    buttonColumn = layout.buttonColumn;
    faderColumns = layout.faderColumns;
    const auto [k1, k2, k3, k4] = faderColumns;
    for (int b = 0; b < kBandCount; ++b) {
        const int left = bandLeft + b * bandWidthPx;
        loButtons[b].MoveWindow(ButtonRect(left, buttonColumn, kLoTop));
        peqButtons[b].MoveWindow(ButtonRect(left, buttonColumn, kPeqTop));
        hiButtons[b].MoveWindow(ButtonRect(left, buttonColumn, kHiTop));
        widthModeButtons[b].MoveWindow(ButtonRect(left, buttonColumn, kWidthModeTop));
        onButtons[b].MoveWindow(ButtonRect(left, buttonColumn, kOnTop));
        eqGainFaders[b].MoveWindow(FaderRect(left + k1));
        eqCoarseFaders[b].MoveWindow(FaderRect(left + k2));
        eqFineFaders[b].MoveWindow(FaderRect(left + k3));
        eqWidthFaders[b].MoveWindow(FaderRect(left + k4));
        eqGainFields[b].MoveWindow(FieldRect(left + k1));
        eqFreqFields[b].MoveWindow(FieldRect(left + (k2 + k3) / 2));
        eqWidthFields[b].MoveWindow(FieldRect(left + k4));
    }
}

// ---- Refresh ----

int CWndEQ::CurrentDevice() const { return document->ResolveDevice(-1); }

bool CWndEQ::BandOn(int b) const { return document->eqBandOn[CurrentDevice()][channel][b] != 0; }

void CWndEQ::Refresh() {
    if (!GetSafeHwnd() || !document || !IsChannel(channel)) {
        return;
    }
    bool changed = false;
    for (int b = 0; b < kBandCount; ++b) {
        changed |= RefreshBand(b);
    }
    if (changed) {
        SetFocus();
    }
}

bool CWndEQ::RefreshBand(int b) {
    const CTonraDoc& doc = *document;
    const int c = channel;
    bool changed = false;

    eqGainFaders[b].value = doc.GetParam(kEqGain, c, b);
    eqGainFields[b].text = doc.FormatParam(kEqGain, c, b);
    if (eqGainFaders[b].HasChanged() | eqGainFields[b].HasChanged()) {
        eqGainFaders[b].Invalidate(false);
        eqGainFields[b].Invalidate(false);
        changed = true;
    }

    const int frequency = FrequencyHz(doc.GetParam(kEqFreq, c, b));
    eqCoarseFaders[b].value = frequency / 100;
    eqFineFaders[b].value = frequency % 100;
    eqFreqFields[b].text = doc.FormatParam(kEqFreq, c, b);
    if (eqCoarseFaders[b].HasChanged() | eqFineFaders[b].HasChanged() | eqFreqFields[b].HasChanged()) {
        eqCoarseFaders[b].Invalidate(false);
        eqFineFaders[b].Invalidate(false);
        eqFreqFields[b].Invalidate(false);
        changed = true;
    }

    CModButton& widthMode = widthModeButtons[b];
    widthMode.lit = doc.qDisplay[CurrentDevice()][b] != 0;
    widthMode.caption = widthMode.lit ? kQCaption : kOctCaption;
    if (widthMode.HasChanged()) {
        widthMode.Invalidate(false);
        eqWidthFields[b].edited = true; // repaints with the width in the other unit below
    }

    const int type = doc.GetParam(kEqType, c, b);
    peqButtons[b].lit = type == kEqParametric;
    loButtons[b].lit = type == kEqLowShelf;
    hiButtons[b].lit = type == kEqHighShelf;
    for (CModButton* typeButton : {&peqButtons[b], &loButtons[b], &hiButtons[b]}) {
        if (typeButton->HasChanged()) {
            eqWidthFields[b].text = doc.FormatParam(kEqWidth, c, b);
            typeButton->Invalidate(false);
            changed = true;
            if (typeButton != &peqButtons[b]) {
                eqWidthFields[b].edited = true;
            }
        }
    }

    onButtons[b].lit = BandOn(b);
    if (onButtons[b].HasChanged()) {
        onButtons[b].Invalidate(false);
        changed = true;
    }

    eqWidthFaders[b].value = doc.GetParam(kEqWidth, c, b);
    eqWidthFields[b].text = doc.FormatParam(kEqWidth, c, b);
    if (eqWidthFaders[b].HasChanged() | eqWidthFields[b].HasChanged()) {
        eqWidthFaders[b].Invalidate(false);
        eqWidthFields[b].Invalidate(false);
        changed = true;
    }
    return changed;
}

// ---- Edits ----

void CWndEQ::PressButton(UINT id) {
    const EditGesture click(*document);
    const int b = static_cast<int>(id % kIdsPerControl);
    const int c = channel;
    if (IsIdOf(id, kPeqButton.firstId)) {
        document->SetParam(kEqType, kEqParametric, c, b);
    } else if (IsIdOf(id, kLoButton.firstId)) {
        document->SetParam(kEqType, kEqLowShelf, c, b);
    } else if (IsIdOf(id, kHiButton.firstId)) {
        document->SetParam(kEqType, kEqHighShelf, c, b);
    } else if (IsIdOf(id, kWidthModeButton.firstId)) {
        int& qDisplay = document->qDisplay[CurrentDevice()][b];
        qDisplay = qDisplay != 0 ? 0 : 1;
    } else if (IsIdOf(id, kOnButton.firstId)) {
        if (BandOn(b)) {
            document->SetBandOn(false, c, b);
            savedGain[b] = document->GetParam(kEqGain, c, b);
            document->SetParam(kEqGain, kEqGainZeroIndex, c, b);
        } else {
            document->SetBandOn(true, c, b);
            document->SetParam(kEqGain, savedGain[b], c, b);
        }
        onButtons[b].Invalidate(false);
    }
}

void CWndEQ::ApplyValue(UINT id) {
    const int b = static_cast<int>(id % kIdsPerControl);
    const int c = channel;
    if (IsIdOf(id, kGainFader.firstId)) {
        if (BandOn(b)) {
            document->SetParam(kEqGain, eqGainFaders[b].value, c, b);
        }
    } else if (IsIdOf(id, kCoarseFader.firstId) || IsIdOf(id, kFineFader.firstId)) {
        const int hz = eqCoarseFaders[b].value * 100 + eqFineFaders[b].value;
        document->SetParam(kEqFreq, hz - kFrequencyOffsetHz, c, b);
    } else if (IsIdOf(id, kWidthFader.firstId)) {
        const int v = eqWidthFaders[b].value;
        if (document->GetParam(kEqType, c, b) == kEqParametric) {
            document->SetParam(kEqWidth, v, c, b);
        } else {
            const bool gentle = v == kGentleSlopeFaderBottom || v == kGentleSlopeFaderTop;
            document->SetParam(kEqWidth, gentle ? 0 : kMaxWidth, c, b);
        }
    }
}

void CWndEQ::TextEntered(UINT id) {
    const EditGesture typed(*document);
    const int b = static_cast<int>(id % kIdsPerControl);
    const int c = channel;
    if (IsIdOf(id, kGainField.firstId)) {
        if (BandOn(b)) {
            SetParamFromField(*document, kEqGain, {eqGainFields[b].text}, c, b);
        }
    } else if (IsIdOf(id, kFreqField.firstId)) {
        SetParamFromField(*document, kEqFreq, {eqFreqFields[b].text}, c, b);
    } else if (IsIdOf(id, kWidthField.firstId)) {
        SetParamFromField(*document, kEqWidth, {eqWidthFields[b].text}, c, b); // a shelf: nothing
    }
}

void CWndEQ::StopControls() {
    for (int b = 0; b < kBandCount; ++b) {
        for (CWnd* control : std::initializer_list<CWnd*>{
                 &peqButtons[b], &loButtons[b], &hiButtons[b], &widthModeButtons[b], &onButtons[b],
                 &eqGainFaders[b], &eqCoarseFaders[b], &eqFineFaders[b], &eqWidthFaders[b], &eqGainFields[b],
                 &eqFreqFields[b], &eqWidthFields[b]}) {
            control->SendMessage(UM_END_TRACKING);
        }
    }
}

// ---- Filter text ----

void CWndEQ::OnContextMenu(CWnd*, CPoint screenPoint) {
    if (!document || !IsChannel(channel)) {
        return;
    }
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kImportFilters, "Import filters...");
    menu.AppendMenu(MF_STRING, kExportFilters, "Export filters...");
    menu.AppendMenu(MF_STRING, kExportApoFilters, "Export filters for Equalizer APO...");
    // The view runs the chosen command: it asks for the file and shows what there is to show.
    if (const UINT command = menu.TrackPopupMenu(TPM_RETURNCMD, screenPoint.x, screenPoint.y, this);
        command != 0 && GetParent()) {
        GetParent()->SendMessage(UM_EQ_FILTERS, command, channel);
    }
}

// ---- Painting ----

void CWndEQ::OnPaint() {
    CPaintDC dc(this);
    const CSize size = pages::WindowSize(*this);
    const int h = size.cy;
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(0, 0, size.cx, h);
    dc.Draw3dRect(bandLeft - 1, kFrameTop, kBandCount * bandWidthPx + 2, h - kFrameHeightLess,
                  controls::kBlack, controls::kWhite);
    dc.SetTextColor(controls::kLabelColour);
    for (int b = 0; b < kBandCount; ++b) {
        const int left = bandLeft + b * bandWidthPx;
        pages::DrawLabel(dc, Format("EQ%u", static_cast<unsigned>(b + 1)),
                         CRect(left + kButtonInset, kFieldTop, left + buttonColumn, kFieldBottom));
        dc.Draw3dRect(left, kBandFrameTop, bandWidthPx, h - kBandFrameHeightLess, controls::kWhite,
                      controls::kBlack);
        // The band number sits below the client area of the window's fixed size.
        pages::DrawLabel(dc, Format(" %c ", '1' + b),
                         CRect(left, h - kBandNumberHeight, left + bandWidthPx, h));
    }
}
