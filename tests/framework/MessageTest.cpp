#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kControlId = 17;

// A window that logs the private messages it gets and forwards them to its parent, as pages
// forward control reports to the view.
class ForwardingWnd : public CWnd {
public:
    ForwardingWnd(std::string name, std::vector<std::string>& log, LRESULT result)
        : name_(std::move(name)), log_(log), result_(result) {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        log_.push_back(name_ + ":" + std::to_string(message - WM_USER) + ":" + std::to_string(wParam));
        if (GetParent()) {
            GetParent()->SendMessage(message, wParam, 0);
        }
        return result_;
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
    LRESULT result_;
};

struct WindowChain : ::testing::Test {
    std::vector<std::string> log;
    ForwardingWnd view{"view", log, 3};
    ForwardingWnd page{"page", log, 2};
    ForwardingWnd control{"control", log, 1};
    ForwardingWnd secondControl{"second", log, 4};

    void SetUp() override {
        ASSERT_TRUE(view.CreateFrame("view", CRect(0, 0, 200, 100)));
        ASSERT_TRUE(page.CreateChild(view, CRect(0, 0, 200, 80), 2));
        ASSERT_TRUE(control.CreateChild(page, CRect(0, 0, 20, 20), kControlId));
        ASSERT_TRUE(secondControl.CreateChild(page, CRect(30, 0, 50, 20), kControlId + 1));
    }
};

TEST_F(WindowChain, PrivateMessageTravelsUpTheChainInOrderAndReturnsTheHandlersResult) {
    const LRESULT result = control.SendMessage(UM_CTRL_PRESS, kControlId, 0);

    EXPECT_EQ(result, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"control:2:17", "page:2:17", "view:2:17"}));
    EXPECT_EQ(page.SendMessage(UM_REFRESH, 0, 0), 2);
}

TEST_F(WindowChain, SendingToDescendantsReachesEveryLevelOnlyWhenDeep) {
    view.SendMessageToDescendants(UM_END_TRACKING, 0, 0, false);
    // The page forwards to the view itself, which is not a descendant.
    EXPECT_EQ(log, (std::vector<std::string>{"page:7:0", "view:7:0"}));

    log.clear();
    view.SendMessageToDescendants(UM_END_TRACKING, 0, 0, true);
    int controlsReached = 0;
    for (const std::string& entry : log) {
        controlsReached += entry.rfind("control:", 0) == 0 || entry.rfind("second:", 0) == 0;
    }
    EXPECT_EQ(controlsReached, 2);
}

TEST(MessageOnlyWindow, ReceivesMessagesWithoutAScreenWindow) {
    std::vector<std::string> log;
    ForwardingWnd engine("engine", log, 9);
    EXPECT_EQ(engine.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(engine.CreateMessageWindow());
    EXPECT_NE(engine.GetSafeHwnd(), nullptr);
    EXPECT_EQ(engine.SendMessage(UM_REFRESH, 4, 0), 9);
    EXPECT_EQ(log, (std::vector<std::string>{"engine:11:4"}));
}

TEST(MouseParameters, PackSignedCoordinates) {
    const LPARAM packed = MAKELPARAM(-5, 300);
    EXPECT_EQ(GET_X_LPARAM(packed), -5);
    EXPECT_EQ(GET_Y_LPARAM(packed), 300);
}

} // namespace
