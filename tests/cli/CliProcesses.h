// The programs under test as processes: veltrix-cli run to its end, and veltrix-sim serving
// its devices on free ports or pseudo-terminals for as long as a test needs them.
#pragma once

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace clitest {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
    // The error output line by line.
    QStringList ErrLines() const;
    QStringList OutLines() const;
};

// Runs veltrix-cli with `arguments` until it ends.
CliRun RunCli(const QStringList& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Reads the device at `target` into the setup file `path` with sync and returns the data sheet
// dump of it: row label -> cells.
QMap<QString, QStringList> DeviceSheet(const QStringList& target, const QString& path,
                                       const QProcessEnvironment& environment);

class CSimProcess {
public:
    CSimProcess() = default;
    ~CSimProcess();
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;

    // Starts veltrix-sim over TCP on free ports with the extra `options`; false when it does
    // not come up.
    bool StartTcp(const QStringList& options = {});
    // Starts veltrix-sim on pseudo-terminals.
    bool StartPty(const QStringList& options = {});

    // "--ip 127.0.0.2 --port P" for device `slot`.
    QStringList TcpTarget(int slot = 0) const { return targets_.value(slot); }
    // An environment that maps COM 1, COM 2, ... to the pseudo-terminals.
    QProcessEnvironment PtyEnvironment() const;

private:
    // Waits for one line on the simulator's standard output per device.
    bool ReadLines(int count, QStringList& lines);

    QProcess process_;
    QList<QStringList> targets_;
    QStringList comLines_;
};

} // namespace clitest
