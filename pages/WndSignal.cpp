#include "pages/WndSignal.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "model/EditGesture.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"
#include "pages/PopupSupport.h"

#include <algorithm>
#include <cmath>

using namespace model;

namespace {

// ---- Control ids ----
constexpr UINT kSourceButtonId = 2500; // + input
constexpr UINT kSourceFieldId = 2600;  // + input
constexpr UINT kSourceFaderId = 2650;  // + input
constexpr UINT kTypeButtonId = 2700;   // + 4 x filter + type
constexpr UINT kXoverCoarseId = 2800;  // + filter
constexpr UINT kXoverFineId = 2900;    // + filter
constexpr UINT kXoverSlopeFaderId = 3000;
constexpr UINT kXoverFreqFieldId = 3100;
constexpr UINT kXoverSlopeFieldId = 3200;
constexpr UINT kDelayCoarseId = 3400;
constexpr UINT kDelayFineId = 3500;
constexpr UINT kDelaySamplesId = 3600;
constexpr UINT kDelayMsId = 3700;
constexpr UINT kDelayMetresId = 3800;
constexpr UINT kDelayFeetId = 3900;
constexpr UINT kTemperatureSpinId = 4000;
constexpr UINT kTemperatureFieldId = 4100;
constexpr UINT kThresholdFaderId = 4200;
constexpr UINT kAttackFaderId = 4300;
constexpr UINT kReleaseFaderId = 4400;
constexpr UINT kAmpGainSpinId = 4500;
constexpr UINT kImpedanceSpinId = 4600;
constexpr UINT kThresholdFieldId = 4700;
constexpr UINT kAttackFieldId = 4800;
constexpr UINT kReleaseFieldId = 4900;
constexpr UINT kAmpGainFieldId = 5000;
constexpr UINT kImpedanceFieldId = 5100;
constexpr UINT kPowerFieldId = 5200;

// ---- Creation parameters ----
using controls::kValueColour;
constexpr COLORREF kDelayThumb = RGB(0, 0, 128);
constexpr COLORREF kSourceColour = RGB(0, 128, 0);
constexpr COLORREF kSourceLitColour = RGB(0, 192, 0);
constexpr COLORREF kLimiterThumb = RGB(192, 64, 0);
constexpr int kDelayDivisions = 22;
constexpr int kSourceDivisions = 12;
constexpr int kXoverDivisions = 18;
constexpr int kSlopeDivisions = 4;
constexpr int kLimiterDivisions = 18;
constexpr int kReleaseDivisions = 4;
constexpr int kFineMax = 99;
constexpr int kXoverCoarseMax = 200;
constexpr int kDelayFieldChars = 5;
constexpr int kTemperatureChars = 2;
constexpr int kSourceChars = 6;
constexpr int kXoverFreqChars = 8;
constexpr int kXoverSlopeChars = 5;
constexpr int kThresholdChars = 5;
constexpr int kAttackChars = 3;
constexpr int kReleaseChars = 2;
constexpr int kAmpGainChars = 3;
constexpr int kImpedanceChars = 2;

// The two crossover filters: the high-pass first, then the low-pass.
struct FilterColours {
    COLORREF colour;
    COLORREF light;
};
constexpr std::array<FilterColours, kXoverFilterCount> kFilterColours = {{
    {RGB(0, 64, 128), RGB(0, 128, 192)},
    {RGB(128, 64, 0), RGB(192, 128, 0)},
}};

// ---- Layout ----
constexpr int kFrameWidthLess = 14;  // W' = W - 14
constexpr int kFrameHeightLess = 33; // H' = H - 33
constexpr int kFaderBottomInset = 5;
constexpr int kInputPageWidth = 175;
constexpr int kOutputPageBaseWidth = 712;
constexpr int kOutputPagePerInput = 36;
constexpr int kSourcePitch = 40;
// The page grows less per input than the sources do, which narrows the power column at its
// right edge: beyond four inputs its labels ("Speaker Impedance") would be cut, so from there
// the page grows with the sources.
constexpr int kWidestPowerColumnInputs = 4;
constexpr int kSourcesLeft = 165;
constexpr int kSourceSectionBase = 170;
constexpr int kFilterPitch = 110;

// ---- Painting ----
constexpr COLORREF kInk = controls::kLabelColour;
constexpr int kDelayPanelRight = 160;

unsigned AsUnsigned(int v) { return static_cast<unsigned>(std::max(v, 0)); }

} // namespace

namespace pages {

int SignalPageWidth(bool output, int inputCount) {
    if (!output) {
        return kInputPageWidth;
    }
    const int narrowing =
        std::max(inputCount - kWidestPowerColumnInputs, 0) * (kSourcePitch - kOutputPagePerInput);
    return inputCount * kOutputPagePerInput + kOutputPageBaseWidth + narrowing;
}

int SourceSectionEnd(int inputCount) { return inputCount * kSourcePitch + kSourceSectionBase; }

std::string ReleaseTimeText(int attack, int release) {
    const double multiple = ReleaseFactor(release);
    const double ms = attack > kShortAttackCount - 1
                          ? multiple * (attack - kLongAttackOffset)
                          : multiple * (attack + kShortAttackOffset) / kAttackTenths;
    const char* format = attack > kShortAttackCount - 1 ? " (%.0fms)" : " (%.1fms)";
    return ReleaseText(release) + Format(format, ms);
}

} // namespace pages

CWndSignal::CWndSignal() : CWndChannelPopup(UM_SIGNAL_CLOSED) {}

CWndSignal::~CWndSignal() = default;

// ---- Opening and switching ----

void CWndSignal::SetChannel(int channelIn) {
    if (!GetSafeHwnd() || !document || !IsChannel(channelIn)) {
        return;
    }
    channel = channelIn;
    SetWindowText(pages::ChannelPopupTitle(*document, channel, "Signal"));
    // The sections and ranges follow the device shown, which a sync may have changed.
    sourceSectionEnd = pages::SourceSectionEnd(document->GetInputCount());
    FollowDeviceRanges();
    pages::ShowPopupAt(*this, popupPos,
                       CSize(pages::SignalPageWidth(IsOutput(), document->GetInputCount()), kHeight));
    LayOut();
    Invalidate();
}

bool CWndSignal::IsOutput() const { return channel >= document->GetInputCount(); }

IdRange CWndSignal::InputIds(UINT first) const {
    return {first, std::clamp(document->GetInputCount(), 0, kMaxInputs)};
}

int CWndSignal::Temperature() const { return temperatureSpin.GetPos() & 0xFF; }

void CWndSignal::FollowDeviceRanges() {
    const int delayMax = document->MaxParamValue(kDelay) / 100;
    if (delayCoarseFader.MaxValue() != delayMax) {
        delayCoarseFader.SetMaxValue(delayMax);
    }
    const int sourceMax = document->MaxParamValue(kMixLevel);
    for (CModFader& fader : sourceFaders) {
        if (fader.MaxValue() != sourceMax) {
            fader.SetMaxValue(sourceMax);
        }
    }
}

// ---- Creation ----

int CWndSignal::OnCreate() {
    const bool created =
        CreateDelayControls() && CreateSourceControls() && CreateFilterControls() && CreateLimiterControls();
    return created ? 0 : -1;
}

bool CWndSignal::CreateDelayControls() {
    const CRect none;
    const bool created =
        delaySamplesField.Create(none, this, kDelaySamplesId, kValueColour, true, kDelayFieldChars) &&
        delayMsField.Create(none, this, kDelayMsId, kValueColour, true, kDelayFieldChars) &&
        delayMetresField.Create(none, this, kDelayMetresId, kValueColour, true, kDelayFieldChars) &&
        delayFeetField.Create(none, this, kDelayFeetId, kValueColour, true, kDelayFieldChars) &&
        temperatureSpin.Create(this, kTemperatureSpinId) &&
        temperatureField.Create(none, this, kTemperatureFieldId, kValueColour, true, kTemperatureChars) &&
        delayCoarseFader.Create(none, this, kDelayCoarseId, document->MaxParamValue(kDelay) / 100, 0,
                                kDelayDivisions, kDelayThumb) &&
        delayFineFader.Create(none, this, kDelayFineId, kFineMax, 0, kDelayDivisions, kDelayThumb);
    if (!created) {
        return false;
    }
    // The air temperature is page state: 25 degrees whenever the window is created.
    temperatureSpin.SetRange(kMinTemperature, kMaxTemperature);
    temperatureSpin.SetPos(kInitialTemperature);
    temperatureSpin.value = kInitialTemperature;
    return true;
}

bool CWndSignal::CreateSourceControls() {
    const CRect none;
    const int sourceMax = document->MaxParamValue(kMixLevel);
    for (int i = 0; i < kMaxInputs; ++i) {
        const UINT offset = static_cast<UINT>(i);
        const bool created =
            sourceButtons[i].Create(
                kSourceButtonId + offset, none,
                {false, false, kSourceColour, controls::kLightGrey, kSourceLitColour, controls::kWhite},
                Format("In%c", '1' + i), this) &&
            sourceFields[i].Create(none, this, kSourceFieldId + offset, kValueColour, true, kSourceChars) &&
            sourceFaders[i].Create(none, this, kSourceFaderId + offset, sourceMax, 0, kSourceDivisions,
                                   kSourceColour);
        if (!created) {
            return false;
        }
    }
    return true;
}

bool CWndSignal::CreateFilterControls() {
    const CRect none;
    for (int x = 0; x < kXoverFilterCount; ++x) {
        const UINT filter = static_cast<UINT>(x);
        const auto [colour, light] = kFilterColours[x];
        bool created = xoverCoarseFaders[x].Create(none, this, kXoverCoarseId + filter, kXoverCoarseMax, 0,
                                                   kXoverDivisions, colour) &&
                       xoverFineFaders[x].Create(none, this, kXoverFineId + filter, kFineMax, 0,
                                                 kXoverDivisions, colour) &&
                       xoverSlopeFaders[x].Create(none, this, kXoverSlopeFaderId + filter,
                                                  kParamUpperBound[kXoverSlope], 0, kSlopeDivisions, colour);
        for (int k = 0; k < kTypeButtonCount && created; ++k) {
            created = xoverTypeButtons[x][k].Create(
                kTypeButtonId + kTypeButtonCount * filter + k, none,
                {false, false, colour, controls::kLightGrey, light, controls::kWhite},
                std::string(kXoverTypeNames[k]), this);
        }
        created = created &&
                  xoverFreqFields[x].Create(none, this, kXoverFreqFieldId + filter, colour, true,
                                            kXoverFreqChars) &&
                  xoverSlopeFields[x].Create(none, this, kXoverSlopeFieldId + filter, colour, true,
                                             kXoverSlopeChars);
        if (!created) {
            return false;
        }
    }
    return true;
}

bool CWndSignal::CreateLimiterControls() {
    const CRect none;
    const bool created =
        thresholdFader.Create(none, this, kThresholdFaderId, kParamUpperBound[kLimThreshold], 0,
                              kLimiterDivisions, kLimiterThumb) &&
        attackFader.Create(none, this, kAttackFaderId, kParamUpperBound[kLimAttack], 0, kLimiterDivisions,
                           kLimiterThumb) &&
        releaseFader.Create(none, this, kReleaseFaderId, kParamUpperBound[kLimRelease], 0, kReleaseDivisions,
                            kLimiterThumb) &&
        ampGainSpin.Create(this, kAmpGainSpinId) && impedanceSpin.Create(this, kImpedanceSpinId) &&
        thresholdField.Create(none, this, kThresholdFieldId, kValueColour, true, kThresholdChars) &&
        attackField.Create(none, this, kAttackFieldId, kValueColour, true, kAttackChars) &&
        releaseField.Create(none, this, kReleaseFieldId, kValueColour, true, kReleaseChars) &&
        ampGainField.Create(none, this, kAmpGainFieldId, kValueColour, true, kAmpGainChars) &&
        impedanceField.Create(none, this, kImpedanceFieldId, kValueColour, true, kImpedanceChars) &&
        powerField.Create(none, this, kPowerFieldId, kValueColour, false, 0);
    if (!created) {
        return false;
    }
    ampGainSpin.SetRange(0, kParamUpperBound[kAmpGain]);
    impedanceSpin.SetRange(0, kParamUpperBound[kSpeakerImpedance]);
    return true;
}

// ---- Layout ----

void CWndSignal::OnSize(UINT, int, int) {
    if (document) {
        LayOut();
    }
}

void CWndSignal::LayOut() {
    const CSize size = pages::WindowSize(*this);
    if (size.cx <= 0 || size.cy <= 0) {
        return; // not placed yet
    }
    const int faderBottom = size.cy - kFrameHeightLess - kFaderBottomInset;
    LayOutDelay(faderBottom);
    LayOutSources(faderBottom);
    LayOutFilters(faderBottom);
    LayOutLimiter(size.cx - kFrameWidthLess - 5, faderBottom);
    Refresh();
}

void CWndSignal::LayOutDelay(int faderBottom) {
    delaySamplesField.MoveWindow(CRect(10, 25, 90, 40));
    delayMsField.MoveWindow(CRect(10, 45, 90, 60));
    delayMetresField.MoveWindow(CRect(10, 65, 90, 80));
    delayFeetField.MoveWindow(CRect(10, 85, 90, 100));
    temperatureField.MoveWindow(CRect(10, 120, 90, 135));
    temperatureSpin.MoveWindow(CRect(10, 135, 90, 145));
    delayCoarseFader.MoveWindow(CRect(95, 10, 123, faderBottom));
    delayFineFader.MoveWindow(CRect(123, 10, 151, faderBottom));
}

void CWndSignal::LayOutSources(int faderBottom) {
    const int inputs = document->GetInputCount();
    const bool mixing = document->ModelFamily() == kFamilyNqve;
    for (int i = 0; i < kMaxInputs; ++i) {
        const bool placed = i < inputs;
        const int x = kSourcePitch * i;
        sourceFields[i].MoveWindow(placed ? CRect(x + 165, 25, x + 205, 40) : CRect());
        sourceButtons[i].MoveWindow(placed ? CRect(x + 171, 45, x + 199, 60) : CRect());
        // Only the mixing models have source levels; the others switch sources on and off.
        sourceFaders[i].MoveWindow(placed && mixing ? CRect(x + 171, 65, x + 199, faderBottom) : CRect());
    }
}

void CWndSignal::LayOutFilters(int faderBottom) {
    for (int x = 0; x < kXoverFilterCount; ++x) {
        const int b = sourceSectionEnd + kFilterPitch * x;
        xoverFreqFields[x].MoveWindow(CRect(b + 5, 25, b + 61, 40));
        xoverCoarseFaders[x].MoveWindow(CRect(b + 5, 45, b + 33, faderBottom));
        xoverFineFaders[x].MoveWindow(CRect(b + 33, 45, b + 61, faderBottom));
        for (int k = 0; k < kTypeButtonCount; ++k) {
            xoverTypeButtons[x][k].MoveWindow(CRect(b + 66, 14 * k + 10, b + 104, 14 * k + 24));
        }
        xoverSlopeFields[x].MoveWindow(CRect(b + 66, 85, b + 104, 100));
        xoverSlopeFaders[x].MoveWindow(CRect(b + 71, 106, b + 99, faderBottom));
    }
}

void CWndSignal::LayOutLimiter(int rightEdge, int faderBottom) {
    const int s = sourceSectionEnd;
    thresholdField.MoveWindow(CRect(s + 224, 25, s + 284, 40));
    attackField.MoveWindow(CRect(s + 284, 25, s + 324, 40));
    releaseField.MoveWindow(CRect(s + 324, 25, s + 398, 40));
    thresholdFader.MoveWindow(CRect(s + 240, 45, s + 268, faderBottom));
    attackFader.MoveWindow(CRect(s + 290, 45, s + 318, faderBottom));
    releaseFader.MoveWindow(CRect(s + 347, 45, s + 375, faderBottom));
    // On an input's narrow page the power column lies outside the window.
    const int right = std::max(rightEdge, s + 404);
    powerField.MoveWindow(CRect(s + 404, 25, right, 40));
    ampGainField.MoveWindow(CRect(s + 404, 70, right, 85));
    ampGainSpin.MoveWindow(CRect(s + 404, 85, right, 95));
    impedanceField.MoveWindow(CRect(s + 404, 120, right, 135));
    impedanceSpin.MoveWindow(CRect(s + 404, 135, right, 145));
}

// ---- Refresh ----

void CWndSignal::Refresh() {
    if (!GetSafeHwnd() || !document) {
        return;
    }
    const bool deviceChanged = sourceSectionEnd != pages::SourceSectionEnd(document->GetInputCount()) ||
                               delayCoarseFader.MaxValue() != document->MaxParamValue(kDelay) / 100 ||
                               sourceFaders[0].MaxValue() != document->MaxParamValue(kMixLevel);
    if (deviceChanged) {
        SetChannel(channel); // lays the page out for the device as it is now, and refreshes
        return;
    }
    bool changed = RefreshDelay();
    if (IsOutput()) {
        changed |= RefreshSources();
        changed |= RefreshFilters();
        changed |= RefreshLimiter();
    }
    if (changed) {
        SetFocus();
    }
}

bool CWndSignal::RefreshDelay() {
    const int t = Temperature();
    temperatureField.text = Format("%u C (%.0f F)", AsUnsigned(t), t * 9.0 / 5 + 32);
    const int d = document->GetParam(kDelay, channel, 0);
    delaySamplesField.text = document->FormatParam(kDelay, channel, 0) + " " + std::string(kUnitSamples);
    delayMsField.text = Format("%.3f ", DelayMs(d)) + std::string(kUnitMs);
    delayMetresField.text = Format("%.3f ", DelayMetres(d, t)) + std::string(kUnitMetres);
    delayFeetField.text = Format("%.3f ", DelayFeet(d, t)) + std::string(kUnitFeet);
    delayCoarseFader.value = d / 100;
    delayFineFader.value = d % 100;
    const bool changed = delaySamplesField.HasChanged() | delayMsField.HasChanged() |
                         delayMetresField.HasChanged() | delayFeetField.HasChanged() |
                         delayCoarseFader.HasChanged() | delayFineFader.HasChanged() |
                         temperatureField.HasChanged() | temperatureSpin.HasChanged();
    if (changed) {
        for (CWnd* control : std::initializer_list<CWnd*>{
                 &delayCoarseFader, &delayFineFader, &delaySamplesField, &delayMsField, &delayMetresField,
                 &delayFeetField, &temperatureField}) {
            control->Invalidate(false);
        }
    }
    return changed;
}

bool CWndSignal::RefreshSources() {
    bool changed = false;
    for (int i = 0; i < document->GetInputCount(); ++i) {
        const int level = document->GetParam(kMixLevel, channel, i);
        sourceButtons[i].lit = level != 0;
        sourceFields[i].text = document->FormatParam(kMixLevel, channel, i);
        sourceFaders[i].value = level;
        if (sourceButtons[i].HasChanged() | sourceFields[i].HasChanged() | sourceFaders[i].HasChanged()) {
            sourceButtons[i].Invalidate(false);
            sourceFields[i].Invalidate(false);
            sourceFaders[i].Invalidate(false);
            changed = true;
        }
    }
    return changed;
}

bool CWndSignal::RefreshFilters() {
    bool changed = false;
    for (int x = 0; x < kXoverFilterCount; ++x) {
        const int hz = FrequencyHz(document->GetParam(kXoverFreq, channel, x));
        xoverCoarseFaders[x].value = hz / 100;
        xoverFineFaders[x].value = hz % 100;
        xoverFreqFields[x].text = document->FormatParam(kXoverFreq, channel, x) + std::string(kUnitHz);
        xoverSlopeFaders[x].value = document->GetParam(kXoverSlope, channel, x);
        xoverSlopeFields[x].text = document->FormatParam(kXoverSlope, channel, x) + std::string(kUnitDb);
        if (xoverCoarseFaders[x].HasChanged() | xoverFineFaders[x].HasChanged() |
            xoverFreqFields[x].HasChanged() | xoverSlopeFaders[x].HasChanged() |
            xoverSlopeFields[x].HasChanged()) {
            for (CWnd* control :
                 std::initializer_list<CWnd*>{&xoverCoarseFaders[x], &xoverFineFaders[x], &xoverFreqFields[x],
                                              &xoverSlopeFaders[x], &xoverSlopeFields[x]}) {
                control->Invalidate(false);
            }
            changed = true;
        }
        const int type = document->GetParam(kXoverType, channel, x);
        for (int k = 0; k < kTypeButtonCount; ++k) {
            CModButton& button = xoverTypeButtons[x][k];
            button.lit = k == type;
            if (button.HasChanged()) {
                button.Invalidate(false);
                changed = true;
            }
        }
    }
    return changed;
}

bool CWndSignal::RefreshLimiter() {
    bool changed = false;
    const int threshold = document->GetParam(kLimThreshold, channel, 0);
    const int ampGain = document->GetParam(kAmpGain, channel, 0);
    const int impedance = document->GetParam(kSpeakerImpedance, channel, 0);
    thresholdField.text = document->FormatParam(kLimThreshold, channel, 0) + std::string(kUnitDbu);
    thresholdFader.value = threshold;
    ampGainField.text = document->FormatParam(kAmpGain, channel, 0);
    impedanceField.text = document->FormatParam(kSpeakerImpedance, channel, 0);
    // The spins step from the value shown, whichever channel it belongs to.
    ampGainSpin.SetPos(ampGain);
    ampGainSpin.value = ampGain;
    impedanceSpin.SetPos(impedance);
    impedanceSpin.value = impedance;
    if (thresholdField.HasChanged() | thresholdFader.HasChanged() | ampGainField.HasChanged() |
        impedanceField.HasChanged()) {
        const double watts = CalculatedPower(threshold, ampGain, impedance);
        powerField.text = Format("%u ", AsUnsigned(SaturatingTrunc(watts))) + std::string(kUnitWatts);
        for (CWnd* control : std::initializer_list<CWnd*>{&thresholdField, &thresholdFader, &ampGainField,
                                                          &impedanceField, &powerField}) {
            control->Invalidate(false);
        }
        changed = true;
    }

    const int attack = document->GetParam(kLimAttack, channel, 0);
    attackField.text = document->FormatParam(kLimAttack, channel, 0) + std::string(kUnitMs);
    attackFader.value = attack;
    if (attackField.HasChanged() | attackFader.HasChanged()) {
        attackField.Invalidate(false);
        attackFader.Invalidate(false);
        releaseField.Invalidate(false);
        changed = true;
    }

    const int release = document->GetParam(kLimRelease, channel, 0);
    releaseField.text = pages::ReleaseTimeText(attack, release);
    releaseFader.value = release;
    if (releaseField.HasChanged() | releaseFader.HasChanged()) {
        releaseField.Invalidate(false);
        releaseFader.Invalidate(false);
        changed = true;
    }
    return changed;
}

// ---- Edits ----

void CWndSignal::SetParam(int kind, int value, int index) { document->SetParam(kind, value, channel, index); }

void CWndSignal::PressButton(UINT id) {
    const EditGesture click(*document);
    const IdRange sources = InputIds(kSourceButtonId);
    const IdRange types{kTypeButtonId, kTypeButtonCount * kXoverFilterCount};
    if (sources.Contains(id)) {
        const int i = sources.Offset(id);
        const bool on = document->GetParam(kMixLevel, channel, i) != 0;
        SetParam(kMixLevel, on ? 0 : document->MaxParamValue(kMixLevel), i);
        Refresh();
    } else if (types.Contains(id)) {
        const int offset = types.Offset(id);
        SetParam(kXoverType, offset % kTypeButtonCount, offset / kTypeButtonCount);
        Refresh();
    }
}

void CWndSignal::ApplyValue(UINT id) {
    const IdRange sources = InputIds(kSourceFaderId);
    const IdRange coarse{kXoverCoarseId, kXoverFilterCount};
    const IdRange fine{kXoverFineId, kXoverFilterCount};
    const IdRange slopes{kXoverSlopeFaderId, kXoverFilterCount};
    if (id == kDelayCoarseId || id == kDelayFineId) {
        SetParam(kDelay, delayCoarseFader.value * 100 + delayFineFader.value);
    } else if (sources.Contains(id)) {
        const int i = sources.Offset(id);
        SetParam(kMixLevel, sourceFaders[i].value, i);
    } else if (coarse.Contains(id) || fine.Contains(id)) {
        const int x = coarse.Contains(id) ? coarse.Offset(id) : fine.Offset(id);
        SetParam(kXoverFreq, xoverCoarseFaders[x].value * 100 + xoverFineFaders[x].value - kFrequencyOffsetHz,
                 x);
    } else if (slopes.Contains(id)) {
        const int x = slopes.Offset(id);
        SetParam(kXoverSlope, xoverSlopeFaders[x].value, x);
    } else if (id == kThresholdFaderId) {
        SetParam(kLimThreshold, thresholdFader.value);
    } else if (id == kAttackFaderId) {
        SetParam(kLimAttack, attackFader.value);
    } else if (id == kReleaseFaderId) {
        SetParam(kLimRelease, releaseFader.value);
    } else if (id == kAmpGainSpinId) {
        ampGainSpin.value = ampGainSpin.GetPos() & 0xFF;
        SetParam(kAmpGain, ampGainSpin.value);
    } else if (id == kImpedanceSpinId) {
        impedanceSpin.value = impedanceSpin.GetPos() & 0xFF;
        SetParam(kSpeakerImpedance, impedanceSpin.value);
    }
    // The temperature spin only changes the distances shown.
}

void CWndSignal::TextEntered(UINT id) {
    const EditGesture typed(*document);
    const double t = Temperature();
    switch (id) {
    case kDelaySamplesId:
        SetParamFromField(*document, kDelay, {delaySamplesField.text, kUnitSamples}, channel);
        break;
    case kDelayMsId:
        SetParamFromField(*document, kDelay, {delayMsField.text, kUnitMs}, channel);
        break;
    case kDelayMetresId:
        SetParamFromField(*document, kDelay, {delayMetresField.text, kUnitMetres, t}, channel);
        break;
    case kDelayFeetId:
        SetParamFromField(*document, kDelay, {delayFeetField.text, kUnitFeet, t}, channel);
        break;
    case kTemperatureFieldId: {
        const int celsius = TemperatureFromTyped(CTonraDoc::ParseDecimal(temperatureField.text));
        temperatureSpin.SetPos(celsius);
        temperatureSpin.value = celsius;
        break;
    }
    default:
        TextEnteredOnOutput(id);
        break;
    }
}

void CWndSignal::TextEnteredOnOutput(UINT id) {
    const auto set = [this](int kind, const CModText& field, int index = 0) {
        SetParamFromField(*document, kind, {field.text}, channel, index);
    };
    const IdRange sources = InputIds(kSourceFieldId);
    const IdRange frequencies{kXoverFreqFieldId, kXoverFilterCount};
    const IdRange slopes{kXoverSlopeFieldId, kXoverFilterCount};
    if (sources.Contains(id)) {
        const int i = sources.Offset(id);
        set(kMixLevel, sourceFields[i], i);
    } else if (frequencies.Contains(id)) {
        const int x = frequencies.Offset(id);
        set(kXoverFreq, xoverFreqFields[x], x);
    } else if (slopes.Contains(id)) {
        const int x = slopes.Offset(id);
        set(kXoverSlope, xoverSlopeFields[x], x);
    } else if (id == kThresholdFieldId) {
        set(kLimThreshold, thresholdField);
    } else if (id == kAttackFieldId) {
        set(kLimAttack, attackField);
    } else if (id == kReleaseFieldId) {
        set(kLimRelease, releaseField);
    } else if (id == kAmpGainFieldId) {
        set(kAmpGain, ampGainField);
        ampGainSpin.SetPos(document->GetParam(kAmpGain, channel, 0));
    } else if (id == kImpedanceFieldId) {
        set(kSpeakerImpedance, impedanceField);
        impedanceSpin.SetPos(document->GetParam(kSpeakerImpedance, channel, 0));
    }
}

void CWndSignal::StopControls() {
    for (CModFader* fader :
         {&delayCoarseFader, &delayFineFader, &thresholdFader, &attackFader, &releaseFader}) {
        fader->SendMessage(UM_END_TRACKING);
    }
    for (int i = 0; i < document->GetInputCount() && i < kMaxInputs; ++i) {
        sourceFaders[i].SendMessage(UM_END_TRACKING);
    }
    for (int x = 0; x < kXoverFilterCount; ++x) {
        for (CModFader* fader : {&xoverCoarseFaders[x], &xoverFineFaders[x], &xoverSlopeFaders[x]}) {
            fader->SendMessage(UM_END_TRACKING);
        }
    }
}

// ---- Painting ----

void CWndSignal::OnPaint() {
    CPaintDC dc(this);
    const CSize size = pages::WindowSize(*this);
    const int w = size.cx - kFrameWidthLess;
    const int h = size.cy - kFrameHeightLess;
    CPen pen(PS_SOLID, 1, kInk);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(0, 0, size.cx, size.cy);
    dc.SelectObject(&pen);
    dc.SetTextColor(kInk);
    controls::DrawSunkenFrame(dc, CRect(5, 5, w, h));
    controls::DrawRaisedFrame(dc, CRect(6, 6, kDelayPanelRight, h - 1));
    Label(dc, "Delay", CRect(6, 10, 95, 25));
    Label(dc, "Temp", CRect(6, 105, 95, 120));
    if (document && IsOutput()) {
        PaintOutputSections(dc, w, h);
    }
    dc.SelectObject(static_cast<const CPen*>(nullptr));
}

void CWndSignal::Label(CDC& dc, const std::string& text, const CRect& rect) {
    pages::DrawLabel(dc, text, rect);
}

void CWndSignal::PaintOutputSections(CDC& dc, int w, int h) {
    const int s = sourceSectionEnd;
    const int sourcesRight = document->GetInputCount() * kSourcePitch + kSourcesLeft;
    controls::DrawRaisedFrame(dc, CRect(kDelayPanelRight, 6, s, h - 1));
    controls::DrawSunkenFrame(dc, CRect(kSourcesLeft, 15, sourcesRight, 17));
    Label(dc, " Input Sources ", CRect(kDelayPanelRight, 10, sourcesRight + 5, 25));

    controls::DrawRaisedFrame(dc, CRect(s, 6, s + 220, h - 1));
    // The slopes of the high-pass and the low-pass filter above their controls.
    dc.MoveTo(s + 40, 10);
    dc.LineTo(s + 30, 10);
    dc.LineTo(s + 20, 20);
    dc.MoveTo(s + 130, 10);
    dc.LineTo(s + 140, 10);
    dc.LineTo(s + 150, 20);

    controls::DrawRaisedFrame(dc, CRect(s + 220, 6, w - 1, h - 1));
    Label(dc, "Threshold", CRect(s + 229, 10, s + 279, 25));
    Label(dc, "Attack", CRect(s + 279, 10, s + 329, 25));
    Label(dc, "Release", CRect(s + 336, 10, s + 386, 25));
    Label(dc, "Calculated Power", CRect(s + 404, 10, w - 5, 25));
    Label(dc, "Amplifier Gain", CRect(s + 404, 55, w - 5, 70));
    Label(dc, "Speaker Impedance", CRect(s + 404, 105, w - 5, 120));
}
