// The frequency response plot, headless: its geometry for a known size, its pixels, its
// buttons, its marker drags and its measurements driven by real mouse events at the plot's
// coordinates.
#include "pages/WndPlot.h"

#include "framework/Dc.h"
#include "framework/ScriptedUiService.h"
#include "model/TonraDoc.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using pages::PlotGeometry;

namespace {

// A plot of 720 x 415 pixels: a grid of 660 x 360, 220 pixels per decade, 60 per 10 dB, 0 dB
// at y 145. With its frame it fits the headless screen of 800 x 600, where the mouse reaches.
constexpr int kPlotWidth = 720;
constexpr int kPlotHeight = 415;
constexpr CPoint kPlotAt(10, 20);
constexpr int kGridLeft = 38;
constexpr int kGridTop = 25;
constexpr int kGridRight = 698;
constexpr int kGridBottom = 385;
constexpr int kZeroLine = 145;
constexpr int kX1kHz = 411; // 38 + trunc(log10(50) x 220)
constexpr int kX200Hz = 258;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGridBlue = RGB(0, 0, 192);
constexpr COLORREF kLabelBlue = RGB(0, 128, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);   // output 1
constexpr COLORREF kGreen = RGB(0, 192, 0); // output 2
constexpr COLORREF kButtonGrey = RGB(128, 128, 128);

COLORREF At(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

// The 9 x 9 pixels round the handle circle `offset` pixels right of a marker.
CRect Handle(CPoint marker, int offset) {
    return CRect(marker.x + offset - 4, marker.y - 4, marker.x + offset + 5, marker.y + 5);
}

int Count(const QImage& image, const CRect& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += At(image, x, y) == colour;
        }
    }
    return count;
}

// The device panel's part: logs the reports and ends every drag on a release, as the view does.
class PanelStandIn : public CWnd {
public:
    std::vector<std::string> log;
    CWnd* plot = nullptr;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == UM_CTRL_PRESS || message == UM_CTRL_RELEASE) {
            log.push_back((message == UM_CTRL_PRESS ? "press " : "release ") + std::to_string(wParam));
        }
        if (message == UM_MEASUREMENT) {
            log.push_back("measurement " + std::to_string(wParam) + " " + std::to_string(lParam));
        }
        if (message == UM_CTRL_RELEASE && plot) {
            plot->SendMessage(UM_END_TRACKING);
        }
        return 1;
    }
};

struct PlotTest : ::testing::Test {
    std::unique_ptr<CTonraDoc> doc = std::make_unique<CTonraDoc>();
    CWnd frame;
    PanelStandIn panel;
    CWndPlot plot;
    QWindow* window = nullptr;

    void SetUp() override { doc->OnNewDocument(); } // 4 inputs, 8 outputs, input 1 routed everywhere

    void Show() {
        ASSERT_TRUE(frame.CreateFrame("plot", CRect(0, 0, kPlotWidth + 20, kPlotHeight + 40)));
        ASSERT_TRUE(panel.CreateChild(frame, CRect(0, 0, kPlotWidth + 20, kPlotHeight + 40)));
        ASSERT_TRUE(plot.Create(&panel, doc.get()));
        panel.plot = &plot;
        plot.MoveWindow(CRect(kPlotAt.x, kPlotAt.y, kPlotAt.x + kPlotWidth, kPlotAt.y + kPlotHeight));
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override {
        if (window) {
            QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(1, 1));
        }
    }
    QImage Grab() {
        plot.ComputeCurves(-1);
        return GrabWindow(plot); // also stores the marker positions
    }
    // Real mouse events at plot coordinates.
    QPoint OnScreen(int x, int y) const { return QPoint(kPlotAt.x + x, kPlotAt.y + y); }
    void Press(int x, int y) { QTest::mousePress(window, Qt::LeftButton, {}, OnScreen(x, y)); }
    void Move(int x, int y) { QTest::mouseMove(window, OnScreen(x, y)); }
    void Release(int x, int y) { QTest::mouseRelease(window, Qt::LeftButton, {}, OnScreen(x, y)); }
    void Click(const CRect& r) {
        QTest::mouseClick(window, Qt::LeftButton, {}, OnScreen(r.left + 5, r.top + 5));
    }
    void ShowOnly(int output) {
        for (int o = 0; o < model::kMaxOutputs; ++o) {
            doc->plotOutputShown[0][o] = o == output;
        }
    }
    void SetBand(int channel, int band, int type, int gain, int freq, int width) {
        doc->SetParam(model::kEqType, type, channel, band);
        doc->SetParam(model::kEqGain, gain, channel, band);
        doc->SetParam(model::kEqFreq, freq, channel, band);
        doc->SetParam(model::kEqWidth, width, channel, band);
    }
    int Param(int kind, int channel, int index) const { return doc->GetParam(kind, channel, index); }
};

} // namespace

TEST(PlotGeometryTest, GridCellsLabelsAndButtonsOfAKnownSize) {
    const PlotGeometry g(kPlotWidth, kPlotHeight);
    EXPECT_EQ(g.gridWidth, 660);
    EXPECT_EQ(g.gridHeight, 360);
    EXPECT_EQ(g.zeroLine, kZeroLine);
    // 30 Hz: 38 + trunc(log10(1.5) x 220) = 38 + 38; 100 Hz: 38 + trunc(log10(5) x 220) = 38 + 153.
    const std::array<int, 28> columns = {38,  76,  104, 125, 142, 157, 170, 181, 191, 258,
                                         296, 324, 345, 362, 377, 390, 401, 411, 478, 516,
                                         544, 565, 582, 597, 610, 621, 631, 698};
    EXPECT_EQ(g.ColumnBoundaries(), columns);
    EXPECT_EQ(g.RowBoundaries(), (std::array<int, 7>{25, 85, 145, 205, 265, 325, 385}));
    EXPECT_EQ(g.FrequencyLabelRect(0), CRect(23, 398, 53, 413));
    // "20k" ends before the window's frames, which begin 13 pixels left of its right edge.
    EXPECT_EQ(g.FrequencyLabelRect(3), CRect(677, 398, 707, 413));
    EXPECT_EQ(g.LevelLabelRect(0), CRect(3, 18, 33, 33));
    EXPECT_EQ(g.LevelLabelRect(6), CRect(3, 378, 33, 393));
    EXPECT_EQ(PlotGeometry::GroupButtonRect(4), CRect(340, 6, 410, 21));
    // Eight outputs: 28 pixels on a 30-pixel pitch, the last one ending on the grid's right edge.
    EXPECT_EQ(g.OutputButtonRect(0, 8), CRect(460, 6, 488, 21));
    EXPECT_EQ(g.OutputButtonRect(7, 8), CRect(670, 6, 698, 21));
    EXPECT_EQ(g.OutputButtonRect(5, 6), CRect(670, 6, 698, 21));
    // The integer divisions leave the last boundary one pixel short of a 1000-pixel grid.
    EXPECT_EQ(PlotGeometry(1060, 415).ColumnBoundaries().back(), 38 + 666 + 333);
}

TEST(PlotGeometryTest, PixelsFrequenciesAndLevels) {
    const PlotGeometry g(kPlotWidth, kPlotHeight);
    EXPECT_EQ(g.FrequencyToX(1000), kX1kHz);
    EXPECT_EQ(g.FrequencyToX(20), kGridLeft);
    EXPECT_EQ(g.XToFrequencyIndex(kGridLeft), 0);
    EXPECT_EQ(g.XToFrequencyIndex(0), 0);
    EXPECT_EQ(g.XToFrequencyIndex(kX200Hz), 180);
    EXPECT_EQ(g.XToFrequencyIndex(kGridRight + 5), 19980);
    EXPECT_EQ(g.LevelToY(20), kGridTop);
    EXPECT_EQ(g.LevelToY(-40), kGridBottom);
    EXPECT_EQ(g.LevelToY(-0.1), kZeroLine); // truncated toward the zero line
    EXPECT_DOUBLE_EQ(g.YToLevel(kZeroLine - 60), 10);
    EXPECT_EQ(PlotGeometry(40, 40).XToFrequencyIndex(100), 0); // no grid at all
}

TEST_F(PlotTest, GridLinesAndLabelsWhereTheLayoutPutsThem) {
    ShowOnly(-1);
    Show();
    const QImage image = Grab();
    const PlotGeometry g(kPlotWidth, kPlotHeight);
    const int rowMiddle = 115; // inside the second row
    for (const int x : g.ColumnBoundaries()) {
        EXPECT_EQ(At(image, x, rowMiddle), kGridBlue) << x;
    }
    EXPECT_EQ(At(image, 39, rowMiddle), kBlack);
    EXPECT_EQ(At(image, kGridRight - 1, rowMiddle), kBlack);
    for (const int y : g.RowBoundaries()) {
        EXPECT_EQ(At(image, 100, y), kGridBlue) << y;
    }
    EXPECT_EQ(At(image, 100, 26), kBlack);
    // Every label inside its own rectangle, and no label colour elsewhere in the margins.
    int inLabels = 0;
    for (int d = 0; d < pages::kFrequencyLabelCount; ++d) {
        const int count = Count(image, g.FrequencyLabelRect(d), kLabelBlue);
        EXPECT_GT(count, 10) << d;
        inLabels += count;
    }
    for (int j = 0; j < pages::kLevelLabelCount; ++j) {
        const int count = Count(image, g.LevelLabelRect(j), kLabelBlue);
        EXPECT_GT(count, 10) << j;
        inLabels += count;
    }
    EXPECT_EQ(Count(image, CRect(0, 0, kPlotWidth, kPlotHeight), kLabelBlue), inLabels);
    // The level labels are centred on their lines.
    EXPECT_GT(Count(image, CRect(3, 18, 33, 25), kLabelBlue), 0);
    EXPECT_GT(Count(image, CRect(3, 26, 33, 33), kLabelBlue), 0);
    // The frames: white and grey lines round the left and top edges.
    EXPECT_EQ(At(image, 0, 100), kButtonGrey);
    EXPECT_EQ(At(image, 100, 0), kButtonGrey);
    // Beside "20k" the frames on the right stay whole.
    const int labelMiddle = (g.FrequencyLabelRect(3).top + g.FrequencyLabelRect(3).bottom) / 2;
    EXPECT_EQ(At(image, kPlotWidth - 13, labelMiddle), kButtonGrey);
    EXPECT_EQ(At(image, kPlotWidth - 12, labelMiddle), kWhite);
}

TEST_F(PlotTest, SumsBeyondTheRangeAreDrawnOnTheGridsEdges) {
    doc->SetParam(model::kGain, 220, 0, 0); // input 1 +15 dB
    doc->SetParam(model::kGain, 220, 4, 0); // output 1 +15 dB: +30 dB in all
    doc->mixLevel[0][1][0] = 0;             // output 2 fed by input 2 instead
    doc->mixLevel[0][1][1] = 1;
    doc->SetParam(model::kGain, 0, 1, 0); // input 2 -40 dB
    doc->SetParam(model::kGain, 0, 5, 0); // output 2 -40 dB: -80 dB in all
    ShowOnly(0);
    doc->plotOutputShown[0][1] = 1;
    Show();
    const QImage image = Grab();
    for (int x = kGridLeft + 1; x < kGridRight; ++x) {
        ASSERT_EQ(At(image, x, kGridTop), kRed) << x;
        ASSERT_EQ(At(image, x, kGridBottom), kGreen) << x;
    }
    EXPECT_EQ(Count(image, CRect(kGridLeft, kGridTop + 1, kGridRight, kGridBottom), kRed), 0);
    EXPECT_EQ(Count(image, CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kGreen), 0);
}

TEST_F(PlotTest, GroupButtonsSwitchTheStagesAndAllOffDrawsFlatLinesAt0dB) {
    doc->SetParam(model::kGain, 180, 0, 0);
    SetBand(4, 0, model::kEqParametric, 160, 980, 31);
    doc->SetParam(model::kXoverType, 1, 4, model::kHighPass);
    ShowOnly(0);
    Show();
    for (int g = 0; g < model::kPlotCurveGroupCount; ++g) {
        Click(PlotGeometry::GroupButtonRect(g));
        EXPECT_EQ(doc->plotCurveShown[g][0], 0) << g;
    }
    EXPECT_EQ(panel.log, (std::vector<std::string>{"press 5400", "release 5400", "press 5500", "release 5500",
                                                   "press 5600", "release 5600", "press 5700", "release 5700",
                                                   "press 5800", "release 5800"}));
    const QImage image = GrabWindow(plot);
    for (int x = kGridLeft + 1; x < kGridRight; ++x) {
        ASSERT_EQ(At(image, x, kZeroLine), kRed) << x;
    }
    EXPECT_EQ(Count(image, CRect(0, kGridTop, kPlotWidth, kPlotHeight), kRed), kGridRight - kGridLeft - 1);
    // The buttons show their switches: dark grey now, lit again after a second press.
    const CRect inGain = PlotGeometry::GroupButtonRect(0);
    EXPECT_EQ(At(image, inGain.left + 3, inGain.top + 3), kButtonGrey);
    Click(inGain);
    EXPECT_EQ(doc->plotCurveShown[0][0], 1);
    EXPECT_EQ(At(GrabWindow(plot), inGain.left + 3, inGain.top + 3), RGB(128, 128, 255));
}

TEST_F(PlotTest, AnOutputSwitchedOffDrawsNothingButKeepsItsButton) {
    doc->SetParam(model::kGain, 180, 5, 0); // output 2 at +5 dB, the others at 0 dB
    Show();
    const PlotGeometry g(kPlotWidth, kPlotHeight);
    const CRect button2 = g.OutputButtonRect(1, 8);
    EXPECT_GT(Count(Grab(), CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kGreen), 0);
    Click(button2);
    EXPECT_EQ(doc->plotOutputShown[0][1], 0);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"press 5301", "release 5301"}));
    const QImage image = Grab();
    EXPECT_EQ(Count(image, CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kGreen), 0);
    EXPECT_EQ(At(image, button2.left + 3, button2.top + 3), kButtonGrey);
    EXPECT_EQ(At(image, button2.left + 3, button2.top - 1), kBlack);
}

TEST_F(PlotTest, OutputsBeyondTheOutputCountHaveNoButton) {
    doc->SetOutputCount(6);
    Show();
    const PlotGeometry g(kPlotWidth, kPlotHeight);
    int shown = 0;
    for (const QWidget* child : plot.GetWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        shown += !child->geometry().isEmpty() && child->isVisible();
    }
    EXPECT_EQ(shown, 6 + 5);
    // The last of six ends on the grid's right edge, where output 8's would be.
    const QImage image = Grab();
    EXPECT_EQ(At(image, g.OutputButtonRect(5, 6).left + 3, 10), RGB(192, 128, 0));
    EXPECT_EQ(At(image, g.OutputButtonRect(0, 8).left + 3, 10), kBlack);
    // A press where a seventh button would be reaches only the plot.
    Click(g.OutputButtonRect(0, 8));
    EXPECT_EQ(panel.log, (std::vector<std::string>{"press 0", "release 0"}));
}

TEST_F(PlotTest, ABandMarkerDraggedToTheGridsEdgesSetsTheLowestAndHighestFrequency) {
    SetBand(0, 0, model::kEqParametric, 120, 980, 31); // 1 kHz, 0 dB
    SetBand(0, 1, model::kEqParametric, 120, 180, 31);
    plot.eqMarkersShown = true;
    plot.eqMarkerChannel = 0;
    Show();
    const QImage image = Grab();
    EXPECT_EQ(plot.BandMarker(0), CPoint(kX1kHz, kZeroLine));
    EXPECT_GT(Count(image, CRect(kX1kHz - 6, kZeroLine - 6, kX1kHz + 6, kZeroLine + 6), kWhite), 5);

    Press(kX1kHz + 3, kZeroLine - 4); // within 4 pixels
    EXPECT_TRUE(plot.IsDragging());
    Move(kGridLeft, kZeroLine);
    EXPECT_EQ(Param(model::kEqFreq, 0, 0), 0);
    EXPECT_EQ(Param(model::kEqGain, 0, 0), 120);
    EXPECT_EQ(plot.Response().channelFilter, 0); // the drag recomputes the dragged channel
    Move(kGridRight + 5, kZeroLine - 30);
    EXPECT_EQ(Param(model::kEqFreq, 0, 0), 19980);
    EXPECT_EQ(Param(model::kEqGain, 0, 0), 140); // +5 dB
    Release(kGridRight + 5, kZeroLine - 30);
    EXPECT_FALSE(plot.IsDragging());
    EXPECT_EQ(plot.Response().channelFilter, -1);
    Move(kGridLeft + 200, kZeroLine);
    EXPECT_EQ(Param(model::kEqFreq, 0, 0), 19980);
    EXPECT_EQ(Param(model::kEqFreq, 0, 1), 180); // the other band never moved
    EXPECT_EQ(panel.log, (std::vector<std::string>{"press 0", "release 0"}));
}

TEST_F(PlotTest, AShelfMarkerDraggedUpBy10dBOnScreenSetsPlus15dB) {
    SetBand(1, 2, model::kEqLowShelf, 120, 180, 1); // input 2, 200 Hz, 0 dB
    plot.eqMarkersShown = true;
    plot.eqMarkerChannel = 1;
    Show();
    Grab();
    const CPoint marker = plot.BandMarker(2);
    ASSERT_EQ(marker, CPoint(kX200Hz, kZeroLine));
    Press(marker.x, marker.y);
    Move(marker.x, marker.y - 60); // +10 dB on screen, x 1.5 for a shelf
    EXPECT_EQ(Param(model::kEqGain, 1, 2), 180);
    Move(marker.x, marker.y - 100); // limited to +15 dB
    EXPECT_EQ(Param(model::kEqGain, 1, 2), 180);
    Move(marker.x, marker.y + 120); // -20 dB on screen is -30 dB
    EXPECT_EQ(Param(model::kEqGain, 1, 2), 0);
    EXPECT_EQ(Param(model::kEqFreq, 1, 2), 180);
}

TEST_F(PlotTest, TheWidthHandlesOfASelectedBandSetItsWidth) {
    SetBand(0, 0, model::kEqParametric, 160, 980, 31); // +10 dB at 1 kHz
    plot.eqMarkersShown = true;
    Show();
    Grab();
    const CPoint marker = plot.BandMarker(0);
    ASSERT_EQ(marker, CPoint(kX1kHz, kZeroLine - 60));
    Press(marker.x, marker.y);
    Release(marker.x, marker.y);
    EXPECT_TRUE(plot.IsBandSelected());
    // Handles at trunc(31 x 220 / 199) = 34 pixels each side, circles of 8 pixels.
    const QImage image = Grab();
    EXPECT_GT(Count(image, Handle(marker, 34), kWhite), 10);
    EXPECT_GT(Count(image, Handle(marker, -34), kWhite), 10);
    Press(marker.x + 34, marker.y + 2);
    Move(marker.x + 100, marker.y + 50); // 100 x 199 / 220
    EXPECT_EQ(Param(model::kEqWidth, 0, 0), 90);
    Move(marker.x - 400, marker.y);
    EXPECT_EQ(Param(model::kEqWidth, 0, 0), 248);
    EXPECT_EQ(Param(model::kEqFreq, 0, 0), 980);
    EXPECT_EQ(Param(model::kEqGain, 0, 0), 160);
}

TEST_F(PlotTest, ClickingEmptySpaceKeepsTheBandsHandlesButStopsTheDragAndDropsTheCrossovers) {
    SetBand(0, 0, model::kEqParametric, 160, 980, 31);
    doc->SetParam(model::kXoverType, 1, 4, model::kHighPass);
    doc->SetParam(model::kXoverFreq, 180, 4, model::kHighPass); // 200 Hz
    doc->SetParam(model::kXoverFreq, 9980, 4, model::kLowPass); // 10 kHz
    plot.eqMarkersShown = plot.xoMarkersShown = true;
    plot.xoMarkerChannel = 4; // output 1
    Show();
    Grab();
    const CPoint band = plot.BandMarker(0);
    const CPoint highPass = plot.XoverMarker(model::kHighPass);
    ASSERT_EQ(highPass, CPoint(kX200Hz, kGridBottom + 8));
    Press(highPass.x, highPass.y);
    Release(highPass.x, highPass.y);
    Press(band.x, band.y); // a band press drops the crossover selection
    EXPECT_FALSE(plot.IsXoverSelected());
    // The drag's end is lost: the band is still being dragged when empty space is clicked.
    Press(kGridLeft + 550, kGridTop + 200);
    EXPECT_FALSE(plot.IsDragging());
    EXPECT_TRUE(plot.IsBandSelected());
    const int freq = Param(model::kEqFreq, 0, 0);
    Move(kGridLeft + 10, kGridTop + 10);
    EXPECT_EQ(Param(model::kEqFreq, 0, 0), freq);
    Release(kGridLeft + 10, kGridTop + 10);
    const QImage image = Grab();
    EXPECT_GT(Count(image, Handle(plot.BandMarker(0), 34), kWhite), 10);

    // Select the high-pass: its handles at 80 - 10 x 3 = 50 pixels; empty space removes them.
    Press(highPass.x, highPass.y);
    EXPECT_TRUE(plot.IsXoverSelected());
    EXPECT_GT(Count(Grab(), Handle(highPass, 50), kWhite), 10);
    Press(kGridLeft + 550, kGridTop + 200);
    EXPECT_FALSE(plot.IsXoverSelected());
    EXPECT_EQ(Count(Grab(), Handle(highPass, 50), kWhite), 0);
}

TEST_F(PlotTest, CrossoverDragsSetTheFrequencyAndTheSlopeWhoseHandleIsDrawnNearest) {
    doc->SetParam(model::kXoverType, 1, 5, model::kLowPass); // output 2
    doc->SetParam(model::kXoverFreq, 980, 5, model::kLowPass);
    doc->SetParam(model::kXoverFreq, 19980, 5, model::kHighPass);
    plot.xoMarkersShown = true;
    plot.xoMarkerChannel = 5;
    Show();
    Grab();
    const CPoint lowPass = plot.XoverMarker(model::kLowPass);
    ASSERT_EQ(lowPass, CPoint(kX1kHz, kGridBottom + 8));
    Press(lowPass.x, lowPass.y);
    Move(kX200Hz, lowPass.y + 20);
    EXPECT_EQ(Param(model::kXoverFreq, 5, model::kLowPass), 180);
    EXPECT_EQ(plot.Response().channelFilter, 5);
    Release(kX200Hz, lowPass.y);
    Grab();
    const CPoint moved = plot.XoverMarker(model::kLowPass);
    EXPECT_EQ(moved.x, kX200Hz);
    // Slope 3: handles 80 - 10 x 3 = 50 pixels out. A pixel's move keeps the slope; 20 pixels
    // towards the marker are two steps more.
    Press(moved.x - 50, moved.y);
    Move(moved.x - 49, moved.y);
    EXPECT_TRUE(plot.IsDragging());
    EXPECT_EQ(Param(model::kXoverSlope, 5, model::kLowPass), 3);
    Move(moved.x - 30, moved.y);
    EXPECT_EQ(Param(model::kXoverSlope, 5, model::kLowPass), 5);
    Move(moved.x + 300, moved.y);
    EXPECT_EQ(Param(model::kXoverSlope, 5, model::kLowPass), 0);
    Move(moved.x + 3, moved.y);
    EXPECT_EQ(Param(model::kXoverSlope, 5, model::kLowPass), 7);
    EXPECT_EQ(Param(model::kXoverFreq, 5, model::kLowPass), 180);
}

TEST_F(PlotTest, CrossoverMarkersThatAreNotDrawnCannotBeHit) {
    plot.xoMarkersShown = true;
    plot.xoMarkerChannel = 4;
    Show();
    Grab();
    const CPoint highPass = plot.XoverMarker(model::kHighPass);
    doc->plotCurveShown[pages::kOutXover][0] = 0;
    const QImage image = Grab();
    EXPECT_EQ(Count(image, CRect(kGridLeft, kGridBottom + 1, kGridRight, kPlotHeight - 1), kWhite), 0);
    Press(highPass.x, highPass.y);
    EXPECT_FALSE(plot.IsDragging());
    Move(highPass.x + 100, highPass.y);
    EXPECT_EQ(Param(model::kXoverFreq, 4, model::kHighPass), 980);
}

TEST_F(PlotTest, ADragKeepsTheCurvesOfTheOutputsItCannotChangeDrawn) {
    doc->mixLevel[0][1][0] = 0; // output 2 fed by input 2 instead of input 1
    doc->mixLevel[0][1][1] = 1;
    ShowOnly(0);
    doc->plotOutputShown[0][1] = 1;
    plot.eqMarkersShown = true;
    plot.eqMarkerChannel = 0;
    Show();
    Grab();
    EXPECT_FALSE(plot.Response().curvesDirty);
    Press(plot.BandMarker(0).x, plot.BandMarker(0).y);
    Move(plot.BandMarker(0).x, plot.BandMarker(0).y - 30);
    EXPECT_TRUE(plot.Response().curvesDirty);
    QImage image = GrabWindow(plot);
    EXPECT_GT(Count(image, CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kRed), 0);
    EXPECT_GT(Count(image, CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kGreen), 0);
    EXPECT_TRUE(plot.Response().curvesDirty); // the timer goes on repainting during the drag
    Release(plot.BandMarker(0).x, plot.BandMarker(0).y - 30);
    image = GrabWindow(plot);
    EXPECT_GT(Count(image, CRect(kGridLeft, kGridTop, kGridRight, kGridBottom), kGreen), 0);
    EXPECT_FALSE(plot.Response().curvesDirty);
}

TEST_F(PlotTest, EndTrackingAndResetMarkers) {
    plot.eqMarkersShown = plot.xoMarkersShown = true;
    plot.eqMarkerChannel = 2;
    plot.xoMarkerChannel = 6;
    Show();
    Grab();
    Press(plot.BandMarker(0).x, plot.BandMarker(0).y);
    EXPECT_TRUE(plot.IsDragging());
    EXPECT_EQ(plot.SendMessage(UM_END_TRACKING), 1);
    EXPECT_FALSE(plot.IsDragging());
    EXPECT_TRUE(plot.IsBandSelected());
    plot.ResetMarkers();
    EXPECT_FALSE(plot.eqMarkersShown || plot.xoMarkersShown || plot.IsBandSelected() ||
                 plot.IsXoverSelected());
    EXPECT_EQ(plot.eqMarkerChannel, 0);
    EXPECT_EQ(plot.xoMarkerChannel, 0);
}

TEST_F(PlotTest, AGridWiderThanTheOldArraysIsDrawnToItsRightEdge) {
    Show();
    doc->SetParam(model::kGain, 180, 4, 0); // output 1 at +5 dB
    ShowOnly(0);
    plot.MoveWindow(CRect(0, 0, 3500, kPlotHeight)); // a grid of 3440 pixels
    EXPECT_EQ(plot.Response().PointCount(), 3439);
    const QImage image = GrabWindow(plot);
    EXPECT_EQ(At(image, kGridLeft + 3440 - 1, kZeroLine - 30), kRed);
    EXPECT_EQ(plot.Geometry().OutputButtonRect(7, 8).right, kGridLeft + 3440);
}

TEST_F(PlotTest, TheRepaintTimerRunsWhileCurvesAreDirty) {
    Show();
    Grab();
    ASSERT_FALSE(plot.Response().curvesDirty);
    plot.ComputeCurves(-1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !plot.Response().curvesDirty; }, 2000));
}

TEST_F(PlotTest, APaintOfAButtonAloneLeavesTheCurvesToTheTimersRepaint) {
    Show();
    Grab();
    ASSERT_TRUE(plot.KillTimer(0)); // the test ticks by hand
    Click(PlotGeometry::GroupButtonRect(pages::kOutGain));
    ASSERT_TRUE(plot.Response().curvesDirty);
    QTest::qWait(50); // the button repaints, and the plot beneath it
    EXPECT_TRUE(plot.Response().curvesDirty);
    plot.SendMessage(WM_TIMER, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !plot.Response().curvesDirty; }, 2000));
}

TEST(PlotGeometryTest, AMeasurementInDbSplIsDrawnShiftedByWholeRows) {
    EXPECT_EQ(pages::DisplayShiftDb({{10, 100, 1000, 30000}, {0, 85, 86, 0}}), -90); // median 86 dB
    EXPECT_EQ(pages::DisplayShiftDb({{100, 1000}, {-12, 3}}), 0);
}

// Output 2's menu, on its button, asks the panel to load its measurement; loaded as the view
// loads it, it is drawn thin at -10 dB with its prediction dashed over it, which follows a drag
// of a band of input 1 (routed to it) exactly; the menu of the curve nearest the pointer offers
// to clear it.
TEST_F(PlotTest, AMeasurementAskedForFromTheMenuIsDrawnWithAPredictionThatFollowsEdits) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out2.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("* Measurement data measured by REW V5.20\n* Freq(Hz), SPL(dB), Phase(degrees)\n");
    for (int i = 0; i <= 300; ++i) { // point 170 at 1 kHz
        file.write(QString::asprintf("%.3f, -10.0, 0.0\n", 20 * std::pow(50, i / 170.0)).toUtf8());
    }
    file.close();
    ShowOnly(0);
    doc->plotOutputShown[0][1] = 1;
    SetBand(0, 0, model::kEqParametric, 120, 980, 31); // input 1: 1 kHz, 0 dB
    plot.eqMarkersShown = true;
    plot.eqMarkerChannel = 0;
    Show();
    Grab();
    CScriptedUiService ui;
    const CScopedUiService scoped(ui);
    const CRect button2 = plot.Geometry().OutputButtonRect(1, 8);
    const auto rightClick = [&](int x, int y) {
        QTest::mouseClick(window, Qt::RightButton, {}, OnScreen(x, y));
    };
    ui.AnswerMenu(pages::CPlotMeasurements::kLoadCommand);
    rightClick(button2.left + 5, button2.top + 5);
    ASSERT_EQ(ui.shown().size(), 1u); // the file is the view's to ask for
    EXPECT_EQ(ui.shown()[0].text, "Load measurement for Out 2...\nClear measurement\n");
    EXPECT_EQ(panel.log, std::vector<std::string>{"measurement 1 1"});
    std::string problem;
    std::optional<model::Measurement> measurement = model::ReadMeasurementFile(path.toStdString(), problem);
    ASSERT_TRUE(measurement) << problem;
    pages::StoreMeasurement(*doc, 1, std::move(*measurement), path.toStdString());
    plot.MeasurementChanged(1);
    const model::LoadedMeasurement& loaded = doc->measurements[0][1];
    ASSERT_EQ(loaded.measured.hz.size(), 301u);
    QImage image = GrabWindow(plot);
    const int measuredRow = kZeroLine + 60; // -10 dB
    EXPECT_GT(Count(image, CRect(kGridLeft, measuredRow, kGridRight, measuredRow + 1), kGreen), 500);

    Press(plot.BandMarker(0).x, plot.BandMarker(0).y);
    Move(plot.BandMarker(0).x, plot.BandMarker(0).y - 30); // +5 dB
    ASSERT_EQ(Param(model::kEqGain, 0, 0), 140);
    const std::vector<double> now = pages::OutputResponseAt(*doc, 1, loaded.measured.hz);
    const auto predicted = plot.Measurements().Predicted(1);
    ASSERT_EQ(predicted.size(), 301u);
    for (std::size_t i = 0; i < predicted.size(); ++i) {
        EXPECT_NEAR(predicted[i], -10 + now[i] - loaded.responseAtLoadDb[i], 1e-9) << i;
    }
    EXPECT_NEAR(predicted[170], -5, 0.05); // the drag left the band a few Hz below 1 kHz
    image = GrabWindow(plot);
    EXPECT_GT(Count(image, CRect(kX1kHz - 12, measuredRow - 31, kX1kHz + 16, measuredRow - 15), kGreen), 3);
    EXPECT_GT(Count(image, CRect(kGridLeft, measuredRow, kGridRight, measuredRow + 1), kGreen), 500);
    Release(plot.BandMarker(0).x, plot.BandMarker(0).y - 30);

    // Both outputs' own curves lie at 0 dB away from 1 kHz: output 1 is drawn on top.
    panel.log.clear();
    rightClick(100, kZeroLine + 2);
    EXPECT_EQ(ui.LastMenu().at(0).text, "Load measurement for Out 1...");
    EXPECT_NE(ui.LastMenu().at(1).flags & MF_GRAYED, 0u);
    ui.AnswerMenu(pages::CPlotMeasurements::kClearCommand);
    rightClick(100, measuredRow - 3);
    EXPECT_EQ(ui.LastMenu().at(0).text, "Load measurement for Out 2...");
    EXPECT_EQ(ui.LastMenu().at(1).flags & MF_GRAYED, 0u);
    EXPECT_EQ(panel.log, std::vector<std::string>{"measurement 2 1"}); // nothing chosen sends nothing
    pages::ClearMeasurement(*doc, 1);
    plot.MeasurementChanged(1);
    EXPECT_TRUE(plot.Measurements().Predicted(1).empty());
    image = GrabWindow(plot);
    EXPECT_EQ(Count(image, CRect(kGridLeft, measuredRow, kGridRight, measuredRow + 1), kGreen), 0);
}
