// Where the frequency response plot draws things for a window of a given size: the grid and
// its cells, the labels, the buttons above the grid, and the conversions between pixels,
// frequencies and levels that the curves, the markers and the drags share.
#pragma once

#include "framework/Types.h"

#include <array>

namespace pages {

// The grid's cells: 6 rows of 10 dB, 27 columns (9 per decade: 20, 30, ... 100, 200 Hz).
constexpr int kGridRowCount = 6;
constexpr int kGridColumnCount = 27;
constexpr int kFrequencyLabelCount = 4; // 20, 200, 2k, 20k
constexpr int kLevelLabelCount = kGridRowCount + 1;

struct PlotGeometry {
    // The grid's left and top edge, fixed.
    static constexpr int kGridLeft = 38;
    static constexpr int kGridTop = 25;

    // From the window's client size.
    explicit PlotGeometry(int width = 0, int height = 0);

    int width;
    int height;
    int gridWidth; // also the point count N of the curves
    int gridHeight;
    int zeroLine; // y of 0 dB

    // The 28 column boundaries from the left edge to the ninth boundary of the last decade,
    // and the 7 row boundaries from top to bottom.
    std::array<int, kGridColumnCount + 1> ColumnBoundaries() const;
    std::array<int, kGridRowCount + 1> RowBoundaries() const;
    // "20", "200", "2k", "20k" below the grid; +20 ... -40 left of it.
    CRect FrequencyLabelRect(int decade) const;
    CRect LevelLabelRect(int row) const;
    // Group button i (In-Gain ... Out-XOver) and output button i of `outputCount`, on a 30-pixel
    // pitch with the last one ending on the grid's right edge.
    static CRect GroupButtonRect(int i);
    CRect OutputButtonRect(int i, int outputCount) const;
    // The area the repaint timer invalidates: the grid and the labels around it.
    CRect CurveArea() const;

    // The column of a frequency in Hz (a marker's x), and the frequency index (Hz - 20, limited
    // to the device's 0..19980) of a column.
    int FrequencyToX(double hz) const;
    int XToFrequencyIndex(int x) const;
    // The column, to a fraction of a pixel, where the output curves draw a frequency in Hz: their
    // point k, at 20 x 10^(3k / gridWidth) Hz, lies kCurveOffset right of the grid's column k.
    double CurveX(double hz) const;
    static constexpr int kCurveOffset = 2;
    // The row of a level in dB (a curve's or a marker's y), and the level of a row.
    int LevelToY(double db) const;
    double YToLevel(int y) const;
    // y of the crossover markers, below the grid.
    int XoverMarkerY() const { return kGridTop + gridHeight + kXoverMarkerOffset; }

    static constexpr int kXoverMarkerOffset = 8;
};

} // namespace pages
