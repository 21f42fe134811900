#include "dialogs/EqImportReport.h"

namespace {

constexpr int kWidth = 760; // a line naming three changed values reads on one row
constexpr int kTextHeight = 20;
constexpr int kListTop = kDialogMargin + kTextHeight + 4;
constexpr int kListHeight = 200;
constexpr int kQuestionTop = kListTop + kListHeight + 6;
constexpr int kButtonsTop = kQuestionTop + kTextHeight + kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;
constexpr const char* kQuestion = "OK sets the bands as the report says; Cancel changes nothing.";

} // namespace

CEqImportReport::CEqImportReport() : CDialog("Import Filters", CSize(kWidth, kHeight)) {}

void CEqImportReport::CreateControls() {
    const int right = kWidth - kDialogMargin;
    AddStatic(kHeadingId, heading, CRect(kDialogMargin, kDialogMargin, right, kDialogMargin + kTextHeight));
    AddListBox(kReportListId, CRect(kDialogMargin, kListTop, right, kListTop + kListHeight));
    AddStatic(kQuestionId, kQuestion, CRect(kDialogMargin, kQuestionTop, right, kQuestionTop + kTextHeight));
    AddOkCancelButtons(right, kButtonsTop);
}

bool CEqImportReport::OnInitDialog() {
    CListBox report = GetListBox(kReportListId);
    for (const std::string& line : lines) {
        report.AddString(line);
    }
    return CDialog::OnInitDialog();
}
