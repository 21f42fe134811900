#include "pages/PredictedResponse.h"

#include "model/TonraDoc.h"

#include <algorithm>

namespace pages {

std::vector<double> OutputResponseAt(const CTonraDoc& doc, int output, std::span<const double> hz) {
    CFilterResponse response;
    response.SetFrequencies(hz);
    response.ComputeOutputCurves(doc, output, -1);
    std::vector<double> levels(hz.size());
    response.SumOutputDb(doc, output, kAllCurveGroups, levels);
    return levels;
}

std::vector<double> Predict(std::span<const double> measuredDb, std::span<const double> nowDb,
                            std::span<const double> thenDb) {
    std::vector<double> predicted(std::min({measuredDb.size(), nowDb.size(), thenDb.size()}));
    for (std::size_t i = 0; i < predicted.size(); ++i) {
        predicted[i] = measuredDb[i] + nowDb[i] - thenDb[i];
    }
    return predicted;
}

void CPredictedResponse::Compute(const CTonraDoc& doc, int output, const model::LoadedMeasurement& loaded,
                                 int channelFilter) {
    const std::vector<double>& hz = loaded.measured.hz;
    const int device = doc.ResolveDevice(-1);
    const std::span<const double> computedAt = response_.Frequencies();
    if (device != device_ || output != output_ ||
        !std::equal(hz.begin(), hz.end(), computedAt.begin(), computedAt.end())) {
        device_ = device;
        output_ = output;
        response_.SetFrequencies(hz);
        channelFilter = -1;
    }
    response_.ComputeOutputCurves(doc, output, channelFilter);
    now_.resize(hz.size());
    response_.SumOutputDb(doc, output, kAllCurveGroups, now_);
    predicted_ = Predict(loaded.measured.db, now_, loaded.responseAtLoadDb);
}

void CPredictedResponse::Reset() {
    device_ = output_ = -1;
    predicted_.clear();
}

} // namespace pages
