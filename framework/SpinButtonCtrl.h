// CSpinButtonCtrl: the standard up-down control, two arrow buttons that step a position within
// a range. A press on an arrow steps once at once; while the button stays down the arrow steps
// again after half a second and then keeps repeating until the button comes up.
//
// Before every step the control tells its parent: WM_NOTIFY with wParam = control id and
// lParam = the address of an NMUPDOWN holding the position and the change (+1 or -1). The
// parent may act on it first (clamp a value of its own) and returns non-zero to keep the
// position where it is.
//
// With a buddy (an edit field), the field shows the position as a number, and a number typed
// into the field is where the next step starts from.
#pragma once

#include "framework/Wnd.h"

#include <QPointer>

class QLineEdit;

// Up-down styles: arrows pointing left and right instead of up and down.
constexpr UINT UDS_HORZ = 0x0040;

constexpr UINT WM_NOTIFY = 0x004E;
constexpr int UDN_DELTAPOS = -722;

struct NMHDR {
    UINT idFrom = 0;
    int code = 0;
};

// The step the up-down control is about to make.
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;   // the position before the step
    int iDelta = 0; // +1 towards upper, -1 towards lower
};

class CSpinButtonCtrl : public CWnd {
public:
    bool Create(UINT style, const CRect& rect, CWnd& parent, UINT id);

    // The up (right) arrow steps towards `upper`, the other towards `lower`; `lower` may be the
    // larger one, which turns the arrows round. A new control has lower 100 and upper 0.
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Clamped into the range; returns the position before.
    int SetPos(int pos);
    // With a buddy holding a number, that number (the operator may have typed it).
    int GetPos() const;

    // The field that shows the position; null for none.
    void SetBuddy(QLineEdit* buddy);

    // One click on an arrow, as a press and a quick release: the notification and the step.
    void ClickArrow(bool up);

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
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
    void ShowInBuddy();
    void EndPress();

    UINT style_ = 0;
    int lower_ = 100;
    int upper_ = 0;
    int pos_ = 0;
    Arrow pressed_ = Arrow::None;
    bool pointerOnArrow_ = false; // a held arrow steps only while the pointer stays on it
    QPointer<QLineEdit> buddy_;
};
