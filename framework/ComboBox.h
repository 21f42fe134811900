// CComboBox and CListBox: handles on a dialog's drop-down list and list box, as the dialog's
// member controls. A handle names its control by id and finds it through the dialog while the
// dialog's window exists; without a window every call does nothing and reads give -1 or "".
#pragma once

#include <string>

class CDialog;
class QComboBox;

class CComboBox {
public:
    CComboBox() = default;
    CComboBox(const CDialog& dialog, int id) : dialog_(&dialog), id_(id) {}

    int GetDlgCtrlID() const { return id_; }
    // Returns the index of the new entry.
    int AddString(const std::string& text);
    void ResetContent();
    int GetCount() const;
    // -1 when nothing is selected.
    int GetCurSel() const;
    // Selects entry `index` (-1: none) without notifying the dialog, as a program's selection
    // does; returns the index, or -1 when there is no such entry.
    int SetCurSel(int index);
    std::string GetLBText(int index) const;
    // How many entries the open list shows before it scrolls.
    void SetMaxVisibleItems(int count);

private:
    QComboBox* Control() const;

    const CDialog* dialog_ = nullptr;
    int id_ = 0;
};
