#include "controls/ModMeter.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"

#include <array>

using namespace controls;

namespace {

// Neighbouring segments are 4 pixels apart: 2 are trimmed from each side of every boundary.
constexpr int kSegmentTrim = 2;

struct SegmentColours {
    int lastSegment; // the colours hold up to and including this segment
    COLORREF lit;
    COLORREF unlit;
};

constexpr std::array<SegmentColours, 3> kSegmentColours = {{
    {12, RGB(0, 255, 0), RGB(0, 128, 0)},
    {13, RGB(255, 255, 0), RGB(128, 128, 0)},
    {14, RGB(255, 0, 0), RGB(128, 0, 0)},
}};

std::size_t ColourRow(int segment) {
    std::size_t row = 0;
    while (segment > kSegmentColours[row].lastSegment) {
        ++row;
    }
    return row;
}

} // namespace

bool CModMeter::Create(const CRect& rect, CWnd* parent, UINT id) {
    windowSize = rect.Size();
    level = 0;
    return parent && CreateChild(*parent, rect, id);
}

bool CModMeter::HasChanged() {
    const bool changed = level != shadowLevel;
    shadowLevel = level;
    return changed;
}

CRect CModMeter::SegmentRect(int segment) const {
    const int height = windowSize.cy;
    return CRect(0, height * (kSegmentCount - 1 - segment) / kSegmentCount + kSegmentTrim, windowSize.cx,
                 height * (kSegmentCount - segment) / kSegmentCount - kSegmentTrim);
}

void CModMeter::OnSize(UINT type, int cx, int cy) {
    windowSize = CSize(cx, cy);
    CWnd::OnSize(type, cx, cy);
}

void CModMeter::OnLButtonDown(UINT, CPoint) {
    Report(*this, UM_CTRL_PRESS);
    Default();
}

void CModMeter::OnLButtonUp(UINT, CPoint) {
    Report(*this, UM_CTRL_RELEASE);
    Default();
}

void CModMeter::OnPaint() {
    CPaintDC dc(this);
    // One brush per colour of the table: lit and unlit for each row.
    std::array<CBrush, 2 * kSegmentColours.size()> brushes;
    for (std::size_t row = 0; row < kSegmentColours.size(); ++row) {
        brushes[2 * row].CreateSolidBrush(kSegmentColours[row].lit);
        brushes[2 * row + 1].CreateSolidBrush(kSegmentColours[row].unlit);
    }
    const CBrush* selected = nullptr;
    for (int segment = 0; segment < kSegmentCount; ++segment) {
        const bool lit = segment < level;
        const CBrush* brush = &brushes[2 * ColourRow(segment) + (lit ? 0 : 1)];
        if (brush != selected) {
            dc.SelectObject(brush);
            selected = brush;
        }
        const CRect rect = SegmentRect(segment);
        dc.Rectangle(rect); // outlined with the context's default black pen
        dc.Draw3dRect(rect, kGrey, kWhite);
    }
    dc.SelectObject(static_cast<const CBrush*>(nullptr));
}
