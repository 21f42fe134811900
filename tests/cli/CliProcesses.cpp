#include "CliProcesses.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace clitest {

namespace {

constexpr int kStartMs = 10000;
// The longest a command of the tests may take (an Upload is the longest, about ten seconds).
constexpr int kRunMs = 90000;
constexpr int kStopMs = 5000;

QStringList Lines(const QString& text) { return text.split('\n', Qt::SkipEmptyParts); }

} // namespace

QStringList CliRun::ErrLines() const { return Lines(err); }
QStringList CliRun::OutLines() const { return Lines(out); }

CliRun RunCli(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(VELTRIX_CLI_PROGRAM, arguments);
    CliRun run;
    if (!process.waitForFinished(kRunMs)) {
        process.kill();
        process.waitForFinished(kStopMs);
        run.err = "veltrix-cli did not end: " + arguments.join(' ');
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QMap<QString, QStringList> DeviceSheet(const QStringList& target, const QString& path,
                                       const QProcessEnvironment& environment) {
    const CliRun sync = RunCli(QStringList{"sync"} + target + QStringList{"--out", path}, environment);
    EXPECT_EQ(sync.exitCode, 0) << sync.err.toStdString();
    const CliRun dump = RunCli({"dump", path}, environment);
    EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    QMap<QString, QStringList> rows;
    for (const QString& line : dump.OutLines()) {
        QStringList cells = line.split('\t');
        rows[cells.takeFirst()] = cells;
    }
    return rows;
}

CSimProcess::~CSimProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(kStopMs)) {
            process_.kill();
            process_.waitForFinished(kStopMs);
        }
    }
}

bool CSimProcess::StartTcp(const QStringList& options) {
    process_.start(VELTRIX_SIM_PROGRAM, QStringList{"--port", "0"} + options);
    QStringList lines;
    const int devices =
        options.contains("--devices") ? options.at(options.indexOf("--devices") + 1).toInt() : 1;
    if (!ReadLines(devices, lines)) {
        return false;
    }
    // "Device 1: RLT-1448, 4 in / 8 out, on 127.0.0.2:41234"
    static const QRegularExpression kListening("on ([0-9.]+):(\\d+)$");
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = kListening.match(line);
        if (!match.hasMatch()) {
            return false;
        }
        targets_.append({"--ip", match.captured(1), "--port", match.captured(2)});
    }
    return true;
}

bool CSimProcess::StartPty(const QStringList& options) {
    process_.start(VELTRIX_SIM_PROGRAM, QStringList{"--pty"} + options);
    const int devices =
        options.contains("--devices") ? options.at(options.indexOf("--devices") + 1).toInt() : 1;
    return ReadLines(devices, comLines_);
}

QProcessEnvironment CSimProcess::PtyEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& line : comLines_) {
        const qsizetype equals = line.indexOf('=');
        environment.insert("VELTRIX_" + line.left(equals), line.mid(equals + 1));
    }
    return environment;
}

bool CSimProcess::ReadLines(int count, QStringList& lines) {
    if (!process_.waitForStarted(kStartMs)) {
        return false;
    }
    QString text;
    while (Lines(text).size() < count || !text.endsWith('\n')) {
        if (!process_.waitForReadyRead(kStartMs)) {
            return false;
        }
        text += QString::fromLocal8Bit(process_.readAllStandardOutput());
    }
    lines = Lines(text);
    return true;
}

} // namespace clitest
