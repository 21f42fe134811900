#include "IsolatedConfig.h"
#include "StartedApp.h"
#include "app/CommandLine.h"
#include "app/NetworkStart.h"
#include "framework/Dc.h"
#include "model/ConnectionFile.h"

#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

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
    // A maximise box, used where the screen has more room than the restored window.
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

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

TEST(Startup, SetupFileOnTheCommandLineIsOpenedIntoTheCurrentDevice) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("show.dat").toStdString();
    {
        CTonraDoc source;
        source.OnNewDocument();
        source.deviceModel[0] = "KVA-1326";
        source.inputCount[0] = 2;
        source.outputCount[0] = 6;
        source.gain[0][1] = 99;
        ASSERT_TRUE(source.OnSaveDocument(path));
    }
    model::ConnectionSettings connections;
    connections.comPort[2] = 3;
    std::string problem;
    ASSERT_TRUE(model::WriteConnectionFile(testsupport::IsolatedConnectionFile(), connections, problem));

    ForgetRecentFiles();
    StartedApp started(path);
    ASSERT_TRUE(started.started);
    EXPECT_TRUE(started.ui.shown().empty());
    CTonraDoc& doc = started.doc();
    EXPECT_EQ(doc.deviceModel[0], "KVA-1326");
    EXPECT_EQ(doc.GetChannelCount(0), 8);
    EXPECT_EQ(doc.gain[0][1], 99);
    EXPECT_EQ(doc.documentCaption, path);
    EXPECT_FALSE(doc.IsModified());
    // The rest of the network is as after New, with the connection settings read.
    EXPECT_EQ(doc.gain[5][0], 160);
    EXPECT_EQ(doc.shadow.gain[0][1], 160);
    EXPECT_EQ(doc.comPort[2], 3);
    EXPECT_EQ(started.app.GetRecentFiles(), std::vector<std::string>{path});
    EXPECT_EQ(started.app.GetMainWnd()->GetWindowText(), "Veltrix Loudspeaker Controller");
    QFile::remove(QString::fromStdString(testsupport::IsolatedConnectionFile()));
}

TEST(Startup, ASetupFileThatCannotBeOpenedEndsTheStart) {
    StartedApp started(std::string("/nonexistent/show.dat"));
    EXPECT_FALSE(started.started);
    ASSERT_EQ(started.ui.MessageTexts().size(), 1u);
    EXPECT_NE(started.ui.MessageTexts()[0].find("\"/nonexistent/show.dat\""), std::string::npos);
}

TEST(Startup, CommandLineNamesAtMostOneSetupFile) {
    app::CommandLine none;
    std::string message;
    ASSERT_TRUE(app::ParseCommandLine({}, none, message));
    EXPECT_EQ(none.setupFile, std::nullopt);
    app::CommandLine two;
    EXPECT_FALSE(app::ParseCommandLine({"a.dat", "b.dat"}, two, message));
    EXPECT_EQ(message, "only one setup file can be opened; \"a.dat\" and \"b.dat\" were given");
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
