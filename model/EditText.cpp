#include "model/EditText.h"

#include "framework/Format.h"
#include "model/DataSheet.h"
#include "model/ParamDescriptor.h"
#include "model/TonraDoc.h"

#include <ctime>

namespace model {

namespace {

constexpr const char* kOnText = "On";
constexpr const char* kOffText = "Off";
constexpr const char* kTimeFormat = "%H:%M:%S";
constexpr std::size_t kTimeTextSize = 16;

// A field kept by channel slot; the link groups and band switches are kept by channel number.
bool KeptBySlot(const FieldRef& field) { return field.kind != kFieldLinkGroup && field.kind != kFieldBandOn; }

// The channel number of a field's place on device `d` as it is now.
int ChannelOf(const CTonraDoc& doc, int d, const FieldRef& field) {
    if (!KeptBySlot(field) || field.place < kOutputSlotBase) {
        return field.place;
    }
    return field.place - kOutputSlotBase + doc.GetInputCount(d);
}

std::string ValueText(const CTonraDoc& doc, int d, const EditStep& step, const FieldRef& field, int v) {
    switch (field.kind) {
    case kMute:
    case kFieldBandOn:
        return v != 0 ? kOnText : kOffText;
    case kFieldLinkGroup:
        return v != 0 ? Format("%d", v) : kOffText;
    case kChannelName:
        return "\"" + step.texts[static_cast<std::size_t>(v)] + "\"";
    default:
        return DescriptorOf(field.kind).Show(v, {doc, ChannelOf(doc, d, field), field.index, d});
    }
}

std::string TimeText(EditStep::Clock::time_point time) {
    const std::time_t seconds = EditStep::Clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[kTimeTextSize] = {};
    std::strftime(text, sizeof text, kTimeFormat, &local);
    return text;
}

} // namespace

std::string ChannelLabel(int channel, int inputs) {
    const bool input = channel < inputs;
    return Format(input ? "In %d" : "Out %d", input ? channel + 1 : channel - inputs + 1);
}

std::string ChannelText(const CTonraDoc& doc, int device, int channel) {
    return ChannelLabel(channel, doc.GetInputCount(device));
}

std::string ParamText(int kind, int index) {
    switch (kind) {
    case kMute:
        return "Mute";
    case kAmpGain:
        return "Amplifier Gain";
    case kSpeakerImpedance:
        return "Speaker Impedance";
    default:
        return SheetParamLabel(kind, index);
    }
}

std::string ChangeChannelText(const CTonraDoc& doc, int device, const FieldRef& field) {
    // The slots are the channel numbers of a device with every input: outputs from slot 8.
    return KeptBySlot(field) ? ChannelLabel(field.place, kOutputSlotBase)
                             : ChannelText(doc, device, field.place);
}

std::string ChangeFieldText(const FieldRef& field) {
    switch (field.kind) {
    case kFieldLinkGroup:
        return "Link";
    case kFieldBandOn:
        return Format("EQ%d Band", field.index + 1);
    default:
        return ParamText(field.kind, field.index);
    }
}

std::string DescribeChange(const CTonraDoc& doc, int device, const EditStep& step, const FieldChange& change,
                           StepDirection direction) {
    const int d = doc.ResolveDevice(device);
    const bool back = direction == StepDirection::TakenBack;
    return ChangeChannelText(doc, d, change.field) + " " + ChangeFieldText(change.field) + " " +
           ValueText(doc, d, step, change.field, back ? change.after : change.before) + " -> " +
           ValueText(doc, d, step, change.field, back ? change.before : change.after);
}

std::string DescribeStep(const CTonraDoc& doc, int device, const EditStep& step, StepDirection direction) {
    if (step.changes.empty()) {
        return {};
    }
    std::string text = DescribeChange(doc, device, step, step.changes.front(), direction);
    if (step.changes.size() > 1) {
        text += Format(" and %zu more", step.changes.size() - 1);
    }
    return text;
}

std::vector<std::string> HistoryLines(const CTonraDoc& doc, int device) {
    const EditHistory& history = doc.History(device);
    std::vector<std::string> lines;
    for (std::size_t i = history.Size(); i-- > 0;) {
        const EditStep& step = history.Step(i);
        lines.push_back(TimeText(step.time) + "  " + (i >= history.Done() ? kUndoneMark : "") +
                        (step.label.empty() ? "" : step.label + ": ") + DescribeStep(doc, device, step));
    }
    lines.emplace_back(kHistoryStartText);
    return lines;
}

int HistoryCurrentLine(const CTonraDoc& doc, int device) {
    const EditHistory& history = doc.History(device);
    return static_cast<int>(history.Size() - history.Done());
}

int HistoryStepsDoneAt(const CTonraDoc& doc, int device, int line) {
    return static_cast<int>(doc.History(device).Size()) - line;
}

} // namespace model
