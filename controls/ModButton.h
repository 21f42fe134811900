// CModButton: the owner-drawn button of every page, for switches, selectors, navigation entries
// and device tiles. It draws itself and reports mouse events to its page; the page decides what
// a click means and writes `lit` and `caption`.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CDC;

// How a button looks: whether it lights while the pointer is over it, whether it starts lit,
// its back and text colours dark and lit, and the pictures of both states. Plain style when
// both bitmap ids are 0; otherwise the picture of the current state fills the top of the
// button with the caption below it.
struct ButtonLook {
    bool hoverLight = false;
    bool lit = false;
    COLORREF back = 0;
    COLORREF text = 0;
    COLORREF litBack = 0;
    COLORREF litText = 0;
    UINT bitmapId = 0;
    UINT litBitmapId = 0;
};

class CModButton : public CWnd {
public:
    bool Create(UINT controlId, const CRect& rect, const ButtonLook& look, const std::string& caption,
                CWnd* parent);
    // A disabled button looks grey and reports no presses.
    void SetEnabled(bool enable);
    bool IsEnabled() const { return enabled; }
    // Takes effect at the next repaint.
    void SetColours(COLORREF back, COLORREF text, COLORREF litBack, COLORREF litText);
    // True once after `lit` or `caption` changed since the previous call.
    bool HasChanged();

    std::string caption;
    bool lit = false;

protected:
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    // UM_HOVER_MOVED: a hover-lit button goes dark when the pointer is over another control.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintBitmapStyle(CDC& dc, int w, int h);
    void PaintPlainStyle(CDC& dc, int w, int h);

    bool enabled = true;
    ButtonLook look; // its `lit` is the state the button was created in
    std::string shadowCaption;
    bool shadowLit = true;
};
