#include "app/TonraView.h"

#include "framework/Dc.h"
#include "model/TonraDoc.h"

namespace {
constexpr COLORREF kBackground = RGB(0, 0, 0);
}

CTonraView::~CTonraView() {
    if (document_.GetView() == this) {
        document_.SetView(nullptr);
    }
}

int CTonraView::OnCreate() {
    document_.SetView(this);
    return 0;
}

void CTonraView::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, kBackground);
}

LRESULT CTonraView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_REFRESH) {
        Invalidate(false);
        return 1;
    }
    return CWnd::OnMessage(message, wParam, lParam);
}
