// CWndEQ: the popup in which the operator edits the six equaliser bands of one channel of the
// current device: type, gain, frequency, width (shown as Q or in octaves) and whether the band
// is on. The device panel owns it and opens, switches and closes it; the editor reads and
// writes only the document.
#pragma once

#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModText.h"
#include "model/ModelTypes.h"
#include "pages/WndChannelPopup.h"

#include <array>

namespace pages {

// Where the bands and their controls sit in an editor `windowWidth` pixels wide (frame included).
struct EqLayout {
    int bandWidthPx = 0;
    int bandLeft = 0;
    int buttonColumn = 0;
    std::array<int, 4> faderColumns{}; // gain, coarse frequency, fine frequency, width
};
EqLayout ComputeEqLayout(int windowWidth);

} // namespace pages

class CWndEQ : public CWndChannelPopup {
public:
    // The window rectangle, caption and border included.
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 185;
    // The commands of the context menu: filters in, and out for REW or Equalizer APO.
    enum FilterCommand : UINT { kImportFilters = 1, kExportFilters, kExportApoFilters };

    CWndEQ();
    ~CWndEQ() override;

    // Title, position and size; hidden for an output while the device's factory EQ is set.
    void SetChannel(int channel) override;
    void Refresh() override;

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void PressButton(UINT id) override;
    void ApplyValue(UINT id) override;
    void TextEntered(UINT id) override;
    // The display follows a button press at its release.
    void ControlReleased(UINT) override { Refresh(); }
    void StopControls() override;
    // The filter commands: import and export of REW and Equalizer APO filter text.
    void OnContextMenu(CWnd* window, CPoint screenPoint) override;

private:
    using Buttons = std::array<CModButton, model::kBandCount>;
    using Faders = std::array<CModFader, model::kBandCount>;
    using Fields = std::array<CModText, model::kBandCount>;

    bool CreateBandControls(int b);
    void LayOut();
    bool RefreshBand(int b);
    bool BandOn(int b) const;
    int CurrentDevice() const;

    int bandLeft = 0;
    int buttonColumn = 0;
    int bandWidthPx = 0;
    std::array<int, 4> faderColumns{};
    std::array<int, model::kBandCount> savedGain{};

    Buttons peqButtons;
    Buttons loButtons;
    Buttons hiButtons;
    Buttons widthModeButtons;
    Buttons onButtons;
    Faders eqGainFaders;
    Faders eqCoarseFaders;
    Faders eqFineFaders;
    Faders eqWidthFaders;
    Fields eqGainFields;
    Fields eqFreqFields;
    Fields eqWidthFields;
};
