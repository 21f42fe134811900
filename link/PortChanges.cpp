// SendChanges: every transmitted parameter whose current value differs from its shadow goes
// to the device. Slots (or outputs) that changed to the same value in the same poll cycle
// share one frame, so an edit of linked channels leaves as one frame with all their bits.
#include "link/Port.h"

#include "model/TonraDoc.h"

#include <type_traits>

using namespace devlink;
using namespace model;

namespace {

// The parameters of a slot sent one value per frame, in the order they are sent.
struct SlotParam {
    int code;
    SlotArray<int> CTonraParams::*field;
};
constexpr std::array<SlotParam, 4> kSlotParams = {{
    {kCmdMute, &CTonraParams::mute},
    {kCmdGain, &CTonraParams::gain},
    {kCmdPolarity, &CTonraParams::polarity},
    {kCmdDelay, &CTonraParams::delay},
}};

// The four fields of an EQ band in the order the band frame carries them.
constexpr std::array<BandArray<int> CTonraParams::*, 4> kBandFields = {
    &CTonraParams::eqFreq,
    &CTonraParams::eqGain,
    &CTonraParams::eqWidth,
    &CTonraParams::eqType,
};

struct FilterParam {
    int code;
    FilterArray<int> CTonraParams::*field;
};
constexpr std::array<FilterParam, 3> kFilterParams = {{
    {kCmdXoverFreq, &CTonraParams::xoverFreq},
    {kCmdXoverType, &CTonraParams::xoverType},
    {kCmdXoverSlope, &CTonraParams::xoverSlope},
}};

struct LimiterParam {
    int code;
    OutputArray<int> CTonraParams::*field;
};
constexpr std::array<LimiterParam, 3> kLimiterParams = {{
    {kCmdLimThreshold, &CTonraParams::limThreshold},
    {kCmdLimAttack, &CTonraParams::limAttack},
    {kCmdLimRelease, &CTonraParams::limRelease},
}};

// The number of elements in which two values of a parameter field differ.
template <typename T> int CountDifferences(const T& current, const T& shadow) {
    if constexpr (std::is_same_v<T, int> || std::is_same_v<T, std::string>) {
        return current != shadow ? 1 : 0;
    } else {
        int count = 0;
        for (std::size_t i = 0; i < current.size(); ++i) {
            count += CountDifferences(current[i], shadow[i]);
        }
        return count;
    }
}

template <typename... Fields>
int CountUnsent(const CTonraParams& current, const CTonraParams& shadow, int device, Fields... fields) {
    return (CountDifferences((current.*fields)[device], (shadow.*fields)[device]) + ...);
}

// Room for this many frames must be free before a change is taken from the document: a change
// whose frame would not fit stays pending for the next poll cycle instead of being lost.
constexpr int kRoomForName = kChannelNameLength * kCommandFrameLength;

} // namespace

int CPort::UnsentParamCount() const {
    using P = CTonraParams;
    return CountUnsent(*doc_, doc_->shadow, device_, &P::mute, &P::gain, &P::polarity, &P::delay, &P::eqType,
                       &P::eqGain, &P::eqFreq, &P::eqWidth, &P::channelName, &P::mixLevel, &P::xoverType,
                       &P::xoverFreq, &P::xoverSlope, &P::limThreshold, &P::limAttack, &P::limRelease);
}

template <typename Field> bool CPort::QueueGrouped(int code, int index, int first, int count, Field field) {
    CTonraParams& current = *doc_;
    CTonraParams& shadow = doc_->shadow;
    const int value = field(current, first);
    if (value == field(shadow, first) || sendLength_ + kCommandFrameLength > kSendBufferSize) {
        return false;
    }
    int mask = 1 << first;
    field(shadow, first) = value;
    for (int x = first + 1; x < count; ++x) {
        if (field(current, x) != field(shadow, x) && field(current, x) == value) {
            mask |= 1 << x;
            field(shadow, x) = value;
        }
    }
    QueueFrame(code, OwnBit(), mask, index, value);
    return true;
}

bool CPort::SendChanges() {
    bool queued = false;
    for (int s = 0; s < kSlotCount; ++s) {
        for (const SlotParam& param : kSlotParams) {
            queued |= QueueGrouped(param.code, 0, s, kSlotCount, [&](CTonraParams& p, int x) -> int& {
                return (p.*param.field)[device_][x];
            });
        }
        for (int b = 0; b < kBandCount; ++b) {
            queued |= QueueBand(s, b);
        }
        queued |= QueueChannelName(s);
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        for (int i = 0; i < kMaxInputs; ++i) {
            queued |= QueueGrouped(kCmdMixLevel, i, o, kMaxOutputs,
                                   [&](CTonraParams& p, int x) -> int& { return p.mixLevel[device_][x][i]; });
        }
        for (int f = 0; f < kXoverFilterCount; ++f) {
            for (const FilterParam& param : kFilterParams) {
                queued |= QueueGrouped(param.code, f, o, kMaxOutputs, [&](CTonraParams& p, int x) -> int& {
                    return (p.*param.field)[device_][x][f];
                });
            }
        }
        for (const LimiterParam& param : kLimiterParams) {
            queued |= QueueGrouped(param.code, 0, o, kMaxOutputs, [&](CTonraParams& p, int x) -> int& {
                return (p.*param.field)[device_][x];
            });
        }
    }
    return queued;
}

bool CPort::QueueBand(int s, int b) {
    CTonraParams& current = *doc_;
    CTonraParams& shadow = doc_->shadow;
    const int d = device_;
    const auto pending = [&](int slot, BandArray<int> CTonraParams::*field) {
        return (current.*field)[d][slot][b] != (shadow.*field)[d][slot][b];
    };
    const auto anyPending = [&](int slot) {
        for (const auto field : kBandFields) {
            if (pending(slot, field)) {
                return true;
            }
        }
        return false;
    };
    if (!anyPending(s) || sendLength_ + kCommandFrameLength > kSendBufferSize) {
        return false;
    }
    int mask = 1 << s;
    bool rewritten = false;
    for (int t = s + 1; t < kSlotCount; ++t) {
        // A later slot joins when one of its pending fields equals this slot's, and then takes
        // this slot's whole band.
        bool joins = false;
        for (const auto field : kBandFields) {
            joins = joins || (pending(t, field) && (current.*field)[d][t][b] == (current.*field)[d][s][b]);
        }
        if (!joins) {
            continue;
        }
        mask |= 1 << t;
        for (const auto field : kBandFields) {
            rewritten = rewritten || (current.*field)[d][t][b] != (current.*field)[d][s][b];
            (current.*field)[d][t][b] = (current.*field)[d][s][b];
            (shadow.*field)[d][t][b] = (current.*field)[d][t][b];
        }
    }
    for (const auto field : kBandFields) {
        (shadow.*field)[d][s][b] = (current.*field)[d][s][b];
    }
    QueueFrame(kCmdEqBand, OwnBit(), mask, b, current.eqFreq[d][s][b], current.eqGain[d][s][b],
               current.eqWidth[d][s][b], current.eqType[d][s][b]);
    // The joined slots now hold another band than the operator last saw: the open pages show it.
    if (rewritten && IsShownDevice()) {
        Refresh(ParamsChanged);
    }
    return true;
}

bool CPort::QueueChannelName(int s) {
    const std::string& name = doc_->channelName[device_][s];
    if (name == doc_->shadow.channelName[device_][s] || sendLength_ + kRoomForName > kSendBufferSize) {
        return false;
    }
    doc_->shadow.channelName[device_][s] = name;
    // Names are never grouped: one frame per character position, each for this slot alone.
    const std::vector<int> wire = EncodeWireName(name, kChannelNameLength);
    for (int k = 0; k < kChannelNameLength; ++k) {
        QueueFrame(kCmdChannelNameChar, OwnBit(), 1 << s, k, wire[k]);
    }
    return true;
}
