// The history of the operator's edits of one device: a list of steps, each one gesture (a click,
// a typed value applied, a drag from press to release, a copy of channels, a setup recalled from
// the PC), holding every stored value the gesture changed with its value before and after.
// Values that come from the device never enter it: the document records only its own edit
// operations (see CTonraDoc and model::EditGesture).
#pragma once

#include "model/ModelTypes.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace model {

// The stored values an edit may change besides the parameter kinds 1..18: a channel's link group
// and an EQ band's on switch.
constexpr int kFieldLinkGroup = kParamKindCount;
constexpr int kFieldBandOn = kParamKindCount + 1;

// One stored value of a device. `place` is the channel slot (inputs 0..7, outputs 8..15) for the
// parameters, output parameters included, and the channel number for the link group and the
// band switch, whose tables are kept by channel number. `index` is the band, mix input or
// crossover filter.
struct FieldRef {
    std::uint8_t kind = 0;
    std::uint8_t place = 0;
    std::uint8_t index = 0;

    friend bool operator==(const FieldRef&, const FieldRef&) = default;
};

// A changed value. For a channel name (kChannelName) `before` and `after` index the step's texts.
struct FieldChange {
    FieldRef field;
    int before = 0;
    int after = 0;
};

struct EditStep {
    using Clock = std::chrono::system_clock;

    Clock::time_point time{};
    // What the gesture was when its changes alone do not say it ("Copy In 1 -> Out 3"); empty
    // for a plain edit.
    std::string label;
    std::vector<FieldChange> changes; // in the order they were made
    std::vector<std::string> texts;   // the channel names before and after

    // Takes in a change of `field`: a field changed before in the step keeps its first value
    // before and takes the new value after.
    void Merge(FieldRef field, int before, int after);
    void MergeText(FieldRef field, const std::string& before, const std::string& after);
    // Drops the changes that ended where they began; true when nothing is left.
    bool DropUnchanged();
    // The bytes the step holds, its own and on the heap.
    std::size_t MemoryBytes() const;

private:
    int AddText(const std::string& text);
};

class EditHistory {
public:
    // The oldest step goes when a new one would make more.
    static constexpr std::size_t kMaxSteps = 500;

    // A new step: the steps undone before it can no longer be made again.
    void Push(EditStep step);
    // The step to take back, now counted as undone; null when every step is undone.
    const EditStep* Undo();
    // The step to make again, now counted as done; null when none is undone.
    const EditStep* Redo();

    std::size_t Size() const { return steps_.size(); }
    // Steps done: the oldest `Done()` steps are in effect, the rest were undone.
    std::size_t Done() const { return done_; }
    // Step i, the oldest first.
    const EditStep& Step(std::size_t i) const { return steps_[i]; }
    std::size_t MemoryBytes() const;

private:
    std::deque<EditStep> steps_;
    std::size_t done_ = 0;
};

// Every stored value of a device that the operator edits: the parameters of each slot and
// output, the channel names, the link groups and the band switches.
const std::vector<FieldRef>& DeviceFields();

} // namespace model
