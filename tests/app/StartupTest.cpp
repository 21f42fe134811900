#include "app/NetworkStart.h"
#include "app/TonraApp.h"
#include "framework/Dc.h"
#include "framework/ScriptedUiService.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// An application started headless with the network start answering `networkStarts`.
struct StartedApp {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CTonraApp app;
    bool started = false;

    explicit StartedApp(std::optional<std::string> setupFile = std::nullopt, bool networkStarts = true) {
        app.SetNetworkStarter([networkStarts] { return networkStarts; });
        started = app.InitInstance(setupFile);
    }
};

bool IsNew(CTonraDoc& doc) {
    return doc.documentCaption == "New" && !doc.IsModified() && doc.gain[15][15] == 160 &&
           doc.shadow.gain[15][15] == 160 && doc.limAttack[0][7] == 10;
}

} // namespace

TEST(Startup, MainFrameHasCaptionFixedSizeAndABlackView) {
    StartedApp started;
    ASSERT_TRUE(started.started);
    EXPECT_TRUE(started.ui.shown().empty());
    EXPECT_EQ(AfxGetAppName(), "Veltrix");

    CMainFrame* frame = started.app.GetMainWnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetWindowText(), "Veltrix Loudspeaker Controller");
    EXPECT_TRUE(frame->IsWindowVisible());
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 1020, 700));
    QWidget* window = frame->GetWidget();
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    // Not resizable: the smallest and the largest size are the same.
    EXPECT_EQ(window->minimumSize(), QSize(1020, 700));
    EXPECT_EQ(window->maximumSize(), QSize(1020, 700));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    CTonraView& view = frame->GetView();
    CRect viewRect;
    view.GetClientRect(&viewRect);
    EXPECT_EQ(viewRect, client);
    const QImage image = GrabWindow(view);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1019, 699), QColor(Qt::black));

    EXPECT_TRUE(IsNew(started.app.GetDocument()));
    EXPECT_EQ(started.app.GetDocument().GetView(), &view);
}

TEST(Startup, NetworkFailureIsReportedAndStartUpGoesOn) {
    StartedApp started(std::nullopt, false);
    ASSERT_TRUE(started.started);
    ASSERT_EQ(started.ui.shown().size(), 1u);
    EXPECT_EQ(started.ui.shown()[0].text, "Failed to Initialize Sockets");
    EXPECT_EQ(started.ui.shown()[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(IsNew(started.app.GetDocument()));
}

TEST(Startup, SetupFileOnTheCommandLineIsReportedAndNewRuns) {
    StartedApp started(std::string("/tmp/show.dat"));
    ASSERT_TRUE(started.started);
    ASSERT_EQ(started.ui.MessageTexts().size(), 1u);
    EXPECT_NE(started.ui.MessageTexts()[0].find("/tmp/show.dat"), std::string::npos);
    EXPECT_TRUE(IsNew(started.app.GetDocument()));
    EXPECT_EQ(started.app.GetMainWnd()->GetWindowText(), "Veltrix Loudspeaker Controller");
}

TEST(Startup, CommandLineNamesAtMostOneSetupFile) {
    EXPECT_EQ(app::SetupFileArgument({"veltrix"}), std::nullopt);
    EXPECT_EQ(app::SetupFileArgument({"veltrix", "a.dat", "b.dat"}), std::optional<std::string>("a.dat"));
}

TEST(Startup, TheNetworkStartsOnThisSystem) { EXPECT_TRUE(app::StartNetwork()); }

TEST(Startup, ClosingTheMainWindowLetsTheDocumentForgetTheView) {
    StartedApp started;
    CTonraDoc& doc = started.app.GetDocument();
    started.app.GetMainWnd()->SendMessage(WM_CLOSE);
    EXPECT_EQ(started.app.GetMainWnd()->GetSafeHwnd(), nullptr);
    doc.RefreshViews(); // the view's window is gone: nothing to refresh, nothing to crash
    EXPECT_TRUE(doc.OnNewDocument());
}
