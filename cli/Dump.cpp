#include "cli/Dump.h"

#include "app/ProblemBoxes.h"
#include "cli/CliConnectionFile.h"
#include "cli/CliOptions.h"
#include "model/DataSheet.h"
#include "model/TonraDoc.h"

#include <iostream>
#include <memory>

namespace cli {

namespace {

void WriteLine(std::ostream& out, const std::string& first, const std::vector<std::string>& cells) {
    out << first;
    for (const std::string& cell : cells) {
        out << '\t' << cell;
    }
    out << '\n';
}

} // namespace

int RunDump(const std::string& path, std::ostream& out) {
    const CCliConnectionFile connection;
    const auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    if (!doc->OnOpenDocument(path)) {
        app::ShowFileProblem(doc->FileProblem());
        return kExitFailed;
    }
    const model::DataSheet sheet = model::BuildDataSheet(*doc);
    WriteLine(out, std::string(), sheet.headers);
    for (std::size_t row = 0; row < sheet.rowLabels.size(); ++row) {
        WriteLine(out, sheet.rowLabels[row], sheet.cells[row]);
    }
    out.flush();
    if (!out) {
        std::cerr << "veltrix-cli: the data sheet could not be written to the output.\n";
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace cli
