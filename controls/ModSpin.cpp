#include "controls/ModSpin.h"

#include "controls/ControlHelpers.h"

using namespace controls;

namespace {

// The up-down control's own first-delay timer: the spin starts it on a press and stops it on a
// release, so that the auto-repeat ends with the press whatever the control does.
constexpr UINT_PTR kPressTimer = 1;
constexpr UINT kPressTimerMs = 500;

} // namespace

bool CModSpin::Create(CWnd* parent, UINT id) {
    value = 0;
    return parent && CSpinButtonCtrl::Create(UDS_HORZ, CRect(0, 0, 0, 0), *parent, id);
}

bool CModSpin::HasChanged() {
    const bool changed = value != shadowValue;
    shadowValue = value;
    return changed;
}

void CModSpin::OnLButtonDown(UINT flags, CPoint point) {
    Report(*this, UM_CTRL_PRESS);
    SetTimer(kPressTimer, kPressTimerMs);
    CSpinButtonCtrl::OnLButtonDown(flags, point);
    Report(*this, UM_VALUE_CHANGED);
}

void CModSpin::OnTimer(UINT_PTR id) {
    CSpinButtonCtrl::OnTimer(id);
    Report(*this, UM_VALUE_CHANGED);
}

void CModSpin::OnLButtonUp(UINT flags, CPoint point) {
    KillTimer(kPressTimer);
    Report(*this, UM_CTRL_RELEASE);
    CSpinButtonCtrl::OnLButtonUp(flags, point);
}
