// CDialog: a modal dialog. The dialog builds its controls in code (the template), exchanges
// its fields with them in DoDataExchange, and runs through the UI service, so that a test can
// drive it exactly as the operator would: set controls, click buttons, read the result.
//
// Controls are made by id with the Add... helpers and found again by id. Radio buttons form
// groups: a radio created with WS_GROUP (and the first radio of the dialog) starts a group, the
// radios after it belong to it; only one radio of a group is checked. The controls notify the
// dialog through On... handlers: button clicks, drop-down list selections and closings, list box
// selections and up-down arrow presses.
//
// Data exchange with validation: UpdateData(true) reads every field; a number field whose text
// is not a number, or a value outside the range that a DDV_... check names, shows a message
// naming the expected range, puts the focus on the field and fails. Then no field is changed,
// and OK keeps the dialog open.
#pragma once

#include "framework/ComboBox.h"
#include "framework/ListBox.h"
#include "framework/SpinButtonCtrl.h"
#include "framework/UiService.h"
#include "framework/Wnd.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QDialog;
class QWidget;
class QGroupBox;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QLineEdit;
class QLabel;

// Static text alignments.
constexpr UINT SS_LEFT = 0x0;
constexpr UINT SS_CENTER = 0x1;
constexpr UINT SS_RIGHT = 0x2;

// A radio button with this style starts a new group.
constexpr UINT WS_GROUP = 0x00020000;

// Standard measures of the program's dialogs, in pixels: the space along the dialog's edges
// and between blocks, a push button, and where the controls inside a group box start.
constexpr int kDialogMargin = 10;
constexpr int kDialogButtonWidth = 80;
constexpr int kDialogButtonHeight = 26;
constexpr int kGroupBoxInset = 12;   // from a group box's sides and bottom to its controls
constexpr int kGroupBoxCaption = 22; // from a group box's top to its first control

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

    // What the operator does, for scripts and tests. Each acts only on an enabled control and
    // notifies the dialog as the operator's action would.
    // Click a push button, check box or radio button.
    void ClickDlgButton(int id);
    // Open a drop-down list, choose entry `index` and let the list close.
    void SelectComboEntry(int id, int index);
    // Click entry `index` of a list box.
    void SelectListEntry(int id, int index);
    // Click the up (or right) or the down (or left) arrow of an up-down control.
    void ClickSpinArrow(int id, bool up);
    // Replace the text of an edit field by typing: nothing happens in a read-only field or
    // with letters in a field for digits, and the text is cut at the field's limit.
    void TypeDlgItemText(int id, const std::string& text);

    QWidget* GetDlgItem(int id) const;
    CSpinButtonCtrl* GetSpinButton(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void SetDlgItemReadOnly(int id, bool readOnly);
    bool IsDlgItemReadOnly(int id) const;
    // Gives control `id` the focus; an edit field's text is selected, ready to be typed over.
    void GotoDlgCtrl(int id);
    // The id of the control that has the focus in this dialog; 0 for none.
    int GetFocusId() const;

    // Field <-> control transfer: true from the controls into the fields. False when a field
    // was refused; then no field changed.
    bool UpdateData(bool saveAndValidate = true);

protected:
    // Builds the dialog's controls with the Add... helpers.
    virtual void CreateControls() = 0;
    // Default: UpdateData(false). Returns true.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(bool saveAndValidate);
    // Default: UpdateData(true), then EndDialog(IDOK) when every field passed.
    virtual void OnOK();
    virtual void OnCancel();
    // A button was clicked. Default: OK and Cancel end the dialog.
    virtual void OnCommand(int id);
    // The operator chose another entry of a drop-down list (by mouse or by key).
    virtual void OnComboSelChange(int id);
    // The drop-down list of a combo box closed.
    virtual void OnComboCloseUp(int id);
    // The operator selected an entry of a list box.
    virtual void OnListSelChange(int id);
    // An arrow of up-down control `id` was pressed; `step` holds the position and the change.
    // Return true to keep the position where it is. Default: false.
    virtual bool OnSpinDeltaPos(int id, const NMUPDOWN& step);
    // How a failure message names field `id` ("Device 5, octet 4"); empty: not named.
    virtual std::string DescribeField(int id) const;
    void OnClose() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::unique_ptr<QWidget> MakeWidget(QWidget* parent) override;

    QGroupBox* AddGroupBox(const std::string& text, const CRect& rect);
    QCheckBox* AddCheckBox(int id, const std::string& text, const CRect& rect);
    // `style` WS_GROUP starts a new group of radio buttons.
    QRadioButton* AddRadioButton(int id, const std::string& text, const CRect& rect, UINT style = 0);
    QPushButton* AddButton(int id, const std::string& text, const CRect& rect, bool isDefault = false);
    // "OK" (the default button) and "Cancel" side by side at `top`, Cancel ending at `right`.
    void AddOkCancelButtons(int right, int top);
    // Styles ES_PASSWORD, ES_READONLY, ES_NUMBER; `maxChars` 0 for no limit.
    QLineEdit* AddEdit(int id, const CRect& rect, UINT style = 0, int maxChars = 0);
    // A drop-down list (or, `editable`, a drop-down combo with an edit field).
    CComboBox AddComboBox(int id, const CRect& rect, bool editable = false);
    CListBox AddListBox(int id, const CRect& rect);
    QLabel* AddStatic(int id, const std::string& text, const CRect& rect, UINT align = SS_LEFT);
    // An up-down control owned by the dialog's class; with `buddyId` (an edit made before) the
    // edit shows the position.
    bool AddSpinButton(CSpinButtonCtrl& spin, int id, const CRect& rect, int buddyId = 0, UINT style = 0);

    CComboBox GetComboBox(int id) const { return CComboBox(*this, id); }
    CListBox GetListBox(int id) const { return CListBox(*this, id); }

    // Data exchange: check boxes, radio groups (`index` of the checked radio in the group that
    // starts at `firstId`, -1 for none), texts, numbers, list selections.
    void DDX_Check(bool save, int id, int& value);
    void DDX_Radio(bool save, int firstId, int& index);
    void DDX_Text(bool save, int id, std::string& value);
    void DDX_Text(bool save, int id, int& value);
    void DDX_Text(bool save, int id, double& value);
    void DDX_CBIndex(bool save, int id, int& index);
    void DDX_LBIndex(bool save, int id, int& index);
    // Range checks of the number field exchanged just before. A field that did not hold a
    // number is refused here with the range in the message.
    void DDV_MinMaxInt(bool save, int value, int minValue, int maxValue);
    void DDV_MinMaxDouble(bool save, double value, double minValue, double maxValue);

private:
    // One save pass of UpdateData: what was written (to undo it on a failure), which number
    // field was exchanged last, and whether it was not a number.
    struct Exchange {
        bool failed = false;
        int lastNumberField = 0;
        bool lastFieldUnreadable = false;
        const char* unreadableMessage = "";
        std::vector<std::function<void()>> undo;
    };
    template <typename T> void Store(T& field, T value);
    // A number field: `shown` is the text for the control, `parse` reads the control's text.
    template <typename T>
    void ExchangeNumber(bool save, int id, T& value, const std::string& shown,
                        std::optional<T> (*parse)(const std::string&), const char* unreadableMessage);
    // False when the save pass has already failed; reports a pending unreadable field.
    bool ExchangeGoesOn();
    void NoteNumberField(int id, bool readable, const char* unreadableMessage);
    // Refuses the number field exchanged last when it held no number or lies outside the range.
    template <typename T>
    void CheckRange(bool save, T value, T minValue, T maxValue, const std::string& message);
    void Fail(int id, const std::string& message);

    void Register(int id, QWidget* control);
    std::vector<int>* RadioGroupOf(int id);

    std::string caption_;
    CSize clientSize_;
    std::map<int, QWidget*> controls_;
    std::map<int, CSpinButtonCtrl*> spins_;
    std::vector<std::vector<int>> radioGroups_; // ids of each group, in order
    std::vector<QButtonGroup*> radioGroupWidgets_;
    Exchange exchange_;
    int result_ = IDCANCEL;
    bool ended_ = false;
};
