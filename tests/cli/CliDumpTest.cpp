// veltrix-cli as a program without a device: dump of setup files, and bad usage.
#include "CliProcesses.h"

#include "model/TonraDoc.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using clitest::RunCli;

TEST(CliDump, PrintsTheDataSheetOfASavedSetupFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("two-in.dat");
    {
        CTonraDoc doc;
        doc.OnNewDocument();
        doc.deviceModel[0] = "KVA-1326";
        doc.SetInputCount(2);
        doc.SetOutputCount(6);
        doc.SetParamText(model::kChannelName, "Vox", 1);
        doc.SetParam(model::kGain, 150, 1, 0);
        doc.SetParam(model::kXoverSlope, 7, 7, model::kHighPass);
        doc.SetParam(model::kLimRelease, 0, 7, 0);
        ASSERT_TRUE(doc.OnSaveDocument(path.toStdString()));
    }
    const clitest::CliRun run = RunCli({"dump", path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    // The header and 28 channel rows, 2 mix rows, 6 crossover rows and 3 limiter rows.
    ASSERT_EQ(lines.size(), 1 + 28 + 2 + 9);
    EXPECT_EQ(lines[0], "\tInput 1\tInput 2\tOutput 1\tOutput 2\tOutput 3\tOutput 4\tOutput 5\tOutput 6");
    const auto cells = [&](int row) { return lines[row + 1].split('\t'); };
    for (int row = 0; row < lines.size() - 1; ++row) {
        EXPECT_EQ(cells(row).size(), 9) << lines[row + 1].toStdString();
    }
    EXPECT_EQ(cells(0)[0], "Name");
    EXPECT_EQ(cells(0)[2], "Vox");
    EXPECT_EQ(cells(1)[0], "Level");
    EXPECT_EQ(cells(1)[1], "0.00");
    EXPECT_EQ(cells(1)[2], "-2.50");
    EXPECT_EQ(cells(29)[0], "Src In2");
    EXPECT_EQ(cells(29)[1], "");
    EXPECT_EQ(cells(29)[2], "");
    EXPECT_EQ(cells(30)[0], "XType-Lo");
    EXPECT_EQ(cells(32)[0], "XSlope-Lo");
    EXPECT_EQ(cells(32)[8], "48");
    EXPECT_EQ(cells(32)[7], "24");
    EXPECT_EQ(cells(38)[0], "Release");
    EXPECT_EQ(cells(38)[8], "2X");
}

TEST(CliDump, AFileThatCannotBeReadEndsWithOne) {
    QTemporaryDir dir;
    const clitest::CliRun missing = RunCli({"dump", dir.filePath("missing.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Cannot open the setup file")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());

    QFile truncated(dir.filePath("short.dat"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(QByteArray(100, '\xFF'));
    truncated.close();
    EXPECT_EQ(RunCli({"dump", truncated.fileName()}).exitCode, 1);

    // A pipe without a writer is refused at once instead of waiting for one.
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    const clitest::CliRun piped = RunCli({"dump", pipe});
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_TRUE(piped.err.contains("no regular file")) << piped.err.toStdString();
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(CliUsage, BadUsageGivesTheReasonAndWhereToFindHelp) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"sync", "--out", "x.dat"},
          QStringList{"recall", "--ip", "127.0.0.2", "31"},
          QStringList{"set", "--ip", "127.0.0.2", "level", "in9", "0"}, QStringList{"help", "backup"}}) {
        const clitest::CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        ASSERT_EQ(run.ErrLines().size(), 2) << run.err.toStdString();
        EXPECT_TRUE(run.ErrLines()[0].startsWith("veltrix-cli: "));
        EXPECT_EQ(run.ErrLines()[1], "run veltrix-cli --help");
    }
    const clitest::CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage:"));
    EXPECT_TRUE(help.out.contains("veltrix-cli help COMMAND"));

    // The details of a command, with its parameter names, units and examples.
    const clitest::CliRun set = RunCli({"help", "set"});
    EXPECT_EQ(set.exitCode, 0);
    for (const char* part : {"eq-freq", "Hz", "xover-type", "None, BUT, LR or BES", "--raw", "Examples:"}) {
        EXPECT_TRUE(set.out.contains(part)) << part;
    }
    EXPECT_EQ(RunCli({"set", "--help"}).out, set.out);
}
