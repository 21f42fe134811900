// CModButton: the owner-drawn button of every page, for switches, selectors, navigation entries
// and device tiles. It draws itself and reports mouse events to its page; the page decides what
// a click means and writes `lit` and `caption`.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CDC;

class CModButton : public CWnd {
public:
    // Plain style when both bitmap ids are 0; otherwise the picture of the current state fills
    // the top of the button with the caption below it.
    bool Create(UINT controlId, const CRect& rect, bool hoverLight, bool lit, COLORREF backColour,
                COLORREF textColour, COLORREF litBackColour, COLORREF litTextColour, UINT bitmapId,
                UINT litBitmapId, const std::string& caption, CWnd* parent);
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

    UINT controlId = 0;
    CWnd* parent = nullptr;
    bool enabled = true;
    bool hoverLight = false;
    COLORREF backColour = 0;
    COLORREF textColour = 0;
    COLORREF litBackColour = 0;
    COLORREF litTextColour = 0;
    UINT bitmapId = 0;
    UINT litBitmapId = 0;
    std::string shadowCaption;
    bool shadowLit = true;
};
