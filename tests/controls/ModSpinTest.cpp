#include "controls/ModSpin.h"
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

constexpr UINT kId = 4000;
const QPoint kRightArrow(30, 60);
const QPoint kLeftArrow(12, 60);

struct SpinTest : PageTest {
    CModSpin spin;

    void SetUp() override {
        PageTest::SetUp();
        ASSERT_TRUE(spin.Create(&page, kId));
        spin.MoveWindow(CRect(0, 50, 40, 70));
        spin.SetRange(0, 50);
        spin.SetPos(25);
    }
};

TEST_F(SpinTest, StartsEmptyAtValueZeroAndReportsValueChangesOnce) {
    CModSpin fresh;
    ASSERT_TRUE(fresh.Create(&page, kId + 1));
    CRect client;
    fresh.GetClientRect(&client);
    EXPECT_TRUE(client.IsRectEmpty());
    EXPECT_EQ(fresh.value, 0);
    fresh.value = 3;
    EXPECT_TRUE(fresh.HasChanged());
    EXPECT_FALSE(fresh.HasChanged());
}

TEST_F(SpinTest, PressReportsFirstThenTheSteppedValue) {
    std::vector<int> positionsAtReport;
    page.onReport = [&](UINT message, WPARAM) {
        if (message == UM_VALUE_CHANGED) {
            positionsAtReport.push_back(spin.GetPos());
        }
    };
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    EXPECT_EQ(page.log, (std::vector<std::string>{"press 4000", "value 4000"}));
    EXPECT_EQ(positionsAtReport, std::vector<int>{26});

    QTest::mouseRelease(window, Qt::LeftButton, {}, kRightArrow);
    EXPECT_EQ(page.log.back(), "release 4000");
    QTest::mouseClick(window, Qt::LeftButton, {}, kLeftArrow);
    EXPECT_EQ(spin.GetPos(), 25);
}

TEST_F(SpinTest, EveryTimerTickStepsThroughTheUpDownControlAndReports) {
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    page.log.clear();
    spin.SendMessage(WM_TIMER, 1, 0);
    spin.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(spin.GetPos(), 28);
    EXPECT_EQ(page.log, (std::vector<std::string>{"value 4000", "value 4000"}));

    QTest::mouseRelease(window, Qt::LeftButton, {}, kRightArrow);
    spin.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(spin.GetPos(), 28);
}

TEST_F(SpinTest, HeldArrowRepeatsUntilReleased) {
    QTest::mousePress(window, Qt::LeftButton, {}, kRightArrow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spin.GetPos() >= 29; }, 5000));
    QTest::mouseRelease(window, Qt::LeftButton, {}, kRightArrow);
    const int released = spin.GetPos();
    const int reports = page.Count("value 4000");
    QTest::qWait(150);
    EXPECT_EQ(spin.GetPos(), released);
    EXPECT_EQ(page.Count("value 4000"), reports);
}

} // namespace
