#include "pages/PlotMeasurements.h"

#include "framework/Dc.h"
#include "framework/Format.h"
#include "framework/Menu.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>

namespace pages {

namespace {

// A measurement is shifted by whole grid rows.
constexpr double kShiftStepDb = 10;
// The shift's label: "measured -80 dB" beside the start of the measured curve.
constexpr int kShiftLabelWidth = 110;
constexpr int kShiftLabelHeight = 14;
constexpr int kShiftLabelGap = 2;

} // namespace

const model::LoadedMeasurement* CPlotMeasurements::Loaded(const CTonraDoc& doc, int output) {
    if (!MeasurableOutput(doc, output)) {
        return nullptr;
    }
    const model::LoadedMeasurement& loaded = doc.measurements[doc.ResolveDevice(-1)][output];
    return loaded.IsLoaded() ? &loaded : nullptr;
}

void CPlotMeasurements::Compute(const CTonraDoc& doc, int channelFilter) {
    for (int o = 0; o < model::kMaxOutputs; ++o) {
        ComputeOutput(doc, o, channelFilter);
    }
}

void CPlotMeasurements::MeasurementChanged(const CTonraDoc& doc, int output) {
    ComputeOutput(doc, output, -1);
}

void CPlotMeasurements::ComputeOutput(const CTonraDoc& doc, int output, int channelFilter) {
    CPredictedResponse& prediction = predictions_[static_cast<std::size_t>(output)];
    if (const model::LoadedMeasurement* loaded = Loaded(doc, output)) {
        prediction.Compute(doc, output, *loaded, channelFilter);
    } else {
        prediction.Reset();
    }
}

std::span<const double> CPlotMeasurements::Predicted(int output) const {
    return predictions_[static_cast<std::size_t>(output)].Levels();
}

CPlotMeasurements::Curves CPlotMeasurements::CurvesOf(const CTonraDoc& doc, int output,
                                                      const PlotGeometry& geometry) const {
    Curves curves;
    if (const model::LoadedMeasurement* loaded = Loaded(doc, output)) {
        curves.shiftDb = DisplayShiftDb(loaded->measured);
        curves.measured = CurvePoints(loaded->measured.hz, loaded->measured.db, curves.shiftDb, geometry);
        curves.predicted = CurvePoints(loaded->measured.hz, Predicted(output), curves.shiftDb, geometry);
    }
    return curves;
}

void CPlotMeasurements::Paint(CDC& dc, const CTonraDoc& doc, int output, const PlotGeometry& geometry,
                              const CPen& thin, const CPen& dashed) const {
    const Curves curves = CurvesOf(doc, output, geometry);
    dc.SelectObject(&thin);
    dc.Polyline(curves.measured.data(), static_cast<int>(curves.measured.size()));
    dc.SelectObject(&dashed);
    dc.Polyline(curves.predicted.data(), static_cast<int>(curves.predicted.size()));
    if (curves.shiftDb != 0 && !curves.measured.empty()) {
        // Above the start of the measured curve, or below it at the top of the grid.
        const CPoint start = curves.measured.front();
        const int top = start.y - kShiftLabelHeight - kShiftLabelGap >= PlotGeometry::kGridTop
                            ? start.y - kShiftLabelHeight - kShiftLabelGap
                            : start.y + kShiftLabelGap;
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        dc.DrawText(Format("measured %+.0f dB", curves.shiftDb),
                    CRect(start.x + kShiftLabelGap, top, start.x + kShiftLabelWidth, top + kShiftLabelHeight),
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        dc.SetBkMode(oldMode);
    }
}

std::vector<int> CPlotMeasurements::RowsAt(const CTonraDoc& doc, int output, const PlotGeometry& geometry,
                                           int x) const {
    std::vector<int> rows;
    const Curves curves = CurvesOf(doc, output, geometry);
    for (const std::vector<CPoint>* points : {&curves.measured, &curves.predicted}) {
        const auto at = std::lower_bound(points->begin(), points->end(), x,
                                         [](const CPoint& point, int column) { return point.x < column; });
        if (at != points->end()) {
            rows.push_back(at->y);
        }
    }
    return rows;
}

UINT CPlotMeasurements::ChooseCommand(const CTonraDoc& doc, int output, CPoint screenPoint, CWnd* owner) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kLoadCommand, Format("Load measurement for Out %d...", output + 1));
    menu.AppendMenu(Loaded(doc, output) ? MF_STRING : MF_STRING | MF_GRAYED, kClearCommand,
                    "Clear measurement");
    return menu.TrackPopupMenu(TPM_RETURNCMD, screenPoint.x, screenPoint.y, owner);
}

bool MeasurableOutput(const CTonraDoc& doc, int output) {
    return doc.ResolveDevice(-1) >= 0 && output >= 0 &&
           output < std::min(doc.GetOutputCount(), model::kMaxOutputs);
}

void StoreMeasurement(CTonraDoc& doc, int output, model::Measurement measurement, const std::string& path) {
    model::LoadedMeasurement& loaded = doc.measurements[doc.ResolveDevice(-1)][output];
    loaded.responseAtLoadDb = OutputResponseAt(doc, output, measurement.hz);
    loaded.measured = std::move(measurement);
    loaded.path = path;
}

void ClearMeasurement(CTonraDoc& doc, int output) { doc.measurements[doc.ResolveDevice(-1)][output] = {}; }

std::vector<CPoint> CurvePoints(std::span<const double> hz, std::span<const double> db, double shiftDb,
                                const PlotGeometry& geometry) {
    std::vector<CPoint> points;
    const std::size_t count = std::min(hz.size(), db.size());
    points.reserve(count);
    const int left = PlotGeometry::kGridLeft + 1;
    const int right = PlotGeometry::kGridLeft + geometry.gridWidth;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = geometry.CurveX(hz[i]);
        if (x < left || x > right) {
            continue;
        }
        const CPoint point(static_cast<int>(std::lround(x)),
                           geometry.LevelToY(std::clamp(db[i] + shiftDb, kPlotBottomDb, kPlotTopDb)));
        // A measurement has several points to a column: a point on the same pixel, or one that
        // goes on straight in the direction of the last line, lengthens that line instead of
        // adding one. The pixels stay the same and a long curve draws in a fraction of the time.
        if (!points.empty() && points.back() == point) {
            continue;
        }
        if (points.size() >= 2) {
            const CPoint from = points[points.size() - 2];
            CPoint& to = points.back();
            const CSize line(to.x - from.x, to.y - from.y);
            const CSize next(point.x - to.x, point.y - to.y);
            if (line.cx * next.cy == line.cy * next.cx && line.cx * next.cx + line.cy * next.cy > 0) {
                to = point;
                continue;
            }
        }
        points.push_back(point);
    }
    return points;
}

double DisplayShiftDb(const model::Measurement& measurement) {
    std::vector<double> levels;
    for (std::size_t i = 0; i < measurement.hz.size(); ++i) {
        if (measurement.hz[i] >= kLowestHz && measurement.hz[i] <= kHighestHz) {
            levels.push_back(measurement.db[i]);
        }
    }
    if (levels.empty()) {
        levels = measurement.db;
    }
    if (levels.empty()) {
        return 0;
    }
    const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
    std::nth_element(levels.begin(), middle, levels.end());
    const double median = *middle;
    if (median >= kPlotBottomDb && median <= kPlotTopDb) {
        return 0;
    }
    return -kShiftStepDb * std::round(median / kShiftStepDb);
}

} // namespace pages
