#include "IsolatedConfig.h"
#include "StartedApp.h"
#include "model/EditHistory.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class FileCommands : public ::testing::Test {
protected:
    QTemporaryDir dir;

    void SetUp() override { ForgetRecentFiles(); }

    std::string PathOf(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // A setup file of a 2-in/6-out device whose first channel is at `gain`.
    std::string SavedSetup(const std::string& name, int gain) const {
        CTonraDoc source;
        source.OnNewDocument();
        source.inputCount[0] = 2;
        source.outputCount[0] = 6;
        source.gain[0][0] = gain;
        const std::string path = PathOf(name);
        source.OnSaveDocument(path);
        return path;
    }
};

std::size_t FileDialogsShown(const CScriptedUiService& ui) {
    return static_cast<std::size_t>(
        std::count_if(ui.shown().begin(), ui.shown().end(), [](const auto& shown) {
            return shown.kind == CScriptedUiService::Shown::Kind::FileDialog;
        }));
}

} // namespace

TEST_F(FileCommands, StandardKeysRunNewOpenAndSave) {
    StartedApp started;
    QWidget* window = started.app.GetMainWnd()->GetWidget();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    const std::string path = SavedSetup("keys.dat", 30);
    started.ui.AnswerFileDialog(path);
    QTest::keySequence(window, QKeySequence(QKeySequence::Open));
    ASSERT_EQ(started.ui.shown().size(), 1u);
    EXPECT_EQ(started.ui.shown()[0].text, "Setup Files (*.dat)|*.dat||");
    EXPECT_EQ(started.doc().gain[0][0], 30);

    started.doc().gain[0][0] = 31;
    QTest::keySequence(window, QKeySequence(QKeySequence::Save));
    EXPECT_EQ(FileDialogsShown(started.ui), 1u); // the document has its file already
    CTonraDoc reread;
    reread.OnNewDocument();
    ASSERT_TRUE(reread.OnOpenDocument(path));
    EXPECT_EQ(reread.gain[0][0], 31);

    QTest::keySequence(window, QKeySequence(QKeySequence::New));
    EXPECT_EQ(started.doc().documentCaption, "New");
    EXPECT_EQ(started.doc().gain[0][0], 160);
}

TEST_F(FileCommands, OpenLoadsTheCurrentDeviceAndRemembersTheFile) {
    StartedApp started;
    const std::string path = SavedSetup("open.dat", 44);
    started.doc().currentDevice = 3;
    started.ui.AnswerFileDialog(path);
    ASSERT_TRUE(started.app.OnCommand(ID_FILE_OPEN));
    EXPECT_EQ(started.doc().gain[3][0], 44);
    EXPECT_EQ(started.doc().GetChannelCount(3), 8);
    EXPECT_EQ(started.doc().documentCaption, path);
    EXPECT_EQ(started.app.GetRecentFiles(), std::vector<std::string>{path});
    // The operator can take the opened file back, as a recall from the PC.
    ASSERT_EQ(started.doc().History(3).Size(), 1u);
    EXPECT_EQ(started.doc().History(3).Step(0).label, "Open open.dat");
    ASSERT_NE(started.doc().UndoStep(3), nullptr);
    EXPECT_EQ(started.doc().gain[3][0], 160);
    ASSERT_NE(started.doc().RedoStep(3), nullptr);

    // A cancelled dialog changes nothing.
    started.ui.AnswerFileDialog(std::nullopt);
    started.app.OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(started.doc().documentCaption, path);
    EXPECT_FALSE(started.app.OnCommand(12345));
}

TEST_F(FileCommands, OpenIntoAnOnlineDeviceWithOtherCountsIsRefused) {
    StartedApp started;
    const std::string path = SavedSetup("other-counts.dat", 44);
    started.doc().deviceOnline[0] = 1; // 4 inputs and 8 outputs
    EXPECT_FALSE(started.app.OpenDocumentFile(path));
    EXPECT_EQ(
        started.ui.MessageTexts(),
        std::vector<std::string>{"Error: Channel numbers are different: the setup file has 2 inputs and 6 "
                                 "outputs, the device 4 inputs and 8 outputs."});
    EXPECT_EQ(started.doc().gain[0][0], 160);
    EXPECT_EQ(started.doc().documentCaption, "New");
    EXPECT_TRUE(started.app.GetRecentFiles().empty());
}

TEST_F(FileCommands, SaveAsksForANameOnceAndSaveAsEveryTime) {
    StartedApp started;
    const std::string first = PathOf("first.dat");
    started.ui.AnswerFileDialog(first);
    started.app.OnCommand(ID_FILE_SAVE);
    ASSERT_EQ(started.ui.shown().size(), 1u);
    EXPECT_EQ(started.doc().GetPathName(), first);
    EXPECT_EQ(QFile(QString::fromStdString(first)).size(), model::kSetupFileSize);

    started.app.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(started.ui.shown().size(), 1u);

    const std::string second = PathOf("second.dat");
    started.ui.AnswerFileDialog(second);
    started.app.OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(started.ui.shown().size(), 2u);
    EXPECT_EQ(started.doc().GetPathName(), second);
    EXPECT_EQ(started.app.GetRecentFiles(), (std::vector<std::string>{second, first}));
}

TEST_F(FileCommands, RecentFilesKeepTheFourNewestInTheSettings) {
    std::vector<std::string> paths;
    {
        StartedApp started;
        for (int i = 0; i < 5; ++i) {
            paths.push_back(SavedSetup("setup" + std::to_string(i) + ".dat", i));
            ASSERT_TRUE(started.app.OpenDocumentFile(paths.back()));
        }
        ASSERT_TRUE(started.app.OpenDocumentFile(paths[2])); // to the front again
    }
    QSettings settings(CRecentFileList::kSettingsKey, CTonraApp::kAppTitle);
    EXPECT_EQ(settings.value("Recent File List/File1").toString().toStdString(), paths[2]);
    EXPECT_EQ(settings.value("Recent File List/File4").toString().toStdString(), paths[1]);
    EXPECT_FALSE(settings.contains("Recent File List/File5"));
    EXPECT_TRUE(QFile::exists(QDir(QString::fromStdString(testsupport::IsolatedConfigDir()))
                                  .filePath("Local AppWizard-Generated Applications/Veltrix.conf")));

    StartedApp restarted;
    EXPECT_EQ(restarted.app.GetRecentFiles(),
              (std::vector<std::string>{paths[2], paths[4], paths[3], paths[1]}));
}

TEST_F(FileCommands, UnsavedChangesAreOfferedForSaving) {
    StartedApp started;
    started.doc().gain[0][0] = 12;
    started.doc().SetModifiedFlag();

    started.ui.AnswerMessageBox(IDCANCEL);
    started.app.OnCommand(ID_FILE_NEW);
    EXPECT_EQ(started.ui.MessageTexts(), std::vector<std::string>{"Save changes to this setup?"});
    EXPECT_EQ(started.doc().gain[0][0], 12);

    // Yes, then the save dialog is cancelled: the changes stay.
    started.ui.AnswerMessageBox(IDYES);
    started.app.OnCommand(ID_FILE_NEW);
    EXPECT_EQ(started.doc().gain[0][0], 12);

    const std::string path = PathOf("kept.dat");
    started.ui.AnswerMessageBox(IDYES);
    started.ui.AnswerFileDialog(path);
    started.app.OnCommand(ID_FILE_NEW);
    EXPECT_EQ(started.doc().gain[0][0], 160);
    CTonraDoc kept;
    kept.OnNewDocument();
    ASSERT_TRUE(kept.OnOpenDocument(path));
    EXPECT_EQ(kept.gain[0][0], 12);

    // The question names the file the document came from.
    ASSERT_TRUE(started.app.OpenDocumentFile(path));
    started.doc().SetModifiedFlag();
    started.ui.AnswerMessageBox(IDNO);
    EXPECT_TRUE(started.app.OpenDocumentFile(path));
    EXPECT_EQ(started.ui.MessageTexts().back(), "Save changes to kept.dat?");
}

TEST_F(FileCommands, ClosingWithUnsavedChangesCanBeCancelled) {
    StartedApp started;
    CMainFrame* frame = started.app.GetMainWnd();
    started.doc().SetModifiedFlag();
    started.ui.AnswerMessageBox(IDCANCEL);
    frame->SendMessage(WM_CLOSE);
    EXPECT_NE(frame->GetSafeHwnd(), nullptr);

    started.ui.AnswerMessageBox(IDNO);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(frame->GetSafeHwnd(), nullptr);
}
