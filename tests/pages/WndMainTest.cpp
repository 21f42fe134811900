#include "pages/WndMain.h"

#include "PanelTestSupport.h"

#include "framework/GdiObjects.h"

using namespace panel_test;

namespace {

constexpr int kViewWidth = 1000;
constexpr int kViewHeight = 640;
constexpr COLORREF kFrameColour = RGB(128, 128, 255);
constexpr COLORREF kCaptionColour = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRunningDisplay = RGB(0, 255, 255); // only the lit tile picture shows it

struct NetworkPageTest : ::testing::Test {
    ViewHost host;
    CWndMain page;

    void SetUp() override {
        ASSERT_TRUE(host.Open(kViewWidth, kViewHeight));
        ASSERT_TRUE(page.Create(CRect(0, 0, kViewWidth, kViewHeight - 40), &host.view, &host.document));
    }
    void TearDown() override { host.Release({kViewWidth - 1, kViewHeight - 1}); }
};

TEST_F(NetworkPageTest, SixteenTilesInTwoRowsOfEightWithTheirCaptions) {
    // Tiles 0..7 at (20 + 95i, 240, 100 + 95i, 280), tiles 8..15 a row lower at y 300..340.
    EXPECT_EQ(RectInParent(page.Tile(0)), CRect(20, 240, 100, 280));
    EXPECT_EQ(RectInParent(page.Tile(7)), CRect(685, 240, 765, 280));
    EXPECT_EQ(RectInParent(page.Tile(8)), CRect(20, 300, 100, 340));
    EXPECT_EQ(RectInParent(page.Tile(13)), CRect(495, 300, 575, 340));
    EXPECT_EQ(page.Tile(0).caption, "Device - 1");
    EXPECT_EQ(page.Tile(15).caption, "Device - 16");
    for (int slot = 0; slot < 16; ++slot) {
        EXPECT_FALSE(page.Tile(slot).lit);
    }
}

TEST_F(NetworkPageTest, TilesLightOnlyForOnlineDevicesAfterTheRefresh) {
    host.document.deviceOnline[3] = 1;
    host.document.deviceOnline[12] = 1;
    EXPECT_FALSE(page.Tile(3).lit); // nothing changes before the view asks
    page.RefreshDeviceTiles();
    const QImage image = GrabWindow(page);
    for (int slot = 0; slot < 16; ++slot) {
        const bool online = slot == 3 || slot == 12;
        EXPECT_EQ(page.Tile(slot).lit, online) << slot;
        EXPECT_EQ(CountColour(image, CWndMain::TileRect(slot), kRunningDisplay) > 0, online) << slot;
    }

    host.document.deviceOnline[3] = 0;
    page.RefreshDeviceTiles();
    EXPECT_FALSE(page.Tile(3).lit);
    EXPECT_EQ(CountColour(GrabWindow(page), CWndMain::TileRect(3), kRunningDisplay), 0);
}

TEST_F(NetworkPageTest, ClicksReachTheViewWithTheTileIdOrZeroForTheBackground) {
    host.Click(Centre(CRect(20 + 95 * 5, 240, 100 + 95 * 5, 280)));
    host.Click(Centre(CRect(20 + 95 * 7, 300, 100 + 95 * 7, 340)));
    EXPECT_EQ(host.view.Count("press 205"), 1);
    EXPECT_EQ(host.view.Count("release 205"), 1);
    EXPECT_EQ(host.view.Count("press 215"), 1);

    host.view.log.clear();
    host.Click({500, 500});
    host.Click({15, 230}); // inside the frame, between the tiles
    EXPECT_EQ(host.view.Count("press 0"), 2);
    EXPECT_EQ(host.view.Count("press 200"), 0);

    host.view.log.clear();
    host.Move({600, 450});
    host.Move(Centre(CWndMain::TileRect(2)));
    EXPECT_EQ(host.view.Count("hover 0"), 1);
    EXPECT_EQ(host.view.Count("hover 202"), 1);
}

TEST_F(NetworkPageTest, PictureGroupFrameAndCaptionAtTheirPlaces) {
    const QImage image = GrabWindow(page);
    CBitmap picture;
    ASSERT_TRUE(picture.LoadBitmap(150));
    EXPECT_EQ(picture.Width(), 1024);
    EXPECT_EQ(picture.Height(), 1280);

    // The top-left 580 x 180 pixels of the picture at (380, 20) for a 1000-pixel view.
    int matching = 0;
    int lit = 0;
    for (int y = 0; y < 180; y += 3) {
        for (int x = 0; x < 580; x += 3) {
            const QColor c = picture.Image().pixelColor(x, y);
            matching += At(image, 380 + x, 20 + y) == RGB(c.red(), c.green(), c.blue());
            lit += c != Qt::black;
        }
    }
    EXPECT_EQ(matching, 60 * 194);
    EXPECT_GT(lit, 60 * 194 / 5); // a picture, not a black block
    EXPECT_EQ(CountColour(image, CRect(0, 0, 380, 210), kBlack), 380 * 210);
    EXPECT_EQ(CountColour(image, CRect(960, 0, 1000, 210), kBlack), 40 * 210);

    // The frame (10, 220) of size 975 x 130; the caption's blanks and letters cut its top edge.
    EXPECT_EQ(At(image, 10, 300), kFrameColour);
    EXPECT_EQ(At(image, 984, 300), kFrameColour);
    EXPECT_EQ(At(image, 500, 349), kFrameColour);
    EXPECT_EQ(At(image, 15, 220), kFrameColour);
    EXPECT_EQ(At(image, 600, 220), kFrameColour);
    EXPECT_EQ(At(image, 22, 220), kBlack);
    EXPECT_EQ(At(image, 985, 300), kBlack);
    const int captionPixels = CountColour(image, CRect(20, 214, 200, 230), kCaptionColour);
    EXPECT_GT(captionPixels, 100);
    EXPECT_EQ(CountColour(image, CRect(20, 200, 200, 214), kCaptionColour), 0);
}

TEST_F(NetworkPageTest, ThePictureFollowsTheViewsWidth) {
    host.frame.MoveWindow(0, 0, 1200, kViewHeight);
    host.view.MoveWindow(0, 0, 1200, kViewHeight);
    page.MoveWindow(0, 0, 1200, kViewHeight - 40);
    const QImage image = GrabWindow(page);
    // Now at (480, 20) and 680 wide; the frame reaches x 10 + 1175 - 1.
    EXPECT_EQ(CountColour(image, CRect(0, 0, 480, 210), kBlack), 480 * 210);
    EXPECT_NE(CountColour(image, CRect(480, 20, 1160, 200), kBlack), 680 * 180);
    EXPECT_EQ(At(image, 1184, 300), kFrameColour);
}

} // namespace
