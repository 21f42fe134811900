// What veltrix-cli says when a command cannot be done, how it shows progress on a terminal and
// in a pipe, and the monitor's JSON lines: the program against veltrix-sim with its faults.
#include "CliProcesses.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using clitest::CliRun;
using clitest::CSimProcess;
using clitest::RunCli;

namespace {

constexpr int kRunMs = 60000;
constexpr int kReadMs = 100;

// Runs veltrix-cli with its error output on a pseudo-terminal and returns what it wrote there.
QByteArray RunWithTerminalErrors(const QStringList& arguments) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        return {};
    }
    const QByteArray slavePath = ptsname(master);
    QProcess process;
    process.setChildProcessModifier([slavePath] {
        const int slave = open(slavePath.constData(), O_RDWR | O_NOCTTY);
        dup2(slave, STDERR_FILENO);
        close(slave);
    });
    process.start(VELTRIX_CLI_PROGRAM, arguments);
    QByteArray written;
    pollfd entry{master, POLLIN, 0};
    while (!process.waitForFinished(0) || poll(&entry, 1, 0) > 0) {
        if (poll(&entry, 1, kReadMs) > 0) {
            char chunk[256];
            const ssize_t count = read(master, chunk, sizeof(chunk));
            if (count <= 0) {
                break;
            }
            written.append(chunk, count);
        }
        if (process.state() == QProcess::NotRunning && poll(&entry, 1, 0) <= 0) {
            break;
        }
    }
    process.waitForFinished(kRunMs);
    close(master);
    return written;
}

} // namespace

TEST(CliFailures, SayWhatHappened) {
    // Nothing listens at a port that was free a moment ago.
    QTcpServer free;
    ASSERT_TRUE(free.listen(QHostAddress::LocalHost));
    const QString port = QString::number(free.serverPort());
    free.close();
    const CliRun refused = RunCli({"set", "--ip", "127.0.0.1", "--port", port, "level", "in1", "0"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Cannot connect to 127.0.0.1 port " + port + ": Connection refused."))
        << refused.err.toStdString();

    CSimProcess sim;
    ASSERT_TRUE(sim.StartTcp({"--devices", "2"}));
    const CliRun otherSlot = RunCli(QStringList{"recall"} + sim.TcpTarget(1) + QStringList{"2"});
    EXPECT_EQ(otherSlot.exitCode, 1);
    EXPECT_TRUE(otherSlot.err.contains("answers to slot 1, not to slot 0: give it with --slot 1."))
        << otherSlot.err.toStdString();

    CSimProcess damaging;
    ASSERT_TRUE(damaging.StartTcp({"--corrupt", "1"}));
    QTemporaryDir dir;
    const CliRun damaged =
        RunCli(QStringList{"sync"} + damaging.TcpTarget() + QStringList{"--out", dir.filePath("x.dat")});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains("Block 1 of 7 of the Sync arrived damaged"))
        << damaged.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.dat")));
}

TEST(CliFailures, APasswordIsAskedForOnceAndNamesTheOption) {
    CSimProcess sim;
    ASSERT_TRUE(sim.StartTcp({"--password", "AB"}));
    const CliRun run = RunCli(QStringList{"set"} + sim.TcpTarget() + QStringList{"mute", "in1", "on"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err.count("Incorrect device password."), 1) << run.err.toStdString();
    EXPECT_EQ(run.err.count("give it with --password"), 1) << run.err.toStdString();
    const CliRun given =
        RunCli(QStringList{"set"} + sim.TcpTarget() + QStringList{"--password", "AB", "mute", "in1", "on"});
    EXPECT_EQ(given.exitCode, 0) << given.err.toStdString();
}

TEST(CliFailures, AnOutputThatCannotBeWrittenIsRefusedBeforeTheTransfer) {
    CSimProcess sim;
    ASSERT_TRUE(sim.StartTcp());
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& list : {dir.path(), dir.filePath("plain/all.lst")}) {
        const CliRun run = RunCli(QStringList{"upload"} + sim.TcpTarget() + QStringList{"--list", list});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.err.contains("Upload Status")) << run.err.toStdString();
        EXPECT_EQ(run.ErrLines().size(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Cannot write the program list")) << run.err.toStdString();
    }
    const CliRun sync =
        RunCli(QStringList{"sync"} + sim.TcpTarget() + QStringList{"--out", dir.filePath("plain/x.dat")});
    EXPECT_EQ(sync.exitCode, 1);
    EXPECT_FALSE(sync.err.contains("Sync Status")) << sync.err.toStdString();
}

TEST(CliProgress, OneUpdatingLineOnATerminalAndLinesInAPipe) {
    CSimProcess sim;
    ASSERT_TRUE(sim.StartTcp());
    QTemporaryDir dir;
    const QStringList sync =
        QStringList{"sync"} + sim.TcpTarget() + QStringList{"--out", dir.filePath("x.dat")};
    const QString terminal = QString::fromLocal8Bit(RunWithTerminalErrors(sync));
    // The terminal turns the one line's end into CR LF.
    const QStringList lines = terminal.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << terminal.toStdString();
    EXPECT_TRUE(lines[0].contains("\r\033[KSync Status: 42%")) << terminal.toStdString();
    EXPECT_TRUE(lines[0].endsWith("\r\033[KSync Status: Finished OK")) << terminal.toStdString();

    const CliRun piped = RunCli(sync);
    EXPECT_TRUE(piped.ErrLines().contains("Sync Status: 42%")) << piped.err.toStdString();
    EXPECT_FALSE(piped.err.contains('\r'));
}

TEST(CliMonitor, JsonLinesForScripts) {
    CSimProcess sim;
    ASSERT_TRUE(sim.StartTcp({"--model", "KVA-1326"}));
    const CliRun run =
        RunCli(QStringList{"monitor"} + sim.TcpTarget() + QStringList{"--seconds", "1", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_GE(lines.size(), 3);
    const QJsonObject device = QJsonDocument::fromJson(lines[0].toUtf8()).object()["device"].toObject();
    EXPECT_EQ(device["model"].toString(), "KVA-1326");
    EXPECT_EQ(device["inputs"].toInt(), 2);
    EXPECT_EQ(device["outputs"].toInt(), 6);
    int meters = 0;
    double last = 0;
    for (const QString& line : lines.mid(1)) {
        QJsonParseError error{};
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        EXPECT_GE(object["time"].toDouble(), last);
        last = object["time"].toDouble();
        if (object.contains("meters")) {
            const QJsonObject levels = object["meters"].toObject();
            EXPECT_EQ(levels.keys().size(), 8);
            EXPECT_TRUE(levels.contains("In 2") && levels.contains("Out 6"));
            EXPECT_LE(levels["Out 6"].toInt(), 15);
            ++meters;
        } else {
            EXPECT_TRUE(object.contains("link")) << line.toStdString();
        }
    }
    EXPECT_GE(meters, 2);
}
