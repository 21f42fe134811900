#include "cli/Response.h"

#include "app/ProblemBoxes.h"
#include "cli/CliOptions.h"
#include "cli/SetupInput.h"
#include "framework/Format.h"
#include "model/Measurement.h"
#include "model/TonraDoc.h"
#include "pages/FilterResponse.h"
#include "pages/PredictedResponse.h"

#include <cmath>
#include <iostream>
#include <vector>

namespace cli {

namespace {

// Two decimals, without the "-0.00" of a sum a rounding error below zero.
std::string Decimals(double value) { return Format("%.2f", std::abs(value) < 0.005 ? 0.0 : value); }

// False, with the reason on the error output, when the setup file has no output `output`.
bool HasOutput(const CTonraDoc& doc, const std::string& path, int output) {
    const int outputCount = std::min(doc.GetOutputCount(), model::kMaxOutputs);
    if (output <= outputCount) {
        return true;
    }
    std::cerr << "veltrix-cli: --output " << output << ": the setup file \"" << path << "\" has "
              << outputCount << " outputs.\n"
              << kUsageHint << "\n";
    return false;
}

// Every output's curve, or the one asked for, on the plot's grid.
void PrintCurves(const CTonraDoc& doc, const ResponseRequest& request, std::ostream& out) {
    pages::CFilterResponse response;
    response.SetGridWidth(request.points);
    response.ComputeCurves(doc, -1);
    const int outputCount = std::min(doc.GetOutputCount(), model::kMaxOutputs);
    const int first = request.output > 0 ? request.output - 1 : 0;
    const int last = request.output > 0 ? request.output : outputCount;
    std::vector<std::vector<double>> levels;
    out << "Hz";
    for (int o = first; o < last; ++o) {
        levels.emplace_back(static_cast<std::size_t>(response.PointCount()));
        response.SumOutput(doc, o, pages::kAllCurveGroups, levels.back());
        out << "\tOut" << o + 1;
    }
    out << '\n';
    for (int k = 0; k < response.PointCount(); ++k) {
        out << Decimals(response.Frequency(k));
        for (const std::vector<double>& output : levels) {
            out << '\t' << Decimals(output[static_cast<std::size_t>(k)]);
        }
        out << '\n';
    }
}

// One output's response on the plot's grid as FRD, not limited, for a measurement program.
void PrintFrd(const CTonraDoc& doc, const ResponseRequest& request, std::ostream& out) {
    pages::CFilterResponse response;
    response.SetGridWidth(request.points);
    const int o = request.output - 1;
    response.ComputeOutputCurves(doc, o, -1);
    std::vector<double> levels(static_cast<std::size_t>(response.PointCount()));
    response.SumOutputDb(doc, o, pages::kAllCurveGroups, levels);
    out << "* Veltrix: the computed response of Out " << request.output << "\n"
        << "* Freq(Hz)\tSPL(dB)\tPhase(degrees)\n";
    for (int k = 0; k < response.PointCount(); ++k) {
        out << Format("%.4f\t%.4f\t0\n", response.Frequency(k), levels[static_cast<std::size_t>(k)]);
    }
}

int PrintPrediction(const CTonraDoc& doc, const ResponseRequest& request, std::ostream& out) {
    std::string problem;
    const std::optional<model::Measurement> measurement =
        model::ReadMeasurementFile(request.measured, problem);
    if (!measurement) {
        app::ShowFileProblem(problem);
        return kExitFailed;
    }
    const int o = request.output - 1;
    const std::vector<double>& hz = measurement->hz;
    // A device with every gain, band and filter neutral responds with 0 dB at every frequency.
    std::vector<double> baselineDb(hz.size(), 0.0);
    if (!request.baseline.empty()) {
        CSetupInput baseline;
        if (!baseline.Open(request.baseline)) {
            return kExitFailed;
        }
        if (!HasOutput(baseline.Doc(), request.baseline, request.output)) {
            return kExitUsage;
        }
        baselineDb = pages::OutputResponseAt(baseline.Doc(), o, hz);
    }
    const std::vector<double> predicted =
        pages::Predict(measurement->db, pages::OutputResponseAt(doc, o, hz), baselineDb);
    out << "Hz\tMeasured\tPredicted\n";
    for (std::size_t i = 0; i < hz.size(); ++i) {
        if (hz[i] >= pages::kLowestHz && hz[i] <= pages::kHighestHz) { // the audio band the plot shows
            out << Decimals(hz[i]) << '\t' << Decimals(measurement->db[i]) << '\t' << Decimals(predicted[i])
                << '\n';
        }
    }
    return kExitDone;
}

} // namespace

int RunResponse(const std::string& path, const ResponseRequest& request, std::ostream& out) {
    CSetupInput setup;
    if (!setup.Open(path)) {
        return kExitFailed;
    }
    const CTonraDoc& doc = setup.Doc();
    if (!HasOutput(doc, path, request.output)) {
        return kExitUsage;
    }
    if (!request.measured.empty()) {
        if (const int result = PrintPrediction(doc, request, out); result != kExitDone) {
            return result;
        }
    } else if (request.frd) {
        PrintFrd(doc, request, out);
    } else {
        PrintCurves(doc, request, out);
    }
    return FinishOutput(out, "response") ? kExitDone : kExitFailed;
}

} // namespace cli
