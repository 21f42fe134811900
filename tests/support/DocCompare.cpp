#include "DocCompare.h"

#include "model/TonraDoc.h"

#include <gtest/gtest.h>

namespace testsupport {

void ExpectSameParams(const CTonraDoc& a, int da, const CTonraDoc& b, int db) {
    EXPECT_EQ(a.mute[da], b.mute[db]);
    EXPECT_EQ(a.gain[da], b.gain[db]);
    EXPECT_EQ(a.polarity[da], b.polarity[db]);
    EXPECT_EQ(a.delay[da], b.delay[db]);
    EXPECT_EQ(a.eqType[da], b.eqType[db]);
    EXPECT_EQ(a.eqGain[da], b.eqGain[db]);
    EXPECT_EQ(a.eqFreq[da], b.eqFreq[db]);
    EXPECT_EQ(a.eqWidth[da], b.eqWidth[db]);
    EXPECT_EQ(a.channelName[da], b.channelName[db]);
    EXPECT_EQ(a.mixLevel[da], b.mixLevel[db]);
    EXPECT_EQ(a.xoverType[da], b.xoverType[db]);
    EXPECT_EQ(a.xoverFreq[da], b.xoverFreq[db]);
    EXPECT_EQ(a.xoverSlope[da], b.xoverSlope[db]);
    EXPECT_EQ(a.limThreshold[da], b.limThreshold[db]);
    EXPECT_EQ(a.limAttack[da], b.limAttack[db]);
    EXPECT_EQ(a.limRelease[da], b.limRelease[db]);
}

} // namespace testsupport
