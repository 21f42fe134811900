#include "dialogs/SetupSecurity.h"

#include "framework/DialogRows.h"

#include <string_view>

namespace {

struct LockEntry {
    std::string_view group;
    std::string_view text;
};

// Entry i goes with check box kFirstLockId + i, in this order.
constexpr std::array<LockEntry, CSetupSecurity::kLockCount> kLockEntries = {{
    {"Input Menu Lock", "Signal Properties (Level, Polarity, Delay)"},
    {"Input Menu Lock", "EQ Controls (PEQ, Lo-shelf, Hi-shelf)"},
    {"Input Menu Lock", "Channel Names"},
    {"Output Menu Lock", "Signal Properties (Level, Polarity, Delay)"},
    {"Output Menu Lock", "Input Source"},
    {"Output Menu Lock", "XOver Filters (Filter Type, Frequency, Slope)"},
    {"Output Menu Lock", "Limiters (Threshold, Attack, Release)"},
    {"Output Menu Lock", "EQ Controls (PEQ, Lo-shelf, Hi-shelf)"},
    {"Output Menu Lock", "Channel Names"},
    {"System Lock", "System (Config, Programs, Setup, etc.)"},
    {"System Lock", "Mute Buttons"},
}};

constexpr int kWidth = 340;
constexpr int kRowHeight = 20;
constexpr int kGroupTop = kGroupBoxCaption; // first row below a group box's caption and frame
constexpr int kGroupBottom = 8;             // space below the last row of a group box
constexpr int kGroupGap = 6;     // space between group boxes
constexpr int kButtonWidth = 80; // Lock and Unlock
constexpr int kButtonHeight = 24;

// Height of the group box holding `rows` check boxes.
constexpr int GroupHeight(int rows) { return kGroupTop + rows * kRowHeight + kGroupBottom; }

constexpr int kLockGroupsHeight = GroupHeight(3) + GroupHeight(6) + GroupHeight(2) + 3 * kGroupGap;
constexpr int kActionsTop = kDialogMargin + kLockGroupsHeight;
constexpr int kActionsHeight = kGroupTop + kButtonHeight + kGroupBottom;
constexpr int kButtonsTop = kActionsTop + kActionsHeight + kGroupGap + 4;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

} // namespace

CSetupSecurity::CSetupSecurity() : CDialog("Security", CSize(kWidth, kHeight)) {}

void CSetupSecurity::CreateControls() {
    const int boxRight = kWidth - kDialogMargin;
    int top = kDialogMargin;
    std::size_t i = 0;
    while (i < kLockEntries.size()) {
        // One group box for each run of entries that share a group.
        std::size_t end = i;
        while (end < kLockEntries.size() && kLockEntries[end].group == kLockEntries[i].group) {
            ++end;
        }
        const int rows = static_cast<int>(end - i);
        AddGroupBox(std::string(kLockEntries[i].group),
                    CRect(kDialogMargin, top, boxRight, top + GroupHeight(rows)));
        CDialogRows checkBoxes(top + kGroupTop, kRowHeight, kRowHeight);
        checkBoxes.AddColumns(kDialogMargin + 10, boxRight - kDialogMargin - 20);
        for (int row = 0; row < rows; ++row, ++i) {
            AddCheckBox(kFirstLockId + static_cast<int>(i), std::string(kLockEntries[i].text),
                        checkBoxes.Cell(row, 0));
        }
        top += GroupHeight(rows) + kGroupGap;
    }

    AddGroupBox("Global Actions", CRect(kDialogMargin, kActionsTop, boxRight, kActionsTop + kActionsHeight));
    const int actionY = kActionsTop + kGroupTop;
    AddButton(kLockButtonId, "Lock",
              CRect(kDialogMargin + 10, actionY, kDialogMargin + 10 + kButtonWidth, actionY + kButtonHeight));
    AddButton(kUnlockButtonId, "Unlock",
              CRect(kDialogMargin + 20 + kButtonWidth, actionY, kDialogMargin + 20 + 2 * kButtonWidth,
                    actionY + kButtonHeight));

    AddOkCancelButtons(boxRight, kButtonsTop);
}

void CSetupSecurity::DoDataExchange(bool saveAndValidate) {
    for (int i = 0; i < kLockCount; ++i) {
        DDX_Check(saveAndValidate, kFirstLockId + i, locks[static_cast<std::size_t>(i)]);
    }
}

void CSetupSecurity::SetAllLocks(int value) {
    locks.fill(value);
    UpdateData(false);
}

void CSetupSecurity::OnCommand(int id) {
    if (id == kLockButtonId) {
        SetAllLocks(1);
    } else if (id == kUnlockButtonId) {
        SetAllLocks(0);
    } else {
        CDialog::OnCommand(id);
    }
}
