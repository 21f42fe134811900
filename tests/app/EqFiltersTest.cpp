// The EQ editor's filter commands as the view runs them for the shown device: an import shows
// its report first and changes nothing on Cancel; OK sets the bands as one step, and the device
// takes them; an export writes the file or says why it cannot.
#include "AppDriver.h"
#include "dialogs/EqImportReport.h"
#include "model/EditHistory.h"
#include "pages/WndEQ.h"
#include "sim/SimDevice.h"

#include <QFile>
#include <QTemporaryDir>

using namespace apptest;

namespace {

constexpr int kChannel = 1; // "In 2"

void WriteText(const QString& path, const char* text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class EqFilters : public AppTest {
protected:
    QTemporaryDir dir;
    std::vector<std::string> shownReport;

    void RunFilterCommand(UINT command) { View().SendMessage(UM_EQ_FILTERS, command, kChannel); }
    void AnswerReport(int button) {
        Ui().AnswerDialog([this, button](CDialog& dialog) {
            const CListBox list(dialog, CEqImportReport::kReportListId);
            shownReport = {dialog.Caption(), dialog.GetDlgItemText(CEqImportReport::kHeadingId)};
            for (int i = 0; i < list.GetCount(); ++i) {
                shownReport.push_back(list.GetText(i));
            }
            dialog.ClickDlgButton(button);
        });
    }
    int Band(model::BandArray<int> CTonraParams::*field, int band) {
        return (Doc().*field)[0][kChannel][band];
    }
    bool DeviceHas(model::BandArray<int> CTonraParams::*field, int band, int value) {
        return WaitFor(
            [&] { return (Device().*field)[0][kChannel][band] == value && Band(field, band) == value; });
    }
};

TEST_F(EqFilters, AnImportIsReportedFirstAndSetsTheBandsOnTheDeviceAsOneStep) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    const QString filters = dir.filePath("rew.txt");
    WriteText(filters,
              "Filter Settings file\n\nFilter  1: ON  PK       Fc   63.5 Hz  Gain  -6.50 dB  Q  4.30\n"
              "Filter  2: ON  HP       Fc     30 Hz\nFilter  3: ON  LS 6dB   Fc     80 Hz  Gain   3.00 dB\n");
    Doc().SetModifiedFlag(false);

    Ui().AnswerFileDialog(filters.toStdString());
    AnswerReport(IDCANCEL);
    RunFilterCommand(CWndEQ::kImportFilters);
    EXPECT_EQ(shownReport,
              (std::vector<std::string>{
                  "Import Filters", "Filters from \"rew.txt\":",
                  "Filter 1: placed in band 1 approximately: Fc 63.5 Hz -> 64 Hz, Q 4.30 -> 4.36",
                  "Filter 2: not placed: HP is not a band type (PK, LS, HS)",
                  "Filter 3: placed in band 2 exactly", "Bands 3, 4, 5 and 6 set flat (0 dB)."}));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().History().Size(), 0u);

    Ui().AnswerFileDialog(filters.toStdString());
    AnswerReport(IDOK);
    RunFilterCommand(CWndEQ::kImportFilters);
    EXPECT_TRUE(DeviceHas(&CTonraParams::eqFreq, 0, 44));
    EXPECT_TRUE(DeviceHas(&CTonraParams::eqGain, 0, 94));
    EXPECT_TRUE(DeviceHas(&CTonraParams::eqType, 1, model::kEqLowShelf));
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_EQ(Doc().History().Size(), 1u);
    EXPECT_EQ(Doc().History().Step(0).label, "Import rew.txt");

    // A file without a filter the bands can take is only reported.
    const QString highPass = dir.filePath("hp.txt");
    WriteText(highPass, "Filter 1: ON HP Fc 30 Hz\n");
    Ui().AnswerFileDialog(highPass.toStdString());
    RunFilterCommand(CWndEQ::kImportFilters);
    EXPECT_EQ(Ui().MessageTexts().back(),
              "Filters from \"hp.txt\":\n\nFilter 1: not placed: HP is not a band type "
              "(PK, LS, HS)\nNo filter placed: the channel stays as it was.");
    EXPECT_EQ(Doc().History().Size(), 1u);
}

TEST_F(EqFilters, AnExportWritesTheBandsOrSaysWhyItCannot) {
    Doc().SetParam(model::kEqFreq, 44, kChannel, 0, 0);
    const QString exported = dir.filePath("apo.txt");
    Ui().AnswerFileDialog(exported.toStdString());
    RunFilterCommand(CWndEQ::kExportApoFilters);
    QFile apo(exported);
    ASSERT_TRUE(apo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(apo.readAll().contains("\nFilter 1: ON PK Fc 64 Hz Gain 0 dB Q 4.36\n"));

    const std::string missing = dir.filePath("missing/rew.txt").toStdString();
    Ui().AnswerFileDialog(missing);
    RunFilterCommand(CWndEQ::kExportFilters);
    EXPECT_TRUE(Ui().MessageTexts().back().starts_with("Cannot save the filter file \"" + missing + "\".\n"));
}
