// The curve computation of the frequency response plot, checked against the response formulas
// written out here on their own.
#include "pages/FilterResponse.h"

#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace pages;

namespace {

constexpr int kGridWidth = 960; // divisible by 3: point N/3 lies on 200 Hz, 2N/3 on 2 kHz
constexpr int kPointCount = kGridWidth - 1;
constexpr int kEqGainZero = 120;
constexpr int kEqGainPlus15 = 180;
constexpr int kEqGainMinus15 = 60;
constexpr double kExact = 1e-9;

struct ResponseTest : ::testing::Test {
    std::unique_ptr<CTonraDoc> doc = std::make_unique<CTonraDoc>();
    CFilterResponse response;

    void SetUp() override {
        doc->OnNewDocument(); // 4 inputs, 8 outputs, every band at 0 dB, input 1 routed everywhere
        response.SetGridWidth(kGridWidth);
    }
    void SetBand(int channel, int band, int type, int gain, int freq, int width) {
        doc->SetParam(model::kEqType, type, channel, band);
        doc->SetParam(model::kEqGain, gain, channel, band);
        doc->SetParam(model::kEqFreq, freq, channel, band);
        doc->SetParam(model::kEqWidth, width, channel, band);
    }
    void SetXover(int output, int filter, int type, int freq, int slope) {
        const int channel = doc->GetInputCount() + output;
        doc->SetParam(model::kXoverType, type, channel, filter);
        doc->SetParam(model::kXoverFreq, freq, channel, filter);
        doc->SetParam(model::kXoverSlope, slope, channel, filter);
    }
    double Eq(int channel, int k) const { return response.EqCurve(channel)[static_cast<std::size_t>(k)]; }
    double Xover(int output, int k) const { return response.XoverCurve(output)[static_cast<std::size_t>(k)]; }
};

// A Butterworth magnitude of order n in dB: x is fc / f for the high-pass, f / fc for the low-pass.
double Butterworth(double x, int order) { return -10 * std::log10(std::pow(x, 2 * order) + 1); }

} // namespace

TEST_F(ResponseTest, TheGridCoversThreeDecadesFrom20HzWithOnePointPerColumn) {
    ASSERT_EQ(response.PointCount(), kPointCount);
    EXPECT_DOUBLE_EQ(response.Frequency(0), 20);
    EXPECT_NEAR(response.Frequency(kGridWidth / 3), 200, kExact);
    EXPECT_NEAR(response.Frequency(2 * kGridWidth / 3), 2000, kExact);
    EXPECT_NEAR(response.Frequency(kPointCount - 1), 20 * std::pow(10, 3.0 * 958 / 960), kExact);
    EXPECT_LT(response.Frequency(kPointCount - 1), 20000);
}

TEST_F(ResponseTest, TheArraysGrowWithAWideGridAndAShortGridComputesNothing) {
    // A maximised window on a wide screen: more than 3001 pixel columns.
    response.SetGridWidth(4000);
    SetXover(0, model::kLowPass, 1, 980, 3);
    response.ComputeCurves(*doc, -1);
    ASSERT_EQ(response.XoverCurve(0).size(), 3999u);
    EXPECT_NEAR(response.XoverCurve(0).back(), Butterworth(response.Frequency(3998) / 1000, 4), kExact);
    response.SetGridWidth(100);
    EXPECT_EQ(response.XoverCurve(0).size(), 99u);
    EXPECT_NEAR(response.Frequency(98), 20 * std::pow(10, 3.0 * 98 / 100), kExact);
    for (const int width : {1, 0, -5}) {
        response.SetGridWidth(width);
        EXPECT_EQ(response.PointCount(), 0);
        response.ComputeCurves(*doc, -1);
        EXPECT_TRUE(response.EqCurve(0).empty());
    }
}

TEST_F(ResponseTest, BandsAt0dBAreFlatWhateverTheirTypeFrequencyAndWidth) {
    const int widths[] = {0, 31, 248};
    for (int b = 0; b < model::kBandCount; ++b) {
        SetBand(0, b, b % 3, kEqGainZero, 3000 * b + 17, widths[b % 3]);
    }
    response.ComputeCurves(*doc, -1);
    for (int k = 0; k < kPointCount; ++k) {
        ASSERT_EQ(Eq(0, k), 0.0) << k;
    }
}

TEST_F(ResponseTest, AParametricBoostReadsItsGainAtTheCentreAndACutMirrorsIt) {
    SetBand(0, 2, model::kEqParametric, kEqGainPlus15, 180, 31); // +15 dB at 200 Hz
    SetBand(1, 2, model::kEqParametric, kEqGainMinus15, 180, 31);
    response.ComputeCurves(*doc, -1);
    EXPECT_NEAR(Eq(0, kGridWidth / 3), 15, kExact);
    EXPECT_NEAR(Eq(1, kGridWidth / 3), -15, kExact);
    // n = 0.32 octaves, S = (2^(n/2) / (2^n - 1))^2, K = A - 1.
    const double n = 0.32;
    const double s = std::pow(std::pow(2, n / 2) / (std::pow(2, n) - 1), 2);
    const double k = std::pow(10, 15.0 / 20) - 1;
    for (int i = 0; i < kPointCount; i += 37) {
        const double u = std::pow(response.Frequency(i) / 200, 2);
        const double expected = 20 * std::log10(1 + k * u / (u + s * (1 - u) * (1 - u)));
        EXPECT_NEAR(Eq(0, i), expected, kExact) << i;
        EXPECT_NEAR(Eq(1, i), -Eq(0, i), kExact) << i;
    }
    // One octave away the narrow band has fallen well below its peak.
    EXPECT_LT(Eq(0, 2 * kGridWidth / 9), 3);
}

TEST_F(ResponseTest, ShelvesTendToTheirGainOnTheirSideAnd0dBOnTheOther) {
    for (const int width : {0, 1}) {
        SetBand(0, 0, model::kEqLowShelf, kEqGainPlus15, 180, width); // 200 Hz
        SetBand(1, 0, model::kEqHighShelf, kEqGainPlus15, 180, width);
        SetBand(2, 0, model::kEqLowShelf, kEqGainMinus15, 180, width);
        const BandSetup low = SetUpBand(*doc, 0, 0);
        const BandSetup high = SetUpBand(*doc, 1, 0);
        const BandSetup cut = SetUpBand(*doc, 2, 0);
        EXPECT_NEAR(BandResponse(low, 0.2), 15, 0.01) << width;
        EXPECT_NEAR(BandResponse(low, 200000), 0, 0.01) << width;
        EXPECT_NEAR(BandResponse(high, 0.2), 0, 0.01) << width;
        EXPECT_NEAR(BandResponse(high, 200000), 15, 0.01) << width;
        EXPECT_NEAR(BandResponse(cut, 0.2), -15, 0.01) << width;
        EXPECT_NEAR(BandResponse(cut, 200000), 0, 0.01) << width;
        // On the grid the boost falls from the bottom end to the top end, and the cut rises.
        response.ComputeCurves(*doc, -1);
        EXPECT_GT(Eq(0, 0), 14) << width;
        EXPECT_LT(Eq(0, kPointCount - 1), 0.5) << width;
        EXPECT_LT(Eq(1, 0), 0.5) << width;
        EXPECT_GT(Eq(1, kPointCount - 1), 14) << width;
        EXPECT_LT(Eq(2, 0), -14) << width;
    }
    // The low shelf's formula at its own frequency (u = 1), the 12 dB setting.
    const double a = std::pow(10, 15.0 / 40);
    const double s = 0.2025;
    const double expected =
        20 * std::log10(a * (a + (a / s - a * a - 1) + a) / (a * a + (a / s - 2 * a * a) + 1));
    EXPECT_NEAR(BandResponse(SetUpBand(*doc, 0, 0), 200), expected, kExact);
}

TEST_F(ResponseTest, ACrossoverHighPassIsAButterworthOfTheSlopesOrder) {
    SetXover(0, model::kHighPass, 1, 980, 3); // 1000 Hz, 24 dB per octave
    EXPECT_NEAR(XoverResponse(*doc, 0, model::kHighPass, 1000), -3.0103, 1e-4);
    EXPECT_NEAR(XoverResponse(*doc, 0, model::kHighPass, 500), -24.0993, 1e-4);
    SetXover(0, model::kLowPass, 2, 9980, 1); // 10 kHz, 12 dB per octave
    response.ComputeCurves(*doc, -1);
    for (int k = 0; k < kPointCount; k += 41) {
        const double f = response.Frequency(k);
        EXPECT_NEAR(Xover(0, k), Butterworth(1000 / f, 4) + Butterworth(f / 10000, 2), kExact) << k;
    }
}

TEST_F(ResponseTest, ACrossoverOfTypeNoneIsFlat) {
    SetXover(1, model::kHighPass, 0, 5000, 7);
    SetXover(1, model::kLowPass, 0, 100, 7);
    response.ComputeCurves(*doc, -1);
    for (int k = 0; k < kPointCount; ++k) {
        ASSERT_EQ(Xover(1, k), 0.0) << k;
    }
}

TEST_F(ResponseTest, AFilteredComputationKeepsTheCurvesOfChannelsNotLinkedToTheFilter) {
    response.ComputeCurves(*doc, -1);
    // Inputs 1 and 2 linked, outputs 1 and 2 linked; everything changes on the document.
    doc->linkGroup[0][0] = doc->linkGroup[0][1] = 1;
    doc->linkGroup[0][4] = doc->linkGroup[0][5] = 1;
    for (int c = 0; c < doc->GetChannelCount(); ++c) {
        doc->SetParam(model::kGain, 170, c, 0);
        SetBand(c, 0, model::kEqParametric, kEqGainPlus15, 980, 100);
    }
    for (int o = 0; o < doc->GetOutputCount(); ++o) {
        SetXover(o, model::kHighPass, 1, 980, 3);
    }
    response.ComputeCurves(*doc, 1); // input 2: only inputs 1 and 2
    EXPECT_EQ(response.channelFilter, 1);
    EXPECT_TRUE(response.curvesDirty);
    const int k = kPointCount / 2;
    for (int c = 0; c < doc->GetChannelCount(); ++c) {
        const bool linked = c == 0 || c == 1;
        EXPECT_EQ(response.ChannelGain(c), linked ? 2.5 : 0.0) << c;
        EXPECT_EQ(Eq(c, k) != 0, linked) << c;
    }
    for (int o = 0; o < doc->GetOutputCount(); ++o) {
        EXPECT_EQ(Xover(o, k), 0.0) << o;
    }
    response.ComputeCurves(*doc, 5); // output 2, linked with output 1
    for (int o = 0; o < doc->GetOutputCount(); ++o) {
        EXPECT_EQ(Xover(o, k) != 0, o < 2) << o;
        EXPECT_EQ(response.ChannelGain(4 + o), o < 2 ? 2.5 : 0.0) << o;
    }
}

TEST_F(ResponseTest, CurvesAreStaleWhenTheDocumentHoldsOtherValuesThanTheyWereComputedFrom) {
    EXPECT_TRUE(response.IsStale(*doc)); // never computed
    response.ComputeCurves(*doc, -1);
    EXPECT_FALSE(response.IsStale(*doc));
    doc->linkGroup[0][1] = 2; // links steer edits, not curves
    doc->SetParam(model::kMute, 1, 1, 0);
    EXPECT_FALSE(response.IsStale(*doc));

    // As a copy or the engine writes them: an EQ band, a source, a crossover, the counts.
    const auto staleAfter = [&](auto change) {
        change();
        const bool stale = response.IsStale(*doc);
        response.ComputeCurves(*doc, -1);
        return stale;
    };
    EXPECT_TRUE(staleAfter([&] { doc->eqFreq[0][1][3] += 100; }));
    EXPECT_TRUE(staleAfter([&] { doc->mixLevel[0][2][3] = 1; }));
    EXPECT_TRUE(staleAfter([&] { SetXover(7, model::kLowPass, 1, 500, 2); }));
    EXPECT_TRUE(staleAfter([&] { doc->SetOutputCount(6); }));
    EXPECT_TRUE(staleAfter([&] { doc->currentDevice = 3; }));

    // A drag's computation of one channel brings that channel up to date, and only that one.
    doc->SetParam(model::kGain, 170, 0, 0);
    response.ComputeCurves(*doc, 0);
    EXPECT_FALSE(response.IsStale(*doc));
    doc->SetParam(model::kGain, 170, 2, 0);
    response.ComputeCurves(*doc, 0);
    EXPECT_TRUE(response.IsStale(*doc));
}

TEST_F(ResponseTest, AnOutputSumsItsRoutedInputsInDecibelsAndStaysInThePlotRange) {
    doc->deviceModel[0] = "NQVE-1888"; // mixing levels: the level itself is not used
    doc->mixLevel[0][0][0] = 1;
    doc->mixLevel[0][0][1] = 161;
    doc->SetParam(model::kGain, 172, 0, 0); // +3 dB
    doc->SetParam(model::kGain, 176, 1, 0); // +4 dB
    doc->SetParam(model::kGain, 200, 2, 0); // +10 dB, not routed to output 1
    doc->SetParam(model::kGain, 152, 4, 0); // output 1: -2 dB
    SetBand(1, 0, model::kEqParametric, kEqGainPlus15, 180, 31);
    SetXover(0, model::kLowPass, 1, 980, 3);
    response.ComputeCurves(*doc, -1);
    std::vector<double> levels(kPointCount);
    response.SumOutput(*doc, 0, kAllCurveGroups, levels);
    for (int k = 0; k < kPointCount; k += 29) {
        EXPECT_NEAR(levels[k], std::max(-40.0, 3 + 4 - 2 + Eq(1, k) + Xover(0, k)), kExact) << k;
    }
    response.SumOutput(*doc, 0, CurveGroups{true, false, true, false, false}, levels);
    EXPECT_EQ(levels[0], 5.0);
    response.SumOutput(*doc, 0, CurveGroups{}, levels);
    EXPECT_EQ(levels[0], 0.0);

    doc->SetParam(model::kGain, 220, 0, 0); // +15 dB
    doc->SetParam(model::kGain, 220, 1, 0);
    doc->SetParam(model::kGain, 0, 6, 0); // output 3: -40 dB
    SetXover(2, model::kHighPass, 1, 980, 7);
    response.ComputeCurves(*doc, -1);
    response.SumOutput(*doc, 0, kAllCurveGroups, levels);
    EXPECT_EQ(levels[kGridWidth / 3], 20.0);
    response.SumOutput(*doc, 2, kAllCurveGroups, levels); // input 1 only: -25 dB, then the high-pass
    EXPECT_EQ(levels[0], -40.0);
}
