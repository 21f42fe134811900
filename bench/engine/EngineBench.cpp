// The link engine against the simulator in-process over loopback TCP.
//
// Transfers: wall time of Sync, DownSync, Upload and Download with the device pacing its output
// at the serial line's character rate, as a ratio to the line-rate minimum: every character of
// the transfer (both directions, since each block waits for its acknowledgement) divided by
// 10472.7 characters per second.
//
// Idle work: CPU time of one idle tick and of one poll cycle with 16 engines connected and
// polling 16 devices; the event loop runs between the ticks, outside the measurement.
#include "link/Port.h"
#include "model/TonraDoc.h"
#include "sim/SimServer.h"
#include "sim/Simulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <optional>
#include <stdlib.h>

using namespace devlink;

namespace {

constexpr int kWaitMs = 120000;
constexpr int kEventRounds = 8;

// Characters of a transfer on the wire in both directions: the begin-transfer frame and the
// start sequence, one acknowledgement for the opening and one per block, and the blocks.
double TransferChars(TransferMode mode) {
    const int blocks = TransferBlockCount(mode);
    return kCommandFrameLength + kStartLength + static_cast<double>(kAckToken.size()) * (blocks + 1) +
           static_cast<double>(kBlockFrameLength) * blocks;
}

// The line-rate minimum and the mean wall time as a multiple of it.
void ReportRatio(benchmark::State& state, double totalSeconds, double minimumSeconds) {
    state.counters["line_min_ms"] = minimumSeconds * 1e3;
    state.counters["ratio"] = totalSeconds / static_cast<double>(state.iterations()) / minimumSeconds;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A simulated network and one engine per device, connected over loopback TCP.
class Network {
public:
    Network(int devices, bool pace) {
        sim::SimOptions options;
        options.deviceCount = devices;
        options.port = 0;
        options.pace = pace;
        simulator_ = std::make_unique<sim::CSimulator>(options);
        std::string error;
        started_ = simulator_->Start(error);
        doc_.connectionMode = 1;
        doc_.pageMode = 1;
        // An Upload saves its program files and list here.
        doc_.programListFile = library_.filePath("programs.lst").toStdString();
        for (int d = 0; d < devices && started_; ++d) {
            auto engine = std::make_unique<CPort>();
            engine->Create(nullptr, &doc_, d);
            engine->SetFinishObserver([this](TransferMode mode, bool ok) { finished_ = {mode, ok}; });
            const quint32 address = simulator_->Server(d).Address().toIPv4Address();
            doc_.ipAddress[d] = {int(address >> 24), int((address >> 16) & 0xFF), int((address >> 8) & 0xFF),
                                 int(address & 0xFF)};
            engine->SetNetworkPort(simulator_->Server(d).Port());
            started_ = engine->Connect() && Run(*engine, TransferMode::Sync).has_value();
            engines_.push_back(std::move(engine));
        }
    }

    bool ok() const { return started_; }
    CPort& Engine(int d) { return *engines_.at(static_cast<std::size_t>(d)); }
    int EngineCount() const { return static_cast<int>(engines_.size()); }

    // Runs a transfer on the engine's own timer; its wall time in seconds, or nothing when it
    // failed. The Sync that follows an Upload or a Download is waited for, outside the time.
    std::optional<double> Run(CPort& engine, TransferMode mode) {
        QElapsedTimer clock;
        clock.start();
        const std::optional<bool> ok = Wait(engine, mode);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        if (!ok || !*ok || (engine.Mode() == TransferMode::Sync && !Wait(engine, std::nullopt))) {
            return std::nullopt;
        }
        return seconds;
    }

private:
    // Requests `mode` (or waits for the transfer running) and waits for its end.
    std::optional<bool> Wait(CPort& engine, std::optional<TransferMode> mode) {
        finished_.reset();
        if (mode) {
            engine.RequestTransfer(*mode);
        }
        if (!QTest::qWaitFor([&] { return finished_.has_value(); }, kWaitMs)) {
            return std::nullopt;
        }
        return finished_->second;
    }

    QTemporaryDir library_;
    CTonraDoc doc_;
    std::unique_ptr<sim::CSimulator> simulator_;
    std::vector<std::unique_ptr<CPort>> engines_;
    std::optional<std::pair<TransferMode, bool>> finished_;
    bool started_ = false;
};

void BM_TransferAtLineRate(benchmark::State& state) {
    const auto mode = static_cast<TransferMode>(state.range(0));
    Network network(1, true);
    if (!network.ok()) {
        state.SkipWithError("the simulator or the engine did not start");
        return;
    }
    const double minimum = TransferChars(mode) / sim::kLineCharsPerSecond;
    double total = 0;
    for (auto _ : state) {
        const std::optional<double> seconds = network.Run(network.Engine(0), mode);
        if (!seconds) {
            state.SkipWithError("the transfer failed");
            return;
        }
        state.SetIterationTime(*seconds);
        total += *seconds;
    }
    ReportRatio(state, total, minimum);
}
BENCHMARK(BM_TransferAtLineRate)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TransferMode::Sync))
    ->Arg(static_cast<int>(TransferMode::DownSync))
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransferAtLineRate)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TransferMode::Upload))
    ->Arg(static_cast<int>(TransferMode::Download))
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// For comparison: a client that acknowledges every block the moment it is complete, reading
// on every socket notification instead of on 10 ms ticks. What it achieves is the best the
// simulator's pacing allows; the engine's ratio divided by this one is the engine's own share.
void BM_ImmediateClientAtLineRate(benchmark::State& state) {
    const auto mode = static_cast<TransferMode>(state.range(0));
    sim::SimOptions options;
    options.port = 0;
    options.pace = true;
    sim::CSimulator simulator(options);
    std::string error;
    QTcpSocket socket;
    if (!simulator.Start(error) ||
        (socket.connectToHost(simulator.Server(0).Address(), simulator.Server(0).Port()),
         !socket.waitForConnected(kWaitMs))) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    const double minimum = TransferChars(mode) / sim::kLineCharsPerSecond;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        std::string received;
        int blocks = 0;
        const std::string opening =
            BuildCommandFrame({.deviceMask = DeviceBit(0), .code = kCmdBeginTransfer}) + StartSequence(mode);
        socket.write(opening.data(), static_cast<qint64>(opening.size()));
        const bool done = QTest::qWaitFor(
            [&] {
                const QByteArray bytes = socket.readAll();
                received.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
                for (std::size_t at = received.find(kBlockHeader);
                     at != std::string::npos && received.size() - at >= kBlockFrameLength;
                     at = received.find(kBlockHeader)) {
                    received.erase(0, at + kBlockFrameLength);
                    ++blocks;
                    socket.write(kAckToken.data(), static_cast<qint64>(kAckToken.size()));
                }
                return blocks == TransferBlockCount(mode);
            },
            kWaitMs);
        if (!done) {
            state.SkipWithError("the transfer did not end");
            return;
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    ReportRatio(state, total, minimum);
}
BENCHMARK(BM_ImmediateClientAtLineRate)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TransferMode::Sync))
    ->Arg(static_cast<int>(TransferMode::Upload))
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_IdleTicksWith16Engines(benchmark::State& state) {
    Network network(model::kDeviceCount, false);
    if (!network.ok()) {
        state.SkipWithError("the simulator or the engines did not start");
        return;
    }
    const int engines = network.EngineCount();
    // The ticks are driven from here: every engine starts a poll period at the same tick.
    for (int d = 0; d < engines; ++d) {
        CPort& engine = network.Engine(d);
        engine.KillTimer(static_cast<UINT_PTR>(d));
        while (engine.PollTick() != 0) {
            engine.SendMessage(WM_TIMER, static_cast<WPARAM>(d), 0);
        }
    }
    const auto tickAll = [&] {
        for (int d = 0; d < engines; ++d) {
            network.Engine(d).SendMessage(WM_TIMER, static_cast<WPARAM>(d), 0);
        }
    };
    double idleSeconds = 0;
    double pollSeconds = 0;
    int worstMissCount = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        for (int k = 0; k < CPort::kPollTicks; ++k) {
            tickAll();
        }
        const double polled = ThreadCpuSeconds();
        tickAll(); // every engine's poll cycle
        const double end = ThreadCpuSeconds();
        idleSeconds += polled - start;
        pollSeconds += end - polled;
        state.SetIterationTime(end - start);
        // The devices answer while the event loop runs, as between two timer ticks.
        for (int round = 0; round < kEventRounds; ++round) {
            QCoreApplication::processEvents();
        }
        for (int d = 0; d < engines; ++d) {
            worstMissCount = std::max(worstMissCount, network.Engine(d).MissCount());
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["idle_tick_us"] = idleSeconds / iterations / (engines * CPort::kPollTicks) * 1e6;
    state.counters["poll_cycle_us"] = pollSeconds / iterations / engines * 1e6;
    state.counters["worst_miss_count"] = worstMissCount;
}
BENCHMARK(BM_IdleTicksWith16Engines)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    // The engines never read the user's connection file here.
    QTemporaryDir config;
    setenv(model::kConnectionFileVariable, config.filePath("tonra.sys").toLocal8Bit().constData(), 1);
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
