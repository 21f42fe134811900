// Drawing objects of the GDI-style painting: pens, brushes, fonts and bitmaps. A page creates
// them at the start of a paint, selects them into the CDC and lets them go at its end.
#pragma once

#include "framework/Types.h"

#include <QFont>
#include <QImage>

#include <string>

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Font weights and pitch-and-family.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

class CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    bool CreatePen(int style, int width, COLORREF colour);
    bool IsNull() const { return style_ == PS_NULL; }
    int Style() const { return style_; }
    int Width() const { return width_; }
    COLORREF Colour() const { return colour_; }

private:
    int style_ = PS_SOLID;
    int width_ = 1;
    COLORREF colour_ = RGB(0, 0, 0);
};

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    bool CreateSolidBrush(COLORREF colour);
    static CBrush Hollow();
    bool IsHollow() const { return hollow_; }
    COLORREF Colour() const { return colour_; }

private:
    COLORREF colour_ = RGB(255, 255, 255);
    bool hollow_ = false;
};

class CFont {
public:
    // As the original platform's CreateFont: a negative height is the character height in
    // pixels, a positive one the cell height. Weight 100..900. The face "MS Sans Serif" is
    // replaced by an installed sans-serif.
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* faceName);
    const QFont& Font() const { return font_; }

private:
    QFont font_;
};

class CBitmap {
public:
    // Loads bitmap `id` of the program's resources; false when there is none.
    bool LoadBitmap(UINT id);
    // A blank bitmap to draw into.
    bool CreateBitmap(int width, int height);
    bool IsNull() const { return image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

// Installs the substitutes for the fonts the program names. Called once by the application
// (and by tests) after the Qt application object exists.
void InstallFontSubstitutes();
