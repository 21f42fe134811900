#include "controls/ModButton.h"
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

constexpr UINT kId = 12;
constexpr UINT kOtherId = 13;
constexpr COLORREF kBack = RGB(0, 0, 192);
constexpr COLORREF kText = kLightGrey;
constexpr COLORREF kLitBack = RGB(255, 0, 0);
constexpr COLORREF kLitText = kBlack;
const CRect kButtonRect(10, 10, 70, 30);
const QPoint kOnButton(40, 20);
const QPoint kOffButton(200, 200);

struct ButtonTest : PageTest {
    CModButton button;

    void Make(bool hoverLight, bool lit, UINT bitmapId = 0, UINT litBitmapId = 0) {
        const ButtonLook look{hoverLight, lit, kBack, kText, kLitBack, kLitText, bitmapId, litBitmapId};
        ASSERT_TRUE(button.Create(kId, kButtonRect, look, "Mute", &page));
    }
};

TEST_F(ButtonTest, HasChangedReportsOnceAfterCreationAndOnlyRealChangesLater) {
    Make(false, false);
    EXPECT_TRUE(button.HasChanged());
    EXPECT_FALSE(button.HasChanged());

    button.lit = false;
    button.caption = "Mute";
    EXPECT_FALSE(button.HasChanged());

    button.lit = true;
    EXPECT_TRUE(button.HasChanged());
    button.caption = "Muted";
    EXPECT_TRUE(button.HasChanged());
    EXPECT_FALSE(button.HasChanged());
}

TEST_F(ButtonTest, ClicksReportPressReleaseAndDoubleClickWithItsId) {
    Make(false, false);
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnButton);
    EXPECT_EQ(page.Count("press 12"), 1);
    EXPECT_EQ(page.Count("release 12"), 1);
    EXPECT_FALSE(button.lit); // the page decides what a click means

    page.log.clear();
    QTest::mouseDClick(window, Qt::LeftButton, {}, kOnButton);
    EXPECT_EQ(page.Count("dblclk 12"), 1);
}

TEST_F(ButtonTest, DisabledButtonReportsReleaseAndDoubleClickButNoPress) {
    Make(false, false);
    button.SetEnabled(false);
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnButton);
    QTest::mouseDClick(window, Qt::LeftButton, {}, kOnButton);
    EXPECT_EQ(page.Count("press 12"), 0);
    EXPECT_GE(page.Count("release 12"), 1);
    EXPECT_EQ(page.Count("dblclk 12"), 1);
}

TEST_F(ButtonTest, HoverLightStaysLitUntilThePointerIsOverAnotherControl) {
    Make(true, false);
    button.HasChanged();
    QTest::mouseMove(window, kOnButton);
    EXPECT_TRUE(button.lit);
    EXPECT_EQ(page.log.back(), "hover 12");

    QTest::mouseMove(window, kOffButton);
    EXPECT_TRUE(button.lit);
    EXPECT_EQ(button.SendMessage(UM_HOVER_MOVED, kId, 0), 1);
    EXPECT_TRUE(button.lit);
    EXPECT_EQ(button.SendMessage(UM_HOVER_MOVED, kOtherId, 0), 1);
    EXPECT_FALSE(button.lit);
    EXPECT_FALSE(button.HasChanged());
}

TEST_F(ButtonTest, HoverMovedLeavesAButtonWithoutHoverLightAlone) {
    Make(false, true);
    button.SendMessage(UM_HOVER_MOVED, kOtherId, 0);
    EXPECT_TRUE(button.lit);
}

TEST_F(ButtonTest, PlainStyleFillsWithTheStateColoursInsideARaisedFrame) {
    Make(false, false);
    QImage image = GrabWindow(button);
    ASSERT_EQ(image.size(), QSize(60, 20));
    EXPECT_EQ(At(image, 3, 3), kBack);
    EXPECT_EQ(At(image, 0, 0), kWhite);
    EXPECT_EQ(At(image, 0, 18), kWhite);
    EXPECT_EQ(At(image, 58, 0), kWhite);
    EXPECT_EQ(At(image, 59, 0), kBlack);
    EXPECT_EQ(At(image, 59, 19), kBlack);
    EXPECT_EQ(At(image, 30, 19), kBlack);
    // The caption is drawn in the text colour on the back colour.
    EXPECT_GT(CountColour(image, CRect(2, 2, 58, 18), kText), 10);

    button.lit = true;
    image = GrabWindow(button);
    EXPECT_EQ(At(image, 3, 3), kLitBack);
    EXPECT_EQ(At(image, 0, 0), kWhite);
    EXPECT_EQ(At(image, 59, 19), kBlack);
    EXPECT_GT(CountColour(image, CRect(2, 2, 58, 18), kLitText), 10);
    EXPECT_EQ(CountColour(image, CRect(2, 2, 58, 18), kText), 0);
}

TEST_F(ButtonTest, DisabledLookIsDarkGreyWithTheCaptionOnGrey) {
    Make(false, true);
    button.SetEnabled(false);
    const QImage image = GrabWindow(button);
    EXPECT_EQ(At(image, 3, 3), RGB(64, 64, 64));
    EXPECT_GT(CountColour(image, CRect(2, 2, 58, 18), kGrey), 10);
    EXPECT_GT(CountColour(image, CRect(2, 2, 58, 18), kLitText), 10);
    EXPECT_EQ(At(image, 0, 0), kWhite);
}

TEST_F(ButtonTest, BitmapStyleShowsThePictureOfTheStateWithTheCaptionBelow) {
    CBitmap dark, litPicture;
    ASSERT_TRUE(dark.LoadBitmap(167));
    ASSERT_TRUE(litPicture.LoadBitmap(168));
    ASSERT_EQ(dark.Image().size(), QSize(80, 20));
    const ButtonLook look{false, false, kBlack, kText, kBlack, kWhite, 167, 168};
    ASSERT_TRUE(button.Create(kId, CRect(10, 10, 90, 50), look, "Device - 1", &page));

    auto picturesMatch = [](const QImage& image, const CBitmap& picture) {
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (image.pixelColor(x, y) != picture.Image().pixelColor(x, y)) {
                    return false;
                }
            }
        }
        return true;
    };
    QImage image = GrabWindow(button);
    EXPECT_TRUE(picturesMatch(image, dark));
    EXPECT_GT(CountColour(image, CRect(0, 25, 80, 40), kText), 10);
    EXPECT_EQ(At(image, 0, 22), kBlack);
    EXPECT_EQ(At(image, 79, 39), kBlack); // no frame in this style

    button.lit = true;
    image = GrabWindow(button);
    EXPECT_TRUE(picturesMatch(image, litPicture));
    EXPECT_GT(CountColour(image, CRect(0, 25, 80, 40), kWhite), 10);
}

TEST(Bitmaps, DrawingIntoALoadedBitmapLeavesTheResourceForTheNextLoad) {
    CBitmap first;
    ASSERT_TRUE(first.LoadBitmap(167));
    const QColor original = first.Image().pixelColor(0, 0);
    first.Image().fill(Qt::magenta);

    CBitmap second;
    ASSERT_TRUE(second.LoadBitmap(167));
    EXPECT_EQ(second.Image().pixelColor(0, 0), original);
    EXPECT_NE(original, QColor(Qt::magenta));
    EXPECT_FALSE(CBitmap().LoadBitmap(9999));
}

} // namespace
