// The main view on its own: navigation bar layout and captions, the status box, the window
// caption, hover and release broadcasting, as the operator sees them.
#include "StartedApp.h"
#include "framework/Dc.h"

#include <QEvent>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr int kHeight = 700;

CTonraView& ViewOf(StartedApp& started) { return started.app.GetMainWnd()->GetView(); }

std::vector<std::string> VisibleCaptions(CTonraView& view) {
    std::vector<std::string> captions;
    for (int i = 0; i < CTonraView::kNavButtonCount; ++i) {
        CModButton& button = view.NavButton(i);
        if (button.IsWindowVisible()) {
            captions.push_back(button.caption);
        }
    }
    return captions;
}

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

} // namespace

TEST(View, NavigationLayoutAtWidth1000) {
    EXPECT_EQ(CTonraView::NavButtonRect(0, 1000, kHeight), CRect(5, 668, 83, 688));
    EXPECT_EQ(CTonraView::NavButtonRect(9, 1000, kHeight), CRect(756, 668, 835, 688));
    EXPECT_EQ(CTonraView::StatusBoxRect(1000, kHeight).left, 840);
    EXPECT_EQ(CTonraView::PageRect(1000, kHeight), CRect(0, 0, 1000, 660));

    // The real view at width 1000: the buttons sit where the layout puts them, and the status
    // box is drawn from x 840.
    StartedApp started;
    CTonraView& view = ViewOf(started);
    view.MoveWindow(0, 0, 1000, kHeight);
    view.SetPageMode(CTonraView::kDevicePage);
    EXPECT_EQ(view.NavButton(0).GetWidget()->geometry(), QRect(5, 668, 78, 20));
    EXPECT_EQ(view.NavButton(7).GetWidget()->geometry().left(), 835 * 7 / 10 + 5);
    const QImage image = GrabWindow(view);
    EXPECT_EQ(Pixel(image, 839, 678), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, 845, 678), QColor(0, 192, 0));
    EXPECT_EQ(Pixel(image, 840, 678), QColor(Qt::white)); // the outer frame's light edge
    EXPECT_EQ(Pixel(image, 992, 678), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, 837, 678), QColor(Qt::black)); // between button 9 and the box
    EXPECT_EQ(Pixel(image, 500, 690), QColor(Qt::black)); // below the buttons
}

TEST(View, PageModesShowTheirNavigationCaptions) {
    StartedApp started;
    CTonraView& view = ViewOf(started);
    EXPECT_EQ(started.doc().pageMode, 0);
    EXPECT_EQ(VisibleCaptions(view), (std::vector<std::string>{"Connection", "Version"}));

    started.doc().statusText = "Link Status: OK";
    view.SetPageMode(CTonraView::kDevicePage);
    EXPECT_EQ(started.doc().pageMode, 1);
    EXPECT_EQ(started.doc().statusText, "");
    EXPECT_EQ(VisibleCaptions(view),
              (std::vector<std::string>{"Program", "Copy", "Security", "View Data", "All Programs",
                                        "Password", "Sync Device", "Home"}));
    view.SetPageMode(CTonraView::kHomePage);
    EXPECT_EQ(VisibleCaptions(view), (std::vector<std::string>{"Connection", "Version"}));
}

TEST(View, CaptionIsSetOnEveryPaintAndTakesTheDocumentCaptionLiterally) {
    StartedApp started;
    CTonraView& view = ViewOf(started);
    CMainFrame& frame = *started.app.GetMainWnd();
    EXPECT_EQ(frame.GetWindowText(), "Veltrix Loudspeaker Controller");
    GrabWindow(view);
    EXPECT_EQ(frame.GetWindowText(), "Veltrix");

    CTonraDoc& doc = started.doc();
    doc.currentDevice = 2;
    doc.documentCaption = "100% %s %u %n loud";
    view.SetPageMode(CTonraView::kDevicePage);
    GrabWindow(view);
    EXPECT_EQ(frame.GetWindowText(), "Veltrix - Device 3 - 100% %s %u %n loud");
}

TEST(View, StatusBoxShowsTheStatusTextAfterStatusChanged) {
    StartedApp started;
    CTonraView& view = ViewOf(started);
    started.doc().deviceOnline[0] = 1; // an offline device says so
    view.SetPageMode(CTonraView::kDevicePage);
    const CRect box = CTonraView::StatusBoxRect(1020, kHeight);
    const auto darkPixels = [&] {
        const QImage image = GrabWindow(view);
        int count = 0;
        for (int x = box.left + 2; x < box.right - 2; ++x) {
            for (int y = box.top + 2; y < box.bottom - 2; ++y) {
                count += Pixel(image, x, y).green() < 128 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(darkPixels(), 0);
    started.doc().statusText = "Sync Status: 42%";
    EXPECT_EQ(view.SendMessage(UM_REFRESH, CPort::StatusChanged), 1);
    EXPECT_GT(darkPixels(), 40);
}

TEST(View, StatusLineHoldsTheEndOfAnOperationAndCountsChangesGoingOut) {
    using namespace std::chrono_literals;
    CStatusLine line;
    const auto t0 = CStatusLine::Clock::now();
    CStatusLine::LinkState link;
    link.statusText = "Sync Status: Finished OK";
    line.Observe(link.statusText, t0);
    link.statusText = "Link Status: OK";
    EXPECT_EQ(line.Shown(link, t0 + 2900ms), "Sync Status: Finished OK");
    EXPECT_EQ(line.Shown(link, t0 + 3000ms), "Link Status: OK");
    // Another operation's texts replace it at once.
    link.statusText = "Upload Status: 5%";
    EXPECT_EQ(line.Shown(link, t0 + 1s), "Upload Status: 5%");
    // An Upload's end stays in front of the Sync that follows it, not of that Sync's end.
    line.Observe("Upload Status: Failed", t0);
    link.statusText = "Sync Status: 42%";
    EXPECT_EQ(line.Shown(link, t0 + 1s), "Upload Status: Failed");
    EXPECT_EQ(line.Shown(link, t0 + 3s), "Sync Status: 42%");

    link.statusText = "Link Status: OK";
    link.unsentChanges = 11;
    EXPECT_EQ(line.Shown(link, t0 + 1s), "Sending 11 changes...");
    link.unsentChanges = 1;
    EXPECT_EQ(line.Shown(link, t0 + 5s), "Sending 1 change...");
    // Nothing goes out over a dropped link: it says so, also after the failed Sync's hold.
    link.linkDown = true;
    link.statusText = "Sync Status: Failed";
    line.Observe(link.statusText, t0);
    EXPECT_EQ(line.Shown(link, t0 + 1s), "Sync Status: Failed");
    EXPECT_EQ(line.Shown(link, t0 + 4s), "Link Status: Error");
    link.offline = true;
    EXPECT_EQ(line.Shown(link, t0 + 1s), "Link Status: Offline");
}

TEST(View, HoverAndReleaseReachEveryButton) {
    StartedApp started;
    CTonraView& view = ViewOf(started);
    CModButton& connection = view.NavButton(0);
    const QPoint centre = connection.GetWidget()->rect().center();
    QTest::mouseMove(connection.GetWidget(), centre);
    EXPECT_TRUE(connection.lit);
    // Over another control: the hover-lit button goes dark.
    view.SendMessage(UM_CTRL_HOVER, 101);
    EXPECT_FALSE(connection.lit);

    QTest::mouseMove(connection.GetWidget(), centre + QPoint(1, 1));
    ASSERT_TRUE(connection.lit);
    // Over the view's own background.
    QTest::mouseMove(view.GetWidget(), QPoint(500, 300));
    EXPECT_FALSE(connection.lit);
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TEST(View, AnIdleViewIsNotPaintedAgainAndAgain) {
    StartedApp started;
    CTonraView& view = ViewOf(started);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(started.app.GetMainWnd()->GetWidget()));
    QTest::qWait(100);
    PaintCounter counter;
    view.GetWidget()->installEventFilter(&counter);
    view.SetPageMode(CTonraView::kDevicePage); // the caption changes at the next paint
    QTest::qWait(500);
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 3);
    EXPECT_EQ(started.app.GetMainWnd()->GetWindowText(), view.WindowCaption());
}
