#include "pages/WndPlot.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using controls::kBlack;
using controls::kGrey;
using controls::kOutputColours;
using controls::kWhite;
using pages::PlotGeometry;

namespace {

constexpr CRect kCreateRect(0, 0, 500, 500);
constexpr UINT_PTR kRepaintTimer = 0;
constexpr UINT kRepaintPeriodMs = 100;

static_assert(kOutputColours.size() == model::kMaxOutputs);

// The group buttons in the order of the document's plotCurveShown switches.
struct GroupButton {
    const char* caption;
    UINT id;
};
constexpr std::array<GroupButton, model::kPlotCurveGroupCount> kGroupButtons = {{
    {"In-Gain", 5400},
    {"In-EQ", 5500},
    {"Out-Gain", 5600},
    {"Out-EQ", 5700},
    {"Out-XOver", 5800},
}};

constexpr COLORREF kButtonBack = RGB(128, 128, 128);
constexpr COLORREF kButtonText = RGB(192, 192, 192);
constexpr COLORREF kButtonLitText = RGB(255, 255, 255);
constexpr COLORREF kGroupButtonLitBack = RGB(128, 128, 255);
constexpr ButtonLook kGroupButtonLook{.lit = true,
                                      .back = kButtonBack,
                                      .text = kButtonText,
                                      .litBack = kGroupButtonLitBack,
                                      .litText = kButtonLitText};
constexpr COLORREF kGridColour = RGB(0, 0, 192);
constexpr COLORREF kLabelColour = RGB(0, 128, 255);
constexpr COLORREF kMarkerColour = RGB(255, 255, 255);

// The two 3-D frames end this far left of the window's right edge.
constexpr int kOuterFrameInset = 12;
constexpr int kInnerFrameInset = 11;

constexpr std::array<const char*, pages::kFrequencyLabelCount> kFrequencyLabels = {"20", "200", "2k", "20k"};
constexpr int kLevelLabelStepDb = 10;

// Markers: a band's number in a 12-pixel box, a crossover's slope sign 16 pixels wide; the
// pointer hits a marker or a handle within 4 pixels; handles are 8-pixel circles with dashes
// of 2 pixels on a 4-pixel pitch between them and the marker.
constexpr int kBandMarkerHalfSize = 6;
constexpr int kXoverMarkerHalfWidth = 8;
constexpr int kXoverMarkerHalfHeight = 4;
constexpr int kHitDistance = 4;
constexpr int kHandleRadius = 4;
constexpr int kShortestHalfWidth = 10;
constexpr int kDashPitch = 4;
constexpr int kDashStart = 6;
constexpr int kDashLength = 2;

// Width drags: 199 width steps per decade of pointer travel. Slope handles: 80 pixels out at
// slope 0, 10 pixels nearer for each slope step.
constexpr int kWidthStepsPerDecade = 199;
constexpr int kPixelsPerSlopeStep = 10;
constexpr int kSlopeHandleDistance = 80;
constexpr int kMaxSlope = 7;
// A shelf marker sits at about two thirds of the shelf's gain.
constexpr double kShelfMarkerFactor = 1.5;
constexpr double kLowestEqGainDb = -30;
constexpr double kHighestEqGainDb = 15;

bool Covers(const CRect& outer, const CRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool Near(CPoint p, CPoint q) {
    return std::abs(p.x - q.x) <= kHitDistance && std::abs(p.y - q.y) <= kHitDistance;
}

} // namespace

bool CWndPlot::Create(CWnd* parent, CTonraDoc* documentIn) {
    document = documentIn;
    return parent && document && CreateChild(*parent, kCreateRect);
}

int CWndPlot::OnCreate() {
    for (int o = 0; o < model::kMaxOutputs; ++o) {
        const ButtonLook look{false, true, kButtonBack, kButtonText, kOutputColours[o], kButtonLitText};
        outputButtons[o].Create(kOutputButtonId + o, CRect(), look, Format("%d", o + 1), this);
        curvePens[o].CreatePen(PS_SOLID, 1, kOutputColours[o]);
        predictionPens[o].CreatePen(PS_DASH, 1, kOutputColours[o]);
    }
    for (std::size_t g = 0; g < kGroupButtons.size(); ++g) {
        groupButtons[g].Create(kGroupButtons[g].id, CRect(), kGroupButtonLook, kGroupButtons[g].caption,
                               this);
    }
    gridPen.CreatePen(PS_SOLID, 1, kGridColour);
    markerPen.CreatePen(PS_SOLID, 1, kMarkerColour);
    controls::CreatePageFont(font);
    SetTimer(kRepaintTimer, kRepaintPeriodMs);
    return CWnd::OnCreate();
}

void CWndPlot::ComputeCurves(int channelFilter) {
    if (document) {
        response.ComputeCurves(*document, channelFilter);
        measurements.Compute(*document, channelFilter);
        UpdateButtons();
    }
}

void CWndPlot::RefreshCurves() {
    if (document && response.IsStale(*document)) {
        ComputeCurves(-1);
    }
}

void CWndPlot::MeasurementChanged(int output) {
    if (document) {
        measurements.MeasurementChanged(*document, output);
        const CRect area = geometry.CurveArea();
        InvalidateRect(&area, true);
    }
}

void CWndPlot::ResetMarkers() {
    eqMarkersShown = xoMarkersShown = false;
    eqMarkerChannel = xoMarkerChannel = 0;
    bandSelected = eqFreqDrag = eqWidthDrag = false;
    xoverSelected = xoFreqDrag = xoSlopeDrag = false;
}

// ---- Layout ----

void CWndPlot::OnSize(UINT type, int cx, int cy) {
    // The window rectangle, not the message: a parent may send WM_SIZE to ask for a new layout.
    CRect client;
    GetClientRect(&client);
    const int oldGridWidth = geometry.gridWidth;
    geometry = PlotGeometry(client.Width(), client.Height());
    response.SetGridWidth(geometry.gridWidth);
    if (outputLevels.size() < static_cast<std::size_t>(response.PointCount())) {
        outputLevels.resize(static_cast<std::size_t>(response.PointCount()));
    }
    LayOutButtons();
    if (geometry.gridWidth != oldGridWidth) {
        ComputeCurves(-1); // the curves of the new grid's frequencies
    }
    CWnd::OnSize(type, cx, cy);
}

void CWndPlot::LayOutButtons() {
    for (int g = 0; g < model::kPlotCurveGroupCount; ++g) {
        groupButtons[g].MoveWindow(PlotGeometry::GroupButtonRect(g));
    }
    const int outputCount = document ? std::min(document->GetOutputCount(), model::kMaxOutputs) : 0;
    for (int o = 0; o < model::kMaxOutputs; ++o) {
        outputButtons[o].MoveWindow(o < outputCount ? geometry.OutputButtonRect(o, outputCount) : CRect());
    }
}

// The buttons follow the document's switches, which belong to the device shown.
void CWndPlot::UpdateButtons() {
    const int d = document->ResolveDevice(-1);
    if (d < 0) {
        return;
    }
    for (int o = 0; o < model::kMaxOutputs; ++o) {
        outputButtons[o].lit = document->plotOutputShown[d][o] != 0;
    }
    for (int g = 0; g < model::kPlotCurveGroupCount; ++g) {
        groupButtons[g].lit = document->plotCurveShown[g][d] != 0;
    }
    for (CModButton& button : outputButtons) {
        if (button.HasChanged()) {
            button.Invalidate(false);
        }
    }
    for (CModButton& button : groupButtons) {
        if (button.HasChanged()) {
            button.Invalidate(false);
        }
    }
}

// ---- Messages ----

void CWndPlot::OnTimer(UINT_PTR id) {
    if (response.curvesDirty) {
        const CRect area = geometry.CurveArea();
        InvalidateRect(&area, true);
    }
    CWnd::OnTimer(id);
}

void CWndPlot::EndTracking(UINT) {
    eqFreqDrag = eqWidthDrag = xoFreqDrag = xoSlopeDrag = false;
    ComputeCurves(-1);
}

void CWndPlot::PressButton(UINT id) {
    const int d = document ? document->ResolveDevice(-1) : -1;
    if (d < 0) {
        return;
    }
    const IdRange outputs{kOutputButtonId, std::min(document->GetOutputCount(), model::kMaxOutputs)};
    if (outputs.Contains(id)) {
        const int o = outputs.Offset(id);
        int& shown = document->plotOutputShown[d][o];
        shown = !shown;
        outputButtons[o].lit = shown != 0;
        outputButtons[o].Invalidate(false);
    }
    for (int g = 0; g < model::kPlotCurveGroupCount; ++g) {
        if (id == kGroupButtons[g].id) {
            int& shown = document->plotCurveShown[g][d];
            shown = !shown;
            groupButtons[g].lit = shown != 0;
            groupButtons[g].Invalidate(false);
        }
    }
}

bool CWndPlot::GroupShown(int group) const {
    const int d = document->ResolveDevice(-1);
    return d >= 0 && document->plotCurveShown[group][d] != 0;
}

pages::CurveGroups CWndPlot::ShownGroups() const {
    pages::CurveGroups groups{};
    for (int g = 0; g < model::kPlotCurveGroupCount; ++g) {
        groups[g] = GroupShown(g);
    }
    return groups;
}

void CWndPlot::OnContextMenu(CWnd* window, CPoint screenPoint) {
    const int output = document && document->ResolveDevice(-1) >= 0 ? OutputAt(window, screenPoint) : -1;
    const UINT command =
        output >= 0 ? pages::CPlotMeasurements::ChooseCommand(*document, output, screenPoint, this) : 0;
    if (command != 0 && GetParent()) {
        GetParent()->SendMessage(UM_MEASUREMENT, command, output);
    }
}

// The output whose button is `window`; on the grid the shown output with a curve (its own,
// measured or predicted) nearest the pointer's row in the pointer's column, the lower output on
// a tie, as it is drawn on top; -1 for none.
int CWndPlot::OutputAt(CWnd* window, CPoint screenPoint) {
    const int outputCount = std::min(document->GetOutputCount(), model::kMaxOutputs);
    for (int o = 0; o < outputCount; ++o) {
        if (window == &outputButtons[o]) {
            return o;
        }
    }
    CPoint p = screenPoint;
    ScreenToClient(&p);
    const int x0 = PlotGeometry::kGridLeft;
    const int y0 = PlotGeometry::kGridTop;
    if (p.x < x0 || p.x > x0 + geometry.gridWidth || p.y < y0 || p.y > y0 + geometry.gridHeight ||
        response.PointCount() == 0) {
        return -1;
    }
    const int k = std::clamp(p.x - x0 - PlotGeometry::kCurveOffset, 0, response.PointCount() - 1);
    const int d = document->ResolveDevice(-1);
    const pages::CurveGroups groups = ShownGroups();
    int nearest = -1;
    int nearestDistance = 0;
    for (int o = 0; o < outputCount; ++o) {
        if (!document->plotOutputShown[d][o]) {
            continue;
        }
        response.SumOutput(*document, o, groups, outputLevels);
        std::vector<int> rows = measurements.RowsAt(*document, o, geometry, p.x);
        rows.push_back(geometry.LevelToY(outputLevels[static_cast<std::size_t>(k)]));
        for (const int row : rows) {
            if (nearest < 0 || std::abs(row - p.y) < nearestDistance) {
                nearest = o;
                nearestDistance = std::abs(row - p.y);
            }
        }
    }
    return nearest;
}

// ---- Painting ----

void CWndPlot::OnPaint() {
    CPaintDC dc(this);
    if (!document || document->ResolveDevice(-1) < 0) {
        return;
    }
    dc.SelectObject(&font);
    PaintFrameAndGrid(dc);
    PaintLabels(dc);
    PaintCurves(dc);
    dc.SelectObject(&markerPen);
    dc.SetTextColor(kMarkerColour);
    if (eqMarkersShown) {
        PaintBandMarkers(dc);
    }
    if (XoverMarkersVisible()) {
        PaintXoverMarkers(dc);
    }
    // A filtered computation keeps the plot repainting until the drag ends. A paint of only a
    // part of the window (beneath a button that repaints itself) has not shown the new curves.
    if (response.channelFilter < 0 && Covers(dc.PaintRect(), geometry.CurveArea())) {
        response.curvesDirty = false;
    }
    dc.SelectObject(static_cast<const CPen*>(nullptr));
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}

void CWndPlot::PaintFrameAndGrid(CDC& dc) {
    const int w = geometry.width;
    const int h = geometry.height;
    const int x0 = PlotGeometry::kGridLeft;
    const int y0 = PlotGeometry::kGridTop;
    const int right = x0 + geometry.gridWidth;
    const int bottom = y0 + geometry.gridHeight;
    dc.Draw3dRect(0, 0, w - kOuterFrameInset, h - 1, kWhite, kGrey);
    dc.Draw3dRect(0, 0, w - kInnerFrameInset, h, kGrey, kWhite);

    dc.SetTextColor(kLabelColour);
    dc.SetBkColor(kBlack);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.Rectangle(1, 1, w - kOuterFrameInset, y0 + 1);
    dc.Rectangle(1, 1, x0 + 1, h);
    dc.Rectangle(right, 1, w - kOuterFrameInset, h);
    dc.Rectangle(1, bottom, w - kOuterFrameInset, h);

    dc.SelectObject(&gridPen);
    dc.MoveTo(x0, y0);
    dc.LineTo(right, y0);
    dc.LineTo(right, bottom);
    dc.LineTo(x0, bottom);
    dc.LineTo(x0, y0);
    const auto columns = geometry.ColumnBoundaries();
    const auto rows = geometry.RowBoundaries();
    for (std::size_t j = 0; j + 1 < rows.size(); ++j) {
        for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
            dc.Rectangle(columns[i], rows[j], columns[i + 1] + 1, rows[j + 1] + 1);
        }
    }
}

void CWndPlot::PaintLabels(CDC& dc) {
    constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    for (int d = 0; d < pages::kFrequencyLabelCount; ++d) {
        dc.DrawText(kFrequencyLabels[d], geometry.FrequencyLabelRect(d), kCentred);
    }
    for (int j = 0; j < pages::kLevelLabelCount; ++j) {
        const int db = static_cast<int>(pages::kPlotTopDb) - kLevelLabelStepDb * j;
        std::string text = db > 0 ? Format("+%d", db) : Format("%d", db);
        if (text == "0") {
            text = "0dB";
        }
        dc.DrawText(text, geometry.LevelLabelRect(j), kCentred);
    }
}

void CWndPlot::PaintCurves(CDC& dc) {
    const int d = document->ResolveDevice(-1);
    const pages::CurveGroups groups = ShownGroups();
    const int outputCount = std::min(document->GetOutputCount(), model::kMaxOutputs);
    const int x0 = PlotGeometry::kGridLeft;
    // Output 1 last, so that it lies on top. During a drag the outputs it cannot change keep
    // their curves, which are drawn as well.
    for (int o = outputCount - 1; o >= 0; --o) {
        if (!document->plotOutputShown[d][o]) {
            continue;
        }
        response.SumOutput(*document, o, groups, outputLevels);
        dc.SelectObject(&curvePens[o]);
        for (int k = 0; k < response.PointCount(); ++k) {
            const int y = geometry.LevelToY(outputLevels[static_cast<std::size_t>(k)]);
            if (k == 0) {
                dc.MoveTo(x0 + 1, y);
            } else {
                dc.LineTo(x0 + k + PlotGeometry::kCurveOffset, y);
            }
        }
        dc.SetTextColor(kOutputColours[o]);
        measurements.Paint(dc, *document, o, geometry, curvePens[o], predictionPens[o]);
    }
}

// ---- Markers ----

bool CWndPlot::XoverMarkersVisible() const {
    const int d = document->ResolveDevice(-1);
    const int inputCount = document->GetInputCount();
    const int o = xoMarkerChannel - inputCount;
    return xoMarkersShown && d >= 0 && xoMarkerChannel >= inputCount && o < document->GetOutputCount() &&
           o < model::kMaxOutputs && document->plotOutputShown[d][o] && GroupShown(pages::kOutXover);
}

// The drawn half-width of a selected band's handles.
int CWndPlot::BandHalfWidth(int band) const {
    const int width = document->GetParam(model::kEqWidth, eqMarkerChannel, band);
    const double decade = static_cast<double>(geometry.gridWidth) / pages::kDecadeCount;
    return std::max(kShortestHalfWidth, static_cast<int>(std::trunc(width * decade / kWidthStepsPerDecade)));
}

// Where the pointer finds the handles: as drawn, but with the decade in whole pixels, as the
// width drag measures it.
int CWndPlot::HandleHalfWidth(int band) const {
    const int width = document->GetParam(model::kEqWidth, eqMarkerChannel, band);
    return std::max(kShortestHalfWidth,
                    width * (geometry.gridWidth / pages::kDecadeCount) / kWidthStepsPerDecade);
}

int CWndPlot::SlopeHalfWidth(int filter) const {
    return kSlopeHandleDistance -
           kPixelsPerSlopeStep * document->GetParam(model::kXoverSlope, xoMarkerChannel, filter);
}

void CWndPlot::PaintBandMarkers(CDC& dc) {
    const int d = document->ResolveDevice(-1);
    if (eqMarkerChannel < 0 || eqMarkerChannel >= std::min(document->GetChannelCount(), model::kSlotCount)) {
        return;
    }
    for (int b = model::kBandCount - 1; b >= 0; --b) {
        if (!document->eqBandOn[d][eqMarkerChannel][b]) {
            continue;
        }
        const pages::BandSetup band = pages::SetUpBand(*document, eqMarkerChannel, b);
        const CPoint centre(geometry.FrequencyToX(band.centreHz),
                            geometry.LevelToY(pages::BandResponse(band, band.centreHz)));
        bandMarkers[b] = centre;
        dc.DrawText(Format("%d", b + 1),
                    CRect(centre.x - kBandMarkerHalfSize, centre.y - kBandMarkerHalfSize,
                          centre.x + kBandMarkerHalfSize, centre.y + kBandMarkerHalfSize),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (bandSelected && b == selectedBand && band.type == model::kEqParametric) {
            PaintHandles(dc, centre, BandHalfWidth(b));
        }
    }
}

void CWndPlot::PaintXoverMarkers(CDC& dc) {
    for (int x = 0; x < model::kXoverFilterCount; ++x) {
        const int hz = model::FrequencyHz(document->GetParam(model::kXoverFreq, xoMarkerChannel, x));
        const CPoint c(geometry.FrequencyToX(hz), geometry.XoverMarkerY());
        xoverMarkers[x] = c;
        // The high-pass rises to its flat top, the low-pass falls from it.
        const int leftY = x == model::kHighPass ? c.y + kXoverMarkerHalfHeight : c.y - kXoverMarkerHalfHeight;
        const int rightY =
            x == model::kHighPass ? c.y - kXoverMarkerHalfHeight : c.y + kXoverMarkerHalfHeight;
        dc.MoveTo(c.x - kXoverMarkerHalfWidth, leftY);
        dc.LineTo(c.x, c.y - kXoverMarkerHalfHeight);
        dc.LineTo(c.x + kXoverMarkerHalfWidth, rightY);
        if (xoverSelected && x == selectedFilter) {
            PaintHandles(dc, c, SlopeHalfWidth(x));
        }
    }
}

// A circle on each side of a marker whose centre lies in the grid, and dashes out to it.
void CWndPlot::PaintHandles(CDC& dc, CPoint c, int halfWidth) {
    const int left = PlotGeometry::kGridLeft;
    const int right = left + geometry.gridWidth;
    dc.SelectStockObject(BLACK_BRUSH);
    if (c.x - halfWidth >= left) {
        dc.Ellipse(CRect(c.x - halfWidth - kHandleRadius, c.y - kHandleRadius,
                         c.x - halfWidth + kHandleRadius, c.y + kHandleRadius));
    }
    if (c.x + halfWidth <= right) {
        dc.Ellipse(CRect(c.x + halfWidth - kHandleRadius, c.y - kHandleRadius,
                         c.x + halfWidth + kHandleRadius, c.y + kHandleRadius));
    }
    const int dashCount = (halfWidth - kShortestHalfWidth) / kDashPitch;
    for (int i = 0; i < dashCount; ++i) {
        const int inner = kDashPitch * i + kDashStart;
        const int outer = inner + kDashLength;
        if (c.x - outer >= left) {
            dc.MoveTo(c.x - inner, c.y);
            dc.LineTo(c.x - outer, c.y);
        }
        if (c.x + outer <= right) {
            dc.MoveTo(c.x + inner, c.y);
            dc.LineTo(c.x + outer, c.y);
        }
    }
}

// ---- Mouse ----

void CWndPlot::OnLButtonDown(UINT flags, CPoint point) {
    if (document && eqMarkersShown) {
        HitBandMarkers(point);
    }
    if (document && xoMarkersShown) {
        HitXoverMarkers(point);
    }
    controls::ReportToParent(*this, UM_CTRL_PRESS, 0);
    CWnd::OnLButtonDown(flags, point);
}

void CWndPlot::OnLButtonUp(UINT flags, CPoint point) {
    // The drag goes on until the parent answers with UM_END_TRACKING.
    controls::ReportToParent(*this, UM_CTRL_RELEASE, 0);
    CWnd::OnLButtonUp(flags, point);
}

void CWndPlot::HitBandMarkers(CPoint point) {
    const int d = document->ResolveDevice(-1);
    const bool channelValid = d >= 0 && eqMarkerChannel >= 0 &&
                              eqMarkerChannel < std::min(document->GetChannelCount(), model::kSlotCount);
    for (int b = 0; channelValid && b < model::kBandCount; ++b) {
        if (!document->eqBandOn[d][eqMarkerChannel][b]) {
            continue;
        }
        const CPoint marker = bandMarkers[b];
        if (Near(point, marker)) {
            bandSelected = true;
            eqFreqDrag = true;
            eqWidthDrag = false;
            selectedBand = b;
            return;
        }
        // Handles act only where they are drawn: on a selected parametric band.
        const bool parametric =
            document->GetParam(model::kEqType, eqMarkerChannel, b) == model::kEqParametric;
        if (bandSelected && b == selectedBand && parametric) {
            const int hw = HandleHalfWidth(b);
            if (Near(point, CPoint(marker.x - hw, marker.y)) ||
                Near(point, CPoint(marker.x + hw, marker.y))) {
                eqWidthDrag = true;
                eqFreqDrag = false;
                return;
            }
        }
    }
    eqFreqDrag = eqWidthDrag = false;
}

void CWndPlot::HitXoverMarkers(CPoint point) {
    // Markers that are not drawn cannot be hit.
    for (int x = 0; XoverMarkersVisible() && x < model::kXoverFilterCount; ++x) {
        const CPoint marker = xoverMarkers[x];
        if (Near(point, marker)) {
            xoverSelected = true;
            xoFreqDrag = true;
            xoSlopeDrag = false;
            selectedFilter = x;
            return;
        }
        if (xoverSelected && x == selectedFilter) {
            const int d = SlopeHalfWidth(x);
            if (Near(point, CPoint(marker.x - d, marker.y)) || Near(point, CPoint(marker.x + d, marker.y))) {
                xoSlopeDrag = true;
                xoFreqDrag = false;
                return;
            }
        }
    }
    xoverSelected = xoFreqDrag = xoSlopeDrag = false;
}

void CWndPlot::OnMouseMove(UINT flags, CPoint point) {
    if (document && (eqFreqDrag || eqWidthDrag)) {
        DragBand(point);
    }
    if (document && (xoFreqDrag || xoSlopeDrag)) {
        DragXover(point);
    }
    CWnd::OnMouseMove(flags, point);
}

void CWndPlot::DragBand(CPoint point) {
    const int c = eqMarkerChannel;
    const int b = selectedBand;
    if (eqFreqDrag) {
        document->SetParam(model::kEqFreq, geometry.XToFrequencyIndex(point.x), c, b);
        double gainDb = geometry.YToLevel(point.y);
        if (document->GetParam(model::kEqType, c, b) != model::kEqParametric) {
            gainDb *= kShelfMarkerFactor;
        }
        gainDb = std::clamp(gainDb, kLowestEqGainDb, kHighestEqGainDb);
        document->SetParam(
            model::kEqGain,
            static_cast<int>(std::trunc(model::kStepsPerDb * gainDb)) + model::kEqGainZeroIndex, c, b);
    }
    const int decade = geometry.gridWidth / pages::kDecadeCount;
    if (eqWidthDrag && decade > 0) {
        const int width = std::abs((point.x - bandMarkers[b].x) * kWidthStepsPerDecade / decade);
        document->SetParam(model::kEqWidth, std::min(width, model::kMaxWidth), c, b);
    }
    DragStepDone(c);
}

// The dragged channel's curves follow at once, and so do the pages that show its values.
void CWndPlot::DragStepDone(int channel) {
    ComputeCurves(channel);
    controls::ReportToParent(*this, UM_REFRESH, 0);
}

void CWndPlot::DragXover(CPoint point) {
    const int c = xoMarkerChannel;
    const int x = selectedFilter;
    if (xoFreqDrag) {
        document->SetParam(model::kXoverFreq, geometry.XToFrequencyIndex(point.x), c, x);
    }
    if (xoSlopeDrag) {
        document->SetParam(model::kXoverSlope, SlopeAtDistance(point.x - xoverMarkers[x].x), c, x);
    }
    DragStepDone(c);
}

// The inverse of SlopeHalfWidth: the slope whose handles are drawn nearest to `distance` pixels
// from the marker, so that the handle a press found keeps its slope until it moves half a step.
int CWndPlot::SlopeAtDistance(int distance) {
    const double steps = static_cast<double>(kSlopeHandleDistance - std::abs(distance)) / kPixelsPerSlopeStep;
    return std::clamp(static_cast<int>(std::lround(steps)), 0, kMaxSlope);
}
