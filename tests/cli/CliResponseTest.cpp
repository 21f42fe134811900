// veltrix-cli response as a program: the summed curves of a saved setup file, checked against
// the response formulas, one output as FRD, the prediction for a measurement, and bad usage.
#include "CliProcesses.h"

#include "model/TonraDoc.h"

#include <QFile>
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

// A REW text export of output 1, with commas, comments and points beyond 20 Hz .. 20 kHz.
QString SaveMeasurement(const QTemporaryDir& dir, const QByteArray& lines) {
    const QString path = dir.filePath("out1.txt");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("* Measurement data measured by REW V5.20\r\n* Freq(Hz), SPL(dB), Phase(degrees)\r\n" + lines);
    return path;
}

// A setup with input 1 at +10 dB and nothing else: a measurement made with it.
QString SaveBaseline(const QTemporaryDir& dir) {
    const QString path = dir.filePath("baseline.dat");
    CTonraDoc doc;
    doc.OnNewDocument();
    doc.SetParam(model::kGain, 200, 0, 0);
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
          QStringList{"dump", path, "--points", "10"}, QStringList{"response", path, "--format", "frd"},
          QStringList{"response", path, "--measured", path}, QStringList{"response", path, "--output", "9"},
          QStringList{"response", path, "--output", "1", "--baseline", path},
          QStringList{"response", path, "--output", "1", "--format", "csv"},
          QStringList{"response", path, "--output", "4"}}) {
        const clitest::CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.ErrLines().endsWith("run veltrix-cli --help")) << run.err.toStdString();
    }
    EXPECT_TRUE(RunCli({"--help"}).out.contains("veltrix-cli response FILE.dat [--points N]"));
}

// Output 1 of the known setup: +10 dB and a 24 dB/octave high-pass at 1 kHz, that is 10 - 3.01
// at 1 kHz, 10 - 10 log10(2^8 + 1) = -14.10 at 500 Hz, 10 - 10 log10(2^-8 + 1) = 9.98 at 2 kHz.
TEST(CliResponse, PredictsAMeasurementAtItsOwnFrequencies) {
    QTemporaryDir dir;
    const QString setup = SaveKnownSetup(dir);
    const QString measured = SaveMeasurement(
        dir, "10.0, 70.0, 0.0\r\n500.0, 85.00, -12.5\r\n# moved the microphone\r\n1000, 85.0, 3.2\r\n"
             "2000.000,84.5\r\n25000, 80, 0\r\n");
    const clitest::CliRun run =
        RunCli({"response", setup, "--measured", measured, "--output", "1", "--baseline", SaveBaseline(dir)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList({"Hz\tMeasured\tPredicted", "500.00\t85.00\t60.90",
                                           "1000.00\t85.00\t81.99", "2000.00\t84.50\t84.48"}));
    // Against a neutral device the whole response of the setup is the change.
    const clitest::CliRun neutral = RunCli({"response", setup, "--measured", measured, "--output", "1"});
    ASSERT_EQ(neutral.exitCode, 0) << neutral.err.toStdString();
    EXPECT_EQ(neutral.OutLines().mid(1),
              QStringList({"500.00\t85.00\t70.90", "1000.00\t85.00\t91.99", "2000.00\t84.50\t94.48"}));
}

TEST(CliResponse, RefusesAFileThatIsNoMeasurementNamingTheLine) {
    QTemporaryDir dir;
    const QString measured = SaveMeasurement(dir, "100, 85\r\n200, 86, 0\r\n300 dB 87\r\n");
    const clitest::CliRun run =
        RunCli({"response", SaveKnownSetup(dir), "--measured", measured, "--output", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Line 5 is no measurement line: \"300 dB 87\"")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

// One output as FRD, not limited (the high-pass reaches far below -40 dB at 20 Hz), which reads
// back as a measurement.
TEST(CliResponse, WritesOneOutputAsFrd) {
    QTemporaryDir dir;
    const QString setup = SaveKnownSetup(dir);
    const clitest::CliRun run =
        RunCli({"response", setup, "--output", "1", "--format", "frd", "--points", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_EQ(lines.size(), 2 + 2);
    EXPECT_TRUE(lines[0].startsWith('*') && lines[1].startsWith('*'));
    const double highPass20 = 10 - 10 * std::log10(std::pow(50, 8) + 1);
    EXPECT_EQ(lines[2], QString::asprintf("20.0000\t%.4f\t0", highPass20));
    EXPECT_EQ(lines[3], QString::asprintf("200.0000\t%.4f\t0", 10 - 10 * std::log10(std::pow(5, 8) + 1)));
    QFile frd(dir.filePath("out1.frd"));
    ASSERT_TRUE(frd.open(QIODevice::WriteOnly));
    frd.write(run.out.toUtf8());
    frd.close();
    const clitest::CliRun back =
        RunCli({"response", setup, "--measured", frd.fileName(), "--output", "1", "--baseline", setup});
    EXPECT_EQ(back.OutLines().value(1), QString::asprintf("20.00\t%.2f\t%.2f", highPass20, highPass20));
    EXPECT_EQ(RunCli({"response", setup, "--output", "2"}).OutLines().value(0), "Hz\tOut2");
}
