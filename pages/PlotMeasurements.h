// The measurements on the frequency response plot. Per output of the current device the plot
// may show a measurement, loaded from a REW text export or an FRD file: the measured curve,
// drawn thin, and the predicted one, measured + (response now - response when the measurement
// was loaded), dashed, both in the output's colour. The measurements live in the document
// (PC only, never saved); this keeps their predictions up to date with every edit and offers
// the context menu that loads and clears them. The view carries out what the operator chooses.
#pragma once

#include "framework/Types.h"
#include "model/ModelTypes.h"
#include "pages/PlotGeometry.h"
#include "pages/PredictedResponse.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CDC;
class CPen;
class CTonraDoc;
class CWnd;

namespace pages {

class CPlotMeasurements {
public:
    // Menu commands.
    static constexpr UINT kLoadCommand = 1;
    static constexpr UINT kClearCommand = 2;

    // The measurement of output `output` of the current device; null when it has none.
    static const model::LoadedMeasurement* Loaded(const CTonraDoc& doc, int output);

    // Brings the predictions of the current device's measurements up to date after an edit of
    // the channels linked to `channelFilter` (-1: anything).
    void Compute(const CTonraDoc& doc, int channelFilter);
    std::span<const double> Predicted(int output) const;

    // The measured and the predicted curve of `output` as drawn, and the shift they are drawn with.
    struct Curves {
        std::vector<CPoint> measured;
        std::vector<CPoint> predicted;
        double shiftDb = 0;
    };
    Curves CurvesOf(const CTonraDoc& doc, int output, const PlotGeometry& geometry) const;
    // Draws the measured curve of `output` with `thin` and its prediction with `dashed`, and the
    // shift of curves drawn shifted, in the current font and text colour.
    void Paint(CDC& dc, const CTonraDoc& doc, int output, const PlotGeometry& geometry, const CPen& thin,
               const CPen& dashed) const;
    // The rows at which the measured and the predicted curve of `output` cross column `x`.
    std::vector<int> RowsAt(const CTonraDoc& doc, int output, const PlotGeometry& geometry, int x) const;

    // Offers "Load measurement for Out N..." and "Clear measurement" at `screenPoint`; the
    // command the operator chose, 0 for none.
    static UINT ChooseCommand(const CTonraDoc& doc, int output, CPoint screenPoint, CWnd* owner);
    // Brings the prediction of `output` up to date after its measurement was loaded or cleared.
    void MeasurementChanged(const CTonraDoc& doc, int output);

private:
    void ComputeOutput(const CTonraDoc& doc, int output, int channelFilter);

    std::array<CPredictedResponse, model::kMaxOutputs> predictions_;
};

// Whether output `output` of the current device exists and so may hold a measurement.
bool MeasurableOutput(const CTonraDoc& doc, int output);
// Makes `measurement`, read from `path`, the measurement of output `output` of the current
// device, with the output's response at its frequencies as it is now.
void StoreMeasurement(CTonraDoc& doc, int output, model::Measurement measurement, const std::string& path);
void ClearMeasurement(CTonraDoc& doc, int output);

// The points of a curve given at frequencies `hz` in Hz with levels `db` + `shiftDb`, where the
// plot draws them: at the columns of the output curves, limited to the plot's range;
// frequencies beyond the grid are left out.
std::vector<CPoint> CurvePoints(std::span<const double> hz, std::span<const double> db, double shiftDb,
                                const PlotGeometry& geometry);

// Measurements in dB SPL lie far above the plot's range: a measurement whose median level from
// 20 Hz to 20 kHz lies outside the range is drawn shifted by whole 10 dB so that its median comes
// near 0 dB. One within the range (a response relative to the input) is drawn as it is, so that
// it reads against the output's own curve. Returns the shift in dB.
double DisplayShiftDb(const model::Measurement& measurement);

} // namespace pages
