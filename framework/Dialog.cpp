#include "framework/Dialog.h"

#include "framework/Edit.h"
#include "framework/Format.h"
#include "framework/NumberText.h"
#include "framework/Text.h"
#include "framework/WndWidget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace {

// The dialog widget: Enter and Escape, and the close box, go to the dialog's handlers.
class DialogWidget : public WndWidget<QDialog> {
public:
    using WndWidget<QDialog>::WndWidget;
    void accept() override { Command(IDOK); }
    void reject() override { Command(IDCANCEL); }

private:
    void Command(int id) {
        if (auto* dialog = dynamic_cast<CDialog*>(Owner())) {
            dialog->ClickDlgButton(id);
        } else {
            QDialog::done(id);
        }
    }
};

// A combo box that reports when its drop-down list closes.
class CloseUpComboBox : public QComboBox {
public:
    CloseUpComboBox(QWidget* parent, std::function<void()> onCloseUp)
        : QComboBox(parent), onCloseUp_(std::move(onCloseUp)) {}
    void showPopup() override {
        QComboBox::showPopup();
        popupShown_ = true;
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // Qt also hides a list that is not open, when the box is disabled or hidden; and a
        // dialog that is closing or gone hears nothing more.
        if (!popupShown_ || !window()->isVisible()) {
            popupShown_ = false;
            return;
        }
        popupShown_ = false;
        // An entry chosen with the mouse or Enter becomes the selection only after the list
        // has closed; report the closing once it has, so the dialog reads the new selection.
        QTimer::singleShot(0, this, [this] {
            if (window()->isVisible()) {
                onCloseUp_();
            }
        });
    }

private:
    std::function<void()> onCloseUp_;
    bool popupShown_ = false;
};

QRect ToQRect(const CRect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

// Checks or unchecks a button; a radio in an exclusive group may be unchecked too.
void SetButtonChecked(QAbstractButton& button, bool checked) {
    QButtonGroup* group = button.group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) {
        group->setExclusive(false);
    }
    button.setChecked(checked);
    if (exclusive && !checked) {
        group->setExclusive(true);
    }
}

// A read-only field shows the dialog's face colour behind its text, as on the classic platform,
// so the operator sees at once that it cannot be typed into.
void SetEditReadOnly(QLineEdit& edit, bool readOnly) {
    edit.setReadOnly(readOnly);
    QPalette palette = edit.palette();
    palette.setBrush(QPalette::Base, readOnly ? edit.palette().brush(QPalette::Window)
                                              : QApplication::palette(&edit).brush(QPalette::Base));
    edit.setPalette(palette);
}

constexpr const char* kNotAnInteger = "Please enter an integer.";
constexpr const char* kNotANumber = "Please enter a number.";

} // namespace

CDialog::CDialog(std::string caption, CSize clientSize)
    : caption_(std::move(caption)), clientSize_(clientSize) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() { return UiService().RunModal(*this); }

std::unique_ptr<QWidget> CDialog::MakeWidget(QWidget* parent) {
    auto dialog = std::make_unique<DialogWidget>(this, parent);
    dialog->setModal(true);
    return dialog;
}

bool CDialog::CreateDialogWindow(QWidget* ownerWidget) {
    if (GetWidget()) {
        return false;
    }
    ended_ = false;
    result_ = IDCANCEL;
    controls_.clear();
    spins_.clear();
    radioGroups_.clear();
    radioGroupWidgets_.clear();
    std::unique_ptr<QWidget> dialog = MakeWidget(ownerWidget);
    dialog->setWindowTitle(ToQString(caption_));
    dialog->setFixedSize(clientSize_.cx, clientSize_.cy);
    QWidget* outer = dialog.get();
    Attach(std::move(dialog), outer);
    CreateControls();
    if (!FinishCreate()) {
        return false;
    }
    OnInitDialog();
    return true;
}

void CDialog::DestroyDialogWindow() {
    DestroyWindow();
    controls_.clear();
    spins_.clear();
    radioGroups_.clear();
    radioGroupWidgets_.clear();
}

QDialog* CDialog::Dialog() const { return dynamic_cast<QDialog*>(GetWidget()); }

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (QDialog* dialog = Dialog()) {
        dialog->QDialog::done(result);
    }
}

// ---- What the operator does ----

void CDialog::ClickDlgButton(int id) {
    if (id == IDOK || id == IDCANCEL) {
        OnCommand(id);
        return;
    }
    QWidget* control = GetDlgItem(id);
    if (auto* button = dynamic_cast<QAbstractButton*>(control); button && button->isEnabled()) {
        button->click(); // emits clicked, which runs OnCommand
    }
}

void CDialog::SelectComboEntry(int id, int index) {
    auto* combo = dynamic_cast<QComboBox*>(GetDlgItem(id));
    if (!combo || !combo->isEnabled()) {
        return;
    }
    const bool changed = combo->currentIndex() != index;
    GetComboBox(id).SetCurSel(index);
    if (changed) {
        OnComboSelChange(id);
    }
    OnComboCloseUp(id);
}

void CDialog::SelectListEntry(int id, int index) {
    auto* list = dynamic_cast<QListWidget*>(GetDlgItem(id));
    if (list && list->isEnabled() && index >= 0 && index < list->count()) {
        list->setCurrentRow(index); // a selection by the operator: the list notifies
    }
}

void CDialog::ClickSpinArrow(int id, bool up) {
    if (CSpinButtonCtrl* spin = GetSpinButton(id)) {
        spin->ClickArrow(up);
    }
}

void CDialog::TypeDlgItemText(int id, const std::string& text) {
    auto* edit = dynamic_cast<QLineEdit*>(GetDlgItem(id));
    if (!edit || !edit->isEnabled() || edit->isReadOnly()) {
        return;
    }
    QString typed = ToQString(text).left(edit->maxLength());
    int cursor = static_cast<int>(typed.size());
    if (edit->validator() && edit->validator()->validate(typed, cursor) == QValidator::Invalid) {
        return; // a field for digits takes no letters
    }
    GotoDlgCtrl(id);
    edit->setText(typed);
}

// ---- Controls by id ----

QWidget* CDialog::GetDlgItem(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

CSpinButtonCtrl* CDialog::GetSpinButton(int id) const {
    const auto it = spins_.find(id);
    return it == spins_.end() ? nullptr : it->second;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(id))) {
        SetButtonChecked(*button, check == BST_CHECKED);
    }
}

int CDialog::IsDlgButtonChecked(int id) const {
    auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        edit->setText(ToQString(text));
    } else if (auto* label = dynamic_cast<QLabel*>(control)) {
        label->setText(ToQString(text));
    } else if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        button->setText(ToQString(text));
    } else if (auto* combo = dynamic_cast<QComboBox*>(control); combo && combo->isEditable()) {
        combo->setEditText(ToQString(text));
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        return FromQString(edit->text());
    }
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        return FromQString(label->text());
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        return FromQString(button->text());
    }
    if (auto* combo = dynamic_cast<QComboBox*>(control)) {
        return FromQString(combo->currentText());
    }
    return {};
}

void CDialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setEnabled(enable);
    }
}

bool CDialog::IsDlgItemEnabled(int id) const {
    const QWidget* control = GetDlgItem(id);
    return control && control->isEnabled();
}

void CDialog::SetDlgItemReadOnly(int id, bool readOnly) {
    if (auto* edit = dynamic_cast<QLineEdit*>(GetDlgItem(id))) {
        SetEditReadOnly(*edit, readOnly);
    }
}

bool CDialog::IsDlgItemReadOnly(int id) const {
    const auto* edit = dynamic_cast<QLineEdit*>(GetDlgItem(id));
    return edit && edit->isReadOnly();
}

void CDialog::GotoDlgCtrl(int id) {
    QWidget* control = GetDlgItem(id);
    if (!control) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

int CDialog::GetFocusId() const {
    const QWidget* focus = GetWidget() ? GetWidget()->focusWidget() : nullptr;
    for (const auto& [id, control] : controls_) {
        if (control == focus) {
            return id;
        }
    }
    return 0;
}

// ---- Handlers ----

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(bool) {}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnCommand(int id) {
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::OnComboSelChange(int) {}
void CDialog::OnComboCloseUp(int) {}
void CDialog::OnListSelChange(int) {}
bool CDialog::OnSpinDeltaPos(int, const NMUPDOWN&) { return false; }
std::string CDialog::DescribeField(int) const { return {}; }

void CDialog::OnClose() { OnCancel(); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam != 0) {
        const auto* step = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (step->hdr.code == UDN_DELTAPOS) {
            return OnSpinDeltaPos(static_cast<int>(wParam), *step) ? 1 : 0;
        }
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- Building the controls ----

void CDialog::Register(int id, QWidget* control) {
    if (id != 0) {
        controls_[id] = control;
    }
}

std::vector<int>* CDialog::RadioGroupOf(int id) {
    for (std::vector<int>& group : radioGroups_) {
        if (std::find(group.begin(), group.end(), id) != group.end()) {
            return &group;
        }
    }
    return nullptr;
}

QGroupBox* CDialog::AddGroupBox(const std::string& text, const CRect& rect) {
    auto* box = new QGroupBox(ToQString(text), GetWidget()); // owned by the dialog widget
    box->setGeometry(ToQRect(rect));
    box->lower();
    return box;
}

QCheckBox* CDialog::AddCheckBox(int id, const std::string& text, const CRect& rect) {
    auto* box = new QCheckBox(ToQString(text), GetWidget());
    box->setGeometry(ToQRect(rect));
    QObject::connect(box, &QCheckBox::clicked, box, [this, id] { OnCommand(id); });
    Register(id, box);
    return box;
}

QRadioButton* CDialog::AddRadioButton(int id, const std::string& text, const CRect& rect, UINT style) {
    auto* radio = new QRadioButton(ToQString(text), GetWidget());
    radio->setGeometry(ToQRect(rect));
    // Qt would join every radio of the dialog into one group; the dialog's groups decide.
    radio->setAutoExclusive(false);
    if ((style & WS_GROUP) || radioGroups_.empty()) {
        radioGroups_.emplace_back();
        auto* group = new QButtonGroup(GetWidget());
        group->setExclusive(true);
        radioGroupWidgets_.push_back(group);
    }
    radioGroups_.back().push_back(id);
    radioGroupWidgets_.back()->addButton(radio);
    QObject::connect(radio, &QRadioButton::clicked, radio, [this, id] { OnCommand(id); });
    Register(id, radio);
    return radio;
}

QPushButton* CDialog::AddButton(int id, const std::string& text, const CRect& rect, bool isDefault) {
    auto* button = new QPushButton(ToQString(text), GetWidget());
    button->setGeometry(ToQRect(rect));
    button->setDefault(isDefault);
    button->setAutoDefault(isDefault);
    QObject::connect(button, &QPushButton::clicked, button, [this, id] { OnCommand(id); });
    Register(id, button);
    return button;
}

QLineEdit* CDialog::AddEdit(int id, const CRect& rect, UINT style, int maxChars) {
    auto* edit = new QLineEdit(GetWidget());
    edit->setGeometry(ToQRect(rect));
    if (maxChars > 0) {
        edit->setMaxLength(maxChars);
    }
    if (style & ES_PASSWORD) {
        edit->setEchoMode(QLineEdit::Password);
    }
    if (style & ES_READONLY) {
        SetEditReadOnly(*edit, true);
    }
    if (style & ES_NUMBER) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    }
    Register(id, edit);
    return edit;
}

void CDialog::AddOkCancelButtons(int right, int top) {
    const int cancelLeft = right - kDialogButtonWidth;
    const int okLeft = cancelLeft - kDialogMargin - kDialogButtonWidth;
    AddButton(IDOK, "OK", CRect(okLeft, top, okLeft + kDialogButtonWidth, top + kDialogButtonHeight), true);
    AddButton(IDCANCEL, "Cancel", CRect(cancelLeft, top, right, top + kDialogButtonHeight));
}

CComboBox CDialog::AddComboBox(int id, const CRect& rect, bool editable) {
    auto* combo = new CloseUpComboBox(GetWidget(), [this, id] { OnComboCloseUp(id); });
    combo->setGeometry(ToQRect(rect));
    combo->setEditable(editable);
    // activated: chosen by the operator only, never by the program.
    QObject::connect(combo, &QComboBox::activated, combo, [this, id] { OnComboSelChange(id); });
    Register(id, combo);
    return CComboBox(*this, id);
}

CListBox CDialog::AddListBox(int id, const CRect& rect) {
    auto* list = new QListWidget(GetWidget());
    list->setGeometry(ToQRect(rect));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list's own changes are made with its signals blocked, so this is the operator.
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, id] { OnListSelChange(id); });
    Register(id, list);
    return CListBox(*this, id);
}

QLabel* CDialog::AddStatic(int id, const std::string& text, const CRect& rect, UINT align) {
    auto* label = new QLabel(ToQString(text), GetWidget());
    label->setGeometry(ToQRect(rect));
    const Qt::Alignment horizontal = align == SS_CENTER  ? Qt::AlignHCenter
                                     : align == SS_RIGHT ? Qt::AlignRight
                                                         : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    Register(id, label);
    return label;
}

bool CDialog::AddSpinButton(CSpinButtonCtrl& spin, int id, const CRect& rect, int buddyId, UINT style) {
    if (!spin.Create(style, rect, *this, static_cast<UINT>(id))) {
        return false;
    }
    spin.SetBuddy(dynamic_cast<QLineEdit*>(GetDlgItem(buddyId)));
    Register(id, spin.GetWidget());
    spins_[id] = &spin;
    return true;
}

// ---- Data exchange ----

bool CDialog::UpdateData(bool saveAndValidate) {
    exchange_ = Exchange();
    DoDataExchange(saveAndValidate);
    if (!saveAndValidate) {
        return true;
    }
    ExchangeGoesOn(); // a number field at the end without a range check
    if (exchange_.failed) {
        for (auto undo = exchange_.undo.rbegin(); undo != exchange_.undo.rend(); ++undo) {
            (*undo)();
        }
    }
    exchange_.undo.clear();
    return !exchange_.failed;
}

template <typename T> void CDialog::Store(T& field, T value) {
    exchange_.undo.push_back([&field, before = field] { field = before; });
    field = std::move(value);
}

bool CDialog::ExchangeGoesOn() {
    if (!exchange_.failed && exchange_.lastFieldUnreadable) {
        Fail(exchange_.lastNumberField, exchange_.unreadableMessage);
    }
    exchange_.lastNumberField = 0;
    return !exchange_.failed;
}

void CDialog::NoteNumberField(int id, bool readable, const char* unreadableMessage) {
    exchange_.lastNumberField = id;
    exchange_.lastFieldUnreadable = !readable;
    exchange_.unreadableMessage = unreadableMessage;
}

void CDialog::Fail(int id, const std::string& message) {
    exchange_.failed = true;
    exchange_.lastFieldUnreadable = false;
    const std::string field = DescribeField(id);
    AfxMessageBox(field.empty() ? message : field + ": " + message, MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(id);
}

void CDialog::DDX_Check(bool save, int id, int& value) {
    if (!save) {
        CheckDlgButton(id, value);
    } else if (ExchangeGoesOn()) {
        Store(value, IsDlgButtonChecked(id));
    }
}

void CDialog::DDX_Radio(bool save, int firstId, int& index) {
    const std::vector<int>* group = RadioGroupOf(firstId);
    if (!group || group->front() != firstId) {
        return;
    }
    if (!save) {
        for (std::size_t i = 0; i < group->size(); ++i) {
            CheckDlgButton((*group)[i], static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED);
        }
        return;
    }
    if (!ExchangeGoesOn()) {
        return;
    }
    int checked = -1;
    for (std::size_t i = 0; i < group->size(); ++i) {
        if (IsDlgButtonChecked((*group)[i]) == BST_CHECKED) {
            checked = static_cast<int>(i);
        }
    }
    Store(index, checked);
}

void CDialog::DDX_Text(bool save, int id, std::string& value) {
    if (!save) {
        SetDlgItemText(id, value);
    } else if (ExchangeGoesOn()) {
        Store(value, GetDlgItemText(id));
    }
}

template <typename T>
void CDialog::ExchangeNumber(bool save, int id, T& value, const std::string& shown,
                             std::optional<T> (*parse)(const std::string&), const char* unreadableMessage) {
    if (!save) {
        SetDlgItemText(id, shown);
        return;
    }
    if (!ExchangeGoesOn()) {
        return;
    }
    const std::optional<T> number = parse(GetDlgItemText(id));
    NoteNumberField(id, number.has_value(), unreadableMessage);
    if (number) {
        Store(value, *number);
    }
}

void CDialog::DDX_Text(bool save, int id, int& value) {
    ExchangeNumber(save, id, value, std::to_string(value), framework::ParseInteger, kNotAnInteger);
}

void CDialog::DDX_Text(bool save, int id, double& value) {
    ExchangeNumber(save, id, value, Format("%g", value), framework::ParseDecimal, kNotANumber);
}

void CDialog::DDX_CBIndex(bool save, int id, int& index) {
    if (!save) {
        GetComboBox(id).SetCurSel(index);
    } else if (ExchangeGoesOn()) {
        Store(index, GetComboBox(id).GetCurSel());
    }
}

void CDialog::DDX_LBIndex(bool save, int id, int& index) {
    if (!save) {
        GetListBox(id).SetCurSel(index);
    } else if (ExchangeGoesOn()) {
        Store(index, GetListBox(id).GetCurSel());
    }
}

template <typename T>
void CDialog::CheckRange(bool save, T value, T minValue, T maxValue, const std::string& message) {
    if (!save || exchange_.failed || exchange_.lastNumberField == 0) {
        return;
    }
    if (exchange_.lastFieldUnreadable || value < minValue || value > maxValue) {
        Fail(exchange_.lastNumberField, message);
    }
}

void CDialog::DDV_MinMaxInt(bool save, int value, int minValue, int maxValue) {
    CheckRange(save, value, minValue, maxValue,
               Format("Please enter an integer between %d and %d.", minValue, maxValue));
}

void CDialog::DDV_MinMaxDouble(bool save, double value, double minValue, double maxValue) {
    CheckRange(save, value, minValue, maxValue,
               Format("Please enter a number between %g and %g.", minValue, maxValue));
}
