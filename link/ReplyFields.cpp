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

template <typename Field> ReplyTarget SlotTarget(Field& current, Field& shadow, int d, int s) {
    return {&current[d][s], &shadow[d][s]};
}

template <typename Field> ReplyTarget NestedTarget(Field& current, Field& shadow, int d, int i, int j) {
    return {&current[d][i][j], &shadow[d][i][j]};
}

ReplyTarget SlotField(CTonraDoc& doc, int kind, int d, int s) {
    CTonraShadow& sh = doc.shadow;
    switch (kind) {
    case kMute:
        return SlotTarget(doc.mute, sh.mute, d, s);
    case kGain:
        return SlotTarget(doc.gain, sh.gain, d, s);
    case kPolarity:
        return SlotTarget(doc.polarity, sh.polarity, d, s);
    default:
        return SlotTarget(doc.delay, sh.delay, d, s);
    }
}

ReplyTarget BandField(CTonraDoc& doc, int kind, int d, int s, int b) {
    CTonraShadow& sh = doc.shadow;
    switch (kind) {
    case kEqType:
        return NestedTarget(doc.eqType, sh.eqType, d, s, b);
    case kEqGain:
        return NestedTarget(doc.eqGain, sh.eqGain, d, s, b);
    case kEqFreq:
        return NestedTarget(doc.eqFreq, sh.eqFreq, d, s, b);
    default:
        return NestedTarget(doc.eqWidth, sh.eqWidth, d, s, b);
    }
}

ReplyTarget OutputField(CTonraDoc& doc, int kind, int d, int o) {
    CTonraShadow& sh = doc.shadow;
    switch (kind) {
    case kLimThreshold:
        return SlotTarget(doc.limThreshold, sh.limThreshold, d, o);
    case kLimAttack:
        return SlotTarget(doc.limAttack, sh.limAttack, d, o);
    default:
        return SlotTarget(doc.limRelease, sh.limRelease, d, o);
    }
}

ReplyTarget FilterField(CTonraDoc& doc, int kind, int d, int o, int f) {
    CTonraShadow& sh = doc.shadow;
    switch (kind) {
    case kXoverFreq:
        return NestedTarget(doc.xoverFreq, sh.xoverFreq, d, o, f);
    case kXoverType:
        return NestedTarget(doc.xoverType, sh.xoverType, d, o, f);
    default:
        return NestedTarget(doc.xoverSlope, sh.xoverSlope, d, o, f);
    }
}

} // namespace

ReplyTarget ReplyField(CTonraDoc& doc, int device, int code, int index, int subIndex) {
    const ReplyParam* param = ParamOf(code);
    if (!param || !InRange(device, kDeviceCount)) {
        return {};
    }
    switch (param->address) {
    case Address::Slot:
        return InRange(index, kSlotCount) ? SlotField(doc, param->kind, device, index) : ReplyTarget{};
    case Address::SlotBand:
        return InRange(index, kSlotCount) && InRange(subIndex, kBandCount)
                   ? BandField(doc, param->kind, device, index, subIndex)
                   : ReplyTarget{};
    case Address::Output:
        return InRange(index, kMaxOutputs) ? OutputField(doc, param->kind, device, index) : ReplyTarget{};
    case Address::OutputInput:
        return InRange(index, kMaxOutputs) && InRange(subIndex, kMaxInputs)
                   ? NestedTarget(doc.mixLevel, doc.shadow.mixLevel, device, index, subIndex)
                   : ReplyTarget{};
    case Address::OutputFilter:
        return InRange(index, kMaxOutputs) && InRange(subIndex, kXoverFilterCount)
                   ? FilterField(doc, param->kind, device, index, subIndex)
                   : ReplyTarget{};
    }
    return {};
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
