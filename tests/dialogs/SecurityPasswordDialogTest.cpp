#include "dialogs/SetupPassword.h"
#include "dialogs/SetupSecurity.h"
#include "framework/ScriptedUiService.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct DialogTest : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
};

using SecurityDialog = DialogTest;
using PasswordDialog = DialogTest;

TEST_F(SecurityDialog, ShowsTheLocksInTheirGroupsAndReturnsThemOnOk) {
    CSetupSecurity dialog;
    dialog.locks[2] = 1;
    ui.AnswerDialog([](CDialog& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(1056), BST_CHECKED);
        EXPECT_EQ(d.GetDlgItemText(1054), "Signal Properties (Level, Polarity, Delay)");
        EXPECT_EQ(d.GetDlgItemText(1059), "XOver Filters (Filter Type, Frequency, Slope)");
        EXPECT_EQ(d.GetDlgItemText(1064), "Mute Buttons");
        auto* box = dynamic_cast<QGroupBox*>(d.GetDlgItem(1061)->parentWidget());
        EXPECT_EQ(box, nullptr); // check boxes sit on the dialog, drawn over their group box
        QStringList groups;
        for (QGroupBox* group : d.GetWidget()->findChildren<QGroupBox*>()) {
            groups << group->title();
        }
        groups.sort();
        EXPECT_EQ(groups,
                  (QStringList{"Global Actions", "Input Menu Lock", "Output Menu Lock", "System Lock"}));
        // Every control lies inside the frame of its group box, below the caption and the frame
        // line, as the style draws them.
        for (QGroupBox* group : d.GetWidget()->findChildren<QGroupBox*>()) {
            const QRect inside = group->contentsRect().translated(group->pos());
            for (QWidget* control : d.GetWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (control != group && group->geometry().intersects(control->geometry())) {
                    EXPECT_TRUE(inside.contains(control->geometry()))
                        << group->title().toStdString() << " " << control->metaObject()->className();
                }
            }
        }
        d.ClickDlgButton(1056); // untick
        d.ClickDlgButton(1063); // tick
        d.ClickDlgButton(IDOK);
    });

    ASSERT_EQ(dialog.DoModal(), IDOK);
    std::array<int, CSetupSecurity::kLockCount> expected{};
    expected[9] = 1;
    EXPECT_EQ(dialog.locks, expected);
    EXPECT_EQ(ui.shown().at(0).text, "Security");
}

TEST_F(SecurityDialog, LockTicksEverythingUnlockClearsAndCancelKeepsTheFields) {
    CSetupSecurity dialog;
    dialog.locks[4] = 1;
    ui.AnswerDialog([](CDialog& d) {
        d.ClickDlgButton(CSetupSecurity::kLockButtonId);
        for (int id = 1054; id <= 1064; ++id) {
            EXPECT_EQ(d.IsDlgButtonChecked(id), BST_CHECKED) << id;
        }
        d.ClickDlgButton(IDCANCEL);
    });
    // The caller stores the locks only after OK, so Cancel leaves the device's locks alone.
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);

    ui.AnswerDialog([](CDialog& d) {
        d.ClickDlgButton(CSetupSecurity::kUnlockButtonId);
        d.ClickDlgButton(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.locks, (std::array<int, CSetupSecurity::kLockCount>{}));
}

TEST_F(PasswordDialog, HidesTheTextRefusesAFifthCharacterAndKeepsShortPasswordsAsTyped) {
    CSetupPassword dialog;
    ui.AnswerDialog([](CDialog& d) {
        auto* edit = dynamic_cast<QLineEdit*>(d.GetDlgItem(CSetupPassword::kPasswordEditId));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->text(), "");
        QTest::keyClicks(edit, "abcde");
        EXPECT_EQ(edit->text(), "abcd");
        edit->clear();
        QTest::keyClicks(edit, "x1");
        d.ClickDlgButton(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.password, "x1");
    EXPECT_EQ(ui.shown().at(0).text, "Password");
}

TEST_F(PasswordDialog, CancelLeavesThePasswordAsTheCallerSetIt) {
    CSetupPassword dialog;
    dialog.password = "1234";
    ui.AnswerDialog([](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CSetupPassword::kPasswordEditId), "1234");
        d.SetDlgItemText(CSetupPassword::kPasswordEditId, "9999");
        d.ClickDlgButton(IDCANCEL);
    });
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.password, "1234");
}

} // namespace
