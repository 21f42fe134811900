// CWndDevice: the device panel, the page an operator works on during a show. It shows the
// document's current device as a row of channel strips, inputs first, then a gap, then the
// outputs, with the frequency response plot above them. Each strip holds the channel's name,
// gain, fader, meter, Mute and polarity, the doors to the EQ editor and the signal page, and
// four link-group buttons. The panel reads and writes only the document; the link engine sends
// whatever differs from the device's shadow.
#pragma once

#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModMeter.h"
#include "controls/ModText.h"
#include "model/ModelTypes.h"
#include "pages/PageWnd.h"
#include "pages/WndEQ.h"
#include "pages/WndPlot.h"
#include "pages/WndSheet.h"
#include "pages/WndSignal.h"

#include <array>

class CTonraDoc;

namespace pages {

constexpr int kLinkButtonCount = 4;

// The rectangles of one strip's controls; all empty for a slot beyond the channel count.
struct StripRects {
    CRect nameField;
    CRect gainFader;
    CRect gainField;
    CRect levelMeter;
    CRect muteButton;
    CRect polarityButton;
    CRect eqButton;
    CRect signalButton;
    std::array<CRect, kLinkButtonCount> linkButtons{};
};

// Where everything of a panel `width` x `height` goes for a device with `inputCount` inputs
// and `channelCount` channels in all.
struct PanelLayout {
    int inputCount = 0; // the counts it was made for
    int channelCount = 0;
    CRect plotArea;
    CRect stripArea;
    CRect plotWindow;
    int stripWidth = 0; // cw
    int groupGap = 0;
    int stripLeft = 0;
    std::array<int, model::kSlotCount> stripLeftEdges{}; // L of each strip; 0 beyond the count
    std::array<StripRects, model::kSlotCount> strips{};
};
PanelLayout ComputePanelLayout(int width, int height, int inputCount, int channelCount);

} // namespace pages

class CWndDevice : public CPageWnd {
public:
    // Control ids: the base plus the strip (link buttons: the base plus 4 x strip + button).
    static constexpr UINT kMuteIdBase = 400;
    static constexpr UINT kPolarityIdBase = 500;
    static constexpr UINT kEqIdBase = 600;
    static constexpr UINT kSignalIdBase = 700;
    static constexpr UINT kLinkIdBase = 800;
    static constexpr UINT kMeterIdBase = 900;
    static constexpr UINT kFaderIdBase = 1000;
    static constexpr UINT kGainFieldIdBase = 1100;
    static constexpr UINT kNameFieldIdBase = 1200;

    // The controls of one channel strip.
    struct Strip {
        CModText nameField;
        CModFader gainFader;
        CModText gainField;
        CModMeter levelMeter;
        CModButton muteButton;
        CModButton polarityButton;
        CModButton eqButton;
        CModButton signalButton;
        std::array<CModButton, pages::kLinkButtonCount> linkButtons;
    };

    CWndDevice();
    ~CWndDevice() override;

    // A visible child window of `parent` at `rect`, with all 16 strips and the plot.
    bool Create(const CRect& rect, CWnd* parent, CTonraDoc* document);
    // Copies the document into every strip, the plot's curves, the open popups and the data
    // sheet; marks the document modified and takes the keyboard focus when something shown in
    // the strips changed. Whoever changes the document calls it.
    void Refresh();
    // Copies the meter levels of the current device; repaints only meters that changed.
    void UpdateMeters();
    // Every EQ and Signal button dark and the plot's markers cleared, for a newly selected
    // device. Nothing is repainted.
    void ResetPopupButtons();

    const Strip& GetStrip(int slot) const { return strips[slot]; }
    const pages::PanelLayout& Layout() const { return layout; }
    // The panel's own windows: the view recomputes the plot's curves and resizes it, creates
    // the data sheet, and closes the popups when it returns to the home page.
    CWndPlot& GetPlot() { return plot; }
    CWndEQ& GetEqEditor() { return eqEditor; }
    CWndSignal& GetSignalPage() { return signalPage; }
    CWndSheet& GetDataSheet() { return dataSheet; }

protected:
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    // The closing of the EQ editor and the signal page; the control reports go to the hooks.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The hover goes on to the view, which darkens its hover-lit buttons.
    void ControlHovered(UINT id) override;
    void PressButton(UINT id) override;
    // Every strip's fader value that differs from the document is written.
    void ValueChanged(UINT id) override;
    void TextEntered(UINT id) override;
    // Refreshes, then ends the drags of the plot and the open popups.
    void EndTracking(UINT id) override;
    // Refreshes the strips and the plot's curves.
    void RefreshRequested() override { Refresh(); }

private:
    bool CreateStrip(int slot);
    bool CreateLinkButtons();
    void LayOut(int width, int height);
    void PaintGroupScale(CDC& dc, int x, int top, bool outputs);
    void PaintStripFrames(CDC& dc);
    bool RefreshStrip(int c);
    void ToggleParam(int kind, int c);
    void PressLinkButton(int c, int k);
    void PressEqButton(int c);
    void PressSignalButton(int c);
    template <typename Popup>
    void PressPopupButton(Popup& popup, CModButton Strip::*button, bool& markersShown, int& markerChannel,
                          int c);
    void PopupClosed(CModButton Strip::*button, bool& markersShown);
    // Every button of one kind dark (EQ or Signal), repainted.
    void DarkenAll(CModButton Strip::*button);
    int ChannelCount() const;
    int InputCount() const;

    CTonraDoc* document = nullptr;
    pages::PanelLayout layout;
    CWndPlot plot;
    CWndEQ eqEditor;
    CWndSignal signalPage;
    CWndSheet dataSheet;
    std::array<Strip, model::kSlotCount> strips;
};
