// The look that the controls, the pages and the view share: the basic colours, the colours of
// the outputs, the fonts, and how a font is fitted to the room a text has.
#pragma once

#include "framework/Dc.h"

#include <array>
#include <string>

namespace controls {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The pages' labels and scales.
constexpr COLORREF kLabelColour = RGB(0, 0, 128);
// Values in the pages' text fields.
constexpr COLORREF kValueColour = RGB(128, 0, 0);

// Output o's colour: its curve on the plot, its plot button lit, the thumb of its gain fader.
constexpr std::array<COLORREF, 8> kOutputColours = {
    RGB(255, 0, 0),   RGB(0, 192, 0),   RGB(128, 128, 192), RGB(255, 64, 255),
    RGB(0, 192, 192), RGB(192, 128, 0), RGB(225, 225, 0),   RGB(192, 192, 192),
};

// Pitch-and-family of the controls' fonts: variable pitch, sans-serif family.
constexpr BYTE kSansSerifFamily = 32;

// The font of the pages' labels and of the text fields.
constexpr int kPageFontPixels = 12;
constexpr int kPageFontWeight = 500;

// The controls' "MS Sans Serif" at a character height of `pixels`.
inline void CreateControlFont(CFont& font, int pixels, int weight) {
    font.CreateFont(-pixels, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, kSansSerifFamily, "MS Sans Serif");
}

inline void CreatePageFont(CFont& font) { CreateControlFont(font, kPageFontPixels, kPageFontWeight); }

// The view's status texts: "MS Sans Serif" 12 pixels from the top of its tallest letter to the
// bottom of its deepest.
inline void CreateStatusFont(CFont& font) {
    font.CreateFont(kPageFontPixels, 0, 0, 0, kPageFontWeight, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
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

// SelectFittingFont with the page font.
inline void SelectFittingPageFont(CDC& dc, CFont& font, const std::string& text, int width) {
    SelectFittingFont(dc, font, text, width, kPageFontPixels, kPageFontWeight);
}

} // namespace controls
