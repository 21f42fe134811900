// CWndEQ: the popup in which the operator edits the six equaliser bands of one channel of the
// current device: type, gain, frequency, width (shown as Q or in octaves) and whether the band
// is on. The device panel owns it and opens, switches and closes it; the editor reads and
// writes only the document.
#pragma once

#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModText.h"
#include "framework/Wnd.h"
#include "model/ModelTypes.h"

#include <array>

class CTonraDoc;

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

class CWndEQ : public CWnd {
public:
    // The window rectangle, caption and border included.
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 185;

    CWndEQ();
    ~CWndEQ() override;

    // Creates the window owned by `parent` with its top-left corner at screen (1, y) and shows
    // `channel`. The device panel passes its height minus 256 as y.
    bool OpenForChannel(int y, CWnd* parent, CTonraDoc* document, int channel);
    // Shows another channel: title, position and size; hidden for an output while the device's
    // factory EQ is set.
    void SetChannel(int channel);
    // Pulls the document into the controls; repaints only what changed.
    void Refresh();

    int Channel() const { return channel; }
    CPoint PopupPos() const { return popupPos; }

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMove(int x, int y) override;
    void OnClose() override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    using Buttons = std::array<CModButton, model::kBandCount>;
    using Faders = std::array<CModFader, model::kBandCount>;
    using Fields = std::array<CModText, model::kBandCount>;

    bool CreateBandControls(int b);
    void LayOut();
    bool RefreshBand(int b);
    void PressButton(UINT id);
    void FaderChanged(UINT id);
    void TextEntered(UINT id);
    bool BandOn(int b) const;
    int CurrentDevice() const;
    // Every control of every band, for the messages that go to all of them.
    template <typename Fn> void ForEachControl(Fn fn);

    CWnd* parent = nullptr;
    CTonraDoc* document = nullptr;
    CPoint popupPos;
    int bandLeft = 0;
    int buttonColumn = 0;
    int bandWidthPx = 0;
    std::array<int, 4> faderColumns{};
    int channel = 0;
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
