#include "framework/Dc.h"
#include "framework/Wnd.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 192);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(192, 192, 192);

COLORREF At(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

// Paints a fixed pattern with the GDI-style calls the pages use.
class PatternWnd : public CWnd {
protected:
    void OnPaint() override {
        CPaintDC dc(this);
        CBrush blue(kBlue);
        dc.FillRect(CRect(0, 0, 200, 100), &blue);
        dc.Draw3dRect(CRect(10, 10, 50, 40), kWhite, kBlack);
        dc.DrawEdge(CRect(60, 10, 100, 40), EDGE_SUNKEN, BF_RECT);

        CPen red(PS_SOLID, 1, kRed);
        dc.SelectObject(&red);
        dc.MoveTo(110, 20);
        dc.LineTo(150, 20); // the end point stays blue

        CBrush yellow(kYellow);
        dc.SelectStockObject(NULL_PEN);
        dc.SelectObject(&yellow);
        dc.Rectangle(CRect(160, 10, 170, 20)); // null pen: one pixel smaller

        CFont font;
        font.CreateFont(-12, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 32, "MS Sans Serif");
        dc.SelectObject(&font);
        dc.SetTextColor(kBlack);
        dc.SetBkColor(kGrey);
        dc.SetBkMode(OPAQUE);
        dc.DrawText("WWW", CRect(10, 60, 190, 90), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SelectObject(static_cast<const CFont*>(nullptr));
        dc.SelectObject(static_cast<const CBrush*>(nullptr));
        dc.SelectObject(static_cast<const CPen*>(nullptr));
    }
};

TEST(Painting, AWindowPaintsFillFrameEdgeLineAndTextAtExactPixels) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateFrame("paint", CRect(0, 0, 200, 100)));
    PatternWnd pattern;
    ASSERT_TRUE(pattern.CreateChild(frame, CRect(0, 0, 200, 100)));
    const QImage image = GrabWindow(pattern);
    ASSERT_EQ(image.size(), QSize(200, 100));

    EXPECT_EQ(At(image, 5, 5), kBlue);
    // Raised frame: white top and left, black bottom and right (right/bottom exclusive).
    EXPECT_EQ(At(image, 10, 10), kWhite);
    EXPECT_EQ(At(image, 30, 10), kWhite);
    EXPECT_EQ(At(image, 10, 30), kWhite);
    EXPECT_EQ(At(image, 49, 20), kBlack);
    EXPECT_EQ(At(image, 30, 39), kBlack);
    EXPECT_EQ(At(image, 50, 20), kBlue);
    EXPECT_EQ(At(image, 30, 20), kBlue); // inside untouched
    // Sunken edge: grey shadow outside, black inside at the top left; white at the bottom right.
    EXPECT_EQ(At(image, 70, 10), RGB(128, 128, 128));
    EXPECT_EQ(At(image, 70, 11), kBlack);
    EXPECT_EQ(At(image, 80, 39), kWhite);
    EXPECT_EQ(At(image, 80, 38), kGrey);
    // The line covers 110..149.
    EXPECT_EQ(At(image, 110, 20), kRed);
    EXPECT_EQ(At(image, 149, 20), kRed);
    EXPECT_EQ(At(image, 150, 20), kBlue);
    // Rectangle with the null pen covers 160..168 x 10..18.
    EXPECT_EQ(At(image, 160, 10), kYellow);
    EXPECT_EQ(At(image, 168, 18), kYellow);
    EXPECT_EQ(At(image, 169, 18), kBlue);
    EXPECT_EQ(At(image, 168, 19), kBlue);

    // Opaque text: a grey box centred in its rectangle with black glyph pixels inside it.
    int black = 0, grey = 0;
    for (int y = 60; y < 90; ++y) {
        for (int x = 10; x < 190; ++x) {
            black += At(image, x, y) == kBlack;
            grey += At(image, x, y) == kGrey;
        }
    }
    EXPECT_GT(black, 20);
    EXPECT_GT(grey, 50);
    EXPECT_EQ(At(image, 12, 75), kBlue);  // left of the centred text box
    EXPECT_EQ(At(image, 100, 61), kBlue); // above it
}

TEST(Painting, MemoryContextCopiesABitmapAndFillSolidRectSetsTheBackground) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(4, 4));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    memory.SelectObject(&bitmap);
    memory.FillSolidRect(CRect(0, 0, 2, 4), kRed);
    EXPECT_EQ(memory.GetBkColor(), kRed);
    memory.SelectObject(static_cast<CBitmap*>(nullptr));

    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        CDC dc(&target);
        CDC source;
        source.CreateCompatibleDC(&dc);
        source.SelectObject(&bitmap);
        EXPECT_TRUE(dc.BitBlt(2, 2, 4, 4, &source, 0, 0, SRCCOPY));
    }
    EXPECT_EQ(At(target, 2, 2), kRed);
    EXPECT_EQ(At(target, 4, 2), kBlack);
    EXPECT_EQ(At(target, 1, 1), kWhite);
}

// A curve of many short lines keeps its dashes: the pattern does not start again at each point.
TEST(Painting, ADashedPolylineRunsItsPatternRoundThePoints) {
    QImage target(60, 10, QImage::Format_RGB32);
    target.fill(Qt::white);
    std::vector<CPoint> points;
    for (int x = 5; x <= 55; ++x) {
        points.emplace_back(x, 5);
    }
    {
        CDC dc(&target);
        CPen dashed(PS_DASH, 1, kRed);
        dc.SelectObject(&dashed);
        dc.Polyline(points.data(), static_cast<int>(points.size()));
        dc.SelectObject(static_cast<const CPen*>(nullptr));
    }
    int red = 0;
    for (int x = 5; x < 55; ++x) {
        red += At(target, x, 5) == kRed;
    }
    EXPECT_GT(red, 20);
    EXPECT_LT(red, 45);
    // A solid one covers every column but the last point's, as LineTo does.
    {
        CDC dc(&target);
        CPen solid(PS_SOLID, 1, kBlue);
        dc.SelectObject(&solid);
        const std::array<CPoint, 3> corner = {CPoint(5, 2), CPoint(30, 2), CPoint(30, 8)};
        dc.Polyline(corner.data(), 3);
        dc.SelectObject(static_cast<const CPen*>(nullptr));
    }
    EXPECT_EQ(At(target, 5, 2), kBlue);
    EXPECT_EQ(At(target, 30, 2), kBlue);
    EXPECT_EQ(At(target, 30, 7), kBlue);
    EXPECT_EQ(At(target, 30, 8), kWhite);
    EXPECT_EQ(At(target, 4, 2), kWhite);
}

TEST(Painting, TheSansSerifFaceHasARegularAndABoldWeightOnly) {
    const auto weightOf = [](int weight, const char* face) {
        CFont font;
        font.CreateFont(-10, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 32, face);
        return font.Font().weight();
    };
    EXPECT_EQ(weightOf(100, "MS Sans Serif"), QFont::Normal);
    EXPECT_EQ(weightOf(500, nullptr), QFont::Normal);
    EXPECT_EQ(weightOf(600, "MS Sans Serif"), QFont::Bold);
    EXPECT_EQ(weightOf(900, "MS Sans Serif"), QFont::Bold);
    // Other faces keep the weight asked for.
    EXPECT_EQ(weightOf(100, "DejaVu Sans"), QFont::Thin);
}

} // namespace

namespace {

// Records the paint rectangle of every paint.
class PaintRectWnd : public CWnd {
public:
    std::vector<CRect> paintRects;

protected:
    void OnPaint() override {
        CPaintDC dc(this);
        paintRects.push_back(dc.PaintRect());
    }
};

} // namespace

TEST(Painting, APaintKnowsWhichPartOfTheWindowItRedraws) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateFrame("paint", CRect(0, 0, 200, 100)));
    PaintRectWnd window;
    ASSERT_TRUE(window.CreateChild(frame, CRect(0, 0, 200, 100)));
    frame.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.GetWidget()));

    window.paintRects.clear();
    GrabWindow(window);
    ASSERT_EQ(window.paintRects.size(), 1u);
    EXPECT_EQ(window.paintRects[0], CRect(0, 0, 200, 100));

    window.paintRects.clear();
    const CRect part(10, 20, 60, 30);
    window.InvalidateRect(&part);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.paintRects.empty(); }, 2000));
    EXPECT_EQ(window.paintRects[0], part);
}
