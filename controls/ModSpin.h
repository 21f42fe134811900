// CModSpin: a horizontal up-down control that reports its presses and steps to its page. The
// position lives in the up-down control; the page reads it on UM_VALUE_CHANGED into `value`.
#pragma once

#include "framework/SpinButtonCtrl.h"

class CModSpin : public CSpinButtonCtrl {
public:
    // Created at an empty rectangle; the page moves it into place.
    bool Create(CWnd* parent, UINT controlId);
    // True once after `value` changed since the previous call.
    bool HasChanged();

    int value = 0;

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;

private:
    int shadowValue = 0;
};
