// CSpinButtonCtrl: the standard up-down control, two arrow buttons that step a position within
// a range. A press on an arrow steps once at once; while the button stays down the arrow steps
// again after half a second and then keeps repeating until the button comes up.
#pragma once

#include "framework/Wnd.h"

// Up-down styles: arrows pointing left and right instead of up and down.
constexpr UINT UDS_HORZ = 0x0040;

class CSpinButtonCtrl : public CWnd {
public:
    bool Create(UINT style, const CRect& rect, CWnd& parent, UINT id);

    // The up (right) arrow steps towards `upper`, the other towards `lower`; `lower` may be the
    // larger one, which turns the arrows round. A new control has lower 100 and upper 0.
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Clamped into the range; returns the position before.
    int SetPos(int pos);
    int GetPos() const { return pos_; }

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    // The control has no double-click style: a quick second click is another press.
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;

    // The first delay runs on timer 1, the repeat on timer 2.
    static constexpr UINT_PTR kDelayTimer = 1;
    static constexpr UINT_PTR kRepeatTimer = 2;
    static constexpr UINT kDelayMs = 500;
    static constexpr UINT kRepeatMs = 50;

private:
    enum class Arrow { None, Down, Up };
    Arrow ArrowAt(CPoint point) const;
    CRect ArrowRect(Arrow arrow) const;
    void Step(Arrow arrow);
    void EndPress();

    UINT style_ = 0;
    int lower_ = 100;
    int upper_ = 0;
    int pos_ = 0;
    Arrow pressed_ = Arrow::None;
    bool pointerOnArrow_ = false; // a held arrow steps only while the pointer stays on it
};
