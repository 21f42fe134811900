// The program ended from outside (SIGTERM, SIGHUP, Ctrl+C) in the middle of a modal dialog:
// every event loop is left at once, and unsaved changes of the operator are kept in the
// recovery file, which the next start offers to restore.
#include "IsolatedConfig.h"
#include "StartedApp.h"
#include "app/QuitOnSignal.h"
#include "app/RecoveryFile.h"
#include "framework/QtUiService.h"
#include "model/ModelTypes.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <unistd.h>

namespace {

constexpr int kGenerousMs = 30000;

std::string KeptText(const std::string& setup) {
    return "the unsaved changes to " + setup + " were written to " + app::RecoveryFilePath() +
           "; the next start offers to restore them.";
}

constexpr unsigned kGenerousSeconds = kGenerousMs / 1000;

// Sends `signal` to this process as soon as a modal dialog or message box is up. Should the
// signal never be taken, SIGALRM ends the test instead of letting it hang; the signal's own
// handling replaces that alarm.
class SignalAtModal {
public:
    explicit SignalAtModal(int signal) {
        QObject::connect(&poll_, &QTimer::timeout, [this, signal] {
            if (QApplication::activeModalWidget()) {
                poll_.stop();
                alarm(kGenerousSeconds);
                kill(getpid(), signal);
            }
        });
        poll_.start(10);
    }

private:
    QTimer poll_;
};

// Runs the main event loop as the program does, opens the Version box from it and sends
// `signal` while the box is up. Returns the loop's exit code; `kept` is what the program
// writes on the error output.
int SignalWithVersionBoxOpen(StartedApp& started, int signal, std::string& kept) {
    CQtUiService qtUi;
    const CScopedUiService installed(qtUi);
    auto quit = std::make_unique<app::CQuitOnSignal>();
    quit->SetBeforeQuit([&] { kept = started.app.KeepUnsavedChanges(); });
    QTimer::singleShot(
        0, [&] { started.app.GetMainWnd()->GetView().SendMessage(UM_CTRL_PRESS, CTonraView::kVersion, 0); });
    const SignalAtModal signalAtModal(signal);
    const int code = QApplication::exec();
    quit.reset();
    return code;
}

// A program started with a scripted answer to its first message box.
struct Restarted {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CTonraApp app;

    explicit Restarted(int answer) {
        ui.AnswerMessageBox(answer);
        app.SetNetworkStarter([] { return true; });
        app.InitInstance(std::nullopt);
    }
};

class EndOnSignal : public ::testing::Test {
protected:
    void SetUp() override { app::RemoveRecoveryFile(); }
    void TearDown() override { app::RemoveRecoveryFile(); }

    static bool RecoveryFileExists() {
        return QFileInfo::exists(QString::fromStdString(app::RecoveryFilePath()));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(EndOnSignal, TerminateWithADialogOpenKeepsTheChangesForTheNextStart) {
    const std::string show = dir.filePath("show.dat").toStdString();
    {
        CTonraDoc saved;
        saved.OnNewDocument();
        ASSERT_TRUE(saved.OnSaveDocument(show));
    }
    StartedApp started(show);
    started.doc().SetParam(model::kGain, 100, 0, 0);
    std::string kept;
    EXPECT_EQ(SignalWithVersionBoxOpen(started, SIGTERM, kept), 128 + SIGTERM);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(kept, KeptText("show.dat"));
    EXPECT_TRUE(started.ui.shown().empty()); // nobody was asked

    // The next start offers them; No deletes them.
    {
        const Restarted declined(IDNO);
        EXPECT_EQ(declined.ui.MessageTexts(),
                  std::vector<std::string>{
                      "Restore the unsaved changes to show.dat?\n\nVeltrix was ended before "
                      "they were saved; they were kept in\n" +
                      app::RecoveryFilePath() + "\n\nYes opens them as unsaved changes, No deletes them."});
        EXPECT_FALSE(RecoveryFileExists());
    }
    // Yes opens them as unsaved changes to the same file.
    started.doc().SetParam(model::kGain, 90, 0, 0);
    ASSERT_EQ(started.app.KeepUnsavedChanges(), KeptText("show.dat"));
    Restarted restored(IDYES);
    EXPECT_EQ(restored.app.GetDocument().gain[0][0], 90);
    EXPECT_TRUE(restored.app.GetDocument().IsModified());
    EXPECT_EQ(restored.app.GetDocument().GetPathName(), show);
    EXPECT_FALSE(RecoveryFileExists());
}

TEST_F(EndOnSignal, HangUpWithoutChangesWritesNothing) {
    StartedApp started;
    std::string kept = "not called";
    EXPECT_EQ(SignalWithVersionBoxOpen(started, SIGHUP, kept), 128 + SIGHUP);
    EXPECT_EQ(kept, "");
    EXPECT_FALSE(RecoveryFileExists());
}

TEST_F(EndOnSignal, InterruptDuringTheRestoreQuestionKeepsTheRecoveryFile) {
    CTonraDoc changed;
    changed.OnNewDocument();
    std::string problem;
    ASSERT_TRUE(app::WriteRecoveryFile(changed.StoreSetup(), "", problem)) << problem;

    // Before the main event loop runs, as at start-up.
    CQtUiService qtUi;
    const CScopedUiService installed(qtUi);
    CTonraApp program;
    app::CQuitOnSignal quit;
    const SignalAtModal signalAtModal(SIGINT);
    program.SetNetworkStarter([] { return true; });
    program.InitInstance(std::nullopt);
    EXPECT_TRUE(quit.Received());
    EXPECT_EQ(quit.ExitCode(), 128 + SIGINT);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(program.GetDocument().IsModified());
    EXPECT_TRUE(RecoveryFileExists());
}

TEST_F(EndOnSignal, TheProgramEndsOnTerminate) {
    const QString program = QCoreApplication::applicationDirPath() + "/../../app/veltrix";
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << "build the veltrix target: " << program.toStdString();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", dir.path());
    environment.insert("VELTRIX_CONNECTION_FILE", dir.filePath("tonra.sys"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, {"--demo", "1"});
    // The demo network's description comes once the program is up.
    ASSERT_TRUE(process.waitForReadyRead(kGenerousMs)) << process.readAllStandardError().toStdString();
    ASSERT_EQ(kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    ASSERT_TRUE(process.waitForFinished(kGenerousMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 128 + SIGTERM);
    EXPECT_EQ(process.readAllStandardError().toStdString().find("unsaved"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Veltrix/recovery.dat")));
}
