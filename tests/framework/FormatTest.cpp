#include "framework/Format.h"

#include <gtest/gtest.h>

TEST(Format, FollowsPrintfIncludingRoundingAndLongResults) {
    EXPECT_EQ(Format("%2.2f", 0.125), "0.12"); // printf rounds the binary value
    EXPECT_EQ(Format("%u (%.1f dB)", 10u, 20.0), "10 (20.0 dB)");
    EXPECT_EQ(Format("COM %u", 64u), "COM 64");
    EXPECT_EQ(Format("%s", std::string(1000, 'x').c_str()).size(), 1000u);
    EXPECT_EQ(Format("%s", ""), "");
}
