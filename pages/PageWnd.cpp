#include "pages/PageWnd.h"

#include "controls/ControlHelpers.h"

LRESULT CPageWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT id = static_cast<UINT>(wParam);
    switch (message) {
    case UM_CTRL_HOVER:
        ControlHovered(id);
        return 1;
    case UM_CTRL_PRESS:
        PressButton(id);
        controls::ReportToParent(*this, UM_CTRL_PRESS, id);
        return 1;
    case UM_CTRL_RELEASE:
        ControlReleased(id);
        controls::ReportToParent(*this, UM_CTRL_RELEASE, id);
        return 1;
    case UM_VALUE_CHANGED:
        ValueChanged(id);
        return 1;
    case UM_TEXT_ENTERED:
        TextEntered(id);
        return 1;
    case UM_END_TRACKING:
        EndTracking(id);
        return 1;
    case UM_REFRESH:
        RefreshRequested();
        return 1;
    case UM_EQ_FILTERS:
    case UM_MEASUREMENT:
        // File commands are the view's: the request travels up to it.
        return GetParent() ? GetParent()->SendMessage(message, wParam, lParam) : 0;
    default:
        return CWnd::OnMessage(message, wParam, lParam);
    }
}

void CPageWnd::ControlHovered(UINT) {}
void CPageWnd::PressButton(UINT) {}
void CPageWnd::ControlReleased(UINT) {}
void CPageWnd::ValueChanged(UINT) {}
void CPageWnd::TextEntered(UINT) {}
void CPageWnd::EndTracking(UINT) {}
void CPageWnd::RefreshRequested() {}
