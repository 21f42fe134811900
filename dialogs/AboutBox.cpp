#include "dialogs/AboutBox.h"

namespace {

constexpr int kWidth = 360;
constexpr int kMargin = 10;
constexpr int kInset = 12;
constexpr int kLineHeight = 20;
constexpr int kGroupTop = 24;
constexpr int kGroupBottom = kMargin + kGroupTop + 2 * kLineHeight + kInset;
constexpr int kFurtherLineTop = kGroupBottom + 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonsTop = kFurtherLineTop + kLineHeight + kMargin;
constexpr int kHeight = kButtonsTop + kButtonHeight + kMargin;

constexpr const char* kFurtherLine = "Loudspeaker management for up to 16 devices";

} // namespace

CAboutBox::CAboutBox() : CDialog("Qel Veltrix Version", CSize(kWidth, kHeight)) {}

std::string CAboutBox::VersionText() { return std::string("Version") + " " + kVersion; }

void CAboutBox::CreateControls() {
    const int right = kWidth - kMargin;
    AddGroupBox("Version", CRect(kMargin, kMargin, right, kGroupBottom));
    const int productTop = kMargin + kGroupTop;
    AddStatic(kProductTextId, "",
              CRect(kMargin + kInset, productTop, right - kInset, productTop + kLineHeight), SS_CENTER);
    AddStatic(kVersionTextId, "",
              CRect(kMargin + kInset, productTop + kLineHeight, right - kInset, productTop + 2 * kLineHeight),
              SS_CENTER);
    AddStatic(0, kFurtherLine, CRect(kMargin, kFurtherLineTop, right, kFurtherLineTop + kLineHeight),
              SS_CENTER);
    const int okLeft = (kWidth - kButtonWidth) / 2;
    AddButton(IDOK, "OK", CRect(okLeft, kButtonsTop, okLeft + kButtonWidth, kButtonsTop + kButtonHeight),
              true);
}

void CAboutBox::DoDataExchange(bool saveAndValidate) {
    DDX_Text(saveAndValidate, kProductTextId, productText);
    DDX_Text(saveAndValidate, kVersionTextId, versionText);
}
