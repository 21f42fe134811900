// model::EditGesture: what the operator changes while it lives is one step of the device's
// history. Put one around any group of edits that belongs together:
//
//     model::EditGesture gesture(doc);
//     doc.SetParam(model::kEqGain, 126, channel, 0);
//     doc.SetParam(model::kEqFreq, 980, channel, 0);
//
// Gestures nest; the outermost one ends the step. A drag needs none: its changes gather from
// the press until the view ends the gesture at the release (CTonraDoc::EndOpenGesture).
#pragma once

#include "model/ModelTypes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CTonraDoc;

namespace model {

class EditGesture {
public:
    // `label` says what the step was when its changes alone do not ("Copy In 1 -> Out 3").
    explicit EditGesture(CTonraDoc& doc, std::string label = {});
    ~EditGesture();
    EditGesture(const EditGesture&) = delete;
    EditGesture& operator=(const EditGesture&) = delete;

    // For an operation that writes the device's fields itself (a setup file loaded): every value
    // of `device` is compared at the end of the gesture with its value now, and what differs is
    // recorded.
    void WatchWholeDevice(int device = -1);

private:
    struct DeviceValues {
        int device = -1;
        std::vector<int> values; // in the order of DeviceFields(); names in `names`
        std::array<std::string, kSlotCount> names{};
    };
    DeviceValues ReadDevice(int device) const;

    CTonraDoc& doc_;
    std::optional<DeviceValues> watched_;
};

} // namespace model
