#include "link/ReplyFields.h"

#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <array>

using namespace model;

namespace devlink {

namespace {

// How a reply code addresses its field.
enum class Address { Slot, SlotBand, Output, OutputInput, OutputFilter };

struct ReplyParam {
    int code;
    int kind;
    Address address;
};

// The parameter replies in code order.
constexpr std::array<ReplyParam, 15> kReplyParams = {{
    {kReplyMute, kMute, Address::Slot},
    {kReplyGain, kGain, Address::Slot},
    {kReplyPolarity, kPolarity, Address::Slot},
    {kReplyDelay, kDelay, Address::Slot},
    {kReplyEqType, kEqType, Address::SlotBand},
    {kReplyEqGain, kEqGain, Address::SlotBand},
    {kReplyEqFreq, kEqFreq, Address::SlotBand},
    {kReplyEqWidth, kEqWidth, Address::SlotBand},
    {kReplyMixLevel, kMixLevel, Address::OutputInput},
    {kReplyXoverFreq, kXoverFreq, Address::OutputFilter},
    {kReplyXoverType, kXoverType, Address::OutputFilter},
    {kReplyXoverSlope, kXoverSlope, Address::OutputFilter},
    {kReplyLimThreshold, kLimThreshold, Address::Output},
    {kReplyLimAttack, kLimAttack, Address::Output},
    {kReplyLimRelease, kLimRelease, Address::Output},
}};

// The single-value commands and the replies that report the same field.
struct CommandReply {
    int command;
    int reply;
};
constexpr std::array<CommandReply, 11> kCommandReplies = {{
    {kCmdMute, kReplyMute},
    {kCmdGain, kReplyGain},
    {kCmdPolarity, kReplyPolarity},
    {kCmdDelay, kReplyDelay},
    {kCmdMixLevel, kReplyMixLevel},
    {kCmdXoverFreq, kReplyXoverFreq},
    {kCmdXoverType, kReplyXoverType},
    {kCmdXoverSlope, kReplyXoverSlope},
    {kCmdLimThreshold, kReplyLimThreshold},
    {kCmdLimAttack, kReplyLimAttack},
    {kCmdLimRelease, kReplyLimRelease},
}};

const ReplyParam* ParamOf(int code) {
    for (const ReplyParam& param : kReplyParams) {
        if (param.code == code) {
            return &param;
        }
    }
    return nullptr;
}

bool InRange(int value, int count) { return value >= 0 && value < count; }

int* SlotField(CTonraParams& p, int kind, int d, int s) {
    switch (kind) {
    case kMute:
        return &p.mute[d][s];
    case kGain:
        return &p.gain[d][s];
    case kPolarity:
        return &p.polarity[d][s];
    default:
        return &p.delay[d][s];
    }
}

int* BandField(CTonraParams& p, int kind, int d, int s, int b) {
    switch (kind) {
    case kEqType:
        return &p.eqType[d][s][b];
    case kEqGain:
        return &p.eqGain[d][s][b];
    case kEqFreq:
        return &p.eqFreq[d][s][b];
    default:
        return &p.eqWidth[d][s][b];
    }
}

int* OutputField(CTonraParams& p, int kind, int d, int o) {
    switch (kind) {
    case kLimThreshold:
        return &p.limThreshold[d][o];
    case kLimAttack:
        return &p.limAttack[d][o];
    default:
        return &p.limRelease[d][o];
    }
}

int* FilterField(CTonraParams& p, int kind, int d, int o, int f) {
    switch (kind) {
    case kXoverFreq:
        return &p.xoverFreq[d][o][f];
    case kXoverType:
        return &p.xoverType[d][o][f];
    default:
        return &p.xoverSlope[d][o][f];
    }
}

// The field in one parameter set; null when the index or sub-index lies outside its array.
int* FieldOf(CTonraParams& p, const ReplyParam& param, int d, int index, int sub) {
    switch (param.address) {
    case Address::Slot:
        return InRange(index, kSlotCount) ? SlotField(p, param.kind, d, index) : nullptr;
    case Address::SlotBand:
        return InRange(index, kSlotCount) && InRange(sub, kBandCount)
                   ? BandField(p, param.kind, d, index, sub)
                   : nullptr;
    case Address::Output:
        return InRange(index, kMaxOutputs) ? OutputField(p, param.kind, d, index) : nullptr;
    case Address::OutputInput:
        return InRange(index, kMaxOutputs) && InRange(sub, kMaxInputs) ? &p.mixLevel[d][index][sub] : nullptr;
    case Address::OutputFilter:
        return InRange(index, kMaxOutputs) && InRange(sub, kXoverFilterCount)
                   ? FilterField(p, param.kind, d, index, sub)
                   : nullptr;
    }
    return nullptr;
}

} // namespace

ReplyTarget ReplyField(CTonraDoc& doc, int device, int code, int index, int subIndex) {
    const ReplyParam* param = ParamOf(code);
    if (!param || !InRange(device, kDeviceCount)) {
        return {};
    }
    int* value = FieldOf(doc, *param, device, index, subIndex);
    return value ? ReplyTarget{value, FieldOf(doc.shadow, *param, device, index, subIndex)} : ReplyTarget{};
}

int ParamKindOfReply(int code) {
    const ReplyParam* param = ParamOf(code);
    return param ? param->kind : -1;
}

int ReplyCodeOfCommand(int command) {
    for (const CommandReply& entry : kCommandReplies) {
        if (entry.command == command) {
            return entry.reply;
        }
    }
    return -1;
}

} // namespace devlink
