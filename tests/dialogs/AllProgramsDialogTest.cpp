#include "dialogs/SetupPrograms.h"
#include "framework/ScriptedUiService.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using P = CSetupPrograms;

struct AllProgramsDialog : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    QTemporaryDir folder;
    CSetupPrograms dialog;

    std::string PathOf(const std::string& name) const {
        return folder.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string WriteFile(const std::string& name, const QByteArray& bytes) const {
        QFile file(QString::fromStdString(PathOf(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return PathOf(name);
    }
    QByteArray ReadFile(const std::string& path) const {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int Run(const std::function<void(CDialog&)>& script) {
        ui.AnswerDialog(script);
        return dialog.DoModal();
    }
};

// The bytes of a program list whose record `index` holds `record` (12 bytes at most).
QByteArray ListBytes(int index, const QByteArray& record) {
    QByteArray bytes(360, '\0');
    bytes.replace(12 * index, record.size(), record);
    return bytes;
}

std::string Line(CDialog& d, int index) { return CListBox(d, P::kListBoxId).GetText(index); }

TEST_F(AllProgramsDialog, LoadsTheListFileGivenKeepingEveryNonZeroByteOfARecord) {
    dialog.listFilePath = WriteFile("show.lst", ListBytes(0, QByteArray("AB\0C", 4)));
    ASSERT_EQ(Run([](CDialog& d) {
                  CListBox list(d, P::kListBoxId);
                  EXPECT_EQ(list.GetCount(), 30);
                  EXPECT_EQ(Line(d, 0), "01 - ABC");
                  EXPECT_EQ(Line(d, 29), "30 - ");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.programFiles[0], "ABC");
    EXPECT_EQ(dialog.uploadRequested, 0);
    EXPECT_EQ(dialog.downloadRequested, 0);
}

TEST_F(AllProgramsDialog, AListThatCannotBeReadLeavesNamesAndPathAsTheyWere) {
    dialog.listFilePath = PathOf("missing.lst");
    ui.AnswerFileDialog(PathOf("also-missing.lst"));
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kLoadListButtonId);
                  EXPECT_EQ(d.GetDlgItemText(P::kPathFieldId), PathOf("missing.lst"));
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.listFilePath, PathOf("missing.lst"));
    EXPECT_TRUE(ui.MessageTexts().empty());
}

TEST_F(AllProgramsDialog, AFileThatIsNoListIsRefusedWithItsReason) {
    dialog.listFilePath = WriteFile("show.lst", ListBytes(0, "Intro"));
    ui.AnswerFileDialog(WriteFile("notes.lst", "hello this is a text file\n"));
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kLoadListButtonId);
                  EXPECT_EQ(Line(d, 0), "01 - Intro");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.listFilePath, PathOf("show.lst"));
    ASSERT_EQ(ui.MessageTexts().size(), 1u);
    EXPECT_NE(ui.MessageTexts()[0].find("is 26 bytes long"), std::string::npos) << ui.MessageTexts()[0];
}

TEST_F(AllProgramsDialog, AChosenProgramFileNamesTheSelectedLineAndTheListMustBeSavedAgain) {
    dialog.listFilePath = WriteFile("show.lst", ListBytes(6, "Old"));
    const std::string prog7 = WriteFile("Prog7.dat", "x");
    const std::string longName = WriteFile("ABCDEFGHIJKLM.dat", "x");
    ui.AnswerFileDialog(prog7);
    ui.AnswerFileDialog(longName);
    ui.AnswerFileDialog(PathOf("absent.dat"));
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kSelectFilesButtonId); // no line selected yet
                  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Please select a program!"});

                  d.SelectListEntry(P::kListBoxId, 6);
                  d.ClickDlgButton(P::kSelectFilesButtonId);
                  EXPECT_EQ(Line(d, 6), "07 - Prog7");
                  EXPECT_EQ(d.GetDlgItemText(P::kPathFieldId), "");
                  EXPECT_EQ(CListBox(d, P::kListBoxId).GetCurSel(), 6);

                  d.SelectListEntry(P::kListBoxId, 1);
                  d.ClickDlgButton(P::kSelectFilesButtonId);
                  EXPECT_EQ(Line(d, 1), "02 - ABCDEFGHIJKL"); // cut to 12 characters

                  d.ClickDlgButton(P::kSelectFilesButtonId); // a file that cannot be opened
                  EXPECT_EQ(Line(d, 1), "02 - ABCDEFGHIJKL");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.listFilePath, "");
    EXPECT_EQ(dialog.programFiles[6], "Prog7");
}

TEST_F(AllProgramsDialog, SaveListWritesTheListFileAndAFailedSaveKeepsFileAndPath) {
    const std::string saved = PathOf("saved.lst");
    ui.AnswerFileDialog(saved);
    ui.AnswerFileDialog(PathOf("no-such-folder/x.lst"));
    dialog.listFilePath = WriteFile("show.lst", ListBytes(2, "Rock"));
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kSaveListButtonId);
                  EXPECT_EQ(d.GetDlgItemText(P::kPathFieldId), saved);
                  d.ClickDlgButton(P::kSaveListButtonId);
                  EXPECT_EQ(d.GetDlgItemText(P::kPathFieldId), saved);
                  ASSERT_EQ(ui.MessageTexts().size(), 1u);
                  EXPECT_EQ(ui.MessageTexts()[0].rfind("The program list could not be saved as ", 0), 0u);
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(ReadFile(saved), ListBytes(2, "Rock"));
    EXPECT_EQ(dialog.listFilePath, saved);
    EXPECT_EQ(ui.shown()[1].text, "(*.lst)|*.lst||");
}

TEST_F(AllProgramsDialog, UploadAndDownloadNeedAListFileAndAConfirmation) {
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kUploadButtonId);
                  d.ClickDlgButton(P::kDownloadButtonId);
                  EXPECT_FALSE(d.IsEnded());
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{
                  "Please click <Load List> or <Save List> button to prepare a List File first.\n"
                  "The program list in the file will be replaced by the uploaded programs.",
                  "Please click <Load List> or <Save List> button to prepare a List File first."}));
    EXPECT_EQ(dialog.uploadRequested, 0);

    ui.Clear();
    dialog.listFilePath = WriteFile("show.lst", ListBytes(0, "Intro"));
    ui.AnswerMessageBox(IDNO);
    ui.AnswerMessageBox(IDYES);
    ASSERT_EQ(Run([&](CDialog& d) {
                  d.ClickDlgButton(P::kDownloadButtonId); // No: stays open
                  EXPECT_FALSE(d.IsEnded());
                  d.ClickDlgButton(P::kUploadButtonId);
              }),
              IDOK);
    ASSERT_EQ(ui.MessageTexts().size(), 2u);
    EXPECT_EQ(ui.MessageTexts()[1], "This action will overwrite previous program files in the PC with same "
                                    "filenames.\nAre you sure you want to continue?");
    EXPECT_EQ(ui.shown()[2].caption, "Confirm");
    EXPECT_EQ(ui.shown()[2].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(dialog.uploadRequested, 1);
    EXPECT_EQ(dialog.downloadRequested, 0);
    EXPECT_EQ(dialog.programFiles[0], "Intro");

    ui.AnswerMessageBox(IDYES);
    ASSERT_EQ(Run([](CDialog& d) { d.ClickDlgButton(P::kDownloadButtonId); }), IDOK);
    EXPECT_EQ(dialog.uploadRequested, 0); // every opening starts without a request
    EXPECT_EQ(dialog.downloadRequested, 1);
}

TEST_F(AllProgramsDialog, ClearListEmptiesNamesAndPathAndSelectsTheFirstLine) {
    dialog.listFilePath = WriteFile("show.lst", ListBytes(4, "Jazz"));
    ASSERT_EQ(Run([](CDialog& d) {
                  d.ClickDlgButton(P::kClearListButtonId);
                  EXPECT_EQ(Line(d, 4), "05 - ");
                  EXPECT_EQ(CListBox(d, P::kListBoxId).GetCurSel(), 0);
                  EXPECT_EQ(d.GetDlgItemText(P::kPathFieldId), "");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.listFilePath, "");
    EXPECT_EQ(dialog.programFiles[4], "");
}

} // namespace
