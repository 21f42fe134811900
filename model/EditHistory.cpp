#include "model/EditHistory.h"

#include <algorithm>

namespace model {

void EditStep::Merge(FieldRef field, int before, int after) {
    const auto same = [&](const FieldChange& change) { return change.field == field; };
    if (const auto found = std::find_if(changes.begin(), changes.end(), same); found != changes.end()) {
        found->after = after;
    } else {
        changes.push_back({field, before, after});
    }
}

int EditStep::AddText(const std::string& text) {
    texts.push_back(text);
    return static_cast<int>(texts.size()) - 1;
}

void EditStep::MergeText(FieldRef field, const std::string& before, const std::string& after) {
    const auto same = [&](const FieldChange& change) { return change.field == field; };
    if (const auto found = std::find_if(changes.begin(), changes.end(), same); found != changes.end()) {
        texts[static_cast<std::size_t>(found->after)] = after;
    } else {
        const int b = AddText(before);
        changes.push_back({field, b, AddText(after)});
    }
}

bool EditStep::DropUnchanged() {
    std::erase_if(changes, [&](const FieldChange& change) {
        if (change.field.kind == kChannelName) {
            return texts[static_cast<std::size_t>(change.before)] ==
                   texts[static_cast<std::size_t>(change.after)];
        }
        return change.before == change.after;
    });
    return changes.empty();
}

std::size_t EditStep::MemoryBytes() const {
    std::size_t bytes = sizeof(EditStep) + changes.capacity() * sizeof(FieldChange) +
                        texts.capacity() * sizeof(std::string) + label.capacity();
    for (const std::string& text : texts) {
        bytes += text.capacity();
    }
    return bytes;
}

void EditHistory::Push(EditStep step) {
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    if (steps_.size() > kMaxSteps) {
        steps_.pop_front();
    }
    done_ = steps_.size();
}

const EditStep* EditHistory::Undo() {
    if (done_ == 0) {
        return nullptr;
    }
    return &steps_[--done_];
}

const EditStep* EditHistory::Redo() {
    if (done_ == steps_.size()) {
        return nullptr;
    }
    return &steps_[done_++];
}

std::size_t EditHistory::MemoryBytes() const {
    std::size_t bytes = sizeof(EditHistory);
    for (const EditStep& step : steps_) {
        bytes += step.MemoryBytes();
    }
    return bytes;
}

namespace {

std::vector<FieldRef> ListDeviceFields() {
    std::vector<FieldRef> fields;
    const auto add = [&](int kind, int place, int index = 0) {
        fields.push_back({static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(place),
                          static_cast<std::uint8_t>(index)});
    };
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int kind : {kMute, kGain, kPolarity, kDelay, kChannelName}) {
            add(kind, slot);
        }
        for (int b = 0; b < kBandCount; ++b) {
            for (int kind : {kEqType, kEqGain, kEqFreq, kEqWidth}) {
                add(kind, slot, b);
            }
        }
    }
    for (int slot = kOutputSlotBase; slot < kSlotCount; ++slot) {
        for (int i = 0; i < kMaxInputs; ++i) {
            add(kMixLevel, slot, i);
        }
        for (int x = 0; x < kXoverFilterCount; ++x) {
            for (int kind : {kXoverType, kXoverFreq, kXoverSlope}) {
                add(kind, slot, x);
            }
        }
        for (int kind : {kLimThreshold, kLimAttack, kLimRelease, kAmpGain, kSpeakerImpedance}) {
            add(kind, slot);
        }
    }
    for (int channel = 0; channel < kSlotCount; ++channel) {
        add(kFieldLinkGroup, channel);
        for (int b = 0; b < kBandCount; ++b) {
            add(kFieldBandOn, channel, b);
        }
    }
    return fields;
}

} // namespace

const std::vector<FieldRef>& DeviceFields() {
    static const std::vector<FieldRef> fields = ListDeviceFields();
    return fields;
}

} // namespace model
