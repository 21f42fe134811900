// The records and images with their fields at their byte offsets, and round trips.
#include "link/DataImages.h"
#include "link/ImageReader.h"
#include "link/ImageWriter.h"
#include "link/Protocol.h"
#include "link/ReplyFields.h"
#include "model/TonraDoc.h"
#include "tests/link/DocFixtures.h"
#include "tests/support/DocCompare.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace devlink;
using namespace model;
using linktest::ImageByte;

namespace {

class DataImagesTest : public ::testing::Test {
protected:
    std::unique_ptr<CTonraDoc> source = std::make_unique<CTonraDoc>();
    std::unique_ptr<CTonraDoc> target = std::make_unique<CTonraDoc>();
    std::string image = std::string(kDataImageChars, 'Z');
};

} // namespace

TEST_F(DataImagesTest, ChannelRecordFieldsAtTheirOffsets) {
    CTonraDoc& doc = *source;
    doc.gain[2][5] = 0xA0;
    doc.polarity[2][5] = 1;
    doc.delay[2][5] = 0x1234;
    doc.eqGain[2][5][0] = 0x11;
    doc.eqFreq[2][5][0] = 0x0ABC;
    doc.eqWidth[2][5][0] = 0x22;
    doc.eqType[2][5][0] = 2;
    doc.eqGain[2][5][5] = 0x33;
    doc.eqType[2][5][5] = 1;
    doc.channelName[2][5] = "Ab";
    CImageWriter writer(image, 10);
    WriteChannelRecord(writer, doc, 2, 5);
    EXPECT_EQ(writer.Position(), 10 + 2 * kChannelRecordBytes);

    const std::string_view record = std::string_view(image).substr(10);
    EXPECT_EQ(ImageByte(record, 0), 0xA0);
    EXPECT_EQ(ImageByte(record, 1), 1);
    EXPECT_EQ(ImageByte(record, 2), 0x12);
    EXPECT_EQ(ImageByte(record, 3), 0x34);
    EXPECT_EQ(ImageByte(record, 4), 0x11);
    EXPECT_EQ(ImageByte(record, 5), 0x0A);
    EXPECT_EQ(ImageByte(record, 6), 0xBC);
    EXPECT_EQ(ImageByte(record, 7), 0x22);
    EXPECT_EQ(ImageByte(record, 8), 2);
    EXPECT_EQ(ImageByte(record, 4 + 5 * 5), 0x33);
    EXPECT_EQ(ImageByte(record, 4 + 5 * 5 + 4), 1);
    EXPECT_EQ(ImageByte(record, 34), 1);  // "A"
    EXPECT_EQ(ImageByte(record, 35), 38); // "b"
    EXPECT_EQ(ImageByte(record, 36), 0);  // blank
    EXPECT_EQ(ImageByte(record, 39), 0);
    EXPECT_EQ(image[10 + 80], 'Z');

    CImageReader reader(image, 10);
    ReadChannelRecord(reader, *target, 7, 1);
    EXPECT_EQ(reader.Position(), 90);
    EXPECT_EQ(target->delay[7][1], 0x1234);
    EXPECT_EQ(target->eqFreq[7][1][0], 0x0ABC);
    EXPECT_EQ(target->eqType[7][1][5], 1);
    EXPECT_EQ(target->channelName[7][1], "Ab");
}

TEST_F(DataImagesTest, OutputRecordFieldsAtTheirOffsets) {
    CTonraDoc& doc = *source;
    doc.mixLevel[0][3] = {1, 0, 161, 0, 0, 0, 0, 7};
    doc.xoverType[0][3] = {3, 1};
    doc.xoverFreq[0][3] = {0x4E20, 0x0102};
    doc.xoverSlope[0][3] = {7, 2};
    doc.limThreshold[0][3] = 80;
    doc.limAttack[0][3] = 106;
    doc.limRelease[0][3] = 4;
    CImageWriter writer(image);
    WriteOutputRecord(writer, doc, 0, 3);
    EXPECT_EQ(writer.Position(), 2 * kOutputRecordBytes);
    EXPECT_EQ(ImageByte(image, 0), 1);
    EXPECT_EQ(ImageByte(image, 2), 161);
    EXPECT_EQ(ImageByte(image, 7), 7);
    EXPECT_EQ(ImageByte(image, 8), 3);
    EXPECT_EQ(ImageByte(image, 9), 0x4E);
    EXPECT_EQ(ImageByte(image, 10), 0x20);
    EXPECT_EQ(ImageByte(image, 11), 7);
    EXPECT_EQ(ImageByte(image, 12), 1);
    EXPECT_EQ(ImageByte(image, 15), 2);
    EXPECT_EQ(ImageByte(image, 16), 80);
    EXPECT_EQ(ImageByte(image, 17), 106);
    EXPECT_EQ(ImageByte(image, 18), 4);

    CImageReader reader(image);
    ReadOutputRecord(reader, *target, 0, 6);
    EXPECT_EQ(target->mixLevel[0][6], doc.mixLevel[0][3]);
    EXPECT_EQ(target->xoverFreq[0][6], doc.xoverFreq[0][3]);
    EXPECT_EQ(target->limAttack[0][6], 106);
}

TEST_F(DataImagesTest, SyncImageRoundTripWithFieldsAtTheirOffsets) {
    CTonraDoc& doc = *source;
    linktest::FillDistinctParams(doc, 4, 3);
    doc.deviceModel[4] = "NQVE-1888";
    doc.inputCount[4] = 8;
    doc.outputCount[4] = 6;
    doc.devicePassword[4] = "AB1";
    doc.currentProgram[4] = 17;
    doc.factoryEq[4] = 1;
    doc.securityLocks[4][10] = 1;
    doc.oemPrograms[4] = 3;
    for (int p = 0; p < kProgramCount; ++p) {
        doc.programName[4][p] = "Prog " + std::to_string(p);
    }
    WriteSyncImage(image, doc, 4);

    EXPECT_EQ(ImageByte(image, 0), 'N');
    EXPECT_EQ(ImageByte(image, 8), '8');
    EXPECT_EQ(ImageByte(image, 9), 0);
    EXPECT_EQ(ImageByte(image, 16), 8);
    EXPECT_EQ(ImageByte(image, 17), 6);
    EXPECT_EQ(ImageByte(image, 18), 1);  // "A"
    EXPECT_EQ(ImageByte(image, 20), 28); // "1"
    EXPECT_EQ(ImageByte(image, 21), 0);
    EXPECT_EQ(ImageByte(image, 22), 17);
    EXPECT_EQ(ImageByte(image, 23), 1);
    EXPECT_EQ(ImageByte(image, 24 + 10), 1);
    EXPECT_EQ(ImageByte(image, 40 + 5), doc.mute[4][5]);
    EXPECT_EQ(ImageByte(image, 56), 3);
    EXPECT_EQ(ImageByte(image, 256), doc.gain[4][0]);
    EXPECT_EQ(ImageByte(image, 256 + 40 * 15), doc.gain[4][15]);
    EXPECT_EQ(ImageByte(image, 896), doc.mixLevel[4][0][0]);
    EXPECT_EQ(ImageByte(image, 896 + 19 * 7 + 18), doc.limRelease[4][7]);
    EXPECT_EQ(ImageByte(image, 1280), 16);               // "P" of program 0
    EXPECT_EQ(ImageByte(image, 1280 + 12 * 14 + 5), 28); // "1" of "Prog 14"
    EXPECT_EQ(ImageByte(image, 1536 + 5), 28);           // "1" of "Prog 15"
    EXPECT_EQ(ImageByte(image, 1791), 0);
    EXPECT_EQ(image[2 * 1792], 'Z');

    ReadSyncImage(image, *target, 9);
    EXPECT_EQ(target->deviceModel[9], "NQVE-1888");
    EXPECT_EQ(target->inputCount[9], 8);
    EXPECT_EQ(target->outputCount[9], 6);
    EXPECT_EQ(target->devicePassword[9], "AB1");
    EXPECT_EQ(target->currentProgram[9], 17);
    EXPECT_EQ(target->factoryEq[9], 1);
    EXPECT_EQ(target->securityLocks[9], doc.securityLocks[4]);
    EXPECT_EQ(target->oemPrograms[9], 3);
    EXPECT_EQ(target->programName[9], doc.programName[4]);
    testsupport::ExpectSameParams(doc, 4, *target, 9);
}

TEST_F(DataImagesTest, SyncImageReaderKeepsUntrustedFieldsInRange) {
    WriteSyncImage(image, *source, 0);
    CImageWriter writer(image, 2 * 16);
    writer.WriteByte(9);   // input count
    writer.WriteByte(200); // output count
    writer.Seek(2 * 22);
    writer.WriteByte(30); // current program
    writer.WriteByte(7);  // factory EQ
    writer.Seek(2 * 56);
    writer.WriteByte(250); // OEM programs
    writer.Seek(2 * 18);
    writer.WriteByte(200); // password character outside the table
    target->inputCount[0] = 3;
    target->outputCount[0] = 5;
    ReadSyncImage(image, *target, 0);
    EXPECT_EQ(target->inputCount[0], 3);
    EXPECT_EQ(target->outputCount[0], 5);
    EXPECT_EQ(target->currentProgram[0], 0);
    EXPECT_EQ(target->factoryEq[0], 0);
    EXPECT_EQ(target->oemPrograms[0], kProgramCount);
    EXPECT_EQ(target->devicePassword[0], "");
    EXPECT_EQ(target->deviceModel[0], "RLT-1448");

    // A short image reads as zeros beyond its end; a device slot outside 0..15 is ignored.
    ReadSyncImage(std::string_view(image).substr(0, 40), *target, 1);
    EXPECT_EQ(target->deviceModel[1], "RLT-1448");
    EXPECT_EQ(target->inputCount[1], 4);
    EXPECT_EQ(target->gain[1][0], 0);
    ReadSyncImage(image, *target, 16);
    ReadSyncImage(image, *target, -1);

    // A model name with an escape sequence and a bell keeps printable characters only.
    writer.Seek(0);
    for (const char c : std::string_view("RLT\x1b[2J\a/../\xff-9")) {
        writer.WriteByte(static_cast<unsigned char>(c));
    }
    ReadSyncImage(image, *target, 0);
    EXPECT_EQ(target->deviceModel[0], "RLT [2J /../ -9");
}

TEST_F(DataImagesTest, DownSyncImageLayout) {
    CTonraDoc& doc = *source;
    linktest::FillDistinctParams(doc, 1, 8);
    doc.factoryEq[1] = 1;
    WriteDownSyncImage(image, doc, 1);
    EXPECT_EQ(ImageByte(image, 0), doc.gain[1][0]);
    EXPECT_EQ(ImageByte(image, 640), doc.mixLevel[1][0][0]);
    for (int s = 0; s < kSlotCount; ++s) {
        EXPECT_EQ(ImageByte(image, 792 + s), doc.mute[1][s]);
    }
    EXPECT_EQ(ImageByte(image, 808), 1);
    EXPECT_EQ(image[2 * 809], 'Z');

    ReadDownSyncImage(image, *target, 2);
    testsupport::ExpectSameParams(doc, 1, *target, 2);
    EXPECT_EQ(target->factoryEq[2], 1);
}

TEST_F(DataImagesTest, ProgramRecordLayoutAndFill) {
    CTonraDoc& doc = *source;
    linktest::FillDistinctParams(doc, 0, 5);
    doc.factoryEq[0] = 1;
    WriteProgramRecord(image, 7, doc, 0, "Live Band");
    const std::string_view record = std::string_view(image).substr(7 * 2048, 2048);
    EXPECT_EQ(ImageByte(record, 0), doc.gain[0][0]);
    EXPECT_EQ(ImageByte(record, 640), doc.mixLevel[0][0][0]);
    EXPECT_EQ(ImageByte(record, 792), 1);
    EXPECT_EQ(ImageByte(record, 793 + 15), doc.mute[0][15]);
    EXPECT_EQ(ImageByte(record, 809), 12); // "L"
    EXPECT_EQ(ImageByte(record, 813), 0);  // blank
    EXPECT_EQ(ImageByte(record, 820), 0);
    for (int offset = 821; offset < 1024; ++offset) {
        ASSERT_EQ(ImageByte(record, offset), 0xFF) << offset;
    }
    EXPECT_EQ(image[6 * 2048 + 2047], 'Z');
    EXPECT_EQ(image[8 * 2048], 'Z');

    EXPECT_EQ(ReadProgramRecord(image, 7, *target, 3), "Live Band");
    testsupport::ExpectSameParams(doc, 0, *target, 3);
    EXPECT_EQ(target->factoryEq[3], 1);
    EXPECT_EQ(ReadProgramRecord(image, 30, *target, 3), "");
}

TEST_F(DataImagesTest, ReaderAndWriterStayInsideTheImage) {
    std::string small = "1F";
    CImageReader reader(small);
    EXPECT_EQ(reader.ReadByte(), 0x1F);
    EXPECT_EQ(reader.ReadWord(), 0);
    reader.Seek(-6);
    EXPECT_EQ(reader.ReadByte(), 0);

    CImageWriter writer(small, 0);
    writer.WriteWord(0xABCD);
    EXPECT_EQ(small, "AB");
    writer.Seek(-2);
    writer.WriteByte(0x12);
    EXPECT_EQ(small, "AB");
    writer.Seek(1);
    writer.FillTo(4, 0xFF);
    EXPECT_EQ(small, "AF");
}

TEST(ReplyFieldsTest, RepliesAddressTheirFieldsAndNothingOutsideTheArrays) {
    auto doc = std::make_unique<CTonraDoc>();
    EXPECT_EQ(ReplyField(*doc, 3, kReplyGain, 15, 0).value, &doc->gain[3][15]);
    EXPECT_EQ(ReplyField(*doc, 3, kReplyGain, 15, 0).shadow, &doc->shadow.gain[3][15]);
    EXPECT_EQ(ReplyField(*doc, 3, kReplyEqFreq, 2, 5).value, &doc->eqFreq[3][2][5]);
    EXPECT_EQ(ReplyField(*doc, 3, kReplyEqType, 2, 5).shadow, &doc->shadow.eqType[3][2][5]);
    EXPECT_EQ(ReplyField(*doc, 0, kReplyMixLevel, 7, 7).value, &doc->mixLevel[0][7][7]);
    EXPECT_EQ(ReplyField(*doc, 0, kReplyXoverFreq, 1, 1).value, &doc->xoverFreq[0][1][1]);
    EXPECT_EQ(ReplyField(*doc, 0, kReplyXoverType, 1, 0).value, &doc->xoverType[0][1][0]);
    EXPECT_EQ(ReplyField(*doc, 0, kReplyLimRelease, 7, 99).value, &doc->limRelease[0][7]);

    EXPECT_FALSE(ReplyField(*doc, 3, kReplyGain, 16, 0));
    EXPECT_FALSE(ReplyField(*doc, 3, kReplyEqGain, 0, 6));
    EXPECT_FALSE(ReplyField(*doc, 3, kReplyMixLevel, 8, 0));
    EXPECT_FALSE(ReplyField(*doc, 3, kReplyMixLevel, 0, 8));
    EXPECT_FALSE(ReplyField(*doc, 3, kReplyXoverSlope, 0, 2));
    EXPECT_FALSE(ReplyField(*doc, 3, kReplyLimThreshold, 8, 0));
    EXPECT_FALSE(ReplyField(*doc, 16, kReplyGain, 0, 0));
    EXPECT_FALSE(ReplyField(*doc, 0, kReplyMeters, 0, 0));
    EXPECT_FALSE(ReplyField(*doc, 0, kReplyContentChanged, 0, 0));
    EXPECT_FALSE(ReplyField(*doc, 0, 0xFF, 0, 0));

    EXPECT_EQ(ParamKindOfReply(kReplyXoverFreq), kXoverFreq);
    EXPECT_EQ(ReplyCodeOfCommand(kCmdXoverType), kReplyXoverType);
    EXPECT_EQ(ReplyCodeOfCommand(kCmdLimRelease), kReplyLimRelease);
    EXPECT_EQ(ReplyCodeOfCommand(kCmdEqBand), -1);
}

TEST_F(DataImagesTest, AnyImageReadsIntoFieldsThatNameRealPrograms) {
    std::mt19937 random(11);
    const std::string digits = "0123456789ABCDEFxyz";
    for (int round = 0; round < 20; ++round) {
        for (char& c : image) {
            c = digits[random() % digits.size()];
        }
        ReadSyncImage(image, *target, 0);
        EXPECT_LT(target->currentProgram[0], kProgramCount);
        EXPECT_LE(target->oemPrograms[0], kProgramCount);
        EXPECT_LE(target->deviceModel[0].size(), 16u);
        EXPECT_LE(target->inputCount[0], kMaxInputs);
        EXPECT_LE(target->outputCount[0], kMaxOutputs);
        EXPECT_LE(target->factoryEq[0], 1);
        EXPECT_LE(ReadProgramRecord(image, round, *target, 1).size(), 12u);
    }
}
