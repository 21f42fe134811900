// Off the happy path, as an operator goes: a refused password, a device that does not answer,
// changes still going out, and what the status box says at the end of an operation.
#include "AppDriver.h"
#include "dialogs/SetupPassword.h"
#include "dialogs/SetupProgram.h"
#include "dialogs/SetupSecurity.h"
#include "sim/SimDevice.h"
#include "sim/SimServer.h"

using namespace apptest;
using devlink::TransferMode;

namespace {

const std::string kRefusedText = "Incorrect device password.\nControl capability disabled.\n"
                                 "Click Sync Device to read the device and enter its password again.";

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

} // namespace

class OperatorState : public AppTest {
protected:
    void ClickNav(int button) { Click(Centre(NavButton(button))); }
    void GoHome() {
        Ui().AnswerMessageBox(IDYES); // leave whatever the page showed
        ClickNav(7);
        Ui().Clear();
    }
};

TEST_F(OperatorState, EscapeAtThePasswordPromptRefusesCommandsUntilSyncDeviceAsksAgain) {
    sim::SimOptions options;
    options.password = "AB12";
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(0)); // the prompt is cancelled, as with Escape
    ASSERT_EQ(Doc().passwordOk[0], 0);
    Ui().Clear();

    // All Programs (Upload) and Security are refused at once, without their dialogs; a recall
    // from the device after its dialog.
    ClickNav(4);
    ClickNav(2);
    Ui().AnswerDialog([](CDialog& dialog) { dialog.ClickDlgButton(IDOK); });
    ClickNav(0);
    EXPECT_EQ(Ui().MessageTexts(), std::vector<std::string>(3, kRefusedText));
    EXPECT_EQ(View().Engine(0).Mode(), TransferMode::Idle);

    // Sync Device reads the device and asks again.
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(CSetupPassword::kPasswordEditId, "AB12");
        dialog.ClickDlgButton(IDOK);
    });
    ClickNav(6);
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(Doc().passwordOk[0], 1);
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(CSetupProgram::kNumberFieldId, "4");
        dialog.ClickDlgButton(IDOK);
    });
    ClickNav(0);
    EXPECT_TRUE(WaitFor([&] { return Device().currentProgram[0] == 3; }));
}

TEST_F(OperatorState, ADeviceThatDoesNotAnswerShowsItsOwnPage) {
    sim::SimOptions options;
    options.models = {"KVA-1326"}; // 2 x 6
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(0));
    EXPECT_EQ(View().DevicePanel().Layout().channelCount, 8);
    GoHome();

    // Slot 1 at an address where nothing listens, slot 2 without an address.
    model::ConnectionSettings settings;
    settings.connectionMode = 1;
    settings.ipAddress[0] = DeviceAddress(0);
    settings.ipAddress[1] = {127, 0, 0, 9};
    View().Engine(1).SetNetworkPort(simulator->Server(0).Port());
    View().Engine(1).SetFinishObserver(
        [this](TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });
    View().ApplyConnectionSettings(settings);
    EXPECT_FALSE(SelectDevice(1));
    const CWndDevice& panel = View().DevicePanel();
    EXPECT_EQ(panel.Layout().inputCount, Doc().GetInputCount(1));
    EXPECT_EQ(panel.Layout().channelCount, Doc().GetChannelCount(1));
    for (int c = 0; c < panel.Layout().channelCount; ++c) {
        EXPECT_EQ(panel.GetStrip(c).levelMeter.level, 0) << c;
    }
    EXPECT_TRUE(WaitFor([&] { return View().StatusLineText() == "Link Status: Error"; }));
    EXPECT_NE(View().StatusNote(), "");

    GoHome();
    Click(Centre(Tile(2)));
    EXPECT_EQ(panel.Layout().channelCount, Doc().GetChannelCount(2));
    EXPECT_EQ(View().StatusLineText(), "Link Status: Offline");
    EXPECT_EQ(View().StatusNote(), "No IP address set (Connection)");
}

TEST_F(OperatorState, TheEndOfASyncStaysOnTheStatusLineBeforeTheLinkState) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    EXPECT_EQ(View().StatusLineText(), "Sync Status: Finished OK");
    // The engine's next meter reply says "Link Status: OK" a poll cycle later; the end of the
    // Sync stays in front of it for 3 s.
    EXPECT_TRUE(WaitFor([&] { return Doc().statusText == "Link Status: OK"; }));
    EXPECT_EQ(View().StatusLineText(), "Sync Status: Finished OK");
    EXPECT_TRUE(WaitFor([&] { return View().StatusLineText() == "Link Status: OK"; }));
}

TEST_F(OperatorState, ChangesStillGoingOutAreShownAndHomeAsksFirst) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.ClickDlgButton(CSetupSecurity::kLockButtonId);
        dialog.ClickDlgButton(IDOK);
    });
    ClickNav(2);
    EXPECT_TRUE(StartsWith(View().StatusLineText(), "Sending 1")) << View().StatusLineText();

    Ui().AnswerMessageBox(IDNO);
    ClickNav(7);
    ASSERT_EQ(Ui().MessageTexts().size(), 1U);
    EXPECT_TRUE(StartsWith(Ui().MessageTexts()[0], "Changes not yet sent to the devices:\nDevice 1: "));
    EXPECT_EQ(Doc().pageMode, CTonraView::kDevicePage);

    // Once they are out, Home asks nothing about them.
    ASSERT_TRUE(WaitFor([&] { return View().UnsentChanges(0) == 0; }));
    EXPECT_TRUE(WaitFor([&] { return Device().securityLocks[0][10] == 1; }));
    GoHome();
    EXPECT_EQ(Doc().pageMode, CTonraView::kHomePage);
}

TEST_F(OperatorState, ADeviceBackAfterItsLinkDroppedAsksAboutTheChangesMadeMeanwhile) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    const int deviceGain = Device().gain[0][1];
    simulator->Server(0).SwitchOff();
    ASSERT_TRUE(WaitFor([&] { return View().StatusLineText() == "Link Status: Error"; }));
    EXPECT_TRUE(StartsWith(View().StatusNote(), "No answer for ")) << View().StatusNote();
    Doc().SetParam(model::kGain, deviceGain + 5, 1, 0);

    Ui().Clear();
    Ui().AnswerMessageBox(IDNO); // read the device
    std::string error;
    ASSERT_TRUE(simulator->Server(0).SwitchOn(error)) << error;
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    ASSERT_EQ(Ui().MessageTexts().size(), 1U);
    EXPECT_TRUE(StartsWith(Ui().MessageTexts()[0], "Device 1 answers again.")) << Ui().MessageTexts()[0];
    EXPECT_EQ(Doc().gain[0][1], deviceGain);
    EXPECT_EQ(Device().gain[0][1], deviceGain);
}
