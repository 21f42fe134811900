// The parameters `veltrix-cli set` changes, in the units a person reads: the channel and index
// forms, and the refusals of values a device cannot hold. The names, units and the reading of
// a typed value are the parameter descriptors' (model/ParamDescriptor.h), so a value reads as
// it does on the pages. What was set is shown as the data sheet shows it ("In 1 Level +2.50").
#pragma once

#include "model/ParamDescriptor.h"

#include <optional>
#include <string>
#include <string_view>

class CTonraDoc;

namespace cli {

// A parameter as the command line names it, with its values, units and range.
using NamedParam = model::ParamDescriptor;
// What INDEX selects for a parameter.
using model::IndexKind;

// The parameter with this name (case ignored); nullptr when there is none.
const NamedParam* FindNamedParam(std::string_view name);
// The parameter of a kind that has a name.
const NamedParam* NamedParamOfKind(int kind);
// The help's list of the parameter names with their values and units.
std::string NamedParamsHelp();

// CHANNEL: "in1".."in8", "out1".."out8", or a channel number counting inputs first.
struct ChannelRef {
    enum class Side { Number, Input, Output };
    Side side = Side::Number;
    int number = 0; // the channel number, or the 0-based input or output
};
std::optional<ChannelRef> ReadChannel(std::string_view text);
// The channel number of `ref` on a device with these counts; nothing, with `problem` naming
// the range, when the device has no such channel.
std::optional<int> ResolveChannel(const ChannelRef& ref, int inputs, int outputs, std::string& problem);

// INDEX of a named parameter: the band 1..6, the input "in1".."in8" or 1..8, the filter "hp"
// (high-pass) or "lp" (low-pass); returned 0-based.
std::optional<int> ReadIndex(IndexKind kind, std::string_view text);
std::string_view IndexHelp(IndexKind kind);

// The stored index that `text` stands for in parameter `kind` of channel `channel` (band,
// input or filter `index`) of `device`: a value in its unit, or with `raw` the index itself.
// Nothing, with `problem` naming the accepted values or the range, when the device cannot
// hold it.
std::optional<int> ConvertValue(const CTonraDoc& doc, int device, const NamedParam& param, int channel,
                                int index, std::string_view text, bool raw, std::string& problem);

// The value as the data sheet shows it; "On" / "Off" for mute.
std::string ValueText(const CTonraDoc& doc, int device, int kind, int channel, int index);

} // namespace cli
