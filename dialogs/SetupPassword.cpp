#include "dialogs/SetupPassword.h"

#include "framework/Edit.h"

namespace {

constexpr int kWidth = 220;
constexpr int kGroupBottom = 60;
constexpr int kButtonsTop = kGroupBottom + kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

} // namespace

CSetupPassword::CSetupPassword() : CDialog("Password", CSize(kWidth, kHeight)) {}

void CSetupPassword::CreateControls() {
    AddGroupBox("Device Password", CRect(kDialogMargin, kDialogMargin, kWidth - kDialogMargin, kGroupBottom));
    AddEdit(kPasswordEditId, CRect(kDialogMargin + 10, 30, kWidth - kDialogMargin - 10, 50), ES_PASSWORD,
            kPasswordLength);
    AddOkCancelButtons(kWidth - kDialogMargin, kButtonsTop);
}

void CSetupPassword::DoDataExchange(bool saveAndValidate) {
    DDX_Text(saveAndValidate, kPasswordEditId, password);
}
