// veltrix-cli eq as a program: the bands of a saved setup file out as filter text, filter text
// into a new setup file with its report, the round trip through both, and bad usage.
#include "CliProcesses.h"

#include "model/ModelTypes.h"
#include "model/TonraDoc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using clitest::RunCli;

namespace {

// Output 1 ("MAIN") with a -3 dB band at 1 kHz of Q 4.36 and a +3 dB low shelf (12 dB) at 100 Hz.
QString SaveKnownSetup(const QTemporaryDir& dir) {
    const QString path = dir.filePath("known.dat");
    CTonraDoc doc;
    doc.OnNewDocument();
    const int out1 = doc.GetInputCount();
    doc.SetParamText(model::kChannelName, "MAIN", out1);
    doc.SetParam(model::kEqGain, 108, out1, 0);
    doc.SetParam(model::kEqType, model::kEqLowShelf, out1, 1);
    doc.SetParam(model::kEqWidth, 1, out1, 1);
    doc.SetParam(model::kEqFreq, 80, out1, 1);
    doc.SetParam(model::kEqGain, 132, out1, 1);
    EXPECT_TRUE(doc.OnSaveDocument(path.toStdString()));
    return path;
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
}

} // namespace

TEST(CliEq, ExportsTheBandsAsRewAndApoText) {
    QTemporaryDir dir;
    const QString setup = SaveKnownSetup(dir);
    const clitest::CliRun rew = RunCli({"eq", "export", setup, "out1"});
    ASSERT_EQ(rew.exitCode, 0) << rew.err.toStdString();
    const QStringList lines = rew.OutLines();
    ASSERT_EQ(lines.size(), 3 + 6); // blank lines left out
    EXPECT_EQ(lines[1], "Veltrix Out 1 MAIN");
    EXPECT_EQ(lines[3], "Filter  1: ON  PK       Fc   1000 Hz  Gain  -3.00 dB  Q  4.36");
    EXPECT_EQ(lines[4], "Filter  2: ON  LS 12dB  Fc    100 Hz  Gain   3.00 dB");
    const clitest::CliRun apo = RunCli({"eq", "export", setup, "out1", "--format", "apo"});
    ASSERT_EQ(apo.exitCode, 0) << apo.err.toStdString();
    EXPECT_EQ(apo.OutLines().mid(1, 2), QStringList({"Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 4.36",
                                                     "Filter 2: ON LS 12dB Fc 100 Hz Gain 3 dB"}));
}

TEST(CliEq, ImportsWithAReportAndTheRoundTripKeepsTheBands) {
    QTemporaryDir dir;
    const QString setup = SaveKnownSetup(dir);
    const QString tuned = dir.filePath("tuned.dat");
    const QString filters = WriteText(dir, "rew.txt",
                                      "Filter Settings file\n\nRoom EQ V5.20\nEqualiser: Generic\n"
                                      "Filter  1: ON  PK       Fc   63.5 Hz  Gain  -6.50 dB  Q  4.30\n"
                                      "Filter  2: ON  HP       Fc     30 Hz\n"
                                      "Filter  3: ON  HS 6dB   Fc   8000 Hz  Gain   2.00 dB\n");
    const clitest::CliRun run = RunCli({"eq", "import", setup, "in2", filters, "--out", tuned});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.OutLines(),
              QStringList({"Filter 1: placed in band 1 approximately: Fc 63.5 Hz -> 64 Hz, Q 4.30 -> 4.36",
                           "Filter 2: not placed: HP is not a band type (PK, LS, HS)",
                           "Filter 3: placed in band 2 exactly", "Bands 3, 4, 5 and 6 set flat (0 dB).",
                           "Saved " + tuned + "."}));
    const QStringList in2 = RunCli({"eq", "export", tuned, "in2", "--format", "apo"}).OutLines();
    EXPECT_EQ(in2.mid(1, 3), QStringList({"Filter 1: ON PK Fc 64 Hz Gain -6.5 dB Q 4.36",
                                          "Filter 2: ON HS 6dB Fc 8000 Hz Gain 2 dB",
                                          "Filter 3: ON PK Fc 1000 Hz Gain 0 dB Q 4.36"}));

    // Out 1 exported and imported into input 1 of the new file gives the same six filters.
    const clitest::CliRun out1 = RunCli({"eq", "export", setup, "out1"});
    const QString exported = WriteText(dir, "out1.txt", out1.out.toUtf8());
    const QString again = dir.filePath("again.dat");
    const clitest::CliRun back = RunCli({"eq", "import", tuned, "in1", exported, "--out", again});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(back.OutLines().filter("exactly").size(), 6) << back.out.toStdString();
    EXPECT_EQ(RunCli({"eq", "export", again, "in1"}).OutLines().mid(3), out1.OutLines().mid(3));
}

TEST(CliEq, NothingPlacedBadFilesAndBadUsage) {
    QTemporaryDir dir;
    const QString setup = SaveKnownSetup(dir);
    const QString none = WriteText(dir, "none.txt", "Filter 1: ON LP Fc 80 Hz\nFilter 2: OFF PK\n");
    const QString newFile = dir.filePath("new.dat");
    const clitest::CliRun nothing = RunCli({"eq", "import", setup, "in1", none, "--out", newFile});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.OutLines().last(), "No filter placed: the channel stays as it was.");
    EXPECT_FALSE(QFile::exists(newFile));

    const clitest::CliRun missing =
        RunCli({"eq", "import", setup, "in1", dir.filePath("x.txt"), "--out", newFile});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Cannot open the filter file")) << missing.err.toStdString();

    for (const QStringList& arguments :
         {QStringList{"eq", "export", setup}, QStringList{"eq", "show", setup, "in1"},
          QStringList{"eq", "export", setup, "in9"}, QStringList{"eq", "export", setup, "in5"},
          QStringList{"eq", "export", setup, "in1", "--format", "frd"},
          QStringList{"eq", "import", setup, "in1", none},
          QStringList{"eq", "import", setup, "in1", none, "--out", newFile, "--format", "apo"},
          QStringList{"eq", "export", setup, "in1", "--out", newFile}}) {
        const clitest::CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.ErrLines().endsWith("run veltrix-cli --help")) << run.err.toStdString();
    }
}
