#include "controls/ModButton.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"

using namespace controls;

namespace {

constexpr int kCaptionPixels = 8;
// In the bitmap style the caption starts below the 20-pixel picture.
constexpr int kBitmapCaptionTop = 25;
constexpr int kPlainCaptionInset = 2;

} // namespace

bool CModButton::Create(UINT id, const CRect& rect, const ButtonLook& lookIn, const std::string& captionIn,
                        CWnd* parent) {
    look = lookIn;
    lit = look.lit;
    enabled = true;
    caption = captionIn;
    shadowCaption = captionIn;
    // The opposite of the initial state, so that the page's first check repaints the button.
    shadowLit = !look.lit;
    return parent && CreateChild(*parent, rect, id);
}

void CModButton::SetEnabled(bool enable) {
    if (enable != enabled) {
        enabled = enable;
        Invalidate(false);
    }
}

void CModButton::SetColours(COLORREF back, COLORREF text, COLORREF litBack, COLORREF litText) {
    look.back = back;
    look.text = text;
    look.litBack = litBack;
    look.litText = litText;
}

bool CModButton::HasChanged() {
    const bool changed = lit != shadowLit || caption != shadowCaption;
    shadowLit = lit;
    shadowCaption = caption;
    return changed;
}

void CModButton::OnMouseMove(UINT, CPoint) {
    if (look.hoverLight) {
        lit = true;
        Invalidate(false);
    }
    Report(*this, UM_CTRL_HOVER);
    Default();
}

void CModButton::OnLButtonDown(UINT, CPoint) {
    if (enabled) {
        Report(*this, UM_CTRL_PRESS);
    }
    Default();
}

void CModButton::OnLButtonUp(UINT, CPoint) {
    Report(*this, UM_CTRL_RELEASE);
    Default();
}

// The second press of a quick double click is a click of its own: two quick clicks on a toggle
// switch it there and back.
void CModButton::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
    Report(*this, UM_CTRL_DBLCLK);
}

LRESULT CModButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != UM_HOVER_MOVED) {
        return CWnd::OnMessage(message, wParam, lParam);
    }
    if (wParam != GetDlgCtrlID() && look.hoverLight && lit) {
        lit = false;
        Invalidate(false);
    }
    return 1;
}

void CModButton::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CFont font;
    CreateControlFont(font, kCaptionPixels, FW_BOLD);
    dc.SelectObject(&font);
    dc.SelectStockObject(NULL_PEN);
    if (look.bitmapId != 0 || look.litBitmapId != 0) {
        PaintBitmapStyle(dc, client.Width(), client.Height());
    } else {
        PaintPlainStyle(dc, client.Width(), client.Height());
    }
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}

void CModButton::PaintBitmapStyle(CDC& dc, int w, int h) {
    dc.SetTextColor(lit ? look.litText : look.text);
    dc.SetBkColor(lit ? look.litBack : look.back);
    // The picture may be smaller than the button: what it leaves uncovered shows the back colour.
    dc.FillSolidRect(CRect(0, 0, w, h), dc.GetBkColor());
    CBitmap bitmap; // declared first: the memory context lets go of it before it goes
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    bitmap.LoadBitmap(lit ? look.litBitmapId : look.bitmapId);
    memory.SelectObject(&bitmap);
    dc.BitBlt(0, 0, w, h, &memory, 0, 0, SRCCOPY);
    dc.SetBkMode(OPAQUE);
    dc.DrawText(caption, CRect(0, kBitmapCaptionTop, w, h), DT_CENTER | DT_TOP);
}

void CModButton::PaintPlainStyle(CDC& dc, int w, int h) {
    const CBrush back(look.back);
    const CBrush litBack(look.litBack);
    dc.SelectObject(lit ? &litBack : &back);
    dc.SetTextColor(lit ? look.litText : look.text);
    dc.SetBkColor(lit ? look.litBack : look.back);
    if (!enabled) {
        dc.SetBkColor(kGrey);
        dc.SelectStockObject(DKGRAY_BRUSH);
    }
    dc.Rectangle(0, 0, w, h);
    dc.DrawText(caption, CRect(kPlainCaptionInset, kPlainCaptionInset, w - 1, h - kPlainCaptionInset),
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    DrawRaisedFrame(dc, CRect(0, 0, w, h));
    dc.SelectObject(static_cast<const CBrush*>(nullptr));
}
