// What every custom control shares: how it reports to its page and how it draws its fonts
// and three-dimensional frames.
#pragma once

#include "framework/Dc.h"
#include "framework/Wnd.h"

#include <string>

namespace controls {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Pitch-and-family of the controls' fonts: variable pitch, sans-serif family.
constexpr BYTE kSansSerifFamily = 32;

// Sends a control's report to its page: wParam the control id, lParam 0.
inline void Report(CWnd* parent, UINT message, UINT controlId) {
    if (parent) {
        parent->SendMessage(message, controlId, 0);
    }
}

// The controls' "MS Sans Serif" at a character height of `pixels`.
inline void CreateControlFont(CFont& font, int pixels, int weight) {
    font.CreateFont(-pixels, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, kSansSerifFamily, "MS Sans Serif");
}

// Text is never drawn smaller than this to make it fit.
constexpr int kMinFittingPixels = 9;

// Creates the controls' font at `pixels`, or smaller (down to kMinFittingPixels) when `text`
// would be wider than `width`, and selects it: the substitute face is wider than the original
// one, and a value cut at its edges would read as another value.
inline void SelectFittingFont(CDC& dc, CFont& font, const std::string& text, int width, int pixels,
                              int weight) {
    for (int size = pixels;; --size) {
        CreateControlFont(font, size, weight);
        dc.SelectObject(&font);
        if (size <= kMinFittingPixels || dc.GetTextExtent(text).cx <= width) {
            return;
        }
    }
}

inline void DrawRaisedFrame(CDC& dc, const CRect& rect) { dc.Draw3dRect(rect, kWhite, kBlack); }
inline void DrawSunkenFrame(CDC& dc, const CRect& rect) { dc.Draw3dRect(rect, kBlack, kWhite); }

} // namespace controls
