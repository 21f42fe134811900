#include "pages/WndSheet.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "model/DataSheet.h"
#include "model/TonraDoc.h"

using namespace model;

namespace {

constexpr int kColumnWidth = 55;
constexpr int kRowHeight = 13;
constexpr int kGridLeft = 7;
constexpr int kGridTop = 7;
constexpr int kFirstColumnLeft = 63; // the label column spans 7..62
constexpr int kCellTextWidth = 53;
constexpr int kCellTextHeight = 11;
constexpr int kLabelLeft = 9;
constexpr int kLabelRight = 61;
constexpr int kWidthExtra = 76;
constexpr int kHeightExtra = 417;
constexpr int kHeaderRows = 1;

constexpr int kFontHeight = -10;
constexpr int kFontWeight = 100;
constexpr COLORREF kHeaderColour = RGB(128, 0, 0);
constexpr COLORREF kValueColour = RGB(0, 0, 128);

// A sync that changed the channel counts resizes the sheet after the paint that noticed it.
constexpr UINT_PTR kFitTimer = 1;

int TotalRows(int inputCount) { return SheetRowCount(inputCount) + kHeaderRows; }

} // namespace

namespace pages {

CSize SheetWindowSize(int channelCount, int inputCount) {
    return {channelCount * kColumnWidth + kWidthExtra,
            SheetOutputRowCount(inputCount) * kRowHeight + kHeightExtra};
}

CRect SheetCellRect(int row, int column) {
    const int left = kFirstColumnLeft + kColumnWidth * column;
    const int top = kRowHeight * row + kGridTop + 1;
    return {left, top, left + kCellTextWidth, top + kCellTextHeight};
}

CRect SheetLabelRect(int row) {
    const int top = kRowHeight * row + kGridTop + 1;
    return {kLabelLeft, top, kLabelRight, top + kCellTextHeight};
}

} // namespace pages

bool CWndSheet::Create(CWnd* parentIn, CTonraDoc* documentIn) {
    parent = parentIn;
    document = documentIn;
    if (!document || GetSafeHwnd()) {
        return false;
    }
    totalRowCount = TotalRows(document->GetInputCount());
    columnCount = document->GetChannelCount();
    const CSize size = pages::SheetWindowSize(columnCount, document->GetInputCount());
    return CreatePopup(parent, kCaption, CRect(0, 0, size.cx, size.cy));
}

bool CWndSheet::SizedForCurrentDevice() const {
    return totalRowCount == TotalRows(document->GetInputCount()) &&
           columnCount == document->GetChannelCount();
}

void CWndSheet::FitCurrentDevice() {
    totalRowCount = TotalRows(document->GetInputCount());
    columnCount = document->GetChannelCount();
    CRect window;
    GetWindowRect(&window);
    const CSize size = pages::SheetWindowSize(columnCount, document->GetInputCount());
    MoveWindow(window.left, window.top, size.cx, size.cy);
}

void CWndSheet::OnTimer(UINT_PTR id) {
    KillTimer(id);
    if (id == kFitTimer && document && !SizedForCurrentDevice()) {
        FitCurrentDevice();
    }
}

void CWndSheet::OnPaint() {
    CPaintDC dc(this);
    if (!document) {
        return;
    }
    if (!SizedForCurrentDevice()) {
        SetTimer(kFitTimer, 0);
    }
    // Always the table of the device as it is now: never labels of one device over another's values.
    const DataSheet sheet = BuildDataSheet(*document);
    const int columns = static_cast<int>(sheet.headers.size());
    const int rows = static_cast<int>(sheet.rowLabels.size()) + kHeaderRows;
    CRect window;
    GetWindowRect(&window);

    CFont font;
    font.CreateFont(kFontHeight, 0, 0, 0, kFontWeight, 0, 0, 0, 0, 0, 0, 0, controls::kSansSerifFamily,
                    nullptr);
    dc.SelectObject(&font);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(0, 0, window.Width(), window.Height());

    dc.SelectStockObject(BLACK_PEN);
    const int gridBottom = kRowHeight * rows + kGridTop;
    const int gridRight = kColumnWidth * columns + kFirstColumnLeft;
    for (int i = 0; i <= columns + 1; ++i) {
        dc.MoveTo(kGridLeft + kColumnWidth * i, kGridTop);
        dc.LineTo(kGridLeft + kColumnWidth * i, gridBottom);
    }
    for (int i = 0; i <= rows; ++i) {
        dc.MoveTo(kGridLeft, kGridTop + kRowHeight * i);
        dc.LineTo(gridRight, kGridTop + kRowHeight * i);
    }

    dc.SetBkColor(controls::kLightGrey);
    dc.SetTextColor(kHeaderColour);
    for (int c = 0; c < columns; ++c) {
        dc.DrawText(sheet.headers[c], pages::SheetCellRect(0, c), DT_CENTER);
    }
    for (int r = 0; r < rows - kHeaderRows; ++r) {
        dc.DrawText(sheet.rowLabels[r], pages::SheetLabelRect(r + kHeaderRows), DT_LEFT);
    }
    dc.SetTextColor(kValueColour);
    for (int r = 0; r < rows - kHeaderRows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (!sheet.cells[r][c].empty()) {
                dc.DrawText(sheet.cells[r][c], pages::SheetCellRect(r + kHeaderRows, c), DT_CENTER);
            }
        }
    }
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}
