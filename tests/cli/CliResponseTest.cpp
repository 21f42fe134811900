// veltrix-cli response as a program: the summed curves of a saved setup file, checked against
// the response formulas, and its bad usage.
#include "CliProcesses.h"

#include "model/TonraDoc.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using clitest::RunCli;

namespace {

// Input 1 (routed to every output) at +10 dB; output 1 with a 24 dB high-pass at 1 kHz,
// output 2 at +15 dB, output 3 at -5 dB with a +12 dB parametric band at 200 Hz.
QString SaveKnownSetup(const QTemporaryDir& dir) {
    const QString path = dir.filePath("three-out.dat");
    CTonraDoc doc;
    doc.OnNewDocument();
    doc.deviceModel[0] = "KVA-1326";
    doc.SetInputCount(2);
    doc.SetOutputCount(3);
    doc.SetParam(model::kGain, 200, 0, 0);
    doc.SetParam(model::kXoverType, 1, 2, model::kHighPass);
    doc.SetParam(model::kXoverFreq, 980, 2, model::kHighPass);
    doc.SetParam(model::kXoverSlope, 3, 2, model::kHighPass);
    doc.SetParam(model::kGain, 220, 3, 0);
    doc.SetParam(model::kGain, 140, 4, 0);
    doc.SetParam(model::kEqGain, 168, 4, 0);
    doc.SetParam(model::kEqFreq, 180, 4, 0);
    doc.SetParam(model::kEqWidth, 31, 4, 0);
    EXPECT_TRUE(doc.OnSaveDocument(path.toStdString()));
    return path;
}

double Frequency(int k, int points) { return 20 * std::pow(10, 3.0 * k / points); }
double Clamped(double db) { return std::clamp(db, -40.0, 20.0); }

} // namespace

TEST(CliResponse, PrintsTheSummedCurveOfEveryOutput) {
    QTemporaryDir dir;
    const clitest::CliRun run = RunCli({"response", SaveKnownSetup(dir)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_EQ(lines.size(), 1 + 959);
    EXPECT_EQ(lines[0].toStdString(), "Hz\tOut1\tOut2\tOut3");
    EXPECT_EQ(lines[1 + 320].toStdString(), "200.00\t-40.00\t20.00\t17.00");
    // A parametric band of 0.32 octaves: S = (2^0.16 / (2^0.32 - 1))^2, K = A - 1.
    const double s = std::pow(std::pow(2, 0.16) / (std::pow(2, 0.32) - 1), 2);
    const double kBand = std::pow(10, 12.0 / 20) - 1;
    for (int k = 0; k < 959; k += 13) {
        const QStringList cells = lines[1 + k].split('\t');
        ASSERT_EQ(cells.size(), 4) << k;
        const double f = Frequency(k, 960);
        EXPECT_NEAR(cells[0].toDouble(), f, 0.0051) << k;
        const double highPass = -10 * std::log10(std::pow(1000 / f, 8) + 1);
        EXPECT_NEAR(cells[1].toDouble(), Clamped(10 + highPass), 0.0051) << k;
        const double u = std::pow(f / 200, 2);
        const double band = 20 * std::log10(1 + kBand * u / (u + s * (1 - u) * (1 - u)));
        EXPECT_NEAR(cells[3].toDouble(), Clamped(10 - 5 + band), 0.0051) << k;
    }
    EXPECT_TRUE(lines.last().startsWith(QString::asprintf("%.2f\t", Frequency(958, 960))));
}

TEST(CliResponse, PointsSetTheGridWidth) {
    QTemporaryDir dir;
    const clitest::CliRun run = RunCli({"response", SaveKnownSetup(dir), "--points", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_EQ(lines.size(), 1 + 3);
    EXPECT_TRUE(lines[2].startsWith("112.47\t"));
    EXPECT_TRUE(lines[3].startsWith("632.46\t"));
}

TEST(CliResponse, BadFilesAndBadUsage) {
    QTemporaryDir dir;
    const clitest::CliRun missing = RunCli({"response", dir.filePath("missing.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Cannot open the setup file")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());
    const QString path = SaveKnownSetup(dir);
    for (const QStringList& arguments :
         {QStringList{"response"}, QStringList{"response", path, "--points", "1"},
          QStringList{"response", path, "--points", "x"}, QStringList{"response", path, "--ip", "127.0.0.2"},
          QStringList{"dump", path, "--points", "10"}}) {
        const clitest::CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.ErrLines().endsWith("run veltrix-cli --help")) << run.err.toStdString();
    }
    EXPECT_TRUE(RunCli({"--help"}).out.contains("veltrix-cli response FILE.dat [--points N]"));
}
