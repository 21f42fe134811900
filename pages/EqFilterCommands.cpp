#include "pages/EqFilterCommands.h"

#include "framework/UiService.h"
#include "model/EditGesture.h"
#include "model/EqFilterPlacement.h"
#include "model/FileIo.h"
#include "model/TonraDoc.h"
#include "pages/EqImportReport.h"

#include <QByteArray>

namespace {

constexpr const char* kFilterFileFilter = "Filter Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kFilterFileExtension = "txt";
constexpr const char* kImportTitle = "Import filters";

std::string ExportTitle(model::FilterTextFormat format) {
    return format == model::FilterTextFormat::Rew ? "Export filters for REW"
                                                  : "Export filters for Equalizer APO";
}

std::optional<std::string> AskForFile(bool open, const std::string& title) {
    FileDialogRequest request;
    request.open = open;
    request.filter = kFilterFileFilter;
    request.defaultExtension = kFilterFileExtension;
    request.title = title;
    return UiService().FileDialog(request);
}

} // namespace

namespace pages {

bool ImportEqFilters(CTonraDoc& doc, int channel) {
    const std::optional<std::string> path = AskForFile(true, kImportTitle);
    if (!path) {
        return false;
    }
    std::string problem;
    const std::optional<std::string> text = model::ReadFilterTextFile(*path, problem);
    if (!text) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const model::EqImport import = model::PlaceFilters(model::ReadFilterText(*text));
    const std::string file = path->substr(path->find_last_of('/') + 1);
    const std::string heading = "Filters from \"" + file + "\":";
    if (import.PlacedCount() == 0) {
        AfxMessageBox(heading + "\n\n" + import.ReportText(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CEqImportReport report;
    report.heading = heading;
    report.lines = import.ReportLines();
    if (report.DoModal() != IDOK) {
        return false;
    }
    const model::EditGesture step(doc, "Import " + file); // names the step in the history
    model::ApplyEqImport(doc, channel, import);
    return true;
}

void ExportEqFilters(const CTonraDoc& doc, int channel, model::FilterTextFormat format) {
    const std::optional<std::string> path = AskForFile(false, ExportTitle(format));
    if (!path) {
        return;
    }
    const QByteArray text = QByteArray::fromStdString(model::ChannelFilterText(doc, channel, format));
    if (std::string problem; !model::WriteFileSafely(*path, text, problem)) {
        AfxMessageBox("Cannot save the filter file \"" + *path + "\".\n" + problem,
                      MB_OK | MB_ICONEXCLAMATION);
    }
}

} // namespace pages
