#include "framework/SpinButtonCtrl.h"
#include "framework/Dc.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

constexpr int kSpinWidth = 40;
constexpr int kSpinHeight = 20;
const QPoint kLeftArrow(10, 10);
const QPoint kRightArrow(30, 10);
const QPoint kElsewhere(150, 10);

COLORREF At(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

struct HorizontalSpin : ::testing::Test {
    CWnd frame;
    CWnd neighbour;
    CSpinButtonCtrl spin;
    QWindow* window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("spin", CRect(0, 0, 200, 40)));
        ASSERT_TRUE(spin.Create(UDS_HORZ, CRect(0, 0, kSpinWidth, kSpinHeight), frame, 7));
        ASSERT_TRUE(neighbour.CreateChild(frame, CRect(100, 0, 200, 40), 8));
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        spin.SetRange(0, 50);
        spin.SetPos(25);
    }
    void TearDown() override { QTest::mouseRelease(window, Qt::LeftButton, {}, kElsewhere); }
};

TEST(SpinRange, StartsAtHundredToZeroAndClampsEveryPosition) {
    CSpinButtonCtrl spin;
    int lower = 0, upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);
    spin.SetRange(0, 14);
    EXPECT_EQ(spin.SetPos(20), 0);
    EXPECT_EQ(spin.GetPos(), 14);
    spin.SetPos(-3);
    EXPECT_EQ(spin.GetPos(), 0);
    spin.SetPos(9);
    spin.SetRange(0, 5);
    EXPECT_EQ(spin.GetPos(), 5);
}

TEST_F(HorizontalSpin, RightArrowStepsUpAtOnceThenAfterTheDelayAndOnEveryRepeat) {
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    EXPECT_EQ(spin.GetPos(), 26);
    spin.SendMessage(WM_TIMER, 1, 0); // the first delay ends
    EXPECT_EQ(spin.GetPos(), 27);
    spin.SendMessage(WM_TIMER, 2, 0);
    spin.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(spin.GetPos(), 29);

    QTest::mouseRelease(window, Qt::LeftButton, {}, kRightArrow);
    spin.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(spin.GetPos(), 29);
}

TEST_F(HorizontalSpin, LeftArrowStepsDownAndStopsAtTheEndOfTheRange) {
    spin.SetPos(1);
    QTest::mousePress(window, Qt::LeftButton, {}, kLeftArrow);
    EXPECT_EQ(spin.GetPos(), 0);
    spin.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(spin.GetPos(), 0);
}

TEST_F(HorizontalSpin, AReversedRangeTurnsTheArrowsRound) {
    spin.SetRange(50, 0);
    spin.SetPos(25);
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    EXPECT_EQ(spin.GetPos(), 24);
}

TEST_F(HorizontalSpin, AReleaseOverAnotherWindowEndsTheRepeatAtTheNextTick) {
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    QTest::mouseRelease(window, Qt::LeftButton, {}, kElsewhere);
    spin.SendMessage(WM_TIMER, 1, 0);
    spin.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(spin.GetPos(), 26);
}

TEST_F(HorizontalSpin, HeldArrowRepeatsOnItsOwnTimersUntilReleased) {
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spin.GetPos() >= 30; }, 5000));
    QTest::mouseRelease(window, Qt::LeftButton, {}, kRightArrow);
    const int released = spin.GetPos();
    QTest::qWait(150);
    EXPECT_EQ(spin.GetPos(), released);
}

TEST_F(HorizontalSpin, DrawsTwoRaisedArrowButtonsAndSinksThePressedOne) {
    QImage image = GrabWindow(spin);
    ASSERT_EQ(image.size(), QSize(kSpinWidth, kSpinHeight));
    // Raised: light outer and white inner edge at the top left, black at the bottom right.
    EXPECT_EQ(At(image, 0, 0), kColour3dLight);
    EXPECT_EQ(At(image, 1, 1), kColour3dHighlight);
    EXPECT_EQ(At(image, 19, 19), kColour3dDarkShadow);
    EXPECT_EQ(At(image, 20, 0), kColour3dLight);
    // The glyphs are black triangles: the left one's tip on the left of its face.
    EXPECT_EQ(At(image, 10, 10), kColour3dDarkShadow);
    EXPECT_EQ(At(image, 30, 10), kColour3dDarkShadow);
    EXPECT_EQ(At(image, 10, 6), kColour3dLight);

    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    image = GrabWindow(spin);
    EXPECT_EQ(At(image, 20, 0), kColour3dShadow);
    EXPECT_EQ(At(image, 39, 19), kColour3dHighlight);
    EXPECT_EQ(At(image, 0, 0), kColour3dLight);
}

} // namespace
