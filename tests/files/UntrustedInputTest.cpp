// Files from anywhere: a setup file opens only when its fields fill it exactly, texts are kept
// to what a device can hold, program list entries name files in the list's folder only, and
// what is not a regular file is refused before anything is read.
#include "FileTestSupport.h"
#include "model/DeviceText.h"
#include "model/FileIo.h"
#include "model/ProgramListFile.h"
#include "model/TonraDoc.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace model;
using namespace testsupport;

namespace {

constexpr int kHeaderSize = 34; // marker, version, model, counts
constexpr int kLcdLinesSize = 2 * 27;
constexpr int kFirstNameAt = kHeaderSize + 112; // the name of the first channel block
constexpr int kFirstLcdLineAt = kSetupFileSize - kLcdLinesSize;

std::unique_ptr<CTonraDoc> NewDocument() {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    return doc;
}

} // namespace

TEST(UntrustedSetupFile, OnlyBytesTheFieldsFillExactlyOpen) {
    auto doc = NewDocument();
    doc->gain[0][0] = 170;
    const QByteArray current = doc->StoreSetup();
    const QByteArray legacy = current.mid(kHeaderSize, kLegacySetupFileSize);
    std::string problem;
    ASSERT_EQ(NewDocument()->LoadSetup(legacy, problem), CTonraDoc::kLoadOk) << problem;

    const QList<QByteArray> refused = {
        current + '\0',
        current + QByteArray(3 << 20, ' ').left(kMaxSetupFileBytes - current.size()),
        legacy + '\0',
        legacy.chopped(1),
        QByteArray(kSetupFileSize, '\0'),
    };
    for (const QByteArray& bytes : refused) {
        auto target = NewDocument();
        const QByteArray before = target->StoreSetup();
        EXPECT_EQ(target->LoadSetup(bytes, problem), CTonraDoc::kLoadFailed) << bytes.size();
        EXPECT_FALSE(problem.empty());
        EXPECT_EQ(target->StoreSetup(), before);
    }

    // Random files of every size but the legacy one's: none opens.
    std::mt19937 random(14);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(1, 8192);
    int opened = 0;
    for (int n = 0; n < 200; ++n) {
        QByteArray bytes(size(random), '\0');
        if (bytes.size() == kLegacySetupFileSize) {
            continue;
        }
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
        }
        opened += NewDocument()->LoadSetup(bytes, problem) == CTonraDoc::kLoadOk ? 1 : 0;
    }
    EXPECT_EQ(opened, 0);
}

TEST(UntrustedSetupFile, OpenNamesTheFileAndWhatIsWrong) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("padded.dat").toStdString();
    auto doc = NewDocument();
    WriteBytes(path, doc->StoreSetup() + QByteArray(3 << 20, '\0'));
    CRecordingUi ui;
    const CScopedUiService installed(ui);
    EXPECT_FALSE(ShownAsShell(doc->OnOpenDocument(path), *doc));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("\"" + path + "\""), std::string::npos);
    // The file's real size, though no more than a megabyte of it is read.
    EXPECT_NE(ui.messages[0].find("but this file is 3148396 bytes long."), std::string::npos) << ui.messages[0];
}

TEST(UntrustedSetupFile, TextsAreKeptToWhatTheDeviceCanHold) {
    QByteArray bytes = NewDocument()->StoreSetup();
    // A channel name, the model and a display line full of control characters.
    bytes.replace(kFirstNameAt, 7, QByteArray("\x06Ki\tc\x1b[", 7));
    bytes.replace(9, 17, QByteArray("\x10RLT\x1b[2J\a/../\x7f\x80xy", 17));
    bytes.replace(kFirstLcdLineAt + 1, 4, QByteArray("\r\nA\x1b", 4));
    auto doc = NewDocument();
    std::string problem;
    ASSERT_EQ(doc->LoadSetup(bytes, problem), CTonraDoc::kLoadOk) << problem;
    EXPECT_EQ(doc->channelName[0][0], "Ki c"); // "Ki c  " without its trailing blanks
    EXPECT_EQ(doc->deviceModel[0], "RLT"); // "RLT [2J /../  xy" cut at its first blank
    EXPECT_EQ(doc->lcdLine[0][0].substr(0, 4), "  A ");
    EXPECT_EQ(doc->lcdLine[0][0].size(), 26u);

    EXPECT_EQ(KeepToDeviceChars("a\tb|c~d", 6), "a b c~");
    EXPECT_EQ(KeepToPrintable("a\tb|c\x7f", 4), "a b|");
}

TEST(UntrustedProgramList, EntriesMustBePlainFileNames) {
    for (const std::string name : {"Program01", "A_B", "Live 2", ".hidden", "a.b"}) {
        EXPECT_EQ(ProgramEntryProblem(0, name), "") << name;
    }
    EXPECT_EQ(
        ProgramEntryProblem(4, "../../outsid"),
        "Entry 5 of the program list, \"../../outsid\", is not a file name in the list's folder: it holds a "
        "path separator.");
    for (const std::string name : {"..", ".", "a\\b", "/etc/passwd", "a:b", "tab\there", "q?"}) {
        EXPECT_NE(ProgramEntryProblem(0, name), "") << name;
    }
}

TEST(UntrustedFiles, WhatIsNoRegularFileIsRefusedBeforeReading) {
    QTemporaryDir dir;
    const std::string pipe = dir.filePath("pipe").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    std::string problem;
    EXPECT_FALSE(ReadFileBytes(pipe, kMaxSetupFileBytes, problem));
    EXPECT_FALSE(ReadFileBytes("/dev/zero", kMaxSetupFileBytes, problem));
    EXPECT_NE(problem.find("no regular file"), std::string::npos) << problem;
    EXPECT_FALSE(ReadFileBytes(dir.path().toStdString(), kMaxSetupFileBytes, problem));
    EXPECT_EQ(problem, "It is a folder, not a file.");
    EXPECT_LT(clock.elapsed(), 1000);
}
