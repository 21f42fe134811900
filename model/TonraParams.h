// CTonraParams: the parameters that travel to the devices, for every device slot. The document
// holds the current values; its shadow, a second CTonraParams, holds the values last known to
// be on each device, so a current value that differs from its shadow is still to be sent.
#pragma once

#include "model/ModelTypes.h"

#include <string>

struct CTonraParams {
    model::SlotArray<int> mute{};
    model::SlotArray<int> gain{};
    model::SlotArray<int> polarity{};
    model::SlotArray<int> delay{};
    model::BandArray<int> eqType{};
    model::BandArray<int> eqGain{};
    model::BandArray<int> eqFreq{};
    model::BandArray<int> eqWidth{};
    model::SlotArray<std::string> channelName{};
    model::MixArray<int> mixLevel{};
    model::FilterArray<int> xoverType{};
    model::FilterArray<int> xoverFreq{};
    model::FilterArray<int> xoverSlope{};
    model::OutputArray<int> limThreshold{};
    model::OutputArray<int> limAttack{};
    model::OutputArray<int> limRelease{};

    // Takes every parameter of device slot `device` from `source`.
    void CopyDevice(const CTonraParams& source, int device);
};

// The type of CTonraDoc::shadow.
using CTonraShadow = CTonraParams;
