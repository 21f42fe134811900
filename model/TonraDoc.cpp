#include "model/TonraDoc.h"

#include "framework/MsgWnd.h"
#include "model/DeviceText.h"
#include "model/EditGesture.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"

#include <algorithm>
#include <type_traits>
#include <utility>

using namespace model;

namespace {

const std::string kDefaultModel = "RLT-1448";
constexpr int kDefaultInputCount = 4;
constexpr int kDefaultOutputCount = 8;
constexpr char kUnsetPasswordChar = '\xFF';
const std::string kNewCaption = "New";

// Values of every channel and output after New.
constexpr int kNewMute = 1;
constexpr int kNewGain = 160;
constexpr int kNewEqGain = 120;
constexpr int kNewFrequency = 980; // 1000 Hz
constexpr int kNewWidth = 31;      // a third of an octave
constexpr int kNewSlope = 3;       // 24 dB/octave
constexpr int kNewThreshold = 40;  // 0 dBu
constexpr int kNewAttack = 10;
constexpr int kNewRelease = 2;

// The model prefixes that tell the families apart, tested in this order.
struct FamilyPrefix {
    std::string_view prefix;
    int family;
};
constexpr std::array<FamilyPrefix, 4> kFamilyPrefixes = {{
    {"ZE", kFamilyZe},
    {"KVA", kFamilyKva},
    {"RLT", kFamilyRlt},
    {"NQVE", kFamilyNqve},
}};
constexpr std::string_view kLongDelayPrefix = "RLT";

// Sets every element of a (nested) std::array.
template <typename T, typename V> void FillAll(T& target, const V& value) {
    if constexpr (std::is_same_v<T, V>) {
        target = value;
    } else {
        for (auto& element : target) {
            FillAll(element, value);
        }
    }
}

bool IsBand(int index) { return index >= 0 && index < kBandCount; }
bool IsInput(int index) { return index >= 0 && index < kMaxInputs; }
bool IsFilter(int index) { return index >= 0 && index < kXoverFilterCount; }
bool IsOutputKind(int kind) { return kind >= kMixLevel && kind <= kSpeakerImpedance; }

// Output-only arrays: an output slot counts from the first output slot.
int OutputOfSlot(int slot) { return slot >= kOutputSlotBase ? slot - kOutputSlotBase : slot; }

void TrimTrailingBlanks(std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
}

} // namespace

CTonraDoc::CTonraDoc() {
    FillAll(deviceModel, kDefaultModel);
    FillAll(inputCount, kDefaultInputCount);
    FillAll(outputCount, kDefaultOutputCount);
    FillAll(devicePassword, std::string(kPasswordLength, kUnsetPasswordChar));
    FillAll(eqBandOn, 1);
    FillAll(plotOutputShown, 1);
    FillAll(plotCurveShown, 1);
}

// ---- Channel counts ----

int CTonraDoc::ResolveDevice(int device) const {
    const int d = device == -1 ? currentDevice : device;
    return d >= 0 && d < kDeviceCount ? d : -1;
}

int CTonraDoc::GetInputCount(int device) const {
    const int d = ResolveDevice(device);
    return d < 0 ? 0 : inputCount[d];
}

int CTonraDoc::GetOutputCount(int device) const {
    const int d = ResolveDevice(device);
    return d < 0 ? 0 : outputCount[d];
}

int CTonraDoc::GetChannelCount(int device) const { return GetInputCount(device) + GetOutputCount(device); }

void CTonraDoc::SetInputCount(int count, int device) {
    if (const int d = ResolveDevice(device); d >= 0) {
        inputCount[d] = count;
    }
}

void CTonraDoc::SetOutputCount(int count, int device) {
    if (const int d = ResolveDevice(device); d >= 0) {
        outputCount[d] = count;
    }
}

int CTonraDoc::ChannelSlot(int channel, int device) const {
    const int d = ResolveDevice(device);
    if (d < 0 || channel < 0) {
        return -1;
    }
    const int slot = channel < inputCount[d] ? channel : channel - inputCount[d] + kOutputSlotBase;
    return slot >= 0 && slot < kSlotCount ? slot : -1;
}

// ---- Parameters ----

const int* CTonraDoc::ParamField(int kind, int d, int slot, int index) const {
    const int out = OutputOfSlot(slot);
    switch (kind) {
    case kMeterLevel:
        return &meterLevel[d][slot];
    case kMute:
        return &mute[d][slot];
    case kGain:
        return &gain[d][slot];
    case kPolarity:
        return &polarity[d][slot];
    case kDelay:
        return &delay[d][slot];
    case kEqType:
        return IsBand(index) ? &eqType[d][slot][index] : nullptr;
    case kEqGain:
        return IsBand(index) ? &eqGain[d][slot][index] : nullptr;
    case kEqFreq:
        return IsBand(index) ? &eqFreq[d][slot][index] : nullptr;
    case kEqWidth:
        return IsBand(index) ? &eqWidth[d][slot][index] : nullptr;
    case kMixLevel:
        return IsInput(index) ? &mixLevel[d][out][index] : nullptr;
    case kXoverType:
        return IsFilter(index) ? &xoverType[d][out][index] : nullptr;
    case kXoverFreq:
        return IsFilter(index) ? &xoverFreq[d][out][index] : nullptr;
    case kXoverSlope:
        return IsFilter(index) ? &xoverSlope[d][out][index] : nullptr;
    case kLimThreshold:
        return &limThreshold[d][out];
    case kLimAttack:
        return &limAttack[d][out];
    case kLimRelease:
        return &limRelease[d][out];
    case kAmpGain:
        return &ampGain[d][out];
    case kSpeakerImpedance:
        return &speakerImpedance[d][out];
    default:
        return nullptr; // the channel name is text; other kinds do not exist
    }
}

int* CTonraDoc::ParamField(int kind, int d, int slot, int index) {
    return const_cast<int*>(std::as_const(*this).ParamField(kind, d, slot, index));
}

int CTonraDoc::ParamUpperBound(int kind, int d) const {
    if (kind == kDelay || kind == kMixLevel) {
        return MaxParamValue(kind, d);
    }
    return kParamUpperBound[static_cast<std::size_t>(kind)];
}

int CTonraDoc::GetParam(int kind, int channel, int index, int device) const {
    const int d = ResolveDevice(device);
    const int slot = ChannelSlot(channel, d);
    const int* field = slot < 0 ? nullptr : ParamField(kind, d, slot, index);
    if (!field) {
        return 0;
    }
    int value = kind == kMeterLevel ? *field : std::min(*field, ParamUpperBound(kind, d));
    if (kind == kEqWidth && eqType[d][slot][index] != kEqParametric) {
        // A shelf keeps only its slope flag: steep or gentle.
        value = value != 0 ? kMaxWidth : 0;
    }
    return std::max(value, 0);
}

int CTonraDoc::SetParam(int kind, int value, int channel, int index, int device) {
    const int d = ResolveDevice(device);
    if (d < 0) {
        return 0;
    }
    const int count = GetChannelCount(d);
    if (kind == kMeterLevel || kind == kChannelName || kind < 0 || kind >= kParamKindCount) {
        return count;
    }
    const int clamped = std::clamp(value, 0, ParamUpperBound(kind, d));
    // A parameter without a band, input or filter is one field, whatever index it was given.
    const int recordedIndex = DescriptorOf(kind).index == IndexKind::None ? 0 : index;
    for (int i = 0; i < count; ++i) {
        if (!IsLinked(i, channel, d) || (IsOutputKind(kind) && i < inputCount[d])) {
            continue;
        }
        const int slot = ChannelSlot(i, d);
        if (int* field = slot < 0 ? nullptr : ParamField(kind, d, slot, index); field && *field != clamped) {
            Record(d,
                   {static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(slot),
                    static_cast<std::uint8_t>(recordedIndex)},
                   *field, clamped);
            *field = clamped;
            SetModifiedFlag();
        }
    }
    return count;
}

std::string CTonraDoc::GetParamText(int kind, int channel, int device) const {
    const int d = ResolveDevice(device);
    const int slot = ChannelSlot(channel, d);
    return kind == kChannelName && slot >= 0 ? channelName[d][slot] : std::string();
}

void CTonraDoc::SetParamText(int kind, const std::string& text, int channel, int device) {
    const int d = ResolveDevice(device);
    const int slot = ChannelSlot(channel, d);
    if (kind == kChannelName && slot >= 0) {
        const std::string before = channelName[d][slot];
        channelName[d][slot] = DecodeNameChars(EncodeNameChars(text, kChannelNameLength));
        if (channelName[d][slot] != before) {
            RecordName(d, slot, before, channelName[d][slot]);
            SetModifiedFlag();
        }
    }
}

std::string CTonraDoc::FormatParam(int kind, int channel, int index, int device) const {
    const int d = ResolveDevice(device);
    const int slot = ChannelSlot(channel, d);
    if (slot < 0 || !ParamField(kind, d, slot, index)) {
        return {};
    }
    return DescriptorOf(kind).Show(GetParam(kind, channel, index, d), {*this, channel, index, d});
}

double CTonraDoc::ParseDecimal(const std::string& text) { return model::ParseDecimal(text); }

int CTonraDoc::ModelFamily(int device) const {
    const int d = ResolveDevice(device);
    if (d < 0) {
        return kFamilyRlt;
    }
    for (const FamilyPrefix& entry : kFamilyPrefixes) {
        if (deviceModel[d].starts_with(entry.prefix)) {
            return entry.family;
        }
    }
    return kFamilyRlt;
}

int CTonraDoc::MaxParamValue(int kind, int device) const {
    const int d = ResolveDevice(device);
    if (d < 0) {
        return 0;
    }
    switch (kind) {
    case kDelay:
        return deviceModel[d].starts_with(kLongDelayPrefix) ? kMaxDelayLong : kMaxDelayShort;
    case kMixLevel:
        // The family of the device itself: a device of another family than the one shown
        // keeps its own range.
        return ModelFamily(d) == kFamilyNqve ? kMaxSourceLevelMixing : kMaxSourceLevelRouting;
    default:
        return 0;
    }
}

bool CTonraDoc::IsLinked(int channelA, int channelB, int device) const {
    if (channelA == channelB) {
        return true;
    }
    const int d = ResolveDevice(device);
    if (d < 0 || channelA < 0 || channelB < 0 || channelA >= kSlotCount || channelB >= kSlotCount) {
        return false;
    }
    const bool sameSide = (channelA < inputCount[d]) == (channelB < inputCount[d]);
    const int group = linkGroup[d][channelA];
    return sameSide && group != 0 && group == linkGroup[d][channelB];
}

// ---- Whole-device operations ----

void CTonraDoc::ValidateDevice(int device) {
    const int d = ResolveDevice(device);
    if (d < 0) {
        return;
    }
    if (factoryEq[d] < 0 || factoryEq[d] > 1) {
        factoryEq[d] = 0;
    }
    const auto limit = [](int& value, int bound) { value = std::clamp(value, 0, bound); };
    for (int s = 0; s < kSlotCount; ++s) {
        TrimTrailingBlanks(channelName[d][s]);
        limit(mute[d][s], kParamUpperBound[kMute]);
        limit(gain[d][s], kParamUpperBound[kGain]);
        limit(polarity[d][s], kParamUpperBound[kPolarity]);
        limit(delay[d][s], MaxParamValue(kDelay, d));
        for (int b = 0; b < kBandCount; ++b) {
            limit(eqType[d][s][b], kParamUpperBound[kEqType]);
            limit(eqGain[d][s][b], kParamUpperBound[kEqGain]);
            limit(eqFreq[d][s][b], kParamUpperBound[kEqFreq]);
            limit(eqWidth[d][s][b], eqType[d][s][b] == kEqParametric ? kMaxWidth : kMaxShelfSlopeFlag);
        }
    }
    const int maxMix = MaxParamValue(kMixLevel, d);
    for (int o = 0; o < kMaxOutputs; ++o) {
        for (int& level : mixLevel[d][o]) {
            limit(level, maxMix);
        }
        for (int x = 0; x < kXoverFilterCount; ++x) {
            limit(xoverType[d][o][x], kParamUpperBound[kXoverType]);
            limit(xoverFreq[d][o][x], kParamUpperBound[kXoverFreq]);
            limit(xoverSlope[d][o][x], kParamUpperBound[kXoverSlope]);
        }
        limit(limThreshold[d][o], kParamUpperBound[kLimThreshold]);
        limit(limAttack[d][o], kParamUpperBound[kLimAttack]);
        limit(limRelease[d][o], kParamUpperBound[kLimRelease]);
        limit(ampGain[d][o], kParamUpperBound[kAmpGain]);
        limit(speakerImpedance[d][o], kParamUpperBound[kSpeakerImpedance]);
    }
}

void CTonraDoc::TakeSnapshot(int device) {
    const int d = ResolveDevice(device);
    if (d < 0) {
        return;
    }
    shadow.CopyDevice(*this, d);
}

void CTonraDoc::CopyChannel(int sourceChannel, int targetChannel, int device) {
    const int d = ResolveDevice(device);
    const int from = ChannelSlot(sourceChannel, d);
    const int to = ChannelSlot(targetChannel, d);
    if (from < 0 || to < 0) {
        return;
    }
    SetModifiedFlag();
    // Recorded as one step, compared field by field.
    EditGesture gesture(*this);
    gesture.WatchWholeDevice(d);
    gain[d][to] = gain[d][from];
    delay[d][to] = delay[d][from];
    eqType[d][to] = eqType[d][from];
    eqGain[d][to] = eqGain[d][from];
    eqFreq[d][to] = eqFreq[d][from];
    eqWidth[d][to] = eqWidth[d][from];
    if (from < kOutputSlotBase || to < kOutputSlotBase) {
        return; // mix, crossover and limiter exist on outputs only
    }
    const int source = OutputOfSlot(from);
    const int target = OutputOfSlot(to);
    const int inputs = std::clamp(inputCount[d], 0, kMaxInputs);
    std::copy_n(mixLevel[d][source].begin(), inputs, mixLevel[d][target].begin());
    xoverType[d][target] = xoverType[d][source];
    xoverFreq[d][target] = xoverFreq[d][source];
    xoverSlope[d][target] = xoverSlope[d][source];
    limThreshold[d][target] = limThreshold[d][source];
    limAttack[d][target] = limAttack[d][source];
    limRelease[d][target] = limRelease[d][source];
}

// ---- Names ----

std::vector<int> CTonraDoc::EncodeNameChars(const std::string& text, int length) {
    std::vector<int> codes(static_cast<std::size_t>(std::max(length, 0)), kBlankCode);
    // Counted in characters: one character outside the set is one blank, whatever its bytes.
    const std::string kept = KeepToDeviceChars(text, length);
    for (std::size_t p = 0; p < kept.size(); ++p) {
        codes[p] = static_cast<int>(NameCharTable.find(kept[p])) + 1;
    }
    return codes;
}

std::string CTonraDoc::DecodeNameChars(std::span<const int> codes) {
    std::string text;
    text.reserve(codes.size());
    for (const int code : codes) {
        // A code outside the table reads as a blank rather than outside it.
        const bool known = code >= 1 && code <= static_cast<int>(NameCharTable.size());
        text += known ? NameCharTable[static_cast<std::size_t>(code - 1)] : ' ';
    }
    TrimTrailingBlanks(text);
    return text;
}

// ---- Lifecycle ----

void CTonraDoc::ResetDevice(int d) {
    oemPrograms[d] = 0;
    factoryEq[d] = 0;
    currentProgram[d] = 0;
    FillAll(qDisplay[d], 0);
    FillAll(channelName[d], std::string());
    FillAll(meterLevel[d], 0);
    FillAll(mute[d], kNewMute);
    FillAll(gain[d], kNewGain);
    FillAll(polarity[d], 0);
    FillAll(delay[d], 0);
    FillAll(eqType[d], kEqParametric);
    FillAll(eqGain[d], kNewEqGain);
    FillAll(eqFreq[d], kNewFrequency);
    FillAll(eqWidth[d], kNewWidth);
    for (auto& levels : mixLevel[d]) {
        FillAll(levels, 0);
        levels[0] = MaxParamValue(kMixLevel, d);
    }
    FillAll(xoverType[d], 0);
    FillAll(xoverFreq[d], kNewFrequency);
    FillAll(xoverSlope[d], kNewSlope);
    FillAll(limThreshold[d], kNewThreshold);
    FillAll(limAttack[d], kNewAttack);
    FillAll(limRelease[d], kNewRelease);
    FillAll(ampGain[d], 0);
    FillAll(speakerImpedance[d], 0);
    FillAll(plotOutputShown[d], 1);
    for (auto& group : plotCurveShown) {
        group[d] = 1;
    }
}

bool CTonraDoc::OnNewDocument() {
    documentCaption = kNewCaption;
    pathName_.clear();
    ReadConnectionFile();
    for (int d = 0; d < kDeviceCount; ++d) {
        ResetDevice(d);
        TakeSnapshot(d);
    }
    RefreshViews();
    SetModifiedFlag(false);
    return true;
}

void CTonraDoc::RefreshViews() {
    if (view_ && view_->GetSafeHwnd()) {
        view_->SendMessage(UM_REFRESH, kRefreshViewsCode, 0);
    }
}
