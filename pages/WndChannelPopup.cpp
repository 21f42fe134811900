#include "pages/WndChannelPopup.h"

#include "controls/ControlHelpers.h"
#include "model/ModelTypes.h"

CWndChannelPopup::CWndChannelPopup(UINT closedMessageIn) : closedMessage(closedMessageIn) {}

bool CWndChannelPopup::OpenForChannel(int y, CWnd* parentIn, CTonraDoc* documentIn, int channelIn) {
    parent = parentIn;
    document = documentIn;
    // Created hidden: SetChannel gives the window its title, place and size, then shows it.
    if (!document || (!GetSafeHwnd() && !CreatePopup(parent, "", CRect(), false))) {
        return false;
    }
    popupPos = CPoint(1, y);
    SetChannel(channelIn);
    return true;
}

bool CWndChannelPopup::IsChannel(int channel) { return channel >= 0 && channel < model::kSlotCount; }

void CWndChannelPopup::OnMove(int, int) {
    CRect rect;
    GetWindowRect(&rect);
    popupPos = rect.TopLeft();
}

void CWndChannelPopup::OnClose() {
    controls::Report(parent, closedMessage, 0);
    DestroyWindow();
}

void CWndChannelPopup::OnLButtonDown(UINT, CPoint) { controls::Report(parent, UM_CTRL_PRESS, 0); }

void CWndChannelPopup::OnLButtonUp(UINT, CPoint) { controls::Report(parent, UM_CTRL_RELEASE, 0); }

LRESULT CWndChannelPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!document) {
        return CWnd::OnMessage(message, wParam, lParam);
    }
    const UINT id = static_cast<UINT>(wParam);
    switch (message) {
    case UM_CTRL_PRESS:
        PressButton(id);
        controls::Report(parent, UM_CTRL_PRESS, id);
        return 1;
    case UM_CTRL_RELEASE:
        ControlReleased();
        controls::Report(parent, UM_CTRL_RELEASE, id);
        return 1;
    case UM_END_TRACKING:
        EndTracking();
        Refresh();
        return 1;
    case UM_VALUE_CHANGED:
        ValueChanged(id);
        Refresh();
        controls::Report(parent, UM_REFRESH, 0);
        return 1;
    case UM_TEXT_ENTERED:
        TextEntered(id); // the field's UM_REFRESH that follows brings the display up to date
        return 1;
    case UM_REFRESH:
        // A committed text edit: the view answers a release with the end of tracking, which
        // refreshes the panel and this page.
        controls::Report(parent, UM_CTRL_RELEASE, static_cast<UINT>(channel));
        return 1;
    default:
        return CWnd::OnMessage(message, wParam, lParam);
    }
}
