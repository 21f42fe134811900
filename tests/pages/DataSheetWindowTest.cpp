// The data sheet window: its size from the channel counts, the grid, and every text where the
// table puts it, read back as pixels against the text the command-line dump prints.
#include "pages/WndSheet.h"

#include "PopupTestSupport.h"
#include "model/DataSheet.h"

using namespace pages_test;

namespace {

constexpr COLORREF kHeaderColour = RGB(128, 0, 0);
constexpr COLORREF kValueColour = RGB(0, 0, 128);

// `text` drawn alone in a cell-sized image, as the sheet draws its cells.
QImage Reference(const std::string& text, const CRect& cell, COLORREF colour, UINT format) {
    QImage image(cell.Width(), cell.Height(), QImage::Format_RGB32);
    {
        CDC dc(&image);
        CFont font;
        font.CreateFont(-10, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 32, nullptr);
        dc.SelectObject(&font);
        dc.FillSolidRect(CRect(0, 0, cell.Width(), cell.Height()), RGB(192, 192, 192));
        dc.SetTextColor(colour);
        dc.DrawText(text, CRect(0, 0, cell.Width(), cell.Height()), format);
        dc.SelectObject(static_cast<const CFont*>(nullptr));
    }
    return image;
}

bool Shows(const QImage& window, const CRect& cell, const std::string& text, COLORREF colour, UINT format) {
    const QImage shown =
        window.copy(cell.left, cell.top, cell.Width(), cell.Height()).convertToFormat(QImage::Format_RGB32);
    return shown == Reference(text, cell, colour, format);
}

struct DataSheetWindowTest : ::testing::Test {
    CTonraDoc doc;
    PanelStandIn panel;
    CWndSheet sheet;

    void SetUp() override {
        NewDocument(doc);
        ShowPanel(panel);
    }
    void Open() {
        ASSERT_TRUE(sheet.Create(&panel, &doc));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FrameWindow(sheet)));
    }
    CRect Window() const {
        CRect rect;
        sheet.GetWindowRect(&rect);
        return rect;
    }
};

TEST(DataSheetLayout, CellsFollowTheGrid) {
    EXPECT_EQ(pages::SheetWindowSize(12, 4), CSize(736, 586));
    EXPECT_EQ(pages::SheetWindowSize(10, 2), CSize(626, 560));
    EXPECT_EQ(pages::SheetCellRect(0, 0), CRect(63, 8, 116, 19));
    EXPECT_EQ(pages::SheetLabelRect(1), CRect(9, 21, 61, 32));
    // The first output row of a four-input device.
    EXPECT_EQ(pages::SheetCellRect(29, 4), CRect(283, 385, 336, 396));
}

TEST_F(DataSheetWindowTest, FourInputsAndEightOutputsMakeA736By586Window) {
    Open();
    EXPECT_EQ(Window(), CRect(0, 0, 736, 586));
    EXPECT_EQ(sheet.GetWindowText(), "Current Data Values");

    const QImage image = GrabWindow(sheet);
    // Grid lines: 14 vertical (label column and 12 channels), 43 horizontal (header and 42 rows).
    EXPECT_EQ(At(image, 7, 300), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 7 + 55 * 13, 300), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 400, 7), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 400, 7 + 13 * 42), RGB(0, 0, 0));
    EXPECT_EQ(At(image, 400, 7 + 13 * 42 + 1), RGB(192, 192, 192));
    EXPECT_EQ(At(image, 7 + 55 * 13 + 1, 300), RGB(192, 192, 192));
}

TEST_F(DataSheetWindowTest, EveryTextIsTheDumpsTextInItsCell) {
    doc.SetParamText(model::kChannelName, "KICK", 0);
    doc.SetParamText(model::kChannelName, "SUB", 5);
    doc.SetParam(model::kEqGain, 134, 2, 3);
    doc.SetParam(model::kXoverFreq, 60, 6, 1);
    doc.SetParam(model::kLimThreshold, 80, 11, 0);
    Open();
    const model::DataSheet dump = model::BuildDataSheet(doc);
    const QImage image = GrabWindow(sheet);

    EXPECT_TRUE(Shows(image, pages::SheetCellRect(0, 0), "Input 1", kHeaderColour, DT_CENTER));
    EXPECT_TRUE(Shows(image, pages::SheetCellRect(0, 4), "Output 1", kHeaderColour, DT_CENTER));
    EXPECT_TRUE(Shows(image, pages::SheetCellRect(0, 11), "Output 8", kHeaderColour, DT_CENTER));
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(1), "Name", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(41), "Release", kHeaderColour, DT_LEFT));
    for (int row = 0; row < static_cast<int>(dump.cells.size()); ++row) {
        for (int column : {0, 2, 5, 6, 11}) {
            EXPECT_TRUE(Shows(image, pages::SheetCellRect(row + 1, column), dump.cells[row][column],
                              kValueColour, DT_CENTER))
                << "row " << row << " column " << column << " \"" << dump.cells[row][column] << "\"";
        }
    }
    EXPECT_EQ(dump.cells[0][0], "KICK");
    EXPECT_EQ(dump.cells[0][5], "SUB");
    EXPECT_EQ(dump.cells[28][0], ""); // input columns stay empty in the output rows
}

TEST_F(DataSheetWindowTest, TwoInputsGiveTwoSourceRowsThenTheCrossoverRows) {
    doc.SetInputCount(2);
    Open();
    EXPECT_EQ(Window(), CRect(0, 0, 626, 560));
    const QImage image = GrabWindow(sheet);
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(29), "Src In1", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(30), "Src In2", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(31), "XType-Lo", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(39), "Release", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetCellRect(0, 2), "Output 1", kHeaderColour, DT_CENTER));
}

TEST_F(DataSheetWindowTest, ASyncThatChangesTheCountsRefitsTheOpenSheet) {
    Open();
    FrameWindow(sheet)->setPosition(30, 20);
    QTRY_COMPARE(Window().TopLeft(), CPoint(30, 20));
    doc.SetInputCount(8);
    sheet.Invalidate(); // the panel repaints the sheet at every refresh
    QTRY_COMPARE(Window(), CRect(30, 20, 30 + 16 * 55 + 76, 20 + 17 * 13 + 417));
    const QImage image = GrabWindow(sheet);
    EXPECT_TRUE(Shows(image, pages::SheetLabelRect(36), "Src In8", kHeaderColour, DT_LEFT));
    EXPECT_TRUE(Shows(image, pages::SheetCellRect(0, 8), "Output 1", kHeaderColour, DT_CENTER));
}

} // namespace
