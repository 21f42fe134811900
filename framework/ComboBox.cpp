#include "framework/ComboBox.h"

#include "framework/Dialog.h"
#include "framework/Text.h"

#include <QComboBox>
#include <QSignalBlocker>

QComboBox* CComboBox::Control() const {
    return dialog_ ? dynamic_cast<QComboBox*>(dialog_->GetDlgItem(id_)) : nullptr;
}

int CComboBox::AddString(const std::string& text) {
    QComboBox* combo = Control();
    if (!combo) {
        return -1;
    }
    const QSignalBlocker quiet(combo);
    combo->addItem(ToQString(text));
    return combo->count() - 1;
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = Control()) {
        const QSignalBlocker quiet(combo);
        combo->clear();
    }
}

int CComboBox::GetCount() const {
    const QComboBox* combo = Control();
    return combo ? combo->count() : 0;
}

int CComboBox::GetCurSel() const {
    const QComboBox* combo = Control();
    return combo ? combo->currentIndex() : -1;
}

int CComboBox::SetCurSel(int index) {
    QComboBox* combo = Control();
    if (!combo) {
        return -1;
    }
    const int valid = index >= 0 && index < combo->count() ? index : -1;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(valid);
    return valid;
}

std::string CComboBox::GetLBText(int index) const {
    const QComboBox* combo = Control();
    return combo && index >= 0 && index < combo->count() ? FromQString(combo->itemText(index))
                                                         : std::string();
}

void CComboBox::SetMaxVisibleItems(int count) {
    if (QComboBox* combo = Control()) {
        combo->setMaxVisibleItems(count);
    }
}
