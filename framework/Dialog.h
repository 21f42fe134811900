// CDialog: a modal dialog. The dialog builds its controls in code (the template), exchanges
// its fields with them in DoDataExchange, and runs through the UI service, so that a test can
// drive it exactly as the operator would: set controls, click buttons, read the result.
#pragma once

#include "framework/UiService.h"
#include "framework/Wnd.h"

#include <map>
#include <string>

class QDialog;
class QWidget;
class QGroupBox;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QLineEdit;
class QComboBox;
class QListWidget;
class QLabel;

// Static text alignments.
constexpr UINT SS_LEFT = 0x0;
constexpr UINT SS_CENTER = 0x1;

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CDialog : public CWnd {
public:
    CDialog(std::string caption, CSize clientSize);
    ~CDialog() override;

    // Runs the dialog through the UI service; returns IDOK or IDCANCEL.
    int DoModal();

    // For the UI services: build the window and its controls and run OnInitDialog; take it down.
    bool CreateDialogWindow(QWidget* ownerWidget);
    void DestroyDialogWindow();
    QDialog* Dialog() const;
    bool IsEnded() const { return ended_; }
    int Result() const { return result_; }
    const std::string& Caption() const { return caption_; }

    void EndDialog(int result);

    // What the operator does: click a button (push, check or radio), pick a list entry.
    void ClickDlgButton(int id);
    void SelectComboEntry(int id, int index);

    QWidget* GetDlgItem(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void EnableDlgItem(int id, bool enable);

    // Field <-> control transfer: true from the controls into the fields.
    bool UpdateData(bool saveAndValidate = true);

protected:
    // Builds the dialog's controls with the Add... helpers.
    virtual void CreateControls() = 0;
    // Default: UpdateData(false). Returns true.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(bool saveAndValidate);
    // Default: UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    virtual void OnCancel();
    // A button was clicked. Default: OK and Cancel end the dialog.
    virtual void OnCommand(int id);
    // The drop-down list of a combo box closed.
    virtual void OnComboCloseUp(int id);
    void OnClose() override;
    std::unique_ptr<QWidget> MakeWidget(QWidget* parent) override;

    QGroupBox* AddGroupBox(const std::string& text, const CRect& rect);
    QCheckBox* AddCheckBox(int id, const std::string& text, const CRect& rect);
    QRadioButton* AddRadioButton(int id, const std::string& text, const CRect& rect);
    QPushButton* AddButton(int id, const std::string& text, const CRect& rect, bool isDefault = false);
    QLineEdit* AddEdit(int id, const CRect& rect, UINT style = 0, int maxChars = 0);
    QComboBox* AddComboBox(int id, const CRect& rect, bool editable = false);
    QListWidget* AddListBox(int id, const CRect& rect);
    QLabel* AddStatic(int id, const std::string& text, const CRect& rect, UINT align = SS_LEFT);

    // Data exchange of the framework: check boxes, texts, numbers, combo selections.
    void DDX_Check(bool save, int id, int& value);
    void DDX_Text(bool save, int id, std::string& value);
    void DDX_Text(bool save, int id, int& value);
    void DDX_CBIndex(bool save, int id, int& index);

private:
    void Register(int id, QWidget* control);

    std::string caption_;
    CSize clientSize_;
    std::map<int, QWidget*> controls_;
    int result_ = IDCANCEL;
    bool ended_ = false;
};
