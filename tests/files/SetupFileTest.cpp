#include "FileTestSupport.h"
#include "framework/Format.h"
#include "framework/MsgWnd.h"
#include "model/TonraDoc.h"
#include "tests/support/DocCompare.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace model;
using namespace testsupport;

namespace {

// Offsets of the current format, worked out by hand from the field sizes.
constexpr int kModelOffset = 9;
constexpr int kInputCountOffset = 26;
constexpr int kOutputCountOffset = 30;
constexpr int kChannelsOffset = 34;
constexpr int kChannelBlockSize = 119;
constexpr int kOutputsOffset = 1938;
constexpr int kOutputBlockSize = 76;
constexpr int kFactoryEqOffset = 2546;
constexpr int kLinkGroupOffset = 2550;
constexpr int kLcdLinesOffset = 2614;
constexpr int kHeaderSize = 34;
constexpr int kLcdLinesSize = 54;

std::unique_ptr<CTonraDoc> NewDocument(int device) {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    doc->currentDevice = device;
    return doc;
}

// Gives every field a setup file holds a value inside its range that depends on its place
// and on `seed`.
void FillDevice(CTonraDoc& doc, int d, int seed) {
    doc.deviceModel[d] = "NQVE-1888"; // mixing levels up to 161
    doc.inputCount[d] = 1 + seed % kMaxInputs;
    doc.outputCount[d] = kMaxOutputs - seed % kMaxOutputs;
    int counter = seed;
    const auto next = [&counter](int bound) { return counter++ % (bound + 1); };
    for (int s = 0; s < kSlotCount; ++s) {
        doc.mute[d][s] = next(1);
        doc.gain[d][s] = next(220);
        doc.polarity[d][s] = next(1);
        doc.delay[d][s] = next(2400) * 7 % 2401;
        for (int b = 0; b < kBandCount; ++b) {
            doc.eqType[d][s][b] = next(2);
            doc.eqGain[d][s][b] = next(180);
            doc.eqFreq[d][s][b] = next(19980) * 37 % 19981;
            doc.eqWidth[d][s][b] = doc.eqType[d][s][b] == kEqParametric ? next(248) : next(1);
        }
        doc.channelName[d][s] = "C " + std::to_string(s) + static_cast<char>('a' + seed % 26);
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        for (int& level : doc.mixLevel[d][o]) {
            level = next(161);
        }
        for (int x = 0; x < kXoverFilterCount; ++x) {
            doc.xoverType[d][o][x] = next(3);
            doc.xoverFreq[d][o][x] = next(19980) * 53 % 19981;
            doc.xoverSlope[d][o][x] = next(7);
        }
        doc.limThreshold[d][o] = next(80);
        doc.limAttack[d][o] = next(106);
        doc.limRelease[d][o] = next(4);
        doc.ampGain[d][o] = next(190);
        doc.speakerImpedance[d][o] = next(14);
    }
    doc.factoryEq[d] = seed % 2;
    for (int c = 0; c < kSlotCount; ++c) {
        doc.linkGroup[d][c] = (c + seed) % 5;
    }
    doc.lcdLine[d] = {PadText("Main hall " + std::to_string(seed), 26), PadText("Left stack", 26)};
}

// Every field a setup file holds is the same on device `da` of `a` and device `db` of `b`.
void ExpectSameSetup(const CTonraDoc& a, int da, const CTonraDoc& b, int db) {
    EXPECT_EQ(a.deviceModel[da], b.deviceModel[db]);
    EXPECT_EQ(a.inputCount[da], b.inputCount[db]);
    EXPECT_EQ(a.outputCount[da], b.outputCount[db]);
    testsupport::ExpectSameParams(a, da, b, db);
    EXPECT_EQ(a.ampGain[da], b.ampGain[db]);
    EXPECT_EQ(a.speakerImpedance[da], b.speakerImpedance[db]);
    EXPECT_EQ(a.factoryEq[da], b.factoryEq[db]);
    EXPECT_EQ(a.linkGroup[da], b.linkGroup[db]);
    EXPECT_EQ(a.lcdLine[da], b.lcdLine[db]);
}

// A length-prefixed text in one of the longer forms.
QByteArray Byte(int value) { return QByteArray(1, static_cast<char>(value)); }
QByteArray Word(int value) { return IntBytes(value).left(2); }

// The setup file `bytes` with its model text replaced by `text`.
QByteArray WithModelText(const QByteArray& bytes, const QByteArray& text) {
    return bytes.left(kModelOffset) + text + bytes.mid(kInputCountOffset);
}

class RefreshCounter : public CMsgWnd {
public:
    int refreshes = 0;

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        refreshes += message == UM_REFRESH ? 1 : 0;
        return 1;
    }
};

// Files written by a process beyond this size fail, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
};

class SetupFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CRecordingUi ui;
    CScopedUiService installed{ui};

    std::string PathOf(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
};

} // namespace

TEST_F(SetupFile, SavedFileHoldsEveryFieldAtItsOffset) {
    auto doc = NewDocument(2);
    doc->gain[2][5] = 200;
    doc->eqFreq[2][9][3] = 19000;
    doc->eqType[2][9][3] = kEqHighShelf;
    doc->channelName[2][15] = "AB";
    doc->mixLevel[2][2][5] = 1;
    doc->xoverType[2][2][kLowPass] = 3;
    doc->xoverFreq[2][2][kLowPass] = 12345;
    doc->xoverSlope[2][2][kLowPass] = 6;
    doc->limThreshold[2][2] = 77;
    doc->limAttack[2][2] = 99;
    doc->limRelease[2][2] = 4;
    doc->speakerImpedance[2][2] = 13;
    doc->ampGain[2][7] = 190;
    doc->factoryEq[2] = 1;
    doc->linkGroup[2][15] = 3;
    doc->lcdLine[2] = {"Hall", "Stage left"};
    const std::string path = PathOf("layout.dat");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const QByteArray bytes = ReadBytes(path);

    ASSERT_EQ(bytes.size(), kSetupFileSize);
    EXPECT_EQ(IntAt(bytes, 0), -1);
    EXPECT_EQ(bytes.mid(4, 5), QByteArray("\x04"
                                          "4.04"));
    EXPECT_EQ(bytes.mid(kModelOffset, 17), QByteArray("\x10"
                                                      "RLT-1448        "));
    EXPECT_EQ(IntAt(bytes, kInputCountOffset), 4);
    EXPECT_EQ(IntAt(bytes, kOutputCountOffset), 8);
    // Slot 0 after New: mute on, 0 dB.
    EXPECT_EQ(IntAt(bytes, 34), 1);
    EXPECT_EQ(IntAt(bytes, 38), 160);
    EXPECT_EQ(IntAt(bytes, 633), 200); // 34 + 5 x 119 + 4: gain of slot 5
    // Band 3 of slot 9 at 34 + 9 x 119 + 16 + 3 x 16 = 1169: gain, frequency, width, type.
    EXPECT_EQ(IntAt(bytes, 1169), 120);
    EXPECT_EQ(IntAt(bytes, 1173), 19000);
    EXPECT_EQ(IntAt(bytes, 1177), 31);
    EXPECT_EQ(IntAt(bytes, 1181), kEqHighShelf);
    // Name of slot 15 at 34 + 15 x 119 + 112 = 1931, the last bytes before the outputs.
    EXPECT_EQ(bytes.mid(1931, 7), QByteArray("\x06"
                                             "AB    "));
    // Output 2 from 1938 + 2 x 76 = 2090.
    EXPECT_EQ(IntAt(bytes, 2090), 1); // input 0 feeds every output after New
    EXPECT_EQ(IntAt(bytes, 2110), 1); // input 5
    EXPECT_EQ(IntAt(bytes, 2122), 0); // high-pass type
    EXPECT_EQ(IntAt(bytes, 2126), 980);
    EXPECT_EQ(IntAt(bytes, 2130), 3);
    EXPECT_EQ(IntAt(bytes, 2134), 3); // low-pass type
    EXPECT_EQ(IntAt(bytes, 2138), 12345);
    EXPECT_EQ(IntAt(bytes, 2142), 6);
    EXPECT_EQ(IntAt(bytes, 2146), 77);
    EXPECT_EQ(IntAt(bytes, 2150), 99);
    EXPECT_EQ(IntAt(bytes, 2154), 4);
    EXPECT_EQ(IntAt(bytes, 2158), 13); // speaker impedance before amplifier gain
    EXPECT_EQ(IntAt(bytes, 2162), 0);
    EXPECT_EQ(IntAt(bytes, 2542), 190); // 1938 + 7 x 76 + 72: amplifier gain of output 7
    EXPECT_EQ(IntAt(bytes, kFactoryEqOffset), 1);
    EXPECT_EQ(IntAt(bytes, kLinkGroupOffset + 60), 3);
    EXPECT_EQ(bytes.mid(kLcdLinesOffset, 27), QByteArray("\x1a"
                                                         "Hall                      "));
    EXPECT_EQ(bytes.mid(2641), QByteArray("\x1a"
                                          "Stage left                "));
    EXPECT_FALSE(doc->IsModified());
    // Saving leaves the file and nothing else in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"layout.dat"});
}

TEST_F(SetupFile, EveryFieldSurvivesARoundTripIntoAnotherDevice) {
    auto source = NewDocument(3);
    FillDevice(*source, 3, 5);
    const std::string path = PathOf("show.dat");
    ASSERT_TRUE(source->OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(path).size(), kSetupFileSize);

    auto target = NewDocument(9);
    RefreshCounter view;
    ASSERT_TRUE(view.CreateMessageWindow());
    target->SetView(&view);
    target->SetModifiedFlag();
    ASSERT_TRUE(target->OnOpenDocument(path));
    ExpectSameSetup(*source, 3, *target, 9);
    EXPECT_EQ(target->loadResult, CTonraDoc::kLoadOk);
    EXPECT_EQ(target->documentCaption, path);
    EXPECT_EQ(target->GetPathName(), path);
    EXPECT_FALSE(target->IsModified());
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_TRUE(ui.messages.empty());
    // The shadow still holds what the device had, so the engine sends every loaded change.
    EXPECT_EQ(target->shadow.gain[9][0], 160);
    EXPECT_NE(target->gain[9][0], 160);
    EXPECT_EQ(target->gain[8][0], 160); // other devices keep their settings

    // One input and one output still make a file of full size.
    source->inputCount[3] = 1;
    source->outputCount[3] = 1;
    ASSERT_TRUE(source->OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(path).size(), kSetupFileSize);
}

TEST_F(SetupFile, LegacyFileLoadsIntoTheModelAndCountsTheDeviceHas) {
    auto source = NewDocument(0);
    FillDevice(*source, 0, 2);
    source->mute[0][0] = 1;
    const QByteArray current = source->StoreSetup();
    const QByteArray legacy = current.mid(kHeaderSize, kSetupFileSize - kHeaderSize - kLcdLinesSize);
    ASSERT_EQ(legacy.size(), kLegacySetupFileSize);
    ASSERT_EQ(IntAt(legacy, 0), 1);

    auto target = NewDocument(4);
    target->deviceModel[4] = "NQVE-2000";
    target->inputCount[4] = 2;
    target->outputCount[4] = 6;
    target->lcdLine[4] = {"kept", "as well"};
    std::string problem;
    EXPECT_EQ(target->LoadSetup(legacy, problem), CTonraDoc::kLoadOk);
    EXPECT_EQ(target->loadResult, CTonraDoc::kLoadOk);
    EXPECT_EQ(target->deviceModel[4], "NQVE-2000");
    EXPECT_EQ(target->inputCount[4], 2);
    EXPECT_EQ(target->outputCount[4], 6);
    EXPECT_EQ(target->lcdLine[4], (std::array<std::string, 2>{"kept", "as well"}));
    EXPECT_EQ(target->mute[4][0], 1);
    EXPECT_EQ(target->gain[4], source->gain[0]);
    EXPECT_EQ(target->eqWidth[4], source->eqWidth[0]);
    EXPECT_EQ(target->channelName[4], source->channelName[0]);
    EXPECT_EQ(target->mixLevel[4], source->mixLevel[0]);
    EXPECT_EQ(target->ampGain[4], source->ampGain[0]);
    EXPECT_EQ(target->factoryEq[4], source->factoryEq[0]);
    EXPECT_EQ(target->linkGroup[4], source->linkGroup[0]);
}

TEST_F(SetupFile, CountsMustMatchAnOnlineDeviceAndAreAdoptedOffline) {
    const std::string path = PathOf("four-by-eight.dat");
    ASSERT_TRUE(NewDocument(0)->OnSaveDocument(path));

    auto doc = NewDocument(6);
    doc->deviceModel[6] = "KVA-1326";
    doc->inputCount[6] = 2;
    doc->outputCount[6] = 6;
    doc->gain[6][0] = 12;
    doc->deviceOnline[6] = 1;
    doc->documentCaption = "Device Program 1: Live";
    const QByteArray before = doc->StoreSetup();
    EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
    EXPECT_EQ(doc->loadResult, CTonraDoc::kLoadCountsDiffer);
    EXPECT_EQ(doc->StoreSetup(), before);
    EXPECT_EQ(doc->documentCaption, "Device Program 1: Live");
    EXPECT_TRUE(ui.messages.empty()); // the caller tells the user

    doc->deviceOnline[6] = 0;
    EXPECT_TRUE(doc->OnOpenDocument(path));
    EXPECT_EQ(doc->loadResult, CTonraDoc::kLoadOk);
    EXPECT_EQ(doc->deviceModel[6], "RLT-1448");
    EXPECT_EQ(doc->inputCount[6], 4);
    EXPECT_EQ(doc->outputCount[6], 8);
    EXPECT_EQ(doc->gain[6][0], 160);

    // Online with the same counts the file loads, and the device keeps the model it reported.
    doc->deviceModel[6] = "RLTHD-1448";
    doc->deviceOnline[6] = 1;
    doc->gain[6][0] = 12;
    EXPECT_TRUE(doc->OnOpenDocument(path));
    EXPECT_EQ(doc->deviceModel[6], "RLTHD-1448");
    EXPECT_EQ(doc->gain[6][0], 160);
}

TEST_F(SetupFile, ChannelNamesKeepTheirBlanksAndTheModelIsReadUpToItsFirstBlank) {
    auto source = NewDocument(0);
    source->channelName[0][3] = "In A";
    source->channelName[0][8] = " Out 1";
    source->deviceModel[0] = "RLT 1448";
    ASSERT_TRUE(source->OnSaveDocument(PathOf("names.dat")));
    auto target = NewDocument(0);
    ASSERT_TRUE(target->OnOpenDocument(PathOf("names.dat")));
    EXPECT_EQ(target->channelName[0][3], "In A");
    EXPECT_EQ(target->channelName[0][8], " Out 1");
    EXPECT_EQ(target->deviceModel[0], "RLT");
    // Saved again, the name is as it was on disk: padding only, nothing cut.
    ASSERT_TRUE(target->OnSaveDocument(PathOf("again.dat")));
    EXPECT_EQ(ReadBytes(PathOf("again.dat")).mid(kChannelsOffset + 3 * kChannelBlockSize + 112, 7),
              QByteArray("\x06"
                         "In A  "));
}

TEST_F(SetupFile, AFileOfAnotherSizeIsRefusedNamingItsRealSize) {
    for (const qsizetype size : {qsizetype{3000}, qsizetype{3} << 20}) {
        const std::string path = PathOf("big.dat");
        WriteBytes(path, QByteArray(size, '\0')); // a first integer of 0: a file without a header
        ui.messages.clear();
        auto doc = NewDocument(0);
        EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(
            ui.messages[0].find(Format("but this file is %lld bytes long.", static_cast<long long>(size))),
            std::string::npos)
            << ui.messages[0];
    }
}

TEST_F(SetupFile, LongerTextFormsAreRead) {
    auto source = NewDocument(0);
    FillDevice(*source, 0, 7);
    const QByteArray bytes = source->StoreSetup();
    const QByteArray longModel = "NQVE-1888" + QByteArray(291, ' ');
    struct Form {
        QByteArray text;
        std::string model;
    };
    const std::vector<Form> forms = {
        {Byte(0xFF) + Word(16) + "KVA-1326        ", "KVA-1326"},
        {Byte(0xFF) + Word(300) + longModel, "NQVE-1888"},
        {Byte(0xFF) + Word(0xFFFF) + IntBytes(300) + longModel, "NQVE-1888"},
        // 16-bit characters: those beyond 8 bits cannot be shown and become '?'; a model name
        // keeps printable ASCII only, so the accented letter becomes a blank, where it is cut.
        {Byte(0xFF) + Word(0xFFFE) + Byte(4) + QByteArray("Z\0E\0\xE9\0\xAC\x20", 8), "ZE"},
        {Byte(0xFF) + Word(0xFFFE) + Byte(0xFF) + Word(3) + QByteArray("K\0V\0A\0", 6), "KVA"},
    };
    for (const Form& form : forms) {
        auto target = NewDocument(0);
        std::string problem;
        EXPECT_EQ(target->LoadSetup(WithModelText(bytes, form.text), problem), CTonraDoc::kLoadOk) << problem;
        EXPECT_EQ(target->deviceModel[0], form.model);
        // Everything after the longer text is read in its place.
        EXPECT_EQ(target->inputCount[0], source->inputCount[0]);
        EXPECT_EQ(target->linkGroup[0], source->linkGroup[0]);
        EXPECT_EQ(target->lcdLine[0], source->lcdLine[0]);
    }
}

TEST_F(SetupFile, ALengthBeyondTheFileIsRefusedBeforeAnythingIsTaken) {
    const QByteArray bytes = NewDocument(0)->StoreSetup();
    for (const QByteArray& text :
         {Byte(0xFF) + Word(0xFFFF) + IntBytes(0x7FFFFFFF), Byte(0xFF) + Word(0xFFFF) + IntBytes(-1),
          Byte(0xFF) + Word(0xFFFE) + Byte(0xFF) + Word(0xFFFF) + IntBytes(0x40000000),
          Byte(0xFF) + Word(0xFFFD)}) {
        auto doc = NewDocument(0);
        doc->gain[0][1] = 33;
        const QByteArray before = doc->StoreSetup();
        std::string problem;
        EXPECT_EQ(doc->LoadSetup(WithModelText(bytes, text), problem), CTonraDoc::kLoadFailed);
        EXPECT_NE(problem.find("byte 9"), std::string::npos) << problem;
        EXPECT_EQ(doc->StoreSetup(), before);
    }
}

TEST_F(SetupFile, TruncatedFilesChangeNothing) {
    auto source = NewDocument(0);
    FillDevice(*source, 0, 3);
    const QByteArray bytes = source->StoreSetup();
    for (const int size :
         {0, 3, 4, 12, 33, 34, 600, kOutputsOffset, kFactoryEqOffset, 2600, kSetupFileSize - 1}) {
        auto doc = NewDocument(1);
        doc->gain[1][2] = 44;
        doc->deviceModel[1] = "KVA-1326";
        const QByteArray before = doc->StoreSetup();
        std::string problem;
        EXPECT_EQ(doc->LoadSetup(bytes.left(size), problem), CTonraDoc::kLoadFailed) << size;
        EXPECT_EQ(doc->loadResult, CTonraDoc::kLoadFailed);
        EXPECT_EQ(doc->StoreSetup(), before) << size;
        EXPECT_EQ(doc->shadow.gain[1][2], 160);
        EXPECT_FALSE(problem.empty());
    }

    // Opened from disk, the user learns which file and what is wrong with it.
    const std::string path = PathOf("cut.dat");
    WriteBytes(path, bytes.left(1000));
    auto doc = NewDocument(0);
    EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
    EXPECT_EQ(doc->documentCaption, "New");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find(path), std::string::npos);
    EXPECT_NE(ui.messages[0].find("ends at byte 1000"), std::string::npos) << ui.messages[0];
}

TEST_F(SetupFile, ImpossibleChannelCountsAreRefused) {
    const QByteArray bytes = NewDocument(0)->StoreSetup();
    const std::string path = PathOf("counts.dat");
    for (const auto& [inputs, outputs] :
         {std::pair{0, 8}, std::pair{4, 9}, std::pair{9, 0}, std::pair{-1, 4}}) {
        QByteArray patched = bytes;
        PutInt(patched, kInputCountOffset, inputs);
        PutInt(patched, kOutputCountOffset, outputs);
        WriteBytes(path, patched);
        auto doc = NewDocument(0);
        const QByteArray before = doc->StoreSetup();
        ui.messages.clear();
        EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
        EXPECT_EQ(doc->loadResult, CTonraDoc::kLoadFailed);
        EXPECT_EQ(doc->StoreSetup(), before);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(path), std::string::npos);
        EXPECT_NE(ui.messages[0].find(std::to_string(inputs) + " inputs and " + std::to_string(outputs) +
                                      " outputs"),
                  std::string::npos)
            << ui.messages[0];
    }
}

TEST_F(SetupFile, LoadedValuesAreValidatedAndTheShadowIsLeftAlone) {
    QByteArray bytes = NewDocument(0)->StoreSetup();
    PutInt(bytes, kChannelsOffset + 4, 300);                        // gain of slot 0
    PutInt(bytes, kChannelsOffset + kChannelBlockSize + 12, 30000); // delay of slot 1
    PutInt(bytes, kOutputsOffset + kOutputBlockSize + 60, 200);     // attack of output 1
    PutInt(bytes, kFactoryEqOffset, 5);
    auto doc = NewDocument(0);
    std::string problem;
    ASSERT_EQ(doc->LoadSetup(bytes, problem), CTonraDoc::kLoadOk);
    EXPECT_EQ(doc->gain[0][0], 220);
    EXPECT_EQ(doc->delay[0][1], 21600);
    EXPECT_EQ(doc->limAttack[0][1], 106);
    EXPECT_EQ(doc->factoryEq[0], 0);
    EXPECT_EQ(doc->shadow.gain[0][0], 160);
    EXPECT_EQ(doc->shadow.limAttack[0][1], 10);
}

TEST_F(SetupFile, FailedSaveKeepsThePreviousFile) {
    const std::string path = PathOf("keep.dat");
    const QByteArray previous(2000, 'x');
    WriteBytes(path, previous);
    auto doc = NewDocument(0);
    doc->SetModifiedFlag();
    {
        const FileSizeLimit limit(1000);
        EXPECT_FALSE(ShownAsShell(doc->OnSaveDocument(path), *doc));
    }
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Cannot save the setup file \"" + path + "\""), std::string::npos);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.dat"});
}

TEST_F(SetupFile, OpenNamesAFileThatCannotBeRead) {
    const std::string path = PathOf("missing.dat");
    auto doc = NewDocument(0);
    EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
    EXPECT_EQ(doc->loadResult, CTonraDoc::kLoadFailed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Cannot open the setup file \"" + path +
                                  "\".\nNo such file or directory.\nNothing was changed.");
}

TEST_F(SetupFile, TheDocumentKeepsItsFileProblemForTheShellToShow) {
    const std::string path = PathOf("missing.dat");
    auto doc = NewDocument(0);
    EXPECT_FALSE(doc->OnOpenDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc->FileProblem(), "Cannot open the setup file \"" + path +
                                      "\".\nNo such file or directory.\nNothing was changed.");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(doc->FileProblem(), "");
}

TEST(SetupText, PadTextAndCutAtBlank) {
    EXPECT_EQ(PadText("4.04", 4), "4.04");
    EXPECT_EQ(PadText("AB", 6), "AB    ");
    EXPECT_EQ(PadText("ABCDEFGH", 6), "ABCDEF");
    EXPECT_EQ(PadText("", 3), "   ");
    EXPECT_EQ(CutAtBlank("AB CD"), "AB");
    EXPECT_EQ(CutAtBlank("ABC"), "ABC");
    EXPECT_EQ(CutAtBlank(" A"), "");
}
