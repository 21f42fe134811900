#include "tests/link/DocFixtures.h"

#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <string>

using namespace model;

namespace linktest {

namespace {
constexpr std::string_view kNameChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
}

void FillDistinctParams(CTonraDoc& doc, int d, int seed) {
    for (int s = 0; s < kSlotCount; ++s) {
        const int k = seed + s;
        doc.mute[d][s] = k % 2;
        doc.gain[d][s] = (k * 7) % 221;
        doc.polarity[d][s] = (k / 2) % 2;
        doc.delay[d][s] = (k * 1301) % 21601;
        for (int b = 0; b < kBandCount; ++b) {
            doc.eqType[d][s][b] = (k + b) % 3;
            doc.eqGain[d][s][b] = (k * 11 + b) % 181;
            doc.eqFreq[d][s][b] = (k * 977 + b * 331) % 19981;
            doc.eqWidth[d][s][b] = doc.eqType[d][s][b] == kEqParametric ? (k + b * 13) % 249 : (k + b) % 2;
        }
        std::string name;
        for (int i = 0; i < 1 + k % kChannelNameLength; ++i) {
            name += kNameChars[static_cast<std::size_t>(k + i) % kNameChars.size()];
        }
        doc.channelName[d][s] = name;
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        const int k = seed + o;
        for (int i = 0; i < kMaxInputs; ++i) {
            doc.mixLevel[d][o][i] = (k + i) % 2;
        }
        for (int f = 0; f < kXoverFilterCount; ++f) {
            doc.xoverType[d][o][f] = (k + f) % 4;
            doc.xoverFreq[d][o][f] = (k * 1231 + f * 97) % 19981;
            doc.xoverSlope[d][o][f] = (k + f * 3) % 8;
        }
        doc.limThreshold[d][o] = (k * 3) % 81;
        doc.limAttack[d][o] = (k * 5) % 107;
        doc.limRelease[d][o] = k % 5;
    }
    doc.factoryEq[d] = seed % 2;
}

int ImageByte(std::string_view image, int offset) {
    const std::size_t at = static_cast<std::size_t>(offset) * 2;
    return devlink::HexPairToByte(image[at], image[at + 1]);
}

} // namespace linktest
