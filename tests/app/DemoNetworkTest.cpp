// The demo network: simulated devices inside the program on free loopback addresses, a
// temporary connection file, the devices connected at start, and nothing left afterwards.
#include "app/DemoNetwork.h"
#include "StartedApp.h"
#include "model/ConnectionFile.h"
#include "sim/Simulator.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 20000;

} // namespace

TEST(DemoNetwork, ConnectsItsDevicesAtStartAndLeavesNothingBehind) {
    const std::string userFile = model::ConnectionFilePath();
    std::string demoFile;
    {
        StartedApp started(std::nullopt, true, 3);
        ASSERT_TRUE(started.started);
        CTonraDoc& doc = started.doc();
        CDemoNetwork* demo = started.app.GetDemoNetwork();
        ASSERT_NE(demo, nullptr);
        demoFile = model::ConnectionFilePath();
        EXPECT_NE(demoFile, userFile);
        // The connection file was written as by a confirmed Connection Setup dialog.
        const auto written = model::ReadConnectionFile(demoFile);
        ASSERT_TRUE(written);
        EXPECT_EQ(*written, demo->Settings());
        EXPECT_EQ(doc.connectionMode, 1);
        for (int d = 0; d < 16; ++d) {
            EXPECT_EQ(doc.deviceOnline[static_cast<std::size_t>(d)], d < 3 ? 1 : 0) << d;
        }
        EXPECT_EQ(started.app.GetMainWnd()->GetView().WindowCaption(), "Veltrix - Demo network");
        EXPECT_EQ(demo->Description().rfind("Demo network: 3 simulated devices on 127.0.", 0), 0u);

        // The three models, with their channel counts, answer a Sync.
        CTonraView& view = started.app.GetMainWnd()->GetView();
        view.SendMessage(UM_CTRL_PRESS, 202);
        ASSERT_TRUE(QTest::qWaitFor([&] { return doc.statusText == "Sync Status: Finished OK"; }, kWaitMs));
        EXPECT_EQ(doc.deviceModel[2], "NQVE-1888");
        EXPECT_EQ(doc.GetInputCount(2), 8);
        EXPECT_EQ(doc.documentCaption, "Device Program 1: Default");
        EXPECT_EQ(doc.channelName[2][0], "In A");
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(demoFile)));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(QString::fromStdString(demoFile)).path()));
    EXPECT_EQ(model::ConnectionFilePath(), userFile);
}

TEST(DemoNetwork, TakesAnotherAddressRangeWhenTheUsualOneIsTaken) {
    CDemoNetwork first(2);
    std::string error;
    ASSERT_TRUE(first.Start(error)) << error;
    CDemoNetwork second(2);
    ASSERT_TRUE(second.Start(error)) << error;
    EXPECT_NE(second.Settings().ipAddress[0], first.Settings().ipAddress[0]);
    EXPECT_NE(second.Description().find("are taken by another program"), std::string::npos);
    EXPECT_EQ(second.Simulator().DeviceCount(), 2);
}
