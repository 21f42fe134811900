#include "pages/FilterResponse.h"

#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pages {

namespace {

constexpr double kDecibelsPerDecade = 20;      // voltage ratios
constexpr double kPowerDecibelsPerDecade = 10; // power ratios
// The same per natural logarithm: std::log is several times faster than std::log10.
constexpr double kDecibelsPerNeper = kDecibelsPerDecade / std::numbers::ln10;
constexpr double kPowerDecibelsPerNeper = kPowerDecibelsPerDecade / std::numbers::ln10;
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

// Routines of Qt's GUI library leave the upper halves of the AVX registers in use. Until they
// are cleared, the scalar floating-point code that follows runs many times slower on some x86
// processors: on our build machine a full computation took 7 ms in the program and 0.6 ms
// after clearing them. Clearing costs nothing and changes no value.
void ClearUpperVectorRegisters() {
#if defined(__x86_64__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) {
        __asm__ volatile("vzeroupper");
    }
#endif
}

// x^n for n >= 0 by repeated squaring.
double IntegerPower(double x, int n) {
    double result = 1;
    for (; n > 0; n >>= 1, x *= x) {
        if (n & 1) {
            result *= x;
        }
    }
    return result;
}

// A band ready to be evaluated at many frequencies. Its response is a fraction of two
// polynomials in u = (f / F)^2 whose 20 log10 is R(f); the coefficients that do not depend on
// f are worked out once.
class PreparedBand {
public:
    explicit PreparedBand(const BandSetup& band)
        : type_(band.type), inverseCentre_(1 / band.centreHz), shape_(band.shape), a_(band.ratio),
          k_(band.ratio > 1 ? band.ratio - 1 : 1 / band.ratio - 1), cut_(band.ratio < 1),
          linearTerm_(band.ratio / band.shape - Square(band.ratio) - 1),
          denominatorLinearTerm_(band.ratio / band.shape - 2 * Square(band.ratio)) {}

    // Multiplies the band's fraction at `hz` into numerator and denominator.
    void MultiplyInto(double hz, double& numerator, double& denominator) const {
        const double u = Square(hz * inverseCentre_);
        if (type_ == model::kEqParametric) {
            // 1 + K u / (u + S (1 - u)^2); a cut is the boost's reciprocal.
            const double base = u + shape_ * Square(1 - u);
            const double boosted = base + k_ * u;
            numerator *= cut_ ? base : boosted;
            denominator *= cut_ ? boosted : base;
            return;
        }
        numerator *= a_ * (a_ * Square(u) + linearTerm_ * u + a_);
        denominator *= type_ == model::kEqLowShelf ? Square(a_) * Square(u) + denominatorLinearTerm_ * u + 1
                                                   : Square(u) + denominatorLinearTerm_ * u + Square(a_);
    }

private:
    int type_;
    double inverseCentre_;
    double shape_;
    double a_;
    double k_;
    bool cut_;
    double linearTerm_;            // A/S - A^2 - 1
    double denominatorLinearTerm_; // A/S - 2 A^2
};

// One crossover filter of an output, read from the document once per computation.
struct XoverSetup {
    bool active = false;
    int order = 0;
    double cutoffHz = 0;
    bool highPass = true;
};

XoverSetup SetUpXover(const CTonraDoc& doc, int output, int filter) {
    const int channel = doc.GetInputCount() + output;
    XoverSetup setup;
    setup.active = doc.GetParam(model::kXoverType, channel, filter) != 0;
    setup.order = doc.GetParam(model::kXoverSlope, channel, filter) + 1;
    setup.cutoffHz = model::FrequencyHz(doc.GetParam(model::kXoverFreq, channel, filter));
    setup.highPass = filter == model::kHighPass;
    return setup;
}

// The filter's power attenuation at `hz`, whose 10 log10 of the reciprocal is its response:
// (fc / f)^2n + 1 for the high-pass, (f / fc)^2n + 1 for the low-pass, 1 when inactive.
double XoverAttenuation(const XoverSetup& filter, double hz) {
    if (!filter.active) {
        return 1;
    }
    const double ratio = filter.highPass ? filter.cutoffHz / hz : hz / filter.cutoffHz;
    return IntegerPower(ratio, 2 * filter.order) + 1;
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
    double numerator = 1;
    double denominator = 1;
    PreparedBand(setup).MultiplyInto(hz, numerator, denominator);
    return kDecibelsPerNeper * std::log(numerator / denominator);
}

double XoverResponse(const CTonraDoc& doc, int output, int filter, double hz) {
    return -kPowerDecibelsPerNeper * std::log(XoverAttenuation(SetUpXover(doc, output, filter), hz));
}

void CFilterResponse::ResizeCurves(std::size_t points) {
    if (points > frequencies_.size()) {
        frequencies_.resize(points);
        for (auto& curve : eqCurve_) {
            curve.resize(points);
        }
        for (auto& curve : xoverCurve_) {
            curve.resize(points);
        }
    }
}

void CFilterResponse::SetGridWidth(int gridWidth) {
    gridWidth_ = std::max(gridWidth, 0);
    pointCount_ = std::max(gridWidth_ - 1, 0);
    ResizeCurves(static_cast<std::size_t>(pointCount_));
    for (int k = 0; k < pointCount_; ++k) {
        frequencies_[static_cast<std::size_t>(k)] =
            kLowestHz * std::pow(10, static_cast<double>(kDecadeCount) * k / gridWidth_);
    }
}

void CFilterResponse::SetFrequencies(std::span<const double> hz) {
    gridWidth_ = 0;
    pointCount_ = static_cast<int>(hz.size());
    ResizeCurves(hz.size());
    std::copy(hz.begin(), hz.end(), frequencies_.begin());
}

std::span<const double> CFilterResponse::Frequencies() const {
    return std::span<const double>(frequencies_).first(static_cast<std::size_t>(pointCount_));
}

std::span<const double> CFilterResponse::EqCurve(int channel) const {
    return std::span<const double>(eqCurve_[static_cast<std::size_t>(channel)]).first(pointCount_);
}

std::span<const double> CFilterResponse::XoverCurve(int output) const {
    return std::span<const double>(xoverCurve_[static_cast<std::size_t>(output)]).first(pointCount_);
}

void CFilterResponse::ComputeCurves(const CTonraDoc& doc, int filter) {
    ClearUpperVectorRegisters();
    curvesDirty = true;
    channelFilter = filter;
    if (filter < 0) {
        computedDevice_ = doc.ResolveDevice(-1);
        computedInputCount_ = doc.GetInputCount();
        computedChannelCount_ = std::min(doc.GetChannelCount(), model::kSlotCount);
    }
    ComputeChannels(doc, [&](int channel) { return filter < 0 || doc.IsLinked(channel, filter); });
}

void CFilterResponse::ComputeOutputCurves(const CTonraDoc& doc, int output, int filter) {
    ClearUpperVectorRegisters();
    const int inputCount = doc.GetInputCount();
    const int outputChannel = inputCount + output;
    ComputeChannels(doc, [&](int channel) {
        const bool summed =
            channel == outputChannel ||
            (channel < inputCount && doc.GetParam(model::kMixLevel, outputChannel, channel) != 0);
        return summed && (filter < 0 || doc.IsLinked(channel, filter));
    });
}

template <typename Wanted> void CFilterResponse::ComputeChannels(const CTonraDoc& doc, Wanted wanted) {
    const int channelCount = std::min(doc.GetChannelCount(), model::kSlotCount);
    for (int c = 0; c < channelCount; ++c) {
        if (wanted(c)) {
            ComputeChannel(doc, c);
            computedFrom_[static_cast<std::size_t>(c)] = InputsOf(doc, c);
        }
    }
    const int inputCount = doc.GetInputCount();
    const int outputCount = std::min(doc.GetOutputCount(), model::kMaxOutputs);
    for (int o = 0; o < outputCount; ++o) {
        if (wanted(inputCount + o)) {
            ComputeXover(doc, o);
        }
    }
}

// The bands' responses add in dB, so their fractions multiply: one division and one logarithm
// per point instead of one per band and point.
void CFilterResponse::ComputeChannel(const CTonraDoc& doc, int channel) {
    channelGain_[static_cast<std::size_t>(channel)] = model::GainDb(doc.GetParam(model::kGain, channel, 0));
    std::vector<PreparedBand> bands;
    bands.reserve(model::kBandCount);
    for (int b = 0; b < model::kBandCount; ++b) {
        const BandSetup band = SetUpBand(doc, channel, b);
        if (band.ratio != 1) { // a band at 0 dB adds nothing
            bands.emplace_back(band);
        }
    }
    std::vector<double>& curve = eqCurve_[static_cast<std::size_t>(channel)];
    for (int k = 0; k < pointCount_; ++k) {
        const double hz = frequencies_[static_cast<std::size_t>(k)];
        double numerator = 1;
        double denominator = 1;
        for (const PreparedBand& band : bands) {
            band.MultiplyInto(hz, numerator, denominator);
        }
        curve[static_cast<std::size_t>(k)] =
            bands.empty() ? 0 : kDecibelsPerNeper * std::log(numerator / denominator);
    }
}

void CFilterResponse::ComputeXover(const CTonraDoc& doc, int output) {
    const XoverSetup highPass = SetUpXover(doc, output, model::kHighPass);
    const XoverSetup lowPass = SetUpXover(doc, output, model::kLowPass);
    std::vector<double>& curve = xoverCurve_[static_cast<std::size_t>(output)];
    for (int k = 0; k < pointCount_; ++k) {
        const double hz = frequencies_[static_cast<std::size_t>(k)];
        const double attenuation = XoverAttenuation(highPass, hz) * XoverAttenuation(lowPass, hz);
        curve[static_cast<std::size_t>(k)] =
            attenuation == 1 ? 0 : -kPowerDecibelsPerNeper * std::log(attenuation);
    }
}

CFilterResponse::ChannelInputs CFilterResponse::InputsOf(const CTonraDoc& doc, int channel) {
    ChannelInputs inputs{};
    auto next = inputs.begin();
    *next++ = doc.GetParam(model::kGain, channel, 0);
    for (int b = 0; b < model::kBandCount; ++b) {
        for (const int kind : {model::kEqType, model::kEqGain, model::kEqFreq, model::kEqWidth}) {
            *next++ = doc.GetParam(kind, channel, b);
        }
    }
    const int inputCount = doc.GetInputCount();
    if (channel < inputCount) {
        return inputs; // an input has no crossover and no sources
    }
    for (int x = 0; x < model::kXoverFilterCount; ++x) {
        for (const int kind : {model::kXoverType, model::kXoverFreq, model::kXoverSlope}) {
            *next++ = doc.GetParam(kind, channel, x);
        }
    }
    for (int g = 0; g < std::min(inputCount, model::kMaxInputs); ++g) {
        *next++ = doc.GetParam(model::kMixLevel, channel, g);
    }
    return inputs;
}

bool CFilterResponse::IsStale(const CTonraDoc& doc) const {
    const int channelCount = std::min(doc.GetChannelCount(), model::kSlotCount);
    if (doc.ResolveDevice(-1) != computedDevice_ || doc.GetInputCount() != computedInputCount_ ||
        channelCount != computedChannelCount_) {
        return true;
    }
    for (int c = 0; c < channelCount; ++c) {
        if (InputsOf(doc, c) != computedFrom_[static_cast<std::size_t>(c)]) {
            return true;
        }
    }
    return false;
}

void CFilterResponse::SumOutput(const CTonraDoc& doc, int output, const CurveGroups& groups,
                                std::span<double> levels) const {
    SumOutputDb(doc, output, groups, levels);
    for (double& level : levels.first(static_cast<std::size_t>(pointCount_))) {
        level = std::clamp(level, kPlotBottomDb, kPlotTopDb);
    }
}

void CFilterResponse::SumOutputDb(const CTonraDoc& doc, int output, const CurveGroups& groups,
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
        level += gainDb;
    }
}

} // namespace pages
