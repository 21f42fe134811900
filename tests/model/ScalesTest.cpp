#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace model;

TEST(Scales, GainTextsCarryASignAboveZero) {
    EXPECT_EQ(GainText(160), "0.00");
    EXPECT_EQ(GainText(161), "+0.25");
    EXPECT_EQ(GainText(159), "-0.25");
    EXPECT_EQ(GainText(0), "-40.00");
    EXPECT_EQ(GainText(220), "+15.00");
    EXPECT_EQ(EqGainText(120), "0.00");
    EXPECT_EQ(EqGainText(180), "+15.00");
    EXPECT_EQ(EqGainText(0), "-30.00");
    EXPECT_EQ(ThresholdText(40), "0.0");
    EXPECT_EQ(ThresholdText(41), "+0.5");
    EXPECT_EQ(ThresholdText(0), "-20.0");
}

TEST(Scales, TextsOfTheOtherKinds) {
    EXPECT_EQ(PolarityText(0), "+");
    EXPECT_EQ(PolarityText(1), "-");
    EXPECT_EQ(DelayText(21600), "21600");
    EXPECT_EQ(EqTypeText(0), "Param");
    EXPECT_EQ(EqTypeText(1), "Lo-Shf");
    EXPECT_EQ(EqTypeText(2), "Hi-Shf");
    EXPECT_EQ(FrequencyText(980), "1000");
    EXPECT_EQ(FrequencyText(0), "20");
    EXPECT_EQ(WidthText(31, false, false), "0.33");
    EXPECT_EQ(WidthText(31, false, true), "4.36");
    EXPECT_EQ(WidthText(248, false, false), "2.50");
    EXPECT_EQ(WidthText(248, true, false), "12dB");
    EXPECT_EQ(WidthText(0, true, true), "6dB");
    EXPECT_EQ(SourceLevelText(0, 1), "Off");
    EXPECT_EQ(SourceLevelText(1, 1), "0.00");
    EXPECT_EQ(SourceLevelText(1, 161), "-40.00");
    EXPECT_EQ(XoverTypeText(0), "None");
    EXPECT_EQ(XoverTypeText(2), "LR");
    EXPECT_EQ(XoverTypeText(3), "BES");
    EXPECT_EQ(kXoverTypeNames[0], "--");
    EXPECT_EQ(kXoverTypeNames[4], "FIR");
    EXPECT_EQ(SlopeText(3), "24");
    EXPECT_EQ(SlopeText(7), "48");
    EXPECT_EQ(AttackText(0), "0.3");
    EXPECT_EQ(AttackText(6), "0.9");
    EXPECT_EQ(AttackText(7), "1");
    EXPECT_EQ(AttackText(106), "100");
    EXPECT_EQ(ReleaseText(0), "2X");
    EXPECT_EQ(ReleaseText(2), "8X");
    EXPECT_EQ(ReleaseText(4), "32X");
    EXPECT_EQ(AmpGainText(0), "10 (20.0 dB)");
    EXPECT_EQ(AmpGainText(190), "200 (46.0 dB)");
    EXPECT_EQ(ImpedanceText(6), "8 Ohms");
}

TEST(Scales, FormatParamReadsTheClampedValue) {
    CTonraDoc doc;
    doc.OnNewDocument();
    doc.gain[0][0] = 400;
    EXPECT_EQ(doc.FormatParam(kGain, 0, 0, -1), "+15.00");
    EXPECT_EQ(doc.FormatParam(kMixLevel, 4, 0, -1), "0.00");
    EXPECT_EQ(doc.FormatParam(kMixLevel, 4, 1, -1), "Off");
    EXPECT_EQ(doc.FormatParam(kXoverSlope, 4, 0, -1), "24");
    EXPECT_EQ(doc.FormatParam(kXoverType, 4, 1, -1), "None");
    EXPECT_EQ(doc.FormatParam(kLimRelease, 4, 0, -1), "8X");
    EXPECT_EQ(doc.FormatParam(kSpeakerImpedance, 4, 0, -1), "2 Ohms");
    EXPECT_EQ(doc.FormatParam(kMute, 0, 0, -1), "");
    EXPECT_EQ(doc.FormatParam(kMeterLevel, 0, 0, -1), "");
    EXPECT_EQ(doc.FormatParam(kChannelName, 0, 0, -1), "");
    EXPECT_EQ(doc.FormatParam(42, 0, 0, -1), "");
}

TEST(Scales, ParseDecimalSkipsWhatIsNotANumber) {
    EXPECT_DOUBLE_EQ(ParseDecimal("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(ParseDecimal("1.2.3"), 1.23);
    EXPECT_DOUBLE_EQ(ParseDecimal("-3dB"), -3);
    EXPECT_DOUBLE_EQ(ParseDecimal("x"), 0);
    EXPECT_DOUBLE_EQ(ParseDecimal(" -3"), 3);
    EXPECT_DOUBLE_EQ(ParseDecimal("--3"), -3);
    EXPECT_DOUBLE_EQ(ParseDecimal(""), 0);
    EXPECT_DOUBLE_EQ(ParseDecimal("2 500 Hz"), 2500);
    EXPECT_DOUBLE_EQ(CTonraDoc::ParseDecimal("-0.25"), -0.25);
    // A decimal comma is the point: "2,5" dB is +2.50, not 25 clamped to +15.00.
    EXPECT_DOUBLE_EQ(ParseDecimal("2,5"), 2.5);
    EXPECT_EQ(GainIndex(ParseDecimal("-2,5dB")), 150);
}

TEST(Scales, ATypedFrequencyTakesAKiloMultiplier) {
    for (const char* text : {"2.5k", "2,5 kHz", "2.5K", "2500", "2500 Hz"}) {
        EXPECT_DOUBLE_EQ(ParseFrequency(text), 2500) << text;
    }
    EXPECT_DOUBLE_EQ(ParseFrequency("k1"), 1); // the "k" must follow the number
    EXPECT_EQ(EqFreqIndex(ParseFrequency("2.5k")), 2480);
}

TEST(Scales, TypedNumbersBecomeIndexes) {
    EXPECT_EQ(GainIndex(-3.5), 146);
    EXPECT_EQ(GainIndex(0.3), 161);
    EXPECT_EQ(GainIndex(-0.3), 159); // truncation toward zero
    EXPECT_EQ(DelayIndexFromSamples(12.9), 12);
    EXPECT_EQ(DelayIndexFromMs(2.9), 139);
    EXPECT_EQ(DelayIndexFromMetres(1, 25), 138);
    EXPECT_EQ(DelayIndexFromFeet(10, 25), 423);
    EXPECT_EQ(EqGainIndex(-30), 0);
    EXPECT_EQ(EqFreqIndex(1000), 980);
    EXPECT_EQ(WidthIndexFromOctaves(0.33), 31);
    EXPECT_EQ(SourceLevelIndex(-20, 161), 81);
    EXPECT_EQ(SourceLevelIndex(0, 1), 1);
    EXPECT_EQ(XoverFreqIndex(20), 0);
    EXPECT_EQ(SlopeIndex(24), 3);
    EXPECT_EQ(SlopeIndex(30), 4);
    EXPECT_EQ(ThresholdIndex(-20), 0);
    EXPECT_EQ(ThresholdIndex(0.5), 41);
    EXPECT_EQ(AttackIndex(0.9), 6);
    EXPECT_EQ(AttackIndex(0.5), 2);
    EXPECT_EQ(AttackIndex(1), 7);
    EXPECT_EQ(AttackIndex(100), 106);
    EXPECT_EQ(ReleaseIndex(8), 2);
    EXPECT_EQ(ReleaseIndex(32), 4);
    EXPECT_EQ(AmpGainIndex(32), 22);
    EXPECT_EQ(ImpedanceIndex(8), 6);
    EXPECT_EQ(TemperatureFromTyped(25.7), 25);
    EXPECT_EQ(TemperatureFromTyped(80), 50);
    EXPECT_EQ(TemperatureFromTyped(-4), 0);
}

TEST(Scales, WidthFromQPicksTheFirstNarrowerIndex) {
    // Q falls as the index rises; index 31 has Q 4.36.
    EXPECT_EQ(WidthIndexFromQ(4.37), 31);
    EXPECT_EQ(WidthIndexFromQ(4.35), 32);
    EXPECT_EQ(WidthIndexFromQ(1000), 0);
    EXPECT_EQ(WidthIndexFromQ(0), 248);
    for (int v = 1; v <= 248; ++v) {
        ASSERT_LT(WidthQ(v), WidthQ(v - 1));
    }
}

TEST(Scales, TypedNumbersOutsideTheIntRangeSaturate) {
    const double huge = ParseDecimal("99999999999");
    EXPECT_EQ(GainIndex(huge), INT_MAX);
    EXPECT_EQ(GainIndex(-huge), INT_MIN + 160);
    EXPECT_EQ(DelayIndexFromMs(huge), INT_MAX);
    EXPECT_EQ(EqFreqIndex(-huge), INT_MIN);
    EXPECT_EQ(SlopeIndex(-huge), INT_MIN / 6 - 1);
    EXPECT_EQ(ReleaseIndex(ParseDecimal("")), INT_MIN); // log of 0
    EXPECT_EQ(SaturatingTrunc(std::nan("")), 0);
    EXPECT_EQ(WidthIndexFromQ(std::nan("")), 248);

    // Hundreds of digits after a point overflow both sum and divisor: NaN, read as 0.
    const double nanText = ParseDecimal("1." + std::string(400, '0'));
    EXPECT_TRUE(std::isnan(nanText));
    EXPECT_EQ(GainIndex(nanText), 160);

    CTonraDoc doc;
    doc.OnNewDocument();
    doc.SetParam(kGain, GainIndex(huge), 0, 0, -1);
    EXPECT_EQ(doc.gain[0][0], 220);
    doc.SetParam(kLimRelease, ReleaseIndex(0), 4, 0, -1);
    EXPECT_EQ(doc.limRelease[0][0], 0);
}

TEST(Scales, DerivedQuantities) {
    EXPECT_NEAR(SpeedOfSound(20), 342.6, 0.05);
    EXPECT_NEAR(SpeedOfSound(25), 345.5, 0.05);
    EXPECT_NEAR(SpeedOfSound(0), 330.7, 0.05);
    EXPECT_NEAR(SpeedOfSound(50), 359.7, 0.05);
    EXPECT_NEAR(DelayMetres(48, 20), 0.343, 0.0005);
    EXPECT_NEAR(DelayMs(480), 10.0, 1e-12);
    EXPECT_NEAR(DelayMetres(480, 25), 3.455, 0.0005);
    EXPECT_NEAR(DelayFeet(480, 25), 11.336, 0.0005);
    EXPECT_NEAR(MetresToFeet(0.3048), 1.0, 1e-12);
    EXPECT_EQ(static_cast<int>(CalculatedPower(40, 22, 6)), 19);
    EXPECT_NEAR(CalculatedPower(40, 22, 6), 19.2, 1e-9);
}
