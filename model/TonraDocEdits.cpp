// The document's record of the operator's edits: the open gesture, the histories of the
// devices, undo and redo.
#include "model/EditGesture.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <utility>

using namespace model;

// ---- Recording ----

void CTonraDoc::OpenStepFor(int d) {
    if (openDevice_ != d) {
        // One step holds one device's changes.
        std::string label = openStep_.label;
        CommitOpenStep();
        openStep_.label = std::move(label);
        openDevice_ = d;
    }
}

void CTonraDoc::Record(int d, FieldRef field, int before, int after) {
    if (before != after) {
        OpenStepFor(d);
        openStep_.Merge(field, before, after);
    }
}

void CTonraDoc::RecordName(int d, int slot, const std::string& before, const std::string& after) {
    if (before == after) {
        return;
    }
    OpenStepFor(d);
    openStep_.MergeText({static_cast<std::uint8_t>(kChannelName), static_cast<std::uint8_t>(slot), 0}, before,
                        after);
}

void CTonraDoc::BeginGesture(std::string label) {
    if (gestureDepth_++ == 0) {
        CommitOpenStep(); // changes made outside any gesture are a step of their own
        openStep_.label = std::move(label);
    }
}

void CTonraDoc::EndGesture() {
    if (gestureDepth_ > 0 && --gestureDepth_ == 0) {
        EndOpenGesture();
    }
}

void CTonraDoc::EndOpenGesture() {
    if (gestureDepth_ == 0) { // otherwise the outermost gesture ends it
        CommitOpenStep();
    }
}

void CTonraDoc::CommitOpenStep() {
    EditStep step = std::exchange(openStep_, {});
    const int d = std::exchange(openDevice_, -1);
    if (d < 0 || step.DropUnchanged()) {
        return;
    }
    step.time = EditStep::Clock::now();
    histories_[static_cast<std::size_t>(d)].Push(std::move(step));
}

// ---- Fields the operator edits besides the parameters ----

void CTonraDoc::SetLinkGroup(int group, int channel, int device) {
    const int d = ResolveDevice(device);
    if (d < 0 || channel < 0 || channel >= kSlotCount) {
        return;
    }
    int& stored = linkGroup[d][channel];
    Record(d, {static_cast<std::uint8_t>(kFieldLinkGroup), static_cast<std::uint8_t>(channel), 0}, stored,
           group);
    if (stored != group) {
        stored = group;
        SetModifiedFlag(); // link groups are part of the setup
    }
}

void CTonraDoc::SetBandOn(bool on, int channel, int band, int device) {
    const int d = ResolveDevice(device);
    if (d < 0 || channel < 0 || channel >= kSlotCount || band < 0 || band >= kBandCount) {
        return;
    }
    int& stored = eqBandOn[d][channel][band];
    const int value = on ? 1 : 0;
    Record(d,
           {static_cast<std::uint8_t>(kFieldBandOn), static_cast<std::uint8_t>(channel),
            static_cast<std::uint8_t>(band)},
           stored, value);
    stored = value;
}

int* CTonraDoc::FieldPointer(const FieldRef& field, int d) {
    if (field.place >= kSlotCount) {
        return nullptr;
    }
    switch (field.kind) {
    case kFieldLinkGroup:
        return &linkGroup[d][field.place];
    case kFieldBandOn:
        return field.index < kBandCount ? &eqBandOn[d][field.place][field.index] : nullptr;
    case kMeterLevel:
    case kChannelName:
        return nullptr;
    default:
        return ParamField(field.kind, d, field.place, field.index);
    }
}

int CTonraDoc::FieldValue(const FieldRef& field, int device) const {
    const int d = ResolveDevice(device);
    const int* value = d < 0 ? nullptr : const_cast<CTonraDoc*>(this)->FieldPointer(field, d);
    return value ? *value : 0;
}

// ---- Undo and redo ----

const EditHistory& CTonraDoc::History(int device) const {
    const int d = ResolveDevice(device);
    return histories_[static_cast<std::size_t>(d < 0 ? 0 : d)];
}

void CTonraDoc::ApplyStep(const EditStep& step, int d, bool undo) {
    const auto apply = [&](const FieldChange& change) {
        const int value = undo ? change.before : change.after;
        if (change.field.kind == kChannelName) {
            channelName[d][change.field.place] = step.texts[static_cast<std::size_t>(value)];
        } else if (int* field = FieldPointer(change.field, d)) {
            // The slot may hold another model by now: its ranges hold, as for any edit.
            const bool param = change.field.kind < kParamKindCount;
            *field = param ? std::clamp(value, 0, ParamUpperBound(change.field.kind, d)) : value;
        }
    };
    if (undo) {
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
            apply(*change);
        }
    } else {
        for (const FieldChange& change : step.changes) {
            apply(change);
        }
    }
    SetModifiedFlag();
}

const EditStep* CTonraDoc::UndoStep(int device) { return TakeStep(device, true); }

const EditStep* CTonraDoc::RedoStep(int device) { return TakeStep(device, false); }

const EditStep* CTonraDoc::TakeStep(int device, bool undo) {
    EndOpenGesture();
    const int d = ResolveDevice(device);
    if (d < 0) {
        return nullptr;
    }
    EditHistory& history = histories_[static_cast<std::size_t>(d)];
    const EditStep* step = undo ? history.Undo() : history.Redo();
    if (step) {
        ApplyStep(*step, d, undo);
    }
    return step;
}

// ---- model::EditGesture ----

namespace model {

EditGesture::EditGesture(CTonraDoc& doc, std::string label) : doc_(doc) {
    doc_.BeginGesture(std::move(label));
}

EditGesture::~EditGesture() {
    if (watched_ && watched_->device >= 0) {
        const int d = watched_->device;
        const std::vector<FieldRef>& fields = DeviceFields();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const FieldRef& field = fields[i];
            if (field.kind == kChannelName) {
                doc_.RecordName(d, field.place, watched_->names[field.place],
                                doc_.channelName[d][field.place]);
            } else {
                doc_.Record(d, field, watched_->values[i], doc_.FieldValue(field, d));
            }
        }
    }
    doc_.EndGesture();
}

void EditGesture::WatchWholeDevice(int device) { watched_ = ReadDevice(doc_.ResolveDevice(device)); }

EditGesture::DeviceValues EditGesture::ReadDevice(int d) const {
    DeviceValues device;
    if (d < 0) {
        return device;
    }
    device.device = d;
    for (const FieldRef& field : DeviceFields()) {
        device.values.push_back(doc_.FieldValue(field, d));
    }
    device.names = doc_.channelName[d];
    return device;
}

} // namespace model
