#include "cli/Dump.h"

#include "cli/CliOptions.h"
#include "cli/SetupInput.h"
#include "model/DataSheet.h"

#include <ostream>

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
    CSetupInput setup;
    if (!setup.Open(path)) {
        return kExitFailed;
    }
    const model::DataSheet sheet = model::BuildDataSheet(setup.Doc());
    WriteLine(out, std::string(), sheet.headers);
    for (std::size_t row = 0; row < sheet.rowLabels.size(); ++row) {
        WriteLine(out, sheet.rowLabels[row], sheet.cells[row]);
    }
    return FinishOutput(out, "data sheet") ? kExitDone : kExitFailed;
}

} // namespace cli
