// Tokens, token search and blocks of the bulk transfers.
#include "link/BulkTransfer.h"
#include "link/Protocol.h"

#include <gtest/gtest.h>

using namespace devlink;

TEST(BulkTransferTest, TokenSearchSkipsNoiseAndKeepsAPartialToken) {
    std::string buffer = "xy";
    buffer += kAckToken.substr(0, 2);
    EXPECT_FALSE(FindToken(buffer, kAckToken));
    EXPECT_EQ(buffer, kAckToken.substr(0, 2));

    buffer += kAckToken.substr(2);
    buffer += "rest";
    EXPECT_TRUE(FindToken(buffer, kAckToken));
    EXPECT_EQ(buffer, "rest");

    std::string noise = "abcdef";
    EXPECT_FALSE(FindToken(noise, kAckToken));
    EXPECT_EQ(noise, "ef");
    std::string empty;
    EXPECT_FALSE(FindToken(empty, kAckToken));
}

TEST(BulkTransferTest, TokenBytes) {
    EXPECT_EQ(StartSequence(TransferMode::Sync), std::string("\x02\x01\x16\x05\x17\x03<", 7));
    EXPECT_EQ(kBlockHeader, std::string_view("\x02\x09\x03", 3));
    EXPECT_EQ(kBlockTrailer, std::string_view("\x02\x0B\x03", 3));
    EXPECT_EQ(kAckToken, std::string_view("\x02\x06\x03", 3));
}

TEST(BulkTransferTest, BlockCarriesItsSliceAndChecksum) {
    std::string image(2 * kBlockChars, 'A');
    image[kBlockChars] = 'B'; // first character of block 1
    const std::string block = BuildBlock(image, 1);
    ASSERT_EQ(block.size(), 520u);
    EXPECT_TRUE(block.starts_with(kBlockHeader));
    EXPECT_TRUE(block.ends_with(kBlockTrailer));
    EXPECT_EQ(block[3], 'B');
    // 511 times 'A' (0x41) and one 'B' (0x42): 0x41 * 512 + 1 = 0x8201, low byte 01.
    EXPECT_EQ(block.substr(515, 2), "01");
    const auto data = CheckBlock(block);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, std::string_view(image).substr(kBlockChars));

    std::string corrupted = block;
    corrupted[100] = 'C';
    EXPECT_FALSE(CheckBlock(corrupted));
    std::string noTrailer = block;
    noTrailer[518] = 0x06;
    EXPECT_FALSE(CheckBlock(noTrailer));
    EXPECT_FALSE(CheckBlock(block.substr(0, 519)));
}

TEST(BulkTransferTest, BlockPastTheImageEndIsPadded) {
    const std::string block = BuildBlock("AB", 0);
    EXPECT_EQ(block.substr(3, 4), "AB00");
    EXPECT_TRUE(CheckBlock(block));
    EXPECT_TRUE(CheckBlock(BuildBlock("AB", 5)));
}
