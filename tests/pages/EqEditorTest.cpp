// The EQ editor on a stand-in panel: its window and layout, and edits made with the mouse and
// the keyboard at the pixels where the controls belong, checked in the document and on screen.
#include "pages/WndEQ.h"

#include "PopupTestSupport.h"
#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModText.h"
#include "framework/ScriptedUiService.h"

using namespace pages_test;

namespace {

constexpr int kPopupTop = 40;
constexpr int kInput = 1;  // "In 2"
constexpr int kOutput = 4; // "Out 1" with four inputs

// The rectangles of band b at the editor's 1000 pixels: bands 163 wide from x 8, the buttons
// 40 wide, the faders centred on 62, 88, 114 and 140 within the band.
struct BandRects {
    explicit BandRects(int b) : left(8 + 163 * b) {}
    int left;
    CRect Lo() const { return {left + 5, 35, left + 40, 50}; }
    CRect Peq() const { return {left + 5, 50, left + 40, 65}; }
    CRect Hi() const { return {left + 5, 65, left + 40, 80}; }
    CRect WidthMode() const { return {left + 5, 90, left + 40, 105}; }
    CRect On() const { return {left + 5, 130, left + 40, 145}; }
    CRect GainFader() const { return {left + 50, 28, left + 74, 146}; }
    CRect CoarseFader() const { return {left + 76, 28, left + 100, 146}; }
    CRect FineFader() const { return {left + 102, 28, left + 126, 146}; }
    CRect WidthFader() const { return {left + 128, 28, left + 152, 146}; }
    CRect GainField() const { return {left + 43, 10, left + 81, 25}; }
    CRect FreqField() const { return {left + 82, 10, left + 120, 25}; }
    CRect WidthField() const { return {left + 121, 10, left + 159, 25}; }
};

struct EqEditorTest : ::testing::Test {
    CTonraDoc doc;
    PanelStandIn panel;
    CWndEQ eq;

    void SetUp() override {
        NewDocument(doc);
        doc.SetParamText(model::kChannelName, "KICK", kInput);
        doc.SetParamText(model::kChannelName, "FILL", kOutput);
        ShowPanel(panel);
        panel.popup = &eq;
        ASSERT_TRUE(eq.OpenForChannel(kPopupTop, &panel, &doc, kInput));
        ShowActive(eq);
    }

    int Param(int kind, int band, int channel = kInput) const { return doc.GetParam(kind, channel, band); }
    CModText* Field(const CRect& r) { return ControlAt<CModText>(eq, Centre(r)); }
    CModFader* Fader(const CRect& r) { return ControlAt<CModFader>(eq, Centre(r)); }
    void SetFader(const CRect& r, int value) { pages_test::SetFader(eq, r, value); }
    void ClickMark(const CRect& r, int value) { pages_test::ClickMark(eq, r, value); }
};

TEST(EqLayoutTest, AThousandPixelWindowGivesTheBandGeometry) {
    const pages::EqLayout layout = pages::ComputeEqLayout(1000);
    EXPECT_EQ(layout.bandWidthPx, 163);
    EXPECT_EQ(layout.bandLeft, 8);
    EXPECT_EQ(layout.buttonColumn, 40);
    EXPECT_EQ(layout.faderColumns, (std::array<int, 4>{62, 88, 114, 140}));
}

TEST_F(EqEditorTest, OpensAtItsPositionWithTheChannelTitleAndEveryControlInPlace) {
    CRect window;
    eq.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(1, kPopupTop, 1001, kPopupTop + 185));
    EXPECT_EQ(eq.GetWindowText(), "In 2: KICK - EQ");

    for (int b : {0, 3}) {
        const BandRects r(b);
        const std::vector<std::pair<CRect, UINT>> expected = {
            {r.Lo(), 2100u},          {r.Peq(), 2000u},       {r.Hi(), 2200u},
            {r.WidthMode(), 2300u},   {r.On(), 2400u},        {r.GainFader(), 1300u},
            {r.CoarseFader(), 1400u}, {r.FineFader(), 1500u}, {r.WidthFader(), 1600u},
            {r.GainField(), 1700u},   {r.FreqField(), 1800u}, {r.WidthField(), 1900u},
        };
        for (const auto& [rect, id] : expected) {
            for (CPoint corner : {rect.TopLeft(), CPoint(rect.right - 1, rect.bottom - 1)}) {
                CWnd* control = ControlAt<CWnd>(eq, corner);
                ASSERT_NE(control, nullptr) << id + b;
                EXPECT_EQ(control->GetDlgCtrlID(), id + b);
            }
        }
    }
    // The background reports to the panel with id 0.
    panel.log.clear();
    Click(eq, CPoint(3, 100));
    EXPECT_EQ(panel.log, (std::vector<std::string>{"press 0", "release 0"}));

    // A new device starts every band parametric at 1000 Hz and 0 dB, a third of an octave wide.
    EXPECT_EQ(Field(BandRects(2).GainField())->text, "0.00");
    EXPECT_EQ(Field(BandRects(2).FreqField())->text, "1000");
    EXPECT_EQ(Field(BandRects(2).WidthField())->text, "0.33");
    EXPECT_EQ(Fader(BandRects(2).CoarseFader())->value, 10);
    EXPECT_EQ(Fader(BandRects(2).FineFader())->value, 0);
}

TEST_F(EqEditorTest, TypedGainAndFrequencyLandOnTheirBand) {
    TypeInto(eq, Centre(BandRects(1).GainField()), "1.5");
    EXPECT_EQ(Param(model::kEqGain, 1), 126);
    EXPECT_EQ(Param(model::kEqGain, 0), 120);
    EXPECT_EQ(Field(BandRects(1).GainField())->text, "+1.50");
    // The committed text came back to the panel as a release for the channel.
    EXPECT_GE(panel.Count("release 1"), 1);

    TypeInto(eq, Centre(BandRects(2).FreqField()), "1200");
    EXPECT_EQ(Param(model::kEqFreq, 2), 1180);
    // A decimal comma and a "k" read as the command line reads them.
    TypeInto(eq, Centre(BandRects(2).FreqField()), "2,5k");
    EXPECT_EQ(Param(model::kEqFreq, 2), 2480);
    TypeInto(eq, Centre(BandRects(1).GainField()), "2,5");
    EXPECT_EQ(Param(model::kEqGain, 1), 130);
    TypeInto(eq, Centre(BandRects(2).FreqField()), "1000");
    EXPECT_EQ(Param(model::kEqFreq, 2), 980);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(EqEditorTest, CoarseAndFineFadersMakeTheFrequency) {
    const BandRects r(0);
    SetFader(r.CoarseFader(), 15);
    EXPECT_EQ(Param(model::kEqFreq, 0), 1480);
    SetFader(r.CoarseFader(), 10);
    ClickMark(r.FineFader(), 0);
    EXPECT_EQ(Param(model::kEqFreq, 0), 980);
    // Below 20 Hz is held at 20 Hz.
    ClickMark(r.CoarseFader(), 0);
    EXPECT_EQ(Param(model::kEqFreq, 0), 0);
    EXPECT_EQ(Field(r.FreqField())->text, "20");
}

TEST_F(EqEditorTest, WidthTypedInOctavesOrAsQ) {
    const BandRects r(3);
    TypeInto(eq, Centre(r.WidthField()), "1");
    EXPECT_EQ(Param(model::kEqWidth, 3), 98);
    EXPECT_EQ(Field(r.WidthField())->text, "1.00");

    Click(eq, Centre(r.WidthMode()));
    EXPECT_EQ(doc.qDisplay[0][3], 1);
    EXPECT_EQ(ControlAt<CModButton>(eq, Centre(r.WidthMode()))->caption, "Q");
    EXPECT_EQ(Field(r.WidthField())->text, "1.41");
    const std::vector<std::pair<QString, int>> typedQ = {{"1.41", 99}, {"2", 70}, {"10", 13}, {"0.5", 248}};
    for (const auto& [q, index] : typedQ) {
        TypeInto(eq, Centre(r.WidthField()), q);
        EXPECT_EQ(Param(model::kEqWidth, 3), index) << q.toStdString();
    }
    // The display choice belongs to the band number of every channel of the device.
    EXPECT_EQ(doc.FormatParam(model::kEqWidth, kOutput, 3), "4.36");
    EXPECT_EQ(doc.FormatParam(model::kEqWidth, kOutput, 2), "0.33");
}

TEST_F(EqEditorTest, ABandSwitchedOffHoldsZeroDecibelsAndComesBackWithItsGain) {
    const BandRects r(2);
    TypeInto(eq, Centre(r.GainField()), "-6");
    ASSERT_EQ(Param(model::kEqGain, 2), 96);

    Click(eq, Centre(r.On()));
    EXPECT_EQ(doc.eqBandOn[0][kInput][2], 0);
    EXPECT_EQ(Param(model::kEqGain, 2), 120);
    EXPECT_FALSE(ControlAt<CModButton>(eq, Centre(r.On()))->lit);
    // Off, neither typing nor the fader changes the gain.
    TypeInto(eq, Centre(r.GainField()), "3");
    SetFader(r.GainFader(), 150);
    EXPECT_EQ(Param(model::kEqGain, 2), 120);
    EXPECT_EQ(Fader(r.GainFader())->value, 120);

    Click(eq, Centre(r.On()));
    EXPECT_EQ(doc.eqBandOn[0][kInput][2], 1);
    EXPECT_EQ(Param(model::kEqGain, 2), 96);
}

TEST_F(EqEditorTest, TheSavedGainBelongsToTheBandNumberNotToTheChannel) {
    const BandRects r(2);
    TypeInto(eq, Centre(r.GainField()), "4");
    Click(eq, Centre(r.On())); // channel In 2 band 3 off, +4 dB saved
    doc.eqBandOn[0][0][2] = 0; // In 1 band 3 is off too

    eq.SetChannel(0);
    eq.Refresh();
    EXPECT_EQ(eq.GetWindowText(), "In 1:  - EQ");
    Click(eq, Centre(r.On()));
    EXPECT_EQ(doc.GetParam(model::kEqGain, 0, 2), 136);
    EXPECT_EQ(doc.GetParam(model::kEqGain, kInput, 2), 120);
}

TEST_F(EqEditorTest, TheShelfWidthFaderSwitchesBetweenTheTwoSlopes) {
    const BandRects r(1);
    Click(eq, Centre(r.Lo()));
    EXPECT_EQ(Param(model::kEqType, 1), model::kEqLowShelf);
    EXPECT_TRUE(ControlAt<CModButton>(eq, Centre(r.Lo()))->lit);
    EXPECT_FALSE(ControlAt<CModButton>(eq, Centre(r.Peq()))->lit);
    EXPECT_EQ(Field(r.WidthField())->text, "12dB"); // width 31 is the steep slope

    ClickMark(r.WidthFader(), 0);
    EXPECT_EQ(Param(model::kEqWidth, 1), 0);
    EXPECT_EQ(Field(r.WidthField())->text, "6dB");

    // The top step button: one step up from the bottom selects the steep slope.
    CModFader* fader = Fader(r.WidthFader());
    const CPoint topStep(r.left + 128 + 12, 28 + 2);
    Press(eq, topStep);
    QTRY_COMPARE(Param(model::kEqWidth, 1), 248);
    Release(eq, topStep);
    EXPECT_FALSE(fader->RepeatPeriod().has_value());
    EXPECT_EQ(Field(r.WidthField())->text, "12dB");
    EXPECT_EQ(fader->value, 248);

    // One step down from the top selects the gentle slope again.
    SetFader(r.WidthFader(), 247);
    EXPECT_EQ(Param(model::kEqWidth, 1), 0);
    EXPECT_EQ(fader->value, 0);
    EXPECT_EQ(Field(r.WidthField())->text, "6dB");

    // A shelf takes no typed width.
    TypeInto(eq, Centre(r.WidthField()), "2");
    EXPECT_EQ(Param(model::kEqWidth, 1), 0);
}

TEST_F(EqEditorTest, HiddenForAnOutputOfAFactoryEqDevice) {
    doc.factoryEq[0] = 1;
    eq.SetChannel(kOutput);
    EXPECT_FALSE(eq.IsWindowVisible());
    eq.SetChannel(kInput);
    EXPECT_TRUE(eq.IsWindowVisible());
    doc.factoryEq[0] = 0;
    eq.SetChannel(kOutput);
    EXPECT_TRUE(eq.IsWindowVisible());
    EXPECT_EQ(eq.GetWindowText(), "Out 1: FILL - EQ");
}

TEST_F(EqEditorTest, TheCloseBoxTellsThePanelAndTheEditorOpensAgainWhereItWasMoved) {
    FrameWindow(eq)->setPosition(120, 60);
    QTRY_COMPARE(eq.PopupPos(), CPoint(120, 60));
    eq.SetChannel(0); // switching keeps the position the operator chose
    CRect window;
    eq.GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(120, 60));

    auto* frame = static_cast<PopupFrame*>(eq.GetWidget()->window());
    QTest::mouseClick(FrameWindow(eq), Qt::LeftButton, {}, frame->CloseBox().center());
    EXPECT_EQ(panel.Count("closed-eq 0"), 1);
    EXPECT_EQ(eq.GetSafeHwnd(), nullptr);
    eq.Refresh(); // harmless without a window

    ASSERT_TRUE(eq.OpenForChannel(kPopupTop, &panel, &doc, kOutput));
    ShowActive(eq);
    eq.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(1, kPopupTop, 1001, kPopupTop + 185));
    EXPECT_EQ(Field(BandRects(0).FreqField())->text, "1000");
}

TEST_F(EqEditorTest, PaintsTheFramesLabelsAndButtonStates) {
    Click(eq, Centre(BandRects(4).On()));
    const QImage image = GrabWindow(eq);
    // Sunken frame around the bands, raised frame around each band.
    EXPECT_EQ(At(image, 7, 5), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 8, 6), RGB(255, 255, 255));
    EXPECT_EQ(At(image, 8 + 163, 6), RGB(255, 255, 255));
    // Lit and dark buttons in their colours: band 5 is off, band 1 parametric.
    EXPECT_EQ(At(image, 8 + 20, 140), RGB(0, 192, 0));
    EXPECT_EQ(At(image, 8 + 163 * 4 + 20, 140), RGB(0, 128, 0));
    EXPECT_EQ(At(image, 8 + 20, 52), RGB(0, 0, 255));
    EXPECT_EQ(At(image, 8 + 20, 37), RGB(0, 0, 128));
    // The band names "EQ1".."EQ6" above the buttons, in dark blue.
    for (int b = 0; b < 6; ++b) {
        const int left = 8 + 163 * b;
        EXPECT_GT(CountColour(image, CRect(left + 5, 10, left + 40, 25), RGB(0, 0, 128)), 10) << b;
    }
}

// The context menu offers the filter commands and hands the chosen one, with the channel, to
// the view; the editor itself changes nothing and shows nothing more.
TEST_F(EqEditorTest, ContextMenuHandsTheFilterCommandsToTheView) {
    doc.SetModifiedFlag(false);
    CScriptedUiService ui;
    const CScopedUiService scoped(ui);
    const auto rightClick = [&](CPoint client) {
        QTest::mouseClick(FrameWindow(eq), Qt::RightButton, {}, InFrame(client));
    };
    ui.AnswerMenu(CWndEQ::kImportFilters);
    ui.AnswerMenu(CWndEQ::kExportApoFilters);
    rightClick(Centre(BandRects(2).Peq()));
    rightClick(CPoint(3, 100));
    rightClick(CPoint(3, 100)); // dismissed
    ASSERT_EQ(ui.shown().size(), 3u);
    EXPECT_EQ(ui.shown()[0].text,
              "Import filters...\nExport filters...\nExport filters for Equalizer APO...\n");
    EXPECT_EQ(panel.log, (std::vector<std::string>{"eq-filters 1 1", "eq-filters 3 1"}));
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
