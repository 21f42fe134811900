#include "controls/ModFader.h"
#include "ControlTestSupport.h"
#include "framework/PopupFrame.h"

#include <QCoreApplication>

#include <set>

using namespace controls_test;

namespace {

constexpr UINT kId = 30;
constexpr COLORREF kThumb = RGB(0, 128, 255);
constexpr COLORREF kScale = RGB(0, 0, 128);
constexpr COLORREF kMark = RGB(128, 0, 0);
// The device panel's level fader: 0 dB at 160 of 220, 22 divisions.
constexpr int kLevelMax = 220;
constexpr int kLevelMark = 160;
constexpr int kLevelDivisions = 22;
constexpr int kWidth = 28;
constexpr int kHeight = 200;
const CRect kFaderRect(10, 10, 10 + kWidth, 10 + kHeight);

LPARAM Where(int x, int y) { return MAKELPARAM(x, y); }

struct FaderTest : PageTest {
    CModFader fader;

    void Make(int maxValue, int markValue, int divisions, const CRect& rect = kFaderRect) {
        ASSERT_TRUE(fader.Create(rect, &page, kId, maxValue, markValue, divisions, kThumb));
    }
    int ThumbX() const { return kWidth / 2 - 3; }
    void Press(int x, int y) { fader.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Where(x, y)); }
    void Drag(int y) { fader.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Where(ThumbX(), y)); }
    void Tick() { fader.SendMessage(WM_TIMER, 1, 0); }
};

TEST_F(FaderTest, GeometryFollowsTheWindowSize) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    const int thumbH = kWidth / 2;
    EXPECT_EQ(fader.TrackRect(), CRect(kWidth / 4, 6, 3 * kWidth / 4, kHeight - 6));
    EXPECT_EQ(fader.ValueToY(kLevelMax), 7 + thumbH / 2);
    EXPECT_EQ(fader.ValueToY(0), kHeight - 8 - thumbH + thumbH / 2);

    fader.MoveWindow(CRect(10, 10, 50, 110));
    EXPECT_EQ(fader.TrackRect(), CRect(10, 6, 30, 94));
    EXPECT_EQ(fader.ValueToY(0), 100 - 8 - 20 + 10);
}

// The thumb centre line by the fader's formula, in exact integer arithmetic: the share
// `fromTop` / `of` of the travel (h - 12) - w/2 - 3 lies above the line.
int FormulaY(int w, int h, int fromTop, int of) {
    const int thumbH = w / 2;
    const int travel = h - 12 - thumbH - 3;
    return travel * fromTop / of + 1 + thumbH / 2 + 6;
}

// Two sizes of the level fader: the device panel's narrow one and a wide one.
struct FaderSize {
    int w;
    int h;
};
constexpr FaderSize kSizes[] = {{16, 122}, {kWidth, kHeight}};

TEST_F(FaderTest, ThumbLinesOfEveryValueFollowTheFormulaAtTwoSizes) {
    for (const FaderSize size : kSizes) {
        Make(kLevelMax, kLevelMark, kLevelDivisions, CRect(10, 10, 10 + size.w, 10 + size.h));
        for (int v = 0; v <= kLevelMax; ++v) {
            EXPECT_EQ(fader.ValueToY(v), FormulaY(size.w, size.h, kLevelMax - v, kLevelMax))
                << size.w << " x " << size.h << ", value " << v;
        }
        fader.DestroyWindow();
    }
    Make(kLevelMax, kLevelMark, kLevelDivisions, CRect(10, 10, 26, 132));
    EXPECT_EQ(fader.ValueToY(kLevelMark), 38); // 99 x 60 / 220 = 27 exactly
}

TEST_F(FaderTest, TicksMarksAndThumbArePaintedWhereTheFormulaPutsThemAtTwoSizes) {
    for (const FaderSize size : kSizes) {
        Make(kLevelMax, kLevelMark, kLevelDivisions, CRect(10, 10, 10 + size.w, 10 + size.h));
        const int y160 = FormulaY(size.w, size.h, kLevelMax - kLevelMark, kLevelMax);
        std::set<int> expectedTicks;
        for (int i = 1; i < kLevelDivisions; ++i) {
            expectedTicks.insert(FormulaY(size.w, size.h, kLevelDivisions - i, kLevelDivisions));
        }
        QImage image = GrabWindow(fader);
        std::set<int> tickRows;
        for (int y = 0; y < size.h; ++y) {
            if (At(image, 0, y) == kScale || (At(image, 0, y) == kMark && y == y160)) {
                tickRows.insert(y);
            }
        }
        EXPECT_EQ(tickRows, expectedTicks) << size.w << " x " << size.h;
        EXPECT_EQ(At(image, size.w - 1, y160), kMark) << size.w << " x " << size.h;

        const int thumbH = size.w / 2;
        for (const int v : {37, 111, 173}) {
            fader.value = v;
            image = GrabWindow(fader);
            const int y = FormulaY(size.w, size.h, kLevelMax - v, kLevelMax);
            EXPECT_EQ(At(image, size.w / 4 + 2, y - thumbH / 2), kWhite) << v; // raised top edge
            EXPECT_EQ(At(image, size.w / 4 + 2, y - thumbH / 2 - 1), kLightGrey) << v;
        }

        // The mark's click rectangle lies where it is drawn: rows y - 2 .. y + 1.
        fader.value = 0;
        Press(1, y160 + 1);
        EXPECT_EQ(fader.value, kLevelMark);
        fader.value = 0;
        Press(1, y160 - 2);
        EXPECT_EQ(fader.value, kLevelMark);
        fader.value = 0;
        Press(1, y160 + 2);
        EXPECT_EQ(fader.value, 0);
        fader.DestroyWindow();
    }
}

TEST_F(FaderTest, HasChangedAndSetInitialValue) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    EXPECT_TRUE(fader.HasChanged());
    EXPECT_FALSE(fader.HasChanged());
    fader.SetInitialValue(120);
    EXPECT_EQ(fader.value, 120);
    EXPECT_FALSE(fader.HasChanged());
    fader.SetInitialValue(221);
    fader.SetInitialValue(-1);
    EXPECT_EQ(fader.value, 120);
    fader.value = 121;
    EXPECT_TRUE(fader.HasChanged());
}

TEST_F(FaderTest, LevelFaderDrawsTwentyOneTicksASideAndThreeMarks) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    const QImage image = GrabWindow(fader);
    std::set<int> tickRows;
    for (int i = 1; i < kLevelDivisions; ++i) {
        tickRows.insert(fader.ValueToY(10.0 * i));
    }
    ASSERT_EQ(tickRows.size(), 21u);
    for (const int y : tickRows) {
        // The tick at 160 lies under the mark drawn after it.
        const COLORREF expected = y == fader.ValueToY(kLevelMark) ? kMark : kScale;
        EXPECT_EQ(At(image, 0, y), expected) << y;
        EXPECT_EQ(At(image, 3, y), expected) << y;
        EXPECT_EQ(At(image, kWidth - 4, y), expected) << y;
        EXPECT_EQ(At(image, kWidth - 1, y), expected) << y;
        EXPECT_NE(At(image, 4, y), kScale) << y;
    }
    std::set<int> markRows;
    for (int y = 0; y < kHeight; ++y) {
        if (At(image, kWidth - 1, y) == kMark) {
            markRows.insert(y);
        }
    }
    EXPECT_EQ(markRows,
              (std::set<int>{fader.ValueToY(kLevelMax), fader.ValueToY(kLevelMark), fader.ValueToY(0)}));
    // A mark is a filled 4 x 4 block on the left.
    const int y160 = fader.ValueToY(kLevelMark);
    EXPECT_EQ(CountColour(image, CRect(0, y160 - 2, 4, y160 + 2), kMark), 16);
}

TEST_F(FaderTest, ClicksOnTheMarksJump) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    Press(1, fader.ValueToY(kLevelMark));
    EXPECT_EQ(fader.value, kLevelMark);
    EXPECT_EQ(page.log, (std::vector<std::string>{"value 30", "press 30"}));
    Press(2, fader.ValueToY(kLevelMax) + 1);
    EXPECT_EQ(fader.value, kLevelMax);
    Press(3, fader.ValueToY(0) - 2);
    EXPECT_EQ(fader.value, 0);
    EXPECT_FALSE(fader.IsDragging());
}

TEST_F(FaderTest, ANewMaximumKeepsTheValueInsideAndTheTopMarkJumpsToIt) {
    Make(216, 0, 22);
    fader.value = 200;
    fader.SetMaxValue(24);
    EXPECT_EQ(fader.MaxValue(), 24);
    EXPECT_EQ(fader.value, 24);
    Press(1, fader.ValueToY(0));
    EXPECT_EQ(fader.value, 0);
    Press(1, fader.ValueToY(24));
    EXPECT_EQ(fader.value, 24);
    fader.SetMaxValue(216);
    Press(1, fader.ValueToY(216));
    EXPECT_EQ(fader.value, 216);
}

TEST_F(FaderTest, WithoutAThirdMarkOnlyTwoAreDrawnAndTheZeroMarkStillJumps) {
    Make(100, 0, 10);
    const QImage image = GrabWindow(fader);
    int markRows = 0;
    for (int y = 0; y < kHeight; ++y) {
        markRows += At(image, kWidth - 1, y) == kMark;
    }
    EXPECT_EQ(markRows, 2);
    fader.value = 50;
    Press(1, fader.ValueToY(0));
    EXPECT_EQ(fader.value, 0);
}

TEST_F(FaderTest, TheRealMouseReachesTheMarks) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(11, 10 + fader.ValueToY(kLevelMark)));
    EXPECT_EQ(fader.value, kLevelMark);
    EXPECT_EQ(page.log, (std::vector<std::string>{"value 30", "press 30", "release 30"}));
}

TEST_F(FaderTest, DragMovesInWholeStepsWithoutAccumulatingRemainders) {
    Make(10, 0, 10); // one step is 17 pixels: (200 - 12 - 14) / 10
    fader.SetInitialValue(5);
    const int y5 = fader.ValueToY(5);
    Press(ThumbX(), y5);
    ASSERT_TRUE(fader.IsDragging());
    page.log.clear();

    Drag(y5 - 10);
    EXPECT_EQ(fader.value, 5);
    EXPECT_EQ(page.log, std::vector<std::string>{"value 30"});
    Drag(y5 - 16); // each move is measured from the thumb: nothing was carried over
    EXPECT_EQ(fader.value, 5);
    Drag(y5 - 35);
    EXPECT_EQ(fader.value, 7);
    Drag(y5 + 400);
    EXPECT_EQ(fader.value, 0);
    Drag(-400);
    EXPECT_EQ(fader.value, 10);
}

TEST_F(FaderTest, ReleaseOverTheFaderReportsButOnlyEndTrackingEndsTheDrag) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(100);
    Press(ThumbX(), fader.ValueToY(100));
    fader.SendMessage(WM_LBUTTONUP, 0, Where(ThumbX(), fader.ValueToY(100)));
    EXPECT_EQ(page.log.back(), "release 30");
    EXPECT_TRUE(fader.IsDragging());

    EXPECT_EQ(fader.SendMessage(UM_END_TRACKING), 1);
    EXPECT_FALSE(fader.IsDragging());
    page.log.clear();
    Drag(0);
    EXPECT_EQ(fader.value, 100);
    EXPECT_TRUE(page.log.empty());
}

TEST_F(FaderTest, PressOnTheTrackAwayFromTheThumbDoesNotPage) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(100);
    Press(ThumbX(), fader.ValueToY(200));
    EXPECT_EQ(fader.value, 100);
    EXPECT_FALSE(fader.IsDragging());
    EXPECT_FALSE(fader.RepeatPeriod().has_value());
    EXPECT_EQ(page.log, std::vector<std::string>{"press 30"});
}

TEST_F(FaderTest, HeldStepButtonRepeatsAtOnceThenSlowThenFastAndKeepsReportingAtTheTop) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(kLevelMax - 1);
    Press(ThumbX(), 2);
    ASSERT_EQ(fader.RepeatPeriod(), std::optional<UINT>(0));
    page.log.clear();

    std::vector<UINT> periods;
    for (int tick = 0; tick < 13; ++tick) {
        Tick();
        periods.push_back(*fader.RepeatPeriod());
    }
    EXPECT_EQ(periods, (std::vector<UINT>{500, 500, 100, 100, 100, 100, 100, 100, 100, 100, 10, 10, 10}));
    EXPECT_EQ(fader.value, kLevelMax);
    EXPECT_EQ(page.Count("value 30"), 13);

    fader.SendMessage(UM_END_TRACKING);
    EXPECT_FALSE(fader.RepeatPeriod().has_value());
    // The next hold starts the sequence afresh.
    Press(ThumbX(), kHeight - 2);
    Tick();
    EXPECT_EQ(fader.RepeatPeriod(), std::optional<UINT>(500));
    EXPECT_EQ(fader.value, kLevelMax - 1);
}

TEST_F(FaderTest, HeldStepButtonRunsOnItsOwnTimer) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(10);
    Press(ThumbX(), kHeight - 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fader.value == 9; }, 2000));
    fader.SendMessage(UM_END_TRACKING);
    QTest::qWait(600);
    EXPECT_EQ(fader.value, 9);
}

TEST_F(FaderTest, DisabledFaderReportsThePressButNeverMoves) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(100);
    fader.SetEnabled(false);
    Press(1, fader.ValueToY(kLevelMark));
    Press(ThumbX(), 2);
    Press(ThumbX(), fader.ValueToY(100));
    Drag(0);
    EXPECT_EQ(fader.value, 100);
    EXPECT_FALSE(fader.IsDragging());
    EXPECT_FALSE(fader.RepeatPeriod().has_value());
    EXPECT_EQ(page.log, (std::vector<std::string>{"press 30", "press 30", "press 30"}));
}

TEST_F(FaderTest, ThumbSitsAtTheValueWithItsGrooveAndFrame) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    const int thumbH = kWidth / 2;
    const int x = kWidth / 4 + 3;
    for (const int v : {0, 160, 220}) {
        fader.value = v;
        const QImage image = GrabWindow(fader);
        const int y = fader.ValueToY(v);
        EXPECT_EQ(At(image, x, y - thumbH / 2), kWhite) << v; // raised frame, top
        EXPECT_EQ(At(image, x, y - thumbH / 2 + 1), kThumb) << v;
        EXPECT_EQ(At(image, x, y - 1), kBlack) << v; // groove
        EXPECT_EQ(At(image, x, y), kWhite) << v;
        EXPECT_EQ(At(image, x, y + 1), kThumb) << v;
        EXPECT_EQ(At(image, x, y + thumbH / 2), kBlack) << v; // raised frame, bottom
        EXPECT_NE(At(image, x, y + thumbH / 2 + 1), kThumb) << v;
    }
    fader.SetEnabled(false);
    const QImage image = GrabWindow(fader);
    EXPECT_EQ(At(image, x, fader.ValueToY(220) + 1), kGrey);
}

TEST_F(FaderTest, TrackAndStepButtonsAreFramed) {
    Make(kLevelMax, kLevelMark, kLevelDivisions);
    fader.SetInitialValue(100);
    QImage image = GrabWindow(fader);
    const CRect track = fader.TrackRect();
    EXPECT_EQ(At(image, 1, 1), kLightGrey);
    EXPECT_EQ(At(image, track.left, 100), kBlack); // sunken track
    EXPECT_EQ(At(image, track.right - 1, 100), kWhite);
    EXPECT_EQ(At(image, track.left + 1, 0), kWhite); // raised step buttons
    EXPECT_EQ(At(image, track.left + 1, 6), kBlack);
    EXPECT_EQ(At(image, track.left + 1, kHeight - 7), kWhite);

    Press(ThumbX(), 2);
    image = GrabWindow(fader);
    EXPECT_EQ(At(image, track.left + 1, 0), kBlack);
    EXPECT_EQ(At(image, track.left + 1, 6), kWhite);
}

// The main view's rule: a release, its own or one a control reports, ends every drag.
class ViewStandIn : public LogPage {
protected:
    void OnLButtonUp(UINT, CPoint) override {
        log.push_back("view up");
        SendMessageToDescendants(UM_END_TRACKING, 0, 0);
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LogPage::OnMessage(message, wParam, lParam);
        if (message == UM_CTRL_RELEASE) {
            SendMessageToDescendants(UM_END_TRACKING, wParam, 0);
        }
        return 1;
    }
};

// A main window of 400 x 300 at the screen's origin: the view, a panel in it with a level
// fader, and a popup to the right of the main window.
struct DragEndTest : ::testing::Test {
    CWnd frame;
    ViewStandIn view;
    LogPage panel;
    CModFader fader;
    CWnd popup;
    QWindow* window = nullptr;
    const CRect popupRect{500, 100, 700, 250};

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("main", CRect(0, 0, 400, 300)));
        ASSERT_TRUE(view.CreateChild(frame, CRect(0, 0, 400, 300)));
        ASSERT_TRUE(panel.CreateChild(view, CRect(0, 0, 400, 260)));
        ASSERT_TRUE(fader.Create(kFaderRect, &panel, kId, kLevelMax, kLevelMark, kLevelDivisions, kThumb));
        fader.SetInitialValue(100);
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(popup.CreatePopup(&panel, "EQ", popupRect));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup.GetWidget()->window()->windowHandle()));
    }
    void TearDown() override { QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(399, 299)); }

    QPoint OnThumb() const {
        return {kFaderRect.left + kWidth / 2 - 3, kFaderRect.top + fader.ValueToY(100)};
    }
    void PressThumb() {
        QTest::mousePress(window, Qt::LeftButton, {}, OnThumb());
        ASSERT_TRUE(fader.IsDragging());
        QTest::mouseMove(window, OnThumb() - QPoint(0, 30));
        ASSERT_GT(fader.value, 100);
    }
};

TEST_F(DragEndTest, AFaderDraggedOutOfTheMainWindowAndReleasedThereEndsItsDrag) {
    PressThumb();
    const int dragged = fader.value;
    QTest::mouseMove(window, QPoint(450, 20));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(450, 20));

    EXPECT_FALSE(fader.IsDragging());
    EXPECT_EQ(view.log.back(), "view up");
    // Moves outside the windows reach nobody, so the value stayed where the drag left it.
    EXPECT_EQ(fader.value, dragged);
    QTest::mouseMove(window, OnThumb() - QPoint(0, 60));
    EXPECT_EQ(fader.value, dragged);
}

TEST_F(DragEndTest, AReleaseOverAPopupsCaptionEndsADragInThePanel) {
    PressThumb();
    const QPoint caption(popupRect.left + 40, popupRect.top + PopupFrame::kBorder + 5);
    QTest::mouseMove(window, window->mapFromGlobal(caption));
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(caption));

    EXPECT_FALSE(fader.IsDragging());
    EXPECT_EQ(view.log.back(), "view up");
}

// A popup that closes while one of its faders steps takes the stepping with it: no release
// comes for a press whose window is gone, but the repeat timer ends with the window, and the
// main window's controls work on as before.
TEST_F(DragEndTest, WhenThePopupClosesDuringAHeldStepTheRepeatEndsWithIt) {
    LogPage eqPage;
    ASSERT_TRUE(eqPage.CreateChild(popup, CRect(0, 0, 150, 120)));
    CModFader eqFader;
    ASSERT_TRUE(eqFader.Create(CRect(10, 5, 26, 115), &eqPage, kId + 1, 100, 0, 10, kThumb));
    eqFader.SetInitialValue(50);
    QWindow* popupWindow = popup.GetWidget()->window()->windowHandle();
    QTest::mousePress(popupWindow, Qt::LeftButton, {},
                      QPoint(PopupFrame::kClientLeft + 18, PopupFrame::kClientTop + 5 + 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return eqFader.value > 50; }, 2000));

    popup.DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int stopped = eqFader.value;
    QTest::qWait(600); // longer than the first repeat interval
    EXPECT_EQ(eqFader.value, stopped);

    PressThumb();
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(450, 20));
    EXPECT_FALSE(fader.IsDragging());
}

TEST_F(DragEndTest, AHeldStepButtonStopsWhenReleasedOutsideTheMainWindow) {
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(kFaderRect.left + kWidth / 2, kFaderRect.top + 2));
    ASSERT_TRUE(fader.RepeatPeriod().has_value());
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(700, 500));
    EXPECT_FALSE(fader.RepeatPeriod().has_value());
}

} // namespace
