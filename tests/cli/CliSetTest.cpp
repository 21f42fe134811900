// veltrix-cli set in the units a person reads, against the veltrix-sim program: each value
// is converted as the pages convert typed numbers, checked on the device by reading it back,
// and printed as the data sheet shows it.
#include "CliProcesses.h"
#include "ScriptedPeer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using clitest::CliRun;
using clitest::CSimProcess;
using clitest::RunCli;

namespace {

class CliSetTest : public ::testing::Test {
protected:
    CliRun Set(const QStringList& target, const QStringList& change) {
        return RunCli(QStringList{"set"} + target + change, environment);
    }

    QMap<QString, QStringList> DeviceSheet(const QStringList& target) {
        return clitest::DeviceSheet(target, dir.filePath("readback.dat"), environment);
    }

    QTemporaryDir dir;
    CSimProcess sim;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

} // namespace

TEST_F(CliSetTest, ValuesInTheirUnitsSetTheIndexThePagesWouldAndPrintTheSheetText) {
    ASSERT_TRUE(sim.StartTcp({"--model", "RLT-1448"})); // 4 inputs, 8 outputs
    const QStringList target = sim.TcpTarget();
    // The typed value, what the data sheet shows for the index it stands for.
    const QList<QPair<QStringList, QString>> changes = {
        {{"level", "in1", "+2.5"}, "In 1 Level +2.50"},   // 2.5 x 4 + 160 = 170
        {{"level", "in2", "-3.5dB"}, "In 2 Level -3.50"}, // 146
        {{"delay", "out3", "10ms"}, "Out 3 Delay 480"},   // 10 x 48 samples
        {{"delay", "in3", "2.9 ms"}, "In 3 Delay 139"},   // trunc(139.2)
        {{"eq-freq", "in2", "3", "1000"}, "In 2 EQ3 Freq 1000"},
        {{"eq-freq", "in1", "2", "2,5k"}, "In 1 EQ2 Freq 2500"}, // as the EQ editor reads it
        {{"level", "in4", "-1,25dB"}, "In 4 Level -1.25"},
        {{"eq-width", "in4", "1", "0.33"}, "In 4 EQ1 BW 0.33"},
        {{"xover-type", "out1", "hp", "LR"}, "Out 1 XType-Lo LR"},
        {{"xover-slope", "out2", "lp", "24"}, "Out 2 XSlope-Hi 24"},
        {{"threshold", "out4", "+0.5"}, "Out 4 Threshold +0.5"},
        {{"release", "out4", "8X"}, "Out 4 Release 8X"},
        {{"mute", "out2", "on"}, "Out 2 Mute On"},
        {{"polarity", "in1", "-"}, "In 1 Polarity -"},
        {{"name", "out8", "Sub"}, "Out 8 Name Sub"},
        {{"level", "5", "--raw", "150"}, "Out 2 Level -2.50"},
    };
    for (const auto& [change, shown] : changes) {
        const CliRun run = Set(target, change);
        EXPECT_EQ(run.exitCode, 0) << change.join(' ').toStdString() << "\n" << run.err.toStdString();
        EXPECT_EQ(run.out.trimmed(), shown) << change.join(' ').toStdString();
    }
    const auto sheet = DeviceSheet(target);
    EXPECT_EQ(sheet["Level"].value(0), "+2.50");
    EXPECT_EQ(sheet["Level"].value(1), "-3.50");
    EXPECT_EQ(sheet["Delay"].value(6), "480");
    EXPECT_EQ(sheet["EQ3 Freq"].value(1), "1000");
    EXPECT_EQ(sheet["XType-Lo"].value(4), "LR");
    EXPECT_EQ(sheet["Name"].value(11), "Sub");

    // The kind-number form of existing scripts: kind 2 of channel 0 to index 170.
    const CliRun byKind = Set(target, {"2", "0", "0", "180"});
    EXPECT_EQ(byKind.exitCode, 0) << byKind.err.toStdString();
    EXPECT_EQ(byKind.out.trimmed(), "In 1 Level +5.00");
}

TEST_F(CliSetTest, ValuesAndChannelsTheDeviceDoesNotHaveAreRefusedWithTheirRange) {
    ASSERT_TRUE(sim.StartTcp({"--model", "KVA-1326"})); // 2 inputs, 6 outputs, 2400 samples of delay
    const QStringList target = sim.TcpTarget();
    const QList<QPair<QStringList, QString>> refusals = {
        {{"level", "in1", "+20"}, "-40.00 to +15.00 dB"},
        {{"delay", "in1", "100ms"}, "0 to 2400 samples"},
        {{"level", "in3", "0"}, "in1..in2"},
        {{"threshold", "out7", "0"}, "out1..out6"},
        {{"eq-freq", "in1", "1", "10"}, "20 to 20000 Hz"},
        {{"level", "in1", "loud"}, "no value of level"},
        {{"xover-type", "out1", "hp", "FIR"}, "None, BUT, LR or BES"},
    };
    for (const auto& [change, range] : refusals) {
        const CliRun run = Set(target, change);
        EXPECT_EQ(run.exitCode, 2) << change.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(range)) << run.err.toStdString();
        EXPECT_TRUE(run.ErrLines().endsWith("run veltrix-cli --help")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(DeviceSheet(target)["Level"].value(0), "0.00");
}

TEST_F(CliSetTest, OverAPseudoTerminal) {
    ASSERT_TRUE(sim.StartPty({"--model", "NQVE-1888"}));
    environment = sim.PtyEnvironment();
    const CliRun run = Set({"--com", "1"}, {"mix", "out1", "in2", "-6"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // A mixing device: (v - 161) / 4 dB, so -6 dB is index 137.
    EXPECT_EQ(run.out.trimmed(), "Out 1 Src In2 -6.00");
}

TEST_F(CliSetTest, ADeviceThatDoesNotAnswerAfterTheChangeEndsWithOne) {
    using Fault = clitest::CScriptedPeer::Fault;
    for (const Fault fault : {Fault::Close, Fault::Silence}) {
        clitest::CScriptedPeer peer(fault, devlink::TransferMode::Idle);
        ASSERT_TRUE(peer.Start());
        const CliRun run = Set(peer.Target(), {"level", "in1", "+2.5"});
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(fault == Fault::Close ? "ended" : "did not answer the Sync"))
            << run.err.toStdString();
    }
}
