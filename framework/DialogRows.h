// CDialogRows: the rectangles of a dialog whose controls stand in rows and columns, such as
// sixteen device rows of a label, a drop-down list and four address fields. Columns are added
// left to right; Cell(row, column) is the control's rectangle.
#pragma once

#include "framework/Types.h"

#include <vector>

class CDialogRows {
public:
    // Row 0 starts at `top`; every row is `rowHeight` high and starts `rowPitch` below the one
    // before.
    CDialogRows(int top, int rowHeight, int rowPitch)
        : top_(top), rowHeight_(rowHeight), rowPitch_(rowPitch) {}

    // Adds `count` columns of `width` pixels, the first at `left`, each `gap` pixels after the
    // one before. Returns the index of the first of them.
    int AddColumns(int left, int width, int count = 1, int gap = 0) {
        const int first = static_cast<int>(columns_.size());
        for (int i = 0; i < count; ++i) {
            const int columnLeft = left + i * (width + gap);
            columns_.push_back({columnLeft, columnLeft + width});
        }
        return first;
    }
    // Adds a column that starts `gap` pixels after the last one.
    int AddColumnAfter(int gap, int width, int count = 1, int gapBetween = 0) {
        return AddColumns(columns_.empty() ? gap : columns_.back().right + gap, width, count, gapBetween);
    }

    int RowTop(int row) const { return top_ + row * rowPitch_; }
    // The bottom of the last of `rowCount` rows.
    int Bottom(int rowCount) const { return RowTop(rowCount - 1) + rowHeight_; }
    // The right edge of the last column.
    int Right() const { return columns_.empty() ? 0 : columns_.back().right; }
    CRect Cell(int row, int column) const {
        const Column& c = columns_.at(static_cast<std::size_t>(column));
        return {c.left, RowTop(row), c.right, RowTop(row) + rowHeight_};
    }
    // A rectangle spanning columns `first` .. `last` of a row.
    CRect Span(int row, int first, int last) const {
        return {Cell(row, first).left, RowTop(row), Cell(row, last).right, RowTop(row) + rowHeight_};
    }

private:
    struct Column {
        int left;
        int right;
    };
    int top_;
    int rowHeight_;
    int rowPitch_;
    std::vector<Column> columns_;
};
