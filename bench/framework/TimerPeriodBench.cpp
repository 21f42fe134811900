// Measures the real period of a 10 ms window timer, the engine's tick: the mean interval
// between WM_TIMER messages over 100 ticks, and the worst one.
#include "framework/MsgWnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int kTicks = 100;
constexpr UINT kEnginePeriodMs = 10;

class TickCounter : public CMsgWnd {
public:
    QEventLoop loop;
    QElapsedTimer clock;
    int ticks = 0;
    qint64 last = 0;
    qint64 worst = 0;

protected:
    void OnTimer(UINT_PTR) override {
        const qint64 now = clock.nsecsElapsed();
        if (ticks > 0) {
            worst = std::max(worst, now - last);
        }
        last = now;
        if (++ticks == kTicks) {
            loop.quit();
        }
    }
};

void BM_TenMillisecondTimer(benchmark::State& state) {
    for (auto _ : state) {
        TickCounter counter;
        counter.CreateMessageWindow();
        counter.clock.start();
        counter.SetTimer(1, kEnginePeriodMs);
        counter.loop.exec();
        state.counters["mean_ms"] = counter.clock.nsecsElapsed() / 1e6 / kTicks;
        state.counters["worst_ms"] = counter.worst / 1e6;
    }
}
BENCHMARK(BM_TenMillisecondTimer)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
