#include "framework/MsgWnd.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

class TimerWnd : public CMsgWnd {
public:
    std::map<UINT_PTR, int> fired;
    UINT_PTR killOnFire = 0;

protected:
    void OnTimer(UINT_PTR id) override {
        ++fired[id];
        if (id == killOnFire) {
            KillTimer(id);
        }
    }
};

TEST(WindowTimers, TwoTimersArriveWithTheirIdsAndKeepFiringUntilKilled) {
    TimerWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    EXPECT_EQ(window.SetTimer(3, 10), 3u);
    EXPECT_EQ(window.SetTimer(7, 20), 7u);

    ASSERT_TRUE(QTest::qWaitFor([&] { return window.fired[3] >= 5 && window.fired[7] >= 3; }, 5000));

    EXPECT_TRUE(window.KillTimer(3));
    EXPECT_FALSE(window.KillTimer(3));
    const int threeAtKill = window.fired[3];
    const int sevenBefore = window.fired[7];
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.fired[7] >= sevenBefore + 3; }, 5000));
    EXPECT_EQ(window.fired[3], threeAtKill);
}

TEST(WindowTimers, KillFromTheHandlerStopsTheTimerAndPeriodZeroDoesNotSpin) {
    TimerWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    window.killOnFire = 1;
    window.SetTimer(1, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.fired[1] == 1; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(window.fired[1], 1);
}

TEST(WindowTimers, DestroyingTheWindowStopsItsTimersAndRefusesNewOnes) {
    TimerWnd window;
    EXPECT_EQ(window.SetTimer(1, 10), 0u);
    ASSERT_TRUE(window.CreateMessageWindow());
    window.SetTimer(1, 10);
    window.DestroyWindow();
    QTest::qWait(40);
    EXPECT_EQ(window.fired[1], 0);
    EXPECT_EQ(window.SetTimer(1, 10), 0u);
}

} // namespace
