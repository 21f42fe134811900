#include "framework/ListBox.h"

#include "framework/Dialog.h"
#include "framework/Text.h"

#include <QListWidget>
#include <QSignalBlocker>

QListWidget* CListBox::Control() const {
    return dialog_ ? dynamic_cast<QListWidget*>(dialog_->GetDlgItem(id_)) : nullptr;
}

int CListBox::AddString(const std::string& text) {
    QListWidget* list = Control();
    if (!list) {
        return -1;
    }
    const QSignalBlocker quiet(list);
    list->addItem(ToQString(text));
    return list->count() - 1;
}

void CListBox::ResetContent() {
    if (QListWidget* list = Control()) {
        const QSignalBlocker quiet(list);
        list->clear();
    }
}

int CListBox::GetCount() const {
    const QListWidget* list = Control();
    return list ? list->count() : 0;
}

int CListBox::GetCurSel() const {
    const QListWidget* list = Control();
    if (!list) {
        return -1;
    }
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

int CListBox::SetCurSel(int index) {
    QListWidget* list = Control();
    if (!list) {
        return -1;
    }
    const QSignalBlocker quiet(list);
    if (index < 0 || index >= list->count()) {
        list->clearSelection();
        return -1;
    }
    list->setCurrentRow(index);
    return index;
}

std::string CListBox::GetText(int index) const {
    const QListWidget* list = Control();
    const QListWidgetItem* item = list ? list->item(index) : nullptr;
    return item ? FromQString(item->text()) : std::string();
}
