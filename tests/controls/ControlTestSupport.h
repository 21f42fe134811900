// A page that records every report its controls send, in a shown frame, for driving controls
// by messages and by the mouse and reading their pixels.
#pragma once

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Wnd.h"

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

inline std::string ReportName(UINT message) {
    switch (message) {
    case UM_CTRL_HOVER:
        return "hover";
    case UM_CTRL_PRESS:
        return "press";
    case UM_CTRL_DBLCLK:
        return "dblclk";
    case UM_CTRL_RELEASE:
        return "release";
    case UM_VALUE_CHANGED:
        return "value";
    case UM_TEXT_ENTERED:
        return "entered";
    case UM_REFRESH:
        return "refresh";
    default:
        return "message " + std::to_string(message);
    }
}

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

inline COLORREF At(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

inline int CountColour(const QImage& image, const CRect& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += At(image, x, y) == colour;
        }
    }
    return count;
}

} // namespace controls_test
