// The operator's edits as texts: one change ("Out 2 Level +2.50 -> -1.00", the values as the
// data sheet writes them), one step (its first change and how many more), and the lines of a
// device's history, the newest first, each with its time.
#pragma once

#include "model/EditHistory.h"

#include <string>
#include <vector>

class CTonraDoc;

namespace model {

// "In 1", "Out 2": channel number `channel` of a device with `inputs` inputs.
std::string ChannelLabel(int channel, int inputs);
// "In 1", "Out 2": channel number `channel` of a device.
std::string ChannelText(const CTonraDoc& doc, int device, int channel);
// A parameter kind as the operator reads it: the data sheet's row label ("Level", "EQ2 Freq",
// "Src In3"), and "Mute", "Amplifier Gain", "Speaker Impedance" for those the sheet has no row for.
std::string ParamText(int kind, int index);
// "In 1", "Out 2": the channel of a changed field.
std::string ChangeChannelText(const CTonraDoc& doc, int device, const FieldRef& field);
// "Level", "EQ2 Freq", "Src In3", "Link", "EQ1 Band" (the band switched on or off).
std::string ChangeFieldText(const FieldRef& field);
// How a step reads: as it was made (before -> after), or as an undo takes it back.
enum class StepDirection { Made, TakenBack };
// "Out 2 Level -1.00 -> +2.50"; the values in the units the device's values have now (a band's
// type and Q display decide how its width reads).
std::string DescribeChange(const CTonraDoc& doc, int device, const EditStep& step, const FieldChange& change,
                           StepDirection direction = StepDirection::Made);
// The first change, and " and 3 more" when there are more.
std::string DescribeStep(const CTonraDoc& doc, int device, const EditStep& step,
                         StepDirection direction = StepDirection::Made);

// The history of a device for its window: line 0 the newest step, then older ones, and last the
// line of the point before the oldest step (kHistoryStartText). Line i stands for the point at
// which the steps older than it and it itself are done: Size() - i steps.
constexpr const char* kHistoryStartText = "Start: before these steps";
constexpr const char* kUndoneMark = "(undone) ";
std::vector<std::string> HistoryLines(const CTonraDoc& doc, int device);
// The line of the point the device is at now.
int HistoryCurrentLine(const CTonraDoc& doc, int device);
// How many steps are done at the point of line `line`.
int HistoryStepsDoneAt(const CTonraDoc& doc, int device, int line);

} // namespace model
