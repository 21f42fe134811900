#include "pages/WndDevice.h"

#include "PanelTestSupport.h"

#include "framework/PopupFrame.h"

#include <QApplication>
#include <QLineEdit>
#include <QObject>

#include <map>

using namespace panel_test;
using pages::ComputePanelLayout;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 660; // the strip area starts at y0 = 660 - 290 = 370
constexpr int kY0 = 370;
constexpr int kGainZero = 160;

// ---- Layout, without a window ----

TEST(PanelLayout, FourInputsAndEightOutputsOnAThousandPixels) {
    const auto layout = ComputePanelLayout(kWidth, kHeight, 4, 12);
    EXPECT_EQ(layout.stripWidth, 77);
    EXPECT_EQ(layout.groupGap, 34);
    EXPECT_EQ(layout.stripLeft, 34);
    EXPECT_EQ(layout.plotArea, CRect(0, 0, 1000, 365));
    EXPECT_EQ(layout.stripArea, CRect(0, 370, 1000, 660));
    EXPECT_EQ(layout.plotWindow, CRect(10, 20, 1000, 365));

    EXPECT_EQ(layout.stripLeftEdges[0], 34);
    EXPECT_EQ(layout.stripLeftEdges[3], 34 + 3 * 77);
    EXPECT_EQ(layout.stripLeftEdges[4], 376); // the first output, after the gap
    EXPECT_EQ(layout.stripLeftEdges[11], 376 + 7 * 77);

    const pages::StripRects& out1 = layout.strips[4];
    EXPECT_EQ(out1.nameField, CRect(376, kY0 + 2, 453, kY0 + 17));
    EXPECT_EQ(out1.gainFader, CRect(376 + 38 - 5, kY0 + 40, 376 + 38 + 25, kY0 + 175));
    EXPECT_EQ(out1.gainField, CRect(386, kY0 + 20, 443, kY0 + 35));
    EXPECT_EQ(out1.levelMeter, CRect(376 + 9, kY0 + 40, 376 + 9 + 15, kY0 + 175));
    EXPECT_EQ(out1.muteButton, CRect(381, kY0 + 180, 448, kY0 + 195));
    EXPECT_EQ(out1.polarityButton, CRect(381, kY0 + 198, 448, kY0 + 213));
    EXPECT_EQ(out1.eqButton, CRect(381, kY0 + 216, 448, kY0 + 231));
    EXPECT_EQ(out1.signalButton, CRect(381, kY0 + 234, 448, kY0 + 249));
    // Four link buttons share cw - 10 = 67 pixels: 16, 17, 17, 17.
    EXPECT_EQ(out1.linkButtons[0], CRect(381, kY0 + 252, 381 + 16, kY0 + 267));
    EXPECT_EQ(out1.linkButtons[1], CRect(381 + 16, kY0 + 252, 381 + 33, kY0 + 267));
    EXPECT_EQ(out1.linkButtons[3], CRect(381 + 50, kY0 + 252, 381 + 67, kY0 + 267));

    for (int slot = 12; slot < 16; ++slot) {
        EXPECT_EQ(layout.strips[slot].nameField, CRect()) << slot;
        EXPECT_EQ(layout.strips[slot].linkButtons[3], CRect()) << slot;
    }
}

TEST(PanelLayout, SmallAndFullDevices) {
    // 2 x 6: cw = 928 / 8 = 116, gap = 1000 - 928 - 42 = 30, first output at 34 + 232 + 30.
    const auto small = ComputePanelLayout(kWidth, kHeight, 2, 8);
    EXPECT_EQ(small.stripWidth, 116);
    EXPECT_EQ(small.groupGap, 30);
    EXPECT_EQ(small.stripLeft, 34);
    EXPECT_EQ(small.stripLeftEdges[2], 296);
    EXPECT_EQ(small.strips[7].signalButton,
              CRect(296 + 5 * 116 + 5, kY0 + 234, 296 + 6 * 116 - 5, kY0 + 249));
    EXPECT_EQ(small.strips[8].muteButton, CRect());

    // 8 x 8: cw = 58, gap 30, the last strip ends 8 pixels before the right edge.
    const auto full = ComputePanelLayout(kWidth, kHeight, 8, 16);
    EXPECT_EQ(full.stripWidth, 58);
    EXPECT_EQ(full.groupGap, 30);
    EXPECT_EQ(full.stripLeft, 34);
    EXPECT_EQ(full.stripLeftEdges[8], 34 + 8 * 58 + 30);
    EXPECT_EQ(full.strips[15].nameField.right, kWidth - 8);
    EXPECT_EQ(full.strips[0].levelMeter, CRect(34 + 7, kY0 + 40, 34 + 7 + 15, kY0 + 175));
}

TEST(PanelLayout, ADeviceWithoutChannelsLaysOutNoStrips) {
    const auto layout = ComputePanelLayout(kWidth, kHeight, 0, 0);
    EXPECT_EQ(layout.stripWidth, 0);
    EXPECT_EQ(layout.stripLeft, 34);
    EXPECT_EQ(layout.strips[0].nameField, CRect());
}

// ---- The panel on a stand-in view ----

struct PanelTest : ::testing::Test {
    ViewHost host;
    CWndDevice panel;
    CTonraDoc& doc = host.document;

    void SetUp() override {
        Open(4, 8);
        host.window->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.window));
    }
    void TearDown() override { host.Release({kWidth - 1, kHeight + 39}); }

    void Open(int inputs, int outputs) {
        ASSERT_TRUE(doc.OnNewDocument()); // every parameter at its default
        doc.SetInputCount(inputs);
        doc.SetOutputCount(outputs);
        ASSERT_TRUE(host.Open(kWidth, kHeight + 40));
        ASSERT_TRUE(panel.Create(CRect(0, 0, kWidth, kHeight), &host.view, &doc));
    }
    const CWndDevice::Strip& Strip(int c) const { return panel.GetStrip(c); }
    const pages::StripRects& Rects(int c) const { return panel.Layout().strips[c]; }
    int Gain(int c) const { return doc.GetParam(model::kGain, c, 0); }
    void TypeInto(const CWnd& field, const QString& keys) {
        host.Click(Centre(RectInParent(field)));
        QTest::keyClicks(field.GetWidget(), keys);
        QTest::keyClick(field.GetWidget(), Qt::Key_Return);
    }
};

TEST_F(PanelTest, ControlsSitAtTheLayoutsRectanglesAndUnusedSlotsHaveNoSize) {
    EXPECT_EQ(RectInParent(Strip(4).nameField), CRect(376, kY0 + 2, 453, kY0 + 17));
    EXPECT_EQ(RectInParent(Strip(4).gainFader), Rects(4).gainFader);
    EXPECT_EQ(RectInParent(Strip(11).linkButtons[2]), Rects(11).linkButtons[2]);
    for (int slot = 12; slot < 16; ++slot) {
        EXPECT_EQ(RectInParent(Strip(slot).muteButton).Size(), CSize(0, 0)) << slot;
        EXPECT_EQ(RectInParent(Strip(slot).gainFader).Size(), CSize(0, 0)) << slot;
    }
    EXPECT_EQ(Strip(0).muteButton.caption, "Mute");
    EXPECT_EQ(Strip(5).signalButton.caption, "Signal");
    EXPECT_EQ(Strip(7).linkButtons[3].caption, "4");
    EXPECT_EQ(Strip(3).gainFader.value, kGainZero);
    EXPECT_EQ(Strip(3).gainField.text, "0.00");
}

TEST_F(PanelTest, ANewChannelCountMovesTheStripsAndRecoloursThem) {
    doc.SetInputCount(8);
    doc.SetOutputCount(8);
    host.view.SendMessageToDescendants(WM_SIZE, 0, 0, false); // as the view does after a layout change
    panel.MoveWindow(CRect(0, 0, kWidth, kHeight));
    panel.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
    EXPECT_EQ(panel.Layout().stripWidth, 58);
    EXPECT_EQ(RectInParent(Strip(15).muteButton),
              CRect(34 + 15 * 58 + 30 + 5, kY0 + 180, 34 + 16 * 58 + 30 - 5, kY0 + 195));
    // Strip 4 was output 1 and is input 5 now: input colours.
    const QImage image = GrabWindow(panel);
    const CRect link = Rects(4).linkButtons[0];
    EXPECT_EQ(At(image, link.left + 3, link.top + 3), RGB(0, 128, 0));
    const CRect out1 = Rects(8).linkButtons[0];
    EXPECT_EQ(At(image, out1.left + 3, out1.top + 3), RGB(0, 128, 128));
    // Its fader loses the red thumb of output 1, which the fader of strip 8 takes.
    const COLORREF output1Thumb = RGB(255, 0, 0);
    EXPECT_EQ(CountColour(image, Rects(4).gainFader, output1Thumb), 0);
    EXPECT_GT(CountColour(image, Rects(4).gainFader, RGB(0, 0, 192)), 20);
    EXPECT_GT(CountColour(image, Rects(8).gainFader, output1Thumb), 20);
}

TEST_F(PanelTest, PaintsScalesFramesAndStripLabels) {
    const QImage image = GrabWindow(panel);
    const COLORREF label = RGB(0, 0, 128);
    // "Name" left of each group: inputs at 34 - 31, outputs at 376 - 31.
    EXPECT_GT(CountColour(image, CRect(3, kY0 + 3, 34, kY0 + 17), label), 10);
    EXPECT_GT(CountColour(image, CRect(345, kY0 + 3, 376, kY0 + 17), label), 10);
    // "Over" on the inputs, "Limit" on the outputs: the "L" stands where "Over" has its "O".
    EXPECT_GT(CountColour(image, CRect(352, kY0 + 38, 356, kY0 + 50), label), 5);
    // The group frame is sunken (black top-left), each strip frame raised (white top-left).
    EXPECT_EQ(At(image, 34, kY0 + 100), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 34 + 4 * 77 + 1, kY0 + 100), RGB(255, 255, 255));
    EXPECT_EQ(At(image, 376 + 1, kY0 + 270), RGB(255, 255, 255));
    // " In 1 " and " Out 1 " centred under their strips, on the light grey.
    EXPECT_GT(CountColour(image, CRect(34, kHeight - 20, 111, kHeight), label), 20);
    EXPECT_GT(CountColour(image, CRect(376, kHeight - 20, 453, kHeight), label), 20);
    // The label interrupts the bottom edge of the group frame, white on the sides.
    EXPECT_EQ(At(image, 40, kHeight - 12), RGB(255, 255, 255));
    EXPECT_EQ(At(image, 72, kHeight - 12), RGB(192, 192, 192));
    // The window's raised frame ends 4 pixels before the right edge.
    EXPECT_EQ(At(image, kWidth - 5, 200), RGB(128, 128, 128));
    EXPECT_EQ(At(image, 0, 200), RGB(255, 255, 255));
}

TEST_F(PanelTest, RefreshShowsTheDocumentWithoutMarkingItModified) {
    doc.SetModifiedFlag(false);
    // Values as a device delivers them: only the operator's edits are changes of the setup.
    doc.channelName[0][1] = "Kick";
    doc.gain[0][2] = 170;
    doc.polarity[0][3] = 1;
    panel.Refresh();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(panel.HasFocus());
    EXPECT_EQ(Strip(1).nameField.text, "Kick");
    EXPECT_EQ(Strip(2).gainFader.value, 170);
    EXPECT_EQ(Strip(2).gainField.text, "+2.50");
    EXPECT_TRUE(Strip(3).polarityButton.lit);
    EXPECT_EQ(Strip(3).polarityButton.caption, "- Pol");

    doc.linkGroup[0][5] = 3;
    panel.Refresh();
    EXPECT_TRUE(Strip(5).linkButtons[2].lit);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PanelTest, MuteAndPolarityToggleWithRealClicks) {
    doc.SetParam(model::kMute, 0, 2, 0);
    panel.Refresh();
    host.Click(Centre(Rects(2).muteButton));
    EXPECT_EQ(doc.GetParam(model::kMute, 2, 0), 1);
    EXPECT_TRUE(Strip(2).muteButton.lit);
    host.Click(Centre(Rects(2).muteButton));
    EXPECT_EQ(doc.GetParam(model::kMute, 2, 0), 0);
    EXPECT_FALSE(Strip(2).muteButton.lit);

    host.Click(Centre(Rects(6).polarityButton));
    EXPECT_EQ(doc.GetParam(model::kPolarity, 6, 0), 1);
    EXPECT_EQ(Strip(6).polarityButton.caption, "- Pol");
    host.Click(Centre(Rects(6).polarityButton));
    EXPECT_EQ(Strip(6).polarityButton.caption, "+ Pol");
    EXPECT_FALSE(Strip(6).polarityButton.lit);
    // Every press reaches the view with its id, after the panel acted on it.
    EXPECT_EQ(host.view.Count("press 402"), 2);
    EXPECT_EQ(host.view.Count("press 506"), 2);
}

TEST_F(PanelTest, AQuickSecondClickIsASecondClick) {
    doc.SetParam(model::kMute, 0, 2, 0);
    panel.Refresh();
    const CPoint mute = Centre(Rects(2).muteButton);
    QTest::mouseDClick(host.window, Qt::LeftButton, {}, QPoint(mute.x, mute.y));
    EXPECT_EQ(doc.GetParam(model::kMute, 2, 0), 0); // on, and off again
    EXPECT_FALSE(Strip(2).muteButton.lit);
    EXPECT_EQ(host.view.Count("press 402"), 2);

    const CPoint link = Centre(Rects(1).linkButtons[1]);
    QTest::mouseDClick(host.window, Qt::LeftButton, {}, QPoint(link.x, link.y));
    EXPECT_EQ(doc.linkGroup[0][1], 0);
    EXPECT_EQ(host.view.Count("press 805"), 2);
}

TEST_F(PanelTest, ThePlotRedrawsWhenARefreshFindsTheDocumentChangedWithoutAMouseRelease) {
    CWndPlot& plot = panel.GetPlot();
    for (int o = 0; o < model::kMaxOutputs; ++o) {
        doc.plotOutputShown[0][o] = o == 0; // output 1, fed by input 1, flat at 0 dB
    }
    plot.ComputeCurves(-1);
    QTRY_VERIFY(!plot.Response().curvesDirty);
    const pages::PlotGeometry& grid = plot.Geometry();
    const auto redInRow = [&](double db) {
        const int y = grid.LevelToY(db);
        return CountColour(GrabWindow(plot), CRect(grid.kGridLeft, y, grid.kGridLeft + grid.gridWidth, y + 1),
                           RGB(255, 0, 0));
    };
    EXPECT_GT(redInRow(0), 100);

    // As Copy channels does it: input 2 at +10 dB copied onto output 1, then a refresh.
    doc.SetParam(model::kGain, 200, 1, 0);
    doc.CopyChannel(1, 4);
    panel.Refresh();
    EXPECT_TRUE(plot.Response().curvesDirty);
    QTRY_VERIFY(!plot.Response().curvesDirty); // repainted by the plot's timer
    EXPECT_GT(redInRow(10), 100);
    EXPECT_EQ(redInRow(0), 0);

    // A refresh that finds nothing new leaves the curves alone.
    panel.Refresh();
    EXPECT_FALSE(plot.Response().curvesDirty);
}

TEST_F(PanelTest, LinkButtonsSetAndClearGroupsAndLinkedChannelsLightTheSameNumber) {
    doc.linkGroup[0][1] = 2;
    panel.Refresh();
    doc.SetModifiedFlag(false);
    host.Click(Centre(Rects(1).linkButtons[1])); // button 2 of a strip in group 2
    EXPECT_EQ(doc.linkGroup[0][1], 0);
    EXPECT_TRUE(doc.IsModified()); // link groups are kept in setup files
    EXPECT_FALSE(Strip(1).linkButtons[1].lit);
    host.Click(Centre(Rects(1).linkButtons[2]));
    EXPECT_EQ(doc.linkGroup[0][1], 3);
    host.Click(Centre(Rects(3).linkButtons[2]));
    host.Click(Centre(Rects(6).linkButtons[2])); // output 3 in group 3 too
    for (const int c : {1, 3, 6}) {
        EXPECT_TRUE(Strip(c).linkButtons[2].lit) << c;
        EXPECT_FALSE(Strip(c).linkButtons[0].lit) << c;
    }
    EXPECT_EQ(host.view.Count("press 806"), 1); // strip 1, button 3: 800 + 4 + 2

    // Inputs 2 and 4 move together; output 3 with the same number does not.
    for (const int c : {1, 3, 6}) {
        doc.mute[0][doc.ChannelSlot(c)] = 0;
    }
    panel.Refresh();
    host.Click(Centre(Rects(1).muteButton));
    EXPECT_EQ(doc.GetParam(model::kMute, 3, 0), 1);
    EXPECT_EQ(doc.GetParam(model::kMute, 6, 0), 0);
    EXPECT_TRUE(Strip(3).muteButton.lit);
    EXPECT_FALSE(Strip(6).muteButton.lit);
}

TEST_F(PanelTest, AFaderDragMovesTheChannelAndItsLinkedChannels) {
    doc.linkGroup[0][0] = 1;
    doc.linkGroup[0][2] = 1;
    doc.linkGroup[0][4] = 1; // an output in group 1: not linked with the inputs
    panel.Refresh();
    const CRect fader = Rects(0).gainFader;
    const CPoint thumb{fader.left + fader.Width() / 2, fader.top + Strip(0).gainFader.ValueToY(kGainZero)};
    host.Press(thumb);
    host.Move({thumb.x, thumb.y - 20});
    host.Move({thumb.x, thumb.y - 40});
    // While the drag goes on, the curves of the channel and its linked channel follow.
    const pages::CFilterResponse& curves = panel.GetPlot().Response();
    const double db = (Gain(0) - kGainZero) / 4.0;
    EXPECT_DOUBLE_EQ(curves.ChannelGain(0), db);
    EXPECT_DOUBLE_EQ(curves.ChannelGain(2), db);
    EXPECT_DOUBLE_EQ(curves.ChannelGain(1), 0);
    host.Release({thumb.x, thumb.y - 40});

    const int gain = Gain(0);
    EXPECT_GT(gain, kGainZero);
    EXPECT_EQ(Strip(0).gainFader.value, gain);
    EXPECT_EQ(Gain(2), gain);
    EXPECT_EQ(Strip(2).gainFader.value, gain);
    EXPECT_EQ(Strip(2).gainField.text, doc.FormatParam(model::kGain, 2, 0));
    EXPECT_EQ(Gain(1), kGainZero);
    EXPECT_EQ(Gain(4), kGainZero);
    EXPECT_FALSE(Strip(0).gainFader.IsDragging()); // the view's end of tracking reached it
}

TEST_F(PanelTest, GainTextIsReadAsDecibelsInQuarterSteps) {
    TypeInto(Strip(1).gainField, "-3.3");
    EXPECT_EQ(Gain(1), 147); // trunc(-13.2) + 160
    EXPECT_EQ(Strip(1).gainField.text, "-3.25");
    TypeInto(Strip(1).gainField, "dB");
    EXPECT_EQ(Gain(1), 160);
    TypeInto(Strip(1).gainField, "99");
    EXPECT_EQ(Gain(1), 220);
    TypeInto(Strip(9).gainField, "-99");
    EXPECT_EQ(Gain(9), 0);
}

TEST_F(PanelTest, TheNameFieldStoresAnEncodedCutName) {
    TypeInto(Strip(5).nameField, "a_b{c"); // "_" and "{" are not in the device's characters
    EXPECT_EQ(doc.GetParamText(model::kChannelName, 5), "a b c");
    EXPECT_EQ(Strip(5).nameField.text, "a b c");
    TypeInto(Strip(6).nameField, "Monitors");
    EXPECT_EQ(doc.GetParamText(model::kChannelName, 6), "Monito");
}

TEST_F(PanelTest, SlotsBeyondTheChannelCountTakeNoPartInPressesAndRefresh) {
    const bool muteLit = Strip(12).muteButton.lit;
    doc.SetModifiedFlag(false);
    panel.SendMessage(UM_CTRL_PRESS, CWndDevice::kMuteIdBase + 12, 0);
    panel.SendMessage(UM_CTRL_PRESS, CWndDevice::kLinkIdBase + 4 * 12, 0);
    panel.SendMessage(UM_CTRL_PRESS, CWndDevice::kPolarityIdBase + 15, 0);
    EXPECT_EQ(Strip(12).muteButton.lit, muteLit);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.linkGroup[0][12], 0);
    // Ids outside every range are only forwarded.
    EXPECT_EQ(host.view.Count("press 412"), 1);
    EXPECT_EQ(host.view.Count("press 515"), 1);

    doc.SetParamText(model::kChannelName, "Ghost", 12);
    panel.Refresh();
    EXPECT_EQ(Strip(12).nameField.text, "");
}

TEST_F(PanelTest, BackgroundEventsReachTheViewWithZero) {
    host.Click({5, 200}); // left of the plot
    host.Move({6, 210});
    EXPECT_EQ(host.view.Count("press 0"), 1);
    EXPECT_EQ(host.view.Count("release 0"), 1);
    EXPECT_GE(host.view.Count("hover 0"), 1);
    host.Move(Centre(Rects(3).eqButton));
    EXPECT_EQ(host.view.Count("hover 603"), 1);
}

// ---- Popups and the plot's markers ----

void ClickCloseBox(CWnd& popup) {
    auto* frame = static_cast<PopupFrame*>(popup.GetWidget()->window());
    QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, frame->CloseBox().center());
}

std::vector<int> LitButtons(const CWndDevice& panel, CModButton CWndDevice::Strip::*button) {
    std::vector<int> lit;
    for (int c = 0; c < 16; ++c) {
        if ((panel.GetStrip(c).*button).lit) {
            lit.push_back(c);
        }
    }
    return lit;
}

std::vector<int> LitEqButtons(const CWndDevice& panel) {
    return LitButtons(panel, &CWndDevice::Strip::eqButton);
}

std::vector<int> LitSignalButtons(const CWndDevice& panel) {
    return LitButtons(panel, &CWndDevice::Strip::signalButton);
}

TEST_F(PanelTest, EqButtonsOpenSwitchAndCloseTheEditorWithThePlotsMarkers) {
    CWndEQ& eq = panel.GetEqEditor();
    CWndPlot& plot = panel.GetPlot();
    host.Click(Centre(Rects(5).eqButton));
    ASSERT_NE(eq.GetSafeHwnd(), nullptr);
    EXPECT_EQ(eq.Channel(), 5);
    EXPECT_EQ(eq.PopupPos(), CPoint(1, kHeight - 256));
    EXPECT_EQ(LitEqButtons(panel), std::vector<int>{5});
    EXPECT_TRUE(plot.eqMarkersShown);
    EXPECT_EQ(plot.eqMarkerChannel, 5);

    host.Click(Centre(Rects(2).eqButton));
    EXPECT_EQ(eq.Channel(), 2);
    EXPECT_EQ(LitEqButtons(panel), std::vector<int>{2});
    EXPECT_EQ(plot.eqMarkerChannel, 2);

    host.Click(Centre(Rects(2).eqButton));
    EXPECT_EQ(eq.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(LitEqButtons(panel).empty());
    EXPECT_FALSE(plot.eqMarkersShown);
    EXPECT_EQ(host.view.Count("press 602"), 2);
}

TEST_F(PanelTest, TheEditorsCloseBoxDarkensEveryEqButton) {
    host.Click(Centre(Rects(7).eqButton));
    ASSERT_NE(panel.GetEqEditor().GetSafeHwnd(), nullptr);
    ClickCloseBox(panel.GetEqEditor());
    EXPECT_EQ(panel.GetEqEditor().GetSafeHwnd(), nullptr);
    EXPECT_TRUE(LitEqButtons(panel).empty());
    EXPECT_FALSE(panel.GetPlot().eqMarkersShown);
    // A press after the close opens a new window.
    host.Click(Centre(Rects(7).eqButton));
    EXPECT_NE(panel.GetEqEditor().GetSafeHwnd(), nullptr);
    EXPECT_EQ(LitEqButtons(panel), std::vector<int>{7});
}

TEST_F(PanelTest, SignalButtonsOpenSwitchAndCloseTheSignalPageWithTheCrossoverMarkers) {
    CWndSignal& signal = panel.GetSignalPage();
    CWndPlot& plot = panel.GetPlot();
    host.Click(Centre(Rects(9).signalButton)); // output 6
    ASSERT_NE(signal.GetSafeHwnd(), nullptr);
    EXPECT_EQ(signal.Channel(), 9);
    EXPECT_EQ(LitSignalButtons(panel), std::vector<int>{9});
    EXPECT_TRUE(plot.xoMarkersShown);
    EXPECT_EQ(plot.xoMarkerChannel, 9);
    EXPECT_TRUE(LitEqButtons(panel).empty()); // the EQ side is left alone

    host.Click(Centre(Rects(4).signalButton));
    EXPECT_EQ(signal.Channel(), 4);
    EXPECT_EQ(LitSignalButtons(panel), std::vector<int>{4});
    EXPECT_EQ(plot.xoMarkerChannel, 4);

    host.Click(Centre(Rects(4).signalButton));
    EXPECT_EQ(signal.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(LitSignalButtons(panel).empty());
    EXPECT_FALSE(plot.xoMarkersShown);

    host.Click(Centre(Rects(1).signalButton));
    ClickCloseBox(signal);
    EXPECT_EQ(signal.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(LitSignalButtons(panel).empty());
    EXPECT_FALSE(plot.xoMarkersShown);
}

TEST_F(PanelTest, BothPopupsOpenTogetherAndFollowThePanelsEdits) {
    host.Click(Centre(Rects(6).eqButton));
    host.Click(Centre(Rects(6).signalButton));
    ASSERT_NE(panel.GetEqEditor().GetSafeHwnd(), nullptr);
    ASSERT_NE(panel.GetSignalPage().GetSafeHwnd(), nullptr);
    const QImage before = GrabWindow(panel.GetEqEditor());
    doc.SetParam(model::kEqGain, 170, 6, 0);
    panel.SendMessage(UM_REFRESH, 0, 0);
    EXPECT_NE(GrabWindow(panel.GetEqEditor()), before);
    EXPECT_EQ(panel.GetEqEditor().Channel(), 6);
    EXPECT_EQ(panel.GetSignalPage().Channel(), 6);
}

TEST_F(PanelTest, ResetPopupButtonsDarkensThemAndHidesTheMarkers) {
    host.Click(Centre(Rects(1).eqButton));
    host.Click(Centre(Rects(5).signalButton));
    panel.ResetPopupButtons();
    EXPECT_TRUE(LitEqButtons(panel).empty());
    EXPECT_TRUE(LitSignalButtons(panel).empty());
    EXPECT_FALSE(panel.GetPlot().eqMarkersShown);
    EXPECT_FALSE(panel.GetPlot().xoMarkersShown);
}

// Counts the paints of the meters' windows.
class PaintCounter : public QObject {
public:
    std::map<QObject*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
        }
        return false;
    }
};

TEST_F(PanelTest, UpdateMetersRepaintsOnlyMetersThatChanged) {
    panel.UpdateMeters();
    QApplication::processEvents();
    PaintCounter counter;
    for (int c = 0; c < 12; ++c) {
        Strip(c).levelMeter.GetWidget()->installEventFilter(&counter);
    }
    doc.meterLevel[0][doc.ChannelSlot(2)] = 9;
    doc.meterLevel[0][doc.ChannelSlot(7)] = 15;
    panel.UpdateMeters();
    QApplication::processEvents();
    EXPECT_EQ(Strip(2).levelMeter.level, 9);
    EXPECT_EQ(Strip(7).levelMeter.level, 15);
    EXPECT_EQ(counter.paints.size(), 2u);
    EXPECT_EQ(counter.paints[Strip(2).levelMeter.GetWidget()], 1);
    EXPECT_EQ(counter.paints[Strip(7).levelMeter.GetWidget()], 1);

    counter.paints.clear();
    panel.UpdateMeters();
    QApplication::processEvents();
    EXPECT_TRUE(counter.paints.empty());
}

} // namespace
