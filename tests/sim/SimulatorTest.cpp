// The simulator in-process, reached over real loopback TCP and real pseudo-terminals by a
// scripted client.
#include "sim/Simulator.h"
#include "framework/ScriptedUiService.h"
#include "link/DataImages.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimServer.h"
#include "tests/link/DocFixtures.h"
#include "tests/sim/ScriptedClient.h"
#include "tests/support/DocCompare.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <stdlib.h>

using namespace devlink;
using namespace model;
using simtest::CScriptedClient;

namespace {

// Every test listens on free ports, so that tests running side by side never collide.
sim::SimOptions TestOptions(int devices) {
    sim::SimOptions options;
    options.deviceCount = devices;
    options.port = 0;
    return options;
}

class SimulatorTest : public ::testing::Test {
protected:
    void Start(const sim::SimOptions& options) {
        simulator = std::make_unique<sim::CSimulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
    }
    // A client of device `slot`, connected.
    std::unique_ptr<CScriptedClient> Client(int slot) {
        auto client = std::make_unique<CScriptedClient>(slot);
        const sim::CSimServer& server = simulator->Server(slot);
        EXPECT_TRUE(client->ConnectTcp(server.Address().toString().toStdString(), server.Port()));
        return client;
    }

    std::unique_ptr<sim::CSimulator> simulator;
};

} // namespace

TEST_F(SimulatorTest, EachDeviceAnswersOnItsOwnAddress) {
    sim::SimOptions options = TestOptions(4);
    options.models = {"RLT-1448", "KVA-1326", "NQVE-1888"};
    Start(options);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(simulator->Server(slot).Address().toString().toStdString(),
                  "127.0.0." + std::to_string(2 + slot));
        auto client = Client(slot);
        const auto reply = client->Command({.code = kCmdPoll});
        ASSERT_TRUE(reply) << slot;
        EXPECT_EQ(reply->device, slot);
        EXPECT_EQ(reply->code, kReplyMeters);
    }
    EXPECT_EQ(simulator->Doc().deviceModel[1], "KVA-1326");
    EXPECT_EQ(simulator->Doc().inputCount[1], 2);
    EXPECT_EQ(simulator->Doc().outputCount[1], 6);
    EXPECT_EQ(simulator->Doc().deviceModel[2], "NQVE-1888");
    EXPECT_EQ(simulator->Doc().deviceModel[3], "RLT-1448");
    const auto description = simulator->Description();
    ASSERT_EQ(description.size(), 4u);
    EXPECT_TRUE(description[1].starts_with("Device 2: KVA-1326, 2 in / 6 out, on 127.0.0.3:"))
        << description[1];
}

TEST_F(SimulatorTest, FullSyncDownSyncUploadAndDownload) {
    sim::SimOptions options = TestOptions(2);
    options.password = "AB";
    options.oemPrograms = 2;
    Start(options);
    CTonraDoc& device = simulator->Doc();
    auto client = Client(1);

    // Sync: the seven blocks carry the device's identity and live settings.
    const auto sync = client->ReceiveImage(TransferMode::Sync);
    ASSERT_TRUE(sync);
    ASSERT_EQ(sync->size(), 7u * 512);
    auto pc = std::make_unique<CTonraDoc>();
    ReadSyncImage(*sync, *pc, 1);
    EXPECT_EQ(pc->deviceModel[1], "RLT-1448");
    EXPECT_EQ(pc->devicePassword[1], "AB");
    EXPECT_EQ(pc->oemPrograms[1], 2);
    EXPECT_EQ(pc->programName[1], device.programName[1]);
    EXPECT_EQ(pc->programName[1][2], "Live Band");
    testsupport::ExpectSameParams(*pc, 1, device, 1);

    // DownSync: new live settings reach the device.
    linktest::FillDistinctParams(*pc, 1, 4);
    std::string image(kDataImageChars, '0');
    WriteDownSyncImage(image, *pc, 1);
    ASSERT_TRUE(client->SendImage(TransferMode::DownSync, image));
    testsupport::ExpectSameParams(*pc, 1, device, 1);

    // Upload: all 30 programs, names included.
    const auto programs = client->ReceiveImage(TransferMode::Upload);
    ASSERT_TRUE(programs);
    ASSERT_EQ(programs->size(), 120u * 512);
    EXPECT_EQ(*programs, simulator->Device(1).ProgramImage());
    EXPECT_EQ(ReadProgramRecord(*programs, 3, *pc, 1), "Playback");

    // Download: 30 new programs replace the stored ones.
    for (int p = 0; p < kProgramCount; ++p) {
        linktest::FillDistinctParams(*pc, 1, p);
        WriteProgramRecord(image, p, *pc, 1, "New " + std::to_string(p));
    }
    ASSERT_TRUE(client->SendImage(TransferMode::Download, image));
    EXPECT_EQ(device.programName[1][29], "New 29");
    EXPECT_EQ(simulator->Device(1).ProgramImage(), image.substr(0, 120 * 512));

    // The next Sync reports the new names; recalling a program loads its settings.
    const auto again = client->ReceiveImage(TransferMode::Sync);
    ASSERT_TRUE(again);
    ReadSyncImage(*again, *pc, 1);
    EXPECT_EQ(pc->programName[1][17], "New 17");
    const auto recalled = client->Command({.code = kCmdRecallProgram, .value = 17});
    ASSERT_TRUE(recalled);
    EXPECT_EQ(recalled->code, kReplyProgramRecalled);
    linktest::FillDistinctParams(*pc, 1, 17);
    testsupport::ExpectSameParams(*pc, 1, device, 1);

    // Device 0 saw none of it.
    EXPECT_EQ(device.programName[0][29], "User 30");
}

TEST_F(SimulatorTest, CorruptedBlockIsNotAcknowledgedAndNothingIsApplied) {
    Start(TestOptions(1));
    CTonraDoc& device = simulator->Doc();
    auto client = Client(0);
    auto pc = std::make_unique<CTonraDoc>();
    linktest::FillDistinctParams(*pc, 0, 9);
    std::string image(kDataImageChars, '0');
    WriteDownSyncImage(image, *pc, 0);
    const int gainBefore = device.gain[0][0];

    EXPECT_FALSE(client->SendImage(TransferMode::DownSync, image, 2));
    EXPECT_EQ(device.gain[0][0], gainBefore);
    EXPECT_EQ(simulator->Server(0).Sessions().front()->BlocksRejected(), 1);
    // The link carries on: the next command ends the transfer and is answered.
    EXPECT_TRUE(client->Command({.code = kCmdPoll}));
    ASSERT_TRUE(client->SendImage(TransferMode::DownSync, image));
    testsupport::ExpectSameParams(*pc, 0, device, 0);
}

TEST_F(SimulatorTest, FrontPanelChangesReachTheClient) {
    Start(TestOptions(1));
    auto client = Client(0);
    ASSERT_TRUE(client->Command({.code = kCmdPoll}));
    ASSERT_TRUE(simulator->FrontPanelChange(0, kReplyLimThreshold, 5, 0, 33));
    const auto reply = client->NextReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, (ReplyFrame{.device = 0, .code = kReplyLimThreshold, .index = 5, .value = 33}));
    EXPECT_FALSE(simulator->FrontPanelChange(0, kReplyLimThreshold, 8, 0, 33));

    sim::SimOptions options = TestOptions(1);
    options.frontPanelSeconds = 0.05;
    Start(options);
    auto second = Client(0);
    ASSERT_TRUE(second->Command({.code = kCmdPoll}));
    const auto change = second->NextReply();
    ASSERT_TRUE(change);
    EXPECT_NE(change->code, kReplyMeters);
}

TEST_F(SimulatorTest, StopsAnsweringAndClosesConnectionsWhenTold) {
    sim::SimOptions options = TestOptions(2);
    options.stopAfterSeconds = 0.4;
    Start(options);
    auto client = Client(0);
    EXPECT_TRUE(client->Command({.code = kCmdPoll}));
    QTest::qWait(500);
    EXPECT_FALSE(client->Command({.code = kCmdPoll}, 300));

    options.stopAfterSeconds = 0;
    options.closeAfterSeconds = 0.2;
    Start(options);
    auto closing = Client(1);
    EXPECT_TRUE(closing->Command({.code = kCmdPoll}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return simulator->Server(1).ConnectionCount() == 0; }, 2000));
    EXPECT_FALSE(closing->Command({.code = kCmdPoll}, 300));
}

TEST_F(SimulatorTest, PacingHoldsTheSerialLineRate) {
    sim::SimOptions options = TestOptions(1);
    options.pace = true;
    Start(options);
    auto client = Client(0);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(client->ReceiveImage(TransferMode::Sync));
    // 7 blocks of 520 characters and the acknowledgement cannot arrive faster than the line.
    const double minimumMs = (7 * 520 + 3) / sim::kLineCharsPerSecond * 1000;
    EXPECT_GE(static_cast<double>(clock.elapsed()), minimumMs * 0.95);
}

TEST_F(SimulatorTest, PacingHoldsBothDirectionsAndCarriesNoCreditOverAPause) {
    sim::SimOptions options = TestOptions(1);
    options.pace = true;
    Start(options);
    auto client = Client(0);
    const auto lineMs = [](int chars) { return chars / sim::kLineCharsPerSecond * 1000; };
    QElapsedTimer clock;

    // After a quiet while, a poll still crosses the line character by character, and so does
    // the reply: 26 characters in, 16 out.
    ASSERT_TRUE(client->StaysSilent(200));
    clock.start();
    ASSERT_TRUE(client->Command({.code = kCmdPoll}));
    EXPECT_GE(static_cast<double>(clock.nsecsElapsed()) / 1e6, lineMs(26 + 16));

    // A DownSync: the device takes each block no faster than the line before it acknowledges.
    clock.start();
    ASSERT_TRUE(client->SendImage(TransferMode::DownSync, std::string(4 * 512, '5')));
    const int opening = 26 + 7 + 3;
    EXPECT_GE(static_cast<double>(clock.nsecsElapsed()) / 1e6, lineMs(opening + 4 * (520 + 3)));
}

TEST_F(SimulatorTest, ServesDevicesOnPseudoTerminals) {
    sim::SimOptions options = TestOptions(2);
    options.network = false;
    options.pty = true;
    Start(options);
    EXPECT_FALSE(simulator->Server(0).IsListening());
    const auto lines = simulator->ComLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "COM2=" + simulator->Server(1).PtyPath());

    CScriptedUiService ui;
    CScopedUiService scoped(ui);
    setenv("VELTRIX_COM2", simulator->Server(1).PtyPath().c_str(), 1);
    CScriptedClient client(1);
    ASSERT_TRUE(client.OpenSerial(2)) << (ui.shown().empty() ? "" : ui.shown()[0].text);
    unsetenv("VELTRIX_COM2");
    const auto reply = client.Command({.code = kCmdPoll});
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->device, 1);
    const auto sync = client.ReceiveImage(TransferMode::Sync);
    ASSERT_TRUE(sync);
    auto pc = std::make_unique<CTonraDoc>();
    ReadSyncImage(*sync, *pc, 1);
    testsupport::ExpectSameParams(*pc, 1, simulator->Doc(), 1);
}
