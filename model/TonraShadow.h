// CTonraShadow: the transmitted parameters of every device as last known to be on the device.
// A current value of the document that differs from its shadow is still to be sent.
#pragma once

#include "model/ModelTypes.h"

#include <string>

struct CTonraShadow {
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
};
