#include "pages/WndChannelPopup.h"

#include "controls/ControlHelpers.h"
#include "model/ModelTypes.h"

CWndChannelPopup::CWndChannelPopup(UINT closedMessageIn) : closedMessage(closedMessageIn) {}

bool CWndChannelPopup::OpenForChannel(int y, CWnd* parent, CTonraDoc* documentIn, int channelIn) {
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
    controls::ReportToParent(*this, closedMessage, 0);
    DestroyWindow();
}

void CWndChannelPopup::OnLButtonDown(UINT, CPoint) { controls::ReportToParent(*this, UM_CTRL_PRESS, 0); }

void CWndChannelPopup::OnLButtonUp(UINT, CPoint) { controls::ReportToParent(*this, UM_CTRL_RELEASE, 0); }

LRESULT CWndChannelPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return document ? CPageWnd::OnMessage(message, wParam, lParam) : CWnd::OnMessage(message, wParam, lParam);
}

void CWndChannelPopup::ValueChanged(UINT id) {
    ApplyValue(id);
    Refresh();
    controls::ReportToParent(*this, UM_REFRESH, 0);
}

void CWndChannelPopup::EndTracking(UINT) {
    StopControls();
    Refresh();
}

// A committed text edit (the field's UM_REFRESH after its UM_TEXT_ENTERED, which brought the
// value into the document): the view answers a release with the end of tracking, which
// refreshes the panel and this page.
void CWndChannelPopup::RefreshRequested() {
    controls::ReportToParent(*this, UM_CTRL_RELEASE, static_cast<UINT>(channel));
}
