// Measures the channel popups of the device panel, headless: a refresh that finds nothing
// changed (what every value report of a device and every release costs while a popup is open),
// a refresh after a switch to another channel (every control changes and repaints), opening
// and closing the EQ editor with its 72 controls, and a paint of the data sheet of a device
// with 8 inputs and 8 outputs.
#include "framework/Dc.h"
#include "model/TonraDoc.h"
#include "pages/WndEQ.h"
#include "pages/WndSheet.h"
#include "pages/WndSignal.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPopupTop = 10;
constexpr int kInputs = 8;
constexpr int kOutputs = 8;
constexpr int kFirstOutput = kInputs;

// Every output's EQ bands and crossovers set apart from the next output's.
void BusyDevice(CTonraDoc& doc) {
    doc.OnNewDocument();
    doc.deviceModel[0] = "NQVE-1888";
    doc.SetInputCount(kInputs);
    doc.SetOutputCount(kOutputs);
    for (int c = 0; c < kInputs + kOutputs; ++c) {
        for (int b = 0; b < model::kBandCount; ++b) {
            doc.SetParam(model::kEqGain, 100 + c + b, c, b);
            doc.SetParam(model::kEqFreq, 100 * c + 20 * b, c, b);
        }
        doc.SetParam(model::kDelay, 48 * c, c, 0);
        doc.SetParam(model::kXoverFreq, 40 + c, c, model::kHighPass);
        doc.SetParam(model::kLimThreshold, c, c, 0);
    }
}

struct Popups {
    CTonraDoc doc;
    CWnd owner;
    CWndEQ eq;
    CWndSignal signal;

    Popups() {
        BusyDevice(doc);
        owner.CreateFrame("panel", CRect(0, 600, 100, 650));
        eq.OpenForChannel(kPopupTop, &owner, &doc, kFirstOutput);
        signal.OpenForChannel(kPopupTop + 200, &owner, &doc, kFirstOutput);
    }
};

void BM_EqRefreshUnchanged(benchmark::State& state) {
    Popups popups;
    for (auto _ : state) {
        popups.eq.Refresh();
    }
}
BENCHMARK(BM_EqRefreshUnchanged)->Unit(benchmark::kMicrosecond);

void BM_EqRefreshAfterChannelSwitch(benchmark::State& state) {
    Popups popups;
    int output = 0;
    for (auto _ : state) {
        output = (output + 1) % kOutputs;
        popups.eq.SetChannel(kFirstOutput + output);
        popups.eq.Refresh();
    }
}
BENCHMARK(BM_EqRefreshAfterChannelSwitch)->Unit(benchmark::kMicrosecond);

void BM_SignalRefreshUnchanged(benchmark::State& state) {
    Popups popups;
    for (auto _ : state) {
        popups.signal.Refresh();
    }
}
BENCHMARK(BM_SignalRefreshUnchanged)->Unit(benchmark::kMicrosecond);

void BM_EqOpenAndClose(benchmark::State& state) {
    Popups popups;
    for (auto _ : state) {
        popups.eq.DestroyWindow();
        popups.eq.OpenForChannel(kPopupTop, &popups.owner, &popups.doc, kFirstOutput);
    }
}
BENCHMARK(BM_EqOpenAndClose)->Unit(benchmark::kMillisecond);

void BM_SheetPaint(benchmark::State& state) {
    Popups popups;
    CWndSheet sheet;
    sheet.Create(&popups.owner, &popups.doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GrabWindow(sheet));
    }
}
BENCHMARK(BM_SheetPaint)->Unit(benchmark::kMillisecond);

} // namespace
