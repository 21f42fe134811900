// veltrix-cli end to end: every command against the veltrix-sim program over loopback TCP or a
// pseudo-terminal, checked on the device by reading it back, and the exit codes.
#include "CliProcesses.h"

#include "model/ProgramListFile.h"
#include "model/SetupFile.h"
#include "model/TonraDoc.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using clitest::CliRun;
using clitest::CSimProcess;
using clitest::RunCli;

namespace {

const QStringList kSyncProgress = {
    "Sync Status: Initializing", "Sync Status: 0%",  "Sync Status: 14%",
    "Sync Status: 28%",          "Sync Status: 42%", "Sync Status: 57%",
    "Sync Status: 71%",          "Sync Status: 85%", "Sync Status: Finished OK",
};

model::DeviceSetup ReadSetup(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size(), model::kSetupFileSize);
    model::DeviceSetup setup;
    EXPECT_TRUE(model::ReadSetupFile(bytes, setup).complete);
    return setup;
}

class CliDeviceTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }

    CliRun Run(const QStringList& arguments) { return RunCli(arguments, environment); }

    QMap<QString, QStringList> DeviceSheet(const QStringList& target, const QString& name) {
        return clitest::DeviceSheet(target, Path(name), environment);
    }

    QTemporaryDir dir;
    CSimProcess sim;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

} // namespace

TEST_F(CliDeviceTest, SyncSavesTheSetupFileOfTheDeviceInItsSlot) {
    ASSERT_TRUE(sim.StartTcp({"--devices", "2", "--model", "RLT-1448,KVA-1326"}));
    const CliRun run =
        Run(QStringList{"sync"} + sim.TcpTarget(1) + QStringList{"--slot", "1", "--out", Path("second.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.ErrLines(), kSyncProgress);
    const model::DeviceSetup setup = ReadSetup(Path("second.dat"));
    EXPECT_EQ(setup.deviceModel, "KVA-1326");
    EXPECT_EQ(setup.inputCount, 2);
    EXPECT_EQ(setup.outputCount, 6);

    // The frames carry the slot's bit: a device in another slot does not answer them.
    const CliRun other =
        Run(QStringList{"sync"} + sim.TcpTarget(1) + QStringList{"--out", Path("other.dat")});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.ErrLines().contains("Sync Status: Failed")) << other.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("other.dat")));
}

TEST_F(CliDeviceTest, SyncOverAPseudoTerminal) {
    ASSERT_TRUE(sim.StartPty({"--model", "NQVE-1888"}));
    environment = sim.PtyEnvironment();
    const CliRun run = Run({"sync", "--com", "1", "--out", Path("serial.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const model::DeviceSetup setup = ReadSetup(Path("serial.dat"));
    EXPECT_EQ(setup.deviceModel, "NQVE-1888");
    EXPECT_EQ(setup.inputCount, 8);
}

TEST_F(CliDeviceTest, AWrongPasswordEndsWithThree) {
    ASSERT_TRUE(sim.StartTcp({"--password", "AB"}));
    const CliRun wrong =
        Run(QStringList{"sync"} + sim.TcpTarget() + QStringList{"--password", "XY", "--out", Path("x.dat")});
    EXPECT_EQ(wrong.exitCode, 3);
    EXPECT_TRUE(wrong.err.contains("Incorrect device password.\nControl capability disabled."))
        << wrong.err.toStdString();
    EXPECT_TRUE(wrong.ErrLines().contains("Link Status: Disabled"));
    EXPECT_FALSE(QFile::exists(Path("x.dat")));

    const CliRun none = Run(QStringList{"set"} + sim.TcpTarget() + QStringList{"2", "0", "0", "200"});
    EXPECT_EQ(none.exitCode, 3);
    const auto sheet = DeviceSheet(sim.TcpTarget() + QStringList{"--password", "AB"}, "x.dat");
    EXPECT_EQ(sheet["Level"].value(0), "0.00");
}

TEST_F(CliDeviceTest, SetChangesParametersOnTheDevice) {
    ASSERT_TRUE(sim.StartTcp());
    const QStringList target = sim.TcpTarget();
    for (const QStringList& change : {QStringList{"2", "0", "0", "170"}, QStringList{"9", "4", "0", "Main"},
                                      QStringList{"12", "5", "1", "1980"}}) {
        const CliRun run = Run(QStringList{"set"} + target + change);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const auto sheet = DeviceSheet(target, "after.dat");
    EXPECT_EQ(sheet["Level"].value(0), "+2.50");
    EXPECT_EQ(sheet["Level"].value(1), "0.00");
    EXPECT_EQ(sheet["Name"].value(4), "Main");
    EXPECT_EQ(sheet["XFreq-Hi"].value(5), "2000");

    // The device's own channel counts decide what can be set.
    EXPECT_EQ(Run(QStringList{"set"} + target + QStringList{"2", "12", "0", "170"}).exitCode, 2);
    EXPECT_EQ(Run(QStringList{"set"} + target + QStringList{"12", "0", "1", "1980"}).exitCode, 2);
}

TEST_F(CliDeviceTest, DownSyncWritesASetupFileToTheDevice) {
    ASSERT_TRUE(sim.StartTcp());
    const QStringList target = sim.TcpTarget();
    ASSERT_EQ(Run(QStringList{"sync"} + target + QStringList{"--out", Path("before.dat")}).exitCode, 0);
    {
        CTonraDoc doc;
        doc.OnNewDocument();
        ASSERT_TRUE(doc.OnOpenDocument(Path("before.dat").toStdString()));
        doc.SetParam(model::kDelay, 960, 1, 0);
        doc.SetParam(model::kLimThreshold, 60, 11, 0);
        ASSERT_TRUE(doc.OnSaveDocument(Path("edited.dat").toStdString()));
        // The same device with other channel counts.
        doc.SetInputCount(2);
        ASSERT_TRUE(doc.OnSaveDocument(Path("two-in.dat").toStdString()));
    }
    const CliRun run = Run(QStringList{"downsync"} + target + QStringList{"--in", Path("edited.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.ErrLines().contains("Download Status: 75%"));
    EXPECT_EQ(run.ErrLines().last(), "DownSync Status: Finished");
    const auto sheet = DeviceSheet(target, "after.dat");
    EXPECT_EQ(sheet["Delay"].value(1), "960");
    EXPECT_EQ(sheet["Threshold"].value(11), "+10.0");

    const CliRun refused = Run(QStringList{"downsync"} + target + QStringList{"--in", Path("two-in.dat")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(
        refused.err.contains("Error: Channel numbers are different: the setup file has 2 inputs and 8 "
                             "outputs, the device 4 inputs and 8 outputs."))
        << refused.err.toStdString();
}

TEST_F(CliDeviceTest, UploadDownloadAndRecallOfThePrograms) {
    ASSERT_TRUE(sim.StartTcp());
    const QStringList target = sim.TcpTarget();
    const CliRun upload = Run(QStringList{"upload"} + target + QStringList{"--list", Path("all.lst")});
    ASSERT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_TRUE(upload.ErrLines().contains("Upload Status: Finished OK"));
    EXPECT_EQ(QFileInfo(Path("all.lst")).size(), model::kProgramListFileSize);
    const auto list = model::ReadProgramListFile(Path("all.lst").toStdString());
    ASSERT_TRUE(list);
    for (const std::string& name : *list) {
        ASSERT_FALSE(name.empty());
        EXPECT_TRUE(QFile::exists(Path(QString::fromStdString(name) + ".dat"))) << name;
    }

    // Program 1 with a new level goes to the device and comes back when recalled.
    const std::string first = Path(QString::fromStdString((*list)[0]) + ".dat").toStdString();
    {
        CTonraDoc doc;
        doc.OnNewDocument();
        ASSERT_TRUE(doc.OnOpenDocument(first));
        doc.SetParam(model::kGain, 200, 0, 0);
        ASSERT_TRUE(doc.OnSaveDocument(first));
    }
    const CliRun download = Run(QStringList{"download"} + target + QStringList{"--list", Path("all.lst")});
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    const QStringList lines = download.ErrLines();
    EXPECT_TRUE(lines.contains("Download Status: Finished"));
    EXPECT_GT(lines.lastIndexOf("Sync Status: Finished OK"), lines.indexOf("Download Status: Finished"));

    const CliRun recall = Run(QStringList{"recall"} + target + QStringList{"1"});
    ASSERT_EQ(recall.exitCode, 0) << recall.err.toStdString();
    EXPECT_EQ(DeviceSheet(target, "live.dat")["Level"].value(0), "+10.00");

    // A list naming a program file that is not there.
    QFile::remove(QString::fromStdString(first));
    const CliRun broken = Run(QStringList{"download"} + target + QStringList{"--list", Path("all.lst")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains("File List Error")) << broken.err.toStdString();
}

TEST_F(CliDeviceTest, MonitorPrintsTheLinkStatusAndTheMetersWithTheirTime) {
    ASSERT_TRUE(sim.StartTcp());
    const CliRun run = Run(QStringList{"monitor"} + sim.TcpTarget() + QStringList{"--seconds", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_GE(lines.size(), 6) << run.out.toStdString();
    EXPECT_EQ(lines[0], "Device: RLT-1448 in slot 0, 4 inputs, 8 outputs");
    EXPECT_TRUE(lines[1].startsWith("Channels: In 1 \"")) << lines[1].toStdString();
    EXPECT_EQ(lines[3], "seconds\tevent");
    EXPECT_EQ(lines[4], "0.000\tanswering");
    // Twelve meters, each labelled and drawn as 15 segments.
    static const QRegularExpression kMeters(
        "^\\d+\\.\\d{3}\\tIn 1 \\|[# ]{15}\\|( (In|Out) \\d \\|[# ]{15}\\|){11}$");
    static const QRegularExpression kLinkOk("^\\d+\\.\\d{3}\\tLink Status: OK$");
    int meters = 0;
    bool linkOk = false;
    double last = 0;
    for (const QString& line : lines.mid(4)) {
        meters += kMeters.match(line).hasMatch() ? 1 : 0;
        linkOk = linkOk || kLinkOk.match(line).hasMatch();
        const double seconds = line.section('\t', 0, 0).toDouble();
        EXPECT_GE(seconds, last);
        last = seconds;
    }
    EXPECT_GE(meters, 2) << run.out.toStdString();
    EXPECT_TRUE(linkOk) << run.out.toStdString();

    const CliRun limited =
        Run(QStringList{"monitor"} + sim.TcpTarget() + QStringList{"--seconds", "30", "--timeout", "1.5"});
    EXPECT_EQ(limited.exitCode, 1);
    EXPECT_TRUE(limited.err.contains("--timeout")) << limited.err.toStdString();
}

TEST_F(CliDeviceTest, FilesAreCheckedBeforeTheDeviceIsReached) {
    // Nothing listens here; each command must end on its file before it would notice.
    const QStringList nowhere = {"--ip", "127.0.0.2", "--port", "1"};
    const CliRun in = Run(QStringList{"downsync"} + nowhere + QStringList{"--in", Path("missing.dat")});
    EXPECT_EQ(in.exitCode, 1);
    EXPECT_TRUE(in.err.contains("missing.dat")) << in.err.toStdString();
    EXPECT_FALSE(in.err.contains("Sync Status"));
    EXPECT_EQ(Run(QStringList{"download"} + nowhere + QStringList{"--list", Path("missing.lst")}).exitCode,
              1);
    EXPECT_EQ(
        Run(QStringList{"sync"} + nowhere + QStringList{"--out", Path("no/such/folder/x.dat")}).exitCode, 1);
    EXPECT_EQ(Run(QStringList{"upload"} + nowhere + QStringList{"--list", Path("no/such/all.lst")}).exitCode,
              1);

    // A list entry that reaches out of the list's folder is refused by name.
    model::ProgramList escaping;
    escaping[2] = "../../outsid";
    std::string problem;
    ASSERT_TRUE(model::WriteProgramListFile(Path("escaping.lst").toStdString(), escaping, problem));
    const CliRun outside =
        Run(QStringList{"download"} + nowhere + QStringList{"--list", Path("escaping.lst")});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(outside.err.contains("Entry 3 of the program list, \"../../outsid\", is not a file name"))
        << outside.err.toStdString();
}
