#include "dialogs/SetupProgram.h"

#include "framework/Edit.h"
#include "model/TonraDoc.h"

#include <algorithm>

namespace {

constexpr int kWidth = 500;
constexpr int kRowHeight = 22;
constexpr int kGroupHeight = kGroupBoxCaption + 2 * kRowHeight + 8;
constexpr int kHalfWidth = (kWidth - 3 * kDialogMargin) / 2;
constexpr int kFieldsTop = kDialogMargin + kGroupHeight + kDialogMargin;
constexpr int kLabelWidth = 60;
constexpr int kNumberWidth = 44;
constexpr int kUpDownWidth = 18;
constexpr int kRowPitch = kRowHeight + 8;
constexpr int kButtonsTop = kFieldsTop + 3 * kRowPitch + kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

struct ActionRadio {
    int id;
    const char* text;
};

} // namespace

CSetupProgram::CSetupProgram() : CDialog("File/Program Recall/Store", CSize(kWidth, kHeight)) {}

void CSetupProgram::CreateControls() {
    // Two group boxes side by side, the four radios one group.
    const ActionRadio radios[] = {
        {kRecallFromDeviceId, "Recall program from Device"},
        {kStoreToDeviceId, "Store program to Device"},
        {kRecallFromPcId, "Recall program from PC"},
        {kStoreToPcId, "Store program to PC"},
    };
    const char* groups[] = {"Device Program", "PC Program"};
    for (int group = 0; group < 2; ++group) {
        const int left = kDialogMargin + group * (kHalfWidth + kDialogMargin);
        AddGroupBox(groups[group],
                    CRect(left, kDialogMargin, left + kHalfWidth, kDialogMargin + kGroupHeight));
        for (int row = 0; row < 2; ++row) {
            const ActionRadio& radio = radios[2 * group + row];
            const int top = kDialogMargin + kGroupBoxCaption + row * kRowHeight;
            AddRadioButton(radio.id, radio.text,
                           CRect(left + kGroupBoxInset, top, left + kHalfWidth - 4, top + kRowHeight),
                           group == 0 && row == 0 ? WS_GROUP : 0);
        }
    }

    const int fieldLeft = kDialogMargin + kLabelWidth;
    const int right = kWidth - kDialogMargin;
    int top = kFieldsTop;
    AddStatic(0, "Program", CRect(kDialogMargin, top, fieldLeft, top + kRowHeight));
    AddEdit(kNumberFieldId, CRect(fieldLeft, top, fieldLeft + kNumberWidth, top + kRowHeight));
    AddSpinButton(
        upDown, kUpDownId,
        CRect(fieldLeft + kNumberWidth, top, fieldLeft + kNumberWidth + kUpDownWidth, top + kRowHeight),
        kNumberFieldId);
    top += kRowPitch;
    AddStatic(0, "Name", CRect(kDialogMargin, top, fieldLeft, top + kRowHeight));
    AddEdit(kNameFieldId, CRect(fieldLeft, top, right, top + kRowHeight), 0, kNameLength);
    top += kRowPitch;
    AddStatic(0, "Note", CRect(kDialogMargin, top, fieldLeft, top + kRowHeight));
    AddEdit(kHintFieldId, CRect(fieldLeft, top, right, top + kRowHeight), ES_READONLY);

    AddOkCancelButtons(right, kButtonsTop);
}

int CSetupProgram::OemPrograms() const {
    return document ? document->oemPrograms[document->currentDevice] : 0;
}

bool CSetupProgram::OnInitDialog() {
    if (document) {
        programNumber = document->currentProgram[document->currentDevice] + 1;
    }
    programNumber = std::clamp(programNumber, kFirstProgram, kLastProgram);
    upDown.SetRange(kFirstProgram, kLastProgram);
    upDown.SetPos(programNumber);
    CDialog::OnInitDialog();
    RefreshHint();
    ApplyAction();
    return true;
}

void CSetupProgram::DoDataExchange(bool saveAndValidate) {
    DDX_Radio(saveAndValidate, kRecallFromDeviceId, action);
    DDX_Text(saveAndValidate, kNameFieldId, programName);
    DDX_Text(saveAndValidate, kNumberFieldId, programNumber);
    if (saveAndValidate) {
        // Used as an index into the 30 programs by this dialog and by the caller.
        programNumber = std::clamp(programNumber, kFirstProgram, kLastProgram);
    }
    // A number beyond the range was kept within it above; a text that is no number is refused
    // with the field and the range named.
    DDV_MinMaxInt(saveAndValidate, programNumber, kFirstProgram, kLastProgram);
    DDX_Text(saveAndValidate, kHintFieldId, hint);
}

std::string CSetupProgram::DescribeField(int id) const {
    return id == kNumberFieldId ? "Program number" : "";
}

void CSetupProgram::RefreshHint() {
    hint.clear();
    if (document) {
        const int device = document->currentDevice;
        programName = document->programName[device][static_cast<std::size_t>(programNumber - 1)];
        if (programNumber <= OemPrograms()) {
            hint = "Factory Program";
            SetDlgItemReadOnly(kNameFieldId, true);
        } else if (action == kStoreToDevice) {
            if (document->factoryEq[device] == 1) {
                hint = "Factory EQ";
            }
            SetDlgItemReadOnly(kNameFieldId, false);
        }
    }
    UpdateData(false);
}

void CSetupProgram::ApplyAction() {
    const bool onDevice = action == kRecallFromDevice || action == kStoreToDevice;
    for (const int id : {kUpDownId, kNumberFieldId, kNameFieldId}) {
        EnableDlgItem(id, onDevice);
    }
    if (onDevice) {
        SetDlgItemReadOnly(kNameFieldId, action == kRecallFromDevice);
        RefreshHint();
    }
}

void CSetupProgram::OnCommand(int id) {
    if (id == kRecallFromDeviceId || id == kStoreToDeviceId || id == kRecallFromPcId || id == kStoreToPcId) {
        if (UpdateData(true)) {
            ApplyAction();
        }
        return;
    }
    CDialog::OnCommand(id);
}

bool CSetupProgram::OnSpinDeltaPos(int, const NMUPDOWN& step) {
    if (!UpdateData(true)) {
        return true; // the number field holds no number: it has the focus and a message
    }
    programNumber = std::clamp(step.iPos + step.iDelta, kFirstProgram, kLastProgram);
    RefreshHint();
    return false;
}
