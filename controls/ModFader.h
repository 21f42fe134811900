// CModFader: the vertical slider of every continuous parameter. It shows `value` (0 ..
// `maxValue`) as a thumb on a recessed track with scale ticks, jump marks for 0, `maxValue` and
// `markValue`, and two step buttons at the ends of the track that repeat while held. A drag or
// a step ends only when the page chain sends UM_END_TRACKING.
#pragma once

#include "framework/Wnd.h"

#include <array>
#include <optional>

class CModFader : public CWnd {
public:
    // `markValue` 0 draws no third mark; ticks are drawn at the `divisions` - 1 inner boundaries.
    bool Create(const CRect& rect, CWnd* parent, UINT controlId, int maxValue, int markValue, int divisions,
                COLORREF thumbColour);
    // Sets the value without reporting a change later; ignored outside 0 .. maxValue.
    void SetInitialValue(int v);
    // A disabled fader reports presses but changes nothing, and greys its thumb.
    void SetEnabled(bool enable);
    bool IsEnabled() const { return enabled; }
    void SetThumbColour(COLORREF colour);
    // A new top of the range, for a page whose parameter range depends on the device shown;
    // the value is kept inside it and the marks move with it.
    void SetMaxValue(int max);
    int MaxValue() const { return maxValue; }
    // True once after `value` changed since the previous call.
    bool HasChanged();

    // The thumb's centre line for value `v` in the current window size.
    int ValueToY(double v) const;
    CRect TrackRect() const { return track; }
    bool IsDragging() const { return dragging; }
    // The period last asked of the step auto-repeat timer; empty while it is not running.
    std::optional<UINT> RepeatPeriod() const { return repeatPeriod; }

    int value = 0;

protected:
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    // UM_END_TRACKING ends a drag or a held step button.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The jump marks in the order a press tests them.
    enum Mark { kMarkValueMark, kZeroMark, kMaxValueMark, kMarkCount };

    int MarkTarget(Mark mark) const;
    bool PressMark(CPoint point);
    void PressTrack(CPoint point);
    void StartRepeat(UINT periodMs);
    void StopRepeat();
    void StepRepeat();
    void ValueChanged();

    int maxValue = 0;
    int markValue = 0;
    int divisions = 0;
    COLORREF thumbColour = 0;
    int shadowValue = 1;
    bool enabled = true;
    bool dragging = false;
    bool upPressed = false;
    bool downPressed = false;
    int repeatCount = 0;
    std::optional<UINT> repeatPeriod;

    // Geometry of the current window size.
    int w = 0;
    int h = 0;
    int thumbH = 0;
    CRect track;
    std::array<CRect, kMarkCount> marks{};
};
