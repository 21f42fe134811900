// CWndPlot: the frequency response plot of the device panel. It draws the magnitude response
// of every output of the current device from 20 Hz to 20 kHz and +20 dB to -40 dB as coloured
// curves on a black grid, with toggle buttons above it for the outputs shown and the stages
// summed (In-Gain, In-EQ, Out-Gain, Out-EQ, Out-XOver). While the EQ editor or the signal page
// of a channel is open, the plot also shows that channel's EQ bands or crossover filters as
// markers the operator drags to change frequency, gain, width and slope.
//
// The plot writes the document only by drags, and asks the parent to refresh the pages after
// each drag step (UM_REFRESH); its buttons change the plot switches of the document. Loading
// and clearing a measurement it asks of the view (UM_MEASUREMENT). Presses and releases go on
// to the parent, which ends every drag with UM_END_TRACKING.
#pragma once

#include "controls/ModButton.h"
#include "framework/GdiObjects.h"
#include "pages/FilterResponse.h"
#include "pages/PageWnd.h"
#include "pages/PlotGeometry.h"
#include "pages/PlotMeasurements.h"

#include <array>
#include <vector>

class CDC;
class CTonraDoc;

class CWndPlot : public CPageWnd {
public:
    // Control ids of the buttons: output o is kOutputButtonId + o, group g is
    // kGroupButtonId + 100 g.
    static constexpr UINT kOutputButtonId = 5300;
    static constexpr UINT kGroupButtonId = 5400;
    static constexpr UINT kGroupButtonStep = 100;

    // Creates the plot as a visible child of `parent` (id 0) at (0, 0, 500, 500); the parent
    // moves it into place. Reports go to `parent`.
    bool Create(CWnd* parent, CTonraDoc* document);
    // Recomputes the curves of every channel (-1) or of the channels linked to one channel
    // number; the plot repaints at its next timer tick.
    void ComputeCurves(int channelFilter);
    // Recomputes every curve when the document no longer holds what they were computed from;
    // the device panel calls it with every refresh, whatever changed the document.
    void RefreshCurves();
    // Brings the prediction of `output` up to date after its measurement was loaded or cleared,
    // and repaints the curves.
    void MeasurementChanged(int output);
    // Hides both kinds of markers and ends every selection and drag.
    void ResetMarkers();

    // Set by the device panel while the EQ editor (signal page) of a channel is open.
    bool eqMarkersShown = false;
    int eqMarkerChannel = 0;
    bool xoMarkersShown = false;
    int xoMarkerChannel = 0;

    const pages::PlotGeometry& Geometry() const { return geometry; }
    const pages::CFilterResponse& Response() const { return response; }
    const pages::CPlotMeasurements& Measurements() const { return measurements; }
    // The centre of band marker b and crossover marker X, as last painted.
    CPoint BandMarker(int band) const { return bandMarkers[static_cast<std::size_t>(band)]; }
    CPoint XoverMarker(int filter) const { return xoverMarkers[static_cast<std::size_t>(filter)]; }
    bool IsDragging() const { return eqFreqDrag || eqWidthDrag || xoFreqDrag || xoSlopeDrag; }
    bool IsBandSelected() const { return bandSelected; }
    bool IsXoverSelected() const { return xoverSelected; }

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    // A press of an output or group button toggles it.
    void PressButton(UINT id) override;
    // Ends every drag; the selections stay, so their handles stay visible.
    void EndTracking(UINT id) override;
    // The menu that loads and clears the measurement of one output: the output whose button
    // was clicked, or on the grid the shown output whose curve lies nearest the pointer. The
    // command chosen goes to the parent as UM_MEASUREMENT (wParam the command, lParam the output).
    void OnContextMenu(CWnd* window, CPoint screenPoint) override;

private:
    void LayOutButtons();
    void UpdateButtons();
    bool GroupShown(int group) const;
    pages::CurveGroups ShownGroups() const;
    int OutputAt(CWnd* window, CPoint screenPoint);
    bool XoverMarkersVisible() const;
    int BandHalfWidth(int band) const;
    int HandleHalfWidth(int band) const;
    int SlopeHalfWidth(int filter) const;

    void PaintFrameAndGrid(CDC& dc);
    void PaintLabels(CDC& dc);
    void PaintCurves(CDC& dc);
    void PaintBandMarkers(CDC& dc);
    void PaintXoverMarkers(CDC& dc);
    void PaintHandles(CDC& dc, CPoint centre, int halfWidth);

    void HitBandMarkers(CPoint point);
    void HitXoverMarkers(CPoint point);
    void DragBand(CPoint point);
    void DragXover(CPoint point);
    void DragStepDone(int channel);
    static int SlopeAtDistance(int distance);

    CTonraDoc* document = nullptr;
    std::array<CModButton, model::kMaxOutputs> outputButtons;
    std::array<CModButton, model::kPlotCurveGroupCount> groupButtons;
    CFont font;
    std::array<CPen, model::kMaxOutputs> curvePens;
    std::array<CPen, model::kMaxOutputs> predictionPens; // dashed
    CPen gridPen;
    CPen markerPen;

    pages::PlotGeometry geometry;
    pages::CFilterResponse response;
    std::vector<double> outputLevels; // one output's sum, sized with the grid
    pages::CPlotMeasurements measurements;

    std::array<CPoint, model::kBandCount> bandMarkers{};
    bool bandSelected = false;
    bool eqFreqDrag = false;
    bool eqWidthDrag = false;
    int selectedBand = 0;

    std::array<CPoint, model::kXoverFilterCount> xoverMarkers{};
    bool xoverSelected = false;
    bool xoFreqDrag = false;
    bool xoSlopeDrag = false;
    int selectedFilter = 0;
};
