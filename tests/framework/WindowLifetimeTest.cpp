#include "framework/PopupFrame.h"
#include "framework/Wnd.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class CountingPopup : public CWnd {
public:
    int creates = 0;
    int closes = 0;
    int remembered = 0; // state kept by the object across windows
    CPoint lastMove;

protected:
    int OnCreate() override {
        ++creates;
        return 0;
    }
    void OnClose() override {
        ++closes;
        CWnd::OnClose();
    }
    void OnMove(int x, int y) override { lastMove = {x, y}; }
};

TEST(WindowLifetime, APopupIsDestroyedAndCreatedAgainWhileTheObjectKeepsItsState) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateFrame("owner", CRect(0, 0, 400, 300)));
    CountingPopup popup;
    ASSERT_TRUE(popup.CreatePopup(&owner, "In 1: Name - EQ", CRect(10, 20, 310, 220)));
    popup.remembered = 42;

    CRect windowRect, clientRect;
    popup.GetWindowRect(&windowRect);
    popup.GetClientRect(&clientRect);
    EXPECT_EQ(windowRect, CRect(10, 20, 310, 220));
    EXPECT_EQ(clientRect.Width(), 300 - PopupFrame::kExtraWidth);
    EXPECT_EQ(clientRect.Height(), 200 - PopupFrame::kExtraHeight);
    EXPECT_EQ(popup.GetWindowText(), "In 1: Name - EQ");

    // The close box: the window goes, the object stays.
    popup.SendMessage(WM_CLOSE);
    EXPECT_EQ(popup.closes, 1);
    EXPECT_EQ(popup.GetSafeHwnd(), nullptr);

    ASSERT_TRUE(popup.CreatePopup(&owner, "again", CRect(0, 0, 100, 100)));
    EXPECT_NE(popup.GetSafeHwnd(), nullptr);
    EXPECT_EQ(popup.creates, 2);
    EXPECT_EQ(popup.remembered, 42);

    popup.MoveWindow(CRect(30, 40, 130, 140));
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup.lastMove == CPoint(30, 40); }, 2000));
}

TEST(WindowLifetime, DestroyingAParentEndsItsChildrenButNotTheirObjects) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateFrame("frame", CRect(0, 0, 100, 100)));
    CWnd page, control;
    ASSERT_TRUE(page.CreateChild(frame, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(control.CreateChild(page, CRect(0, 0, 10, 10), 5));
    ASSERT_NE(control.SetTimer(1, 10), 0u);

    page.DestroyWindow();
    EXPECT_EQ(page.GetSafeHwnd(), nullptr);
    EXPECT_EQ(control.GetSafeHwnd(), nullptr);
    EXPECT_EQ(control.SetTimer(1, 10), 0u);
    EXPECT_EQ(control.GetDlgCtrlID(), 5u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_TRUE(page.CreateChild(frame, CRect(0, 0, 50, 50)));
    ASSERT_TRUE(control.CreateChild(page, CRect(0, 0, 10, 10), 5));
}

TEST(WindowLifetime, ObjectsDestroyedBeforeTheirWindowsTakeTheWindowsWithThem) {
    auto frame = std::make_unique<CWnd>();
    ASSERT_TRUE(frame->CreateFrame("frame", CRect(0, 0, 100, 100)));
    CWnd child;
    ASSERT_TRUE(child.CreateChild(*frame, CRect(0, 0, 10, 10)));
    frame.reset();
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

} // namespace
