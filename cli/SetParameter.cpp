#include "cli/SetParameter.h"

#include "framework/Format.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <charconv>

using namespace model;

namespace cli {

namespace {

constexpr int kFirstChannelNumber = 1; // "in1", band 1, input 1

bool OneOf(const std::string& word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
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

// One line of the help: the name, the kind, the INDEX, the values and the range.
std::string HelpLine(const NamedParam& p) {
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
    return line + "\n";
}

} // namespace

const NamedParam* FindNamedParam(std::string_view name) { return DescriptorNamed(name); }

const NamedParam* NamedParamOfKind(int kind) {
    const NamedParam& param = DescriptorOf(kind);
    return param.name.empty() ? nullptr : &param;
}

// The level, the parameter most often set, comes first; the others follow in kind order.
std::string NamedParamsHelp() {
    std::string help = HelpLine(DescriptorOf(kGain));
    for (const NamedParam& p : ParamDescriptors()) {
        if (!p.name.empty() && p.kind != kGain) {
            help += HelpLine(p);
        }
    }
    return help;
}

std::optional<ChannelRef> ReadChannel(std::string_view text) {
    const std::string lower = LowerCase(text);
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
    const std::string lower = LowerCase(text);
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
    const ParamPlace at{doc, channel, index, device};
    const int high = param.UpperBound(at);
    const int low = param.kind == kMixLevel && !raw && LowerCase(text) != "off" ? 1 : 0;
    std::optional<int> value = raw ? ReadWholeNumber(text, 0, high) : param.ReadTyped(text, at);
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
                  param.RangeText(at) + ".";
        return std::nullopt;
    }
    return value;
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
