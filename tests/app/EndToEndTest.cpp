// The program end to end: the real view with its pages and 16 engines against simulated
// devices over loopback TCP and a pseudo-terminal, driven with the mouse and the keyboard at
// the design's pixels.
#include "AppDriver.h"
#include "dialogs/SetupPassword.h"
#include "dialogs/SetupSecurity.h"
#include "link/Protocol.h"
#include "model/ModelTypes.h"
#include "sim/SimDevice.h"
#include "sim/SimServer.h"
#include "sim/SimSession.h"

#include <QElapsedTimer>

using namespace apptest;
using devlink::TransferMode;

namespace {

sim::SimOptions Devices(int count) {
    sim::SimOptions options;
    options.deviceCount = count;
    options.models = {"RLT-1448", "KVA-1326", "NQVE-1888"};
    return options;
}

} // namespace

class EndToEnd : public AppTest {};

TEST_F(EndToEnd, SelectingATileSyncsTheDeviceAndThePanelShowsIt) {
    StartDevices(Devices(2));
    EXPECT_TRUE(View().NetworkPage().Tile(1).lit);
    Device().gain[1][9] = 100; // output 2 of the 2 x 6 device
    ASSERT_TRUE(SelectDevice(1));
    CTonraDoc& doc = Doc();
    EXPECT_EQ(doc.currentDevice, 1);
    EXPECT_EQ(doc.GetInputCount(), 2);
    EXPECT_EQ(doc.GetOutputCount(), 6);
    EXPECT_EQ(doc.documentCaption, "Device Program 1: Default");
    EXPECT_EQ(View().WindowCaption(), "Veltrix - Device 2 - Device Program 1: Default");
    // The caption follows at the next paint.
    EXPECT_TRUE(WaitFor([&] {
        return started.app.GetMainWnd()->GetWindowText() == "Veltrix - Device 2 - Device Program 1: Default";
    }));
    EXPECT_FALSE(View().NetworkPage().IsWindowVisible());
    EXPECT_TRUE(View().DevicePanel().IsWindowVisible());
    const CWndDevice::Strip& output2 = View().DevicePanel().GetStrip(3);
    EXPECT_EQ(output2.nameField.text, "Out 2");
    EXPECT_EQ(output2.gainFader.value, 100);
    EXPECT_EQ(output2.gainField.text, doc.FormatParam(model::kGain, 3, 0));
    // The status box shows the engine's texts.
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Sync Status: 42%"), statuses.end());
    EXPECT_TRUE(WaitFor([&] { return doc.statusText == "Link Status: OK"; }));
}

TEST_F(EndToEnd, EditsOnThePanelReachTheDeviceAndTheDevicesChangesComeBack) {
    StartDevices(Devices(1));
    ASSERT_TRUE(SelectDevice(0));
    CTonraDoc& doc = Doc();
    const int slot = 0;

    // A gain fader dragged by its thumb: the device holds the new value.
    const StripRects input1 = Strip(0, 4, 12);
    const CModFader& fader = View().DevicePanel().GetStrip(0).gainFader;
    const CPoint thumb{Centre(input1.fader).x, input1.fader.top + fader.ValueToY(fader.value)};
    Press(thumb);
    Move({thumb.x, thumb.y - 20});
    Move({thumb.x, thumb.y - 40});
    Release({thumb.x, thumb.y - 40});
    const int gain = doc.gain[slot][0];
    EXPECT_GT(gain, 160);
    EXPECT_TRUE(WaitFor([&] { return Device().gain[slot][0] == gain; }));
    EXPECT_EQ(doc.shadow.gain[slot][0], gain);

    // Mute and polarity buttons, and a name typed into the name field.
    const int mute = doc.mute[slot][1];
    Click(Centre(Strip(1, 4, 12).mute));
    EXPECT_EQ(doc.mute[slot][1], 1 - mute);
    Click(Centre(Strip(5, 4, 12).polarity));
    EXPECT_EQ(doc.polarity[slot][9], 1);
    TypeAt(Centre(Strip(4, 4, 12).name), "Kick");
    EXPECT_EQ(doc.channelName[slot][8], "Kick");
    EXPECT_TRUE(WaitFor([&] {
        return Device().mute[slot][1] == 1 - mute && Device().polarity[slot][9] == 1 &&
               Device().channelName[slot][8] == "Kick";
    })) << Device().mute[slot][1]
        << Device().polarity[slot][9] << Device().channelName[slot][8];

    // A change on the device's front panel comes back to the panel.
    ASSERT_TRUE(simulator->FrontPanelChange(slot, devlink::kReplyGain, 10, 0, 77)); // output 3, strip 6
    EXPECT_TRUE(WaitFor([&] { return View().DevicePanel().GetStrip(6).gainFader.value == 77; }));
    EXPECT_EQ(doc.shadow.gain[slot][10], 77);
}

TEST_F(EndToEnd, SecurityPasswordAndSyncDevice) {
    StartDevices(Devices(1));
    ASSERT_TRUE(SelectDevice(0));
    CTonraDoc& doc = Doc();

    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.CheckDlgButton(CSetupSecurity::kFirstLockId + 2, BST_CHECKED);
        dialog.CheckDlgButton(CSetupSecurity::kFirstLockId + 10, BST_CHECKED);
        dialog.ClickDlgButton(IDOK);
    });
    Click(Centre(NavButton(2)));
    EXPECT_EQ(doc.securityLocks[0][2], 1);
    EXPECT_TRUE(
        WaitFor([&] { return Device().securityLocks[0][2] == 1 && Device().securityLocks[0][10] == 1; }));
    EXPECT_EQ(Device().securityLocks[0][3], 0);

    Ui().Clear();
    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(CSetupPassword::kPasswordEditId, "ab1");
        dialog.ClickDlgButton(IDOK);
    });
    Click(Centre(NavButton(5)));
    EXPECT_EQ(Ui().MessageTexts(),
              std::vector<std::string>{"Make sure the password is well remembered or documented"});
    EXPECT_EQ(doc.devicePassword[0], "ab1");
    EXPECT_EQ(doc.enteredPassword[0], "ab1");
    EXPECT_TRUE(WaitFor([&] { return Device().devicePassword[0] == "ab1"; }));

    // A Sync afterwards finds the passwords matching.
    Click(Centre(NavButton(6)));
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    EXPECT_EQ(doc.passwordOk[0], 1);
}

TEST_F(EndToEnd, PasswordIsRefusedWhileTheDevicesPasswordIsNotAccepted) {
    sim::SimOptions options = Devices(1);
    options.password = "door";
    StartDevices(options);
    Ui().AnswerDialog([](CDialog& dialog) { dialog.ClickDlgButton(IDCANCEL); });
    ASSERT_TRUE(SelectDevice(0));
    EXPECT_EQ(Doc().passwordOk[0], 0);
    Ui().Clear();
    Click(Centre(NavButton(5)));
    EXPECT_EQ(Ui().MessageTexts(), std::vector<std::string>{"Incorrect device password.\nControl capability "
                                                            "disabled.\nClick Sync Device to read the device "
                                                            "and enter its password again."});
    EXPECT_EQ(Ui().shown().size(), 1u); // no password dialog
}

TEST_F(EndToEnd, HomeWithUnsavedChangesAsks) {
    StartDevices(Devices(1));
    ASSERT_TRUE(SelectDevice(0));
    Click(Centre(Strip(0, 4, 12).mute));
    ASSERT_TRUE(Doc().IsModified());
    ASSERT_TRUE(WaitFor([&] { return View().UnsentChanges(0) == 0; })); // nothing left to send

    Ui().AnswerMessageBox(IDNO);
    Click(Centre(NavButton(7)));
    ASSERT_EQ(Ui().shown().size(), 1u);
    EXPECT_EQ(Ui().shown()[0].text,
              "Returning to home page in offline mode will discard changes.\nMake sure to save "
              "program first. Do you want to continue?");
    EXPECT_EQ(Ui().shown()[0].caption, "Confirm");
    EXPECT_EQ(Ui().shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Doc().pageMode, 1);

    Ui().AnswerMessageBox(IDYES);
    Click(Centre(NavButton(7)));
    EXPECT_EQ(Doc().pageMode, 0);
    EXPECT_EQ(VisibleNavCaptions(), (std::vector<std::string>{"Connection", "Version"}));
    EXPECT_TRUE(View().NetworkPage().IsWindowVisible());
    EXPECT_FALSE(View().DevicePanel().IsWindowVisible());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(View().WindowCaption(), "Veltrix");
}

TEST_F(EndToEnd, ValuesFromTheDeviceAreNoChangeToSave) {
    StartDevices(Devices(1));
    ASSERT_TRUE(SelectDevice(0));
    Click(Centre(NavButton(6))); // Sync Device
    ASSERT_TRUE(WaitFinished(TransferMode::Sync));
    // A change on the device's front panel, once the device took the Sync's last acknowledgement.
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<sim::CSimSession*> sessions = simulator->Server(0).Sessions();
        return std::all_of(sessions.begin(), sessions.end(),
                           [](const sim::CSimSession* s) { return s->Transfer() == TransferMode::Idle; });
    }));
    ASSERT_TRUE(simulator->FrontPanelChange(0, devlink::kReplyGain, 10, 0, 77));
    ASSERT_TRUE(WaitFor([&] { return View().DevicePanel().GetStrip(6).gainFader.value == 77; }));
    EXPECT_FALSE(Doc().IsModified());
    Ui().Clear();
    EXPECT_TRUE(started.app.SaveModified()); // what closing asks
    Click(Centre(NavButton(7)));             // Home
    EXPECT_EQ(Doc().pageMode, 0);
    EXPECT_TRUE(Ui().shown().empty());

    // The operator's click is a change; the question names the setup, which has no file.
    ASSERT_TRUE(SelectDevice(0));
    Click(Centre(Strip(0, 4, 12).mute));
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_TRUE(WaitFor([&] { return Device().mute[0][0] == Doc().mute[0][0]; }));
    Ui().AnswerMessageBox(IDCANCEL);
    started.app.GetMainWnd()->SendMessage(WM_CLOSE);
    EXPECT_EQ(Ui().MessageTexts(), std::vector<std::string>{"Save changes to this setup?"});
    EXPECT_NE(started.app.GetMainWnd()->GetSafeHwnd(), nullptr);
}

TEST_F(EndToEnd, ADeviceOnAPseudoTerminalSyncs) {
    StartDevicesOnPtys(Devices(3));
    EXPECT_EQ(Doc().connectionMode, 0);
    ASSERT_TRUE(SelectDevice(2));
    EXPECT_EQ(Doc().deviceModel[2], "NQVE-1888");
    EXPECT_EQ(View().DevicePanel().GetStrip(15).nameField.text, "Out 8");
}

TEST_F(EndToEnd, TheLinkErrorFollowsADeviceThatFellSilent) {
    constexpr int kStopAfterMs = 8000; // room for the start and the Sync on a busy machine
    sim::SimOptions options = Devices(1);
    options.stopAfterSeconds = kStopAfterMs / 1000.0;
    QElapsedTimer clock;
    clock.start();
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(0));
    ASSERT_TRUE(WaitFor([&] { return Doc().statusText == "Link Status: OK"; })) << clock.elapsed();
    ASSERT_LT(clock.elapsed(), kStopAfterMs);
    QTest::qWait(static_cast<int>(kStopAfterMs - clock.elapsed()));
    // The engine's ticks, without waiting 10 ms for each: 50 poll cycles of 21 ticks without a
    // reply (replies still on their way may come first).
    CPort& engine = View().Engine(0);
    engine.KillTimer(0);
    for (int tick = 0; tick < (CPort::kLinkErrorCycles + 10) * (CPort::kPollTicks + 1) &&
                       Doc().statusText != "Link Status: Error";
         ++tick) {
        QCoreApplication::processEvents();
        engine.SendMessage(WM_TIMER, 0, 0);
    }
    EXPECT_EQ(Doc().statusText, "Link Status: Error");
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(View().DevicePanel().GetStrip(c).levelMeter.level, 0) << c;
    }
}
