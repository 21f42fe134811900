// Measures the device panel's work for a full device (8 inputs, 8 outputs): Refresh when
// nothing changed (every end of a drag and every parameter report runs it), Refresh when every
// strip changed (a sync or a recalled program), and UpdateMeters, painted as the screen would
// be. Meters arrive with every poll cycle (210 ms) of every device, 76 reports a second from 16
// devices; 2% of one core is 4.2 ms per cycle.
#include "pages/WndDevice.h"

#include "framework/Dc.h"
#include "model/TonraDoc.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 660;

// A shown frame with a full device on the panel.
struct PanelBench {
    CTonraDoc doc;
    CWnd frame;
    CWndDevice panel;

    PanelBench() {
        doc.OnNewDocument();
        doc.SetInputCount(model::kMaxInputs);
        doc.SetOutputCount(model::kMaxOutputs);
        frame.CreateFrame("bench", CRect(0, 0, kWidth, kHeight));
        panel.Create(CRect(0, 0, kWidth, kHeight), &frame, &doc);
        frame.ShowWindow(SW_SHOW);
        QApplication::processEvents();
    }
    // Every channel's slot of one per-slot parameter array.
    template <typename Array> void SetAll(Array& array, int value) {
        for (int c = 0; c < doc.GetChannelCount(); ++c) {
            array[doc.currentDevice][doc.ChannelSlot(c)] = value;
        }
    }
};

void BM_RefreshUnchanged(benchmark::State& state) {
    PanelBench bench;
    bench.panel.Refresh();
    for (auto _ : state) {
        bench.panel.Refresh();
    }
}
BENCHMARK(BM_RefreshUnchanged);

void BM_RefreshEveryStripChanged(benchmark::State& state) {
    PanelBench bench;
    int step = 0;
    for (auto _ : state) {
        ++step;
        bench.SetAll(bench.doc.gain, 100 + step % 2);
        bench.SetAll(bench.doc.mute, step % 2);
        bench.panel.Refresh();
        QApplication::processEvents(); // the repaints it asked for
    }
}
BENCHMARK(BM_RefreshEveryStripChanged)->Unit(benchmark::kMicrosecond);

// The worst case: every meter of the panel changes with every update, and each update is
// painted before the next arrives.
void BM_UpdateMetersAllChanging(benchmark::State& state) {
    PanelBench bench;
    int step = 0;
    for (auto _ : state) {
        bench.SetAll(bench.doc.meterLevel, ++step % (CModMeter::kSegmentCount + 1));
        bench.panel.UpdateMeters();
        QApplication::processEvents(); // the meters' repaints
    }
}
BENCHMARK(BM_UpdateMetersAllChanging)->Unit(benchmark::kMicrosecond);

// One poll cycle (210 ms) of 16 devices: each engine reports its meters, but only the device
// on the panel shows them, so one report of the 16 changes every meter and the others none.
void BM_MeterCycleOfSixteenDevices(benchmark::State& state) {
    PanelBench bench;
    int step = 0;
    for (auto _ : state) {
        bench.SetAll(bench.doc.meterLevel, ++step % (CModMeter::kSegmentCount + 1));
        for (int device = 0; device < model::kDeviceCount; ++device) {
            bench.panel.UpdateMeters();
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_MeterCycleOfSixteenDevices)->Unit(benchmark::kMicrosecond);

void BM_UpdateMetersUnchanged(benchmark::State& state) {
    PanelBench bench;
    bench.panel.UpdateMeters();
    for (auto _ : state) {
        bench.panel.UpdateMeters();
    }
}
BENCHMARK(BM_UpdateMetersUnchanged);

} // namespace
