// What every custom control shares: how it reports to its page and how it draws its
// three-dimensional frames; its colours and fonts come from controls/Look.h.
#pragma once

#include "controls/Look.h"
#include "framework/Dc.h"
#include "framework/Wnd.h"

namespace controls {

// Sends a report to the window's parent: wParam `id`, lParam 0.
inline void ReportToParent(const CWnd& window, UINT message, UINT id) {
    if (CWnd* parent = window.GetParent()) {
        parent->SendMessage(message, id, 0);
    }
}

// Sends a control's report to its page: wParam the control's id.
inline void Report(const CWnd& control, UINT message) {
    ReportToParent(control, message, control.GetDlgCtrlID());
}

inline void DrawRaisedFrame(CDC& dc, const CRect& rect) { dc.Draw3dRect(rect, kWhite, kBlack); }
inline void DrawSunkenFrame(CDC& dc, const CRect& rect) { dc.Draw3dRect(rect, kBlack, kWhite); }

} // namespace controls
