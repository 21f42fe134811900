// veltrix-cli against a hostile device: floods, blocks cut short, a closed connection and
// silence in the middle of a Sync, an Upload and a monitor session. Each ends with a clear
// failure, exit 1 and no output file; a device that pauses and then behaves again is watched
// through it.
#include "CliProcesses.h"
#include "ScriptedPeer.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using clitest::CliRun;
using clitest::CScriptedPeer;
using clitest::RunCli;
using Fault = CScriptedPeer::Fault;
using devlink::TransferMode;

TEST(CliHostileDevice, ATransferThatGoesWrongEndsWithOneAndNoFile) {
    struct Case {
        Fault fault;
        TransferMode when;
        const char* command;
        const char* said;
    };
    const Case cases[] = {
        {Fault::Flood, TransferMode::Sync, "sync", "did not answer the Sync"},
        {Fault::CutBlock, TransferMode::Sync, "sync", "did not answer the Sync"},
        {Fault::Close, TransferMode::Sync, "sync", "ended"},
        {Fault::Flood, TransferMode::Upload, "upload", "did not answer the Upload"},
        {Fault::Silence, TransferMode::Upload, "upload", "did not answer the Upload"},
        {Fault::Close, TransferMode::Upload, "upload", "ended"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        CScriptedPeer peer(c.fault, c.when);
        ASSERT_TRUE(peer.Start());
        const bool upload = c.when == TransferMode::Upload;
        const QString output = dir.filePath(upload ? "all.lst" : "device.dat");
        const CliRun run =
            RunCli(QStringList{c.command} + peer.Target() + QStringList{upload ? "--list" : "--out", output});
        EXPECT_EQ(run.exitCode, 1) << c.command << int(c.fault) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << QDir(dir.path()).entryList().join(' ').toStdString();
    }
}

TEST(CliHostileDevice, AnUploadWhoseFollowingSyncFailsEndsWithOne) {
    QTemporaryDir dir;
    CScriptedPeer peer(Fault::Silence, TransferMode::Sync, 1);
    ASSERT_TRUE(peer.Start());
    const CliRun run =
        RunCli(QStringList{"upload"} + peer.Target() + QStringList{"--list", dir.filePath("all.lst")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("The Upload finished, but the Sync after it failed."))
        << run.err.toStdString();
}

TEST(CliHostileDevice, AMonitoredLinkShowsThePauseAndTheRecovery) {
    CScriptedPeer peer(Fault::Pause, TransferMode::Idle);
    ASSERT_TRUE(peer.Start());
    const CliRun run = RunCli(QStringList{"monitor"} + peer.Target() + QStringList{"--seconds", "3.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    const auto at = [&](const QString& event) {
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].endsWith("\t" + event)) {
                return i;
            }
        }
        return -1;
    };
    EXPECT_GT(at("no answer for 1 s"), 0) << run.out.toStdString();
    EXPECT_GT(at("answering again"), at("no answer for 1 s")) << run.out.toStdString();
    EXPECT_TRUE(lines.last().contains("|")) << run.out.toStdString(); // the meters came back

    CScriptedPeer closing(Fault::Close, TransferMode::Idle);
    ASSERT_TRUE(closing.Start());
    const CliRun closed = RunCli(QStringList{"monitor"} + closing.Target() + QStringList{"--seconds", "5"});
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_TRUE(closed.OutLines().last().contains("connection closed")) << closed.out.toStdString();
}
