#include "model/TonraParams.h"

void CTonraParams::CopyDevice(const CTonraParams& source, int device) {
    const auto d = static_cast<std::size_t>(device);
    mute[d] = source.mute[d];
    gain[d] = source.gain[d];
    polarity[d] = source.polarity[d];
    delay[d] = source.delay[d];
    eqType[d] = source.eqType[d];
    eqGain[d] = source.eqGain[d];
    eqFreq[d] = source.eqFreq[d];
    eqWidth[d] = source.eqWidth[d];
    channelName[d] = source.channelName[d];
    mixLevel[d] = source.mixLevel[d];
    xoverType[d] = source.xoverType[d];
    xoverFreq[d] = source.xoverFreq[d];
    xoverSlope[d] = source.xoverSlope[d];
    limThreshold[d] = source.limThreshold[d];
    limAttack[d] = source.limAttack[d];
    limRelease[d] = source.limRelease[d];
}
