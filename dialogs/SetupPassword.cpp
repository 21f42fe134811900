#include "dialogs/SetupPassword.h"

#include "framework/Edit.h"

namespace {

constexpr int kWidth = 220;
constexpr int kHeight = 110;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;

} // namespace

CSetupPassword::CSetupPassword() : CDialog("Password", CSize(kWidth, kHeight)) {}

void CSetupPassword::CreateControls() {
    AddGroupBox("Device Password", CRect(kMargin, kMargin, kWidth - kMargin, 60));
    AddEdit(kPasswordEditId, CRect(kMargin + 10, 30, kWidth - kMargin - 10, 50), ES_PASSWORD,
            kPasswordLength);
    const int buttonsTop = kHeight - kMargin - kButtonHeight;
    AddButton(IDOK, "OK",
              CRect(kMargin + 10, buttonsTop, kMargin + 10 + kButtonWidth, buttonsTop + kButtonHeight), true);
    AddButton(IDCANCEL, "Cancel",
              CRect(kWidth - kMargin - 10 - kButtonWidth, buttonsTop, kWidth - kMargin - 10,
                    buttonsTop + kButtonHeight));
}

void CSetupPassword::DoDataExchange(bool saveAndValidate) {
    DDX_Text(saveAndValidate, kPasswordEditId, password);
}
