// The link engine against the simulator over loopback TCP and a pseudo-terminal.
//
// Transfers: Sync, DownSync, Upload and Download, each run by the engine on its own 10 ms
// timer in this thread's event loop, with the simulator in a thread of its own that paces
// both directions of the line by its clock at the serial rate (10472.7 characters per
// second). Counters, per transfer:
// - `ratio`: wall time from the request to the end of the transfer, divided by `line_min_ms`,
//   the time the characters that crossed the line during the transfer need at that rate.
// - `line_chars`: those characters, as the simulator's line counted them in both directions:
//   the begin-transfer frame, the start sequence with its mode letter, every block with
//   header, checksum and trailer, every acknowledgement, and an idle reply that was still on
//   its way when the transfer was requested. The directions take turns (each block waits for
//   its acknowledgement), so their characters add up. `protocol_chars` is the transfer's own
//   share, for comparison.
// - Per block: `block_ms` of wall time; `line_block_ms`, what a block and its acknowledgement
//   need on the line; `ticks_per_block` and `cpu_block_ms`, the engine's ticks and their CPU
//   time. The rest of a block's time is the device's reaction and the wait for the tick that
//   finds the block or the acknowledgement complete.
// The immediate client runs the same transfers without an engine, answering each block the
// moment it is complete and sending the next one the moment the acknowledgement is there:
// the best the simulator's pacing allows, so the engine's own share is what it adds to that.
//
// Idle work: CPU time of one idle tick and of one poll cycle with 16 engines connected and
// polling 16 devices; the event loop runs between the ticks, outside the measurement.
//
// A device that returns: the simulated device is switched off (its TCP connection ends, its
// pseudo-terminal falls silent) until the engine shows the link error, then switched on again
// after a delay that moves through the 2 s reconnection period. `first_poll_ms` is the time
// from switching it on to the first characters reaching it, `reread_ms` to the end of the
// Sync that reads it again; medians of the runs.
//
// veltrix-cli: the program's Sync and Upload over TCP against the paced simulator. `ratio` is
// the time from the transfer's "Initializing" to its "Finished" line on the error output,
// divided by the line minimum of the characters the simulator's line carried meanwhile.
#include "link/Port.h"
#include "model/TonraDoc.h"
#include "sim/SimServer.h"
#include "sim/Simulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <stdlib.h>
#include <utility>

using namespace devlink;

namespace {

constexpr int kWaitMs = 120000;
constexpr int kEventRounds = 8;
constexpr int kComPort = 1;
constexpr double kMs = 1e3;

enum class Transport { Tcp = 0, Pty = 1 };

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsSince(const QElapsedTimer& clock) { return static_cast<double>(clock.nsecsElapsed()) * 1e-9; }

// Characters of a transfer on the line in both directions: the begin-transfer frame and the
// start sequence, one acknowledgement for the opening and one per block, and the blocks.
double ProtocolChars(TransferMode mode) {
    const int blocks = TransferBlockCount(mode);
    return kCommandFrameLength + kStartLength + static_cast<double>(kAckToken.size()) * (blocks + 1) +
           static_cast<double>(kBlockFrameLength) * blocks;
}

// The simulator on a thread of its own, with its own event loop: its pacing runs by its
// clock whatever this thread is doing.
class SimulatorThread {
public:
    explicit SimulatorThread(const sim::SimOptions& options) {
        thread_.start();
        context_.moveToThread(&thread_);
        Call([&] {
            simulator_ = std::make_unique<sim::CSimulator>(options);
            std::string error;
            started_ = simulator_->Start(error);
        });
    }
    ~SimulatorThread() {
        Call([&] { simulator_.reset(); });
        thread_.quit();
        thread_.wait();
    }

    bool ok() const { return started_; }
    // Runs `work` with the simulator on its thread and waits for it.
    void Call(const std::function<void()>& work) {
        QMetaObject::invokeMethod(&context_, work, Qt::BlockingQueuedConnection);
    }
    // Where device `d` listens, its pseudo-terminal, and what its lines carried so far.
    std::pair<QHostAddress, quint16> Endpoint(int d) {
        std::pair<QHostAddress, quint16> endpoint;
        Call([&] { endpoint = {simulator_->Server(d).Address(), simulator_->Server(d).Port()}; });
        return endpoint;
    }
    std::string PtyPath(int d) {
        std::string path;
        Call([&] { path = simulator_->Server(d).PtyPath(); });
        return path;
    }
    std::size_t CharsCarried(int d) {
        std::size_t chars = 0;
        Call([&] { chars = simulator_->Server(d).CharsCarried(); });
        return chars;
    }
    void SwitchOff(int d) {
        Call([&] { simulator_->Server(d).SwitchOff(); });
    }
    bool SwitchOn(int d) {
        bool on = false;
        Call([&] {
            std::string error;
            on = simulator_->Server(d).SwitchOn(error);
        });
        return on;
    }

private:
    QThread thread_;
    QObject context_;
    std::unique_ptr<sim::CSimulator> simulator_;
    bool started_ = false;
};

// An engine that counts its ticks and their CPU time.
class CMeasuredPort : public CPort {
public:
    int ticks = 0;
    double tickCpuSeconds = 0;

protected:
    void OnTimer(UINT_PTR id) override {
        const double start = ThreadCpuSeconds();
        CPort::OnTimer(id);
        tickCpuSeconds += ThreadCpuSeconds() - start;
        ++ticks;
    }
};

struct TransferFigures {
    double seconds = 0;
    int ticks = 0;
    double cpuSeconds = 0;
    std::size_t lineChars = 0;
};

// A simulated network and one engine per device, connected over loopback TCP or over the
// devices' pseudo-terminals.
class Network {
public:
    Network(int devices, bool pace, Transport transport) {
        sim::SimOptions options;
        options.deviceCount = devices;
        options.port = 0;
        options.pace = pace;
        options.network = transport == Transport::Tcp;
        options.pty = transport == Transport::Pty;
        simulator_ = std::make_unique<SimulatorThread>(options);
        started_ = simulator_->ok();
        doc_.connectionMode = transport == Transport::Tcp ? 1 : 0;
        doc_.pageMode = 1;
        // An Upload saves its program files and list here.
        doc_.programListFile = library_.filePath("programs.lst").toStdString();
        for (int d = 0; d < devices && started_; ++d) {
            auto engine = std::make_unique<CMeasuredPort>();
            engine->Create(nullptr, &doc_, d);
            engine->SetFinishObserver([this](TransferMode, bool ok) {
                finished_ = ok;
                waiting_.quit();
            });
            if (transport == Transport::Tcp) {
                ConnectTcp(*engine, d);
            } else {
                ConnectPty(d);
            }
            started_ = engine->Connect() && Run(*engine, TransferMode::Sync).has_value();
            engines_.push_back(std::move(engine));
        }
    }

    bool ok() const { return started_; }
    CMeasuredPort& Engine(int d) { return *engines_.at(static_cast<std::size_t>(d)); }
    int EngineCount() const { return static_cast<int>(engines_.size()); }

    // Runs a transfer on the engine's own timer; what it took, or nothing when it failed. The
    // Sync that follows an Upload or a Download is waited for, outside the figures.
    std::optional<TransferFigures> Run(CMeasuredPort& engine, TransferMode mode) {
        const int d = engine.Device();
        TransferFigures figures{.ticks = -engine.ticks, .cpuSeconds = -engine.tickCpuSeconds};
        const std::size_t charsBefore = simulator_->CharsCarried(d);
        QElapsedTimer clock;
        clock.start();
        engine.RequestTransfer(mode);
        const bool ok = WaitFinished();
        figures.seconds = SecondsSince(clock);
        figures.ticks += engine.ticks;
        figures.cpuSeconds += engine.tickCpuSeconds;
        figures.lineChars = simulator_->CharsCarried(d) - charsBefore;
        if (!ok || (engine.Mode() == TransferMode::Sync && !WaitFinished())) {
            return std::nullopt;
        }
        return figures;
    }

    // Switches device `d` off until its engine shows the link error, waits `delayMs` and
    // switches it on again: milliseconds to the first characters reaching it and to the end of
    // the Sync that reads it again; nothing when either did not come.
    std::optional<std::pair<double, double>> Return(CMeasuredPort& engine, int delayMs) {
        const int d = engine.Device();
        simulator_->SwitchOff(d);
        if (!WaitFor([&] { return engine.LinkError(); })) {
            return std::nullopt;
        }
        WaitFor([] { return false; }, delayMs);
        const std::size_t charsBefore = simulator_->CharsCarried(d);
        finished_.reset();
        QElapsedTimer clock;
        clock.start();
        if (!simulator_->SwitchOn(d) || !WaitFor([&] { return simulator_->CharsCarried(d) > charsBefore; })) {
            return std::nullopt;
        }
        const double firstPoll = SecondsSince(clock) * kMs;
        if (!WaitFor([&] { return finished_.has_value(); }) || !*finished_) {
            return std::nullopt;
        }
        return std::pair{firstPoll, SecondsSince(clock) * kMs};
    }

private:
    // Runs the event loop until `done` holds, looking every millisecond; false after `limitMs`.
    static bool WaitFor(const std::function<bool()>& done, int limitMs = kWaitMs) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() >= limitMs) {
                return false;
            }
            QEventLoop idle;
            QTimer::singleShot(1, &idle, &QEventLoop::quit);
            idle.exec();
        }
        return true;
    }

    void ConnectTcp(CPort& engine, int d) {
        const auto [address, port] = simulator_->Endpoint(d);
        const quint32 ip = address.toIPv4Address();
        doc_.ipAddress[d] = {int(ip >> 24), int((ip >> 16) & 0xFF), int((ip >> 8) & 0xFF), int(ip & 0xFF)};
        engine.SetNetworkPort(port);
    }

    void ConnectPty(int d) {
        const int comPort = kComPort + d;
        setenv(("VELTRIX_COM" + std::to_string(comPort)).c_str(), simulator_->PtyPath(d).c_str(), 1);
        doc_.comPort[d] = comPort;
    }

    // Runs the event loop until the next transfer ends; its success.
    bool WaitFinished() {
        finished_.reset();
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &waiting_, &QEventLoop::quit);
        timeout.start(kWaitMs);
        waiting_.exec();
        return finished_.value_or(false);
    }

    QTemporaryDir library_;
    CTonraDoc doc_;
    std::unique_ptr<SimulatorThread> simulator_;
    std::vector<std::unique_ptr<CMeasuredPort>> engines_;
    QEventLoop waiting_;
    std::optional<bool> finished_;
    bool started_ = false;
};

void ReportTransfer(benchmark::State& state, TransferMode mode, const TransferFigures& total) {
    const double runs = static_cast<double>(state.iterations());
    const double blocks = TransferBlockCount(mode) * runs;
    const double lineChars = static_cast<double>(total.lineChars) / runs;
    const double minimumSeconds = lineChars / sim::kLineCharsPerSecond;
    state.counters["ratio"] = total.seconds / runs / minimumSeconds;
    state.counters["line_min_ms"] = minimumSeconds * kMs;
    state.counters["line_chars"] = lineChars;
    state.counters["protocol_chars"] = ProtocolChars(mode);
    state.counters["block_ms"] = total.seconds / blocks * kMs;
    state.counters["line_block_ms"] =
        static_cast<double>(kBlockFrameLength + kAckToken.size()) / sim::kLineCharsPerSecond * kMs;
    state.counters["ticks_per_block"] = total.ticks / blocks;
    state.counters["cpu_block_ms"] = total.cpuSeconds / blocks * kMs;
}

void BM_Transfer(benchmark::State& state) {
    const auto transport = static_cast<Transport>(state.range(0));
    const auto mode = static_cast<TransferMode>(state.range(1));
    Network network(1, true, transport);
    if (!network.ok()) {
        state.SkipWithError("the simulator or the engine did not start");
        return;
    }
    if (mode == TransferMode::Download && !network.Run(network.Engine(0), TransferMode::Upload)) {
        state.SkipWithError("the Upload that gives the Download its programs failed");
        return;
    }
    TransferFigures total;
    for (auto _ : state) {
        const std::optional<TransferFigures> figures = network.Run(network.Engine(0), mode);
        if (!figures) {
            state.SkipWithError("the transfer failed");
            return;
        }
        state.SetIterationTime(figures->seconds);
        total.seconds += figures->seconds;
        total.ticks += figures->ticks;
        total.cpuSeconds += figures->cpuSeconds;
        total.lineChars += figures->lineChars;
    }
    ReportTransfer(state, mode, total);
}

void TransferArgs(benchmark::internal::Benchmark* benchmark, std::initializer_list<TransferMode> modes,
                  int iterations) {
    benchmark->ArgNames({"pty", "mode"})
        ->Iterations(iterations)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    for (const Transport transport : {Transport::Tcp, Transport::Pty}) {
        for (const TransferMode mode : modes) {
            benchmark->Args({static_cast<int>(transport), static_cast<int>(mode)});
        }
    }
}
BENCHMARK(BM_Transfer)->Apply([](auto* b) {
    TransferArgs(b, {TransferMode::Sync, TransferMode::DownSync}, 5);
});
BENCHMARK(BM_Transfer)->Apply([](auto* b) {
    TransferArgs(b, {TransferMode::Upload, TransferMode::Download}, 2);
});

// For comparison: a client without an engine that answers every block the moment it is
// complete and sends the next block the moment the acknowledgement is there, waiting on the
// socket itself. What it achieves is the best the simulator's pacing allows.
void BM_ImmediateClient(benchmark::State& state) {
    const auto mode = static_cast<TransferMode>(state.range(0));
    sim::SimOptions options;
    options.port = 0;
    options.pace = true;
    SimulatorThread simulator(options);
    QTcpSocket socket;
    if (simulator.ok()) {
        const auto [address, port] = simulator.Endpoint(0);
        socket.connectToHost(address, port);
    }
    if (!simulator.ok() || !socket.waitForConnected(kWaitMs)) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    const std::string image(static_cast<std::size_t>(TransferBlockCount(mode)) * kBlockChars, '0');
    std::string received;
    const auto send = [&](std::string_view chars) {
        socket.write(chars.data(), static_cast<qint64>(chars.size()));
        socket.flush();
    };
    // Reads until `done` holds for what has arrived.
    const auto receive = [&](const std::function<bool()>& done) {
        while (!done()) {
            if (!socket.waitForReadyRead(kWaitMs)) {
                return false;
            }
            received += socket.readAll().toStdString();
        }
        return true;
    };
    TransferFigures total;
    for (auto _ : state) {
        const std::size_t charsBefore = simulator.CharsCarried(0);
        QElapsedTimer clock;
        clock.start();
        received.clear();
        send(BuildCommandFrame({.deviceMask = DeviceBit(0), .code = kCmdBeginTransfer}) +
             StartSequence(mode));
        bool ok = receive([&] { return FindToken(received, kAckToken); });
        for (int block = 0; ok && block < TransferBlockCount(mode); ++block) {
            if (DeviceSends(mode)) {
                ok = receive([&] { return received.size() >= static_cast<std::size_t>(kBlockFrameLength); });
                received.erase(0, kBlockFrameLength);
                send(kAckToken);
            } else {
                send(BuildBlock(image, block));
                ok = receive([&] { return FindToken(received, kAckToken); });
            }
        }
        if (!ok) {
            state.SkipWithError("the transfer did not end");
            return;
        }
        const double seconds = SecondsSince(clock);
        state.SetIterationTime(seconds);
        total.seconds += seconds;
        // The last acknowledgement may still be crossing.
        QThread::msleep(5);
        total.lineChars += simulator.CharsCarried(0) - charsBefore;
    }
    ReportTransfer(state, mode, total);
}
BENCHMARK(BM_ImmediateClient)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TransferMode::Sync))
    ->Arg(static_cast<int>(TransferMode::DownSync))
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_DeviceReturns(benchmark::State& state) {
    constexpr int kDelayStepMs = 230; // moves the return through the reconnection period
    const auto transport = static_cast<Transport>(state.range(0));
    Network network(1, false, transport);
    if (!network.ok()) {
        state.SkipWithError("the simulator or the engine did not start");
        return;
    }
    std::vector<double> firstPoll;
    std::vector<double> reread;
    for (auto _ : state) {
        const int delayMs =
            static_cast<int>(firstPoll.size()) * kDelayStepMs % (CPort::kReconnectSeconds * 1000);
        const auto figures = network.Return(network.Engine(0), delayMs);
        if (!figures) {
            state.SkipWithError("the device was not read again");
            return;
        }
        firstPoll.push_back(figures->first);
        reread.push_back(figures->second);
        state.SetIterationTime(figures->second / kMs);
    }
    state.counters["first_poll_ms"] = Median(firstPoll);
    state.counters["reread_ms"] = Median(reread);
    state.counters["worst_reread_ms"] = *std::max_element(reread.begin(), reread.end());
}
BENCHMARK(BM_DeviceReturns)
    ->ArgName("pty")
    ->Arg(static_cast<int>(Transport::Tcp))
    ->Arg(static_cast<int>(Transport::Pty))
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_CliTransfer(benchmark::State& state) {
    const auto mode = static_cast<TransferMode>(state.range(0));
    const bool upload = mode == TransferMode::Upload;
    const std::string name = upload ? "Upload" : "Sync";
    const QString program = QCoreApplication::applicationDirPath() + "/../../cli/veltrix-cli";
    sim::SimOptions options;
    options.port = 0;
    options.pace = true;
    SimulatorThread simulator(options);
    if (!simulator.ok()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    const auto [address, port] = simulator.Endpoint(0);
    QTemporaryDir folder;
    double seconds = 0;
    double lineChars = 0;
    for (auto _ : state) {
        QProcess cli;
        QElapsedTimer clock;
        std::size_t charsAtStart = 0;
        QByteArray errors;
        QObject::connect(&cli, &QProcess::readyReadStandardError, [&] {
            errors += cli.readAllStandardError();
            if (!clock.isValid() && errors.contains(name + " Status: Initializing")) {
                clock.start();
                charsAtStart = simulator.CharsCarried(0);
            } else if (clock.isValid() && errors.contains(name + " Status: Finished OK")) {
                const double elapsed = SecondsSince(clock);
                state.SetIterationTime(elapsed);
                seconds += elapsed;
                lineChars += static_cast<double>(simulator.CharsCarried(0) - charsAtStart);
                clock.invalidate();
                errors.clear();
            }
        });
        cli.start(program,
                  {upload ? "upload" : "sync", "--ip", address.toString(), "--port", QString::number(port),
                   upload ? "--list" : "--out", folder.filePath(upload ? "all.lst" : "device.dat")});
        QEventLoop running;
        QObject::connect(&cli, &QProcess::finished, &running, &QEventLoop::quit);
        running.exec();
        if (cli.exitCode() != 0) {
            state.SkipWithError("veltrix-cli failed");
            return;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    const double minimumSeconds = lineChars / runs / sim::kLineCharsPerSecond;
    state.counters["ratio"] = seconds / runs / minimumSeconds;
    state.counters["line_chars"] = lineChars / runs;
    state.counters["line_min_ms"] = minimumSeconds * kMs;
}
BENCHMARK(BM_CliTransfer)
    ->ArgName("mode")
    ->Arg(static_cast<int>(TransferMode::Sync))
    ->Arg(static_cast<int>(TransferMode::Upload))
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_IdleTicksWith16Engines(benchmark::State& state) {
    Network network(model::kDeviceCount, false, Transport::Tcp);
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
        // The replies come in while the event loop runs, as between two timer ticks.
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
