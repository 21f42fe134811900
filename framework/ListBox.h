// CListBox: a handle on a dialog's list box (see CComboBox for how handles work). The list
// keeps its entries in the order they were added; at most one entry is selected.
#pragma once

#include <string>

class CDialog;
class QListWidget;

class CListBox {
public:
    CListBox() = default;
    CListBox(const CDialog& dialog, int id) : dialog_(&dialog), id_(id) {}

    int GetDlgCtrlID() const { return id_; }
    // Returns the index of the new entry.
    int AddString(const std::string& text);
    void ResetContent();
    int GetCount() const;
    // -1 when nothing is selected.
    int GetCurSel() const;
    // Selects entry `index` (-1: none) without notifying the dialog; returns the index, or -1
    // when there is no such entry.
    int SetCurSel(int index);
    std::string GetText(int index) const;

private:
    QListWidget* Control() const;

    const CDialog* dialog_ = nullptr;
    int id_ = 0;
};
