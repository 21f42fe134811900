// Frames and encodings byte for byte.
#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace devlink;

namespace {

std::string Framed(const std::string& body, const std::string& checksum) {
    return std::string(1, kDc1) + body + checksum + std::string(1, kDc2);
}

} // namespace

TEST(ProtocolTest, PollFrameForSlotZero) {
    const std::string frame = BuildCommandFrame({.deviceMask = DeviceBit(0), .code = kCmdPoll});
    ASSERT_EQ(frame.size(), 26u);
    EXPECT_EQ(frame, Framed("0001"
                            "00"
                            "0000"
                            "00"
                            "0000"
                            "00"
                            "00"
                            "00",
                            "32"));
    EXPECT_EQ(frame[4], '1');
    int sum = 0;
    for (int i = 0; i < 23; ++i) {
        sum += static_cast<unsigned char>(frame[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(sum, 1074);
}

TEST(ProtocolTest, GainFrameForTwoSlotsOfDeviceThree) {
    const CommandFrame gain{.deviceMask = DeviceBit(3), .code = kCmdGain, .channel = 0x0003, .value = 160};
    const std::string frame = BuildCommandFrame(gain);
    EXPECT_EQ(frame, Framed("0008"
                            "02"
                            "0003"
                            "00"
                            "00A0"
                            "00"
                            "00"
                            "00",
                            "4F"));
    EXPECT_EQ(ParseCommandFrame(frame), gain);
}

TEST(ProtocolTest, SixteenBitFieldsGoMostSignificantFirst) {
    std::string text;
    AppendHexWord(text, 256);
    AppendHexWord(text, 4096);
    EXPECT_EQ(text, "01001000");
    const std::string frame = BuildCommandFrame({.code = kCmdDelay, .value = 4096});
    EXPECT_EQ(frame.substr(13, 4), "1000");
    // Only the low 16 bits travel.
    EXPECT_EQ(BuildCommandFrame({.value = 0x12345}).substr(13, 4), "2345");
    EXPECT_EQ(HexDigit(0xABCD, 3), 'A');
    EXPECT_EQ(HexDigit(0xABCD, 0), 'D');
}

TEST(ProtocolTest, HexPairAcceptsBothCasesAndReadsOtherCharactersAsZero) {
    EXPECT_EQ(HexPairToByte('a', 'F'), 0xAF);
    EXPECT_EQ(HexPairToByte('G', '1'), 0x01);
    EXPECT_EQ(HexPairToByte('f', 'f'), 0xFF);
    EXPECT_EQ(HexPairToByte('\0', '\xFF'), 0);
}

TEST(ProtocolTest, CommandFrameWithBadChecksumOrEndIsRejected) {
    std::string frame = BuildCommandFrame({.deviceMask = 1, .code = kCmdMute, .channel = 1, .value = 1});
    ASSERT_TRUE(ParseCommandFrame(frame));
    std::string badSum = frame;
    badSum[13] = '1';
    EXPECT_FALSE(ParseCommandFrame(badSum));
    std::string badEnd = frame;
    badEnd[25] = 'x';
    EXPECT_FALSE(ParseCommandFrame(badEnd));
    EXPECT_FALSE(ParseCommandFrame(frame.substr(0, 25)));
}

TEST(ProtocolTest, ReplyExampleAndItsChecks) {
    const ReplyFrame reply{.device = 0, .code = kReplyMeters, .index = 1, .subIndex = 0, .value = 0x1234};
    const std::string frame = BuildReplyFrame(reply);
    EXPECT_EQ(frame, Framed("00"
                            "00"
                            "01"
                            "00"
                            "1234",
                            "5C"));
    EXPECT_EQ(CheckReplyFrame(frame), reply);

    std::string badSum = frame;
    badSum[14] = 'D';
    EXPECT_FALSE(CheckReplyFrame(badSum));
    std::string noDc2 = frame;
    noDc2[15] = kDc1;
    EXPECT_FALSE(CheckReplyFrame(noDc2));
    std::string noDc1 = frame;
    noDc1[0] = 'x';
    EXPECT_FALSE(CheckReplyFrame(noDc1));
    EXPECT_FALSE(CheckReplyFrame(frame.substr(0, 15)));
}

TEST(ProtocolTest, MeterLevelsPackFourNibbles) {
    const std::array<int, 4> levels = {1, 2, 3, 15};
    const int value = PackMeterLevels(levels);
    EXPECT_EQ(value, 0x123F);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(MeterLevelOf(value, i), levels[static_cast<std::size_t>(i)]);
    }
}

TEST(ProtocolTest, NamesTravelAsTablePositions) {
    EXPECT_EQ(CTonraDoc::EncodeNameChars("Ab", 4), (std::vector<int>{2, 39, 1, 1}));
    EXPECT_EQ(EncodeWireName("Ab", 4), (std::vector<int>{1, 38, 0, 0}));

    const std::vector<int> ab = {1, 2, 0, 0};
    EXPECT_EQ(DecodeWireName(ab), "AB");
    const std::vector<int> outside = {90, 1};
    EXPECT_EQ(DecodeWireName(outside), " A");
    EXPECT_EQ(WireToNameCode(90), 1);
    EXPECT_EQ(WireToNameCode(85), 86);
    EXPECT_EQ(WireToNameCode(-1), 1);
}

TEST(ProtocolTest, CharactersOutsideTheTableAreSentAsBlanks) {
    // "é" is one character of two bytes: one blank.
    EXPECT_EQ(EncodeWireName("\xC3\xA9|:", 3), (std::vector<int>{0, 0, 85}));
    EXPECT_EQ(EncodeWireName("|:", 2), (std::vector<int>{0, 85}));
    EXPECT_EQ(NameCodeToWire(0), 0);
    EXPECT_EQ(NameCodeToWire(87), 0);
}
