// The view's filter commands for the EQ editor: a channel's EQ bands exported as REW or
// Equalizer APO filter text, and such text imported into the bands after the operator has read
// the report.
#include "app/TonraView.h"

#include "dialogs/EqImportReport.h"
#include "framework/UiService.h"
#include "model/EditGesture.h"
#include "model/EqFilterPlacement.h"
#include "model/FileIo.h"
#include "model/TonraDoc.h"
#include "pages/WndEQ.h"

#include <QByteArray>

#include <filesystem>

namespace {

constexpr const char* kFilterFileFilter = "Filter Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kFilterFileExtension = "txt";
constexpr const char* kImportTitle = "Import filters";
const std::string kImportLabel = "Import "; // how an import reads in the device's history

std::string ExportTitle(model::FilterTextFormat format) {
    return format == model::FilterTextFormat::Rew ? "Export filters for REW"
                                                  : "Export filters for Equalizer APO";
}

std::optional<std::string> AskForFilterFile(bool open, const std::string& title) {
    FileDialogRequest request;
    request.open = open;
    request.filter = kFilterFileFilter;
    request.defaultExtension = kFilterFileExtension;
    request.title = title;
    return UiService().FileDialog(request);
}

} // namespace

void CTonraView::OnEqFilters(UINT command, int channel) {
    switch (command) {
    case CWndEQ::kImportFilters:
        ImportEqFilters(channel);
        break;
    case CWndEQ::kExportFilters:
        ExportEqFilters(channel, model::FilterTextFormat::Rew);
        break;
    case CWndEQ::kExportApoFilters:
        ExportEqFilters(channel, model::FilterTextFormat::Apo);
        break;
    default:
        break;
    }
}

void CTonraView::ImportEqFilters(int channel) {
    if (RefusedWithoutControl()) {
        return;
    }
    const std::optional<std::string> path = AskForFilterFile(true, kImportTitle);
    if (!path) {
        return;
    }
    std::string problem;
    const std::optional<std::string> text = model::ReadFilterTextFile(*path, problem);
    if (!text) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const model::EqImport import = model::PlaceFilters(model::ReadFilterText(*text));
    const std::string file = std::filesystem::path(*path).filename().string();
    const std::string heading = "Filters from \"" + file + "\":";
    if (import.PlacedCount() == 0) {
        AfxMessageBox(heading + "\n\n" + import.ReportText(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CEqImportReport report;
    report.heading = heading;
    report.lines = import.ReportLines();
    if (report.DoModal() != IDOK) {
        return;
    }
    {
        const model::EditGesture step(document_, kImportLabel + file);
        model::ApplyEqImport(document_, channel, import);
    }
    devicePanel_.Refresh(); // the strips, the EQ editor and the plot follow
}

void CTonraView::ExportEqFilters(int channel, model::FilterTextFormat format) {
    const std::optional<std::string> path = AskForFilterFile(false, ExportTitle(format));
    if (!path) {
        return;
    }
    const QByteArray text = QByteArray::fromStdString(model::ChannelFilterText(document_, channel, format));
    if (std::string problem; !model::WriteFileSafely(*path, text, problem)) {
        AfxMessageBox("Cannot save the filter file \"" + *path + "\".\n" + problem,
                      MB_OK | MB_ICONEXCLAMATION);
    }
}
