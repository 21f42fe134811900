// The engine on its network transport, driven tick by tick against a device the test plays
// over real loopback TCP: what has arrived is taken within one tick, however it was cut.
#include "link/BulkTransfer.h"
#include "link/Port.h"
#include "link/Protocol.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "tests/link/DocFixtures.h"
#include "tests/support/DocCompare.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace devlink;

namespace {

constexpr int kSlot = 3;
constexpr int kWaitMs = 5000;
// Loopback delivers at once; this leaves the event loop time to take it in, even on a
// loaded machine.
constexpr int kArrivalMs = 50;

class EngineSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.OnNewDocument();
        doc.pageMode = 1;
        doc.currentDevice = kSlot;
        doc.connectionMode = 1;
        doc.ipAddress[kSlot] = {127, 0, 0, 1};
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        ASSERT_TRUE(engine.Create(nullptr, &doc, kSlot));
        engine.SetNetworkPort(server.serverPort());
        engine.SetFinishObserver([this](TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });
        ASSERT_TRUE(engine.Connect());
        engine.KillTimer(kSlot); // the test ticks
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, kWaitMs));
        device.reset(server.nextPendingConnection());
    }

    void Tick() { engine.SendMessage(WM_TIMER, kSlot, 0); }

    // The device sends `chars`; returns once they are in the engine's transport.
    void DeviceSends(std::string_view chars) {
        device->write(chars.data(), static_cast<qint64>(chars.size()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return device->bytesToWrite() == 0; }, kWaitMs));
        QTest::qWait(kArrivalMs);
    }

    // What the engine sent since the last call, once at least `count` characters are there.
    std::string DeviceReceives(std::size_t count) {
        std::string received;
        std::ignore = QTest::qWaitFor(
            [&] {
                received += device->readAll().toStdString();
                return received.size() >= count;
            },
            kWaitMs);
        return received;
    }

    CTonraDoc doc;
    CPort engine;
    QTcpServer server;
    std::unique_ptr<QTcpSocket> device;
    std::vector<std::pair<TransferMode, bool>> finished;
};

TEST_F(EngineSocketTest, EveryBlockOfASyncIsTakenInTheTickAfterItArrived) {
    CTonraDoc deviceDoc;
    deviceDoc.OnNewDocument();
    linktest::FillDistinctParams(deviceDoc, kSlot, 5);
    deviceDoc.ValidateDevice(kSlot);
    const sim::CSimDevice simulated(deviceDoc, kSlot, {}, 1);
    const std::string image = simulated.SyncImage();

    engine.RequestTransfer(TransferMode::Sync);
    Tick(); // the opening
    EXPECT_EQ(DeviceReceives(kCommandFrameLength + kStartLength).substr(kCommandFrameLength),
              StartSequence(TransferMode::Sync));
    DeviceSends(kAckToken);
    for (int block = 0; block < kSyncBlocks; ++block) {
        Tick(); // the acknowledgement of the opening, or of the block before
        Tick(); // the progress
        ASSERT_EQ(engine.BlockCount(), block);
        // 520 characters: six calls of the transport, all of them in one tick.
        DeviceSends(BuildBlock(image, block));
        Tick();
        ASSERT_EQ(engine.BlockCount(), block + 1) << "block " << block;
        EXPECT_EQ(DeviceReceives(kAckToken.size()), kAckToken);
    }
    EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::Sync, true}}));
    testsupport::ExpectSameParams(doc, kSlot, deviceDoc, kSlot);
}

TEST_F(EngineSocketTest, AFloodIsKeptWholeAndTakenOneReplyPerTick) {
    // More reply frames than the receive buffer holds; frame n carries the meter levels n + 1.
    constexpr int kFrames = 300;
    std::string flood;
    for (int n = 0; n < kFrames; ++n) {
        flood += BuildReplyFrame({.device = kSlot, .code = kReplyMeters, .index = 0, .value = n + 1});
    }
    DeviceSends(flood);
    Tick();
    EXPECT_EQ(doc.meterLevel[kSlot][3], 1); // the low nibble is the level of slot 3
    Tick();
    EXPECT_EQ(doc.meterLevel[kSlot][3], 2);
    for (int tick = 2; tick < kFrames; ++tick) {
        Tick();
    }
    EXPECT_EQ(doc.meterLevel[kSlot], (std::array<int, model::kSlotCount>{0, 1, 2, 0xC})); // 300 = 0x12C
    EXPECT_TRUE(engine.ReceiveBuffer().empty());
}

} // namespace
