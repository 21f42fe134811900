// Basic types and window messages of the window framework: the vocabulary every window,
// control and link engine of the program speaks.
#pragma once

#include <cstdint>

using UINT = unsigned int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using COLORREF = std::uint32_t;
using BOOL = int;
// Opaque handle of an existing window; null when the window does not exist.
using HWND = const void*;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// Mouse positions travel in lParam: x in the low word, y in the high word, both signed.
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<WORD>(lo)) |
                               (static_cast<std::uint32_t>(static_cast<WORD>(hi)) << 16));
}
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<std::int16_t>(l & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<std::int16_t>((l >> 16) & 0xFFFF); }

// Standard window messages (values as on the original platform).
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_CONTEXTMENU = 0x007B; // wParam: the window clicked; lParam: the screen point
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_USER = 0x0400;

// The program's private messages, sent synchronously with lParam 0.
constexpr UINT UM_CTRL_HOVER = WM_USER + 1;
constexpr UINT UM_CTRL_PRESS = WM_USER + 2;
constexpr UINT UM_CTRL_DBLCLK = WM_USER + 3;
constexpr UINT UM_CTRL_RELEASE = WM_USER + 4;
constexpr UINT UM_HOVER_MOVED = WM_USER + 5;
constexpr UINT UM_END_TRACKING = WM_USER + 7;
constexpr UINT UM_VALUE_CHANGED = WM_USER + 8;
constexpr UINT UM_TEXT_ENTERED = WM_USER + 9;
constexpr UINT UM_REFRESH = WM_USER + 11;
constexpr UINT UM_EQ_CLOSED = WM_USER + 12;
constexpr UINT UM_SIGNAL_CLOSED = WM_USER + 13;
// A page asks the view to run one of its file commands (a file dialog, a file read or written,
// a report shown): wParam is the command, lParam the channel or output it is for.
constexpr UINT UM_EQ_FILTERS = WM_USER + 14;
constexpr UINT UM_MEASUREMENT = WM_USER + 15;

// Mouse key flags in wParam of the mouse messages.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;

// WM_SIZE types.
constexpr UINT SIZE_RESTORED = 0;

struct CPoint {
    int x = 0;
    int y = 0;
    constexpr CPoint() = default;
    constexpr CPoint(int xIn, int yIn) : x(xIn), y(yIn) {}
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    constexpr CSize() = default;
    constexpr CSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

// A rectangle as the original platform has it: right and bottom are exclusive.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    // Inside means left <= x < right and top <= y < bottom.
    constexpr bool PtInRect(CPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr void DeflateRect(int dx, int dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};
