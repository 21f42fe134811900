// The shape of the device network: how many devices, channel slots, bands and filters the
// document holds, the parameter kinds, and the fixed-size array types built from them.
#pragma once

#include <array>

namespace model {

constexpr int kDeviceCount = 16;
constexpr int kSlotCount = 16; // inputs in slots 0..7, outputs in slots 8..15
constexpr int kMaxInputs = 8;
constexpr int kMaxOutputs = 8;
constexpr int kOutputSlotBase = 8;
constexpr int kBandCount = 6;
constexpr int kXoverFilterCount = 2; // filter 0 is the high-pass, filter 1 the low-pass
constexpr int kHighPass = 0;
constexpr int kLowPass = 1;
constexpr int kProgramCount = 30;
constexpr int kLockCount = 16;
constexpr int kLcdLineCount = 2;
constexpr int kIpOctetCount = 4;
constexpr int kPlotCurveGroupCount = 5; // In-Gain, In-EQ, Out-Gain, Out-EQ, Out-XOver
constexpr int kChannelNameLength = 6;
constexpr int kProgramNameLength = 12;
constexpr int kPasswordLength = 4;
constexpr int kModelNameLength = 16;

// The parameter kinds of GetParam, SetParam and FormatParam.
enum ParamKind : int {
    kMeterLevel = 0,
    kMute = 1,
    kGain = 2,
    kPolarity = 3,
    kDelay = 4,
    kEqType = 5,
    kEqGain = 6,
    kEqFreq = 7,
    kEqWidth = 8,
    kChannelName = 9,
    kMixLevel = 10,
    kXoverType = 11,
    kXoverFreq = 12,
    kXoverSlope = 13,
    kLimThreshold = 14,
    kLimAttack = 15,
    kLimRelease = 16,
    kAmpGain = 17,
    kSpeakerImpedance = 18,
};
constexpr int kParamKindCount = 19;

// EQ band types (eqType).
constexpr int kEqParametric = 0;
constexpr int kEqLowShelf = 1;
constexpr int kEqHighShelf = 2;

template <typename T> using DeviceArray = std::array<T, kDeviceCount>;
// [device][slot]
template <typename T> using SlotArray = DeviceArray<std::array<T, kSlotCount>>;
// [device][slot][band]
template <typename T> using BandArray = DeviceArray<std::array<std::array<T, kBandCount>, kSlotCount>>;
// [device][output]
template <typename T> using OutputArray = DeviceArray<std::array<T, kMaxOutputs>>;
// [device][output][input]
template <typename T> using MixArray = DeviceArray<std::array<std::array<T, kMaxInputs>, kMaxOutputs>>;
// [device][output][filter]
template <typename T>
using FilterArray = DeviceArray<std::array<std::array<T, kXoverFilterCount>, kMaxOutputs>>;

} // namespace model
