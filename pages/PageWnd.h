// CPageWnd: what every page shares. Its controls report to it with private messages (wParam
// the control id); the page turns each report into a hook of its own, and passes presses and
// releases on to its parent, so that they reach the view, which answers a release with the end
// of tracking. IdRange decodes the runs of control ids a page gives its strips, bands and
// filters. The file commands a page asks for (UM_EQ_FILTERS, UM_MEASUREMENT) travel up to the
// view, which runs them.
#pragma once

#include "framework/Wnd.h"

#include <algorithm>

// A run of `count` consecutive control ids starting at `first`.
struct IdRange {
    UINT first = 0;
    int count = 0;

    constexpr bool Contains(UINT id) const {
        return id >= first && id - first < static_cast<UINT>(std::max(count, 0));
    }
    // The place of `id` in the run: 0 for `first`.
    constexpr int Offset(UINT id) const { return static_cast<int>(id - first); }
};

class CPageWnd : public CWnd {
protected:
    // UM_CTRL_HOVER, UM_CTRL_PRESS, UM_CTRL_RELEASE, UM_VALUE_CHANGED, UM_TEXT_ENTERED,
    // UM_END_TRACKING and UM_REFRESH, each to its hook; a press and a release then go on to
    // the parent with the same id.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The hooks: `id` is the control's id, 0 for a page's background. Each does nothing unless
    // the page has a use for the report.
    virtual void ControlHovered(UINT id);
    virtual void PressButton(UINT id);
    virtual void ControlReleased(UINT id);
    virtual void ValueChanged(UINT id);
    virtual void TextEntered(UINT id);
    // Ends every drag and auto-repeat; `id` is that of the release the view answered.
    virtual void EndTracking(UINT id);
    // A control or a child page may have changed the document (UM_REFRESH).
    virtual void RefreshRequested();
};
