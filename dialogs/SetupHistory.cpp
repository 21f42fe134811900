#include "dialogs/SetupHistory.h"

#include "framework/Format.h"

namespace {

constexpr int kWidth = 600;
constexpr int kListHeight = 380;
constexpr int kButtonsTop = kDialogMargin + kListHeight + kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;
const char* const kCaption = "History - Device %d";
const char* const kCloseText = "Close";

} // namespace

CSetupHistory::CSetupHistory(int device) : CDialog(Format(kCaption, device + 1), CSize(kWidth, kHeight)) {}

void CSetupHistory::CreateControls() {
    const int right = kWidth - kDialogMargin;
    list_ = AddListBox(kListId, CRect(kDialogMargin, kDialogMargin, right, kDialogMargin + kListHeight));
    AddButton(IDCANCEL, kCloseText,
              CRect(right - kDialogButtonWidth, kButtonsTop, right, kButtonsTop + kDialogButtonHeight), true);
}

bool CSetupHistory::OnInitDialog() {
    ShowLines();
    GotoDlgCtrl(kListId);
    return CDialog::OnInitDialog();
}

void CSetupHistory::ShowLines() {
    list_.ResetContent();
    for (const std::string& line : lines.lines) {
        list_.AddString(line);
    }
    list_.SetCurSel(lines.currentLine);
}

void CSetupHistory::OnListSelChange(int id) {
    const int chosen = list_.GetCurSel();
    if (id != kListId || chosen < 0 || chosen == lines.currentLine || !goToLine) {
        return;
    }
    lines = goToLine(chosen);
    ShowLines();
}
