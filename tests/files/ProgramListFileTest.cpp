#include "model/ProgramListFile.h"
#include "FileTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace model;
using namespace testsupport;

TEST(ProgramListFile, NamesSitInZeroFilledRecordsOf12Bytes) {
    ProgramList names;
    names[0] = "Show";
    names[1] = "ABCDEFGHIJKL";
    names[2] = "Thirteen-char"; // cut so it cannot run into the next record
    names[29] = "Last";
    const QByteArray bytes = WriteProgramListBytes(names);
    ASSERT_EQ(bytes.size(), kProgramListFileSize);
    EXPECT_EQ(bytes.mid(0, 12), QByteArray("Show\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(bytes.mid(12, 12), QByteArray("ABCDEFGHIJKL"));
    EXPECT_EQ(bytes.mid(24, 12), QByteArray("Thirteen-cha"));
    EXPECT_EQ(bytes.mid(36, 12), QByteArray(12, '\0'));
    EXPECT_EQ(bytes.mid(348), QByteArray("Last\0\0\0\0\0\0\0\0", 12));

    const ProgramList read = ReadProgramListBytes(bytes);
    EXPECT_EQ(read[0], "Show");
    EXPECT_EQ(read[1], "ABCDEFGHIJKL");
    EXPECT_EQ(read[2], "Thirteen-cha");
    EXPECT_EQ(read[3], "");
    EXPECT_EQ(read[29], "Last");
}

TEST(ProgramListFile, ANameIsEveryNonZeroByteOfItsRecord) {
    QByteArray bytes(kProgramListFileSize, '\0');
    bytes.replace(24, 12, QByteArray("AB\0CD\0\0\0\0\0\0E", 12));
    EXPECT_EQ(ReadProgramListBytes(bytes)[2], "ABCDE");
}

TEST(ProgramListFile, AShortFileGivesItsWholeRecordsOnly) {
    ProgramList names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = "Prog" + std::to_string(i);
    }
    const QByteArray bytes = WriteProgramListBytes(names);
    const ProgramList read = ReadProgramListBytes(bytes.left(100)); // 8 records and 4 bytes
    EXPECT_EQ(read[7], "Prog7");
    EXPECT_EQ(read[8], ""); // the record that is there only in part
    EXPECT_EQ(read[29], "");
    EXPECT_EQ(ReadProgramListBytes({}), ProgramList{});
}

TEST(ProgramListFile, WrittenAndReadOnDisk) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("library.lst").toStdString();
    ProgramList names;
    names[4] = "Concert";
    std::string problem;
    ASSERT_TRUE(WriteProgramListFile(path, names, problem)) << problem;
    EXPECT_EQ(ReadBytes(path).size(), kProgramListFileSize);
    EXPECT_EQ(ReadProgramListFile(path), names);
    EXPECT_EQ(ReadProgramListFile(dir.filePath("missing.lst").toStdString()), std::nullopt);

    EXPECT_FALSE(WriteProgramListFile(dir.filePath("no/such/folder.lst").toStdString(), names, problem));
    EXPECT_FALSE(problem.empty());
}

TEST(ProgramListFile, OnlyExactly360BytesOfPrintableNamesAreAList) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("other.lst").toStdString();
    QByteArray text = "hello this is a text file\n";
    const QList<QPair<QByteArray, std::string>> refused = {
        {text, "a program list is 360 bytes long, but this file is 26 bytes long."},
        {text.repeated(100), "but this file is 2600 bytes long."},
        {text.repeated(14).left(kProgramListFileSize), "entry 3 holds a character that is not printable."},
    };
    for (const auto& [bytes, reason] : refused) {
        WriteBytes(path, bytes);
        std::string problem;
        EXPECT_EQ(ReadProgramListFile(path, problem), std::nullopt);
        EXPECT_TRUE(problem.starts_with("It is no program list: ")) << problem;
        EXPECT_TRUE(problem.ends_with(reason)) << problem;
    }
}
