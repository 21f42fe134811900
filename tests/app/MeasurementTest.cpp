// A measurement of an output loaded, refused and cleared from the plot's context menu, with
// real right clicks on the device page: the plot asks, the view reads the file and tells.
#include "AppDriver.h"
#include "pages/PredictedResponse.h"

#include <QTemporaryDir>

#include <fstream>

using namespace apptest;

namespace {

constexpr int kOutputCount = 8;

} // namespace

class Measurement : public AppTest {
protected:
    CWndPlot& Plot() { return View().DevicePanel().GetPlot(); }
    // A right click on the button of output `output` above the plot.
    void RightClickOutputButton(int output) {
        const CRect button = Plot().Geometry().OutputButtonRect(output, kOutputCount);
        CPoint point{button.left + 5, button.top + 5};
        Plot().ClientToScreen(&point);
        QWindow* window = started.app.GetMainWnd()->GetWidget()->windowHandle();
        QTest::mouseClick(window, Qt::RightButton, {}, window->mapFromGlobal(QPoint(point.x, point.y)));
    }
};

TEST_F(Measurement, IsLoadedRefusedAndClearedFromThePlotsMenu) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out2.txt");
    std::ofstream(path.toStdString()) << "100, -10.0, 0\n1000, -12.0, 0\n10000, -11.0, 0\n";
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    Ui().Clear();

    Ui().AnswerMenu(pages::CPlotMeasurements::kLoadCommand);
    Ui().AnswerFileDialog(path.toStdString());
    RightClickOutputButton(1);
    ASSERT_EQ(Ui().shown().size(), 2u);
    EXPECT_EQ(Ui().shown()[0].text, "Load measurement for Out 2...\nClear measurement\n");
    EXPECT_EQ(Ui().shown()[1].text, "Measurements (*.txt;*.frd)|*.txt;*.frd|All Files (*.*)|*.*||");
    EXPECT_EQ(Ui().shown()[1].caption, "Load measurement for Out 2");
    const model::LoadedMeasurement& loaded = Doc().measurements[0][1];
    ASSERT_EQ(loaded.measured.db, (std::vector<double>{-10, -12, -11}));
    EXPECT_EQ(loaded.path, path.toStdString());
    EXPECT_EQ(loaded.responseAtLoadDb, pages::OutputResponseAt(Doc(), 1, loaded.measured.hz));
    EXPECT_EQ(Plot().Measurements().Predicted(1).size(), 3u); // the plot draws it at once

    // A file that is no measurement is refused with a message and changes nothing.
    Ui().AnswerMenu(pages::CPlotMeasurements::kLoadCommand);
    Ui().AnswerFileDialog(dir.filePath("missing.txt").toStdString());
    RightClickOutputButton(1);
    ASSERT_FALSE(Ui().MessageTexts().empty());
    EXPECT_NE(Ui().MessageTexts().back().find("Cannot load the measurement"), std::string::npos);
    EXPECT_EQ(Ui().shown().back().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(loaded.measured.db.size(), 3u);
    EXPECT_EQ(Plot().Measurements().Predicted(1).size(), 3u);

    Ui().AnswerMenu(pages::CPlotMeasurements::kClearCommand);
    RightClickOutputButton(1);
    EXPECT_EQ(Ui().LastMenu().at(1).flags & MF_GRAYED, 0u);
    EXPECT_FALSE(loaded.IsLoaded());
    EXPECT_TRUE(Plot().Measurements().Predicted(1).empty());
}
