// The signal page on a stand-in panel: its sizes, the delay in its four units at the page's
// temperature, the input sources, crossovers and limiter, edited with the mouse and the keyboard
// at the pixels where the controls belong.
#include "pages/WndSignal.h"

#include "PopupTestSupport.h"
#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModSpin.h"
#include "controls/ModText.h"

using namespace pages_test;

namespace {

constexpr int kPopupTop = 40;
constexpr int kInput = 0;
constexpr int kOutput = 5; // "Out 2" with four inputs
constexpr int kInputs = 4;
// The crossover, limiter and power sections start after four inputs' sources.
constexpr int kS = kInputs * 40 + 170;

// Client rectangles of the page (frame excluded), as laid out for four inputs.
const CRect kSamples(10, 25, 90, 40);
const CRect kMs(10, 45, 90, 60);
const CRect kMetres(10, 65, 90, 80);
const CRect kFeet(10, 85, 90, 100);
const CRect kTemperature(10, 120, 90, 135);
const CRect kTemperatureSpin(10, 135, 90, 145);
const CRect kDelayCoarse(95, 10, 123, 147);
const CRect kDelayFine(123, 10, 151, 147);
CRect SourceButton(int i) { return {40 * i + 171, 45, 40 * i + 199, 60}; }
CRect SourceFader(int i) { return {40 * i + 171, 65, 40 * i + 199, 147}; }
CRect XoverFreq(int x) { return {kS + 110 * x + 5, 25, kS + 110 * x + 61, 40}; }
CRect XoverCoarse(int x) { return {kS + 110 * x + 5, 45, kS + 110 * x + 33, 147}; }
CRect XoverFine(int x) { return {kS + 110 * x + 33, 45, kS + 110 * x + 61, 147}; }
CRect TypeButton(int x, int k) { return {kS + 110 * x + 66, 14 * k + 10, kS + 110 * x + 104, 14 * k + 24}; }
CRect XoverSlope(int x) { return {kS + 110 * x + 66, 85, kS + 110 * x + 104, 100}; }
const CRect kThreshold(kS + 224, 25, kS + 284, 40);
const CRect kAttack(kS + 284, 25, kS + 324, 40);
const CRect kRelease(kS + 324, 25, kS + 398, 40);
const CRect kPower(kS + 404, 25, 856 - 14 - 5, 40);
const CRect kAmpGain(kS + 404, 70, 856 - 14 - 5, 85);
const CRect kImpedance(kS + 404, 120, 856 - 14 - 5, 135);

struct SignalPageTest : ::testing::Test {
    CTonraDoc doc;
    PanelStandIn panel;
    CWndSignal page;

    void SetUp() override {
        NewDocument(doc);
        doc.SetParamText(model::kChannelName, "VOX", kInput);
        doc.SetParamText(model::kChannelName, "SUB", kOutput);
        ShowPanel(panel);
        panel.popup = &page;
        ASSERT_TRUE(page.OpenForChannel(kPopupTop, &panel, &doc, kOutput));
        ShowActive(page);
    }

    int Param(int kind, int index = 0) const { return doc.GetParam(kind, kOutput, index); }
    std::string Text(const CRect& r) {
        CModText* field = ControlAt<CModText>(page, Centre(r));
        return field ? field->text : "<no field>";
    }
    void Type(const CRect& r, const QString& keys) { TypeInto(page, Centre(r), keys); }
    CModFader* Fader(const CRect& r) { return ControlAt<CModFader>(page, Centre(r)); }
    void SetFader(const CRect& r, int value) { pages_test::SetFader(page, r, value); }
    void ClickMark(const CRect& r, int value) { pages_test::ClickMark(page, r, value); }
    CRect Window() const {
        CRect rect;
        page.GetWindowRect(&rect);
        return rect;
    }
};

TEST(SignalPageSizes, InputAndOutputWidthsAndTheReleaseTime) {
    EXPECT_EQ(pages::SignalPageWidth(false, 8), 175);
    EXPECT_EQ(pages::SignalPageWidth(true, 4), 856);
    // Beyond four inputs the page grows with the sources, which keeps the power column's width.
    EXPECT_EQ(pages::SignalPageWidth(true, 8), 1016);
    EXPECT_EQ(pages::SignalPageWidth(true, 8) - pages::SourceSectionEnd(8),
              pages::SignalPageWidth(true, 4) - pages::SourceSectionEnd(4));
    EXPECT_EQ(pages::SourceSectionEnd(2), 250);
    EXPECT_EQ(pages::ReleaseTimeText(6, 1), "4X (3.6ms)");
    EXPECT_EQ(pages::ReleaseTimeText(7, 1), "4X (4ms)");
}

TEST_F(SignalPageTest, AnInputShowsOnlyTheDelayAndAnOutputWidensAtTheSamePosition) {
    EXPECT_EQ(Window(), CRect(1, kPopupTop, 1 + 856, kPopupTop + 185));
    EXPECT_EQ(page.GetWindowText(), "Out 2: SUB - Signal");
    page.SetChannel(kInput);
    EXPECT_EQ(Window(), CRect(1, kPopupTop, 1 + 175, kPopupTop + 185));
    EXPECT_EQ(page.GetWindowText(), "In 1: VOX - Signal");
    CRect client;
    page.GetClientRect(&client);
    EXPECT_EQ(ControlAt<CModButton>(page, Centre(SourceButton(0))), nullptr); // outside the page

    FrameWindow(page)->setPosition(50, 70);
    QTRY_COMPARE(page.PopupPos(), CPoint(50, 70));
    page.SetChannel(kOutput);
    EXPECT_EQ(Window(), CRect(50, 70, 50 + 856, 70 + 185));
}

TEST_F(SignalPageTest, TheDelayReadsInSamplesMillisecondsMetresAndFeetAtTheTemperature) {
    EXPECT_EQ(Text(kTemperature), "25 C (77 F)");
    Type(kSamples, "480");
    EXPECT_EQ(Param(model::kDelay), 480);
    EXPECT_EQ(Text(kSamples), "480 samples");
    EXPECT_EQ(Text(kMs), "10.000 ms");
    EXPECT_EQ(Text(kMetres), "3.455 metres");
    EXPECT_EQ(Text(kFeet), "11.336 feet");
    EXPECT_EQ(Fader(kDelayCoarse)->value, 4);
    EXPECT_EQ(Fader(kDelayFine)->value, 80);

    Type(kMetres, "1");
    EXPECT_EQ(Param(model::kDelay), 138);
    Type(kFeet, "10");
    EXPECT_EQ(Param(model::kDelay), 423);
    Type(kMs, "2.5");
    EXPECT_EQ(Param(model::kDelay), 120);

    // At 0 degrees sound is slower (330.7 m/s): the same delay is a shorter distance.
    Type(kTemperature, "0");
    EXPECT_EQ(page.Temperature(), 0);
    EXPECT_EQ(Text(kTemperature), "0 C (32 F)");
    EXPECT_EQ(Text(kMetres), "0.827 metres");
    Type(kMetres, "1");
    EXPECT_EQ(Param(model::kDelay), 145);
    EXPECT_EQ(Param(model::kDelay, 0), 145);

    // The spin's right arrow warms the air by a degree; nothing is written.
    Click(page, CPoint(kTemperatureSpin.right - 5, 140));
    EXPECT_EQ(page.Temperature(), 1);
    EXPECT_EQ(Text(kTemperature), "1 C (34 F)");
    EXPECT_EQ(Param(model::kDelay), 145);
}

TEST_F(SignalPageTest, DelayFadersMakeTheDelayWithinTheDevicesRange) {
    SetFader(kDelayCoarse, 12);
    ClickMark(kDelayFine, 99);
    EXPECT_EQ(Param(model::kDelay), 1299);
    // The long-delay model goes to 21600 samples.
    ClickMark(kDelayCoarse, 216);
    EXPECT_EQ(Param(model::kDelay), 21600);
    EXPECT_EQ(Fader(kDelayFine)->value, 0);
}

TEST_F(SignalPageTest, TheCoarseDelayFaderFollowsTheModelOfTheDeviceShown) {
    ASSERT_EQ(Fader(kDelayCoarse)->MaxValue(), 216);
    // A sync brings in a short-delay model; the page is switched to another channel.
    doc.deviceModel[0] = "KVA-1326";
    page.SetChannel(kOutput + 1);
    EXPECT_EQ(Fader(kDelayCoarse)->MaxValue(), 24);
    ClickMark(kDelayCoarse, 24);
    EXPECT_EQ(doc.GetParam(model::kDelay, kOutput + 1, 0), 2400);

    // A refresh alone (a sync while the page is open) follows the device as well.
    doc.deviceModel[0] = "RLT-1448";
    page.Refresh();
    EXPECT_EQ(Fader(kDelayCoarse)->MaxValue(), 216);
    ClickMark(kDelayCoarse, 216);
    EXPECT_EQ(doc.GetParam(model::kDelay, kOutput + 1, 0), 21600);
}

TEST_F(SignalPageTest, SourceButtonsSwitchAndOnlyMixingModelsHaveSourceFaders) {
    ASSERT_EQ(Param(model::kMixLevel, 0), 1); // a new output takes input 1
    Click(page, Centre(SourceButton(2)));
    EXPECT_EQ(Param(model::kMixLevel, 2), 1);
    EXPECT_TRUE(ControlAt<CModButton>(page, Centre(SourceButton(2)))->lit);
    EXPECT_EQ(ControlAt<CModButton>(page, Centre(SourceButton(2)))->caption, "In3");
    Click(page, Centre(SourceButton(0)));
    EXPECT_EQ(Param(model::kMixLevel, 0), 0);
    EXPECT_EQ(Fader(SourceFader(1)), nullptr);

    doc.deviceModel[0] = "NQVE-1888";
    page.Refresh();
    CModFader* fader = Fader(SourceFader(1));
    ASSERT_NE(fader, nullptr);
    EXPECT_EQ(fader->MaxValue(), 161);
    Click(page, Centre(SourceButton(1)));
    EXPECT_EQ(Param(model::kMixLevel, 1), 161);
    EXPECT_EQ(fader->value, 161);
    TypeInto(page, CPoint(40 * 1 + 185, 32), "-6");
    EXPECT_EQ(Param(model::kMixLevel, 1), 137);
}

TEST_F(SignalPageTest, CrossoverTypesSlopesAndFrequencies) {
    Click(page, Centre(TypeButton(1, 2)));
    EXPECT_EQ(Param(model::kXoverType, 1), 2);
    EXPECT_TRUE(ControlAt<CModButton>(page, Centre(TypeButton(1, 2)))->lit);
    EXPECT_FALSE(ControlAt<CModButton>(page, Centre(TypeButton(1, 0)))->lit);
    EXPECT_EQ(ControlAt<CModButton>(page, Centre(TypeButton(1, 3)))->caption, "BES");
    EXPECT_EQ(Param(model::kXoverType, 0), 0);

    Type(XoverSlope(0), "24");
    EXPECT_EQ(Param(model::kXoverSlope, 0), 3);
    EXPECT_EQ(Text(XoverSlope(0)), "24dB");
    Type(XoverFreq(1), "80");
    EXPECT_EQ(Param(model::kXoverFreq, 1), 60);
    EXPECT_EQ(Text(XoverFreq(1)), "80Hz");

    // Coarse 0 and fine 10 would be 10 Hz: held at 20 Hz.
    ClickMark(XoverCoarse(0), 0);
    SetFader(XoverFine(0), 10);
    EXPECT_EQ(Param(model::kXoverFreq, 0), 0);
    EXPECT_EQ(Text(XoverFreq(0)), "20Hz");
}

TEST_F(SignalPageTest, TheLimiterAndTheCalculatedPower) {
    // 0 dBu, 32 times, 8 ohms.
    Type(kAmpGain, "32");
    Type(kImpedance, "8");
    EXPECT_EQ(Param(model::kAmpGain), 22);
    EXPECT_EQ(Param(model::kSpeakerImpedance), 6);
    EXPECT_EQ(Text(kPower), "19 W");
    // +20 dBu, 40 times, 4 ohms.
    Type(kThreshold, "20");
    Type(kAmpGain, "40");
    Type(kImpedance, "4");
    EXPECT_EQ(Param(model::kLimThreshold), 80);
    EXPECT_EQ(Text(kThreshold), "+20.0dBu");
    EXPECT_EQ(Text(kPower), "6000 W");

    Type(kAttack, "0.9");
    Type(kRelease, "4");
    EXPECT_EQ(Param(model::kLimAttack), 6);
    EXPECT_EQ(Param(model::kLimRelease), 1);
    EXPECT_EQ(Text(kRelease), "4X (3.6ms)");
    Type(kAttack, "1");
    EXPECT_EQ(Text(kAttack), "1ms");
    EXPECT_EQ(Text(kRelease), "4X (4ms)");
    Type(kRelease, "8");
    EXPECT_EQ(Param(model::kLimRelease), 2);
}

TEST_F(SignalPageTest, TheAmplifierSpinStepsFromTheValueOfTheChannelShown) {
    doc.ampGain[0][1] = 22; // Out 2 at 32 times
    page.Refresh();
    const CRect spin(kS + 404, 85, 856 - 14 - 5, 95);
    Click(page, CPoint(spin.right - 5, 90));
    EXPECT_EQ(Param(model::kAmpGain), 23);
    EXPECT_EQ(Text(kAmpGain), "33 (30.4 dB)");
    // Another output whose gain is 0: one step up is 1, not 24.
    page.SetChannel(kOutput + 1);
    Click(page, CPoint(spin.right - 5, 90));
    EXPECT_EQ(doc.GetParam(model::kAmpGain, kOutput + 1, 0), 1);
}

TEST_F(SignalPageTest, TheCloseBoxTellsThePanelAndANewWindowStartsAtTwentyFiveDegrees) {
    Type(kTemperature, "40");
    ASSERT_EQ(page.Temperature(), 40);
    auto* frame = static_cast<PopupFrame*>(page.GetWidget()->window());
    QTest::mouseClick(FrameWindow(page), Qt::LeftButton, {}, frame->CloseBox().center());
    EXPECT_EQ(panel.Count("closed-signal 0"), 1);
    EXPECT_EQ(page.GetSafeHwnd(), nullptr);
    page.Refresh();

    ASSERT_TRUE(page.OpenForChannel(kPopupTop, &panel, &doc, kInput));
    ShowActive(page);
    EXPECT_EQ(page.Temperature(), 25);
    EXPECT_EQ(Text(kTemperature), "25 C (77 F)");
}

TEST_F(SignalPageTest, PaintsThePanelsAndTheTwoSlopeSymbols) {
    const QImage image = GrabWindow(page);
    const COLORREF ink = RGB(0, 0, 128);
    EXPECT_EQ(At(image, 5, 5), RGB(0, 0, 0));       // sunken frame around the page
    EXPECT_EQ(At(image, 6, 6), RGB(255, 255, 255)); // raised delay panel
    EXPECT_EQ(At(image, 166, 15), RGB(0, 0, 0));    // the line under "Input Sources"
    EXPECT_EQ(At(image, 166, 16), RGB(255, 255, 255));
    // High-pass: (S+40, 10) to (S+30, 10) to (S+20, 20); low-pass mirrored.
    EXPECT_EQ(At(image, kS + 35, 10), ink);
    EXPECT_EQ(At(image, kS + 25, 15), ink);
    EXPECT_EQ(At(image, kS + 135, 10), ink);
    EXPECT_EQ(At(image, kS + 145, 15), ink);
    EXPECT_GT(CountColour(image, CRect(kS + 229, 10, kS + 279, 25), ink), 20); // "Threshold"
    // Filter colours of the type buttons: "--" of the high-pass is lit, "BUT" dark.
    EXPECT_EQ(At(image, TypeButton(0, 0).left + 3, TypeButton(0, 0).top + 3), RGB(0, 128, 192));
    EXPECT_EQ(At(image, TypeButton(1, 1).left + 3, TypeButton(1, 1).top + 3), RGB(128, 64, 0));
}

} // namespace
