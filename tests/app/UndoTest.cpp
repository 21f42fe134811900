// Undo and redo as the operator uses them: real keys and mouse on the device page against a
// simulated device, each step checked on the device itself.
#include "AppDriver.h"
#include "dialogs/SetupCopy.h"
#include "dialogs/SetupHistory.h"
#include "sim/SimDevice.h"

#include <QApplication>
#include <QLineEdit>

using namespace apptest;

namespace {

const std::string kRefusedText = "Incorrect device password.\nControl capability disabled.\n"
                                 "Click Sync Device to read the device and enter its password again.";

} // namespace

class Undo : public AppTest {
protected:
    void ActivateMainWindow() {
        QWidget* window = started.app.GetMainWnd()->GetWidget();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    // A key with Ctrl (and Shift) where the focus is.
    void CtrlKey(Qt::Key key, bool shift = false) {
        QWidget* target =
            QApplication::focusWidget() ? QApplication::focusWidget() : started.app.GetMainWnd()->GetWidget();
        QTest::keyClick(target, key, shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    }
    // The device holds `value` in the field `field` of slot `slot`.
    bool DeviceHas(model::SlotArray<int> CTonraParams::*field, int slot, int value) {
        return WaitFor(
            [&] { return (Device().*field)[0][slot] == value && (Doc().*field)[0][slot] == value; });
    }
};

TEST_F(Undo, TypedGainMuteClickAndFaderDragAreUndoneAndRedoneOnTheDevice) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    ActivateMainWindow();

    TypeAt(Centre(Strip(4, 4, 12).gainField), "-3"); // output 1, slot 8
    ASSERT_TRUE(DeviceHas(&CTonraParams::gain, 8, 148));
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(View().StatusLineText(), "Undo: Out 1 Level -3.00 -> 0.00");
    EXPECT_EQ(View().DevicePanel().GetStrip(4).gainField.text, "0.00");
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 8, 160));
    CtrlKey(Qt::Key_Z, true);
    EXPECT_EQ(View().StatusLineText(), "Redo: Out 1 Level 0.00 -> -3.00");
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 8, 148));

    const int mute = Doc().mute[0][1];
    Click(Centre(Strip(1, 4, 12).mute));
    ASSERT_TRUE(DeviceHas(&CTonraParams::mute, 1, 1 - mute));
    CtrlKey(Qt::Key_Z);
    EXPECT_TRUE(DeviceHas(&CTonraParams::mute, 1, mute));
    CtrlKey(Qt::Key_Y);
    EXPECT_TRUE(DeviceHas(&CTonraParams::mute, 1, 1 - mute));

    // A drag of many moves is one step.
    const CModFader& fader = View().DevicePanel().GetStrip(0).gainFader;
    const CPoint thumb{Centre(Strip(0, 4, 12).fader).x,
                       Strip(0, 4, 12).fader.top + fader.ValueToY(fader.value)};
    Press(thumb);
    for (int dy = 5; dy <= 40; dy += 5) {
        Move({thumb.x, thumb.y - dy});
    }
    Release({thumb.x, thumb.y - 40});
    const int dragged = Doc().gain[0][0];
    ASSERT_GT(dragged, 165);
    ASSERT_TRUE(DeviceHas(&CTonraParams::gain, 0, dragged));
    CtrlKey(Qt::Key_Z);
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 0, 160));
    CtrlKey(Qt::Key_Y);
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 0, dragged));
    EXPECT_EQ(Doc().History().Size(), 3u);

    // In a field being edited the keys are the field's own.
    Click(Centre(Strip(4, 4, 12).gainField));
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(field, nullptr);
    const QString shown = field->text();
    QTest::keyClicks(field, "7");
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(field->text(), shown);
    EXPECT_EQ(Doc().History().Done(), 3u);
    EXPECT_EQ(Doc().gain[0][0], dragged);
}

TEST_F(Undo, CopyChannelsAndTheHistoryWindowGoBackToAnyPoint) {
    StartDevices(sim::SimOptions{});
    ASSERT_TRUE(SelectDevice(0));
    ActivateMainWindow();
    TypeAt(Centre(Strip(0, 4, 12).gainField), "5");
    ASSERT_TRUE(DeviceHas(&CTonraParams::gain, 0, 180));

    Ui().AnswerDialog([](CDialog& dialog) {
        dialog.SelectComboEntry(CSetupCopy::kSourceListId, 0);
        dialog.SelectComboEntry(CSetupCopy::kTargetListId, 2);
        dialog.ClickDlgButton(IDOK);
    });
    Click(Centre(NavButton(1)));
    ASSERT_TRUE(DeviceHas(&CTonraParams::gain, 2, 180));
    CtrlKey(Qt::Key_Z);
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 2, 160));
    CtrlKey(Qt::Key_Y);
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 2, 180));

    // The window lists the copy first; its last line goes back to before every step.
    std::vector<std::string> lines;
    Ui().AnswerDialog([&](CDialog& dialog) {
        auto& history = dynamic_cast<CSetupHistory&>(dialog);
        lines = history.lines.lines;
        dialog.SelectListEntry(CSetupHistory::kListId, static_cast<int>(lines.size()) - 1);
        EXPECT_EQ(history.lines.currentLine, static_cast<int>(lines.size()) - 1);
        dialog.ClickDlgButton(IDCANCEL);
    });
    CtrlKey(Qt::Key_H);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("Copy In 1 -> In 3: In 3 Level 0.00 -> +5.00"), std::string::npos) << lines[0];
    EXPECT_EQ(View().StatusLineText(), "Undo: 2 steps");
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 0, 160));
    EXPECT_TRUE(DeviceHas(&CTonraParams::gain, 2, 160));
}

TEST_F(Undo, IsRefusedWhileTheDeviceRefusesControl) {
    sim::SimOptions options;
    options.password = "AB12";
    StartDevices(options);
    ASSERT_TRUE(SelectDevice(0)); // the password prompt is cancelled
    ActivateMainWindow();
    const int mute = Doc().mute[0][1];
    Click(Centre(Strip(1, 4, 12).mute)); // the document takes it; nothing is sent
    Ui().Clear();
    CtrlKey(Qt::Key_Z);
    // The same from the device page's context menu.
    Ui().AnswerMenu(CTonraView::kUndoCommand);
    QTest::mouseClick(started.app.GetMainWnd()->GetWidget()->windowHandle(), Qt::RightButton, {},
                      QPoint(3, 200));
    EXPECT_EQ(Ui().LastMenu().size(), 4u);
    EXPECT_EQ(Ui().MessageTexts(), std::vector<std::string>(2, kRefusedText));
    EXPECT_EQ(Doc().mute[0][1], 1 - mute);
    EXPECT_EQ(Doc().History().Done(), 1u);
}
