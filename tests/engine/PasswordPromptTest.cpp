// The GUI's password prompt: the "Password" dialog run for the engine at the end of a Sync.
#include "dialogs/PasswordPrompt.h"
#include "dialogs/SetupPassword.h"
#include "tests/engine/EngineFixture.h"

using enginetest::EngineTest;

namespace {

using PasswordPrompt = EngineTest;

TEST_F(PasswordPrompt, ReturnsTheTypedPasswordOrNothingOnCancel) {
    ui.AnswerDialog([](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CSetupPassword::kPasswordEditId), "");
        d.SetDlgItemText(CSetupPassword::kPasswordEditId, "x1");
        d.ClickDlgButton(IDOK);
    });
    EXPECT_EQ(dialogs::AskDevicePassword(), "x1");
    ui.AnswerDialog([](CDialog& d) {
        d.SetDlgItemText(CSetupPassword::kPasswordEditId, "x2");
        d.ClickDlgButton(IDCANCEL);
    });
    EXPECT_EQ(dialogs::AskDevicePassword(), std::nullopt);
    EXPECT_EQ(ui.shown().at(0).text, "Password");
}

TEST_F(PasswordPrompt, TheEngineAsksItWhenThePasswordsDiffer) {
    sim::DeviceSetup setup;
    setup.password = "Q7";
    UseDevice(setup);
    engine.SetPasswordPrompt(dialogs::AskDevicePassword);
    ui.AnswerDialog([](CDialog& d) {
        d.SetDlgItemText(CSetupPassword::kPasswordEditId, "Q7");
        d.ClickDlgButton(IDOK);
    });
    engine.RequestTransfer(devlink::TransferMode::Sync);
    ASSERT_TRUE(TickUntilIdle());
    EXPECT_EQ(doc.enteredPassword[kSlot], "Q7");
    EXPECT_EQ(doc.passwordOk[kSlot], 1);
    EXPECT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.unscripted(), 0);
}

} // namespace
