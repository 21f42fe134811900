// A stand-in for the device panel that owns a channel popup, and helpers that drive the popup
// with real mouse and key events at client coordinates, find the control under a pixel and read
// pixels.
#pragma once

#include "controls/ModFader.h"
#include "framework/Dc.h"
#include "framework/PopupFrame.h"
#include "framework/Wnd.h"
#include "model/TonraDoc.h"
#include "tests/controls/ControlTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pages_test {

using controls_test::At;
using controls_test::CountColour;

// Answers the popup as the panel and the view do: a release comes back as the end of tracking
// (which refreshes the popup), and every report is logged ("press 1700", "closed-eq 0", ...).
class PanelStandIn : public CWnd {
public:
    CWnd* popup = nullptr;
    std::vector<std::string> log;

    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        log.push_back(Name(message) + " " + std::to_string(wParam) +
                      (message == UM_EQ_FILTERS ? " " + std::to_string(lParam) : ""));
        if (message == UM_CTRL_RELEASE && popup && popup->GetSafeHwnd()) {
            popup->SendMessage(UM_END_TRACKING);
        }
        return 1;
    }

private:
    static std::string Name(UINT message) {
        switch (message) {
        case UM_CTRL_PRESS:
            return "press";
        case UM_CTRL_RELEASE:
            return "release";
        case UM_REFRESH:
            return "refresh";
        case UM_EQ_CLOSED:
            return "closed-eq";
        case UM_SIGNAL_CLOSED:
            return "closed-signal";
        case UM_EQ_FILTERS:
            return "eq-filters";
        default:
            return std::to_string(message);
        }
    }
};

// A document after New with device 0 current: 4 inputs, 8 outputs.
inline void NewDocument(CTonraDoc& doc) {
    ASSERT_TRUE(doc.OnNewDocument());
    doc.currentDevice = 0;
}

// The panel window, shown low on the screen so that the popups above it never overlap it.
inline void ShowPanel(PanelStandIn& panel) {
    ASSERT_TRUE(panel.CreateFrame("panel", CRect(0, 520, 200, 580)));
    panel.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.GetWidget()->windowHandle()));
}

inline QWindow* FrameWindow(CWnd& popup) { return popup.GetWidget()->window()->windowHandle(); }

inline QPoint InFrame(CPoint client) {
    return {client.x + PopupFrame::kClientLeft, client.y + PopupFrame::kClientTop};
}

inline void ShowActive(CWnd& popup) {
    QWindow* window = FrameWindow(popup);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

inline void Click(CWnd& popup, CPoint client) {
    QTest::mouseClick(FrameWindow(popup), Qt::LeftButton, {}, InFrame(client));
}
inline void Press(CWnd& popup, CPoint client) {
    QTest::mousePress(FrameWindow(popup), Qt::LeftButton, {}, InFrame(client));
}
inline void Release(CWnd& popup, CPoint client) {
    QTest::mouseRelease(FrameWindow(popup), Qt::LeftButton, {}, InFrame(client));
}

// The window whose widget lies under a client point of the popup.
template <typename T> T* ControlAt(CWnd& popup, CPoint client) {
    QWidget* under = popup.GetWidget()->childAt(client.x, client.y);
    auto* hook = dynamic_cast<WndWidgetHook*>(under);
    return hook ? dynamic_cast<T*>(hook->Owner()) : nullptr;
}

// Clicks the field at `client`, types `keys` and presses Enter, as the operator does.
inline void TypeInto(CWnd& popup, CPoint client, const QString& keys) {
    Click(popup, client);
    QWidget* field = popup.GetWidget()->window()->focusWidget();
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(field)) << "no field at " << client.x << "," << client.y;
    QTest::keyClicks(field, keys);
    QTest::keyClick(field, Qt::Key_Return);
}

inline CPoint Centre(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Moves the fader at client rectangle `r` as a drag would, and lets it report to the popup.
inline void SetFader(CWnd& popup, const CRect& r, int value) {
    CModFader* fader = ControlAt<CModFader>(popup, Centre(r));
    ASSERT_NE(fader, nullptr);
    fader->value = value;
    popup.SendMessage(UM_VALUE_CHANGED, fader->GetDlgCtrlID());
}

// Clicks the jump mark for `value` (0 or the top) of the fader at client rectangle `r`.
inline void ClickMark(CWnd& popup, const CRect& r, int value) {
    CModFader* fader = ControlAt<CModFader>(popup, Centre(r));
    ASSERT_NE(fader, nullptr);
    Click(popup, CPoint(r.left + 1, r.top + fader->ValueToY(value)));
}

} // namespace pages_test
