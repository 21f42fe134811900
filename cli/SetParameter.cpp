#include "cli/SetParameter.h"

#include "framework/Format.h"
#include "model/DataSheet.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

using namespace model;

namespace cli {

namespace {

constexpr std::array<NamedParam, 16> kNamedParams = {{
    {"level", kGain, IndexKind::None, false, "dB, for example +2.5 or -10dB", "-40.00 to +15.00 dB"},
    {"mute", kMute, IndexKind::None, false, "on or off", ""},
    {"polarity", kPolarity, IndexKind::None, false, "+ (normal) or - (inverted)", ""},
    {"delay", kDelay, IndexKind::None, false, "samples at 48 kHz, or ms: 480 or 10ms", ""},
    {"eq-type", kEqType, IndexKind::Band, false, "Param, Lo-Shf or Hi-Shf", ""},
    {"eq-gain", kEqGain, IndexKind::Band, false, "dB", "-30.00 to +15.00 dB"},
    {"eq-freq", kEqFreq, IndexKind::Band, false, "Hz, for example 1000 or 2.5k", "20 to 20000 Hz"},
    {"eq-width", kEqWidth, IndexKind::Band, false, "octaves (0.33) or a Q (4.36Q); a shelf takes 6dB or 12dB",
     "0.02 to 2.50 octaves"},
    {"name", kChannelName, IndexKind::None, false, "up to 6 characters of the device's character set", ""},
    {"mix", kMixLevel, IndexKind::MixInput, true, "dB or off; on a routing device 0 (on) or off", ""},
    {"xover-type", kXoverType, IndexKind::Filter, true, "None, BUT, LR or BES", ""},
    {"xover-freq", kXoverFreq, IndexKind::Filter, true, "Hz", "20 to 20000 Hz"},
    {"xover-slope", kXoverSlope, IndexKind::Filter, true, "dB/octave, a multiple of 6", "6 to 48 dB/octave"},
    {"threshold", kLimThreshold, IndexKind::None, true, "dBu", "-20.0 to +20.0 dBu"},
    {"attack", kLimAttack, IndexKind::None, true, "ms", "0.3 to 100 ms"},
    {"release", kLimRelease, IndexKind::None, true, "times the attack: 2X, 4X, 8X, 16X or 32X", ""},
}};

constexpr int kFirstChannelNumber = 1; // "in1", band 1, input 1

// A number in the pages' form followed by an optional unit word: "+2.5", "-10dB", "10 ms",
// "2,5k"; the decimal point is "." or ",".
struct TypedNumber {
    double value = 0;
    std::string unit; // lower case
    std::string text; // number and unit, without blanks around them
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<TypedNumber> ReadTypedNumber(std::string_view text) {
    static const QRegularExpression kForm(R"(^\s*([+-]?(?:\d+[.,]?\d*|[.,]\d+))\s*([A-Za-z/]*)\s*$)");
    const QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRegularExpressionMatch match = kForm.match(typed);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return TypedNumber{ParseDecimal(match.captured(1).toStdString()), Lower(match.captured(2).toStdString()),
                       typed.trimmed().toStdString()};
}

bool OneOf(const std::string& word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The position of `text` among the display texts of indexes 0..count-1 (case ignored).
std::optional<int> NamedChoice(std::string_view text, int count, std::string (*textOf)(int)) {
    const std::string typed = Lower(text);
    for (int v = 0; v < count; ++v) {
        if (Lower(textOf(v)) == typed) {
            return v;
        }
    }
    return std::nullopt;
}

std::optional<int> ReadWholeNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

// The range a device gives the parameter, for the refusal.
std::string RangeOf(const CTonraDoc& doc, int device, const NamedParam& param) {
    if (!param.range.empty()) {
        return std::string(param.range);
    }
    switch (param.kind) {
    case kDelay: {
        const int max = doc.MaxParamValue(kDelay, device);
        return Format("0 to %d samples (%g ms) on this model", max, DelayMs(max));
    }
    case kMixLevel: {
        const int max = doc.MaxParamValue(kMixLevel, device);
        return max > kMaxSourceLevelRouting ? "off, or " + SourceLevelText(1, max) + " to " +
                                                  SourceLevelText(max, max) + " dB on this model"
                                            : std::string("off or 0 (on) on this model");
    }
    default:
        return std::string(param.values);
    }
}

// The index a typed value stands for, before its range is checked; nothing when the text is
// not a value of the parameter at all.
std::optional<int> TypedIndex(const CTonraDoc& doc, int device, const NamedParam& param, int channel,
                              int index, std::string_view text) {
    const std::string word = Lower(text);
    switch (param.kind) {
    case kMute:
        return OneOf(word, {"on", "1"})    ? std::optional(1)
               : OneOf(word, {"off", "0"}) ? std::optional(0)
                                           : std::nullopt;
    case kPolarity:
        return OneOf(word, {"+", "normal", "0"})     ? std::optional(0)
               : OneOf(word, {"-", "inverted", "1"}) ? std::optional(1)
                                                     : std::nullopt;
    case kEqType:
        return NamedChoice(text, kEqHighShelf + 1, EqTypeText);
    case kXoverType:
        if (word == kXoverTypeNames[0]) {
            return 0;
        }
        return NamedChoice(text, kParamUpperBound[kXoverType] + 1, XoverTypeText);
    case kMixLevel:
        if (word == "off") {
            return 0;
        }
        break;
    case kEqWidth:
        if (doc.GetParam(kEqType, channel, index, device) != kEqParametric) {
            return word == "6db"    ? std::optional(0)
                   : word == "12db" ? std::optional(kMaxShelfSlopeFlag)
                                    : std::nullopt;
        }
        break;
    default:
        break;
    }
    const std::optional<TypedNumber> typed = ReadTypedNumber(text);
    if (!typed) {
        return std::nullopt;
    }
    const double x = typed->value;
    const std::string& unit = typed->unit;
    const bool plain = unit.empty();
    switch (param.kind) {
    case kGain:
        return plain || unit == "db" ? std::optional(GainIndex(x)) : std::nullopt;
    case kEqGain:
        return plain || unit == "db" ? std::optional(EqGainIndex(x)) : std::nullopt;
    case kDelay:
        return plain || unit == "samples" ? std::optional(DelayIndexFromSamples(x))
               : unit == "ms"             ? std::optional(DelayIndexFromMs(x))
                                          : std::nullopt;
    case kEqFreq:
    case kXoverFreq: {
        if (!plain && !OneOf(unit, {"hz", "k", "khz"})) {
            return std::nullopt;
        }
        // The pages' reading of a typed frequency, "k" included.
        const double hz = ParseFrequency(typed->text);
        return param.kind == kEqFreq ? EqFreqIndex(hz) : XoverFreqIndex(hz);
    }
    case kEqWidth:
        return plain || unit == "oct" ? std::optional(WidthIndexFromOctaves(x))
               : unit == "q"          ? std::optional(WidthIndexFromQ(x))
                                      : std::nullopt;
    case kMixLevel: {
        const int max = doc.MaxParamValue(kMixLevel, device);
        // An index of 0 would switch the input off: a level below the lowest is out of range.
        const int v = SourceLevelIndex(x, max);
        return plain || unit == "db" ? std::optional(v == 0 ? -1 : v) : std::nullopt;
    }
    case kXoverSlope:
        return plain || OneOf(unit, {"db", "db/oct"}) ? std::optional(SlopeIndex(x)) : std::nullopt;
    case kLimThreshold:
        return plain || unit == "dbu" ? std::optional(ThresholdIndex(x)) : std::nullopt;
    case kLimAttack:
        return plain || unit == "ms" ? std::optional(AttackIndex(x)) : std::nullopt;
    case kLimRelease:
        return plain || unit == "x" ? std::optional(ReleaseIndex(x)) : std::nullopt;
    default:
        return std::nullopt;
    }
}

int UpperBound(const CTonraDoc& doc, int device, const NamedParam& param, int channel, int index) {
    if (param.kind == kDelay || param.kind == kMixLevel) {
        return doc.MaxParamValue(param.kind, device);
    }
    if (param.kind == kEqWidth && doc.GetParam(kEqType, channel, index, device) != kEqParametric) {
        return kMaxShelfSlopeFlag;
    }
    return kParamUpperBound[static_cast<std::size_t>(param.kind)];
}

} // namespace

std::span<const NamedParam> NamedParams() { return kNamedParams; }

const NamedParam* FindNamedParam(std::string_view name) {
    const std::string lower = Lower(name);
    const auto found = std::find_if(kNamedParams.begin(), kNamedParams.end(),
                                    [&](const NamedParam& p) { return p.name == lower; });
    return found == kNamedParams.end() ? nullptr : &*found;
}

const NamedParam* NamedParamOfKind(int kind) {
    const auto found = std::find_if(kNamedParams.begin(), kNamedParams.end(),
                                    [&](const NamedParam& p) { return p.kind == kind; });
    return found == kNamedParams.end() ? nullptr : &*found;
}

std::string NamedParamsHelp() {
    std::string help;
    for (const NamedParam& p : kNamedParams) {
        std::string line = Format("  %-12s %2d  ", std::string(p.name).c_str(), p.kind);
        if (p.index != IndexKind::None) {
            line += "INDEX " + std::string(IndexHelp(p.index)) + "; ";
        }
        line += std::string(p.values);
        if (!p.range.empty()) {
            line += ", " + std::string(p.range);
        }
        if (p.outputOnly) {
            line += " (outputs)";
        }
        help += line + "\n";
    }
    return help;
}

std::optional<ChannelRef> ReadChannel(std::string_view text) {
    const std::string lower = Lower(text);
    for (const auto& [prefix, side] : {std::pair{std::string_view("in"), ChannelRef::Side::Input},
                                       std::pair{std::string_view("out"), ChannelRef::Side::Output}}) {
        if (lower.starts_with(prefix)) {
            const auto n = ReadWholeNumber(std::string_view(lower).substr(prefix.size()), kFirstChannelNumber,
                                           kMaxInputs);
            return n ? std::optional(ChannelRef{side, *n - kFirstChannelNumber}) : std::nullopt;
        }
    }
    const auto number = ReadWholeNumber(text, 0, kSlotCount - 1);
    return number ? std::optional(ChannelRef{ChannelRef::Side::Number, *number}) : std::nullopt;
}

std::optional<int> ResolveChannel(const ChannelRef& ref, int inputs, int outputs, std::string& problem) {
    switch (ref.side) {
    case ChannelRef::Side::Input:
        if (ref.number < inputs) {
            return ref.number;
        }
        break;
    case ChannelRef::Side::Output:
        if (ref.number < outputs) {
            return inputs + ref.number;
        }
        break;
    case ChannelRef::Side::Number:
        if (ref.number < inputs + outputs) {
            return ref.number;
        }
        break;
    }
    problem = Format("The device has %d inputs and %d outputs: CHANNEL is in1..in%d, out1..out%d or a "
                     "channel number from 0 to %d.",
                     inputs, outputs, inputs, outputs, inputs + outputs - 1);
    return std::nullopt;
}

std::optional<int> ReadIndex(IndexKind kind, std::string_view text) {
    const std::string lower = Lower(text);
    switch (kind) {
    case IndexKind::Band:
        if (const auto band = ReadWholeNumber(lower, kFirstChannelNumber, kBandCount)) {
            return *band - kFirstChannelNumber;
        }
        return std::nullopt;
    case IndexKind::MixInput: {
        const std::string_view number = std::string_view(lower).substr(lower.starts_with("in") ? 2 : 0);
        if (const auto input = ReadWholeNumber(number, kFirstChannelNumber, kMaxInputs)) {
            return *input - kFirstChannelNumber;
        }
        return std::nullopt;
    }
    case IndexKind::Filter:
        return OneOf(lower, {"hp", "lo"})   ? std::optional(kHighPass)
               : OneOf(lower, {"lp", "hi"}) ? std::optional(kLowPass)
                                            : std::nullopt;
    case IndexKind::None:
        break;
    }
    return std::nullopt;
}

std::string_view IndexHelp(IndexKind kind) {
    switch (kind) {
    case IndexKind::Band:
        return "the band 1..6";
    case IndexKind::MixInput:
        return "the input in1..in8";
    case IndexKind::Filter:
        return "hp (high-pass) or lp (low-pass)";
    case IndexKind::None:
        break;
    }
    return "";
}

std::optional<int> ConvertValue(const CTonraDoc& doc, int device, const NamedParam& param, int channel,
                                int index, std::string_view text, bool raw, std::string& problem) {
    const int high = UpperBound(doc, device, param, channel, index);
    const int low = param.kind == kMixLevel && !raw && Lower(text) != "off" ? 1 : 0;
    std::optional<int> value =
        raw ? ReadWholeNumber(text, 0, high) : TypedIndex(doc, device, param, channel, index, text);
    if (raw && !value) {
        problem = Format("--raw takes an index of %s from 0 to %d on this device.",
                         std::string(param.name).c_str(), high);
        return std::nullopt;
    }
    if (!value) {
        problem = "\"" + std::string(text) + "\" is no value of " + std::string(param.name) + ": it takes " +
                  std::string(param.values) + ".";
        return std::nullopt;
    }
    if (*value < low || *value > high) {
        problem = "\"" + std::string(text) + "\" is out of range: " + std::string(param.name) + " takes " +
                  RangeOf(doc, device, param) + ".";
        return std::nullopt;
    }
    return value;
}

std::string ChannelLabel(int channel, int inputs) {
    return channel < inputs ? Format("In %d", channel + kFirstChannelNumber)
                            : Format("Out %d", channel - inputs + kFirstChannelNumber);
}

std::string ParamLabel(int kind, int index) {
    if (kind == kMute) {
        return "Mute";
    }
    return SheetParamLabel(kind, index);
}

std::string ValueText(const CTonraDoc& doc, int device, int kind, int channel, int index) {
    switch (kind) {
    case kMute:
        return doc.GetParam(kMute, channel, 0, device) != 0 ? "On" : "Off";
    case kChannelName:
        return doc.GetParamText(kChannelName, channel, device);
    default:
        return doc.FormatParam(kind, channel, index, device);
    }
}

} // namespace cli
