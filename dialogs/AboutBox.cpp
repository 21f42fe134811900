#include "dialogs/AboutBox.h"

#include "res/Version.h"

namespace {

constexpr int kWidth = 360;
constexpr int kLineHeight = 20;
constexpr int kGroupBottom = kDialogMargin + kGroupBoxCaption + 2 * kLineHeight + kGroupBoxInset;
constexpr int kFurtherLineTop = kGroupBottom + 8;
constexpr int kButtonsTop = kFurtherLineTop + kLineHeight + kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

constexpr const char* kFurtherLine = "Loudspeaker management for up to 16 devices";

} // namespace

CAboutBox::CAboutBox() : CDialog("Qel Veltrix Version", CSize(kWidth, kHeight)) {}

std::string CAboutBox::VersionText() { return std::string("Version") + " " + std::string(res::kVersion); }

void CAboutBox::CreateControls() {
    const int right = kWidth - kDialogMargin;
    AddGroupBox("Version", CRect(kDialogMargin, kDialogMargin, right, kGroupBottom));
    const int productTop = kDialogMargin + kGroupBoxCaption;
    AddStatic(
        kProductTextId, "",
        CRect(kDialogMargin + kGroupBoxInset, productTop, right - kGroupBoxInset, productTop + kLineHeight),
        SS_CENTER);
    AddStatic(kVersionTextId, "",
              CRect(kDialogMargin + kGroupBoxInset, productTop + kLineHeight, right - kGroupBoxInset,
                    productTop + 2 * kLineHeight),
              SS_CENTER);
    AddStatic(0, kFurtherLine, CRect(kDialogMargin, kFurtherLineTop, right, kFurtherLineTop + kLineHeight),
              SS_CENTER);
    const int okLeft = (kWidth - kDialogButtonWidth) / 2;
    AddButton(IDOK, "OK",
              CRect(okLeft, kButtonsTop, okLeft + kDialogButtonWidth, kButtonsTop + kDialogButtonHeight),
              true);
}

void CAboutBox::DoDataExchange(bool saveAndValidate) {
    DDX_Text(saveAndValidate, kProductTextId, productText);
    DDX_Text(saveAndValidate, kVersionTextId, versionText);
}
