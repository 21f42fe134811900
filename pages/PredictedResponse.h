// What a measurement of an output will read after the operator's changes: the measured level
// plus the change of the output's response since the measurement was loaded, at each measured
// frequency. The response is the one the plot sums for the output, with every stage and not
// limited to the plot's range, computed at the measurement's own frequencies, so that the
// prediction is exact at every measured point. Needs no window: veltrix-cli predicts the same.
#pragma once

#include "model/Measurement.h"
#include "pages/FilterResponse.h"

#include <span>
#include <vector>

class CTonraDoc;

namespace pages {

// The response of output `output` of the current device at each frequency of `hz`: every stage
// summed as the plot sums it, in dB, not limited.
std::vector<double> OutputResponseAt(const CTonraDoc& doc, int output, std::span<const double> hz);

// measured + now - then, point by point; the three hold the same number of levels.
std::vector<double> Predict(std::span<const double> measuredDb, std::span<const double> nowDb,
                            std::span<const double> thenDb);

// The prediction for the measurement of one output, kept up to date edit by edit: a computation
// for one edited channel recomputes only that channel's share.
class CPredictedResponse {
public:
    // Recomputes the prediction for `loaded`, the measurement of output `output` of the current
    // device, after an edit of the channels linked to `channelFilter` (-1: anything). A
    // measurement or an output other than the last one's is computed in full.
    void Compute(const CTonraDoc& doc, int output, const model::LoadedMeasurement& loaded, int channelFilter);
    // Forgets the measurement: the next computation is a full one.
    void Reset();

    std::span<const double> Levels() const { return predicted_; }

private:
    CFilterResponse response_; // at the measured frequencies
    int device_ = -1;
    int output_ = -1;
    std::vector<double> now_;
    std::vector<double> predicted_;
};

} // namespace pages
