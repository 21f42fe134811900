#include "cli/EqCommand.h"

#include "app/ProblemBoxes.h"
#include "cli/CliOptions.h"
#include "cli/SetupInput.h"
#include "model/EqFilterPlacement.h"

#include <iostream>

namespace cli {

namespace {

constexpr std::size_t kExportArguments = 3; // export FILE.dat CHANNEL
constexpr std::size_t kImportArguments = 4; // import FILE.dat CHANNEL FILTERS.txt

bool Bad(std::string& message, const std::string& why) {
    message = why;
    return false;
}

int UsageError(const std::string& problem) {
    std::cerr << "veltrix-cli: " << problem << "\n" << kUsageHint << "\n";
    return kExitUsage;
}

int Import(const EqOptions& eq, CTonraDoc& doc, int channel, std::ostream& out) {
    std::string problem;
    const std::optional<std::string> text = model::ReadFilterTextFile(eq.filtersPath, problem);
    if (!text) {
        app::ShowFileProblem(problem);
        return kExitFailed;
    }
    const model::EqImport import = model::PlaceFilters(model::ReadFilterText(*text));
    for (const std::string& line : import.ReportLines()) {
        out << line << '\n';
    }
    if (import.PlacedCount() == 0) {
        static_cast<void>(FinishOutput(out, "report"));
        return kExitFailed;
    }
    model::ApplyEqImport(doc, channel, import);
    if (!doc.OnSaveDocument(eq.outPath)) {
        static_cast<void>(FinishOutput(out, "report"));
        app::ShowFileProblem(doc.FileProblem());
        return kExitFailed;
    }
    out << "Saved " << eq.outPath << ".\n";
    return FinishOutput(out, "report") ? kExitDone : kExitFailed;
}

} // namespace

bool ReadEqArguments(const std::vector<std::string>& positionals,
                     const std::map<std::string, std::string>& options, EqOptions& eq, std::string& message) {
    const std::string action = positionals.front();
    if (action != "export" && action != "import") {
        return Bad(message, "eq takes export or import, not \"" + action + "\"");
    }
    eq.import = action == "import";
    if (positionals.size() != (eq.import ? kImportArguments : kExportArguments)) {
        return Bad(message, eq.import ? "eq import takes FILE.dat CHANNEL FILTERS.txt"
                                      : "eq export takes FILE.dat CHANNEL");
    }
    eq.setupPath = positionals[1];
    const std::optional<ChannelRef> channel = ReadChannel(positionals[2]);
    if (!channel) {
        return Bad(message, "CHANNEL is in1..in8, out1..out8 or a channel number from 0 to 15, not \"" +
                                positionals[2] + "\"");
    }
    eq.channel = *channel;
    const auto format = options.find("format");
    const auto outFile = options.find("out");
    if (!eq.import) {
        if (outFile != options.end()) {
            return Bad(message, "--out goes with eq import only; eq export prints the filters");
        }
        if (format != options.end()) {
            const std::optional<model::FilterTextFormat> named = model::FilterTextFormatNamed(format->second);
            if (!named) {
                return Bad(message, "--format takes rew or apo, not \"" + format->second + "\"");
            }
            eq.format = *named;
        }
        return true;
    }
    if (format != options.end()) {
        return Bad(message, "--format goes with eq export only; eq import reads both forms");
    }
    if (outFile == options.end()) {
        return Bad(message, "eq import needs --out NEW.dat");
    }
    eq.filtersPath = positionals[3];
    eq.outPath = outFile->second;
    return true;
}

int RunEq(const EqOptions& eq, std::ostream& out) {
    CSetupInput setup;
    if (!setup.Open(eq.setupPath)) {
        return kExitFailed;
    }
    CTonraDoc& doc = setup.Doc();
    std::string problem;
    const std::optional<int> channel =
        ResolveChannel(eq.channel, doc.GetInputCount(), doc.GetOutputCount(), problem);
    if (!channel) {
        return UsageError(problem);
    }
    if (eq.import) {
        return Import(eq, doc, *channel, out);
    }
    out << model::ChannelFilterText(doc, *channel, eq.format);
    return FinishOutput(out, "filters") ? kExitDone : kExitFailed;
}

} // namespace cli
