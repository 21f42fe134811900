#include "pages/FilterResponse.h"

#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>

namespace pages {

namespace {

constexpr double kDecibelsPerDecade = 20;      // voltage ratios
constexpr double kPowerDecibelsPerDecade = 10; // power ratios
constexpr double kOctaveBase = 2;
constexpr double kWidthPerOctave = 100;
// The plot reads a bandwidth one step narrower than the displayed one.
constexpr int kPlotWidthOffset = 1;
// Shelf shape factors of the 12 dB and the 6 dB shelf setting.
constexpr double kSteepShelfShape = 0.2025;
constexpr double kGentleShelfShape = 0.09;
// A shelf's ratio is the square root of its linear gain.
constexpr double kShelfDecibelsPerDecade = 40;

double Square(double x) { return x * x; }

double Parametric(const BandSetup& band, double u) {
    const double a = band.ratio;
    const double k = a > 1 ? a - 1 : 1 / a - 1;
    const double r = kDecibelsPerDecade * std::log10(1 + k * u / (u + band.shape * Square(1 - u)));
    return a < 1 ? -r : r;
}

double LowShelf(const BandSetup& band, double u) {
    const double a = band.ratio;
    const double aOverS = a / band.shape;
    const double numerator = a * (a * Square(u) + (aOverS - Square(a) - 1) * u + a);
    const double denominator = Square(a) * Square(u) + (aOverS - 2 * Square(a)) * u + 1;
    return kDecibelsPerDecade * std::log10(numerator / denominator);
}

double HighShelf(const BandSetup& band, double u) {
    const double a = band.ratio;
    const double aOverS = a / band.shape;
    const double numerator = a * (a * Square(u) + (aOverS - Square(a) - 1) * u + a);
    const double denominator = Square(u) + (aOverS - 2 * Square(a)) * u + Square(a);
    return kDecibelsPerDecade * std::log10(numerator / denominator);
}

} // namespace

BandSetup SetUpBand(const CTonraDoc& doc, int channel, int band) {
    BandSetup setup;
    setup.type = doc.GetParam(model::kEqType, channel, band);
    setup.centreHz = model::FrequencyHz(doc.GetParam(model::kEqFreq, channel, band));
    const double gainDb = model::EqGainDb(doc.GetParam(model::kEqGain, channel, band));
    const int width = doc.GetParam(model::kEqWidth, channel, band);
    if (setup.type == model::kEqParametric) {
        const double octaves = (width + kPlotWidthOffset) / kWidthPerOctave;
        setup.shape = Square(std::pow(kOctaveBase, octaves / 2) / (std::pow(kOctaveBase, octaves) - 1));
        setup.ratio = std::pow(10, gainDb / kDecibelsPerDecade);
    } else {
        setup.shape = width != 0 ? kSteepShelfShape : kGentleShelfShape;
        setup.ratio = std::pow(10, gainDb / kShelfDecibelsPerDecade);
    }
    return setup;
}

double BandResponse(const BandSetup& setup, double hz) {
    if (setup.ratio == 1) {
        return 0;
    }
    const double u = Square(hz / setup.centreHz);
    switch (setup.type) {
    case model::kEqParametric:
        return Parametric(setup, u);
    case model::kEqLowShelf:
        return LowShelf(setup, u);
    default:
        return HighShelf(setup, u);
    }
}

double XoverResponse(const CTonraDoc& doc, int output, int filter, double hz) {
    const int channel = doc.GetInputCount() + output;
    if (doc.GetParam(model::kXoverType, channel, filter) == 0) {
        return 0;
    }
    const int order = doc.GetParam(model::kXoverSlope, channel, filter) + 1;
    const double cutoffHz = model::FrequencyHz(doc.GetParam(model::kXoverFreq, channel, filter));
    const double ratio = filter == model::kHighPass ? cutoffHz / hz : hz / cutoffHz;
    return kPowerDecibelsPerDecade * std::log10(1 / (std::pow(ratio, 2 * order) + 1));
}

void CFilterResponse::SetGridWidth(int gridWidth) {
    gridWidth_ = std::max(gridWidth, 0);
    pointCount_ = std::max(gridWidth_ - 1, 0);
    const auto points = static_cast<std::size_t>(pointCount_);
    if (points > frequencies_.size()) {
        frequencies_.resize(points);
        for (auto& curve : eqCurve_) {
            curve.resize(points);
        }
        for (auto& curve : xoverCurve_) {
            curve.resize(points);
        }
    }
    for (int k = 0; k < pointCount_; ++k) {
        frequencies_[static_cast<std::size_t>(k)] =
            kLowestHz * std::pow(10, static_cast<double>(kDecadeCount) * k / gridWidth_);
    }
}

std::span<const double> CFilterResponse::EqCurve(int channel) const {
    return std::span<const double>(eqCurve_[static_cast<std::size_t>(channel)]).first(pointCount_);
}

std::span<const double> CFilterResponse::XoverCurve(int output) const {
    return std::span<const double>(xoverCurve_[static_cast<std::size_t>(output)]).first(pointCount_);
}

void CFilterResponse::ComputeCurves(const CTonraDoc& doc, int filter) {
    curvesDirty = true;
    channelFilter = filter;
    const auto skipped = [&](int channel) { return filter >= 0 && !doc.IsLinked(channel, filter); };
    const int channelCount = std::min(doc.GetChannelCount(), model::kSlotCount);
    for (int c = 0; c < channelCount; ++c) {
        if (!skipped(c)) {
            ComputeChannel(doc, c);
        }
    }
    const int inputCount = doc.GetInputCount();
    const int outputCount = std::min(doc.GetOutputCount(), model::kMaxOutputs);
    for (int o = 0; o < outputCount; ++o) {
        if (!skipped(inputCount + o)) {
            ComputeXover(doc, o);
        }
    }
}

void CFilterResponse::ComputeChannel(const CTonraDoc& doc, int channel) {
    channelGain_[static_cast<std::size_t>(channel)] = model::GainDb(doc.GetParam(model::kGain, channel, 0));
    std::vector<double>& curve = eqCurve_[static_cast<std::size_t>(channel)];
    std::fill_n(curve.begin(), pointCount_, 0.0);
    for (int b = 0; b < model::kBandCount; ++b) {
        const BandSetup band = SetUpBand(doc, channel, b);
        if (band.ratio == 1) {
            continue; // a band at 0 dB adds nothing
        }
        for (int k = 0; k < pointCount_; ++k) {
            curve[static_cast<std::size_t>(k)] +=
                BandResponse(band, frequencies_[static_cast<std::size_t>(k)]);
        }
    }
}

void CFilterResponse::ComputeXover(const CTonraDoc& doc, int output) {
    std::vector<double>& curve = xoverCurve_[static_cast<std::size_t>(output)];
    for (int k = 0; k < pointCount_; ++k) {
        const double hz = frequencies_[static_cast<std::size_t>(k)];
        curve[static_cast<std::size_t>(k)] = XoverResponse(doc, output, model::kHighPass, hz) +
                                             XoverResponse(doc, output, model::kLowPass, hz);
    }
}

bool CFilterResponse::IsOutputAffected(const CTonraDoc& doc, int output) const {
    if (channelFilter < 0) {
        return true;
    }
    const int inputCount = doc.GetInputCount();
    const int outputChannel = inputCount + output;
    if (doc.IsLinked(outputChannel, channelFilter)) {
        return true;
    }
    for (int g = 0; g < inputCount; ++g) {
        if (doc.GetParam(model::kMixLevel, outputChannel, g) != 0 && doc.IsLinked(g, channelFilter)) {
            return true;
        }
    }
    return false;
}

void CFilterResponse::SumOutput(const CTonraDoc& doc, int output, const CurveGroups& groups,
                                std::span<double> levels) const {
    const int inputCount = doc.GetInputCount();
    const int outputChannel = inputCount + output;
    const auto sum = levels.first(static_cast<std::size_t>(pointCount_));
    const auto add = [&](std::span<const double> curve) {
        std::transform(sum.begin(), sum.end(), curve.begin(), sum.begin(), std::plus<>());
    };
    double gainDb = 0;
    std::fill(sum.begin(), sum.end(), 0.0);
    for (int g = 0; g < inputCount; ++g) {
        if (doc.GetParam(model::kMixLevel, outputChannel, g) == 0) {
            continue;
        }
        if (groups[kInGain]) {
            gainDb += ChannelGain(g);
        }
        if (groups[kInEq]) {
            add(EqCurve(g));
        }
    }
    if (groups[kOutGain]) {
        gainDb += ChannelGain(outputChannel);
    }
    if (groups[kOutEq]) {
        add(EqCurve(outputChannel));
    }
    if (groups[kOutXover]) {
        add(XoverCurve(output));
    }
    for (double& level : sum) {
        level = std::clamp(level + gainDb, kPlotBottomDb, kPlotTopDb);
    }
}

} // namespace pages
