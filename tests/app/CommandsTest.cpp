// The commands of the navigation bar end to end: the dialogs answered as the operator would,
// their effect on the simulated device, the files on disk and the messages shown.
#include "AppDriver.h"
#include "dialogs/AboutBox.h"
#include "dialogs/SetupCom.h"
#include "dialogs/SetupCopy.h"
#include "dialogs/SetupProgram.h"
#include "dialogs/SetupPrograms.h"
#include "model/ModelTypes.h"
#include "model/ProgramListFile.h"
#include "sim/SimDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace apptest;
using devlink::TransferMode;

namespace {

sim::SimOptions OneDevice() {
    sim::SimOptions options;
    options.deviceCount = 1;
    return options;
}

// The program dialog with `action` chosen for program `number`, then `name` typed, then OK.
CScriptedUiService::DialogScript ProgramAction(int actionButton, int number, const std::string& name = {}) {
    return [=](CDialog& dialog) {
        dialog.SetDlgItemText(CSetupProgram::kNumberFieldId, std::to_string(number));
        dialog.ClickDlgButton(actionButton);
        if (!name.empty()) {
            dialog.SetDlgItemText(CSetupProgram::kNameFieldId, name);
        }
        dialog.ClickDlgButton(IDOK);
    };
}

} // namespace

class Commands : public AppTest {
protected:
    void ClickNav(int button) { Click(Centre(NavButton(button))); }
    // Saves the shown device as a setup file.
    std::string StoreToPc(const std::string& name) {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        Ui().AnswerDialog(ProgramAction(CSetupProgram::kStoreToPcId, 1));
        Ui().AnswerFileDialog(path);
        ClickNav(0);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(Commands, ProgramRecallAndStoreOnTheDevice) {
    sim::SimOptions options = OneDevice();
    options.oemPrograms = 3;
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(0));

    Ui().AnswerDialog(ProgramAction(CSetupProgram::kRecallFromDeviceId, 3));
    ClickNav(0);
    EXPECT_EQ(Doc().currentProgram[0], 2);
    EXPECT_TRUE(WaitFor([&] { return Device().currentProgram[0] == 2; }));
    // The device reports the recall and the engine reads the device again.
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(Doc().documentCaption, "Device Program 3: Live Band");

    Ui().AnswerDialog(ProgramAction(CSetupProgram::kStoreToDeviceId, 5, "Tour Mix"));
    ClickNav(0);
    EXPECT_TRUE(WaitFor([&] { return simulator->Device(0).StoredProgramName(4) == "Tour Mix"; }));
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(Doc().programName[0][4], "Tour Mix");

    Ui().Clear();
    Ui().AnswerDialog(ProgramAction(CSetupProgram::kStoreToDeviceId, 2, "Mine"));
    ClickNav(0);
    EXPECT_EQ(Ui().MessageTexts(), std::vector<std::string>{"Program is store locked!"});
    QTest::qWait(500);
    EXPECT_EQ(simulator->Device(0).StoredProgramName(1), "Speech");
}

TEST_F(Commands, StoreToPcAndRecallFromPc) {
    StartDevices(OneDevice());
    ASSERT_TRUE(SelectDevice(0));
    Doc().SetParam(model::kGain, 100, 2, 0);
    const std::string path = StoreToPc("show.dat");
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), 2668);
    ASSERT_TRUE(WaitFor([&] { return Device().gain[0][2] == 100; }));

    // Changed on the device's front panel, then the file recalled: the DownSync writes it back.
    ASSERT_TRUE(simulator->FrontPanelChange(0, devlink::kReplyGain, 2, 0, 180));
    ASSERT_TRUE(WaitFor([&] { return Doc().gain[0][2] == 180; }));
    Ui().AnswerDialog(ProgramAction(CSetupProgram::kRecallFromPcId, 1));
    Ui().AnswerFileDialog(path);
    ClickNav(0);
    EXPECT_EQ(Doc().gain[0][2], 100);
    EXPECT_EQ(Doc().documentCaption, path);
    ASSERT_TRUE(WaitFinished(TransferMode::DownSync));
    EXPECT_EQ(Device().gain[0][2], 100);
}

TEST_F(Commands, CopyAndRecallFromPcRedrawThePlotWithoutAMouseRelease) {
    StartDevices(OneDevice());
    ASSERT_TRUE(SelectDevice(0));
    const std::string flat = StoreToPc("flat.dat");
    const pages::CFilterResponse& curves = View().DevicePanel().GetPlot().Response();
    const double storedGain = curves.ChannelGain(6);

    Doc().SetParam(model::kGain, 200, 1, 0); // input 2 at +10 dB, onto output 3
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SelectComboEntry(CSetupCopy::kSourceListId, 1);
        dialog.SelectComboEntry(CSetupCopy::kTargetListId, 6);
        dialog.ClickDlgButton(IDOK);
    });
    Press(Centre(NavButton(1))); // the command runs on the press; no release follows yet
    EXPECT_EQ(curves.ChannelGain(6), 10.0); // recomputed, for the plot's next repaint
    Release(Centre(NavButton(1)));

    Ui().AnswerDialog(ProgramAction(CSetupProgram::kRecallFromPcId, 1));
    Ui().AnswerFileDialog(flat);
    Press(Centre(NavButton(0)));
    EXPECT_EQ(curves.ChannelGain(6), storedGain);
    Release(Centre(NavButton(0)));
}

TEST_F(Commands, RecallFromPcOfAFileWithOtherChannelCountsIsRefused) {
    sim::SimOptions options;
    options.deviceCount = 2;
    options.models = {"RLT-1448", "KVA-1326"};
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(1)); // 2 x 6
    const std::string path = StoreToPc("small.dat");
    Ui().AnswerMessageBox(IDYES); // Home, leaving the changes the panel showed
    Click(Centre(NavButton(7)));
    ASSERT_TRUE(SelectDevice(0)); // 4 x 8
    Doc().SetParam(model::kGain, 90, 0, 0);
    const CTonraDoc& doc = Doc();
    const int gain = doc.gain[0][0];
    const std::string caption = doc.documentCaption;

    Ui().Clear();
    Ui().AnswerDialog(ProgramAction(CSetupProgram::kRecallFromPcId, 1));
    Ui().AnswerFileDialog(path);
    ClickNav(0);
    EXPECT_EQ(
        Ui().MessageTexts(),
        std::vector<std::string>{"Error: Channel numbers are different: the setup file has 2 inputs and 6 "
                                 "outputs, the device 4 inputs and 8 outputs."});
    EXPECT_EQ(doc.GetInputCount(0), 4);
    EXPECT_EQ(doc.gain[0][0], gain);
    EXPECT_EQ(doc.documentCaption, caption);
    EXPECT_EQ(View().Engine(0).Mode(), TransferMode::Idle);
    QTest::qWait(300);
    EXPECT_EQ(std::count_if(finished.begin(), finished.end(),
                            [](const auto& f) { return f.first == TransferMode::DownSync; }),
              0);
}

TEST_F(Commands, AllProgramsUploadIntoAFolderAndDownloadBack) {
    StartDevices(OneDevice());
    ASSERT_TRUE(SelectDevice(0));
    const QString listPath = folder.filePath("all.lst");
    Doc().programListFile = listPath.toStdString();

    Ui().AnswerDialog([](CDialog& dialog) { dialog.ClickDlgButton(CSetupPrograms::kUploadButtonId); });
    Ui().AnswerMessageBox(IDYES);
    ClickNav(4);
    ASSERT_TRUE(WaitFinished(TransferMode::Upload))
        << Ui().MessageTexts().size() << " " << (statuses.empty() ? "" : statuses.back());
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("Default.dat")));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("User_30.dat")));
    EXPECT_EQ(QFileInfo(listPath).size(), 360);
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));

    // Download back with program 2 renamed in the list: the device stores it under that name.
    const std::optional<model::ProgramList> uploaded = model::ReadProgramListFile(listPath.toStdString());
    ASSERT_TRUE(uploaded);
    model::ProgramList list = *uploaded;
    std::string problem;
    ASSERT_TRUE(QFile::copy(folder.filePath("Speech.dat"), folder.filePath("Lecture.dat")));
    list[1] = "Lecture";
    ASSERT_TRUE(model::WriteProgramListFile(listPath.toStdString(), list, problem)) << problem;
    Ui().AnswerDialog([](CDialog& dialog) { dialog.ClickDlgButton(CSetupPrograms::kDownloadButtonId); });
    Ui().AnswerMessageBox(IDYES);
    ClickNav(4);
    ASSERT_TRUE(WaitFinished(TransferMode::Download));
    EXPECT_EQ(simulator->Device(0).StoredProgramName(1), "Lecture");
    EXPECT_EQ(simulator->Device(0).StoredProgramName(0), "Default");
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));

    // A listed file that is missing.
    list[7] = "Missing";
    ASSERT_TRUE(model::WriteProgramListFile(listPath.toStdString(), list, problem)) << problem;
    Ui().Clear();
    Ui().AnswerDialog([](CDialog& dialog) { dialog.ClickDlgButton(CSetupPrograms::kDownloadButtonId); });
    Ui().AnswerMessageBox(IDYES);
    ClickNav(4);
    EXPECT_TRUE(Ui().MessageTexts().back().starts_with("File List Error: program 8 'Missing.dat' cannot be read: "))
        << Ui().MessageTexts().back();
    EXPECT_EQ(View().Engine(0).Mode(), TransferMode::Idle);
}

TEST_F(Commands, ConnectionDialogReconnectsEverySlotAndLightsTheTiles) {
    sim::SimOptions options;
    options.deviceCount = 2;
    StartDevices(options, false);
    EXPECT_FALSE(View().NetworkPage().Tile(0).lit);
    std::array<std::array<int, 4>, 2> addresses = {DeviceAddress(0), DeviceAddress(1)};
    Ui().AnswerDialog([&](CDialog& dialog) {
        dialog.ClickDlgButton(CSetupCom::kModeNetworkButtonId);
        for (int row = 0; row < 2; ++row) {
            for (int octet = 0; octet < 4; ++octet) {
                dialog.SetDlgItemText(
                    CSetupCom::OctetFieldId(row, octet),
                    std::to_string(
                        addresses[static_cast<std::size_t>(row)][static_cast<std::size_t>(octet)]));
            }
        }
        dialog.ClickDlgButton(IDOK);
    });
    Click(Centre(NavButton(0)));
    EXPECT_EQ(Doc().connectionMode, 1);
    EXPECT_EQ(Doc().ipAddress[1], addresses[1]);
    EXPECT_EQ(Doc().deviceOnline[0], 1);
    EXPECT_EQ(Doc().deviceOnline[1], 1);
    EXPECT_EQ(Doc().deviceOnline[2], 0);
    EXPECT_TRUE(View().NetworkPage().Tile(0).lit);
    EXPECT_TRUE(View().NetworkPage().Tile(1).lit);
    EXPECT_FALSE(View().NetworkPage().Tile(2).lit);
    const auto written = model::ReadConnectionFile(model::ConnectionFilePath());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->ipAddress[0], addresses[0]);
    ASSERT_TRUE(SelectDevice(1));
}

TEST_F(Commands, VersionCopyAndViewData) {
    StartDevices(OneDevice());
    std::string product, version;
    Ui().AnswerDialog([&](CDialog& dialog) {
        product = dialog.GetDlgItemText(CAboutBox::kProductTextId);
        version = dialog.GetDlgItemText(CAboutBox::kVersionTextId);
        dialog.ClickDlgButton(IDOK);
    });
    Click(Centre(NavButton(1)));
    EXPECT_EQ(product, "Veltrix");
    EXPECT_EQ(version, "Version 4.04");

    ASSERT_TRUE(SelectDevice(0));
    Doc().SetParam(model::kGain, 50, 1, 0);
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SelectComboEntry(CSetupCopy::kSourceListId, 1);
        dialog.SelectComboEntry(CSetupCopy::kTargetListId, 6);
        dialog.ClickDlgButton(IDOK);
    });
    ClickNav(1);
    EXPECT_EQ(Doc().gain[0][10], 50); // channel 6 is output 3
    EXPECT_EQ(View().DevicePanel().GetStrip(6).gainFader.value, 50);
    EXPECT_TRUE(WaitFor([&] { return Device().gain[0][10] == 50; }));

    ClickNav(3);
    CWndSheet& sheet = View().DevicePanel().GetDataSheet();
    ASSERT_NE(sheet.GetSafeHwnd(), nullptr);
    EXPECT_EQ(sheet.GetWindowText(), "Current Data Values");
    const HWND first = sheet.GetSafeHwnd();
    ClickNav(3);
    EXPECT_EQ(sheet.GetSafeHwnd(), first);

    // Home closes it.
    Ui().AnswerMessageBox(IDYES);
    ClickNav(7);
    EXPECT_EQ(sheet.GetSafeHwnd(), nullptr);
}
