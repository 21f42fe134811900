#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace model;

namespace {

struct Shown {
    int index;
    std::string_view text;
};

class ParamDescriptorTest : public ::testing::Test {
protected:
    static constexpr int kInput = 0;
    static constexpr int kOutput = 4; // out1 of the default 4 x 8 device

    std::unique_ptr<CTonraDoc> doc = std::make_unique<CTonraDoc>();

    void SetUp() override { doc->OnNewDocument(); }

    ParamPlace At(int channel, int index = 0) const { return {*doc, channel, index}; }

    // Each index shows its text, and that text, typed into a page's field or given to the
    // command line, stands for the index again (for the readers the kind has).
    void ExpectReadsBack(int kind, const std::vector<Shown>& table, const ParamPlace& at) const {
        const ParamDescriptor& p = DescriptorOf(kind);
        for (const Shown& row : table) {
            SCOPED_TRACE(std::string(p.name) + " " + std::string(row.text));
            EXPECT_EQ(p.Show(row.index, at), row.text);
            if (p.readField) {
                EXPECT_EQ(p.ReadField({row.text}, at), row.index);
            }
            if (p.readTyped) {
                EXPECT_EQ(p.ReadTyped(row.text, at), row.index);
            }
        }
    }
};

TEST_F(ParamDescriptorTest, ChannelKindsReadBackWhatTheyShow) {
    ExpectReadsBack(kGain, {{0, "-40.00"}, {159, "-0.25"}, {160, "0.00"}, {161, "+0.25"}, {220, "+15.00"}},
                    At(kInput));
    ExpectReadsBack(kPolarity, {{0, "+"}, {1, "-"}}, At(kInput));
    ExpectReadsBack(kDelay, {{0, "0"}, {480, "480"}, {21600, "21600"}}, At(kInput));
    ExpectReadsBack(kEqType, {{0, "Param"}, {1, "Lo-Shf"}, {2, "Hi-Shf"}}, At(kInput));
    ExpectReadsBack(kEqGain, {{0, "-30.00"}, {120, "0.00"}, {121, "+0.25"}, {180, "+15.00"}}, At(kInput));
    ExpectReadsBack(kEqFreq, {{0, "20"}, {980, "1000"}, {19980, "20000"}}, At(kInput));
    ExpectReadsBack(kEqWidth, {{0, "0.02"}, {31, "0.33"}, {248, "2.50"}}, At(kInput));
}

TEST_F(ParamDescriptorTest, OutputKindsReadBackWhatTheyShow) {
    ExpectReadsBack(kXoverType, {{0, "None"}, {1, "BUT"}, {2, "LR"}, {3, "BES"}}, At(kOutput));
    ExpectReadsBack(kXoverFreq, {{0, "20"}, {980, "1000"}, {19980, "20000"}}, At(kOutput));
    ExpectReadsBack(kXoverSlope, {{0, "6"}, {3, "24"}, {7, "48"}}, At(kOutput));
    ExpectReadsBack(kLimThreshold, {{0, "-20.0"}, {40, "0.0"}, {41, "+0.5"}, {80, "+20.0"}}, At(kOutput));
    ExpectReadsBack(kLimAttack, {{0, "0.3"}, {6, "0.9"}, {7, "1"}, {106, "100"}}, At(kOutput));
    ExpectReadsBack(kLimRelease, {{0, "2X"}, {2, "8X"}, {4, "32X"}}, At(kOutput));
    ExpectReadsBack(kSpeakerImpedance, {{0, "2 Ohms"}, {6, "8 Ohms"}, {14, "16 Ohms"}}, At(kOutput));
    // The amplifier gain shows its decibels too; its field takes the voltage gain.
    EXPECT_EQ(DescriptorOf(kAmpGain).Show(22, At(kOutput)), "32 (30.1 dB)");
    EXPECT_EQ(DescriptorOf(kAmpGain).ReadField({"32"}, At(kOutput)), 22);
}

TEST_F(ParamDescriptorTest, TheSourceLevelFollowsTheModel) {
    // "RLT-1448" routes an input on or off.
    ExpectReadsBack(kMixLevel, {{1, "0.00"}}, At(kOutput));
    EXPECT_EQ(DescriptorOf(kMixLevel).ReadTyped("off", At(kOutput)), 0);
    EXPECT_EQ(DescriptorOf(kMixLevel).RangeText(At(kOutput)), "off or 0 (on) on this model");
    doc->deviceModel[0] = "NQVE-1888";
    ExpectReadsBack(kMixLevel, {{1, "-40.00"}, {160, "-0.25"}, {161, "0.00"}}, At(kOutput, 3));
    EXPECT_EQ(DescriptorOf(kMixLevel).UpperBound(At(kOutput)), 161);
    // Below the lowest level is out of range on the command line, not "off".
    EXPECT_EQ(DescriptorOf(kMixLevel).ReadTyped("-40.25", At(kOutput)), -1);
    EXPECT_EQ(DescriptorOf(kMixLevel).ReadField({"-40.25"}, At(kOutput)), 0);
}

TEST_F(ParamDescriptorTest, AShelfShowsAndTakesItsSlopeAndItsWidthFieldTakesNothing) {
    doc->SetParam(kEqType, kEqLowShelf, kInput, 2);
    const ParamDescriptor& width = DescriptorOf(kEqWidth);
    EXPECT_EQ(width.Show(0, At(kInput, 2)), "6dB");
    EXPECT_EQ(width.Show(kMaxWidth, At(kInput, 2)), "12dB");
    EXPECT_EQ(width.ReadTyped("6dB", At(kInput, 2)), 0);
    EXPECT_EQ(width.ReadTyped("12db", At(kInput, 2)), 1);
    EXPECT_EQ(width.ReadTyped("0.33", At(kInput, 2)), std::nullopt);
    EXPECT_EQ(width.UpperBound(At(kInput, 2)), 1);
    doc->SetParam(kEqWidth, 1, kInput, 2);
    SetParamFromField(*doc, kEqWidth, {"0.02"}, kInput, 2);
    EXPECT_EQ(doc->eqWidth[0][kInput][2], 1);
}

TEST_F(ParamDescriptorTest, AWidthShownAsAQIsTypedAsOne) {
    doc->qDisplay[0][1] = 1;
    const ParamDescriptor& width = DescriptorOf(kEqWidth);
    EXPECT_EQ(width.Show(31, At(kInput, 1)), "4.36");
    EXPECT_EQ(width.ReadField({"4.36"}, At(kInput, 1)), 31);
    // The command line says which it means: a plain number is in octaves.
    EXPECT_EQ(width.ReadTyped("4.36Q", At(kInput, 1)), 31);
    EXPECT_EQ(width.ReadTyped("0.33", At(kInput, 1)), 31);
}

TEST_F(ParamDescriptorTest, PagesSkipWhatIsNotANumberWhileTheCommandLineWantsTheKindsUnits) {
    const ParamDescriptor& gain = DescriptorOf(kGain);
    EXPECT_EQ(gain.ReadField({"-3dBu"}, At(kInput)), 148);
    EXPECT_EQ(gain.ReadTyped("-3 dB", At(kInput)), 148);
    EXPECT_EQ(gain.ReadTyped("-3dBu", At(kInput)), std::nullopt);
    // "k" multiplies frequencies only.
    EXPECT_EQ(DescriptorOf(kEqFreq).ReadField({"2,5 kHz"}, At(kInput)), 2480);
    EXPECT_EQ(DescriptorOf(kXoverFreq).ReadTyped("2.5k", At(kOutput)), 2480);
    EXPECT_EQ(gain.ReadField({"2.5k"}, At(kInput)), 170);
    EXPECT_EQ(gain.ReadTyped("2.5k", At(kInput)), std::nullopt);
    // A delay is typed in the unit of its field, or on the command line in samples or ms.
    const ParamDescriptor& delay = DescriptorOf(kDelay);
    EXPECT_EQ(delay.ReadField({"10.000 ms", kUnitMs}, At(kInput)), 480);
    EXPECT_EQ(delay.ReadField({"1", kUnitMetres, 25}, At(kInput)), 138);
    EXPECT_EQ(delay.ReadField({"10", kUnitFeet, 25}, At(kInput)), 423);
    EXPECT_EQ(delay.ReadTyped("10ms", At(kInput)), 480);
    EXPECT_EQ(delay.ReadTyped("1 metres", At(kInput)), std::nullopt);
    EXPECT_EQ(DescriptorOf(kMute).ReadTyped("On", At(kInput)), 1);
}

// Enter on a field that shows a value keeps the value, for every index the field can show.
TEST_F(ParamDescriptorTest, EveryShownValueAppliedAgainKeepsItsValue) {
    doc->deviceModel[0] = "NQVE-1888";
    for (const int kind : {kGain, kDelay, kEqGain, kEqFreq, kEqWidth, kMixLevel, kXoverFreq, kXoverSlope,
                           kLimThreshold, kLimAttack, kLimRelease, kAmpGain, kSpeakerImpedance}) {
        const ParamDescriptor& p = DescriptorOf(kind);
        const ParamPlace at = At(kind >= kMixLevel ? kOutput : kInput);
        const int high = kind == kDelay ? 600 : p.UpperBound(at);
        for (int v = 0; v <= high; ++v) {
            ASSERT_EQ(p.ReadField({p.Show(v, at)}, at), v) << p.Show(v, at) << " kind " << kind;
        }
    }
    // The release field shows the release time beside the multiple.
    EXPECT_EQ(DescriptorOf(kLimRelease).ReadField({"4X (3.6ms)"}, At(kOutput)), 1);
}

TEST_F(ParamDescriptorTest, LookUps) {
    EXPECT_EQ(DescriptorNamed("EQ-Freq"), &DescriptorOf(kEqFreq));
    EXPECT_EQ(DescriptorNamed(""), nullptr);
    EXPECT_EQ(DescriptorNamed("gain"), nullptr);
    EXPECT_EQ(DescriptorOf(kParamKindCount).Show(1, At(kInput)), "");
    EXPECT_EQ(DescriptorOf(-1).ReadField({"1"}, At(kInput)), std::nullopt);
    EXPECT_EQ(DescriptorOf(kDelay).RangeText(At(kInput)), "0 to 21600 samples (450 ms) on this model");
}

} // namespace
