// REW and Equalizer APO filter text: reading both with their real headers and junk, placing
// the filters at the nearest values the bands hold with the report, writing, and the round trip.
#include "model/EqFilterText.h"
#include "model/EqFilterPlacement.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace model;

namespace {

constexpr const char* kRewFile = "Filter Settings file\r\n"
                                 "\r\n"
                                 "Room EQ V5.20.13\r\n"
                                 "Dated: 9 Dec 2026 08:00:00\r\n"
                                 "\r\n"
                                 "Notes: Filter 9: ON PK in a note is no filter line\r\n"
                                 "\r\n"
                                 "Equaliser: Generic\r\n"
                                 "Dec 9 08:00:00\r\n"
                                 "Filter  1: ON  PK       Fc   1000 Hz  Gain  -3.00 dB  Q  4.30\r\n"
                                 "Filter  2: ON  LS 12dB  Fc    100 Hz  Gain   3.00 dB\r\n"
                                 "Filter  3: OFF None\r\n"
                                 "Filter  4: ON  HP       Fc     30 Hz\r\n"
                                 "Filter  5: ON  PK       Fc   63.5 Hz  Gain  -6.50 dB  BW Oct 0.333\r\n"
                                 "Filter  6: ON  HSC      Fc   8000 Hz  Gain   2.00 dB  Q  0.900\r\n"
                                 "Filter  7: ON  PK       Fc  25000 Hz  Gain   1.00 dB  Q  1.000\r\n"
                                 "Filter  8: ON  LS 6dB   Fc     80 Hz  Gain  18.00 dB\r\n"
                                 "Filter  9: ON  PK       Fc    200 Hz  Gain  -2.10 dB  Q  2.000\r\n"
                                 "Filter 10: ON  PK       Fc    300 Hz  Gain  -1.00 dB  Q\r\n"
                                 "Filter 11: ON  HS 6dB   Fc   9000 Hz  Gain   1.00 dB\r\n"
                                 "Filter 12: ON  PK       Fc    400 Hz  Gain  -1.00 dB  Q  3.000\r\n";

constexpr const char* kApoFile = "\xEF\xBB\xBF# Equalizer APO\n"
                                 "Preamp: -6.5 dB\n"
                                 "Device: Speakers\n"
                                 "Channel: L\n"
                                 "Filter: ON PEQ Fc 120 Hz Gain -4,5 dB Q 2\n"
                                 "Filter: ON LSC 6 dB Fc 90 Hz Gain +2 dB\n"
                                 "FILTER 7: on hs fc 6 kHz gain 1 db\n"
                                 "Filter: ON PK Fc 1000 Hz Gain -3 dB BW Oct 1\n"
                                 "Filter: ON NO Fc 50 Hz\n"
                                 "Filter: ON PK Fc x Hz Gain 1 dB Q 1\n"
                                 "Include: other.txt\n";

BandSetup Band(int type, int gain, int frequency, int width) { return {gain, frequency, width, type}; }

} // namespace

TEST(EqFilterText, ReadsRewFilesAndApoLines) {
    const std::vector<TextFilter> rew = ReadFilterText(kRewFile);
    ASSERT_EQ(rew.size(), 12u);
    EXPECT_EQ(rew[0].number, 1);
    EXPECT_EQ(rew[0].shape, FilterShape::Peak);
    EXPECT_DOUBLE_EQ(rew[0].frequency->value, 1000);
    EXPECT_DOUBLE_EQ(rew[0].gain->value, -3);
    EXPECT_EQ(rew[0].q->text, "4.30");
    EXPECT_EQ(rew[1].type, "LS 12dB");
    EXPECT_EQ(rew[1].shape, FilterShape::LowShelf);
    EXPECT_DOUBLE_EQ(rew[1].slope->value, 12);
    EXPECT_FALSE(rew[2].on);
    EXPECT_EQ(rew[3].shape, FilterShape::Other);
    EXPECT_DOUBLE_EQ(rew[4].octaves->value, 0.333);
    EXPECT_FALSE(rew[4].q);
    EXPECT_EQ(rew[5].shape, FilterShape::HighShelf);
    EXPECT_FALSE(rew[5].slope);
    EXPECT_EQ(rew[9].problem, "no number after Q");

    const std::vector<TextFilter> apo = ReadFilterText(kApoFile);
    ASSERT_EQ(apo.size(), 6u);
    EXPECT_EQ(apo[0].number, 1); // unnumbered lines count their position
    EXPECT_DOUBLE_EQ(apo[0].gain->value, -4.5);
    EXPECT_DOUBLE_EQ(apo[0].q->value, 2);
    EXPECT_EQ(apo[1].type, "LSC 6 dB");
    EXPECT_DOUBLE_EQ(apo[1].slope->value, 6);
    EXPECT_DOUBLE_EQ(apo[1].gain->value, 2);
    EXPECT_EQ(apo[2].number, 7);
    EXPECT_EQ(apo[2].shape, FilterShape::HighShelf);
    EXPECT_EQ(apo[2].frequency->text, "6000");
    EXPECT_DOUBLE_EQ(apo[3].octaves->value, 1);
    EXPECT_EQ(apo[5].problem, "no number after Fc");

    EXPECT_TRUE(ReadFilterText("").empty());
    EXPECT_TRUE(
        ReadFilterText("Filter Settings file\nFilter\nFilter 1 ON PK\nFilter 99999999999: ON PK\n").empty());
}

TEST(EqFilterText, PlacesAtTheNearestValuesAndReportsEachFilter) {
    const std::vector<TextFilter> filters = ReadFilterText(kRewFile);
    const EqImport import = PlaceFilters(filters);
    const std::vector<std::string> expected = {
        "Filter 1: placed in band 1 approximately: Q 4.30 -> 4.36",
        "Filter 2: placed in band 2 exactly",
        "Filter 3: OFF, skipped",
        "Filter 4: not placed: HP is not a band type (PK, LS, HS)",
        "Filter 5: placed in band 3 approximately: Fc 63.5 Hz -> 64 Hz",
        "Filter 6: placed in band 4 approximately: Q 0.900 -> 12 dB slope",
        "Filter 7: not placed: Fc 25000 Hz is out of range (20 to 20000 Hz)",
        "Filter 8: not placed: Gain 18.00 dB is out of range (-30.00 to +15.00 dB)",
        "Filter 9: placed in band 5 approximately: Gain -2.10 dB -> -2.00 dB, Q 2.000 -> 2.01",
        "Filter 10: not placed: cannot be read: no number after Q",
        "Filter 11: placed in band 6 exactly",
        "Filter 12: not placed: all six bands are taken",
    };
    EXPECT_EQ(import.ReportLines(), expected);
    EXPECT_EQ(import.PlacedCount(), 6);
    EXPECT_EQ(import.bands[0]->width, 31); // 0.33 octaves, Q 4.36
    EXPECT_EQ(import.bands[0]->frequency, 980);
    EXPECT_EQ(import.bands[0]->gain, 108);
    EXPECT_EQ(import.bands[1]->type, kEqLowShelf);
    EXPECT_EQ(import.bands[1]->width, kMaxShelfSlopeFlag);
    EXPECT_EQ(import.bands[2]->width, 31); // BW Oct 0.333
    EXPECT_EQ(import.bands[3]->type, kEqHighShelf);
    EXPECT_EQ(import.bands[5]->width, 0); // 6 dB slope

    const EqImport apo = PlaceFilters(ReadFilterText(kApoFile));
    EXPECT_EQ(apo.ReportLines().back(), "Bands 5 and 6 set flat (0 dB).");
    EXPECT_EQ(apo.ReportLines()[1], "Filter 2: placed in band 2 exactly");
    EXPECT_EQ(apo.bands[1]->width, 0);
    EXPECT_EQ(apo.bands[3]->width, 98); // 1 octave
    EXPECT_EQ(apo.ReportLines()[4], "Filter 5: not placed: NO is not a band type (PK, LS, HS)");

    const EqImport nothing = PlaceFilters(ReadFilterText("Filter 1: ON PK Fc 10 Hz Gain 1 dB Q 0.2\n"));
    EXPECT_EQ(nothing.ReportText(), "Filter 1: not placed: Fc 10 Hz is out of range (20 to 20000 Hz)\n"
                                    "No filter placed: the channel stays as it was.");
    EXPECT_EQ(PlaceFilters(ReadFilterText("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 0.3\n")).ReportLines()[0],
              "Filter 1: not placed: Q 0.3 is out of range (0.51 to 72.13)");
    EXPECT_EQ(PlaceFilters({}).ReportText(), "No filter lines found: the channel stays as it was.");
}

TEST(EqFilterText, WritesRewAndApoText) {
    const std::array<BandSetup, kBandCount> bands = {
        Band(kEqParametric, 108, 980, 31),  Band(kEqLowShelf, 132, 80, kMaxWidth),
        Band(kEqHighShelf, 110, 9980, 0),   Band(kEqParametric, 120, 0, kMaxWidth),
        Band(kEqParametric, 180, 19980, 0), Band(kEqParametric, 119, 43, 247)};
    const std::string rew = WriteFilterText(bands, FilterTextFormat::Rew, "In 1 KICK");
    EXPECT_EQ(rew, "Filter Settings file\n\nVeltrix In 1 KICK\n\nEqualiser: Generic\n"
                   "Filter  1: ON  PK       Fc   1000 Hz  Gain  -3.00 dB  Q  4.36\n"
                   "Filter  2: ON  LS 12dB  Fc    100 Hz  Gain   3.00 dB\n"
                   "Filter  3: ON  HS 6dB   Fc  10000 Hz  Gain  -2.50 dB\n"
                   "Filter  4: ON  PK       Fc     20 Hz  Gain   0.00 dB  Q  0.51\n"
                   "Filter  5: ON  PK       Fc  20000 Hz  Gain  15.00 dB  Q 72.13\n"
                   "Filter  6: ON  PK       Fc     63 Hz  Gain  -0.25 dB  Q 0.513\n");
    const std::string apo = WriteFilterText(bands, FilterTextFormat::Apo, "Out 2");
    EXPECT_EQ(apo, "# Veltrix Out 2\n"
                   "Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 4.36\n"
                   "Filter 2: ON LS 12dB Fc 100 Hz Gain 3 dB\n"
                   "Filter 3: ON HS 6dB Fc 10000 Hz Gain -2.5 dB\n"
                   "Filter 4: ON PK Fc 20 Hz Gain 0 dB Q 0.51\n"
                   "Filter 5: ON PK Fc 20000 Hz Gain 15 dB Q 72.13\n"
                   "Filter 6: ON PK Fc 63 Hz Gain -0.25 dB Q 0.513\n");
    EXPECT_EQ(FilterTextFormatNamed("APO"), FilterTextFormat::Apo);
    EXPECT_FALSE(FilterTextFormatNamed("frd"));
}

// Every width, and shelves of both slopes, come back as the same bands; the import writes the
// channel and the channels linked with it, switches placed bands on and sets the rest flat.
TEST(EqFilterText, ExportThenImportGivesTheSameBands) {
    for (const FilterTextFormat format : {FilterTextFormat::Rew, FilterTextFormat::Apo}) {
        for (int width = 0; width <= kMaxWidth; ++width) {
            std::array<BandSetup, kBandCount> bands{};
            bands.fill(Band(kEqParametric, width % 181, (width * 83) % 19981, width));
            bands[1] = Band(kEqLowShelf, 100, width, 0);
            bands[2] = Band(kEqHighShelf, 140, width + 5000, kMaxShelfSlopeFlag);
            const EqImport import = PlaceFilters(ReadFilterText(WriteFilterText(bands, format, "In 1")));
            ASSERT_EQ(import.PlacedCount(), kBandCount) << import.ReportText();
            for (int b = 0; b < kBandCount; ++b) {
                EXPECT_EQ(import.filters[b].placement, Placement::Exact) << import.ReportText();
                const BandSetup& back = *import.bands[b];
                EXPECT_EQ(std::tie(back.type, back.gain, back.frequency, back.width),
                          std::tie(bands[b].type, bands[b].gain, bands[b].frequency, bands[b].width))
                    << "width " << width << " band " << b;
            }
        }
    }

    CTonraDoc doc;
    doc.OnNewDocument();
    doc.linkGroup[0][0] = doc.linkGroup[0][1] = 1;
    doc.eqBandOn[0][1][0] = 0;
    doc.SetParam(kEqGain, 150, 0, 5);
    doc.SetModifiedFlag(false);
    ApplyEqImport(doc, 0, PlaceFilters(ReadFilterText("Filter 1: ON LS 12dB Fc 100 Hz Gain 3 dB\n")));
    for (const int channel : {0, 1}) {
        EXPECT_EQ(ChannelBands(doc, channel)[0].type, kEqLowShelf);
        EXPECT_EQ(ChannelBands(doc, channel)[0].width, kMaxWidth);
        EXPECT_EQ(ChannelBands(doc, channel)[0].gain, 132);
        EXPECT_EQ(ChannelBands(doc, channel)[5].gain, kEqGainZeroIndex);
        EXPECT_EQ(doc.eqBandOn[0][channel][0], 1);
    }
    EXPECT_EQ(ChannelBands(doc, 2)[0].type, kEqParametric);
    EXPECT_TRUE(doc.IsModified());

    // The import is one step of the history: its undo restores every band, switches included.
    ASSERT_NE(doc.UndoStep(), nullptr);
    EXPECT_EQ(ChannelBands(doc, 1)[0].type, kEqParametric);
    EXPECT_EQ(doc.eqBandOn[0][1][0], 0);
    EXPECT_EQ(ChannelBands(doc, 0)[5].gain, 150);
}

TEST(EqFilterText, ReadsFilesInUtf8AndUtf16) {
    QTemporaryDir dir;
    const QString path = dir.filePath("apo.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString text = QStringLiteral("Filter 1: ON PK Fc 50 Hz Gain -4 dB Q 5\r\n");
    file.write("\xFF\xFE");
    file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    file.close();
    std::string problem;
    const std::optional<std::string> read = ReadFilterTextFile(path.toStdString(), problem);
    ASSERT_TRUE(read) << problem;
    ASSERT_EQ(ReadFilterText(*read).size(), 1u);
    EXPECT_DOUBLE_EQ(ReadFilterText(*read)[0].q->value, 5);

    EXPECT_FALSE(ReadFilterTextFile(dir.path().toStdString(), problem));
    EXPECT_EQ(problem, "Cannot open the filter file \"" + dir.path().toStdString() +
                           "\".\nIt is a folder, not a file.");
}
