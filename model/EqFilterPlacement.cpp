#include "model/EqFilterPlacement.h"

#include "framework/Format.h"
#include "model/EditGesture.h"
#include "model/EditText.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>

namespace model {

namespace {

// Values the device shows the same to two decimals count as placed exactly.
constexpr double kSameWithin = 0.005;
// A shelf given by its Q is placed with the 12 dB slope, whose shape is the Q of 1/sqrt(2).
constexpr double kShelfQ = 0.70710678118654752;
constexpr int kGentleShelfDb = 6;
constexpr int kSteepShelfDb = 12;

bool Same(double a, double b) { return std::abs(a - b) < kSameWithin; }

// An index nearest to `value` in steps of 1 / `stepsPerUnit` from `offset`; -1 when that lies
// below 0 (or is no number), `high` + 1 when above `high`.
int NearestIndex(double value, double stepsPerUnit, int offset, int high) {
    const double index = std::round(value * stepsPerUnit) + offset;
    if (!(index >= 0)) {
        return -1;
    }
    return index > high ? high + 1 : static_cast<int>(index);
}

bool InRange(int index, int high) { return index >= 0 && index <= high; }

std::string OutOfRange(const std::string& what, std::string_view range) {
    return what + " is out of range (" + std::string(range) + ")";
}

// Places one filter that the bands can take; fills `band` and returns the outcome, whose
// detail lists what changed or says why the filter does not fit.
class FilterPlacer {
public:
    FilterPlacer(const TextFilter& filter, BandSetup& band) : filter_(filter), band_(band) {}

    // False, with `reason`, when the filter does not fit a band.
    bool Place(std::string& reason) {
        const bool shelf = filter_.shape != FilterShape::Peak;
        band_.type = filter_.shape == FilterShape::LowShelf    ? kEqLowShelf
                     : filter_.shape == FilterShape::HighShelf ? kEqHighShelf
                                                               : kEqParametric;
        if (!filter_.frequency || !filter_.gain) {
            reason = !filter_.frequency ? "no Fc given" : "no Gain given";
            return false;
        }
        if (!shelf && !filter_.q && !filter_.octaves) {
            reason = "no Q or BW given";
            return false;
        }
        return PlaceFrequency(reason) && PlaceGain(reason) && (shelf ? PlaceSlope() : PlaceWidth(reason));
    }

    const std::string& Changes() const { return changes_; }

private:
    bool PlaceFrequency(std::string& reason) {
        const FilterValue& fc = *filter_.frequency;
        band_.frequency = NearestIndex(fc.value, 1, -kFrequencyOffsetHz, kParamUpperBound[kEqFreq]);
        if (!InRange(band_.frequency, kParamUpperBound[kEqFreq])) {
            reason = OutOfRange("Fc " + fc.text + " Hz", DescriptorOf(kEqFreq).range);
            return false;
        }
        if (!Same(fc.value, FrequencyHz(band_.frequency))) {
            Changed("Fc " + fc.text + " Hz -> " + FrequencyText(band_.frequency) + " Hz");
        }
        return true;
    }

    bool PlaceGain(std::string& reason) {
        const FilterValue& gain = *filter_.gain;
        band_.gain = NearestIndex(gain.value, kStepsPerDb, kEqGainZeroIndex, kParamUpperBound[kEqGain]);
        if (!InRange(band_.gain, kParamUpperBound[kEqGain])) {
            reason = OutOfRange("Gain " + gain.text + " dB", DescriptorOf(kEqGain).range);
            return false;
        }
        if (!Same(gain.value, EqGainDb(band_.gain))) {
            Changed("Gain " + gain.text + " dB -> " + EqGainText(band_.gain) + " dB");
        }
        return true;
    }

    // A parametric band's width from its Q or, without one, its bandwidth in octaves.
    bool PlaceWidth(std::string& reason) {
        const bool byQ = filter_.q.has_value();
        const FilterValue& given = byQ ? *filter_.q : *filter_.octaves;
        band_.width = NearestWidthIndex(byQ ? OctavesOfQ(given.value) : given.value);
        const std::string name = byQ ? "Q " : "BW Oct ";
        if (!InRange(band_.width, kMaxWidth)) {
            reason = OutOfRange(name + given.text,
                                byQ ? WidthText(kMaxWidth, false, true) + " to " + WidthText(0, false, true)
                                    : DescriptorOf(kEqWidth).range);
            return false;
        }
        const double held = byQ ? WidthQ(band_.width) : WidthOctaves(band_.width);
        if (!Same(given.value, held)) {
            Changed(name + given.text + " -> " + WidthText(band_.width, false, byQ));
        }
        return true;
    }

    // A shelf's slope as written ("LS 6dB"); a shelf given by its Q, or by its type alone,
    // takes the 12 dB slope.
    bool PlaceSlope() {
        int slope = kSteepShelfDb;
        if (filter_.slope) {
            const double midway = (kGentleShelfDb + kSteepShelfDb) / 2.0;
            slope = filter_.slope->value < midway ? kGentleShelfDb : kSteepShelfDb;
            if (!Same(filter_.slope->value, slope)) {
                Changed(Format("slope %s dB -> %d dB", filter_.slope->text.c_str(), slope));
            }
        } else if (filter_.q && !Same(filter_.q->value, kShelfQ)) {
            Changed(Format("Q %s -> %d dB slope", filter_.q->text.c_str(), slope));
        }
        band_.width = slope == kSteepShelfDb ? kMaxShelfSlopeFlag : 0;
        return true;
    }

    void Changed(const std::string& change) { changes_ += (changes_.empty() ? "" : ", ") + change; }

    const TextFilter& filter_;
    BandSetup& band_;
    std::string changes_;
};

// Why a filter is left out before its values are looked at; empty when they are to be placed.
std::string Unplaceable(const TextFilter& filter, Placement& placement) {
    placement = Placement::Skipped;
    if (!filter.on) {
        return "OFF";
    }
    if (filter.shape == FilterShape::Empty) {
        return "None";
    }
    placement = Placement::NotPlaced;
    if (!filter.problem.empty()) {
        return "cannot be read: " + filter.problem;
    }
    if (filter.shape == FilterShape::Other) {
        return filter.type + " is not a band type (PK, LS, HS)";
    }
    return {};
}

// "Band 6" or "Bands 4, 5 and 6".
std::string BandList(const std::vector<int>& bands) {
    std::string list = bands.size() == 1 ? "Band " : "Bands ";
    for (std::size_t i = 0; i < bands.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == bands.size() ? " and " : ", ") + std::to_string(bands[i] + 1);
    }
    return list;
}

} // namespace

std::string FilterOutcome::ReportLine() const {
    const std::string filter = Format("Filter %d: ", number);
    switch (placement) {
    case Placement::Exact:
        return filter + Format("placed in band %d exactly", band + 1);
    case Placement::Approximate:
        return filter + Format("placed in band %d approximately: ", band + 1) + detail;
    case Placement::NotPlaced:
        return filter + "not placed: " + detail;
    case Placement::Skipped:
        break;
    }
    return filter + detail + ", skipped";
}

int EqImport::PlacedCount() const {
    return static_cast<int>(
        std::count_if(bands.begin(), bands.end(), [](const auto& band) { return band.has_value(); }));
}

std::vector<std::string> EqImport::ReportLines() const {
    std::vector<std::string> lines;
    for (const FilterOutcome& outcome : filters) {
        lines.push_back(outcome.ReportLine());
    }
    if (filters.empty()) {
        lines.push_back("No filter lines found: the channel stays as it was.");
        return lines;
    }
    if (PlacedCount() == 0) {
        lines.push_back("No filter placed: the channel stays as it was.");
        return lines;
    }
    std::vector<int> flat;
    for (int b = PlacedCount(); b < kBandCount; ++b) {
        flat.push_back(b);
    }
    if (!flat.empty()) {
        lines.push_back(BandList(flat) + " set flat (0 dB).");
    }
    return lines;
}

std::string EqImport::ReportText() const {
    std::string text;
    for (const std::string& line : ReportLines()) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

EqImport PlaceFilters(std::span<const TextFilter> filters) {
    EqImport import;
    int nextBand = 0;
    for (const TextFilter& filter : filters) {
        FilterOutcome outcome;
        outcome.number = filter.number;
        outcome.detail = Unplaceable(filter, outcome.placement);
        BandSetup band;
        FilterPlacer placer(filter, band);
        if (outcome.detail.empty() && placer.Place(outcome.detail)) {
            if (nextBand == kBandCount) {
                outcome.detail = "all six bands are taken";
            } else {
                outcome.band = nextBand++;
                import.bands[outcome.band] = band;
                outcome.placement = placer.Changes().empty() ? Placement::Exact : Placement::Approximate;
                outcome.detail = placer.Changes();
            }
        }
        import.filters.push_back(std::move(outcome));
    }
    return import;
}

void ApplyEqImport(CTonraDoc& doc, int channel, const EqImport& import, int device) {
    const int d = doc.ResolveDevice(device);
    if (d < 0 || import.PlacedCount() == 0) {
        return;
    }
    const EditGesture importing(doc); // one step of the device's history
    for (int b = 0; b < kBandCount; ++b) {
        const std::optional<BandSetup>& band = import.bands[b];
        if (!band) {
            doc.SetParam(kEqGain, kEqGainZeroIndex, channel, b, d);
            continue;
        }
        doc.SetParam(kEqType, band->type, channel, b, d);
        doc.SetParam(kEqWidth, band->width, channel, b, d);
        doc.SetParam(kEqFreq, band->frequency, channel, b, d);
        doc.SetParam(kEqGain, band->gain, channel, b, d);
        for (int linked = 0; linked < doc.GetChannelCount(d); ++linked) {
            if (doc.IsLinked(linked, channel, d)) {
                doc.SetBandOn(true, linked, b, d);
            }
        }
    }
}

std::array<BandSetup, kBandCount> ChannelBands(const CTonraDoc& doc, int channel, int device) {
    std::array<BandSetup, kBandCount> bands{};
    for (int b = 0; b < kBandCount; ++b) {
        bands[b] = {doc.GetParam(kEqGain, channel, b, device), doc.GetParam(kEqFreq, channel, b, device),
                    doc.GetParam(kEqWidth, channel, b, device), doc.GetParam(kEqType, channel, b, device)};
    }
    return bands;
}

std::string ChannelFilterText(const CTonraDoc& doc, int channel, FilterTextFormat format, int device) {
    std::string title = ChannelText(doc, device, channel);
    // A channel that still has its default name is not named twice ("Out 1 Out 1").
    if (const std::string name = doc.GetParamText(kChannelName, channel, device);
        !name.empty() && name != title) {
        title += " " + name;
    }
    return WriteFilterText(ChannelBands(doc, channel, device), format, title);
}

} // namespace model
