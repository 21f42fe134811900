// The magnitude responses behind the frequency response plot: a logarithmic frequency grid
// from 20 Hz over three decades with one point per pixel column, the response of every EQ band
// (parametric, low shelf, high shelf) and crossover filter, and per channel the curves the
// plot sums into the curve of each output. Everything is in dB.
//
// The formulas are display approximations, fixed so that the curves look the same wherever
// they are drawn; they are not the device's own filters. The computation reads the document
// of the current device and never writes it, and needs no window: veltrix-cli prints the same
// curves the plot draws.
#pragma once

#include "model/ModelTypes.h"

#include <array>
#include <span>
#include <vector>

class CTonraDoc;

namespace pages {

// The plot's level range: sums beyond it are drawn on the grid's edge.
constexpr double kPlotTopDb = 20;
constexpr double kPlotBottomDb = -40;
constexpr double kPlotRangeDb = kPlotTopDb - kPlotBottomDb;
// The grid spans three decades from 20 Hz.
constexpr double kLowestHz = 20;
constexpr int kDecadeCount = 3;
constexpr double kHighestHz = 20000; // kLowestHz three decades up

// The stages the plot sums into an output's curve, in the order of the document's
// plotCurveShown switches.
enum CurveGroup { kInGain, kInEq, kOutGain, kOutEq, kOutXover };
using CurveGroups = std::array<bool, model::kPlotCurveGroupCount>;
constexpr CurveGroups kAllCurveGroups = {true, true, true, true, true};

// The working values of one EQ band.
struct BandSetup {
    int type = model::kEqParametric;
    double centreHz = 0; // F
    double shape = 0;    // S: the square of the parametric band's Q, a fixed value for shelves
    double ratio = 1;    // A: the linear gain, its square root for shelves
};

// The setup of band `band` of channel number `channel` of the current device.
BandSetup SetUpBand(const CTonraDoc& doc, int channel, int band);
// R(f): the band's response at `hz` in dB; exactly 0 for a band at 0 dB.
double BandResponse(const BandSetup& setup, double hz);
// The response at `hz` of crossover filter `filter` (model::kHighPass or kLowPass) of output
// `output`; 0 for a filter whose type is "--".
double XoverResponse(const CTonraDoc& doc, int output, int filter, double hz);

// The curve arrays of the current device, sized to the grid.
class CFilterResponse {
public:
    // N, the grid width in pixels: the grid holds the N - 1 points f[k] = 20 x 10^(3k / N).
    // The arrays grow to hold them (and never shrink); the curves of a new grid are computed
    // by the next ComputeCurves.
    void SetGridWidth(int gridWidth);
    // Points at the frequencies `hz` instead of a grid (a measurement's own frequencies), whose
    // curves are computed by the next computation.
    void SetFrequencies(std::span<const double> hz);
    int GridWidth() const { return gridWidth_; }
    int PointCount() const { return pointCount_; }
    double Frequency(int k) const { return frequencies_[static_cast<std::size_t>(k)]; }
    std::span<const double> Frequencies() const;

    // Recomputes the gain, EQ and crossover curves of every channel, or with `channelFilter`
    // >= 0 only of the channels linked to that channel number, keeping the others' curves.
    // Sets curvesDirty and remembers the filter.
    void ComputeCurves(const CTonraDoc& doc, int channelFilter);
    // The same for the channels that output `output` sums (its routed inputs and itself) and its
    // crossover only; the other channels' curves are left as they are. curvesDirty stays.
    void ComputeOutputCurves(const CTonraDoc& doc, int output, int channelFilter);

    // Whether the document holds other values than the curves were computed from: another
    // device, other channel counts, or a channel whose gain, EQ, crossover or sources changed
    // since its curves were computed (by a copy, a file, a sync or the engine).
    bool IsStale(const CTonraDoc& doc) const;

    double ChannelGain(int channel) const { return channelGain_[static_cast<std::size_t>(channel)]; }
    std::span<const double> EqCurve(int channel) const;
    std::span<const double> XoverCurve(int output) const;

    // The curve of output `output` as the plot draws it: the stages of `groups` of every input
    // routed to the output (each routed input adds its full gain and EQ in dB), then the
    // output's own, limited to the plot's range. `levels` holds at least PointCount() values.
    void SumOutput(const CTonraDoc& doc, int output, const CurveGroups& groups,
                   std::span<double> levels) const;
    // The same sum, not limited: the output's exact response at each point.
    void SumOutputDb(const CTonraDoc& doc, int output, const CurveGroups& groups,
                     std::span<double> levels) const;

    bool curvesDirty = false;
    int channelFilter = -1;

private:
    // Every value of the document that one channel's curves and sums depend on.
    static constexpr int kInputsPerChannel =
        1 + 4 * model::kBandCount + 3 * model::kXoverFilterCount + model::kMaxInputs;
    using ChannelInputs = std::array<int, kInputsPerChannel>;
    static ChannelInputs InputsOf(const CTonraDoc& doc, int channel);

    void ResizeCurves(std::size_t points);
    // Computes the channels, and the crossovers of the output channels, that `wanted` names.
    template <typename Wanted> void ComputeChannels(const CTonraDoc& doc, Wanted wanted);
    void ComputeChannel(const CTonraDoc& doc, int channel);
    void ComputeXover(const CTonraDoc& doc, int output);

    int gridWidth_ = 0;
    int pointCount_ = 0;
    std::vector<double> frequencies_;
    std::array<double, model::kSlotCount> channelGain_{};
    std::array<std::vector<double>, model::kSlotCount> eqCurve_;     // by channel number
    std::array<std::vector<double>, model::kMaxOutputs> xoverCurve_; // by output

    // What the curves were computed from.
    int computedDevice_ = -1;
    int computedInputCount_ = -1;
    int computedChannelCount_ = -1;
    std::array<ChannelInputs, model::kSlotCount> computedFrom_{};
};

} // namespace pages
