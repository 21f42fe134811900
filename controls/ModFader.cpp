#include "controls/ModFader.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"

#include <algorithm>
#include <cmath>

using namespace controls;

namespace {

// The step buttons are 6 pixels high; the track runs between them.
constexpr int kCapHeight = 6;
// Scale ticks and mark lines are this long, mark rectangles this wide.
constexpr int kTickLength = 4;
constexpr int kMarkHalfHeight = 2;
constexpr COLORREF kScaleColour = RGB(0, 0, 128);
constexpr COLORREF kMarkColour = RGB(128, 0, 0);

constexpr UINT_PTR kRepeatTimer = 1;
// A held step button steps at once, then after 500 ms twice, eight times at 100 ms intervals
// and from then on every 10 ms.
constexpr int kMaxRepeatCount = 100;
constexpr int kMediumAfter = 2;
constexpr int kFastAfter = 10;
constexpr UINT kFirstPeriodMs = 0;
constexpr UINT kSlowPeriodMs = 500;
constexpr UINT kMediumPeriodMs = 100;
constexpr UINT kFastPeriodMs = 10;

} // namespace

bool CModFader::Create(const CRect& rect, CWnd* parent, UINT id, int max, int mark, int divisionCount,
                       COLORREF thumb) {
    maxValue = max;
    markValue = mark;
    divisions = divisionCount;
    thumbColour = thumb;
    value = 0;
    shadowValue = 1; // differs from the value, so that the page's first check repaints
    dragging = upPressed = downPressed = false;
    repeatCount = 0;
    enabled = true;
    return parent && CreateChild(*parent, rect, id);
}

void CModFader::SetInitialValue(int v) {
    if (v >= 0 && v <= maxValue) {
        value = v;
        shadowValue = v;
    }
}

void CModFader::SetEnabled(bool enable) {
    if (enable != enabled) {
        enabled = enable;
        Invalidate(false);
    }
}

void CModFader::SetThumbColour(COLORREF colour) {
    thumbColour = colour;
    Invalidate(false);
}

void CModFader::SetMaxValue(int max) {
    maxValue = std::max(max, 0);
    value = std::min(value, maxValue);
    OnSize(SIZE_RESTORED, w, h);
    Invalidate(false);
}

bool CModFader::HasChanged() {
    const bool changed = value != shadowValue;
    shadowValue = value;
    return changed;
}

int CModFader::ValueToY(double v) const {
    // Multiplied before it is divided: dividing first loses the last bit of a whole result
    // (60 / 220 x 99 gives 26.99...), and the truncation then puts the line a pixel high.
    const double travel = track.Height() - thumbH - 3;
    const double fromTop = maxValue > 0 ? travel * (maxValue - v) / maxValue : 0.0;
    return static_cast<int>(std::trunc(fromTop + 1)) + thumbH / 2 + kCapHeight;
}

int CModFader::MarkTarget(Mark mark) const {
    switch (mark) {
    case kMarkValueMark:
        return markValue;
    case kMaxValueMark:
        return maxValue;
    default:
        return 0;
    }
}

void CModFader::OnSize(UINT type, int cx, int cy) {
    w = cx;
    h = cy;
    thumbH = w / 2;
    track = CRect(w / 4, kCapHeight, 3 * w / 4, h - kCapHeight);
    for (int m = 0; m < kMarkCount; ++m) {
        const int y = ValueToY(MarkTarget(static_cast<Mark>(m)));
        marks[m] = CRect(0, y - kMarkHalfHeight, kTickLength, y + kMarkHalfHeight);
    }
    CWnd::OnSize(type, cx, cy);
}

void CModFader::ValueChanged() { Report(*this, UM_VALUE_CHANGED); }

bool CModFader::PressMark(CPoint point) {
    for (int m = 0; m < kMarkCount; ++m) {
        if (marks[m].PtInRect(point)) {
            value = MarkTarget(static_cast<Mark>(m));
            ValueChanged();
            return true;
        }
    }
    return false;
}

void CModFader::PressTrack(CPoint point) {
    if (point.x <= track.left || point.x >= track.right) {
        return;
    }
    const int thumbCentre = ValueToY(value);
    if (point.y > thumbCentre - thumbH / 2 && point.y < thumbCentre + thumbH / 2) {
        dragging = true;
        return;
    }
    // Away from the thumb only the step buttons act: the track does not page.
    if (point.y < kCapHeight) {
        upPressed = true;
    }
    if (point.y > h - kCapHeight) {
        downPressed = true;
    }
    if (upPressed || downPressed) {
        StartRepeat(kFirstPeriodMs);
    }
}

void CModFader::OnLButtonDown(UINT, CPoint point) {
    if (enabled) {
        if (!PressMark(point)) {
            PressTrack(point);
        }
        if (!dragging && !upPressed && !downPressed) {
            StopRepeat();
        }
    }
    Report(*this, UM_CTRL_PRESS);
    Default();
}

void CModFader::OnLButtonUp(UINT, CPoint) {
    // The drag goes on: the page chain answers the release with UM_END_TRACKING.
    Report(*this, UM_CTRL_RELEASE);
    Default();
}

void CModFader::OnMouseMove(UINT, CPoint point) {
    if (dragging) {
        // Whole steps towards the pointer; a remainder smaller than a step is dropped.
        const int span = track.Height() - thumbH;
        const int delta = span > 0 ? (ValueToY(value) - point.y) * maxValue / span : 0;
        if (delta != 0) {
            value = std::max(0, std::min(value + delta, maxValue));
            InvalidateRect(&track, false);
        }
        ValueChanged();
    }
    Default();
}

void CModFader::StartRepeat(UINT periodMs) {
    SetTimer(kRepeatTimer, periodMs);
    repeatPeriod = periodMs;
}

void CModFader::StopRepeat() {
    KillTimer(kRepeatTimer);
    repeatPeriod.reset();
}

void CModFader::StepRepeat() {
    if (repeatCount < kMaxRepeatCount) {
        ++repeatCount;
    }
    StartRepeat(repeatCount > kFastAfter     ? kFastPeriodMs
                : repeatCount > kMediumAfter ? kMediumPeriodMs
                                             : kSlowPeriodMs);
    if (upPressed) {
        if (value < maxValue) {
            ++value;
        }
        ValueChanged(); // also at the top, so the page keeps hearing of the held button
        InvalidateRect(&track, false);
    }
    if (downPressed) {
        if (value > 0) {
            --value;
        }
        ValueChanged();
        InvalidateRect(&track, false);
    }
}

void CModFader::OnTimer(UINT_PTR id) {
    if (id == kRepeatTimer) {
        StepRepeat();
    }
    CWnd::OnTimer(id);
}

LRESULT CModFader::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != UM_END_TRACKING) {
        return CWnd::OnMessage(message, wParam, lParam);
    }
    if (dragging || upPressed || downPressed) {
        dragging = upPressed = downPressed = false;
        StopRepeat();
        repeatCount = 0;
        Invalidate(false);
    }
    return 1;
}

void CModFader::OnPaint() {
    CPaintDC dc(this);
    const CPen scalePen(PS_SOLID, 1, kScaleColour);
    const CPen markPen(PS_SOLID, 1, kMarkColour);
    const CBrush markBrush(kMarkColour);
    const CBrush thumbBrush(thumbColour);
    const CBrush disabledThumbBrush(kGrey);

    const int thumbCentre = ValueToY(value);
    const CRect thumb(track.left + 1, thumbCentre - thumbH / 2, track.right - 1,
                      thumbCentre + thumbH / 2 + 1);
    const CRect upButton(track.left, 0, track.right, kCapHeight + 1);
    const CRect downButton(track.left, h - kCapHeight - 1, track.right, h);

    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(0, 0, w, h);
    DrawSunkenFrame(dc, track);
    const int slotLeft = track.left + track.Width() / 2;
    DrawSunkenFrame(dc, CRect(slotLeft, track.top + thumbH / 2, slotLeft + 2, track.bottom - thumbH / 2));

    dc.SelectObject(&scalePen);
    for (int i = 1; i < divisions; ++i) {
        const int y = ValueToY(static_cast<double>(i) * maxValue / divisions);
        dc.MoveTo(0, y);
        dc.LineTo(kTickLength, y);
        dc.MoveTo(w - kTickLength, y);
        dc.LineTo(w, y);
    }

    dc.SelectObject(&markPen);
    dc.SelectObject(&markBrush);
    for (const Mark mark : {kMaxValueMark, kZeroMark, kMarkValueMark}) {
        if (mark == kMarkValueMark && markValue == 0) {
            continue;
        }
        const int y = ValueToY(MarkTarget(mark));
        dc.MoveTo(w - kTickLength, y);
        dc.LineTo(w, y);
        dc.Rectangle(marks[mark]);
    }

    dc.FillRect(thumb, enabled ? &thumbBrush : &disabledThumbBrush);
    DrawRaisedFrame(dc, thumb);
    DrawSunkenFrame(dc,
                    CRect(thumb.left, thumb.top + thumbH / 2 - 1, thumb.right, thumb.top + thumbH / 2 + 1));

    upPressed ? DrawSunkenFrame(dc, upButton) : DrawRaisedFrame(dc, upButton);
    downPressed ? DrawSunkenFrame(dc, downButton) : DrawRaisedFrame(dc, downButton);
}
