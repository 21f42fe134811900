// The view's measurement commands: a measurement of an output loaded from a file for the plot,
// or cleared.
#include "app/TonraView.h"

#include "app/ProblemBoxes.h"
#include "framework/Format.h"
#include "framework/UiService.h"
#include "model/Measurement.h"
#include "pages/PlotMeasurements.h"

#include <optional>
#include <string>

namespace {

constexpr const char* kMeasurementFilter = "Measurements (*.txt;*.frd)|*.txt;*.frd|All Files (*.*)|*.*||";

// Asks for a file and makes it the measurement of `output`; a file that is no measurement is
// refused with a message. True when the measurement changed.
bool LoadMeasurement(CTonraDoc& doc, int output) {
    FileDialogRequest request;
    request.open = true;
    request.filter = kMeasurementFilter;
    request.title = Format("Load measurement for Out %d", output + 1);
    const std::optional<std::string> path = UiService().FileDialog(request);
    if (!path) {
        return false;
    }
    std::string problem;
    std::optional<model::Measurement> measurement = model::ReadMeasurementFile(*path, problem);
    if (!measurement) {
        app::ShowFileProblem(problem);
        return false;
    }
    pages::StoreMeasurement(doc, output, std::move(*measurement), *path);
    return true;
}

} // namespace

void CTonraView::OnMeasurement(UINT command, int output) {
    using pages::CPlotMeasurements;
    if (!pages::MeasurableOutput(document_, output)) {
        return;
    }
    if (command == CPlotMeasurements::kLoadCommand) {
        if (!LoadMeasurement(document_, output)) {
            return;
        }
    } else if (command == CPlotMeasurements::kClearCommand) {
        pages::ClearMeasurement(document_, output);
    } else {
        return;
    }
    devicePanel_.GetPlot().MeasurementChanged(output);
}
