// The bulk transfers tick by tick against a simulated device that answers at once: progress
// texts, time-outs, the sync image, the password check, and the program files of Upload and
// Download.
#include "tests/engine/EngineFixture.h"

#include "link/BulkTransfer.h"
#include "link/DataImages.h"
#include "model/ProgramListFile.h"
#include "model/SetupFile.h"
#include "tests/link/DocFixtures.h"
#include "tests/support/DocCompare.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace devlink;
using namespace model;
using enginetest::EngineTest;

namespace {

constexpr const char* kIncorrectPassword = "Incorrect device password.\nControl capability disabled.";

class TransferEngine : public EngineTest {
protected:
    // The status texts shown since the last call.
    std::vector<std::string> TakeStatuses() { return std::exchange(statuses, {}); }

    void RunTransfer(TransferMode mode) {
        engine.RequestTransfer(mode);
        ASSERT_TRUE(TickUntilIdle());
    }

    // A setup file of the engine's slot with gain `gain` on slot 0, at `path`.
    void SaveProgramFile(const QString& path, int gain) {
        const int before = doc.gain[kSlot][0];
        doc.gain[kSlot][0] = gain;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(doc.StoreSetup());
        doc.gain[kSlot][0] = before;
    }

    static DeviceSetup ReadSetup(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        DeviceSetup setup;
        EXPECT_TRUE(ReadSetupFile(file.readAll(), setup).complete);
        return setup;
    }

    QTemporaryDir folder;
};

TEST_F(TransferEngine, SyncShowsItsProgressAndReadsTheWholeDevice) {
    sim::DeviceSetup setup;
    setup.model = "NQVE-1888";
    setup.inputs = 8;
    UseDevice(setup);
    linktest::FillDistinctParams(*deviceDoc, kSlot, 3);
    deviceDoc->ValidateDevice(kSlot);
    deviceDoc->programName[kSlot][0] = "Stage Left";
    deviceDoc->securityLocks[kSlot][4] = 1;
    RunTransfer(TransferMode::Sync);
    EXPECT_EQ(TakeStatuses(),
              (std::vector<std::string>{"Sync Status: Initializing", "Sync Status: 0%", "Sync Status: 14%",
                                        "Sync Status: 28%", "Sync Status: 42%", "Sync Status: 57%",
                                        "Sync Status: 71%", "Sync Status: 85%", "Sync Status: Finished OK"}));
    EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::Sync, true}}));
    testsupport::ExpectSameParams(doc, kSlot, *deviceDoc, kSlot);
    EXPECT_EQ(doc.deviceModel[kSlot], "NQVE-1888");
    EXPECT_EQ(doc.inputCount[kSlot], 8);
    EXPECT_EQ(doc.securityLocks[kSlot][4], 1);
    EXPECT_EQ(doc.programName[kSlot], deviceDoc->programName[kSlot]);
    EXPECT_EQ(doc.documentCaption, "Device Program 1: Stage Left");
    EXPECT_EQ(doc.passwordOk[kSlot], 1);
    const std::vector<WPARAM> tail(view.codes.end() - 3, view.codes.end());
    EXPECT_EQ(tail, (std::vector<WPARAM>{CPort::LayoutChanged, CPort::SyncDone, CPort::ParamsChanged}));

    // The shadow holds what the device holds: nothing goes back but polls.
    deviceLine->sent.clear();
    TickPollCycles(3);
    for (const CommandFrame& frame : enginetest::CommandFrames(deviceLine->sent)) {
        EXPECT_EQ(frame.code, kCmdPoll);
    }
}

TEST_F(TransferEngine, DownSyncShowsItsProgressAndWritesTheDevice) {
    UseDevice();
    linktest::FillDistinctParams(doc, kSlot, 5);
    RunTransfer(TransferMode::DownSync);
    EXPECT_EQ(TakeStatuses(),
              (std::vector<std::string>{"DownSync Status: Initializing", "Download Status: 0%",
                                        "Download Status: 25%", "Download Status: 50%",
                                        "Download Status: 75%", "DownSync Status: Finished"}));
    testsupport::ExpectSameParams(*deviceDoc, kSlot, doc, kSlot);
    EXPECT_EQ(deviceDoc->factoryEq[kSlot], doc.factoryEq[kSlot]);
    EXPECT_EQ(doc.shadow.gain[kSlot], doc.gain[kSlot]);
    EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::DownSync, true}}));
}

TEST_F(TransferEngine, WaitingStepsTimeOutAfterTwoSeconds) {
    struct Case {
        TransferMode mode;
        std::string failed;
        TransferMode next;
    };
    const std::vector<Case> cases = {
        {TransferMode::Sync, "Sync Status: Failed", TransferMode::Idle},
        {TransferMode::DownSync, "DownSync Status: Failed", TransferMode::Idle},
        {TransferMode::Upload, "Upload Status: Failed", TransferMode::Sync},
        {TransferMode::Download, "Download Status: Failed", TransferMode::Sync},
    };
    for (const Case& c : cases) {
        finished.clear();
        engine.RequestTransfer(c.mode);
        Tick(1 + 199);
        EXPECT_TRUE(finished.empty());
        Tick();
        EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{c.mode, false}}));
        EXPECT_EQ(doc.statusText, c.failed);
        EXPECT_EQ(engine.Mode(), c.next);
        EXPECT_EQ(engine.Step(), 0);
        ASSERT_TRUE(TickUntilIdle());
    }
    EXPECT_EQ(view.Count(CPort::SyncDone), 3); // the Sync, and the Syncs after Upload and Download
}

TEST_F(TransferEngine, ADeviceFallingSilentMidwayFailsTheSync) {
    UseDevice();
    engine.RequestTransfer(TransferMode::Sync);
    while (doc.statusText != "Sync Status: 28%") {
        Tick();
    }
    deviceLine->silent = true;
    ASSERT_TRUE(TickUntilIdle());
    EXPECT_EQ(TakeStatuses().back(), "Sync Status: Failed");
    EXPECT_EQ(view.Count(CPort::SyncDone), 1);
    EXPECT_EQ(view.Count(CPort::LayoutChanged), 0);
    EXPECT_EQ(doc.inputCount[kSlot], 4);
}

TEST_F(TransferEngine, ACorruptedBlockIsNotAcknowledged) {
    UseDevice({}, {.corruptShare = 1});
    RunTransfer(TransferMode::Sync);
    EXPECT_EQ(TakeStatuses(), (std::vector<std::string>{"Sync Status: Initializing", "Sync Status: 0%",
                                                        "Sync Status: Failed"}));
    EXPECT_EQ(session->BlocksDone(), 0);
}

TEST_F(TransferEngine, ABlockBehindNoiseArrivingInPiecesIsStillTaken) {
    engine.RequestTransfer(TransferMode::Sync);
    Tick(); // the opening
    line.pending = std::string(kAckToken);
    Tick(2); // the acknowledgement, then the progress
    const std::string block = BuildBlock(std::string(kBlockChars, 'A'), 0);
    line.pending = "noise" + block.substr(0, 517);
    Tick();
    EXPECT_EQ(engine.BlockCount(), 0);
    line.sent.clear();
    line.pending = block.substr(517);
    Tick();
    EXPECT_EQ(engine.BlockCount(), 1);
    EXPECT_EQ(line.sent, kAckToken);
    EXPECT_EQ(engine.DataImage().substr(0, kBlockChars), std::string(kBlockChars, 'A'));
}

TEST_F(TransferEngine, ChannelCountsAreTakenOnlyWhenPossible) {
    UseDevice();
    for (const auto& [inputs, outputs] : {std::pair{9, 0}, std::pair{0, 9}}) {
        deviceDoc->inputCount[kSlot] = inputs;
        deviceDoc->outputCount[kSlot] = outputs;
        view.codes.clear();
        RunTransfer(TransferMode::Sync);
        EXPECT_EQ(doc.inputCount[kSlot], 4);
        EXPECT_EQ(doc.outputCount[kSlot], 8);
        EXPECT_EQ(view.Count(CPort::LayoutChanged), 1);
    }
    deviceDoc->inputCount[kSlot] = 2;
    deviceDoc->outputCount[kSlot] = 6;
    RunTransfer(TransferMode::Sync);
    EXPECT_EQ(doc.inputCount[kSlot], 2);
    EXPECT_EQ(doc.outputCount[kSlot], 6);
}

TEST_F(TransferEngine, PasswordCheckAtTheEndOfASync) {
    UseDevice({.password = "AB12"});
    std::vector<std::optional<std::string>> answers = {"zz", std::nullopt, "AB12"};
    int asked = 0;
    engine.SetPasswordPrompt([&]() { return answers.at(asked++); });

    RunTransfer(TransferMode::Sync);
    EXPECT_EQ(doc.passwordOk[kSlot], 0);
    EXPECT_EQ(doc.enteredPassword[kSlot], "zz");
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{kIncorrectPassword});
    EXPECT_EQ(ui.shown().at(0).type, MB_OK);
    EXPECT_EQ(doc.statusText, "Link Status: Disabled");
    // Nothing is sent while the password is not accepted, and a DownSync is refused at once;
    // the edit stays pending until there is control.
    doc.gain[kSlot][0] = 3;
    EXPECT_EQ(engine.RequestTransfer(TransferMode::DownSync), CPort::TransferStart::NoControl);
    deviceLine->sent.clear();
    TickPollCycles(2);
    EXPECT_EQ(deviceLine->sent, "");
    EXPECT_EQ(engine.Mode(), TransferMode::Idle);
    EXPECT_EQ(engine.PendingChangeCount(), 1);
    doc.passwordOk[kSlot] = 1;
    TickPollCycles(2);
    EXPECT_EQ(deviceDoc->gain[kSlot][0], 3);

    ui.Clear();
    doc.passwordOk[kSlot] = 0;
    RunTransfer(TransferMode::Sync); // cancelled: the password typed before stays
    EXPECT_EQ(doc.enteredPassword[kSlot], "zz");
    EXPECT_EQ(doc.passwordOk[kSlot], 0);
    EXPECT_EQ(ui.MessageTexts().size(), 1u);

    RunTransfer(TransferMode::Sync);
    EXPECT_EQ(doc.passwordOk[kSlot], 1);
    EXPECT_EQ(doc.enteredPassword[kSlot], "AB12");
    EXPECT_EQ(ui.MessageTexts().size(), 1u);
    RunTransfer(TransferMode::Sync); // the password matches: nobody is asked
    EXPECT_EQ(asked, 3);
}

TEST_F(TransferEngine, RequestsWhileBusy) {
    UseDevice();
    engine.RequestTransfer(TransferMode::Sync);
    Tick();
    engine.RequestTransfer(TransferMode::Upload);
    EXPECT_EQ(engine.Mode(), TransferMode::Sync);
    // A DownSync request while busy still builds its image and takes the snapshot: the edit
    // pending at that moment is never sent.
    doc.gain[kSlot][0] = 20;
    engine.RequestTransfer(TransferMode::DownSync);
    EXPECT_EQ(engine.Mode(), TransferMode::Sync);
    EXPECT_EQ(doc.shadow.gain[kSlot][0], 20);
    EXPECT_EQ(linktest::ImageByte(engine.DataImage(), 0), 20);
    ASSERT_TRUE(TickUntilIdle());
    EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::Sync, true}}));
}

TEST_F(TransferEngine, UploadSavesEveryProgramBesideTheList) {
    UseDevice();
    const std::vector<std::string> names = {"", "A B", "A B", "A_B", "Ab.12/x"};
    for (int p = 0; p < static_cast<int>(names.size()); ++p) {
        deviceDoc->gain[kSlot][0] = 10 + p;
        deviceDoc->programName[kSlot][p] = names[p];
        device->Apply({.deviceMask = DeviceBit(kSlot), .code = kCmdStoreProgram, .value = p});
    }
    const QString list = folder.filePath("library/all.lst");
    ASSERT_TRUE(QDir().mkpath(folder.filePath("library")));
    doc.programListFile = list.toStdString();
    doc.currentDevice = 5; // another device is shown when the Upload ends
    engine.RequestTransfer(TransferMode::Upload);
    ASSERT_TRUE(TickUntilIdle());
    EXPECT_EQ(finished, (std::vector<std::pair<TransferMode, bool>>{{TransferMode::Upload, true},
                                                                    {TransferMode::Sync, true}}));
    EXPECT_EQ(engine.FileProblem(), "");
    EXPECT_TRUE(ui.shown().empty());

    const std::optional<ProgramList> written = ReadProgramListFile(list.toStdString());
    ASSERT_TRUE(written);
    const std::vector<std::string> expected = {"Program01", "A_B", "A_B_2", "A_B_3", "Ab_12_x"};
    for (int p = 0; p < static_cast<int>(expected.size()); ++p) {
        EXPECT_EQ((*written)[p], expected[p]);
        const DeviceSetup setup =
            ReadSetup(folder.filePath("library/" + QString::fromStdString(expected[p]) + ".dat"));
        EXPECT_EQ(setup.channels[0].gain, 10 + p) << expected[p];
    }
    EXPECT_EQ((*written)[29], "User_30");
    EXPECT_EQ(QDir(folder.filePath("library")).entryList(QDir::Files).size(), 31);
}

TEST_F(TransferEngine, UploadNamesDuplicatesWithinTheRecordLength) {
    UseDevice();
    for (int p = 0; p < 3; ++p) {
        deviceDoc->programName[kSlot][p] = "ABCDEFGHIJKL";
        device->Apply({.deviceMask = DeviceBit(kSlot), .code = kCmdStoreProgram, .value = p});
    }
    doc.programListFile = folder.filePath("all.lst").toStdString();
    engine.RequestTransfer(TransferMode::Upload);
    ASSERT_TRUE(TickUntilIdle());
    const std::optional<ProgramList> written = ReadProgramListFile(doc.programListFile);
    ASSERT_TRUE(written);
    EXPECT_EQ((*written)[0], "ABCDEFGHIJKL");
    EXPECT_EQ((*written)[1], "ABCDEFGHIJ_2");
    EXPECT_EQ((*written)[2], "ABCDEFGHIJ_3");
    EXPECT_TRUE(QFile::exists(folder.filePath("ABCDEFGHIJ_3.dat")));
}

TEST_F(TransferEngine, UploadReportsFilesItCannotWrite) {
    UseDevice();
    doc.programListFile = folder.filePath("missing/all.lst").toStdString();
    engine.RequestTransfer(TransferMode::Upload);
    ASSERT_TRUE(TickUntilIdle());
    // The device sent every program, but an Upload whose files cannot be saved has failed.
    EXPECT_EQ(finished.front(), std::make_pair(TransferMode::Upload, false));
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Upload Status: Failed"), statuses.end());
    EXPECT_EQ(std::find(statuses.begin(), statuses.end(), "Upload Status: Finished OK"), statuses.end());
    EXPECT_TRUE(engine.FileProblem().starts_with("Cannot save the program file \"" +
                                                 folder.filePath("missing/").toStdString()))
        << engine.FileProblem();
    ASSERT_EQ(ui.MessageTexts().size(), 1u);
    EXPECT_EQ(ui.MessageTexts()[0], engine.FileProblem());
}

TEST_F(TransferEngine, DownloadSendsTheListedProgramsFromTheListFolder) {
    UseDevice();
    doc.programListFile = folder.filePath("all.lst").toStdString();
    SaveProgramFile(folder.filePath("Warm.dat"), 31);
    SaveProgramFile(folder.filePath("Cold.dat"), 32);
    doc.programFiles[0] = "Warm";
    doc.programFiles[2] = "Cold";
    ASSERT_EQ(engine.BuildDownloadImage(), "");

    RunTransfer(TransferMode::Download);
    const std::vector<std::string> shown = TakeStatuses();
    ASSERT_GE(shown.size(), 3u);
    // Blocks 0 and 1 both show 0%, and a text that does not change is not written again.
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::string>{"Download Status: Initializing", "Download Status: 0%",
                                        "Download Status: 1%"}));
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Download Status: 99%"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Download Status: Finished"), shown.end());
    EXPECT_EQ(shown.back(), "Sync Status: Finished OK"); // the Sync that follows
    EXPECT_EQ(device->StoredProgramName(0), "Warm");
    EXPECT_EQ(device->StoredProgramName(1), "");
    EXPECT_EQ(device->StoredProgramName(2), "Cold");

    CTonraDoc programs;
    ReadProgramRecord(device->ProgramImage(), 0, programs, 0);
    EXPECT_EQ(programs.gain[0][0], 31);
    ReadProgramRecord(device->ProgramImage(), 1, programs, 0);
    EXPECT_EQ(programs.gain[0][0], 160);
    ReadProgramRecord(device->ProgramImage(), 2, programs, 0);
    EXPECT_EQ(programs.gain[0][0], 32);
}

TEST_F(TransferEngine, DownloadRefusesAListWithAFileItCannotUse) {
    doc.programListFile = folder.filePath("all.lst").toStdString();
    SaveProgramFile(folder.filePath("Good.dat"), 40);
    doc.inputCount[kSlot] = 2; // saved from another device: the online device has other counts
    SaveProgramFile(folder.filePath("Other.dat"), 41);
    doc.inputCount[kSlot] = 4;
    QFile truncated(folder.filePath("Cut.dat"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(doc.StoreSetup().left(100));
    truncated.close();

    doc.programFiles[0] = "Good";
    CTonraDoc before;
    static_cast<CTonraParams&>(before).CopyDevice(doc, kSlot);
    const std::string imageBefore(engine.DataImage());
    const std::string entry = "File List Error: program 2 '";
    for (const auto& [bad, reason] :
         {std::pair{"Other", "Other.dat' has other channel counts than the device"},
          std::pair{"Cut", "Cut.dat' cannot be used: "},
          std::pair{"Gone", "Gone.dat' cannot be read: No such file or directory"}}) {
        doc.programFiles[1] = bad;
        const std::string problem = engine.BuildDownloadImage();
        EXPECT_TRUE(problem.starts_with(entry + reason)) << problem;
        EXPECT_EQ(engine.FileProblem(), problem);
    }
    // Neither the document nor the image changed, so nothing reaches the device.
    testsupport::ExpectSameParams(doc, kSlot, before, kSlot);
    EXPECT_EQ(engine.DataImage(), imageBefore);
    EXPECT_EQ(doc.inputCount[kSlot], 4);
    TickPollCycles(3);
    for (const CommandFrame& frame : SentFrames()) {
        EXPECT_EQ(frame.code, kCmdPoll);
    }

    // A program file outside the list's folder is never read, even when it is a good one.
    QDir(folder.path()).mkdir("list");
    doc.programListFile = folder.filePath("list/all.lst").toStdString();
    doc.programFiles[0] = "";
    doc.programFiles[1] = "../Good";
    EXPECT_EQ(engine.BuildDownloadImage(),
              "File List Error: program 2 '../Good.dat' is not in the list's folder");

    doc.programListFile = folder.filePath("all.lst").toStdString();
    doc.programFiles[0] = "Good";
    doc.programFiles[1] = "Good";
    EXPECT_EQ(engine.BuildDownloadImage(), "");
    EXPECT_EQ(engine.FileProblem(), "");
}

} // namespace
