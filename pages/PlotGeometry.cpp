#include "pages/PlotGeometry.h"

#include "pages/FilterResponse.h"

#include <algorithm>
#include <cmath>

namespace pages {

namespace {

// The window keeps 60 pixels beside the grid (labels left, frame right) and 55 above and
// below it (buttons above, frequency labels below).
constexpr int kWidthBesideGrid = 60;
constexpr int kHeightBesideGrid = 55;
// Column boundaries at 30 .. 100 times the decade's 20 Hz / 2, then the next decade.
constexpr int kFirstMultiple = 3;
constexpr int kLastMultiple = 10;
constexpr double kDecadeBase = 2;

constexpr int kFrequencyLabelHalfWidth = 15;
// The window's frames take the columns 13 to 11 left of its right edge: the label of the
// grid's right edge ("20k") is moved left to end before them instead of covering them.
constexpr int kLabelsRightInset = 13;
constexpr int kFrequencyLabelTop = 13;
constexpr int kFrequencyLabelBottom = 28;
constexpr int kLevelLabelLeft = 35;
constexpr int kLevelLabelRight = 5;
constexpr int kLevelLabelAbove = 7;
constexpr int kLevelLabelBelow = 8;

constexpr int kGroupButtonLeft = 40;
constexpr int kGroupButtonPitch = 75;
constexpr int kGroupButtonWidth = 70;
constexpr int kOutputButtonPitch = 30;
constexpr int kOutputButtonGap = 2;
constexpr int kButtonTop = 6;
constexpr int kButtonBottom = 21;

constexpr int kCurveAreaLeft = 29;
constexpr int kCurveAreaBottomMargin = 15;

constexpr int kHighestFrequencyIndex = 19980;

} // namespace

PlotGeometry::PlotGeometry(int w, int h)
    : width(w), height(h), gridWidth(w - kWidthBesideGrid), gridHeight(h - kHeightBesideGrid),
      zeroLine(kGridTop + gridHeight * static_cast<int>(kPlotTopDb) / static_cast<int>(kPlotRangeDb)) {}

std::array<int, kGridColumnCount + 1> PlotGeometry::ColumnBoundaries() const {
    std::array<int, kGridColumnCount + 1> x{};
    x[0] = kGridLeft;
    std::size_t i = 1;
    for (int d = 0; d < kDecadeCount; ++d) {
        const int decadeLeft = kGridLeft + gridWidth * d / kDecadeCount;
        for (int m = kFirstMultiple; m <= kLastMultiple; ++m) {
            const double decades = std::log10(m) - std::log10(kDecadeBase);
            x[i++] = decadeLeft + static_cast<int>(std::trunc(decades * gridWidth / kDecadeCount));
        }
        x[i++] = decadeLeft + gridWidth / kDecadeCount;
    }
    return x;
}

std::array<int, kGridRowCount + 1> PlotGeometry::RowBoundaries() const {
    std::array<int, kGridRowCount + 1> y{};
    for (int j = 0; j < kGridRowCount; ++j) {
        y[static_cast<std::size_t>(j)] = kGridTop + j * gridHeight / kGridRowCount;
    }
    y[kGridRowCount] = kGridTop + gridHeight;
    return y;
}

CRect PlotGeometry::FrequencyLabelRect(int decade) const {
    const int x = kGridLeft + gridWidth * decade / kDecadeCount;
    const int bottom = kGridTop + gridHeight;
    const int right = std::min(x + kFrequencyLabelHalfWidth, width - kLabelsRightInset);
    return CRect(right - 2 * kFrequencyLabelHalfWidth, bottom + kFrequencyLabelTop, right,
                 bottom + kFrequencyLabelBottom);
}

CRect PlotGeometry::LevelLabelRect(int row) const {
    const int y = kGridTop + row * gridHeight / kGridRowCount;
    return CRect(kGridLeft - kLevelLabelLeft, y - kLevelLabelAbove, kGridLeft - kLevelLabelRight,
                 y + kLevelLabelBelow);
}

CRect PlotGeometry::GroupButtonRect(int i) {
    const int left = kGroupButtonLeft + kGroupButtonPitch * i;
    return CRect(left, kButtonTop, left + kGroupButtonWidth, kButtonBottom);
}

CRect PlotGeometry::OutputButtonRect(int i, int outputCount) const {
    // The anchor lies one pitch and the gap right of the grid's right edge.
    const int anchor = kGridLeft + gridWidth + kOutputButtonPitch + kOutputButtonGap;
    const int n = outputCount;
    return CRect(anchor - kOutputButtonPitch * (n - i + 1), kButtonTop,
                 anchor - kOutputButtonPitch * (n - i) - kOutputButtonGap, kButtonBottom);
}

CRect PlotGeometry::CurveArea() const {
    return CRect(kCurveAreaLeft, kGridTop, width, height - kCurveAreaBottomMargin);
}

int PlotGeometry::FrequencyToX(double hz) const {
    return static_cast<int>(std::trunc(std::log10(hz / kLowestHz) * gridWidth / kDecadeCount)) + kGridLeft;
}

double PlotGeometry::CurveX(double hz) const {
    return kGridLeft + kCurveOffset + std::log10(hz / kLowestHz) * gridWidth / kDecadeCount;
}

int PlotGeometry::XToFrequencyIndex(int x) const {
    if (gridWidth <= 0) {
        return 0;
    }
    const double hz =
        kLowestHz * std::pow(10, static_cast<double>(kDecadeCount) * (x - kGridLeft) / gridWidth);
    const double index = std::trunc(hz) - kLowestHz;
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(kHighestFrequencyIndex)));
}

int PlotGeometry::LevelToY(double db) const {
    return zeroLine - static_cast<int>(std::trunc(gridHeight * db / kPlotRangeDb));
}

double PlotGeometry::YToLevel(int y) const {
    return gridHeight > 0 ? static_cast<double>(zeroLine - y) / gridHeight * kPlotRangeDb : 0;
}

} // namespace pages
