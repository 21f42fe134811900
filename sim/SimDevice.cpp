#include "sim/SimDevice.h"

#include "link/BulkTransfer.h"
#include "link/DataImages.h"
#include "link/ImageReader.h"
#include "link/ReplyFields.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>

using namespace devlink;
using namespace model;

namespace sim {

namespace {

// The factory names of the first programs; the others are "User nn".
constexpr std::array<const char*, 10> kFactoryProgramNames = {
    "Default", "Speech",     "Live Band", "Playback", "DJ Set",
    "Theatre", "Conference", "Church",    "Club",     "Outdoor",
};
constexpr std::string_view kInputNameLetters = "ABCDEFGH";
constexpr int kProgramNameOffset = 809; // byte of the name in a program record

// The parameter replies a front panel can cause.
constexpr std::array<int, 15> kFrontPanelCodes = {
    kReplyMute,      kReplyGain,       kReplyPolarity,     kReplyDelay,     kReplyEqType,
    kReplyEqGain,    kReplyEqFreq,     kReplyEqWidth,      kReplyMixLevel,  kReplyXoverFreq,
    kReplyXoverType, kReplyXoverSlope, kReplyLimThreshold, kReplyLimAttack, kReplyLimRelease,
};

// Programme material: a loudness that wanders between quiet and loud passages, with pauses,
// and each input swinging around it at its own pace.
constexpr double kQuietest = 4;
constexpr double kLoudest = 13;
constexpr double kLoudnessStep = 0.6;
constexpr double kPauseChance = 0.01;
constexpr double kRecovery = 0.1; // a pause ends by itself
constexpr double kSwing = 2.5;
constexpr double kPhaseStep = 0.35;
constexpr double kPhaseSpread = 0.11;
constexpr double kJitter = 1.0;
constexpr int kGainStepsPerMeterStep = 12; // 3 dB per meter step, 0.25 dB per gain step

int ToMeter(double level) { return std::clamp(static_cast<int>(std::lround(level)), 0, kMaxMeterLevel); }

int GainOffset(int gain) { return (gain - kGainZeroIndex) / kGainStepsPerMeterStep; }

std::string ProgramNameFor(int program) {
    if (program < static_cast<int>(kFactoryProgramNames.size())) {
        return kFactoryProgramNames[static_cast<std::size_t>(program)];
    }
    return "User " + std::to_string(program + 1);
}

} // namespace

CSimDevice::CSimDevice(CTonraDoc& doc, int slot, const DeviceSetup& setup, unsigned seed)
    : doc_(doc), slot_(slot), random_(seed), programs_(kProgramImageBlocks * kBlockChars, '0') {
    doc_.deviceModel[slot_] = setup.model;
    doc_.SetInputCount(setup.inputs, slot_);
    doc_.SetOutputCount(setup.outputs, slot_);
    const std::vector<int> password = EncodeWireName(setup.password, kPasswordLength);
    std::copy(password.begin(), password.end(), passwordWire_.begin());
    doc_.devicePassword[slot_] = DecodeWireName(passwordWire_);
    doc_.oemPrograms[slot_] = setup.oemPrograms;
    doc_.factoryEq[slot_] = setup.factoryEq ? 1 : 0;
    doc_.securityLocks[slot_].fill(0);
    doc_.mute[slot_].fill(0);
    // Input 1 feeds every output at 0 dB: the model's own top level (1 routes on a routing
    // model, 161 is 0 dB on a mixing one).
    for (auto& levels : doc_.mixLevel[slot_]) {
        levels.fill(0);
        levels[0] = doc_.MaxParamValue(kMixLevel, slot_);
    }
    for (int i = 0; i < kMaxInputs; ++i) {
        doc_.channelName[slot_][i] = std::string("In ") + kInputNameLetters[static_cast<std::size_t>(i)];
        doc_.channelName[slot_][kOutputSlotBase + i] = "Out " + std::to_string(i + 1);
    }
    InitialisePrograms();
}

void CSimDevice::InitialisePrograms() {
    // Each program differs a little from the defaults, so that a recall shows.
    for (int p = kProgramCount - 1; p >= 0; --p) {
        for (int s = 0; s < kSlotCount; ++s) {
            doc_.gain[slot_][s] = kGainZeroIndex - p;
            doc_.eqGain[slot_][s][p % kBandCount] = kEqGainZeroIndex + p % kBandCount;
        }
        doc_.programName[slot_][p] = ProgramNameFor(p);
        WriteProgramRecord(programs_, p, doc_, slot_, doc_.programName[slot_][p]);
        for (auto& bands : doc_.eqGain[slot_]) {
            bands.fill(kEqGainZeroIndex);
        }
    }
    RecallProgram(0);
}

bool CSimDevice::IsAddressed(const CommandFrame& frame) const {
    return (frame.deviceMask & DeviceBit(slot_)) != 0;
}

ReplyFrame CSimDevice::Apply(const CommandFrame& frame) {
    switch (frame.code) {
    case kCmdMute:
    case kCmdGain:
    case kCmdPolarity:
    case kCmdDelay:
    case kCmdEqBand:
        ApplyToSlots(frame);
        break;
    case kCmdChannelNameChar:
        for (int s = 0; s < kSlotCount; ++s) {
            if (frame.channel & (1 << s)) {
                SetChannelNameChar(s, frame.index, frame.value);
            }
        }
        break;
    case kCmdMixLevel:
    case kCmdXoverFreq:
    case kCmdXoverType:
    case kCmdXoverSlope:
    case kCmdLimThreshold:
    case kCmdLimAttack:
    case kCmdLimRelease:
        ApplyToOutputs(frame);
        break;
    case kCmdRecallProgram:
    case kCmdStoreProgram:
        if (frame.value < kProgramCount) {
            frame.code == kCmdRecallProgram ? RecallProgram(frame.value) : StoreProgram(frame.value);
            return {.device = slot_, .code = frame.code, .value = frame.value};
        }
        break;
    case kCmdProgramNameChar:
        if (frame.channel < kProgramNameLength) {
            pendingName_[static_cast<std::size_t>(frame.channel)] = frame.value & kByteMask;
            pendingNameSet_[static_cast<std::size_t>(frame.channel)] = true;
        }
        break;
    case kCmdSecurityLock:
        if (frame.channel < kLockCount) {
            doc_.securityLocks[slot_][static_cast<std::size_t>(frame.channel)] = frame.value & kByteMask;
        }
        break;
    case kCmdPasswordChar:
        if (frame.channel < kPasswordLength) {
            passwordWire_[static_cast<std::size_t>(frame.channel)] = frame.value & kByteMask;
            doc_.devicePassword[slot_] = DecodeWireName(passwordWire_);
        }
        break;
    default:
        break;
    }
    doc_.ValidateDevice(slot_);
    return NextMeterReply();
}

void CSimDevice::ApplyToSlots(const CommandFrame& frame) {
    for (int s = 0; s < kSlotCount; ++s) {
        if (!(frame.channel & (1 << s))) {
            continue;
        }
        if (frame.code == kCmdEqBand) {
            SetField(kReplyEqFreq, s, frame.index, frame.value);
            SetField(kReplyEqGain, s, frame.index, frame.extra1);
            SetField(kReplyEqWidth, s, frame.index, frame.extra2);
            SetField(kReplyEqType, s, frame.index, frame.extra3);
        } else {
            SetField(ReplyCodeOfCommand(frame.code), s, 0, frame.value);
        }
    }
}

void CSimDevice::ApplyToOutputs(const CommandFrame& frame) {
    for (int o = 0; o < kMaxOutputs; ++o) {
        if (frame.channel & (1 << o)) {
            SetField(ReplyCodeOfCommand(frame.code), o, frame.index, frame.value);
        }
    }
}

void CSimDevice::SetField(int replyCode, int index, int subIndex, int value) {
    if (const ReplyTarget target = ReplyField(doc_, slot_, replyCode, index, subIndex)) {
        *target.value = std::max(value, 0);
    }
}

void CSimDevice::SetChannelNameChar(int slot, int position, int wireCode) {
    if (position < 0 || position >= kChannelNameLength) {
        return;
    }
    std::string& name = doc_.channelName[slot_][static_cast<std::size_t>(slot)];
    name.resize(kChannelNameLength, ' ');
    name[static_cast<std::size_t>(position)] =
        CTonraDoc::NameCharTable[static_cast<std::size_t>(WireToNameCode(wireCode) - 1)];
}

void CSimDevice::RecallProgram(int program) {
    ReadProgramRecord(programs_, program, doc_, slot_);
    doc_.currentProgram[slot_] = program;
    doc_.ValidateDevice(slot_);
}

void CSimDevice::StoreProgram(int program) {
    std::vector<int> name =
        EncodeWireName(doc_.programName[slot_][static_cast<std::size_t>(program)], kProgramNameLength);
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (pendingNameSet_[i]) {
            name[i] = pendingName_[i];
        }
    }
    pendingNameSet_.fill(false);
    const std::string text = DecodeWireName(name);
    WriteProgramRecord(programs_, program, doc_, slot_, text);
    doc_.programName[slot_][static_cast<std::size_t>(program)] = text;
    doc_.currentProgram[slot_] = program;
}

std::string CSimDevice::SyncImage() const {
    std::string image(kSyncImageBytes * kCharsPerByte, '0');
    WriteSyncImage(image, doc_, slot_);
    return image;
}

void CSimDevice::TakeDownSyncImage(std::string_view image) {
    ReadDownSyncImage(image, doc_, slot_);
    doc_.ValidateDevice(slot_);
}

void CSimDevice::TakeProgramImage(std::string_view image) {
    programs_.assign(image.substr(0, programs_.size()));
    programs_.resize(kProgramImageBlocks * kBlockChars, '0');
    for (int p = 0; p < kProgramCount; ++p) {
        doc_.programName[slot_][static_cast<std::size_t>(p)] = StoredProgramName(p);
    }
}

std::string CSimDevice::StoredProgramName(int program) const {
    CImageReader reader(programs_, program * kProgramRecordChars + kProgramNameOffset * kCharsPerByte);
    return reader.ReadName(kProgramNameLength);
}

ReplyFrame CSimDevice::NextMeterReply() {
    if (meterGroup_ == 0) {
        AdvanceProgrammeMaterial();
    }
    std::array<int, kMetersPerGroup> levels{};
    for (int i = 0; i < kMetersPerGroup; ++i) {
        levels[static_cast<std::size_t>(i)] = MeterLevel(meterGroup_ * kMetersPerGroup + i);
    }
    const ReplyFrame reply{
        .device = slot_, .code = kReplyMeters, .index = meterGroup_, .value = PackMeterLevels(levels)};
    meterGroup_ = (meterGroup_ + 1) % kMeterGroupCount;
    return reply;
}

void CSimDevice::AdvanceProgrammeMaterial() {
    std::uniform_real_distribution<double> unit(0, 1);
    std::normal_distribution<double> step(0, kLoudnessStep);
    loudness_ = unit(random_) < kPauseChance
                    ? 0
                    : std::clamp(loudness_ + step(random_) + kRecovery, kQuietest, kLoudest);
    std::uniform_real_distribution<double> jitter(-kJitter, kJitter);
    for (std::size_t i = 0; i < phase_.size(); ++i) {
        phase_[i] += kPhaseStep + kPhaseSpread * static_cast<double>(i);
        inputLevel_[i] =
            loudness_ <= 0 ? 0 : ToMeter(loudness_ + kSwing * std::sin(phase_[i]) + jitter(random_));
    }
}

int CSimDevice::MeterLevel(int slot) const {
    const std::size_t s = static_cast<std::size_t>(slot);
    if (doc_.mute[slot_][s] != 0) {
        return 0;
    }
    if (slot < kOutputSlotBase) {
        return slot < doc_.inputCount[slot_] ? ToMeter(inputLevel_[s] + GainOffset(doc_.gain[slot_][s])) : 0;
    }
    const int output = slot - kOutputSlotBase;
    if (output >= doc_.outputCount[slot_]) {
        return 0;
    }
    int level = 0;
    for (int i = 0; i < doc_.inputCount[slot_] && i < kMaxInputs; ++i) {
        if (doc_.mixLevel[slot_][static_cast<std::size_t>(output)][static_cast<std::size_t>(i)] > 0) {
            level = std::max(level, MeterLevel(i));
        }
    }
    return level == 0 ? 0 : ToMeter(level + GainOffset(doc_.gain[slot_][s]));
}

ReplyFrame CSimDevice::RandomFrontPanelChange() {
    const int inputs = std::max(doc_.inputCount[slot_], 1);
    const int outputs = std::max(doc_.outputCount[slot_], 1);
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); };
    const int code =
        kFrontPanelCodes[static_cast<std::size_t>(pick(static_cast<int>(kFrontPanelCodes.size())))];
    const int kind = ParamKindOfReply(code);
    int index = 0;
    int subIndex = 0;
    if (kind <= kEqWidth) {
        const int channel = pick(inputs + outputs);
        index = channel < inputs ? channel : kOutputSlotBase + channel - inputs;
        subIndex = pick(kBandCount);
    } else {
        index = pick(outputs);
        subIndex = kind == kMixLevel ? pick(inputs) : pick(kXoverFilterCount);
    }
    const int bound = kind == kDelay || kind == kMixLevel ? doc_.MaxParamValue(kind, slot_)
                                                          : kParamUpperBound[static_cast<std::size_t>(kind)];
    const int value = std::uniform_int_distribution<int>(0, bound)(random_);
    return FrontPanelChange(code, index, subIndex, value).value_or(NextMeterReply());
}

std::optional<ReplyFrame> CSimDevice::FrontPanelChange(int code, int index, int subIndex, int value) {
    const ReplyTarget target = ReplyField(doc_, slot_, code, index, subIndex);
    if (!target) {
        return std::nullopt;
    }
    *target.value = std::max(value, 0);
    doc_.ValidateDevice(slot_);
    return ReplyFrame{
        .device = slot_, .code = code, .index = index, .subIndex = subIndex, .value = *target.value};
}

} // namespace sim
