// Measures the frequency response plot on a 1920-pixel screen (a grid of 1900 columns) with
// every one of the 96 EQ bands boosted or cut and every crossover filter active: the full
// computation, the computation of one dragged channel, a full paint, and one drag step (the
// dragged channel's computation and the paint it leads to). Dragging keeps up with a 120 Hz
// pointer when a drag step takes less than 8 ms. With measurements of 2,000 points on one or on
// all eight outputs: the prediction of one edit, and the drag step that also predicts and draws.
#include "model/TonraDoc.h"
#include "pages/PredictedResponse.h"
#include "pages/WndPlot.h"

#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int kGridWidth = 1900;
constexpr int kPlotWidth = kGridWidth + 60;
constexpr int kPlotHeight = 660;
constexpr int kInputs = 8;
constexpr int kOutputs = 8;

// Eight inputs each routed to every output; bands alternately boosted and cut, of every type,
// spread over the whole range; high-pass and low-pass filters on every output.
std::unique_ptr<CTonraDoc> BusyDocument() {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    doc->deviceModel[0] = "NQVE-1888";
    doc->SetInputCount(kInputs);
    doc->SetOutputCount(kOutputs);
    for (int c = 0; c < kInputs + kOutputs; ++c) {
        for (int b = 0; b < model::kBandCount; ++b) {
            const int n = c * model::kBandCount + b;
            doc->SetParam(model::kEqType, n % 3, c, b);
            doc->SetParam(model::kEqGain, n % 2 == 0 ? 160 : 80, c, b);
            doc->SetParam(model::kEqFreq, 30 + 197 * n, c, b);
            doc->SetParam(model::kEqWidth, 20 + 2 * n, c, b);
        }
    }
    for (int o = 0; o < kOutputs; ++o) {
        for (int g = 0; g < kInputs; ++g) {
            doc->SetParam(model::kMixLevel, 100, kInputs + o, g);
        }
        doc->SetParam(model::kXoverType, 1, kInputs + o, model::kHighPass);
        doc->SetParam(model::kXoverFreq, 40 + 10 * o, kInputs + o, model::kHighPass);
        doc->SetParam(model::kXoverType, 2, kInputs + o, model::kLowPass);
        doc->SetParam(model::kXoverFreq, 15000 - 500 * o, kInputs + o, model::kLowPass);
        doc->SetParam(model::kXoverSlope, o % 8, kInputs + o, model::kLowPass);
    }
    return doc;
}

void BM_ComputeAllCurves(benchmark::State& state) {
    const auto doc = BusyDocument();
    pages::CFilterResponse response;
    response.SetGridWidth(kGridWidth);
    for (auto _ : state) {
        response.ComputeCurves(*doc, -1);
        benchmark::DoNotOptimize(response.EqCurve(0).data());
    }
}
BENCHMARK(BM_ComputeAllCurves)->Unit(benchmark::kMillisecond);

void BM_ComputeOneChannel(benchmark::State& state) {
    const auto doc = BusyDocument();
    pages::CFilterResponse response;
    response.SetGridWidth(kGridWidth);
    for (auto _ : state) {
        response.ComputeCurves(*doc, 0);
        benchmark::DoNotOptimize(response.EqCurve(0).data());
    }
}
BENCHMARK(BM_ComputeOneChannel)->Unit(benchmark::kMillisecond);

constexpr int kMeasuredPoints = 2000;

// A measurement of `kMeasuredPoints` from 20 Hz to 20 kHz round -10 dB, as a room gives it: a ripple
// of +-3 dB four times a decade and +-0.5 dB of noise from point to point; loaded on output
// `output` with the response it has now.
void LoadMeasurement(CTonraDoc& doc, int output) {
    model::LoadedMeasurement& loaded = doc.measurements[0][static_cast<std::size_t>(output)];
    for (int i = 0; i < kMeasuredPoints; ++i) {
        loaded.measured.hz.push_back(20 * std::pow(10, 3.0 * i / (kMeasuredPoints - 1)));
        const double decades = 3.0 * i / (kMeasuredPoints - 1);
        loaded.measured.db.push_back(-10 + 3 * std::sin(8 * std::numbers::pi * decades) +
                                     0.5 * std::sin(i * 2.1));
    }
    loaded.responseAtLoadDb = pages::OutputResponseAt(doc, output, loaded.measured.hz);
}

// The prediction of one measured output after an edit of input 1, which feeds it.
void BM_PredictAfterAnEdit(benchmark::State& state) {
    const auto doc = BusyDocument();
    LoadMeasurement(*doc, 0);
    pages::CPredictedResponse prediction;
    prediction.Compute(*doc, 0, doc->measurements[0][0], -1);
    for (auto _ : state) {
        prediction.Compute(*doc, 0, doc->measurements[0][0], 0);
        benchmark::DoNotOptimize(prediction.Levels().data());
    }
}
BENCHMARK(BM_PredictAfterAnEdit)->Unit(benchmark::kMillisecond);

// The plot painted into an image the size of the window, as into the window's backing store.
struct PlotOnScreen {
    std::unique_ptr<CTonraDoc> doc = BusyDocument();
    CWnd frame;
    CWndPlot plot;
    QImage backingStore{kPlotWidth, kPlotHeight, QImage::Format_RGB32};

    explicit PlotOnScreen(int measuredOutputs = 0) {
        for (int o = 0; o < measuredOutputs; ++o) {
            LoadMeasurement(*doc, o);
        }
        frame.CreateFrame("bench", CRect(0, 0, kPlotWidth, kPlotHeight));
        plot.Create(&frame, doc.get());
        plot.MoveWindow(CRect(0, 0, kPlotWidth, kPlotHeight));
        plot.eqMarkersShown = true;
        plot.eqMarkerChannel = 0;
        plot.ComputeCurves(-1);
    }
    void Paint() { plot.GetWidget()->render(&backingStore); }
};

// Every output's curve, the grid and the band markers.
void BM_PaintPlot(benchmark::State& state) {
    PlotOnScreen screen;
    for (auto _ : state) {
        screen.Paint();
    }
}
BENCHMARK(BM_PaintPlot)->Unit(benchmark::kMillisecond);

// Input 1 feeds every output, so its drag repaints all eight curves, and the predictions of
// the outputs measured (the argument: none, one or all eight).
void BM_DragStep(benchmark::State& state) {
    PlotOnScreen screen(static_cast<int>(state.range(0)));
    screen.Paint(); // the marker positions
    const CPoint marker = screen.plot.BandMarker(0);
    screen.plot.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(marker.x, marker.y));
    int step = 0;
    for (auto _ : state) {
        const int x = marker.x + (step++ % 2 == 0 ? 3 : -3);
        screen.plot.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, marker.y));
        screen.Paint();
    }
}
BENCHMARK(BM_DragStep)->Arg(0)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

} // namespace
