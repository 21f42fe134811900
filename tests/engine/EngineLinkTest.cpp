// The engine on its own timer against the simulator in-process, over real loopback TCP and a
// real pseudo-terminal: every transfer, edits both ways, programs, passwords and faults.
#include "app/ProblemBoxes.h"
#include "framework/ScriptedUiService.h"
#include "link/DataImages.h"
#include "link/Port.h"
#include "model/ProgramListFile.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimServer.h"
#include "sim/Simulator.h"
#include "tests/link/DocFixtures.h"
#include "tests/support/DocCompare.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdlib.h>

using namespace devlink;
using namespace model;

namespace {

constexpr int kSlot = 1;
constexpr int kComPort = 6;
constexpr int kTransferWaitMs = 30000;

sim::SimOptions TwoDevices() {
    sim::SimOptions options;
    options.deviceCount = 2;
    options.port = 0; // free ports, so that test programs running side by side never collide
    return options;
}

class EngineLinkTest : public ::testing::Test {
protected:
    EngineLinkTest() {
        doc.OnNewDocument();
        doc.pageMode = 1;
        doc.currentDevice = kSlot;
        engine.SetStatusObserver([this](const std::string& text) { statuses.push_back(text); });
        engine.SetFinishObserver([this](TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });
        engine.SetNoticeHandler(app::ShowEngineNotice);
    }
    ~EngineLinkTest() override { unsetenv(comVariable.c_str()); }

    void Start(const sim::SimOptions& options) {
        simulator = std::make_unique<sim::CSimulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        ASSERT_TRUE(engine.Create(nullptr, &doc, kSlot));
    }
    void ConnectTcp() {
        const sim::CSimServer& server = simulator->Server(kSlot);
        const quint32 address = server.Address().toIPv4Address();
        doc.connectionMode = 1;
        doc.ipAddress[kSlot] = {int(address >> 24), int((address >> 16) & 0xFF), int((address >> 8) & 0xFF),
                                int(address & 0xFF)};
        engine.SetNetworkPort(server.Port());
        ASSERT_TRUE(engine.Connect());
        EXPECT_EQ(doc.deviceOnline[kSlot], 1);
    }
    void ConnectPty() {
        setenv(comVariable.c_str(), simulator->Server(kSlot).PtyPath().c_str(), 1);
        doc.connectionMode = 0;
        doc.comPort[kSlot] = kComPort;
        ASSERT_TRUE(engine.Connect()) << engine.ConnectProblem();
    }
    // Waits for the end of the next transfer of that mode; its success.
    bool Transfer(TransferMode mode) {
        engine.RequestTransfer(mode);
        return WaitFinished(mode);
    }
    bool WaitFinished(TransferMode mode) {
        const auto done = [&] {
            return std::find_if(finished.begin(), finished.end(),
                                [&](const auto& f) { return f.first == mode; });
        };
        if (!QTest::qWaitFor([&] { return done() != finished.end(); }, kTransferWaitMs)) {
            return false;
        }
        const bool ok = done()->second;
        finished.erase(done());
        return ok;
    }
    CTonraDoc& Device() { return simulator->Doc(); }

    CScriptedUiService ui;
    CScopedUiService scopedUi{ui};
    std::string comVariable = "VELTRIX_COM" + std::to_string(kComPort);
    CTonraDoc doc;
    CPort engine;
    std::unique_ptr<sim::CSimulator> simulator;
    std::vector<std::string> statuses;
    std::vector<std::pair<TransferMode, bool>> finished;
};

TEST_F(EngineLinkTest, SyncEditsBothWaysDownSyncRecallAndStoreOverTcp) {
    Start(TwoDevices());
    linktest::FillDistinctParams(Device(), kSlot, 9);
    Device().ValidateDevice(kSlot);
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    EXPECT_EQ(statuses.back(), "Sync Status: Finished OK");
    testsupport::ExpectSameParams(doc, kSlot, Device(), kSlot);
    ASSERT_EQ(doc.passwordOk[kSlot], 1);

    doc.SetParam(kGain, 100, 0, 0, kSlot);
    doc.SetParamText(kChannelName, "Sub", 5, kSlot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Device().channelName[kSlot][9] == "Sub"; }, kTransferWaitMs));
    EXPECT_EQ(Device().gain[kSlot][0], 100);
    ASSERT_TRUE(simulator->FrontPanelChange(kSlot, kReplyLimAttack, 2, 0, 50));
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.limAttack[kSlot][2] == 50; }, kTransferWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kTransferWaitMs));

    linktest::FillDistinctParams(doc, kSlot, 4);
    ASSERT_TRUE(Transfer(TransferMode::DownSync));
    EXPECT_EQ(statuses.back(), "DownSync Status: Finished");
    testsupport::ExpectSameParams(Device(), kSlot, doc, kSlot);

    // Store: twelve name characters, then the store command; the device's answer starts a Sync.
    const std::vector<int> name = EncodeWireName("Live Mix", kProgramNameLength);
    for (int k = 0; k < kProgramNameLength; ++k) {
        engine.QueueFrame(kCmdProgramNameChar, DeviceBit(kSlot), k, 0, name[k]);
    }
    engine.QueueFrame(kCmdStoreProgram, DeviceBit(kSlot), 0, 0, 5);
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(doc.programName[kSlot][5], "Live Mix");
    EXPECT_EQ(doc.documentCaption, "Device Program 6: Live Mix");

    engine.QueueFrame(kCmdRecallProgram, DeviceBit(kSlot), 0, 0, 2);
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(doc.currentProgram[kSlot], 2);
    testsupport::ExpectSameParams(doc, kSlot, Device(), kSlot);
    EXPECT_EQ(Device().gain[kSlot][0], doc.gain[kSlot][0]);
}

TEST_F(EngineLinkTest, SyncEditAndDownSyncOverAPseudoTerminal) {
    sim::SimOptions options = TwoDevices();
    options.network = false;
    options.pty = true;
    Start(options);
    ConnectPty();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    testsupport::ExpectSameParams(doc, kSlot, Device(), kSlot);
    doc.SetParam(kDelay, 1234, 1, 0, kSlot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Device().delay[kSlot][1] == 1234; }, kTransferWaitMs));
    linktest::FillDistinctParams(doc, kSlot, 2);
    ASSERT_TRUE(Transfer(TransferMode::DownSync));
    testsupport::ExpectSameParams(Device(), kSlot, doc, kSlot);
    engine.Disconnect();
    EXPECT_FALSE(engine.SerialTransport().IsOpen());
}

TEST_F(EngineLinkTest, ARefusedPortIsToldToTheCallerAndDisconnectStopsEverything) {
    sim::SimOptions options = TwoDevices();
    options.network = false;
    options.pty = true;
    Start(options);
    ConnectPty();
    // The same port again is refused; the engine hands the reason up instead of showing it.
    EXPECT_FALSE(engine.Connect());
    EXPECT_EQ(engine.ConnectProblem(), "Selected COM port unavailable");
    EXPECT_TRUE(ui.shown().empty());

    engine.Disconnect();
    EXPECT_FALSE(engine.SerialTransport().IsOpen());
    EXPECT_EQ(doc.deviceOnline[kSlot], 0);
    EXPECT_FALSE(engine.KillTimer(kSlot)); // no timer was left running
}

TEST_F(EngineLinkTest, UploadIntoAFolderAndDownloadFromIt) {
    Start(TwoDevices());
    sim::CSimDevice& device = simulator->Device(kSlot);
    for (const auto& [program, programName] : {std::pair{0, ""}, std::pair{1, "A B"}}) {
        Device().programName[kSlot][program] = programName;
        Device().gain[kSlot][3] = 50 + program;
        device.Apply({.deviceMask = DeviceBit(kSlot), .code = kCmdStoreProgram, .value = program});
    }
    QTemporaryDir folder;
    doc.programListFile = folder.filePath("programs.lst").toStdString();
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    ASSERT_TRUE(Transfer(TransferMode::Upload));
    EXPECT_EQ(engine.FileProblem(), "");
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_TRUE(QFile::exists(folder.filePath("Program01.dat")));
    EXPECT_TRUE(QFile::exists(folder.filePath("A_B.dat")));
    const std::optional<ProgramList> list = ReadProgramListFile(doc.programListFile);
    ASSERT_TRUE(list);
    EXPECT_EQ((*list)[1], "A_B");

    // Back to the device, with program 0 taken from A_B's file.
    doc.programFiles = *list;
    doc.programFiles[0] = "A_B";
    ASSERT_EQ(engine.BuildDownloadImage(), "");
    ASSERT_TRUE(Transfer(TransferMode::Download));
    EXPECT_EQ(statuses.back(), "Download Status: Finished");
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(device.StoredProgramName(0), "A B"); // "_" is not in the device's character set
    CTonraDoc programs;
    ReadProgramRecord(device.ProgramImage(), 0, programs, 0);
    EXPECT_EQ(programs.gain[0][3], 51);
}

TEST_F(EngineLinkTest, AWrongPasswordDisablesControl) {
    sim::SimOptions options = TwoDevices();
    options.password = "4321";
    Start(options);
    engine.SetPasswordPrompt([] { return std::optional<std::string>("1111"); });
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    EXPECT_EQ(doc.passwordOk[kSlot], 0);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{"Incorrect device password.\nControl capability disabled."});
    EXPECT_EQ(doc.statusText, "Link Status: Disabled");
    doc.SetParam(kGain, 10, 0, 0, kSlot);
    QTest::qWait(500);
    EXPECT_NE(Device().gain[kSlot][0], 10);
}

TEST_F(EngineLinkTest, ADeviceThatStopsAnsweringRaisesTheLinkError) {
    constexpr int kStopAfterMs = 4000;
    sim::SimOptions options = TwoDevices();
    options.stopAfterSeconds = kStopAfterMs / 1000.0;
    QElapsedTimer clock;
    clock.start();
    Start(options);
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kTransferWaitMs));
    ASSERT_LT(clock.elapsed(), kStopAfterMs);
    QTest::qWait(static_cast<int>(kStopAfterMs - clock.elapsed()));
    // The ten seconds of silence before the error run on ticks driven from here.
    engine.KillTimer(kSlot);
    const int cycles = CPort::kLinkErrorCycles + 10; // replies still on their way may come first
    for (int tick = 0; tick < cycles * (CPort::kPollTicks + 1) && doc.statusText != "Link Status: Error";
         ++tick) {
        QCoreApplication::processEvents();
        engine.SendMessage(WM_TIMER, kSlot, 0);
    }
    EXPECT_EQ(doc.statusText, "Link Status: Error");
    EXPECT_EQ(engine.MissCount(), CPort::kLinkErrorReported);
    EXPECT_EQ(doc.meterLevel[kSlot], (std::array<int, kSlotCount>{}));
}

TEST_F(EngineLinkTest, EscapeAtThePasswordPromptLeavesTheDeviceUsable) {
    sim::SimOptions options = TwoDevices();
    options.password = "4321";
    Start(options);
    std::vector<std::optional<std::string>> answers = {std::nullopt, "4321"};
    std::size_t asked = 0;
    engine.SetPasswordPrompt([&] { return answers.at(asked++); });
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    ASSERT_EQ(doc.passwordOk[kSlot], 0);

    // Refused at once, with nothing left waiting; the next Sync asks again.
    EXPECT_EQ(engine.RequestTransfer(TransferMode::Upload), CPort::TransferStart::NoControl);
    EXPECT_EQ(engine.Mode(), TransferMode::Idle);
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    ASSERT_EQ(doc.passwordOk[kSlot], 1);
    QTemporaryDir folder;
    doc.programListFile = folder.filePath("programs.lst").toStdString();
    ASSERT_TRUE(Transfer(TransferMode::Upload));
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    doc.SetParam(kGain, 100, 0, 0, kSlot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Device().gain[kSlot][0] == 100; }, kTransferWaitMs));
}

TEST_F(EngineLinkTest, ANameAndElevenLocksQueuedJustBeforeASyncAllReachTheDevice) {
    constexpr int kLocks = 11;
    Start(TwoDevices());
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    doc.SetParamText(kChannelName, "Vocals", 0, kSlot);
    for (int lock = 0; lock < kLocks; ++lock) {
        engine.QueueFrame(kCmdSecurityLock, DeviceBit(kSlot), lock, 0, 1);
    }
    EXPECT_EQ(engine.PendingChangeCount(), kLocks + 1);
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    EXPECT_EQ(engine.PendingChangeCount(), 0);
    EXPECT_EQ(Device().channelName[kSlot][0], "Vocals");
    EXPECT_EQ(doc.channelName[kSlot][0], "Vocals");
    for (int lock = 0; lock < kLocks; ++lock) {
        EXPECT_EQ(Device().securityLocks[kSlot][lock], 1) << lock;
        EXPECT_EQ(doc.securityLocks[kSlot][lock], 1) << lock;
    }
}

int notOpenWarnings = 0;
void CountNotOpenWarnings(QtMsgType, const QMessageLogContext&, const QString& message) {
    notOpenWarnings += message.contains("not open") ? 1 : 0;
}

TEST_F(EngineLinkTest, ADeviceSwitchedOffAndOnAgainIsReadAgainWithTheChangesMadeMeanwhile) {
    Start(TwoDevices());
    int asked = 0;
    engine.SetLinkBackQuestion([&] { return ++asked > 0; }); // send the changes
    ConnectTcp();
    ASSERT_TRUE(Transfer(TransferMode::Sync));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kTransferWaitMs));

    notOpenWarnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountNotOpenWarnings);
    simulator->Server(kSlot).SwitchOff();
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: Error"; }, kTransferWaitMs));
    EXPECT_TRUE(engine.LinkError());
    doc.SetParam(kGain, 42, 1, 0, kSlot);
    QTest::qWait(CPort::kReconnectSeconds * 1000 + 500); // a reconnection that fails as well
    EXPECT_EQ(notOpenWarnings, 0);
    qInstallMessageHandler(previous);
    EXPECT_EQ(engine.PendingChangeCount(), 1);

    std::string error;
    ASSERT_TRUE(simulator->Server(kSlot).SwitchOn(error)) << error;
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Device().gain[kSlot][1], 42);
    EXPECT_EQ(doc.gain[kSlot][1], 42);
    EXPECT_FALSE(engine.LinkError());
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Link Status: OK"; }, kTransferWaitMs));
}

TEST_F(EngineLinkTest, ACorruptedBlockFailsTheSync) {
    sim::SimOptions options = TwoDevices();
    options.corruptShare = 1;
    Start(options);
    ConnectTcp();
    EXPECT_FALSE(Transfer(TransferMode::Sync));
    EXPECT_EQ(statuses.back(), "Sync Status: Failed");
    EXPECT_EQ(doc.passwordOk[kSlot], 0);
}

} // namespace
