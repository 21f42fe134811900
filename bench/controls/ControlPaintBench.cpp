// Measures how long the controls take to paint: a level meter (the device panel repaints up to
// 16 of them whenever levels arrive), a level fader (repainted during drags and auto-repeat), and
// the loading of a bitmap, which every paint of a bitmap-style button or the network page does.
#include "controls/ModFader.h"
#include "controls/ModMeter.h"
#include "framework/Dc.h"
#include "framework/GdiObjects.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kLevelMax = 220;
constexpr int kLevelMark = 160;
constexpr int kLevelDivisions = 22;

void BM_MeterPaint(benchmark::State& state) {
    CWnd page;
    page.CreateFrame("bench", CRect(0, 0, 100, 200));
    CModMeter meter;
    meter.Create(CRect(0, 0, 12, 150), &page, 1);
    int level = 0;
    for (auto _ : state) {
        meter.level = level++ % (CModMeter::kSegmentCount + 1);
        benchmark::DoNotOptimize(GrabWindow(meter));
    }
}
BENCHMARK(BM_MeterPaint);

void BM_FaderPaint(benchmark::State& state) {
    CWnd page;
    page.CreateFrame("bench", CRect(0, 0, 100, 250));
    CModFader fader;
    fader.Create(CRect(0, 0, 28, 200), &page, 1, kLevelMax, kLevelMark, kLevelDivisions, RGB(0, 192, 0));
    int value = 0;
    for (auto _ : state) {
        fader.value = value++ % (kLevelMax + 1);
        benchmark::DoNotOptimize(GrabWindow(fader));
    }
}
BENCHMARK(BM_FaderPaint);

void BM_LoadBitmap(benchmark::State& state) {
    const auto id = static_cast<UINT>(state.range(0));
    for (auto _ : state) {
        CBitmap bitmap;
        benchmark::DoNotOptimize(bitmap.LoadBitmap(id));
    }
}
BENCHMARK(BM_LoadBitmap)->Arg(150)->Arg(167)->Unit(benchmark::kMicrosecond);

} // namespace
