// The program as a whole: start-up to the first painted main window, a demo network of 16
// devices to all 16 tiles lit, and the CPU the program takes with 16 connected devices on the
// device page with meters moving (the simulator in its own process). Runs headless with its
// own temporary connection file and settings.
#include "app/TonraApp.h"
#include "framework/ScriptedUiService.h"
#include "model/ConnectionFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kWaitMs = 60000;

// Keeps the program away from the user's connection file and settings, for the whole run.
void IsolateUserConfig() {
    static const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv(model::kConnectionFileVariable, config.filePath("tonra.sys").toLocal8Bit());
}
constexpr int kDevices = 16;

bool Painted(CTonraApp& app) {
    // The view sets the caption on every paint; the start-up caption is another one.
    return app.GetMainWnd() && app.GetMainWnd()->GetWindowText() != CTonraApp::kMainCaption;
}

bool AllTilesLit(CTonraApp& app) {
    for (int d = 0; d < kDevices; ++d) {
        if (!app.GetMainWnd()->GetView().NetworkPage().Tile(d).lit) {
            return false;
        }
    }
    return true;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    IsolateUserConfig();
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    for (auto _ : state) {
        CTonraApp app;
        app.InitInstance(std::nullopt);
        if (!QTest::qWaitFor([&] { return Painted(app); }, kWaitMs)) {
            state.SkipWithError("the main window was never painted");
        }
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Demo16ToAllTilesLit(benchmark::State& state) {
    IsolateUserConfig();
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    for (auto _ : state) {
        CTonraApp app;
        if (!app.InitInstance(std::nullopt, kDevices) ||
            !QTest::qWaitFor([&] { return Painted(app) && AllTilesLit(app); }, kWaitMs)) {
            state.SkipWithError("the demo network did not come up");
        }
    }
}
BENCHMARK(BM_Demo16ToAllTilesLit)->Unit(benchmark::kMillisecond)->Iterations(5);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// 16 devices of veltrix-sim on free ports, connected; the device page of an 8 x 8 device
// shown with its meters moving (or, with the second argument 0, the home page); the program's
// own CPU over the measured time (the first argument, in seconds).
void BM_CpuWith16Devices(benchmark::State& state) {
    IsolateUserConfig();
    QProcess simulator;
    simulator.start(VELTRIX_SIM_PROGRAM,
                    {"--devices", "16", "--port", "0", "--address", "127.0.40.2", "--model", "NQVE-1888"});
    if (!simulator.waitForStarted()) {
        state.SkipWithError("veltrix-sim did not start");
        return;
    }
    QByteArray listing;
    const bool listed = QTest::qWaitFor(
        [&] {
            listing += simulator.readAllStandardOutput();
            return listing.count('\n') >= kDevices;
        },
        kWaitMs);
    if (!listed) {
        state.SkipWithError("veltrix-sim did not list its devices");
        return;
    }
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    CTonraApp app;
    app.InitInstance(std::nullopt);
    CTonraView& view = app.GetMainWnd()->GetView();
    model::ConnectionSettings settings;
    settings.connectionMode = 1;
    const QRegularExpression served(R"(Device (\d+): .* on 127\.0\.40\.(\d+):(\d+))");
    for (const QByteArray& line : listing.split('\n')) {
        const QRegularExpressionMatch match = served.match(QString::fromLocal8Bit(line));
        if (match.hasMatch()) {
            const int d = match.captured(1).toInt() - 1;
            settings.ipAddress[static_cast<std::size_t>(d)] = {127, 0, 40, match.captured(2).toInt()};
            view.Engine(d).SetNetworkPort(match.captured(3).toInt());
        }
    }
    view.ApplyConnectionSettings(settings);
    if (state.range(1) == 1) {
        view.SendMessage(UM_CTRL_PRESS, CTonraView::kFirstDeviceTileId);
        if (!QTest::qWaitFor([&] { return app.GetDocument().statusText == "Link Status: OK"; }, kWaitMs)) {
            state.SkipWithError("the device page never showed a working link");
        }
    }
    for (auto _ : state) {
        const double cpuBefore = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(static_cast<int>(state.range(0)) * 1000);
        state.counters["cpu_percent_of_one_core"] =
            100.0 * (CpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0);
    }
    simulator.terminate();
    simulator.waitForFinished();
}
BENCHMARK(BM_CpuWith16Devices)
    ->ArgNames({"seconds", "devicePage"})
    ->Args({60, 1})
    ->Args({60, 0})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace
