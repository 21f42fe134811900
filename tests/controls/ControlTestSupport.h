// A page that records every report its controls send, in a shown frame, for driving controls
// by messages and by the mouse and reading their pixels.
#pragma once

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Wnd.h"

#include "WindowChecks.h"

#include <QImage>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace controls_test {

using controls::kBlack;
using controls::kGrey;
using controls::kLightGrey;
using controls::kWhite;

using testsupport::ReportName;

class LogPage : public CWnd {
public:
    // "press 12", "refresh 0", ... in the order they arrived.
    std::vector<std::string> log;
    // Runs inside the report, before it returns to the control.
    std::function<void(UINT message, WPARAM id)> onReport;

    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        log.push_back(ReportName(message) + " " + std::to_string(wParam));
        if (onReport) {
            onReport(message, wParam);
        }
        return 1;
    }
};

struct PageTest : ::testing::Test {
    CWnd frame;
    LogPage page;
    QWindow* window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("controls", CRect(0, 0, 400, 300)));
        ASSERT_TRUE(page.CreateChild(frame, CRect(0, 0, 400, 300)));
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override {
        // Leaves no button held for the next test.
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(399, 299));
    }
};

using testsupport::At;
using testsupport::CountColour;

} // namespace controls_test
