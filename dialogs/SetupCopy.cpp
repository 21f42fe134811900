#include "dialogs/SetupCopy.h"

#include "framework/Format.h"
#include "model/TonraDoc.h"

namespace {

constexpr int kWidth = 300;
constexpr int kComboHeight = 24;
constexpr int kListVisibleItems = 16;
constexpr int kGroupHeight = kGroupBoxCaption + kComboHeight + kGroupBoxInset;
constexpr int kButtonsTop = kDialogMargin + 2 * kGroupHeight + 2 * kDialogMargin;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

} // namespace

CSetupCopy::CSetupCopy() : CDialog("Copy Channels", CSize(kWidth, kHeight)) {}

void CSetupCopy::CreateControls() {
    const int right = kWidth - kDialogMargin;
    const struct {
        const char* group;
        int id;
        CComboBox* list;
    } lists[] = {{"Source", kSourceListId, &sourceList}, {"Target", kTargetListId, &targetList}};
    int top = kDialogMargin;
    for (const auto& list : lists) {
        AddGroupBox(list.group, CRect(kDialogMargin, top, right, top + kGroupHeight));
        *list.list =
            AddComboBox(list.id, CRect(kDialogMargin + kGroupBoxInset, top + kGroupBoxCaption,
                                       right - kGroupBoxInset, top + kGroupBoxCaption + kComboHeight));
        list.list->SetMaxVisibleItems(kListVisibleItems);
        top += kGroupHeight + kDialogMargin;
    }
    AddOkCancelButtons(right, kButtonsTop);
}

bool CSetupCopy::OnInitDialog() {
    source = 0;
    target = 0;
    sourceList.ResetContent();
    targetList.ResetContent();
    if (document) {
        const int inputs = document->GetInputCount(-1);
        for (int channel = 0; channel < document->GetChannelCount(-1); ++channel) {
            const int slot = document->ChannelSlot(channel, -1);
            std::string& name = names[static_cast<std::size_t>(channel)];
            name = document->channelName[document->currentDevice][static_cast<std::size_t>(slot)];
            const bool isInput = channel < inputs;
            const char number = static_cast<char>('1' + (isInput ? channel : channel - inputs));
            const std::string entry =
                std::string(isInput ? "In" : "Out") + Format("%c - %s", number, name.c_str());
            sourceList.AddString(entry);
            targetList.AddString(entry);
        }
    }
    return CDialog::OnInitDialog();
}

void CSetupCopy::DoDataExchange(bool saveAndValidate) {
    DDX_CBIndex(saveAndValidate, kSourceListId, source);
    DDX_CBIndex(saveAndValidate, kTargetListId, target);
}

void CSetupCopy::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    if (source == target) {
        AfxMessageBox(kSameChannelMessage);
        return;
    }
    EndDialog(IDOK);
}
