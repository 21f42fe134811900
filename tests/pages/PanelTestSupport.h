// A stand-in for the main view: a shown frame holding a window that records every report the
// network page or the device panel forwards to it, and the document both pages work on.
#pragma once

#include "framework/Dc.h"
#include "framework/Wnd.h"
#include "model/TonraDoc.h"

#include "WindowChecks.h"

#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace panel_test {

using testsupport::At;
using testsupport::CountColour;
using testsupport::ReportName;

// Records reports; answers a release with UM_END_TRACKING to the pages, as the view does.
class RecordingView : public CWnd {
public:
    std::vector<std::string> log;
    bool endTrackingOnRelease = true;

    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        log.push_back(ReportName(message) + " " + std::to_string(wParam));
        if (message == UM_CTRL_RELEASE && endTrackingOnRelease) {
            SendMessageToDescendants(UM_END_TRACKING, wParam, 0);
        }
        return 1;
    }
};

// A frame with the view filling it; the page under test is made a child of `view`.
struct ViewHost {
    CTonraDoc document;
    CWnd frame;
    RecordingView view;
    QWindow* window = nullptr;

    bool Open(int width, int height) {
        if (!frame.CreateFrame("pages", CRect(0, 0, width, height)) ||
            !view.CreateChild(frame, CRect(0, 0, width, height))) {
            return false;
        }
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        return QTest::qWaitForWindowExposed(window);
    }
    // Mouse events at a point of the view, which is where the frame's client area starts.
    void Click(CPoint p) { QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(p.x, p.y)); }
    void Press(CPoint p) { QTest::mousePress(window, Qt::LeftButton, {}, QPoint(p.x, p.y)); }
    void Release(CPoint p) { QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(p.x, p.y)); }
    void Move(CPoint p) { QTest::mouseMove(window, QPoint(p.x, p.y)); }
};

inline CPoint Centre(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A window's rectangle in its parent's client coordinates.
inline CRect RectInParent(const CWnd& child) {
    CRect screen;
    child.GetWindowRect(&screen);
    CPoint topLeft{screen.left, screen.top};
    child.GetParent()->ScreenToClient(&topLeft);
    return {topLeft.x, topLeft.y, topLeft.x + screen.Width(), topLeft.y + screen.Height()};
}

} // namespace panel_test
