// The measurement reader: the exports of measurement programs as bytes, and files on disk that
// are no measurement, refused with the line that shows it.
#include "model/Measurement.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using model::Measurement;

namespace {

std::optional<Measurement> Parse(const char* text, std::string& problem) {
    return model::ParseMeasurement(QByteArrayView(text), problem);
}

} // namespace

// Blanks, tabs, commas, semicolons with decimal commas, signs and exponents; comments, headers
// and empty lines between; the phase optional; CR LF and CR alone as line ends.
TEST(Measurement, ReadsTheLinesOfMeasurementExports) {
    std::string problem;
    const auto rew = Parse("* Measurement data measured by REW V5.20\r\n"
                           "Freq(Hz) SPL(dB) Phase(degrees)\r\n"
                           "20.000 78.5 -12.0\r\n"
                           "  # moved the microphone\r\n"
                           "\r\n"
                           "2.5e1\t+79.25\r\n"
                           "31.5,80,0\r\n"
                           "40.0, -1.5 , 0.0\r\n"
                           "50,5;81,75;10\r\n"
                           ".6e2;82\r\n",
                           problem);
    ASSERT_TRUE(rew) << problem;
    EXPECT_EQ(rew->hz, (std::vector<double>{20, 25, 31.5, 40, 50.5, 60}));
    EXPECT_EQ(rew->db, (std::vector<double>{78.5, 79.25, 80, -1.5, 81.75, 82}));
    const auto oldMac = Parse("\"FRD\"\r100 90\r200 91", problem);
    ASSERT_TRUE(oldMac) << problem;
    EXPECT_EQ(oldMac->db, (std::vector<double>{90, 91}));
    const auto marked = Parse("\xEF\xBB\xBF"
                              "100 90\n200 91\n",
                              problem); // a UTF-8 byte order mark
    ASSERT_TRUE(marked) << problem;
    EXPECT_EQ(marked->hz, (std::vector<double>{100, 200}));
}

TEST(Measurement, RefusesWhatIsNoMeasurementNamingTheLine) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"* x\n100 90\n200 dB 91\n", "Line 3 is no measurement line: \"200 dB 91\"."},
        {"100 90\n200\n", "Line 2 is no measurement line: \"200\"."},
        {"100 90 0 5\n", "Line 1 is no measurement line: \"100 90 0 5\"."},
        {"100 nan\n", "Line 1 is no measurement line: \"100 nan\"."},
        {"100 90\n100 91\n", "Line 2 gives the frequency 100, which is not above the one before it."},
        {"0 90\n", "Line 1 gives the frequency 0, which is not above the one before it."},
        {"* x\n100 90\n\x01\x02\xff\n", "Line 3 holds characters that belong to no text file."},
        {"* only comments\nFreq SPL\n",
         "The file holds no measurement line (a frequency in Hz and a level in dB)."},
    };
    for (const auto& [text, expected] : cases) {
        std::string problem;
        EXPECT_FALSE(Parse(text, problem)) << text;
        EXPECT_EQ(problem.substr(0, expected.size()), expected) << text;
    }
}

TEST(Measurement, AFileThatIsNoMeasurementIsRefusedWithItsNameAndLine) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("setup.dat").toStdString();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Setup\n\0\0\x0a\x01", 10));
    file.close();
    std::string problem;
    EXPECT_FALSE(model::ReadMeasurementFile(path, problem));
    EXPECT_EQ(problem, "Cannot load the measurement \"" + path +
                           "\".\nLine 2 holds characters that belong to no text file.\nNothing was changed.");
    EXPECT_FALSE(model::ReadMeasurementFile(dir.path().toStdString(), problem));
    EXPECT_NE(problem.find("It is a folder"), std::string::npos) << problem;
}
