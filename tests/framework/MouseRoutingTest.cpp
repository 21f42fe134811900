#include "framework/PopupFrame.h"
#include "framework/Wnd.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MouseLogWnd : public CWnd {
public:
    MouseLogWnd(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

protected:
    void OnLButtonDown(UINT, CPoint p) override { Log("down", p); }
    void OnLButtonUp(UINT, CPoint p) override { Log("up", p); }
    void OnLButtonDblClk(UINT, CPoint p) override { Log("dblclk", p); }
    void OnMouseMove(UINT flags, CPoint p) override { Log((flags & MK_LBUTTON) ? "drag" : "move", p); }

private:
    void Log(const std::string& what, CPoint p) {
        log_.push_back(name_ + " " + what + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    std::string name_;
    std::vector<std::string>& log_;
};

struct ThreeWindows : ::testing::Test {
    std::vector<std::string> log;
    CWnd frame;
    MouseLogWnd a{"a", log}, b{"b", log}, c{"c", log};
    QWindow* window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("routing", CRect(0, 0, 300, 100)));
        ASSERT_TRUE(a.CreateChild(frame, CRect(0, 0, 100, 100), 1));
        ASSERT_TRUE(b.CreateChild(frame, CRect(100, 0, 200, 100), 2));
        ASSERT_TRUE(c.CreateChild(frame, CRect(200, 0, 300, 100), 3));
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        log.clear();
    }
};

TEST_F(ThreeWindows, MovesAndReleaseGoToTheWindowUnderThePointerWhileTheButtonIsHeld) {
    // Through the window system, so that Qt's own implicit grab would apply.
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(window, QPoint(150, 40));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(250, 30));

    // The test driver moves the pointer to each position before pressing or releasing.
    EXPECT_EQ(log, (std::vector<std::string>{"a move 50,50", "a down 50,50", "b drag 50,40", "c drag 50,30",
                                             "c up 50,30"}));
}

TEST_F(ThreeWindows, MovesWithoutAButtonAreReported) {
    QTest::mouseMove(window, QPoint(120, 10));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "b move 20,10");
}

TEST_F(ThreeWindows, DoubleClickArrivesAfterDownAndUp) {
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(210, 20));
    ASSERT_GE(log.size(), 3u);
    EXPECT_NE(std::find(log.begin(), log.end(), "c dblclk 10,20"), log.end());
}

// A point on no window of the program.
const QPoint kOutside(700, 500);

TEST_F(ThreeWindows, AReleaseOverNoWindowOfOursGoesToTheWindowThatHoldsThePress) {
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(150, 50));
    QTest::mouseMove(window, kOutside);
    QTest::mouseRelease(window, Qt::LeftButton, {}, kOutside);

    // The move outside reaches nobody; the release reaches b in its own coordinates.
    EXPECT_EQ(log, (std::vector<std::string>{"b move 50,50", "b down 50,50", "b up 600,500"}));
}

struct WithPopup : ThreeWindows {
    MouseLogWnd popup{"popup", log};
    QWindow* popupWindow = nullptr;
    // The popup's window rectangle on the screen, caption included.
    const CRect popupRect{400, 50, 600, 200};

    void SetUp() override {
        ThreeWindows::SetUp();
        ASSERT_TRUE(popup.CreatePopup(&b, "popup", popupRect));
        popupWindow = popup.GetWidget()->window()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popupWindow));
        log.clear();
    }
    QPoint OnCaption() const { return {popupRect.left + 50, popupRect.top + PopupFrame::kBorder + 4}; }
};

TEST_F(WithPopup, AReleaseOverAPopupsCaptionGoesToTheWindowThatHoldsThePress) {
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(250, 50));
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(OnCaption()));

    CPoint expected(OnCaption().x(), OnCaption().y());
    c.ScreenToClient(&expected);
    EXPECT_EQ(log, (std::vector<std::string>{"c move 50,50", "c down 50,50",
                                             "c up " + std::to_string(expected.x) + "," +
                                                 std::to_string(expected.y)}));
}

TEST_F(WithPopup, AReleaseOverAPopupsClientAreaGoesToThePopup) {
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(250, 50));
    const QPoint client(popupRect.left + PopupFrame::kClientLeft + 10,
                        popupRect.top + PopupFrame::kClientTop + 20);
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(client));

    EXPECT_EQ(log.back(), "popup up 10,20");
}

// A popup that closes during a drag held by the main window changes nothing: the release,
// where the popup was, goes to the window that holds the press.
TEST_F(WithPopup, WhenAPopupClosesDuringADragTheReleaseWhereItWasStillArrives) {
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(150, 50));
    const QPoint wherePopupWas(popupRect.left + 50, popupRect.top + 60);
    QTest::mouseMove(window, window->mapFromGlobal(wherePopupWas));
    popup.DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(wherePopupWas));

    CPoint expected(wherePopupWas.x(), wherePopupWas.y());
    b.ScreenToClient(&expected);
    EXPECT_EQ(log.back(), "b up " + std::to_string(expected.x) + "," + std::to_string(expected.y));
}

} // namespace
