// A serial port that vanishes while the engine has it open (an adapter pulled out) and comes
// back under the same name: the engine runs on without waiting, raises the link error, and
// reads the device again once the transport has opened the port again by itself.
#include "framework/ScriptedUiService.h"
#include "link/Port.h"
#include "model/TonraDoc.h"
#include "sim/SimServer.h"
#include "sim/Simulator.h"
#include "tests/support/DocCompare.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <stdlib.h>

using devlink::TransferMode;

namespace {

constexpr int kSlot = 0;
constexpr int kComPort = 11;
constexpr int kWaitMs = 30000;
// The longest a tick may take while the port is away: it must never wait for the device.
constexpr qint64 kTickLimitMs = 500;

std::unique_ptr<sim::CSimulator> StartPtyDevice(sim::SimOptions options = {}) {
    options.deviceCount = 1;
    options.network = false;
    options.pty = true;
    auto simulator = std::make_unique<sim::CSimulator>(options);
    std::string error;
    return simulator->Start(error) ? std::move(simulator) : nullptr;
}

// Points the stable name `link` at `target`, as udev does when an adapter comes back.
void PointLink(const std::string& link, const std::string& target) {
    const std::string fresh = link + ".new";
    std::filesystem::create_symlink(target, fresh);
    std::filesystem::rename(fresh, link);
}

TEST(EngineSerialReturnTest, APortThatVanishesRaisesTheLinkErrorAndIsReadAgainWhenItComesBack) {
    CScriptedUiService ui;
    CScopedUiService scopedUi{ui};
    CTonraDoc doc;
    doc.OnNewDocument();
    doc.pageMode = 1;
    doc.currentDevice = kSlot;
    std::vector<std::pair<TransferMode, bool>> finished;
    CPort engine;
    engine.SetFinishObserver([&](TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });

    std::unique_ptr<sim::CSimulator> first = StartPtyDevice();
    ASSERT_TRUE(first);
    const QTemporaryDir byId;
    const std::string link = byId.filePath("usb-Maker_Adapter_A1-if00-port0").toStdString();
    PointLink(link, first->Server(kSlot).PtyPath());
    const std::string variable = "VELTRIX_COM" + std::to_string(kComPort);
    setenv(variable.c_str(), link.c_str(), 1);
    ASSERT_TRUE(engine.Create(nullptr, &doc, kSlot));
    doc.comPort[kSlot] = kComPort;
    ASSERT_TRUE(engine.Connect()) << engine.ConnectProblem();
    engine.RequestTransfer(TransferMode::Sync);
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kWaitMs));
    ASSERT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::Sync, true}}));
    finished.clear();

    // The adapter is pulled: its terminal goes away for good.
    first.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !engine.SerialTransport().IsDevicePresent(); }, kWaitMs));
    // The link error comes after fifty silent poll cycles; drive them tick by tick.
    engine.KillTimer(kSlot);
    QElapsedTimer tick;
    qint64 slowest = 0;
    const int ticks = (CPort::kLinkErrorCycles + 2) * (CPort::kPollTicks + 1);
    for (int i = 0; i < ticks && doc.statusText != "Link Status: Error"; ++i) {
        QCoreApplication::processEvents();
        tick.start();
        engine.SendMessage(WM_TIMER, kSlot, 0);
        slowest = std::max(slowest, tick.elapsed());
    }
    EXPECT_EQ(doc.statusText, "Link Status: Error");
    EXPECT_LT(slowest, kTickLimitMs);
    EXPECT_TRUE(engine.SerialTransport().IsOpen()); // the engine still holds the port
    EXPECT_TRUE(ui.shown().empty());                // and nobody is asked anything

    // The same adapter comes back on another terminal under the same stable name, with
    // other settings than the engine last saw.
    sim::SimOptions changed;
    changed.models = {"KVA-1326"};
    std::unique_ptr<sim::CSimulator> second = StartPtyDevice(changed);
    ASSERT_TRUE(second);
    second->Doc().gain[kSlot][0] = 123;
    PointLink(link, second->Server(kSlot).PtyPath());
    engine.SetTimer(kSlot, CPort::kTimerPeriodMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.SerialTransport().IsDevicePresent(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.empty(); }, kWaitMs));
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0], std::make_pair(TransferMode::Sync, true));
    testsupport::ExpectSameParams(doc, kSlot, second->Doc(), kSlot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kWaitMs));
    unsetenv(variable.c_str());
}

} // namespace
