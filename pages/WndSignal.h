// CWndSignal: the popup in which the operator edits the signal settings of one channel of the
// current device: the delay in samples, milliseconds, metres and feet at the page's air
// temperature, and for an output the input sources, the high-pass and low-pass crossover
// filters, the limiter and the power the limiter lets through the amplifier. The device panel
// owns it and opens, switches and closes it; the page reads and writes only the document.
#pragma once

#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModSpin.h"
#include "controls/ModText.h"
#include "model/ModelTypes.h"
#include "pages/WndChannelPopup.h"

#include <array>
#include <string>

namespace pages {

// Width of the signal page (frame included): the delay section alone for an input, every
// section for an output of a device with `inputCount` inputs.
int SignalPageWidth(bool output, int inputCount);
// Where the crossover, limiter and power sections start: after the input sources.
int SourceSectionEnd(int inputCount);
// "4X (3.6ms)": the release multiple and the release time it gives at the attack index.
std::string ReleaseTimeText(int attack, int release);

} // namespace pages

class CWndSignal : public CWndChannelPopup {
public:
    static constexpr int kHeight = 185;
    static constexpr int kInitialTemperature = 25;

    CWndSignal();
    ~CWndSignal() override;

    // Title, position and the size of an input or an output page.
    void SetChannel(int channel) override;
    void Refresh() override;

    // The air temperature in degrees Celsius that the distances are shown at.
    int Temperature() const;

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void PressButton(UINT id) override;
    void ApplyValue(UINT id) override;
    void TextEntered(UINT id) override;
    void StopControls() override;

private:
    template <typename T> using PerInput = std::array<T, model::kMaxInputs>;
    template <typename T> using PerFilter = std::array<T, model::kXoverFilterCount>;
    static constexpr int kTypeButtonCount = 4; // the fifth type, "FIR", has no button

    bool IsOutput() const;
    // The ids of one control per input of the device, from `first`.
    IdRange InputIds(UINT first) const;
    bool CreateDelayControls();
    bool CreateSourceControls();
    bool CreateFilterControls();
    bool CreateLimiterControls();
    void LayOut();
    void LayOutDelay(int faderBottom);
    void LayOutSources(int faderBottom);
    void LayOutFilters(int faderBottom);
    void LayOutLimiter(int rightEdge, int faderBottom);
    // The fader ranges that depend on the device's model follow the device shown.
    void FollowDeviceRanges();
    bool RefreshDelay();
    bool RefreshSources();
    bool RefreshFilters();
    bool RefreshLimiter();
    void TextEnteredOnOutput(UINT id);
    void SetParam(int kind, int value, int index = 0);
    void PaintOutputSections(CDC& dc, int width, int height);
    static void Label(CDC& dc, const std::string& text, const CRect& rect);

    int sourceSectionEnd = 0;

    CModText delaySamplesField;
    CModText delayMsField;
    CModText delayMetresField;
    CModText delayFeetField;
    CModSpin temperatureSpin;
    CModText temperatureField;
    CModFader delayCoarseFader;
    CModFader delayFineFader;
    PerInput<CModButton> sourceButtons;
    PerInput<CModText> sourceFields;
    PerInput<CModFader> sourceFaders;
    PerFilter<CModFader> xoverCoarseFaders;
    PerFilter<CModFader> xoverFineFaders;
    PerFilter<CModFader> xoverSlopeFaders;
    PerFilter<std::array<CModButton, kTypeButtonCount>> xoverTypeButtons;
    PerFilter<CModText> xoverFreqFields;
    PerFilter<CModText> xoverSlopeFields;
    CModFader thresholdFader;
    CModFader attackFader;
    CModFader releaseFader;
    CModSpin ampGainSpin;
    CModSpin impedanceSpin;
    CModText thresholdField;
    CModText attackField;
    CModText releaseField;
    CModText ampGainField;
    CModText impedanceField;
    CModText powerField;
};
