// veltrix-cli ports: where the COM numbers lead (the simulator's pseudo-terminals, a mapping in
// the settings to an adapter that is not there) and, for a user outside a port's group, why the
// port is refused and the command that fixes it.
#include "CliProcesses.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using clitest::CliRun;
using clitest::CSimProcess;
using clitest::RunCli;

namespace {

constexpr int kRunMs = 60000;
constexpr uid_t kNobody = 65534;
constexpr const char* kMissingAdapter = "/dev/serial/by-id/usb-Maker_Gone_0-if00-port0";

QJsonArray ComPorts(const CliRun& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object().value("comPorts").toArray();
}

TEST(CliPortsTest, ListsWhereEachComNumberLeadsAndWhetherItsPortCanBeOpened) {
    CSimProcess simulator;
    ASSERT_TRUE(simulator.StartPty());
    QProcessEnvironment environment = simulator.PtyEnvironment();
    const QString pty = environment.value("VELTRIX_COM1");
    ASSERT_FALSE(pty.isEmpty());
    const QTemporaryDir config;
    environment.insert("XDG_CONFIG_HOME", config.path());
    QSettings(config.filePath("Veltrix/Veltrix.conf"), QSettings::IniFormat)
        .setValue("SerialPorts/COM5", kMissingAdapter);

    const CliRun text = RunCli({"ports"}, environment);
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = text.OutLines();
    const auto com1 = lines.indexOf("COM1 -> " + pty);
    ASSERT_GE(com1, 0) << text.out.toStdString();
    EXPECT_EQ(lines.value(com1 + 1), "  set by       VELTRIX_COM1");
    EXPECT_EQ(lines.value(com1 + 2), "  may open     yes");
    EXPECT_TRUE(lines.value(com1 + 3).startsWith("  in use by    veltrix-sim (process "))
        << text.out.toStdString();
    const auto com5 = lines.indexOf(QString("COM5 -> ") + kMissingAdapter);
    ASSERT_GT(com5, com1) << text.out.toStdString();
    EXPECT_EQ(lines.value(com5 + 1), "  set by       the settings (SerialPorts/COM5)");
    EXPECT_EQ(lines.value(com5 + 2), "  may open     no: not there");

    const CliRun json = RunCli({"ports", "--json"}, environment);
    EXPECT_EQ(json.exitCode, 0);
    const QJsonArray comPorts = ComPorts(json);
    ASSERT_EQ(comPorts.size(), 2) << json.out.toStdString();
    EXPECT_EQ(comPorts[0].toObject().value("com").toInt(), 1);
    EXPECT_EQ(comPorts[0].toObject().value("source").toString(), "environment");
    EXPECT_TRUE(comPorts[0].toObject().value("mayOpen").toBool());
    EXPECT_EQ(comPorts[1].toObject().value("path").toString(), kMissingAdapter);
    EXPECT_FALSE(comPorts[1].toObject().value("present").toBool());
    EXPECT_TRUE(QJsonDocument::fromJson(json.out.toUtf8()).object().value("ports").isArray());
}

TEST(CliPortsTest, APortOfAGroupTheUserIsNotInNamesThatGroupAndTheCommandThatJoinsIt) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "acting as another user needs root";
    }
    const group* portGroup = getgrnam("dialout");
    portGroup = portGroup ? portGroup : getgrnam("uucp");
    ASSERT_NE(portGroup, nullptr);
    const std::string groupName = portGroup->gr_name;
    const QTemporaryDir dir;
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    const std::string device = dir.filePath("ttyUSB9").toStdString();
    std::ofstream(device) << "";
    ASSERT_EQ(chown(device.c_str(), 0, portGroup->gr_gid), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VELTRIX_COM2", QString::fromStdString(device));
    environment.insert("XDG_CONFIG_HOME", dir.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([] {
        // The user nobody, in no group but its own.
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            _exit(99);
        }
    });
    process.start(VELTRIX_CLI_PROGRAM, {"ports", "--json"});
    ASSERT_TRUE(process.waitForFinished(kRunMs));
    CliRun run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_EQ(run.exitCode, 0) << process.readAllStandardError().toStdString();

    const QJsonArray comPorts = ComPorts(run);
    ASSERT_EQ(comPorts.size(), 1) << run.out.toStdString();
    const QJsonObject com2 = comPorts[0].toObject();
    EXPECT_TRUE(com2.value("present").toBool());
    EXPECT_FALSE(com2.value("mayOpen").toBool());
    EXPECT_EQ(com2.value("reason").toString().toStdString(),
              "only members of the group \"" + groupName + "\" may use it");
    EXPECT_EQ(com2.value("fix").toString().toStdString(),
              "sudo usermod -aG " + groupName + " nobody, then log out and in again");
}

} // namespace
