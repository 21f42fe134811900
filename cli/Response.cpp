#include "cli/Response.h"

#include "cli/CliOptions.h"
#include "cli/SetupInput.h"
#include "framework/Format.h"
#include "model/TonraDoc.h"
#include "pages/FilterResponse.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <vector>

namespace cli {

namespace {

// Two decimals, without the "-0.00" of a sum a rounding error below zero.
std::string Decimals(double value) { return Format("%.2f", std::abs(value) < 0.005 ? 0.0 : value); }

} // namespace

int RunResponse(const std::string& path, int points, std::ostream& out) {
    CSetupInput setup;
    if (!setup.Open(path)) {
        return kExitFailed;
    }
    const CTonraDoc& doc = setup.Doc();
    pages::CFilterResponse response;
    response.SetGridWidth(points);
    response.ComputeCurves(doc, -1);
    const int outputCount = std::min(doc.GetOutputCount(), model::kMaxOutputs);
    std::vector<std::vector<double>> levels(
        static_cast<std::size_t>(outputCount),
        std::vector<double>(static_cast<std::size_t>(response.PointCount())));
    out << "Hz";
    for (int o = 0; o < outputCount; ++o) {
        response.SumOutput(doc, o, pages::kAllCurveGroups, levels[static_cast<std::size_t>(o)]);
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
    return FinishOutput(out, "response") ? kExitDone : kExitFailed;
}

} // namespace cli
