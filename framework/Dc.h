// CDC: GDI-style painting over QPainter. Rectangles are (left, top, right, bottom) with right
// and bottom exclusive, lines leave out their end point, text is drawn with the text colour on
// an opaque or transparent background, and pens, brushes and fonts are selected into the
// context. Antialiasing is off, so every pixel is where the coordinates say.
#pragma once

#include "framework/GdiObjects.h"
#include "framework/Types.h"

#include <QFont>
#include <QPainter>

#include <memory>
#include <string>

class CWnd;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;

// DrawEdge edges and borders.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;

// Raster operation of BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;

// The system colours of three-dimensional edges.
constexpr COLORREF kColour3dHighlight = RGB(255, 255, 255);
constexpr COLORREF kColour3dLight = RGB(192, 192, 192);
constexpr COLORREF kColour3dShadow = RGB(128, 128, 128);
constexpr COLORREF kColour3dDarkShadow = RGB(0, 0, 0);

class CDC {
public:
    // A context that paints on `device`, or an empty one for CreateCompatibleDC.
    explicit CDC(QPaintDevice* device = nullptr);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Makes this a memory context; it paints into the bitmap selected into it.
    bool CreateCompatibleDC(CDC* reference);

    // Selecting returns the object selected before (null for a stock or default object);
    // selecting null puts the default object back.
    const CPen* SelectObject(const CPen* pen);
    const CBrush* SelectObject(const CBrush* brush);
    const CFont* SelectObject(const CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    void SelectStockObject(int stockObject);

    COLORREF SetTextColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
    int SetBkMode(int mode);
    COLORREF GetTextColor() const { return textColour_; }
    COLORREF GetBkColor() const { return bkColour_; }

    void FillRect(const CRect& rect, const CBrush* brush);
    // Also sets the background colour, as the original platform's version does.
    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    // Outline with the current pen, inside with the current brush; with the null pen the
    // rectangle is one pixel smaller in width and height.
    void Rectangle(const CRect& rect);
    void Rectangle(int left, int top, int right, int bottom) { Rectangle(CRect(left, top, right, bottom)); }
    void Ellipse(const CRect& rect);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
    // Draws from the current position to (x, y), leaving out (x, y) itself.
    void LineTo(int x, int y);
    void LineTo(CPoint point) { LineTo(point.x, point.y); }
    // The lines through `points`, leaving out the last point itself; a dashed or dotted pattern
    // runs on round the corners.
    void Polyline(const CPoint* points, int count);
    void SetPixel(int x, int y, COLORREF colour);
    COLORREF GetPixel(int x, int y) const;
    // Top and left lines in `topLeft`, bottom and right lines in `bottomRight`, one pixel wide.
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void DrawEdge(const CRect& rect, UINT edge, UINT borders);

    // Returns the height of the text drawn.
    int DrawText(const std::string& text, const CRect& rect, UINT format);
    // The top-left corner of the text at (x, y).
    void TextOut(int x, int y, const std::string& text);
    CSize GetTextExtent(const std::string& text) const;

    bool BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                DWORD rop = SRCCOPY);

    QPainter* Painter() { return painter_.get(); }

protected:
    void Begin(QPaintDevice* device);
    void End();

private:
    QFont CurrentFont() const;
    void FillPixels(int x, int y, int cx, int cy, COLORREF colour);
    void DrawLinePixels(CPoint from, CPoint to);
    QPen LinePen() const;

    std::unique_ptr<QPainter> painter_;
    CBitmap* bitmap_ = nullptr;
    const CPen* selectedPen_ = nullptr;
    const CBrush* selectedBrush_ = nullptr;
    const CFont* selectedFont_ = nullptr;
    CPen pen_;
    CBrush brush_;
    COLORREF textColour_ = RGB(0, 0, 0);
    COLORREF bkColour_ = RGB(255, 255, 255);
    int bkMode_ = OPAQUE;
    CPoint position_;
};

// The context of a paint: valid only inside the window's OnPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    // The part of the client area this paint redraws (the platform's rcPaint): all of it for a
    // full repaint, less when only a part was invalidated or uncovered.
    const CRect& PaintRect() const { return paintRect_; }

private:
    CRect paintRect_;
};

// Paints a window into an image the size of its client area, as a paint would put it on
// screen. For tests and for saving pictures of windows.
QImage GrabWindow(CWnd& window);
