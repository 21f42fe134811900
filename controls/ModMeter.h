// CModMeter: the vertical level meter of a channel strip, 15 stacked segments lit from the
// bottom. It only draws: the page turns the device's level into `level`.
#pragma once

#include "framework/Wnd.h"

class CModMeter : public CWnd {
public:
    static constexpr int kSegmentCount = 15;

    bool Create(const CRect& rect, CWnd* parent, UINT controlId);
    // True once after `level` changed since the previous call.
    bool HasChanged();
    // Segment 0 is the bottom one, in the current window size.
    CRect SegmentRect(int segment) const;

    // Lit segments counted from the bottom; below 0 none, 15 and above all.
    int level = 0;

protected:
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    CSize windowSize; // from the window rectangle, refreshed on every resize
    int shadowLevel = 0;
};
