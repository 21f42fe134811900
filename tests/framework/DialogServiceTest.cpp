#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/QtUiService.h"
#include "framework/ScriptedUiService.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kLockBox = 1054;
constexpr int kNameEdit = 1261;
constexpr int kPortCombo = 1118;
constexpr int kLockAll = 1117;

// A dialog in the program's manner: fields, controls built in code, data exchange.
class SampleDialog : public CDialog {
public:
    SampleDialog() : CDialog("Sample", CSize(200, 120)) {}
    int locked = 0;
    std::string name = "ab";
    int port = 2;
    int closeUps = 0;

protected:
    void CreateControls() override {
        AddGroupBox("Group", CRect(5, 5, 195, 80));
        AddCheckBox(kLockBox, "Lock", CRect(10, 20, 100, 36));
        AddEdit(kNameEdit, CRect(10, 40, 100, 56), ES_PASSWORD, 4);
        CComboBox combo = AddComboBox(kPortCombo, CRect(110, 20, 190, 36));
        for (const char* entry : {"Offline", "COM 1", "COM 2"}) {
            combo.AddString(entry);
        }
        AddButton(kLockAll, "Lock all", CRect(110, 40, 190, 56));
        AddButton(IDOK, "OK", CRect(10, 90, 90, 110), true);
        AddButton(IDCANCEL, "Cancel", CRect(110, 90, 190, 110));
    }
    void DoDataExchange(bool save) override {
        DDX_Check(save, kLockBox, locked);
        DDX_Text(save, kNameEdit, name);
        DDX_CBIndex(save, kPortCombo, port);
    }
    void OnCommand(int id) override {
        if (id == kLockAll) {
            CheckDlgButton(kLockBox, BST_CHECKED);
        }
        CDialog::OnCommand(id);
    }
    void OnComboCloseUp(int) override { ++closeUps; }
};

TEST(ScriptedDialogs, OkTransfersTheControlsIntoTheFields) {
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    SampleDialog dialog;
    ui.AnswerDialog([](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kNameEdit), "ab"); // fields went into the controls first
        d.ClickDlgButton(kLockAll);
        d.SetDlgItemText(kNameEdit, "pw12");
        d.SelectComboEntry(kPortCombo, 1);
        d.ClickDlgButton(IDOK);
    });

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.locked, 1);
    EXPECT_EQ(dialog.name, "pw12");
    EXPECT_EQ(dialog.port, 1);
    EXPECT_EQ(dialog.closeUps, 1);
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].text, "Sample");
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(ScriptedDialogs, CancelAndUnscriptedRunsChangeNothing) {
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    SampleDialog dialog;
    ui.AnswerDialog([](CDialog& d) {
        d.ClickDlgButton(kLockBox);
        d.ClickDlgButton(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.locked, 0);

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(ui.unscripted(), 1);
}

TEST(ScriptedMessages, RecordTextsCaptionsAndReturnTheScriptedAnswers) {
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    ui.AnswerMessageBox(IDNO);
    ui.AnswerFileDialog(std::string("/tmp/a.dat"));

    EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_ICONQUESTION, "Confirm"), IDNO);
    EXPECT_EQ(AfxMessageBox("Failed to Initialize Sockets", MB_ICONSTOP), IDOK);
    EXPECT_EQ(UiService().FileDialog({true, "Setup Files (*.dat)|*.dat||", ".dat", "", ""}), "/tmp/a.dat");
    EXPECT_EQ(UiService().FileDialog({false, "*.lst|*.lst||", ".lst", "", ""}), std::nullopt);

    ASSERT_EQ(ui.shown().size(), 4u);
    EXPECT_EQ(ui.shown()[0].caption, "Confirm");
    EXPECT_EQ(ui.shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ui.shown()[1].caption, "Veltrix");
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"Overwrite?", "Failed to Initialize Sockets"}));
    EXPECT_EQ(ui.unscripted(), 2);
}

TEST(QtFileDialogs, OpenInTheFolderLastUsedUnlessTheCallerNamesOne) {
    EXPECT_EQ(FileDialogStartPath("", ""), "");
    EXPECT_EQ(FileDialogStartPath("", "/shows"), "/shows");
    EXPECT_EQ(FileDialogStartPath("list.lst", "/shows"), "/shows/list.lst");
    EXPECT_EQ(FileDialogStartPath("/lists/list.lst", "/shows"), "/lists/list.lst");

    // The real dialog, answered as the operator would: it shows the folder of the last choice.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("shows"));
    const QString chosen = folder.filePath("shows/a.dat");
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList shownFolders;
    QPointer<QFileDialog> answered;
    QTimer answer;
    // The answer types the whole path into the name field, as the operator may, and presses
    // Open. (Selecting the file instead leaves the field empty while it has the focus, and the
    // dialog then ignores Open.) Anything else that opens, a warning, is closed, so that a
    // fault fails the test instead of hanging it.
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (answered != dialog) { // the folder it opened in, once per dialog
                answered = dialog;
                shownFolders << dialog->directory().absolutePath();
            }
            if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
                name->setText(chosen);
            }
            static_cast<QDialog*>(dialog)->accept(); // as the Open button does
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    });
    answer.start(20);
    CQtUiService ui;
    EXPECT_EQ(ui.FileDialog({true, "(*.dat)|*.dat||", ".dat", folder.path().toStdString(), ""}),
              chosen.toStdString());
    EXPECT_EQ(ui.FileDialog({true, "(*.dat)|*.dat||", ".dat", "", ""}), chosen.toStdString());
    EXPECT_EQ(shownFolders, (QStringList{folder.path(), folder.filePath("shows")}));
}

class NotifyingEdit : public CEdit {
public:
    std::vector<std::string> log;

protected:
    void OnEnChange() override { log.push_back("change:" + GetWindowText()); }
    void OnEnSetFocus() override { log.push_back("setfocus"); }
    void OnEnKillFocus() override { log.push_back("killfocus"); }
};

TEST(EditControl, TypingStopsAtTheLimitWhileProgramTextMayBeLonger) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateFrame("edit", CRect(0, 0, 200, 60)));
    NotifyingEdit edit;
    ASSERT_TRUE(edit.Create(ES_CENTER | ES_AUTOHSCROLL, CRect(0, 0, 100, 20), frame, 9));
    NotifyingEdit other;
    ASSERT_TRUE(other.Create(0, CRect(0, 30, 100, 50), frame, 10));
    edit.LimitText(4);
    frame.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.GetWidget()));
    QApplication::setActiveWindow(frame.GetWidget());

    edit.SetFocus();
    QTest::keyClicks(edit.GetWidget(), "123456");
    EXPECT_EQ(edit.GetWindowText(), "1234");
    edit.SetWindowText("-12.25 dB");
    EXPECT_EQ(edit.GetWindowText(), "-12.25 dB");
    const std::size_t changes = edit.log.size();
    edit.SetWindowText("-12.25 dB"); // the same text set again is still a change
    EXPECT_EQ(edit.log.size(), changes + 1);

    other.SetFocus();
    ASSERT_FALSE(edit.log.empty());
    EXPECT_EQ(edit.log.front(), "setfocus");
    EXPECT_EQ(edit.log.back(), "killfocus");
    EXPECT_NE(std::find(edit.log.begin(), edit.log.end(), "change:1234"), edit.log.end());
}

} // namespace
