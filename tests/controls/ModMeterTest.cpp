#include "controls/ModMeter.h"
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

constexpr UINT kId = 450;
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kOlive = RGB(128, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr int kWidth = 12;
constexpr int kHeight = 150;

struct MeterTest : PageTest {
    CModMeter meter;

    void SetUp() override {
        PageTest::SetUp();
        ASSERT_TRUE(meter.Create(CRect(20, 20, 20 + kWidth, 20 + kHeight), &page, kId));
    }

    // The inside colour of each segment, bottom first.
    std::vector<COLORREF> SegmentColours(int level) {
        meter.level = level;
        const QImage image = GrabWindow(meter);
        std::vector<COLORREF> colours;
        for (int i = 0; i < CModMeter::kSegmentCount; ++i) {
            const CRect r = meter.SegmentRect(i);
            colours.push_back(At(image, r.left + r.Width() / 2, r.top + r.Height() / 2));
        }
        return colours;
    }
};

std::vector<COLORREF> Expected(int greens, COLORREF yellow, COLORREF red) {
    std::vector<COLORREF> colours(13, kDarkGreen);
    std::fill(colours.begin(), colours.begin() + greens, kGreen);
    colours.push_back(yellow);
    colours.push_back(red);
    return colours;
}

TEST_F(MeterTest, SegmentsAreEqualFifteenthsWithFourPixelGaps) {
    EXPECT_EQ(meter.SegmentRect(0), CRect(0, 142, kWidth, 148));
    EXPECT_EQ(meter.SegmentRect(14), CRect(0, 2, kWidth, 8));
    EXPECT_EQ(meter.SegmentRect(7).top - meter.SegmentRect(8).bottom, 4);
}

TEST_F(MeterTest, LevelsLightTheSegmentsOfTheColourTable) {
    EXPECT_EQ(SegmentColours(0), Expected(0, kOlive, kMaroon));
    EXPECT_EQ(SegmentColours(-3), Expected(0, kOlive, kMaroon));
    EXPECT_EQ(SegmentColours(5), Expected(5, kOlive, kMaroon));
    EXPECT_EQ(SegmentColours(13), Expected(13, kOlive, kMaroon));
    EXPECT_EQ(SegmentColours(14), Expected(13, kYellow, kMaroon));
    EXPECT_EQ(SegmentColours(15), Expected(13, kYellow, kRed));
    EXPECT_EQ(SegmentColours(40), Expected(13, kYellow, kRed));
}

TEST_F(MeterTest, SegmentsAreSunkenWithGapsBetweenThem) {
    meter.level = 15;
    const QImage image = GrabWindow(meter);
    const CRect r = meter.SegmentRect(3);
    EXPECT_EQ(At(image, r.left, r.top), kGrey);
    EXPECT_EQ(At(image, r.left, r.bottom - 2), kGrey);
    EXPECT_EQ(At(image, r.right - 1, r.top), kWhite);
    EXPECT_EQ(At(image, r.left + 1, r.bottom - 1), kWhite);
    EXPECT_EQ(At(image, r.left + 1, r.top + 1), kGreen);
    // The gap below the segment is not painted by the meter.
    EXPECT_NE(At(image, r.left + 1, r.bottom + 1), kGreen);
}

TEST_F(MeterTest, HasChangedOnlyForANewLevelAndClicksAreReported) {
    meter.level = 7;
    EXPECT_TRUE(meter.HasChanged());
    meter.level = 7;
    EXPECT_FALSE(meter.HasChanged());

    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(25, 100));
    EXPECT_EQ(page.log, (std::vector<std::string>{"press 450", "release 450"}));
}

} // namespace
